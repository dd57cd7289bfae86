#include "ui/linkamsel.h"

#include "basis/farben.h"
#include "basis/hersteller.h"
#include "basis/twips.h"
#include "ui/linkziel.h"
#include "ui/mausklick.h"

#include <QCursor>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <memory>

namespace {
// The logo: at the design size of 236 x 55 pixels (15 twips to the pixel)
// the picture rendered beforehand, else the vector picture drawn to the
// size of the control. The vector picture's lettering needs two more fonts
// looked up and laid out, a few milliseconds of the splash window's start.
class Bild : public QWidget {
public:
    explicit Bild(QWidget *parent)
        : QWidget(parent)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QSize pixel = (QSizeF(size()) * devicePixelRatioF()).toSize();
        if (!m_gelesen) {
            m_gelesen = true;
            QImageReader leser(QStringLiteral(":/res/logo.png"), "png");
            leser.setAutoDetectImageFormat(false);
            m_fertig = leser.read();
        }
        if (m_fertig.size() == pixel) {
            painter.drawImage(QRectF(rect()), m_fertig);
            return;
        }
        if (!m_vektor)
            m_vektor = std::make_unique<QSvgRenderer>(QStringLiteral(":/res/logo.svg"));
        m_vektor->render(&painter, QRectF(rect()));
    }

private:
    bool m_gelesen = false;
    QImage m_fertig;
    std::unique_ptr<QSvgRenderer> m_vektor;
};
}

LinkAmsel::LinkAmsel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("LinkAmsel"));
    LinkZiel::richteEin(this, 3600, 855, Farben::schaltflaeche(), Hersteller::webAdresse());

    imgLogo = new Bild(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    Twips::setzeGeometrie(imgLogo, 0, 0, 3540, 825);
    imgLogo->setCursor(LinkZiel::handZeiger());
    Mausklick::verbinde(imgLogo, [this] { imgLogo_Click(); });
}

QString LinkAmsel::ziel() { return Hersteller::webAdresse(); }

void LinkAmsel::imgLogo_Click() { LinkZiel::oeffne(ziel()); }
