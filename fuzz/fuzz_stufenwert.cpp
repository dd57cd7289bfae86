// Fuzzes the editor's reading of the level field: any text has a numeric
// value that is a number (never NaN), the range check agrees with it, and a
// text the editor would store as a level passes the check on leaving the
// field with that very value.

#include "ui/stufenwert.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t laenge)
{
    // The bytes as UTF-16 code units, so that any character can turn up.
    QString text(static_cast<qsizetype>(laenge / 2), Qt::Uninitialized);
    std::memcpy(text.data(), daten, laenge / 2 * 2);
    const double wert = Stufenwert::zahlenwert(text);
    if (std::isnan(wert))
        std::abort();
    if (Stufenwert::imBereich(text) != (wert >= 1.0 && wert <= 15.0))
        std::abort();
    if (const std::optional<int> stufe = Stufenwert::ganzeStufe(text)) {
        if (*stufe < 1 || *stufe > 15 || wert != *stufe || !Stufenwert::imBereich(text))
            std::abort();
    }
    // A plain whole number reads as itself.
    bool zahl = false;
    const qlonglong ganz = text.toLongLong(&zahl);
    if (zahl && text.size() <= 15 && !text.isEmpty() && text.at(0).isDigit()) {
        bool nurZiffern = true;
        for (const QChar c : text)
            nurZiffern = nurZiffern && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (nurZiffern && wert != static_cast<double>(ganz))
            std::abort();
    }
    return 0;
}
