#include "ui/linkamsel2.h"

#include "basis/farben.h"
#include "basis/hersteller.h"
#include "ui/linkziel.h"
#include "ui/mausklick.h"

#include <QCursor>
#include <QLabel>

LinkAmsel2::LinkAmsel2(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("LinkAmsel2"));
    LinkZiel::richteEin(this, 2280, 285, Farben::schaltflaeche(), Hersteller::webAdresse());
    Label1 = LinkZiel::textLabel(this, Hersteller::projektGenitiv(), 2295, 255);
    Label1->setCursor(LinkZiel::handZeiger());
    Mausklick::verbinde(Label1, [this] { Label1_Click(); });
}

QString LinkAmsel2::ziel() { return Hersteller::webAdresse(); }

void LinkAmsel2::Label1_Click() { LinkZiel::oeffne(ziel()); }
