#pragma once

#include <QPointF>
#include <QRect>
#include <QSize>
#include <QSizeF>

class QWidget;

// Positions and sizes of the program's windows are given in twips, 1/1440
// inch; this is the one place that turns them into pixels.
namespace Twips {
// Twips per pixel from the screen's logical DPI (15 at 96 DPI).
double proPixelX();
double proPixelY();

int zuPixelX(double twips);
int zuPixelY(double twips);
double ausPixelX(int pixel);
double ausPixelY(int pixel);

// massstab enlarges the whole drawing evenly (the projector view); at 1 the
// pixels are those of the window's own size.
QRect rechteck(double left, double top, double width, double height, double massstab = 1.0);
void setzeGeometrie(QWidget *widget, double left, double top, double width, double height,
                    double massstab = 1.0);
void setzeLinks(QWidget *widget, double left);

// The client area of a window whose outer size, frame and title bar
// included, is the given number of pixels (fixed single border of 3 pixels,
// title bar of 19 pixels).
QSize innenGroesse(int aussenBreitePx, int aussenHoehePx);
constexpr int kRahmenPx = 3;
constexpr int kTitelPx = 19;

// A drawing of size inhalt enlarged as far as it fits into flaeche, aspect
// kept, and centred: the factor and the top left corner of the drawing.
struct Einpassung {
    double faktor = 1.0;
    QPointF versatz;
};
Einpassung passeEin(const QSizeF &inhalt, const QSizeF &flaeche);
}
