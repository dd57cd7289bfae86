// Fuzzes the two lines the computer room brings: a server address from the
// settings file and an outbox line of a score still to be sent.

#include "highscore/ablage.h"
#include "pruefe.h"
#include "store/serveradresse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = eingabe(data, size);
    QString grund;
    const auto adresse = Serveradresse::zerlege(QString::fromUtf8(bytes), &grund);
    pruefe(adresse.has_value() == grund.isEmpty());
    // What the editor writes, the program reads back to the same server.
    pruefe(!adresse || Serveradresse::zerlege(Serveradresse::text(*adresse)) == adresse);
    if (const auto zeile = HighscoreAblage::zerlege(bytes)) {
        const QByteArray wieder = HighscoreAblage::kodiere(*zeile);
        const auto nochmal = HighscoreAblage::zerlege(wieder);
        pruefe(!wieder.contains('\n') && nochmal && HighscoreAblage::kodiere(*nochmal) == wieder);
    }
    return 0;
}
