// Fuzzes the admin's file: the collection it names and that line's way back
// through a file an admin writes.

#include "store/vorgabe.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<QString> zeile = Vorgabe::auswahl(bytes);
    if (!zeile)
        return 0;
    // A named collection is one line, never blank, never a comment.
    if (zeile->contains(QLatin1Char('\r')) || zeile->contains(QLatin1Char('\n')) || zeile->trimmed().isEmpty()
        || zeile->startsWith(QLatin1Char('#')))
        std::abort();
    // Written as an admin writes it, behind a comment, it reads back the same.
    const std::optional<QString> wieder = Vorgabe::auswahl("# Sammlung\n" + zeile->toUtf8() + "\n");
    if (!wieder || *wieder != *zeile)
        std::abort();
    return 0;
}
