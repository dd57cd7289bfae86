#include "austausch/csv.h"

#include "store/fragentabelle.h"

#include <QStringDecoder>

namespace {
using namespace Austausch;

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five bytes
// it leaves undefined stay the control characters Latin-1 gives them.
const char16_t kCp1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString ausCp1252(const QByteArray &bytes)
{
    QString s(bytes.size(), Qt::Uninitialized);
    QChar *ziel = s.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        ziel[i] = b >= 0x80 && b < 0xA0 ? QChar(kCp1252[b - 0x80]) : QChar(b);
    }
    return s;
}

QString dekodiereMit(QStringDecoder::Encoding kodierung, const QByteArray &bytes)
{
    QStringDecoder d(kodierung);
    return d.decode(bytes);
}

// Characters a spreadsheet program takes as the start of a formula when it
// opens a CSV file; the export puts an apostrophe before them (and before an
// apostrophe that begins a field), the import takes exactly that one away.
bool formelAnfang(QStringView f)
{
    return !f.isEmpty() && QStringView(u"=+-@\t\r'").contains(f.front());
}

QString ohneFormelschutz(QString f)
{
    if (f.size() >= 2 && f.front() == QLatin1Char('\'') && formelAnfang(QStringView(f).mid(1)))
        f.remove(0, 1);
    return f;
}

// Appends text[von, bis) to feld. A field's first piece is taken at its
// size: appending to an empty text would reserve room for growth in every field.
inline void haenge(QString &feld, const QChar *p, qsizetype von, qsizetype bis)
{
    if (bis <= von)
        return;
    if (feld.isEmpty())
        feld = QString(p + von, bis - von);
    else
        feld.append(p + von, bis - von);
}
}

namespace Csv {

QString dekodiere(const QByteArray &bytes, QString *kodierung)
{
    auto nenne = [&](const char *name) {
        if (kodierung)
            *kodierung = QLatin1String(name);
    };
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        nenne("UTF-8 mit BOM");
        return dekodiereMit(QStringDecoder::Utf8, bytes.mid(3));
    }
    if (bytes.startsWith("\xFF\xFE")) {
        nenne("UTF-16");
        return dekodiereMit(QStringDecoder::Utf16LE, bytes.mid(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        nenne("UTF-16");
        return dekodiereMit(QStringDecoder::Utf16BE, bytes.mid(2));
    }
    // Qt's fast decoder first; only a text that then holds a replacement
    // character is looked at again, to tell a faulty byte from a genuine one.
    QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter)) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8.decode(bytes);
        if (utf8.hasError())
            text.clear();
    }
    if (!text.isNull() || bytes.isEmpty()) {
        nenne("UTF-8");
        return text;
    }
    nenne("Windows-1252");
    return ausCp1252(bytes);
}

StoreError zerlege(QStringView text, QChar trenner, int maxDatensaetze, QVector<Datensatz> &out,
                   const Austausch::Fortschritt &fortschritt)
{
    out.clear();
    out.reserve(qMin<qsizetype>(maxDatensaetze, text.count(QLatin1Char('\n')) + 1));
    int breite = 1;
    qint64 zellen = 0;
    const QChar *p = text.data();
    const qsizetype n = text.size();
    const QChar quote(u'"'), cr(u'\r'), lf(u'\n');
    qsizetype i = 0;
    int zeile = 1;
    while (i < n && out.size() < maxDatensaetze) {
        Datensatz d;
        d.zeile = zeile;
        d.felder.reserve(breite);
        for (;;) {
            // A file of separators alone would otherwise hold one empty text per byte.
            if (d.felder.size() >= kMaxSpalten)
                return StoreError(QStringLiteral("Zeile %1 hat mehr als %2 Felder; so viele Spalten hat keine "
                                                 "Fragentabelle.").arg(d.zeile).arg(zahl(kMaxSpalten)));
            if (++zellen > kMaxZellen)
                return StoreError(QStringLiteral("Die Datei hat mehr als %1 Felder; so viele braucht keine Sammlung.")
                                      .arg(zahl(kMaxZellen)));
            QString feld;
            if (i < n && p[i] == quote) {
                ++i;
                bool zu = false;
                qsizetype von = i;
                while (i < n) {
                    if (p[i] == quote) {
                        haenge(feld, p, von, i);
                        if (i + 1 < n && p[i + 1] == quote) {
                            feld.append(quote);
                            i += 2;
                            von = i;
                            continue;
                        }
                        ++i;
                        zu = true;
                        break;
                    }
                    if (p[i] == lf || (p[i] == cr && !(i + 1 < n && p[i + 1] == lf)))
                        ++zeile;
                    ++i;
                }
                if (!zu) {
                    haenge(feld, p, von, i);
                    d.offen = true;
                }
            }
            // Unquoted text, or what follows a closing quote before the separator.
            const qsizetype von = i;
            while (i < n && p[i] != trenner && p[i] != lf && p[i] != cr)
                ++i;
            haenge(feld, p, von, i);
            d.felder << ohneFormelschutz(std::move(feld));
            if (i < n && p[i] == trenner) {
                ++i;
                continue;
            }
            if (i < n && p[i] == cr)
                ++i;
            if (i < n && p[i] == lf)
                ++i;
            ++zeile;
            break;
        }
        breite = static_cast<int>(d.felder.size());
        // Blank lines between rows are no rows.
        if (d.felder.size() == 1 && QStringView(d.felder[0]).trimmed().isEmpty() && !d.offen)
            continue;
        out.append(std::move(d));
        if (fortschritt && out.size() % 4096 == 0)
            fortschritt(QStringLiteral("Lesen"), i, n);
    }
    return {};
}

QChar trenner(QStringView text)
{
    const QString kandidaten = QStringLiteral(";,\t");
    QChar bester = kandidaten[0];
    int besteNamen = -1;
    qsizetype besteZahl = -1;
    const qsizetype ende = text.indexOf(QLatin1Char('\n'));
    const QStringView ersteZeile = ende < 0 ? text : text.left(ende);
    for (const QChar t : kandidaten) {
        // The names stand at the start; a header line as long as the file is not copied whole.
        QVector<Datensatz> kopf;
        zerlege(ersteZeile.left(1 << 16), t, 1, kopf);
        int namen = 0;
        if (!kopf.isEmpty()) {
            for (QString zelle : kopf[0].felder) {
                zelle.remove(QLatin1Char(' ')).replace(QStringLiteral("ö"), QStringLiteral("oe"), Qt::CaseInsensitive);
                if (Fragentabelle::spalten().contains(zelle.trimmed(), Qt::CaseInsensitive))
                    ++namen;
            }
        }
        const qsizetype zahl = ersteZeile.count(t);
        if (namen > besteNamen || (namen == besteNamen && zahl > besteZahl)) {
            bester = t;
            besteNamen = namen;
            besteZahl = zahl;
        }
    }
    return bester;
}

StoreError lies(QByteArray bytes, QVector<Rohzeile> &zeilen, QString *format,
                const Austausch::Fortschritt &fortschritt)
{
    zeilen.clear();
    if (bytes.size() > kMaxBytes)
        return StoreError(QStringLiteral("Die Datei ist größer als %1 MB; so viele Fragen fasst keine Sammlung.")
                              .arg(kMaxBytes / (1024 * 1024)));
    QString kodierung;
    QString text = dekodiere(bytes, &kodierung);
    bytes = QByteArray();
    if (text.contains(QChar(0)))
        return StoreError(QStringLiteral("Die Datei ist keine Textdatei und damit keine CSV-Tabelle."));
    const QChar t = trenner(text);
    // The header and one row more than a collection can hold tell "too many".
    QVector<Datensatz> saetze;
    if (const StoreError e = zerlege(text, t, kMaxZeilen + 2, saetze, fortschritt))
        return e;
    text = QString();
    if (saetze.isEmpty())
        return StoreError(QStringLiteral("Die Datei ist leer."));
    if (saetze.size() > kMaxZeilen + 1)
        return StoreError(QStringLiteral("Die Datei hat mehr als %1 Zeilen; so viele Fragen kann ein Spiel nicht "
                                         "laden.").arg(zahl(kMaxZeilen)));
    QVector<int> position;
    if (const StoreError e = ordneKopf(saetze[0].felder, position))
        return StoreError(QStringLiteral("Zeile %1: %2").arg(saetze[0].zeile).arg(e.text()));
    zeilen.reserve(saetze.size() - 1);
    for (qsizetype i = 1; i < saetze.size(); ++i) {
        Rohzeile r = ausZellen(saetze[i].zeile, std::move(saetze[i].felder), position);
        if (saetze[i].offen)
            r.fehler = QStringLiteral("ein Anführungszeichen am Anfang eines Feldes wird bis zum Dateiende nicht "
                                      "geschlossen");
        zeilen.append(std::move(r));
    }
    if (format)
        *format = QStringLiteral("CSV, %1, Trennzeichen „%2“")
                      .arg(kodierung, t == QLatin1Char('\t') ? QStringLiteral("Tabulator") : QString(t));
    return {};
}

QByteArray schreibe(const Tabelle &tabelle)
{
    auto feld = [](QString f) {
        if (formelAnfang(f))
            f.prepend(QLatin1Char('\''));
        if (!f.contains(QLatin1Char(';')) && !f.contains(QLatin1Char('"')) && !f.contains(QLatin1Char('\n'))
            && !f.contains(QLatin1Char('\r')) && f.trimmed() == f)
            return f;
        return QLatin1Char('"') + f.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    };
    // Encoded row by row: the whole text as UTF-16 beside its UTF-8 would double a large export.
    QByteArray aus = "\xEF\xBB\xBF" + Fragentabelle::spalten().join(QLatin1Char(';')).toUtf8() + "\r\n";
    QString zeilenText;
    for (const QStringList &zeile : tabelle) {
        zeilenText.clear();
        for (int i = 0; i < zeile.size(); ++i) {
            if (i > 0)
                zeilenText += QLatin1Char(';');
            zeilenText += feld(zeile[i]);
        }
        aus += zeilenText.toUtf8() + "\r\n";
    }
    return aus;
}
}
