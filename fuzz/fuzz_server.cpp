// Fuzzes the two lines the computer room brings: a server address from the
// settings file and an outbox line of a score still to be sent.

#include "highscore/ablage.h"
#include "store/serveradresse.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QString grund;
    const auto adresse = Serveradresse::zerlege(QString::fromUtf8(bytes), &grund);
    if (adresse.has_value() == !grund.isEmpty())
        std::abort();
    // What the editor writes, the program reads back to the same server.
    if (adresse && !(Serveradresse::zerlege(Serveradresse::text(*adresse)) == adresse))
        std::abort();
    if (const auto zeile = HighscoreAblage::zerlege(bytes)) {
        const QByteArray wieder = HighscoreAblage::kodiere(*zeile);
        const auto nochmal = HighscoreAblage::zerlege(wieder);
        if (wieder.contains('\n') || !nochmal || HighscoreAblage::kodiere(*nochmal) != wieder)
            std::abort();
    }
    return 0;
}
