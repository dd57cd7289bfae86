// Fuzzes the XLSX reader on any bytes: rows or a message, never a crash,
// and never more rows than a collection can hold.

#include "austausch/xlsx.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QVector<Austausch::Rohzeile> zeilen;
    const StoreError e = Xlsx::lies(bytes, zeilen);
    if ((e && e.text().isEmpty()) || zeilen.size() > Austausch::kMaxZeilen)
        std::abort();
    return 0;
}
