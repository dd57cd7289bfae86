#include "klasse/qrbild.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

namespace QrBild {
QImage bild(const QString &text, int modulPixel)
{
    const QByteArray utf8 = text.toUtf8();
    std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code || modulPixel < 1)
        return {};
    const int rand = 4;
    const int seite = (code->width + 2 * rand) * modulPixel;
    QImage bild(seite, seite, QImage::Format_Grayscale8);
    bild.fill(Qt::white);
    QPainter maler(&bild);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1)
                maler.fillRect((x + rand) * modulPixel, (y + rand) * modulPixel, modulPixel, modulPixel, Qt::black);
        }
    }
    return bild;
}
}
