// Fuzzes the CSV reader: any bytes end in rows or a message, and the
// questions taken from them are written and read back unchanged.

#include "austausch/csv.h"
#include "rundreise.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QVector<Austausch::Rohzeile> zeilen;
    if (Csv::lies(eingabe(data, size), zeilen))
        return 0;
    const Austausch::Einlesen e = Austausch::pruefeZeilen(zeilen, {}, Austausch::kMaxZeilen);
    pruefe(e.angenommen.size() + e.abgelehnt.size() == zeilen.size());
    QVector<Austausch::Rohzeile> wieder;
    pruefe(!Csv::lies(Csv::schreibe(alsTabelle(e.angenommen)), wieder));
    gleich(Austausch::pruefeZeilen(wieder, {}, Austausch::kMaxZeilen).angenommen, e.angenommen, false);
    return 0;
}
