#include "klasse/klassennachricht.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace {
// No 0/O, 1/I/L, 5/S, 8/B: read off a wall from the back row.
const char kZeichen[] = "ACDEFGHJKMNPQRTUVWXY234679";

bool ganzeZahl(const QJsonValue &wert, int kleinste, int groesste, int &ergebnis)
{
    if (!wert.isDouble())
        return false;
    const double d = wert.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < kleinste || d > groesste)
        return false;
    ergebnis = static_cast<int>(d);
    return true;
}
}

namespace Klassennachricht {
Wahl liesWahl(const QByteArray &text)
{
    if (text.size() > kGroesste)
        return {};
    QJsonParseError fehler;
    const QJsonDocument dokument = QJsonDocument::fromJson(text, &fehler);
    if (fehler.error != QJsonParseError::NoError || !dokument.isObject())
        return {};
    const QJsonObject o = dokument.object();
    if (o.size() != 3 || o.value(QLatin1String("art")).toString() != QLatin1String("wahl"))
        return {};
    Wahl w;
    if (!ganzeZahl(o.value(QLatin1String("frage")), 1, 1000000, w.frage)
        || !ganzeZahl(o.value(QLatin1String("feld")), 0, 2, w.feld))
        return {};
    w.gueltig = true;
    return w;
}

Teil liesPfad(const QString &pfad, const QString &code)
{
    if (!pfad.startsWith(QLatin1Char('/')))
        return Teil::Unbekannt;
    const qsizetype ende = pfad.indexOf(QLatin1Char('/'), 1);
    if (ende < 0 || pfad.mid(1, ende - 1) != code || code.isEmpty())
        return Teil::FalscherCode;
    const QString rest = pfad.mid(ende + 1);
    if (rest.isEmpty())
        return Teil::Seite;
    if (rest == QLatin1String("seite.js"))
        return Teil::Skript;
    if (rest == QLatin1String("seite.css"))
        return Teil::Stil;
    if (rest == QLatin1String("ws"))
        return Teil::Verbindung;
    return Teil::Unbekannt;
}

QString neuerCode()
{
    QString code;
    for (int i = 0; i < 6; ++i)
        code += QLatin1Char(kZeichen[QRandomGenerator::system()->bounded(int(sizeof kZeichen - 1))]);
    return code;
}

QString neuesToken()
{
    quint32 teile[4];
    QRandomGenerator::system()->fillRange(teile);
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(teile), sizeof teile).toHex());
}

QString liesToken(const QString &text)
{
    if (text.size() != 32)
        return {};
    for (const QChar c : text) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return {};
    }
    return text;
}

std::array<int, 3> anteile(const std::array<int, 3> &stimmen)
{
    std::array<int, 3> ergebnis{0, 0, 0};
    long long summe = 0;
    for (const int s : stimmen)
        summe += std::max(s, 0);
    if (summe == 0)
        return ergebnis;
    std::array<long long, 3> rest{};
    int verteilt = 0;
    for (int i = 0; i < 3; ++i) {
        const long long teil = 100LL * std::max(stimmen[i], 0);
        ergebnis[i] = static_cast<int>(teil / summe);
        rest[i] = teil % summe;
        verteilt += ergebnis[i];
    }
    std::array<int, 3> folge{0, 1, 2};
    std::stable_sort(folge.begin(), folge.end(), [&rest](int a, int b) { return rest[a] > rest[b]; });
    for (int k = 0; verteilt < 100; ++k, ++verteilt)
        ++ergebnis[folge[k]];
    return ergebnis;
}
}
