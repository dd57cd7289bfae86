#pragma once

#include <QImage>
#include <QString>

namespace QrBild {
// The text as a QR code (error correction M), each module a square of so
// many pixels, with the quiet zone of four modules around it that scanners
// need; a null image when the text does not fit into a QR code.
QImage bild(const QString &text, int modulPixel);
}
