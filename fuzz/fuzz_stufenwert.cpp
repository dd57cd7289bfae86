// Fuzzes the editor's reading of the level field: any text has a numeric
// value that is a number (never NaN), the range check agrees with it, and a
// text the editor would store as a level passes the check on leaving the
// field with that very value.

#include "pruefe.h"
#include "ui/stufenwert.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t laenge)
{
    // The bytes as UTF-16 code units, so that any character can turn up.
    QString text(static_cast<qsizetype>(laenge / 2), Qt::Uninitialized);
    std::memcpy(text.data(), daten, laenge / 2 * 2);
    const double wert = Stufenwert::zahlenwert(text);
    pruefe(!std::isnan(wert));
    pruefe(Stufenwert::imBereich(text) == (wert >= 1.0 && wert <= 15.0));
    if (const std::optional<int> stufe = Stufenwert::ganzeStufe(text))
        pruefe(*stufe >= 1 && *stufe <= 15 && wert == *stufe && Stufenwert::imBereich(text));
    // A plain whole number reads as itself.
    const bool ziffern = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit() && c.unicode() < 0x80; });
    if (ziffern && !text.isEmpty() && text.size() <= 15)
        pruefe(wert == static_cast<double>(text.toLongLong()));
    return 0;
}
