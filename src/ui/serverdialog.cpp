#include "ui/serverdialog.h"

#include "basis/appinfo.h"
#include "basis/services.h"
#include "store/server.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {
QLineEdit *feld(QWidget *eltern, const char *name, const QString &text)
{
    auto *f = new QLineEdit(text, eltern);
    f->setObjectName(QLatin1String(name));
    return f;
}
}

ServerDialog::ServerDialog(const ServerAdresse &vorgabe, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ServerDialog"));
    setWindowTitle(QStringLiteral("Server auswählen"));
    txtHost = feld(this, "txtHost", vorgabe.host);
    txtPort = feld(this, "txtPort", QString::number(vorgabe.port));
    txtPort->setValidator(new QIntValidator(1, 65535, txtPort));
    txtDatenbank = feld(this, "txtDatenbank", vorgabe.datenbank);
    txtBenutzer = feld(this, "txtBenutzer", vorgabe.benutzer);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Server:"), txtHost);
    form->addRow(QStringLiteral("&Port:"), txtPort);
    form->addRow(QStringLiteral("&Datenbank:"), txtDatenbank);
    form->addRow(QStringLiteral("&Benutzer:"), txtBenutzer);
    auto *knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    knoepfe->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    cmdTesten = knoepfe->addButton(QStringLiteral("Verbindung &testen"), QDialogButtonBox::ActionRole);
    cmdTesten->setObjectName(QStringLiteral("cmdTesten"));
    connect(cmdTesten, &QPushButton::clicked, this, &ServerDialog::cmdTesten_Click);
    connect(knoepfe, &QDialogButtonBox::accepted, this, &ServerDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &ServerDialog::reject);
    form->addRow(knoepfe);
    setMinimumWidth(420);
}

ServerAdresse ServerDialog::adresse() const
{
    ServerAdresse a;
    a.host = txtHost->text().trimmed();
    a.port = txtPort->text().toInt();
    a.datenbank = txtDatenbank->text().trimmed();
    a.benutzer = txtBenutzer->text().trimmed();
    return a;
}

bool ServerDialog::teste(bool erfolgMelden)
{
    const ServerAdresse a = adresse();
    QString text;
    if (a.host.isEmpty() || a.datenbank.isEmpty() || a.port < 1)
        text = QStringLiteral("Bitte geben Sie Server, Port und Datenbank an.");
    else if (const StoreError e = Server::pruefe(a))
        text = QStringLiteral("Die Verbindung kam nicht zustande.\r\n") + e.text();
    else if (!erfolgMelden)
        return true;
    else
        text = QStringLiteral("Die Verbindung zu %1 steht.").arg(Serveradresse::kurz(a));
    Services::meldung(this, AppInfo::titel(), text);
    return text.startsWith(QStringLiteral("Die Verbindung zu"));
}

bool ServerDialog::cmdTesten_Click() { return teste(true); }

void ServerDialog::accept()
{
    const QPointer<ServerDialog> lebt(this);
    if (teste(false) && lebt)
        QDialog::accept();
}
