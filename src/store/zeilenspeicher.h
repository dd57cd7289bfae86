#pragma once

#include <QByteArray>
#include <QVariant>
#include <QVector>

struct TableRow;

// The rows of a table as a recordset holds them. Each row's values are
// packed into one block of bytes rather than kept as a vector of variants
// with a string of their own each: 32,767 questions take about 6 MB
// instead of 20, and a table is read with one allocation per row instead
// of six. A value comes back exactly as it went in, of the same type,
// null or not.
class Zeilenspeicher {
public:
    // Packs one row value by value; a reader with SQLite's own values packs
    // them without making variants of them first.
    class Bauer {
    public:
        void ungueltig();                          // QVariant()
        void ganzzahl(qint64 zahl);                // QVariant(qlonglong)
        void kommazahl(double zahl);               // QVariant(double)
        void utf8(const char *text, qsizetype n);  // QVariant(QString::fromUtf8(text, n))
        void bytes(const char *daten, qsizetype n); // QVariant(QByteArray(daten, n))
        void wert(const QVariant &wert);
        // The packed row, allocated at its exact size; the builder is empty
        // again and keeps its buffer for the next row.
        QByteArray fertig();

    private:
        char *platz(qsizetype n);
        QByteArray m_puffer;
        qsizetype m_laenge = 0;
    };

    qsizetype size() const { return m_zeilen.size(); }
    bool isEmpty() const { return m_zeilen.isEmpty(); }
    void clear() { m_zeilen.clear(); }
    void reserve(qsizetype n) { m_zeilen.reserve(n); }

    void append(const TableRow &zeile);
    void append(qint64 rowId, QByteArray gepackt);
    // Replaces the row at index with another one, its row id included.
    void replace(qsizetype index, const TableRow &zeile);
    void remove(qsizetype index) { m_zeilen.remove(index); }

    qint64 rowId(qsizetype index) const { return m_zeilen.at(index).rowId; }
    // The value of a column; an invalid variant for a column the row lacks.
    QVariant value(qsizetype index, int spalte) const;
    void setValue(qsizetype index, int spalte, const QVariant &wert);
    // The row unpacked again.
    TableRow row(qsizetype index) const;

    // One row's values packed and unpacked, for looking at the format.
    static QByteArray packe(const QVector<QVariant> &werte);
    static QVector<QVariant> entpacke(const QByteArray &daten);

private:
    struct Zeile {
        qint64 rowId = 0;
        QByteArray daten;
    };
    QVector<Zeile> m_zeilen;
};
