#include "store/jetformat.h"

#include "store/connection.h"

#include <QtEndian>

namespace JetFormat {

namespace {
constexpr qsizetype kPufferGrenze = 1 << 16;
}

bool gueltigesUtf8(const char *daten, qsizetype laenge)
{
    const auto *p = reinterpret_cast<const unsigned char *>(daten);
    const auto *ende = p + laenge;
    while (p < ende) {
        const unsigned c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int folge;
        unsigned min, wert;
        if ((c & 0xe0) == 0xc0) {
            folge = 1, min = 0x80, wert = c & 0x1f;
        } else if ((c & 0xf0) == 0xe0) {
            folge = 2, min = 0x800, wert = c & 0x0f;
        } else if ((c & 0xf8) == 0xf0) {
            folge = 3, min = 0x10000, wert = c & 0x07;
        } else {
            return false;
        }
        if (ende - p <= folge)
            return false;
        for (int i = 1; i <= folge; ++i) {
            if ((p[i] & 0xc0) != 0x80)
                return false;
            wert = (wert << 6) | (p[i] & 0x3f);
        }
        if (wert < min || wert > 0x10ffff || (wert >= 0xd800 && wert <= 0xdfff))
            return false;
        p += folge + 1;
    }
    return true;
}

Schreiber::Schreiber(std::FILE *ziel)
    : m_ziel(ziel)
{
    m_puffer.reserve(kPufferGrenze + 1024);
    m_puffer.append(kKennung, kKennungLaenge);
}

Schreiber::~Schreiber()
{
    leeren();
}

void Schreiber::u8(quint8 v)
{
    m_puffer.append(static_cast<char>(v));
}

void Schreiber::u32(quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    m_puffer.append(b, 4);
}

void Schreiber::sendeWennVoll()
{
    if (m_ziel && m_puffer.size() >= kPufferGrenze)
        leeren();
}

bool Schreiber::leeren()
{
    if (!m_ziel || m_puffer.isEmpty())
        return m_ok;
    if (m_ok && std::fwrite(m_puffer.constData(), 1, static_cast<size_t>(m_puffer.size()), m_ziel)
                    != static_cast<size_t>(m_puffer.size()))
        m_ok = false;
    if (m_ok && std::fflush(m_ziel) != 0)
        m_ok = false;
    m_puffer.clear();
    return m_ok;
}

void Schreiber::spalten(const QList<QPair<QByteArray, Art>> &spalten)
{
    u8('C');
    u32(static_cast<quint32>(spalten.size()));
    for (const auto &s : spalten) {
        u8(static_cast<quint8>(s.second));
        u32(static_cast<quint32>(s.first.size()));
        m_puffer.append(s.first);
    }
    sendeWennVoll();
}

void Schreiber::zeileBeginnen()
{
    sendeWennVoll();
    u8('R');
}

void Schreiber::null()
{
    u8('N');
}

void Schreiber::ganzzahl(qint64 wert)
{
    u8('I');
    char b[8];
    qToLittleEndian(wert, b);
    m_puffer.append(b, 8);
}

void Schreiber::text(const char *utf8, qsizetype laenge)
{
    u8('T');
    u32(static_cast<quint32>(laenge));
    m_puffer.append(utf8, laenge);
}

void Schreiber::ende(quint32 zeilen)
{
    u8('E');
    u32(zeilen);
    leeren();
}

void Schreiber::fehler(Fehler code, const QString &meldung)
{
    const QByteArray text = meldung.toUtf8();
    u8('F');
    u32(static_cast<quint32>(code));
    u32(static_cast<quint32>(text.size()));
    m_puffer.append(text);
    leeren();
}

namespace {
// Reads from a byte range and remembers the first fault; every read checks
// the bytes that are left before it takes anything.
class Leser {
public:
    explicit Leser(const QByteArray &d) : m_d(d.constData()), m_rest(d.size()) {}

    bool ok() const { return m_fehler.isEmpty(); }
    const QString &fehler() const { return m_fehler; }
    qsizetype rest() const { return m_rest; }
    void scheitern(const QString &warum)
    {
        if (m_fehler.isEmpty())
            m_fehler = warum;
        m_rest = 0;
    }

    bool bytes(qsizetype n, const char **p)
    {
        if (!ok() || n < 0 || n > m_rest) {
            scheitern(QStringLiteral("Der Datenstrom endet mitten in einem Eintrag."));
            return false;
        }
        *p = m_d;
        m_d += n;
        m_rest -= n;
        return true;
    }
    quint8 u8()
    {
        const char *p;
        return bytes(1, &p) ? static_cast<quint8>(*p) : 0;
    }
    quint32 u32()
    {
        const char *p;
        return bytes(4, &p) ? qFromLittleEndian<quint32>(p) : 0;
    }
    qint64 i64()
    {
        const char *p;
        return bytes(8, &p) ? qFromLittleEndian<qint64>(p) : 0;
    }
    // A length-prefixed UTF-8 text; invalid UTF-8 is a fault, never replaced.
    QString text()
    {
        const quint32 n = u32();
        const char *p;
        if (!ok() || !bytes(static_cast<qsizetype>(n), &p))
            return {};
        // Empty, but not null: the database layer stores a null text as NULL.
        if (n == 0)
            return QStringLiteral("");
        if (!gueltigesUtf8(p, n)) {
            scheitern(QStringLiteral("Der Datenstrom enthält einen Text, der kein gültiges UTF-8 ist."));
            return {};
        }
        return QString::fromUtf8(p, n);
    }

private:
    const char *m_d;
    qsizetype m_rest;
    QString m_fehler;
};

QString deklarierterTyp(Art art)
{
    switch (art) {
    case Art::Text:
        return QStringLiteral("TEXT");
    case Art::Ganzzahl:
        return QStringLiteral("INTEGER");
    case Art::Sonstige:
        break;
    case Art::Unlesbar:
        return QStringLiteral("BLOB");
    }
    return QString();
}
}

Ergebnis lies(const QByteArray &stream, TableData &out, qint64 maxRows)
{
    out = TableData();
    Ergebnis e;
    Leser l(stream);
    const char *kennung;
    if (!l.bytes(kKennungLaenge, &kennung) || QByteArrayView(kennung, kKennungLaenge) != QByteArrayView(kKennung)) {
        e.formfehler = QStringLiteral("Der Datenstrom beginnt nicht mit der Kennung des Lesers.");
        return e;
    }

    TableData t;
    bool spaltenGelesen = false;
    qint64 zellen = 0;
    while (l.ok()) {
        if (l.rest() == 0) {
            l.scheitern(QStringLiteral("Der Datenstrom bricht vor seinem Ende ab."));
            break;
        }
        const quint8 satz = l.u8();
        if (satz == 'F') {
            const quint32 code = l.u32();
            const QString meldung = l.text();
            if (!l.ok())
                break;
            if (l.rest() != 0) {
                l.scheitern(QStringLiteral("Nach dem Ende des Datenstroms folgen weitere Bytes."));
                break;
            }
            e.gescheitert = true;
            e.code = static_cast<Fehler>(code);
            e.meldung = meldung;
            return e;
        }
        if (satz == 'C') {
            if (spaltenGelesen) {
                l.scheitern(QStringLiteral("Der Datenstrom nennt die Spalten zweimal."));
                break;
            }
            const quint32 n = l.u32();
            if (l.ok() && n > kMaxSpalten) {
                l.scheitern(QStringLiteral("Der Datenstrom nennt %1 Spalten; mehr als %2 gibt es nicht.")
                                .arg(n).arg(kMaxSpalten));
                break;
            }
            for (quint32 i = 0; i < n && l.ok(); ++i) {
                const quint8 art = l.u8();
                if (l.ok() && art != 'T' && art != 'I' && art != 'S' && art != 'U') {
                    l.scheitern(QStringLiteral("Der Datenstrom nennt eine unbekannte Spaltenart."));
                    break;
                }
                const QString name = l.text();
                t.columns << name;
                t.declaredTypes << deklarierterTyp(static_cast<Art>(art));
            }
            spaltenGelesen = true;
            continue;
        }
        if (!spaltenGelesen) {
            l.scheitern(QStringLiteral("Der Datenstrom nennt keine Spalten."));
            break;
        }
        if (satz == 'R') {
            if (t.rows.size() >= maxRows) {
                l.scheitern(QStringLiteral("Der Datenstrom hat mehr als %1 Zeilen.").arg(maxRows));
                break;
            }
            zellen += t.columns.size();
            if (zellen > kMaxZellen) {
                l.scheitern(QStringLiteral("Der Datenstrom hat mehr Felder, als das Programm halten kann."));
                break;
            }
            TableRow row;
            row.rowId = t.rows.size() + 1;
            row.values.reserve(t.columns.size());
            for (int i = 0; i < t.columns.size() && l.ok(); ++i) {
                const quint8 zelle = l.u8();
                if (zelle == 'N')
                    row.values.append(QVariant());
                else if (zelle == 'I')
                    row.values.append(QVariant(static_cast<qlonglong>(l.i64())));
                else if (zelle == 'T')
                    row.values.append(QVariant(l.text()));
                else if (l.ok())
                    l.scheitern(QStringLiteral("Der Datenstrom enthält ein Feld unbekannter Art."));
            }
            if (l.ok())
                t.rows.append(std::move(row));
            continue;
        }
        if (satz == 'E') {
            const quint32 zeilen = l.u32();
            if (!l.ok())
                break;
            if (zeilen != static_cast<quint64>(t.rows.size())) {
                l.scheitern(QStringLiteral("Der Datenstrom meldet %1 Zeilen, enthält aber %2.")
                                .arg(zeilen).arg(t.rows.size()));
                break;
            }
            if (l.rest() != 0) {
                l.scheitern(QStringLiteral("Nach dem Ende des Datenstroms folgen weitere Bytes."));
                break;
            }
            e.vollstaendig = true;
            out = std::move(t);
            return e;
        }
        l.scheitern(QStringLiteral("Der Datenstrom enthält einen unbekannten Eintrag."));
    }
    e.formfehler = l.fehler();
    return e;
}

}
