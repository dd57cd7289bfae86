#include "basis/zeichensatz.h"

#include <QStringDecoder>
#include <QTextCodec>

namespace Zeichensatz {
QTextCodec *windows1252()
{
    static QTextCodec *codec = QTextCodec::codecForName("windows-1252");
    return codec;
}

std::optional<QString> utf8Streng(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString utf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}
}
