#include "austausch/austausch.h"

#include "store/fragentabelle.h"

#include <QHash>
#include <QLocale>

namespace Austausch {

QString zahl(qint64 n)
{
    static const QLocale deutsch(QLocale::German, QLocale::Germany);
    return deutsch.toString(n);
}

QString kurz(QStringView text)
{
    constexpr qsizetype kZeichen = 40;
    return text.size() <= kZeichen ? text.toString() : text.left(kZeichen).toString() + QStringLiteral("…");
}

QString fremdesZeichen(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool paar = QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode());
        if (paar) {
            ++i;
            continue;
        }
        if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF || QChar::isSurrogate(c))
            return QStringLiteral("U+") + QStringLiteral("%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    }
    return {};
}

StoreError ordneKopf(const QStringList &kopf, QVector<int> &position)
{
    position.fill(-1, Fragentabelle::spalten().size());
    for (int zelle = 0; zelle < kopf.size(); ++zelle) {
        // "Lösung" and "Antwort 1" as a teacher may type them name the same columns.
        QString name = kopf[zelle];
        name.remove(QLatin1Char(' ')).replace(QStringLiteral("ö"), QStringLiteral("oe"), Qt::CaseInsensitive);
        int gefunden = -1;
        for (int s = 0; s < Fragentabelle::spalten().size(); ++s) {
            if (Fragentabelle::spalten()[s].compare(name.trimmed(), Qt::CaseInsensitive) == 0)
                gefunden = s;
        }
        if (gefunden < 0)
            continue;
        if (position[gefunden] >= 0)
            return StoreError(QStringLiteral("Die Kopfzeile nennt die Spalte %1 zweimal.").arg(Fragentabelle::spalten()[gefunden]));
        position[gefunden] = zelle;
    }
    QStringList fehlen;
    for (int s = 0; s < Fragentabelle::spalten().size(); ++s) {
        if (position[s] < 0)
            fehlen << Fragentabelle::spalten()[s];
    }
    if (!fehlen.isEmpty())
        return StoreError(QStringLiteral("In der Kopfzeile fehlt %1 %2. Die erste Zeile muss die Spalten Frage, "
                                         "Loesung, Antwort1, Antwort2 und Stufe benennen.")
                              .arg(fehlen.size() == 1 ? QStringLiteral("die Spalte") : QStringLiteral("die Spalten"),
                                   fehlen.join(QStringLiteral(", "))));
    return {};
}

Rohzeile ausZellen(int zeile, QStringList zellen, const QVector<int> &position)
{
    Rohzeile r;
    r.zeile = zeile;
    // The usual case, the columns in table order, takes the row as it is.
    if (zellen.size() == position.size()) {
        bool gleicheOrdnung = true;
        for (int s = 0; s < position.size(); ++s)
            gleicheOrdnung = gleicheOrdnung && position[s] == s;
        if (gleicheOrdnung) {
            r.felder = std::move(zellen);
            return r;
        }
    }
    for (int s = 0; s < position.size(); ++s) {
        if (position[s] >= zellen.size() && r.fehler.isEmpty())
            r.fehler = QStringLiteral("die Spalte %1 fehlt").arg(Fragentabelle::spalten()[s]);
        r.felder << zellen.value(position[s]);
    }
    return r;
}

QString schluessel(const QString &text)
{
    return text.simplified().toCaseFolded();
}

namespace {
// Holds no blanks that schluessel() would fold.
bool schlicht(QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isSpace() && (s[i] != QLatin1Char(' ') || (i + 1 < s.size() && s[i + 1] == QLatin1Char(' '))))
            return false;
    }
    return true;
}
}

bool gleichLautend(const QString &a, const QString &b)
{
    // Compared without copies where the texts need no folding of blanks:
    // an import checks three pairs in every row.
    const QStringView x = QStringView(a).trimmed(), y = QStringView(b).trimmed();
    if (schlicht(x) && schlicht(y))
        return x.compare(y, Qt::CaseInsensitive) == 0;
    return schluessel(a) == schluessel(b);
}

Einlesen pruefeZeilen(const QVector<Rohzeile> &zeilen, QSet<QString> vorhanden, int platz)
{
    Einlesen e;
    QHash<QString, int> ausDerDatei; // key -> line of the row taken first
    ausDerDatei.reserve(zeilen.size());
    e.angenommen.reserve(zeilen.size());
    for (const Rohzeile &r : zeilen) {
        auto ablehnen = [&](const QString &grund) { e.abgelehnt.append({r.zeile, grund}); };
        if (!r.fehler.isEmpty()) {
            ablehnen(r.fehler);
            continue;
        }
        // Looked at without copies: a workbook may give every row the same huge shared text.
        QString fehler;
        const auto feldnamen = [](int i) {
            return i == static_cast<int>(Fragentabelle::Spalte::Loesung)
                       ? Fragentabelle::titel(Fragentabelle::Spalte::Loesung)
                       : Fragentabelle::spalten()[i];
        };
        for (int i = 0; i < Fragentabelle::kSpaltenzahl && fehler.isEmpty(); ++i) {
            const QStringView feld(r.felder.value(i));
            if (feld.trimmed().isEmpty())
                fehler = QStringLiteral("das Feld %1 ist leer").arg(feldnamen(i));
            else if (feld.size() > kMaxFeld)
                fehler = QStringLiteral("das Feld %1 ist länger als %2 Zeichen").arg(feldnamen(i), zahl(kMaxFeld));
            else if (const QString z = fremdesZeichen(feld); !z.isEmpty())
                fehler = QStringLiteral("das Feld %1 enthält das Zeichen %2, das keine Austauschdatei halten "
                                        "kann").arg(feldnamen(i), z);
        }
        if (!fehler.isEmpty()) {
            ablehnen(fehler);
            continue;
        }
        Frage f{r.felder[0].trimmed(), r.felder[1].trimmed(), r.felder[2].trimmed(), r.felder[3].trimmed(),
                Fragentabelle::stufe(r.felder[4]), r.zeile};
        if (f.stufe == 0) {
            ablehnen(QStringLiteral("die Stufe „%1“ ist keine ganze Zahl von %2 bis %3")
                         .arg(kurz(QStringView(r.felder[4]).trimmed()))
                         .arg(Fragentabelle::kErsteStufe)
                         .arg(Fragentabelle::kLetzteStufe));
            continue;
        }
        const bool wieLoesung = gleichLautend(f.loesung, f.antwort1) || gleichLautend(f.loesung, f.antwort2);
        if (wieLoesung || gleichLautend(f.antwort1, f.antwort2)) {
            ablehnen(wieLoesung ? QStringLiteral("eine falsche Antwort gleicht der Lösung")
                                        : QStringLiteral("die beiden falschen Antworten sind gleich"));
            continue;
        }
        const QString k = schluessel(f.frage);
        if (vorhanden.contains(k)) {
            ablehnen(QStringLiteral("die Frage steht schon in der Sammlung"));
            continue;
        }
        if (ausDerDatei.contains(k)) {
            ablehnen(QStringLiteral("die Frage steht schon in Zeile %1").arg(ausDerDatei.value(k)));
            continue;
        }
        if (e.angenommen.size() >= platz) {
            ablehnen(QStringLiteral("die Sammlung hätte mehr als %1 Fragen; mehr kann ein Spiel nicht laden")
                         .arg(zahl(kMaxZeilen)));
            continue;
        }
        ausDerDatei.insert(k, r.zeile);
        e.angenommen.append(std::move(f));
    }
    return e;
}

QString vorschauText(const Einlesen &e)
{
    QVector<int> jeStufe(Fragentabelle::kLetzteStufe + 1, 0);
    for (const Frage &f : e.angenommen)
        ++jeStufe[f.stufe];
    QString t;
    if (!e.format.isEmpty())
        t += QStringLiteral("Gelesen: %1\n\n").arg(e.format);
    t += QStringLiteral("Es werden %1 Fragen hinzugefügt:\n").arg(zahl(e.angenommen.size()));
    for (int s = Fragentabelle::kErsteStufe; s <= Fragentabelle::kLetzteStufe; ++s)
        t += QStringLiteral("  Stufe %1: %2\n").arg(s, 2).arg(zahl(jeStufe[s]));
    if (e.abgelehnt.isEmpty()) {
        t += QStringLiteral("\nKeine Zeile wird abgelehnt.\n");
        return t;
    }
    t += QStringLiteral("\n%1 Zeilen werden abgelehnt:\n").arg(zahl(e.abgelehnt.size()));
    for (const Abgelehnt &a : e.abgelehnt)
        t += QStringLiteral("  Zeile %1: %2\n").arg(a.zeile).arg(a.grund);
    return t;
}
}
