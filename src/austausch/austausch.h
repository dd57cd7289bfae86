#pragma once

#include "store/storeerror.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Question collections in and out of files a teacher keeps elsewhere
// (spreadsheets, Moodle). Readers turn a file into raw rows; one check
// decides which rows a collection takes, the same for every format.
namespace Austausch {

// Reports how far a long step has got: "Lesen" or "Schreiben", done of total.
using Fortschritt = std::function<void(const QString &schritt, qint64 getan, qint64 gesamt)>;

// Whole-file limits, so that a hostile or mistaken file ends in a message
// instead of filling memory: the bytes of a file (or of one part of an XLSX
// file unpacked) and the rows beyond which no collection can be played.
constexpr qint64 kMaxBytes = 64 * 1024 * 1024;
constexpr int kMaxZeilen = 32767;
// Within those: the cells of one row, the cells of a whole table, the
// characters of one field (an Excel cell's limit, so that every collection
// can be written to a workbook again), and the characters of all cells
// together after a workbook's shared texts are put in.
constexpr int kMaxSpalten = 1024;
constexpr qint64 kMaxZellen = 2'000'000;
constexpr int kMaxFeld = 32767;
constexpr qint64 kMaxZeichen = 32 * 1024 * 1024;

// A field quoted in a message: at most a few dozen characters, so that a
// refusal never copies a huge text.
QString kurz(QStringView text);

// The first character no XML file can hold (controls other than tab and
// line ends, U+FFFE, U+FFFF, a lone surrogate) as "U+0001"; empty if none.
QString fremdesZeichen(QStringView text);

// A count as German texts write it ("32.767"), whatever the system's locale.
QString zahl(qint64 n);

// One row as a file holds it, the five fields in table order.
struct Rohzeile {
    int zeile = 0;      // where the teacher finds it: line or row number
    QStringList felder; // Frage, Loesung, Antwort1, Antwort2, Stufe
    QString fehler;     // set when the row cannot be taken whatever it holds
};

struct Frage {
    QString frage, loesung, antwort1, antwort2;
    int stufe = 0;
    int zeile = 0;
};

struct Abgelehnt {
    int zeile = 0;
    QString grund;
};

struct Einlesen {
    QVector<Frage> angenommen;
    QVector<Abgelehnt> abgelehnt;
    QString format; // what was read, for the preview ("CSV, UTF-8, Trenner ;")
};

// A collection's rows as text, the five fields in table order.
using Tabelle = QVector<QStringList>;

// Finds the five columns in a header row. position[i] is the cell of
// Fragentabelle::spalten()[i]; a column named twice or not at all is an error.
StoreError ordneKopf(const QStringList &kopf, QVector<int> &position);

// Picks the five fields out of a row of cells by the header's positions; a
// row too short for a column gets that column named as its fault.
Rohzeile ausZellen(int zeile, QStringList zellen, const QVector<int> &position);

// Two questions are the same when they read the same: case and runs of
// blanks aside.
QString schluessel(const QString &text);

// Two answers are the same in the same sense.
bool gleichLautend(const QString &a, const QString &b);

// Decides each row: taken, or refused with the reason. vorhanden holds the
// keys of the questions the collection has; platz is how many rows it can
// still take before a game can no longer load it.
Einlesen pruefeZeilen(const QVector<Rohzeile> &zeilen, QSet<QString> vorhanden, int platz);

// The preview of an import, as a teacher reads it: what will be added per
// level, then every refused row with its reason.
QString vorschauText(const Einlesen &e);
}
