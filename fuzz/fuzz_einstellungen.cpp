// Fuzzes the settings file's first-line reader and its text round trip.

#include "store/settingsfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto zeile = SettingsFile::ersteZeile(bytes);
    if (bytes.isEmpty() != !zeile.has_value())
        std::abort();
    if (zeile) {
        if (zeile->contains(QLatin1Char('\r')) || zeile->contains(QLatin1Char('\n')))
            std::abort();
        // What the program writes, it reads back unchanged.
        const QByteArray geschrieben = SettingsFile::kodiere(*zeile) + "\r\n";
        const auto wieder = SettingsFile::ersteZeile(geschrieben);
        if (!wieder || *wieder != *zeile)
            std::abort();
    }
    return 0;
}
