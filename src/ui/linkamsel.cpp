#include "ui/linkamsel.h"

#include "app/farben.h"
#include "app/hersteller.h"
#include "app/twips.h"
#include "ui/linkziel.h"
#include "ui/mausklick.h"

#include <QCursor>
#include <QPainter>
#include <QSvgRenderer>

namespace {
// The logo as a vector picture, drawn to the size of the image.
class Bild : public QWidget {
public:
    Bild(const QString &datei, QWidget *parent)
        : QWidget(parent)
        , m_renderer(datei)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_renderer.render(&painter, QRectF(rect()));
    }

private:
    QSvgRenderer m_renderer;
};
}

LinkAmsel::LinkAmsel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("LinkAmsel"));
    LinkZiel::richteEin(this, 3600, 855, Farben::schaltflaeche(), Hersteller::webAdresse());

    imgLogo = new Bild(QStringLiteral(":/res/logo.svg"), this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    Twips::setzeGeometrie(imgLogo, 0, 0, 3540, 825);
    imgLogo->setCursor(LinkZiel::handZeiger());
    Mausklick::verbinde(imgLogo, [this] { imgLogo_Click(); });
}

QString LinkAmsel::ziel() { return Hersteller::webAdresse(); }

void LinkAmsel::imgLogo_Click() { LinkZiel::oeffne(ziel()); }
