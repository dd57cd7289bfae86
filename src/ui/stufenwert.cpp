#include "ui/stufenwert.h"

#include "store/fragentabelle.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {
bool uebersprungen(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

bool ziffer(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

int ziffernwert(QChar c, int basis)
{
    const ushort u = c.unicode();
    int wert = -1;
    if (u >= '0' && u <= '9')
        wert = u - '0';
    else if (u >= 'a' && u <= 'f')
        wert = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        wert = u - 'A' + 10;
    return wert >= 0 && wert < basis ? wert : -1;
}

// A whole number after "&H" or "&O"; it can only grow, so a long one ends as
// a large value rather than wrapping round into the range of levels.
double ganzeZahl(const QString &zeichen, int ab, int basis)
{
    double wert = 0;
    for (int i = ab; i < zeichen.size(); ++i) {
        const int z = ziffernwert(zeichen[i], basis);
        if (z < 0)
            break;
        wert = wert * basis + z;
    }
    return wert;
}

// The power of ten of a number's first non-zero digit: positive for a number
// too large for a double, negative for one too small.
long long groessenordnung(const std::string &zahl)
{
    const auto e = zahl.find('e');
    const std::string mantisse = zahl.substr(0, e);
    long long exponent = 0;
    if (e != std::string::npos) {
        // Only the sign and size matter; a huge exponent is capped.
        const std::string teil = zahl.substr(e + 1);
        const bool minus = !teil.empty() && teil[0] == '-';
        for (const char c : teil) {
            if (c >= '0' && c <= '9')
                exponent = std::min<long long>(exponent * 10 + (c - '0'), 1'000'000'000LL);
        }
        if (minus)
            exponent = -exponent;
    }
    const auto punkt = mantisse.find('.');
    const long long ganzeStellen = static_cast<long long>(punkt == std::string::npos ? mantisse.size() : punkt);
    long long stelle = ganzeStellen; // power of ten + 1 of the digit at index 0
    for (const char c : mantisse) {
        if (c == '.')
            continue;
        if (c != '0')
            return stelle + exponent;
        --stelle;
    }
    return -1;
}
}

namespace Stufenwert {
double zahlenwert(const QString &text)
{
    QString zeichen;
    zeichen.reserve(text.size());
    for (const QChar c : text) {
        if (!uebersprungen(c))
            zeichen.append(c);
    }

    if (zeichen.size() >= 2 && zeichen[0] == QLatin1Char('&')) {
        const QChar art = zeichen[1].toUpper();
        if (art == QLatin1Char('H'))
            return ganzeZahl(zeichen, 2, 16);
        if (art == QLatin1Char('O'))
            return ganzeZahl(zeichen, 2, 8);
    }

    // Collect the part that forms a number, in plain ASCII for from_chars,
    // which ignores the user's locale.
    std::string zahl;
    int i = 0;
    const int n = zeichen.size();
    bool negativ = false;
    if (i < n && (zeichen[i] == QLatin1Char('+') || zeichen[i] == QLatin1Char('-'))) {
        negativ = zeichen[i] == QLatin1Char('-');
        ++i;
    }
    bool punkt = false;
    bool ziffern = false;
    for (; i < n; ++i) {
        const QChar c = zeichen[i];
        if (ziffer(c)) {
            zahl += static_cast<char>(c.unicode());
            ziffern = true;
        } else if (c == QLatin1Char('.') && !punkt) {
            zahl += '.';
            punkt = true;
        } else {
            break;
        }
    }
    if (!ziffern)
        return 0.0;
    // An exponent counts only when digits follow it: "3E" is 3.
    if (i < n && (zeichen[i].toUpper() == QLatin1Char('E') || zeichen[i].toUpper() == QLatin1Char('D'))) {
        int j = i + 1;
        std::string exponent = "e";
        if (j < n && (zeichen[j] == QLatin1Char('+') || zeichen[j] == QLatin1Char('-'))) {
            exponent += static_cast<char>(zeichen[j].unicode());
            ++j;
        }
        bool exponentZiffern = false;
        for (; j < n && ziffer(zeichen[j]); ++j) {
            exponent += static_cast<char>(zeichen[j].unicode());
            exponentZiffern = true;
        }
        if (exponentZiffern)
            zahl += exponent;
    }
    if (zahl.front() == '.')
        zahl.insert(zahl.begin(), '0');

    double wert = 0.0;
    const auto [ende, fehler] = std::from_chars(zahl.data(), zahl.data() + zahl.size(), wert);
    Q_UNUSED(ende)
    if (fehler == std::errc::result_out_of_range)
        wert = groessenordnung(zahl) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negativ ? -wert : wert;
}

bool imBereich(const QString &text)
{
    const double v = zahlenwert(text);
    return v >= Fragentabelle::kErsteStufe && v <= Fragentabelle::kLetzteStufe;
}

std::optional<int> ganzeStufe(const QString &text)
{
    // What the check on leaving the field passes and the table's level
    // reading takes: a level stored from the field always reads back as
    // the value the check saw.
    const int stufe = Fragentabelle::stufe(text);
    if (!stufe || !imBereich(text))
        return std::nullopt;
    return stufe;
}
}
