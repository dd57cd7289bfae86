#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// The question table, once for the whole program: its name, its five named
// columns in table order, the levels a question can have and how a stored,
// typed or imported value names a level. The game, the editor, the exchange
// formats, the Access conversion and the companion tools take them from here.
namespace Fragentabelle {
enum class Spalte { Frage, Loesung, Antwort1, Antwort2, Stufe };
constexpr int kSpaltenzahl = 5;

constexpr int kErsteStufe = 1;
constexpr int kLetzteStufe = 15;

// "fragen"
QString tabelle();
// The column names in table order; tables and files may spell them in any case.
const QStringList &spalten();
QString name(Spalte spalte);
// The column's caption where a person reads it: "Lösung", "Antwort 1"; the
// others as named.
QString titel(Spalte spalte);

// The level a value names, 0 when it names none. A whole number from
// kErsteStufe to kLetzteStufe; a floating value without a fraction; a text
// that writes such a number: blanks around it, leading zeros, a "+" and a
// tail of zeros after "." or "," (a spreadsheet's "7.0", an Access
// currency's "7,0000") are allowed, anything else is not.
int stufe(const QVariant &wert);
}

// One question as it is written into a collection. Values, not texts: a
// converted Access table keeps its values as they were, nulls included.
struct FrageZeile {
    QVariant frage;
    QVariant loesung;
    QVariant antwort1;
    QVariant antwort2;
    QVariant stufe;
    QVariant id; // the sixth column; null: numbered by the database
};
