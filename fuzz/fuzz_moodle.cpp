// Fuzzes the Moodle XML reader: any bytes end in rows or a message, and the
// questions taken from them are written and read back (the format keeps
// line ends and blanks only as XML allows).

#include "austausch/moodle.h"
#include "rundreise.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QVector<Austausch::Rohzeile> zeilen;
    if (Moodle::lies(eingabe(data, size), zeilen))
        return 0;
    const Austausch::Einlesen e = Austausch::pruefeZeilen(zeilen, {}, Austausch::kMaxZeilen);
    QVector<Austausch::Rohzeile> wieder;
    pruefe(!Moodle::lies(Moodle::schreibe(alsTabelle(e.angenommen)), wieder));
    // Written grouped by level, as Moodle's categories hold them.
    QVector<Austausch::Frage> erwartet = e.angenommen;
    std::stable_sort(erwartet.begin(), erwartet.end(),
                     [](const Austausch::Frage &a, const Austausch::Frage &b) { return a.stufe < b.stufe; });
    gleich(Austausch::pruefeZeilen(wieder, {}, Austausch::kMaxZeilen).angenommen, erwartet, true);
    return 0;
}
