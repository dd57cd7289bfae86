#include "basis/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
double dpi(bool horizontal)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    const double value = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return value > 0 ? value : 96.0;
}

int aufPixel(double value) { return static_cast<int>(std::lround(value)); }
}

namespace Twips {
double proPixelX() { return 1440.0 / dpi(true); }
double proPixelY() { return 1440.0 / dpi(false); }

int zuPixelX(double twips) { return aufPixel(twips / proPixelX()); }
int zuPixelY(double twips) { return aufPixel(twips / proPixelY()); }
double ausPixelX(int pixel) { return pixel * proPixelX(); }
double ausPixelY(int pixel) { return pixel * proPixelY(); }

QRect rechteck(double left, double top, double width, double height, double massstab)
{
    // Convert the edges, not the size, so neighbouring controls stay flush.
    const auto x = [massstab](double twips) { return aufPixel(twips / proPixelX() * massstab); };
    const auto y = [massstab](double twips) { return aufPixel(twips / proPixelY() * massstab); };
    const int l = x(left);
    const int t = y(top);
    return QRect(l, t, x(left + width) - l, y(top + height) - t);
}

void setzeGeometrie(QWidget *widget, double left, double top, double width, double height, double massstab)
{
    widget->setGeometry(rechteck(left, top, width, height, massstab));
}

void setzeLinks(QWidget *widget, double left)
{
    widget->move(zuPixelX(left), widget->y());
}

QSize innenGroesse(int aussenBreitePx, int aussenHoehePx)
{
    return QSize(aussenBreitePx - 2 * kRahmenPx, aussenHoehePx - 2 * kRahmenPx - kTitelPx);
}

Einpassung passeEin(const QSizeF &inhalt, const QSizeF &flaeche)
{
    if (inhalt.isEmpty() || flaeche.isEmpty())
        return {};
    const double faktor = std::min(flaeche.width() / inhalt.width(), flaeche.height() / inhalt.height());
    return {faktor, QPointF((flaeche.width() - inhalt.width() * faktor) / 2,
                            (flaeche.height() - inhalt.height() * faktor) / 2)};
}
}
