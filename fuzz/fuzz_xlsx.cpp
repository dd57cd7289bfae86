// Fuzzes the XLSX reader on any bytes: rows or a message, never a crash,
// and never more rows than a collection can hold.

#include "austausch/xlsx.h"
#include "pruefe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QVector<Austausch::Rohzeile> zeilen;
    const StoreError e = Xlsx::lies(eingabe(data, size), zeilen);
    pruefe(!(e && e.text().isEmpty()) && zeilen.size() <= Austausch::kMaxZeilen);
    return 0;
}
