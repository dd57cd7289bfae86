#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QTextCodec;

// The two encodings of the program's own text files: Windows-1252 as the
// old program wrote them, and UTF-8 behind a byte order mark for the rest.
namespace Zeichensatz {
inline constexpr char kMarke[] = "\xEF\xBB\xBF";

QTextCodec *windows1252();
// The bytes as UTF-8; a U+FEFF at their start is a character, not a mark
// (the line's own mark has been cut off before). Nothing when a byte is
// not valid UTF-8.
std::optional<QString> utf8Streng(const QByteArray &bytes);
// The same, with invalid bytes as U+FFFD.
QString utf8(const QByteArray &bytes);
}
