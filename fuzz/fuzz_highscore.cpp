// Fuzzes the highscore file's reading: the lines, their parse and the list
// built from them. Whatever the bytes, every entry read is well formed, the
// list follows the reset rule and is ordered best first, and a plain entry
// written by the program reads back unchanged.

#include "highscore/highscore.h"

#include <QVector>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Names the broken promise before the fuzzer records the input.
#define pruefe(bedingung)                                                                                   \
    do {                                                                                                    \
        if (!(bedingung)) {                                                                                 \
            std::fprintf(stderr, "broken: %s (line %d)\n", #bedingung, __LINE__);                            \
            std::abort();                                                                                   \
        }                                                                                                   \
    } while (false)

namespace {

bool absteigend(const QVector<Highscore::Eintrag> &e)
{
    return std::is_sorted(e.cbegin(), e.cend(),
                          [](const Highscore::Eintrag &a, const Highscore::Eintrag &b) { return a.punkte > b.punkte; });
}

bool gleicheMenge(QVector<Highscore::Eintrag> a, QVector<Highscore::Eintrag> b)
{
    const auto kleiner = [](const Highscore::Eintrag &x, const Highscore::Eintrag &y) {
        return x.punkte != y.punkte ? x.punkte < y.punkte : x.name < y.name;
    };
    std::sort(a.begin(), a.end(), kleiner);
    std::sort(b.begin(), b.end(), kleiner);
    return a == b;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t laenge)
{
    const QByteArray bytes(reinterpret_cast<const char *>(daten), static_cast<qsizetype>(laenge));

    const QVector<QByteArray> zeilen = Highscore::zeilen(bytes);
    for (const QByteArray &z : zeilen)
        pruefe(!z.contains('\n'));
    pruefe(zeilen.size() <= bytes.count('\n') + 1);

    const QVector<Highscore::Eintrag> eintraege = Highscore::zerlege(bytes);
    pruefe(eintraege.size() <= zeilen.size());
    for (const Highscore::Eintrag &e : eintraege)
        pruefe(e.punkte >= 0 && e.punkte <= 999999999 && !e.name.contains(QLatin1Char('\n')));

    const Highscore::Liste liste = Highscore::baueListe(eintraege);
    const qsizetype n = eintraege.size();
    pruefe(liste.warnen == (n == Highscore::kWarnGrenze));
    pruefe(liste.leeren == (n > Highscore::kLeerGrenze));
    pruefe(liste.texte.size() == (liste.leeren ? 0 : n));

    // A name without the separator, line ends or bytes that could pass for
    // UTF-8 comes back as written, whatever the bytes chose as score.
    if (!eintraege.isEmpty()) {
        const Highscore::Eintrag &e = eintraege.first();
        bool schlicht = !e.name.contains(QStringLiteral(" | ")) && !e.name.endsWith(QStringLiteral(" |"))
            && !e.name.contains(QLatin1Char('\r')) && !e.name.contains(QLatin1Char('\n'));
        for (const QChar c : e.name)
            schlicht = schlicht && c.unicode() < 0x80;
        if (schlicht) {
            const QVector<Highscore::Eintrag> wieder = Highscore::zerlege(Highscore::kodiereZeile(e.name, e.punkte));
            pruefe(wieder.size() == 1 && wieder.first() == e);
        }
    }

    // The exchange order costs n * n steps; beyond a few hundred entries the
    // fuzzer would spend its time there, so those lists are checked by size.
    if (n > 300 && n <= Highscore::kLeerGrenze)
        return 0;
    QVector<Highscore::Eintrag> geordnet = eintraege;
    Highscore::ordne(geordnet);
    pruefe(absteigend(geordnet) && gleicheMenge(geordnet, eintraege));
    for (qsizetype i = 0; i < liste.texte.size(); ++i)
        pruefe(liste.texte[i] == Highscore::listenText(static_cast<int>(i) + 1, geordnet[i]));

    return 0;
}
