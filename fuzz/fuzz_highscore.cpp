// Fuzzes the highscore file's reading: the lines, their parse and the list
// built from them. Whatever the bytes, every entry read is well formed, the
// list follows the reset rule and is ordered best first, every name the
// program writes reads back unchanged, and a Windows-1252 line is never taken
// for UTF-8.

#include "highscore/highscore.h"
#include "pruefe.h"

#include <QVector>

#include <algorithm>
#include <tuple>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t laenge)
{
    const QByteArray bytes = eingabe(daten, laenge);

    const QVector<QByteArray> zeilen = Highscore::zeilen(bytes);
    for (const QByteArray &z : zeilen)
        pruefe(!z.contains('\n') && !z.contains('\r'));
    pruefe(zeilen.size() <= bytes.count('\n') + bytes.count('\r') + 1);

    const QVector<Highscore::Eintrag> eintraege = Highscore::zerlege(bytes);
    pruefe(eintraege.size() <= zeilen.size());
    for (const Highscore::Eintrag &e : eintraege)
        pruefe(e.punkte >= 0 && e.punkte <= 999999999 && !e.name.contains(QLatin1Char('\n')));

    const Highscore::Liste liste = Highscore::baueListe(eintraege);
    const qsizetype n = eintraege.size();
    pruefe(liste.warnen == (n == Highscore::kWarnGrenze));
    pruefe(liste.leeren == (n > Highscore::kLeerGrenze));
    pruefe(liste.texte.size() == (liste.leeren ? 0 : n));

    // Any name the program writes reads back as written (the fuzzer's bytes
    // as UTF-8, and as Windows-1252): names without line ends that do not
    // hold or end in the separator.
    const auto schlicht = [](const QString &name) {
        return !name.contains(QStringLiteral(" | ")) && !name.endsWith(QStringLiteral(" |"))
            && !name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n'));
    };
    for (const QString &name : {QString::fromUtf8(bytes.left(200)), Highscore::dekodiereZeile(bytes.left(200))}) {
        if (schlicht(name)) {
            const QVector<Highscore::Eintrag> wieder = Highscore::zerlege(Highscore::kodiereZeile(name, 7));
            pruefe(wieder.size() == 1 && wieder.first() == (Highscore::Eintrag{name, 7}));
        }
    }
    // A line of Windows-1252 characters from an old file reads as Windows-1252,
    // one character per byte, unless it starts with what marks UTF-8.
    bool alt1252 = !bytes.startsWith("\xEF\xBB\xBF");
    for (const char c : bytes.left(200))
        alt1252 = alt1252 && !QByteArray("\x81\x8d\x8f\x90\x9d").contains(c);
    if (alt1252) {
        const QString text = Highscore::dekodiereZeile(bytes.left(200));
        pruefe(text.size() == bytes.left(200).size());
        for (qsizetype i = 0; i < text.size(); ++i)
            pruefe(static_cast<unsigned char>(bytes.at(i)) >= 0x80 || text.at(i).unicode() == static_cast<unsigned char>(bytes.at(i)));
    }

    // The exchange order costs n * n steps; beyond a few hundred entries the
    // fuzzer would spend its time there, so those lists are checked by size.
    if (n > 300 && n <= Highscore::kLeerGrenze)
        return 0;
    QVector<Highscore::Eintrag> geordnet = eintraege;
    Highscore::ordne(geordnet);
    pruefe(std::is_sorted(geordnet.cbegin(), geordnet.cend(),
                          [](const Highscore::Eintrag &a, const Highscore::Eintrag &b) { return a.punkte > b.punkte; }));
    // The same entries as read: both sorted by score and name are equal.
    const auto kleiner = [](const Highscore::Eintrag &x, const Highscore::Eintrag &y) {
        return std::tie(x.punkte, x.name) < std::tie(y.punkte, y.name);
    };
    QVector<Highscore::Eintrag> a = geordnet, b = eintraege;
    std::sort(a.begin(), a.end(), kleiner);
    std::sort(b.begin(), b.end(), kleiner);
    pruefe(a == b);
    for (qsizetype i = 0; i < liste.texte.size(); ++i)
        pruefe(liste.texte[i] == Highscore::listenText(static_cast<int>(i) + 1, geordnet[i]));

    return 0;
}
