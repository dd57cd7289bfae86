#include "ui/linklindenhain.h"

#include "basis/farben.h"
#include "basis/hersteller.h"
#include "ui/linkziel.h"
#include "ui/mausklick.h"

#include <QCursor>
#include <QLabel>

LinkLindenhain::LinkLindenhain(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("LinkLindenhain"));
    LinkZiel::richteEin(this, 2655, 300, Farben::aktiverRahmen(), Hersteller::partnerWebAdresse());
    Label1 = LinkZiel::textLabel(this, Hersteller::partner(), 2655, 255);
    // The hand shows over the whole control; the label inherits it.
    setCursor(LinkZiel::handZeiger());
    Mausklick::verbinde(Label1, [this] { Label1_Click(); });
}

QString LinkLindenhain::ziel() { return Hersteller::partnerWebAdresse(); }

void LinkLindenhain::Label1_Click() { LinkZiel::oeffne(ziel()); }
