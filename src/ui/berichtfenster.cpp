#include "ui/berichtfenster.h"

#include <QDialogButtonBox>
#include <QPointer>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Berichtfenster::Berichtfenster(QWidget *parent, const QString &titel, const QString &bericht, const QString &annehmen)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Berichtfenster"));
    setWindowTitle(titel);
    txtBericht = new QPlainTextEdit(bericht, this);
    txtBericht->setObjectName(QStringLiteral("txtBericht"));
    txtBericht->setReadOnly(true);
    // The counts per level line up in columns.
    txtBericht->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto *knoepfe = new QDialogButtonBox(this);
    if (annehmen.isEmpty()) {
        knoepfe->addButton(QStringLiteral("Schließen"), QDialogButtonBox::RejectRole);
    } else {
        knoepfe->addButton(annehmen, QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("cmdAnnehmen"));
        knoepfe->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    }
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtBericht);
    layout->addWidget(knoepfe);
    resize(640, 480);
}

bool Berichtfenster::zeige(QWidget *parent, const QString &titel, const QString &bericht, const QString &annehmen)
{
    QPointer<Berichtfenster> fenster = new Berichtfenster(parent, titel, bericht, annehmen);
    const bool angenommen = fenster->exec() == QDialog::Accepted;
    if (!fenster)
        return false;
    delete fenster.data();
    return angenommen;
}
