#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <cstdio>

struct TableData;

// The stream in which the Access reader (the child process kreidolin-mdb)
// hands a table to the program. Every length is given before its bytes, so
// no text needs quoting and a reader never has to guess where a field ends.
//
//   "KREIDOLIN-MDB 1\n"                                  identification
//   'C' u32 n  { u8 kind  u32 len  name }  x n           columns, once
//   'R' { 'N' | 'I' i64 | 'T' u32 len text } x n         one per row
//   'E' u32 rows                                         end: the table is whole
//   'F' u32 code  u32 len message                        end: reading failed
//
// Numbers are little-endian; texts and names are UTF-8. Nothing may follow
// 'E' or 'F'. A stream without either was cut off.
namespace JetFormat {

inline constexpr char kKennung[] = "KREIDOLIN-MDB 1\n";
inline constexpr int kKennungLaenge = sizeof(kKennung) - 1;

// What the program can do with a column.
// Sonstige: numbers with a fraction, dates and the like, handed on as the
// reader writes them; Unlesbar: binary and OLE columns, whose content the
// reader does not hand on (every field of them arrives as null).
enum class Art : quint8 { Text = 'T', Ganzzahl = 'I', Sonstige = 'S', Unlesbar = 'U' };

// Why the reader gave up; the parent turns these into its own messages.
enum class Fehler : quint32 {
    NichtLesbar = 1,   // not an Access file the reader can open
    KeineTabelle = 2,  // the table does not exist
    ZuVieleZeilen = 3, // more rows than the caller accepts
    Lesefehler = 4,    // the table's pages could not be read
    Aufruf = 5,        // wrong arguments
    Ausgabe = 6,       // the stream could not be written
};

// Bounds the parser holds any stream to, whatever its lengths claim: more
// columns than Access allows, or more cells than the program could hold,
// mean the stream is not one the reader wrote.
inline constexpr quint32 kMaxSpalten = 256;
inline constexpr qint64 kMaxZellen = qint64(1) << 23;

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool gueltigesUtf8(const char *daten, qsizetype laenge);

// Writes a stream, buffered; to a FILE (the child's stdout) or into memory.
class Schreiber {
public:
    explicit Schreiber(std::FILE *ziel = nullptr);
    ~Schreiber();
    Schreiber(const Schreiber &) = delete;
    Schreiber &operator=(const Schreiber &) = delete;

    void spalten(const QList<QPair<QByteArray, Art>> &spalten);
    void zeileBeginnen();
    void null();
    void ganzzahl(qint64 wert);
    void text(const char *utf8, qsizetype laenge);
    void ende(quint32 zeilen);
    void fehler(Fehler code, const QString &meldung);

    // Sends what is buffered; false when the target refused it.
    bool leeren();
    bool ok() const { return m_ok; }
    // Everything written so far when writing into memory.
    const QByteArray &daten() const { return m_puffer; }

private:
    void u8(quint8 v);
    void u32(quint32 v);
    void sendeWennVoll();

    std::FILE *m_ziel;
    QByteArray m_puffer;
    bool m_ok = true;
};

// The outcome of reading a stream.
struct Ergebnis {
    bool vollstaendig = false; // ended with 'E'
    bool gescheitert = false;  // ended with 'F'
    Fehler code = Fehler::Lesefehler;
    QString meldung;           // the reader's message for 'F'
    QString formfehler;        // why the stream is malformed, else empty
};

// Parses a whole stream into out (columns, declared types, rows; writable
// false). Never trusts a length: anything malformed is reported in
// formfehler and leaves out empty. More than maxRows rows is malformed too,
// since the reader is told the same limit.
Ergebnis lies(const QByteArray &stream, TableData &out, qint64 maxRows);

}
