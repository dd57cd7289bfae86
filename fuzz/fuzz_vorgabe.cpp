// Fuzzes the admin's file: the collection it names and that line's way back
// through a file an admin writes.

#include "pruefe.h"
#include "store/vorgabe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<QString> zeile = Vorgabe::auswahl(eingabe(data, size));
    if (!zeile)
        return 0;
    // A named collection is one line, never blank, never a comment.
    pruefe(!zeile->contains(QLatin1Char('\r')) && !zeile->contains(QLatin1Char('\n')) && !zeile->trimmed().isEmpty()
           && !zeile->startsWith(QLatin1Char('#')));
    // Written as an admin writes it, behind a comment, it reads back the same.
    const std::optional<QString> wieder = Vorgabe::auswahl("# Sammlung\n" + zeile->toUtf8() + "\n");
    pruefe(wieder && *wieder == *zeile);
    return 0;
}
