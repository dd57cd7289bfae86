#include "store/zeilenspeicher.h"

#include "store/connection.h"

#include <QDataStream>
#include <QIODevice>

#include <cstring>

namespace {
// Each value is one byte telling its kind, then what the kind needs.
enum class Art : quint8 {
    Ungueltig,  // QVariant()
    Null,       // a null value of a type: its type id (4 bytes)
    Lang,       // qlonglong (8 bytes)
    Ganz,       // int (4 bytes)
    Kommazahl,  // double (8 bytes)
    TextLatin1, // a string of characters below 256: length, one byte each
    TextUtf16,  // any other string: length, two bytes each
    TextNull,   // a null QString
    TextUtf8,   // a string as SQLite keeps it: length, the UTF-8 bytes
    Bytes,      // a non-null QByteArray: length, the bytes
    Sonstiges,  // anything else, as QDataStream writes a QVariant: length, the bytes
};

int varintLaenge(quint64 n)
{
    int laenge = 1;
    while (n >= 0x80) {
        n >>= 7;
        ++laenge;
    }
    return laenge;
}

char *schreibeVarint(char *p, quint64 n)
{
    while (n >= 0x80) {
        *p++ = static_cast<char>((n & 0x7f) | 0x80);
        n >>= 7;
    }
    *p++ = static_cast<char>(n);
    return p;
}

bool liesVarint(const char *&p, const char *ende, quint64 &n)
{
    n = 0;
    for (int verschiebung = 0; p < ende && verschiebung < 64; verschiebung += 7) {
        const auto b = static_cast<quint8>(*p++);
        n |= quint64(b & 0x7f) << verschiebung;
        if (!(b & 0x80))
            return true;
    }
    return false;
}

bool latin1(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            return false;
    }
    return true;
}

// Reads the value at p, or only steps over it when wert is null. False when
// the bytes end early.
bool lies(const char *&p, const char *ende, QVariant *wert)
{
    if (p >= ende)
        return false;
    const auto art = static_cast<Art>(*p++);
    const auto fest = [&](qsizetype n, auto &&machen) {
        if (ende - p < n)
            return false;
        if (wert)
            machen();
        p += n;
        return true;
    };
    quint64 laenge = 0;
    switch (art) {
    case Art::Ungueltig:
        if (wert)
            *wert = QVariant();
        return true;
    case Art::TextNull:
        if (wert)
            *wert = QVariant(QString());
        return true;
    case Art::Null:
        return fest(4, [&] {
            qint32 typ = 0;
            std::memcpy(&typ, p, 4);
            *wert = QVariant(QMetaType(typ));
        });
    case Art::Lang:
        return fest(8, [&] {
            qlonglong zahl = 0;
            std::memcpy(&zahl, p, 8);
            *wert = QVariant(zahl);
        });
    case Art::Ganz:
        return fest(4, [&] {
            int zahl = 0;
            std::memcpy(&zahl, p, 4);
            *wert = QVariant(zahl);
        });
    case Art::Kommazahl:
        return fest(8, [&] {
            double zahl = 0;
            std::memcpy(&zahl, p, 8);
            *wert = QVariant(zahl);
        });
    case Art::TextLatin1:
        if (!liesVarint(p, ende, laenge))
            return false;
        return fest(qsizetype(laenge), [&] { *wert = QVariant(QString::fromLatin1(p, qsizetype(laenge))); });
    case Art::TextUtf16:
        if (!liesVarint(p, ende, laenge) || laenge > quint64(ende - p) / 2)
            return false;
        return fest(2 * qsizetype(laenge), [&] {
            QString text(qsizetype(laenge), Qt::Uninitialized);
            std::memcpy(text.data(), p, 2 * laenge);
            *wert = QVariant(text);
        });
    case Art::TextUtf8:
        if (!liesVarint(p, ende, laenge))
            return false;
        return fest(qsizetype(laenge), [&] { *wert = QVariant(QString::fromUtf8(p, qsizetype(laenge))); });
    case Art::Bytes:
        if (!liesVarint(p, ende, laenge))
            return false;
        return fest(qsizetype(laenge), [&] { *wert = QVariant(QByteArray(p, qsizetype(laenge))); });
    case Art::Sonstiges:
        if (!liesVarint(p, ende, laenge))
            return false;
        return fest(qsizetype(laenge), [&] {
            QDataStream strom(QByteArray::fromRawData(p, qsizetype(laenge)));
            strom >> *wert;
        });
    }
    return false;
}
}

char *Zeilenspeicher::Bauer::platz(qsizetype n)
{
    if (m_puffer.size() < m_laenge + n)
        m_puffer.resize(qMax<qsizetype>(2 * m_puffer.size(), m_laenge + n + 256));
    char *p = m_puffer.data() + m_laenge;
    m_laenge += n;
    return p;
}

void Zeilenspeicher::Bauer::ungueltig()
{
    *platz(1) = static_cast<char>(Art::Ungueltig);
}

void Zeilenspeicher::Bauer::ganzzahl(qint64 zahl)
{
    char *p = platz(9);
    *p = static_cast<char>(Art::Lang);
    std::memcpy(p + 1, &zahl, 8);
}

void Zeilenspeicher::Bauer::kommazahl(double zahl)
{
    char *p = platz(9);
    *p = static_cast<char>(Art::Kommazahl);
    std::memcpy(p + 1, &zahl, 8);
}

namespace {
char *mitLaenge(char *p, Art art, qsizetype n)
{
    *p++ = static_cast<char>(art);
    return schreibeVarint(p, quint64(n));
}
}

void Zeilenspeicher::Bauer::utf8(const char *text, qsizetype n)
{
    char *p = mitLaenge(platz(1 + varintLaenge(quint64(n)) + n), Art::TextUtf8, n);
    if (n > 0)
        std::memcpy(p, text, n);
}

void Zeilenspeicher::Bauer::bytes(const char *daten, qsizetype n)
{
    char *p = mitLaenge(platz(1 + varintLaenge(quint64(n)) + n), Art::Bytes, n);
    if (n > 0)
        std::memcpy(p, daten, n);
}

void Zeilenspeicher::Bauer::wert(const QVariant &wert)
{
    if (!wert.isValid()) {
        ungueltig();
        return;
    }
    if (wert.isNull()) {
        char *p = platz(5);
        *p = static_cast<char>(Art::Null);
        const qint32 typ = wert.typeId();
        std::memcpy(p + 1, &typ, 4);
        return;
    }
    switch (wert.typeId()) {
    case QMetaType::LongLong:
        ganzzahl(*static_cast<const qlonglong *>(wert.constData()));
        return;
    case QMetaType::Int: {
        char *p = platz(5);
        *p = static_cast<char>(Art::Ganz);
        std::memcpy(p + 1, wert.constData(), 4);
        return;
    }
    case QMetaType::Double:
        kommazahl(*static_cast<const double *>(wert.constData()));
        return;
    case QMetaType::QString: {
        const QString &text = *static_cast<const QString *>(wert.constData());
        const qsizetype n = text.size();
        if (text.isNull()) {
            *platz(1) = static_cast<char>(Art::TextNull);
        } else if (latin1(text)) {
            char *p = mitLaenge(platz(1 + varintLaenge(quint64(n)) + n), Art::TextLatin1, n);
            for (const QChar c : text)
                *p++ = static_cast<char>(c.unicode());
        } else {
            char *p = mitLaenge(platz(1 + varintLaenge(quint64(n)) + 2 * n), Art::TextUtf16, n);
            std::memcpy(p, text.constData(), 2 * n);
        }
        return;
    }
    case QMetaType::QByteArray: {
        const QByteArray &daten = *static_cast<const QByteArray *>(wert.constData());
        if (!daten.isNull()) {
            bytes(daten.constData(), daten.size());
            return;
        }
        break;
    }
    default:
        break;
    }
    QByteArray sonstiges;
    {
        QDataStream strom(&sonstiges, QIODevice::WriteOnly);
        strom << wert;
    }
    char *p = mitLaenge(platz(1 + varintLaenge(quint64(sonstiges.size())) + sonstiges.size()), Art::Sonstiges,
                        sonstiges.size());
    std::memcpy(p, sonstiges.constData(), sonstiges.size());
}

QByteArray Zeilenspeicher::Bauer::fertig()
{
    // Copied out at its exact size: no spare capacity stays with the row.
    QByteArray zeile(m_puffer.constData(), m_laenge);
    m_laenge = 0;
    return zeile;
}

QByteArray Zeilenspeicher::packe(const QVector<QVariant> &werte)
{
    Bauer bauer;
    for (const QVariant &wert : werte)
        bauer.wert(wert);
    return bauer.fertig();
}

QVector<QVariant> Zeilenspeicher::entpacke(const QByteArray &daten)
{
    QVector<QVariant> werte;
    const char *p = daten.constData();
    const char *ende = p + daten.size();
    QVariant wert;
    while (p < ende && lies(p, ende, &wert))
        werte.append(wert);
    return werte;
}

void Zeilenspeicher::append(const TableRow &zeile)
{
    m_zeilen.append({zeile.rowId, packe(zeile.values)});
}

void Zeilenspeicher::append(qint64 rowId, QByteArray gepackt)
{
    m_zeilen.append({rowId, std::move(gepackt)});
}

void Zeilenspeicher::replace(qsizetype index, const TableRow &zeile)
{
    m_zeilen[index] = {zeile.rowId, packe(zeile.values)};
}

QVariant Zeilenspeicher::value(qsizetype index, int spalte) const
{
    if (index < 0 || index >= m_zeilen.size() || spalte < 0)
        return {};
    const QByteArray &daten = m_zeilen.at(index).daten;
    const char *p = daten.constData();
    const char *ende = p + daten.size();
    for (int i = 0; i < spalte; ++i) {
        if (!lies(p, ende, nullptr))
            return {};
    }
    QVariant wert;
    if (!lies(p, ende, &wert))
        return {};
    return wert;
}

void Zeilenspeicher::setValue(qsizetype index, int spalte, const QVariant &wert)
{
    Zeile &zeile = m_zeilen[index];
    QVector<QVariant> werte = entpacke(zeile.daten);
    if (spalte >= werte.size())
        werte.resize(spalte + 1);
    werte[spalte] = wert;
    zeile.daten = packe(werte);
}

TableRow Zeilenspeicher::row(qsizetype index) const
{
    const Zeile &zeile = m_zeilen.at(index);
    return {zeile.rowId, entpacke(zeile.daten)};
}
