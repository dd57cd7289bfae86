#include "ui/form4.h"

#include "basis/appinfo.h"
#include "basis/farben.h"
#include "basis/hersteller.h"
#include "basis/twips.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {
QLabel *weisserText(QWidget *parent, const char *name, const QString &text, const QFont &schrift)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(schrift);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(pal);
    return l;
}
}

QString autorenListe(const QStringList &namen)
{
    QStringList zeilen;
    for (const QString &name : namen)
        zeilen << QStringLiteral("- ") + name;
    return zeilen.join(QLatin1String("\r\n"));
}

Form4::Form4(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Kreidolin - Informationen"));
    setWindowIcon(QIcon(QStringLiteral(":/res/icons/kreidolin.svg")));
    // A fixed dialog frame with a close box only; a dialog without an owner
    // stays out of the task bar.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips::rechteck(0, 0, 5535, 5385).size());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Farben::desktop());
    setPalette(pal);
    setAutoFillBackground(true);

    Label3 = weisserText(this, "Label3", QStringLiteral("Kreidolin"),
                         Schriften::schrift(QStringLiteral("Times New Roman"), 36, true, true));
    Twips::setzeGeometrie(Label3, 240, 120, 3255, 975);
    lblVersion = weisserText(this, "lblVersion", QString(),
                             Schriften::schrift(QStringLiteral("Verdana"), 9, true, true));
    lblVersion->move(Twips::zuPixelX(420), Twips::zuPixelY(1500));
    Label1 = weisserText(this, "Label1", QStringLiteral("Viel Spaß beim Spielen wünschen:"),
                         Schriften::schrift(QStringLiteral("MS Sans Serif"), 9.75));
    Twips::setzeGeometrie(Label1, 240, 2880, 4695, 375);
    Label2 = weisserText(this, "Label2", QString(),
                         Schriften::schrift(QStringLiteral("MS Sans Serif"), 9.75));
    Label2->move(Twips::zuPixelX(600), Twips::zuPixelY(3360));

    // A white rule two pixels thick above the button.
    Line1 = new QWidget(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    QPalette weiss = Line1->palette();
    weiss.setColor(QPalette::Window, Qt::white);
    Line1->setPalette(weiss);
    Line1->setAutoFillBackground(true);
    const QRect linie = Twips::rechteck(120, 4800, 5415 - 120, 0);
    Line1->setGeometry(linie.x(), linie.y() - 1, linie.width(), 2);

    cmdOK = new QPushButton(QStringLiteral("Fenster &schließen"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25));
    Twips::setzeGeometrie(cmdOK, 120, 4920, 5340, 345);
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &Form4::cmdOK_Click);
    cmdOK->setFocus();
}

void Form4::Form_Load()
{
    Label2->setText(autorenListe(Hersteller::autoren()));
    Label2->adjustSize();
    lblVersion->setText(AppInfo::versionszeile());
    lblVersion->adjustSize();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Form4::cmdOK_Click() { close(); }

void Form4::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            cmdOK->click();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}
