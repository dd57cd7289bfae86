// Fuzzes the CSV reader: any bytes end in rows or a message, and the
// questions taken from them are written and read back unchanged.

#include "austausch/csv.h"
#include "rundreise.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QVector<Austausch::Rohzeile> zeilen;
    if (Csv::lies(bytes, zeilen))
        return 0;
    const Austausch::Einlesen e = Austausch::pruefeZeilen(zeilen, {}, Austausch::kMaxZeilen);
    if (e.angenommen.size() + e.abgelehnt.size() != zeilen.size())
        std::abort();
    QVector<Austausch::Rohzeile> wieder;
    if (Csv::lies(Csv::schreibe(alsTabelle(e.angenommen)), wieder))
        std::abort();
    gleich(Austausch::pruefeZeilen(wieder, {}, Austausch::kMaxZeilen).angenommen, e.angenommen, false);
    return 0;
}
