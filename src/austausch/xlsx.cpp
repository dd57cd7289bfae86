#include "austausch/xlsx.h"

#include "austausch/dateizugang.h"
#include "austausch/xmlleser.h"
#include "store/fragentabelle.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <limits>

#include <minizip/unzip.h>
#include <xlsxwriter.h>

namespace {
using namespace Austausch;

const QString kRelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
constexpr int kMaxTexte = 2'000'000;
// An unpacked part is XML that Qt reads as UTF-16 beside it: half the file limit
// keeps a workbook within the memory a file of that limit may take.
constexpr qint64 kMaxTeil = kMaxBytes / 2;
// The last row a spreadsheet program has.
constexpr qint64 kLetzteZeile = 1'048'576;

StoreError kaputt(const QString &teil, const QString &grund)
{
    return StoreError(QStringLiteral("Die Arbeitsmappe ist beschädigt (%1): %2").arg(teil, grund));
}

// The archive is read from memory: minizip is given these as its file.
struct Strom {
    const QByteArray *bytes;
    qint64 pos = 0;
};

voidpf oeffneStrom(voidpf opaque, const void *, int)
{
    return new Strom{static_cast<const QByteArray *>(opaque)};
}

uLong liesStrom(voidpf, voidpf strom, void *puffer, uLong n)
{
    auto *s = static_cast<Strom *>(strom);
    const qint64 m = qBound<qint64>(0, s->bytes->size() - s->pos, static_cast<qint64>(n));
    memcpy(puffer, s->bytes->constData() + s->pos, static_cast<size_t>(m));
    s->pos += m;
    return static_cast<uLong>(m);
}

uLong schreibeStrom(voidpf, voidpf, const void *, uLong)
{
    return 0;
}

ZPOS64_T wo(voidpf, voidpf strom)
{
    return static_cast<ZPOS64_T>(static_cast<Strom *>(strom)->pos);
}

long springe(voidpf, voidpf strom, ZPOS64_T ab, int von)
{
    auto *s = static_cast<Strom *>(strom);
    const qint64 basis = von == ZLIB_FILEFUNC_SEEK_SET ? 0 : von == ZLIB_FILEFUNC_SEEK_CUR ? s->pos : s->bytes->size();
    const qint64 ziel = basis + static_cast<qint64>(ab);
    if (ab > ZPOS64_T(kMaxBytes) * 2 || ziel < 0 || ziel > s->bytes->size())
        return -1;
    s->pos = ziel;
    return 0;
}

int schliesseStrom(voidpf, voidpf strom)
{
    delete static_cast<Strom *>(strom);
    return 0;
}

int fehlerImStrom(voidpf, voidpf)
{
    return 0;
}

class Archiv {
public:
    explicit Archiv(const QByteArray &bytes)
    {
        zlib_filefunc64_def f{};
        f.zopen64_file = oeffneStrom;
        f.zread_file = liesStrom;
        f.zwrite_file = schreibeStrom;
        f.ztell64_file = wo;
        f.zseek64_file = springe;
        f.zclose_file = schliesseStrom;
        f.zerror_file = fehlerImStrom;
        f.opaque = const_cast<QByteArray *>(&bytes);
        m_zip = unzOpen2_64("", &f);
    }
    ~Archiv()
    {
        if (m_zip)
            unzClose(m_zip);
    }
    Archiv(const Archiv &) = delete;
    Archiv &operator=(const Archiv &) = delete;
    bool offen() const { return m_zip != nullptr; }

    // One part, unpacked up to the limit. A missing part is empty; only a
    // sheet must be there.
    StoreError teil(const QString &name, QByteArray &out, qint64 grenze = kMaxTeil)
    {
        out.clear();
        if (unzLocateFile(m_zip, name.toUtf8().constData(), 2) != UNZ_OK)
            return {};
        if (unzOpenCurrentFile(m_zip) != UNZ_OK)
            return kaputt(name, QStringLiteral("der Teil lässt sich nicht entpacken"));
        char puffer[64 * 1024];
        int n;
        while ((n = unzReadCurrentFile(m_zip, puffer, sizeof puffer)) > 0) {
            out.append(puffer, n);
            if (out.size() > grenze) {
                unzCloseCurrentFile(m_zip);
                return StoreError(QStringLiteral("Die Arbeitsmappe ist entpackt größer als %1 MB; so viele Fragen "
                                                 "fasst keine Sammlung.").arg(kMaxTeil / (1024 * 1024)));
            }
        }
        if (unzCloseCurrentFile(m_zip) != UNZ_OK || n < 0)
            return kaputt(name, QStringLiteral("der Teil lässt sich nicht entpacken"));
        return {};
    }

private:
    unzFile m_zip = nullptr;
};

// The text of an <si> or <is>: its runs, without the phonetic hints.
QString textVon(XmlLeser &x)
{
    const int tiefe = x.tiefe();
    QString text;
    while (x.weiter() && x.tiefe() >= tiefe) {
        if (x.beginnt(QLatin1String("rPh")))
            x.ueberspringe();
        else if (x.beginnt(QLatin1String("t")))
            text += x.text();
    }
    return text;
}

StoreError texte(const QByteArray &xml, QStringList &out)
{
    // Workbooks that keep every text in its cell have no such part.
    if (xml.isEmpty())
        return {};
    XmlLeser x(xml);
    while (x.weiter()) {
        if (x.beginnt(QLatin1String("si"))) {
            if (out.size() >= kMaxTexte)
                return kaputt(QStringLiteral("sharedStrings.xml"), QStringLiteral("mehr als %1 Texte").arg(zahl(kMaxTexte)));
            out << textVon(x);
        }
    }
    if (x.fehler())
        return kaputt(QStringLiteral("sharedStrings.xml"), x.fehlertext());
    return {};
}

// Where the first sheet lives: the workbook names it, its relations say
// which part it is.
QString ersteTabelle(Archiv &zip)
{
    QByteArray xml;
    QString id;
    if (!zip.teil(QStringLiteral("xl/workbook.xml"), xml)) {
        XmlLeser x(xml);
        while (x.weiter()) {
            if (x.beginnt(QLatin1String("sheet"))) {
                id = x.x().attributes().value(kRelNs, QStringLiteral("id")).toString();
                break;
            }
        }
    }
    if (!id.isEmpty() && !zip.teil(QStringLiteral("xl/_rels/workbook.xml.rels"), xml)) {
        XmlLeser x(xml);
        while (x.weiter()) {
            if (x.beginnt(QLatin1String("Relationship")) && x.x().attributes().value(QStringLiteral("Id")) == id) {
                const QString ziel = x.x().attributes().value(QStringLiteral("Target")).toString();
                return ziel.startsWith(QLatin1Char('/')) ? ziel.mid(1) : QStringLiteral("xl/") + ziel;
            }
        }
    }
    return QStringLiteral("xl/worksheets/sheet1.xml");
}

// "BC12" -> column 54 (0-based); -1 for no letters.
int spalteAus(QStringView ref)
{
    int spalte = 0, buchstaben = 0;
    for (const QChar c : ref) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            break;
        spalte = spalte * 26 + (c.unicode() - 'A' + 1);
        if (++buchstaben > 3)
            return kMaxSpalten;
    }
    return buchstaben ? spalte - 1 : -1;
}

StoreError tabelle(const QByteArray &xml, const QStringList &texte, QVector<Rohzeile> &zeilen,
                   const Fortschritt &fortschritt)
{
    XmlLeser leser(xml);
    QXmlStreamReader &x = leser.x();
    QVector<int> position;
    bool kopf = false;
    qint64 zeile = 0, zellenGesamt = 0, zeichen = 0;
    while (leser.weiter()) {
        if (!leser.beginnt(QLatin1String("row")))
            continue;
        const QStringView r = x.attributes().value(QStringLiteral("r"));
        bool ok = true;
        const qint64 nummer = r.isEmpty() ? 0 : r.toLongLong(&ok);
        if (!ok || nummer < 0 || nummer > kLetzteZeile)
            return kaputt(QStringLiteral("Tabelle"), QStringLiteral("die Zeilennummer „%1“ gibt es in keiner Tabelle")
                                                         .arg(kurz(r)));
        zeile = nummer > zeile ? nummer : zeile + 1;
        if (zeile > kLetzteZeile)
            return kaputt(QStringLiteral("Tabelle"), QStringLiteral("Zeilen nach der letzten Zeile %1")
                                                         .arg(zahl(kLetzteZeile)));
        QStringList zellen;
        int spalte = -1;
        const int zeilenTiefe = leser.tiefe();
        while (leser.weiter() && leser.tiefe() >= zeilenTiefe) {
            if (!leser.beginnt(QLatin1String("c")))
                continue;
            if (++zellenGesamt > kMaxZellen)
                return StoreError(QStringLiteral("Die Tabelle hat mehr als %1 Zellen; so viele braucht keine Sammlung.")
                                      .arg(zahl(kMaxZellen)));
            const int s = spalteAus(x.attributes().value(QStringLiteral("r")));
            spalte = s >= 0 ? s : qMin(spalte + 1, kMaxSpalten);
            const bool geteilt = x.attributes().value(QStringLiteral("t")) == QLatin1String("s");
            QString wert;
            const int zellenTiefe = leser.tiefe();
            while (leser.weiter() && leser.tiefe() >= zellenTiefe) {
                if (leser.beginnt(QLatin1String("v")))
                    wert = leser.text();
                else if (leser.beginnt(QLatin1String("is")))
                    wert = textVon(leser);
            }
            if (geteilt) {
                bool ok = false;
                const int i = wert.toInt(&ok);
                if (!ok || i < 0 || i >= texte.size())
                    return kaputt(QStringLiteral("Zeile %1").arg(zeile), QStringLiteral("Verweis auf einen Text, "
                                                                                       "den es nicht gibt"));
                wert = texte[i];
            }
            if (spalte >= kMaxSpalten)
                continue;
            // Shared texts cost nothing until counted here, once per cell.
            zeichen += wert.size();
            if (zeichen > kMaxZeichen)
                return StoreError(QStringLiteral("Die Tabelle hat ausgepackt mehr als %1 Zeichen; so viel Text "
                                                 "fasst keine Sammlung.").arg(zahl(kMaxZeichen)));
            while (zellen.size() <= spalte)
                zellen << QString();
            zellen[spalte] = wert;
        }
        bool leer = true;
        for (const QString &z : zellen)
            leer = leer && QStringView(z).trimmed().isEmpty();
        if (leer)
            continue;
        const int nr = static_cast<int>(zeile);
        if (!kopf) {
            if (const StoreError e = ordneKopf(zellen, position))
                return StoreError(QStringLiteral("Zeile %1: %2").arg(nr).arg(e.text()));
            kopf = true;
            continue;
        }
        if (zeilen.size() >= kMaxZeilen)
            return StoreError(QStringLiteral("Die Tabelle hat mehr als %1 Zeilen; so viele Fragen kann ein Spiel "
                                             "nicht laden.").arg(zahl(kMaxZeilen)));
        // Empty cells at the end of a row are not written; they are empty fields.
        const int breite = *std::max_element(position.cbegin(), position.cend()) + 1;
        while (zellen.size() < breite)
            zellen << QString();
        zeilen.append(ausZellen(nr, zellen, position));
        if (fortschritt && zeilen.size() % 4096 == 0)
            fortschritt(QStringLiteral("Lesen"), x.characterOffset(), xml.size());
    }
    if (leser.fehler())
        return kaputt(QStringLiteral("Tabelle"), leser.fehlertext());
    if (!kopf)
        return StoreError(QStringLiteral("Die erste Tabelle der Arbeitsmappe ist leer."));
    return {};
}
}

namespace Xlsx {

StoreError lies(const QByteArray &bytes, QVector<Rohzeile> &zeilen, const Fortschritt &fortschritt)
{
    zeilen.clear();
    if (bytes.size() > kMaxBytes)
        return StoreError(QStringLiteral("Die Datei ist größer als %1 MB; so viele Fragen fasst keine Sammlung.")
                              .arg(kMaxBytes / (1024 * 1024)));
    Archiv zip(bytes);
    if (!zip.offen())
        return StoreError(QStringLiteral("Die Datei ist keine Excel-Arbeitsmappe (.xlsx)."));
    const QString blatt = ersteTabelle(zip);
    QByteArray xml;
    QStringList gemeinsam;
    if (const StoreError e = zip.teil(QStringLiteral("xl/sharedStrings.xml"), xml))
        return e;
    if (const StoreError e = texte(xml, gemeinsam))
        return e;
    if (const StoreError e = zip.teil(blatt, xml))
        return e;
    if (xml.isEmpty())
        return StoreError(QStringLiteral("Die Datei ist keine Excel-Arbeitsmappe (.xlsx): ihr fehlt die Tabelle."));
    return tabelle(xml, gemeinsam, zeilen, fortschritt);
}

StoreError oeffnet(const QByteArray &bytes)
{
    Archiv zip(bytes);
    if (!zip.offen())
        return StoreError(QStringLiteral("sie ist kein Zip-Archiv"));
    const QString blatt = ersteTabelle(zip);
    for (const QString &name : {QStringLiteral("xl/sharedStrings.xml"), blatt}) {
        QByteArray xml;
        if (const StoreError e = zip.teil(name, xml, std::numeric_limits<qint64>::max()))
            return e;
        if (xml.isEmpty() && name == blatt)
            return StoreError(QStringLiteral("ihr fehlt die Tabelle"));
        QBuffer puffer(&xml);
        puffer.open(QIODevice::ReadOnly);
        XmlLeser x(&puffer);
        while (x.weiter()) {
        }
        if (!xml.isEmpty() && x.fehler())
            return kaputt(name, x.fehlertext());
    }
    return {};
}

StoreError schreibe(const Tabelle &tabelle, QByteArray &bytes)
{
    bytes.clear();
    QTemporaryDir ordner;
    if (!ordner.isValid())
        return StoreError(QStringLiteral("Kein Platz für eine temporäre Datei."));
    const QByteArray tmp = QFile::encodeName(ordner.filePath(QStringLiteral("fragen.xlsx")));
    lxw_workbook *mappe = workbook_new(tmp.constData());
    if (!mappe)
        return StoreError(QStringLiteral("Die Arbeitsmappe kann nicht angelegt werden."));
    lxw_worksheet *blatt = workbook_add_worksheet(mappe, "Fragen");
    lxw_format *fett = workbook_add_format(mappe);
    format_set_bold(fett);
    const double breiten[] = {60, 25, 25, 25, 6};
    for (int s = 0; s < 5; ++s) {
        worksheet_set_column(blatt, s, s, breiten[s], nullptr);
        worksheet_write_string(blatt, 0, s, Fragentabelle::spalten()[s].toUtf8().constData(), fett);
    }
    lxw_error fehler = LXW_NO_ERROR;
    int fehlerZeile = 0;
    for (int r = 0; r < tabelle.size() && fehler == LXW_NO_ERROR; ++r) {
        const QStringList &z = tabelle[r];
        for (int s = 0; s < z.size() && s < 5 && fehler == LXW_NO_ERROR; ++s) {
            const int stufe = s == static_cast<int>(Fragentabelle::Spalte::Stufe) ? Fragentabelle::stufe(z[s]) : 0;
            fehler = stufe ? worksheet_write_number(blatt, r + 1, s, stufe, nullptr)
                          : worksheet_write_string(blatt, r + 1, s, z[s].toUtf8().constData(), nullptr);
        }
        fehlerZeile = r + 2;
    }
    const lxw_error schluss = workbook_close(mappe);
    if (fehler == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
        return StoreError(QStringLiteral("Zeile %1: ein Text ist länger, als eine Excel-Zelle fasst.").arg(fehlerZeile));
    if (fehler != LXW_NO_ERROR || schluss != LXW_NO_ERROR)
        return StoreError(QStringLiteral("Die Arbeitsmappe kann nicht zusammengestellt werden (libxlsxwriter meldet "
                                         "Fehler %1).").arg(fehler != LXW_NO_ERROR ? fehler : schluss));
    return Dateizugang::lies(QFile::decodeName(tmp), std::numeric_limits<qint64>::max(), bytes);
}
}
