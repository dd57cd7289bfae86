#include "ui/mailmorlon.h"

#include "basis/farben.h"
#include "basis/hersteller.h"
#include "ui/linkziel.h"
#include "ui/mausklick.h"

#include <QCursor>
#include <QLabel>

MailMorlon::MailMorlon(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MailMorlon"));
    // The tooltip has a blank after the colon, the target none.
    LinkZiel::richteEin(this, 3030, 315, Farben::schaltflaeche(),
                        QStringLiteral("mailto: ") + Hersteller::eMail());
    Label1 = LinkZiel::textLabel(this, Hersteller::eMail(), 3015, 255);
    Label1->setCursor(LinkZiel::handZeiger());
    Mausklick::verbinde(Label1, [this] { Label1_Click(); });
}

QString MailMorlon::ziel() { return QStringLiteral("mailto:") + Hersteller::eMail(); }

void MailMorlon::Label1_Click() { LinkZiel::oeffne(ziel()); }
