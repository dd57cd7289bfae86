#include "austausch/xlsx.h"

#include "store/fragentabelle.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <minizip/unzip.h>
#include <xlsxwriter.h>

namespace {
using namespace Austausch;

const QString kRelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
constexpr int kMaxTexte = 2'000'000;
constexpr int kMaxSpalten = 1024;

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
    StoreError teil(const QString &name, QByteArray &out)
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
            if (out.size() > kMaxBytes) {
                unzCloseCurrentFile(m_zip);
                return StoreError(QStringLiteral("Die Arbeitsmappe ist entpackt größer als %1 MB; so viele Fragen "
                                                 "fasst keine Sammlung.").arg(kMaxBytes / (1024 * 1024)));
            }
        }
        if (unzCloseCurrentFile(m_zip) != UNZ_OK || n < 0)
            return kaputt(name, QStringLiteral("der Teil lässt sich nicht entpacken"));
        return {};
    }

private:
    unzFile m_zip = nullptr;
};

// Reads on; a document type declaration ends the reading.
bool weiter(QXmlStreamReader &x)
{
    if (x.readNext() == QXmlStreamReader::DTD)
        x.raiseError(QStringLiteral("Dokumenttyp-Deklarationen werden nicht gelesen"));
    return !x.atEnd() && !x.hasError();
}

// The text of an <si> or <is>: its runs, without the phonetic hints.
QString textVon(QXmlStreamReader &x)
{
    const QString endeName = x.name().toString();
    QString text;
    while (weiter(x)) {
        if (x.isEndElement() && x.name() == endeName)
            break;
        if (x.isStartElement() && x.name() == QLatin1String("rPh"))
            x.skipCurrentElement();
        else if (x.isStartElement() && x.name() == QLatin1String("t"))
            text += x.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return text;
}

StoreError texte(const QByteArray &xml, QStringList &out)
{
    QXmlStreamReader x(xml);
    while (weiter(x)) {
        if (x.isStartElement() && x.name() == QLatin1String("si")) {
            if (out.size() >= kMaxTexte)
                return kaputt(QStringLiteral("sharedStrings.xml"), QStringLiteral("zu viele Texte"));
            out << textVon(x);
        }
    }
    if (x.hasError())
        return kaputt(QStringLiteral("sharedStrings.xml"), x.errorString());
    return {};
}

// Where the first sheet lives: the workbook names it, its relations say
// which part it is.
QString ersteTabelle(Archiv &zip)
{
    QByteArray xml;
    QString id;
    if (!zip.teil(QStringLiteral("xl/workbook.xml"), xml)) {
        QXmlStreamReader x(xml);
        while (weiter(x)) {
            if (x.isStartElement() && x.name() == QLatin1String("sheet")) {
                id = x.attributes().value(kRelNs, QStringLiteral("id")).toString();
                break;
            }
        }
    }
    if (!id.isEmpty() && !zip.teil(QStringLiteral("xl/_rels/workbook.xml.rels"), xml)) {
        QXmlStreamReader x(xml);
        while (weiter(x)) {
            if (x.isStartElement() && x.name() == QLatin1String("Relationship")
                && x.attributes().value(QStringLiteral("Id")) == id) {
                const QString ziel = x.attributes().value(QStringLiteral("Target")).toString();
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
    QXmlStreamReader x(xml);
    QVector<int> position;
    bool kopf = false;
    int zeile = 0;
    while (weiter(x)) {
        if (!x.isStartElement() || x.name() != QLatin1String("row"))
            continue;
        const int r = x.attributes().value(QStringLiteral("r")).toInt();
        zeile = r > zeile ? r : zeile + 1;
        QStringList zellen;
        int spalte = -1;
        while (weiter(x) && !(x.isEndElement() && x.name() == QLatin1String("row"))) {
            if (!x.isStartElement() || x.name() != QLatin1String("c"))
                continue;
            const int s = spalteAus(x.attributes().value(QStringLiteral("r")));
            spalte = s >= 0 ? s : spalte + 1;
            const QString typ = x.attributes().value(QStringLiteral("t")).toString();
            QString wert;
            while (weiter(x) && !(x.isEndElement() && x.name() == QLatin1String("c"))) {
                if (x.isStartElement() && x.name() == QLatin1String("v"))
                    wert = x.readElementText();
                else if (x.isStartElement() && x.name() == QLatin1String("is"))
                    wert = textVon(x);
            }
            if (typ == QLatin1String("s")) {
                bool ok = false;
                const int i = wert.toInt(&ok);
                if (!ok || i < 0 || i >= texte.size())
                    return kaputt(QStringLiteral("Zeile %1").arg(zeile), QStringLiteral("Verweis auf einen Text, "
                                                                                       "den es nicht gibt"));
                wert = texte[i];
            }
            if (spalte < kMaxSpalten) {
                while (zellen.size() <= spalte)
                    zellen << QString();
                zellen[spalte] = wert;
            }
        }
        bool leer = true;
        for (const QString &z : zellen)
            leer = leer && z.trimmed().isEmpty();
        if (leer)
            continue;
        if (!kopf) {
            if (const StoreError e = ordneKopf(zellen, position))
                return StoreError(QStringLiteral("Zeile %1: %2").arg(zeile).arg(e.text()));
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
        zeilen.append(ausZellen(zeile, zellen, position));
        if (fortschritt && zeilen.size() % 4096 == 0)
            fortschritt(QStringLiteral("Lesen"), x.characterOffset(), xml.size());
    }
    if (x.hasError())
        return kaputt(QStringLiteral("Tabelle"), x.errorString());
    if (!kopf)
        return StoreError(QStringLiteral("Die erste Tabelle der Arbeitsmappe ist leer."));
    return {};
}
}

namespace Xlsx {

StoreError lies(QIODevice *geraet, QVector<Rohzeile> &zeilen, const Fortschritt &fortschritt)
{
    zeilen.clear();
    if (geraet->size() > kMaxBytes)
        return StoreError(QStringLiteral("Die Datei ist größer als %1 MB; so viele Fragen fasst keine Sammlung.")
                              .arg(kMaxBytes / (1024 * 1024)));
    const QByteArray bytes = geraet->read(kMaxBytes + 1);
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

StoreError lies(const QString &pfad, QVector<Rohzeile> &zeilen, const Fortschritt &fortschritt)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return StoreError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2").arg(pfad, datei.errorString()));
    return lies(&datei, zeilen, fortschritt);
}

StoreError schreibe(const QString &pfad, const Tabelle &tabelle)
{
    QTemporaryDir ordner;
    if (!ordner.isValid())
        return StoreError(QStringLiteral("Kein Platz für eine temporäre Datei: %1").arg(ordner.errorString()));
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
        return StoreError(QStringLiteral("Die Arbeitsmappe kann nicht geschrieben werden: %1")
                              .arg(QString::fromUtf8(lxw_strerror(fehler != LXW_NO_ERROR ? fehler : schluss))));
    QFile fertig(QFile::decodeName(tmp));
    QSaveFile ziel(pfad);
    if (!fertig.open(QIODevice::ReadOnly) || !ziel.open(QIODevice::WriteOnly) || ziel.write(fertig.readAll()) < 0
        || !ziel.commit())
        return StoreError(QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2").arg(pfad, ziel.errorString()));
    return {};
}
}
