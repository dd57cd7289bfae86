#include "game/spielregeln.h"

#include <QLocale>

#include <cmath>

namespace Spielregeln {
QString stufenName(int stufe)
{
    if (stufe < kErsteStufe || stufe > kLetzteStufe)
        return {};
    if (stufe == 14)
        return QStringLiteral("mündliches Abitur");
    if (stufe == kLetzteStufe)
        return QStringLiteral("schriftliches Abitur");
    // One-digit grades have a blank after the period, two-digit ones none.
    return stufe < 10 ? QStringLiteral("%1. Klasse").arg(stufe) : QStringLiteral("%1.Klasse").arg(stufe);
}

int sicherheitsstufe(int stufe)
{
    if (stufe >= 10)
        return 10;
    if (stufe >= 5)
        return 5;
    return 0;
}

QString falschText(int stufe)
{
    const QString anfang = QStringLiteral("Sie haben die Antwort leider falsch beantwortet. Leider haben Sie zuviel "
                                          "riskiert und ");
    switch (sicherheitsstufe(stufe)) {
    case 10:
        return anfang + QStringLiteral("bleiben in der 10. Klasse sitzen...!");
    case 5:
        return anfang + QStringLiteral("bleiben in der 5. Klasse sitzen...!");
    default:
        return anfang + QStringLiteral("müssen noch einmal auf die Vorschule...!");
    }
}

int ziehung(float r, int n)
{
    if (n <= 1 || !(r > 0.0f))
        return 0;
    const double k = std::floor(static_cast<double>(n) * static_cast<double>(r));
    return k >= n ? n - 1 : static_cast<int>(k);
}

Umfrage umfrage(float r1, float r2)
{
    Umfrage u;
    int rest = 100;
    u.loesung = ziehung(r1, rest);
    rest -= u.loesung;
    u.antwort1 = ziehung(r2, rest);
    rest -= u.antwort1;
    u.antwort2 = rest;
    return u;
}

Reihenfolge mische(const std::function<float()> &ziehe)
{
    Reihenfolge r{0, 0, 0};
    // A working generator gives two different slots within a few draws; the
    // bound only keeps a broken one from freezing the game.
    for (int versuch = 0; versuch < 100000; ++versuch) {
        r[0] = ziehung(ziehe(), 3);
        r[1] = ziehung(ziehe(), 3);
        if (r[0] != r[1]) {
            r[2] = 3 - r[0] - r[1];
            return r;
        }
    }
    return {0, 1, 2};
}

int slotLinks(double slotBreite, int slot)
{
    // nearbyint rounds a half to the even neighbour in the default mode.
    return static_cast<int>(std::nearbyint((slotBreite + 200.0) * slot + 200.0));
}

QString fensterTitel(const QString &spieler, const QString &stufenname)
{
    return QStringLiteral("Spieler: ") + spieler + QStringLiteral("  |||  Momentaner Stand: ") + stufenname;
}

QVector<QVector<int>> zeilenJeStufe(const QVector<QVariant> &stufen)
{
    QVector<QVector<int>> listen(kLetzteStufe + 1);
    for (int zeile = 0; zeile < stufen.size(); ++zeile) {
        if (const int stufe = Fragentabelle::stufe(stufen[zeile]))
            listen[stufe].append(zeile);
    }
    return listen;
}

int waehleZeile(const QVector<int> &zeilen, float r)
{
    if (zeilen.isEmpty())
        return -1;
    return zeilen[ziehung(r, static_cast<int>(zeilen.size()))];
}

QString vorlesetext(const QString &frage, const QStringList &antworten)
{
    // Each part ends as a sentence, so the voice pauses between them.
    const auto satz = [](QString text) {
        text = text.trimmed();
        if (!text.isEmpty() && !QStringLiteral(".?!:").contains(text.back()))
            text += QLatin1Char('.');
        return text;
    };
    QStringList teile{satz(frage)};
    for (int i = 0; i < antworten.size(); ++i) {
        if (!antworten.at(i).isEmpty())
            teile << satz(QStringLiteral("Antwort %1: %2").arg(i + 1).arg(antworten.at(i)));
    }
    return teile.join(QLatin1Char(' '));
}
}
