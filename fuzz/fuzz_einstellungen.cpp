// Fuzzes the settings file's first-line reader and its text round trip.

#include "pruefe.h"
#include "store/settingsfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = eingabe(data, size);
    const auto zeile = SettingsFile::ersteZeile(bytes);
    pruefe(bytes.isEmpty() == !zeile.has_value());
    if (zeile) {
        pruefe(!zeile->contains(QLatin1Char('\r')) && !zeile->contains(QLatin1Char('\n')));
        // What the program writes, it reads back unchanged.
        const auto wieder = SettingsFile::ersteZeile(SettingsFile::kodiere(*zeile) + "\r\n");
        pruefe(wieder && *wieder == *zeile);
    }
    return 0;
}
