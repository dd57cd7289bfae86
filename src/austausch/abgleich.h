#pragma once

#include "austausch/austausch.h"

#include <QHash>

// Makes a collection equal to a file a teacher edited in a spreadsheet:
// each row of the file is matched to a question of the collection by the
// column ID where the file has it, else by its question text; new rows are
// added, changed rows updated, and questions missing from the file removed
// only when asked to. Everything in one transaction, on a collection file or
// on a server (where the login's rights decide, as the server enforces them).
namespace Abgleich {

// A question as the collection holds it.
struct Bestand {
    qint64 id = 0;
    QStringList felder; // Frage, Loesung, Antwort1, Antwort2, Stufe
};

struct Plan {
    QVector<QPair<qint64, Austausch::Frage>> geaendert;
    QVector<Austausch::Frage> neu;
    QVector<qint64> entfernt;
    int unveraendert = 0;
    int fehlend = 0; // questions missing from the file, kept without the switch
    QVector<Austausch::Abgelehnt> abgelehnt;
    QString format;
    bool etwas() const { return !geaendert.isEmpty() || !neu.isEmpty() || !entfernt.isEmpty(); }
};

// Decides every row of the file against the collection. ids maps a row's
// line to the ID the file gives it (rows without one are matched by text).
Plan plane(const QVector<Austausch::Rohzeile> &zeilen, const QHash<int, qint64> &ids,
           const QVector<Bestand> &bestand, bool entfernen);

// "12 geändert, 3 neu, 0 entfernt, 714 unverändert", and the questions
// kept although missing from the file.
QString zusammenfassung(const Plan &plan);

// Reads quelle, matches it against the collection (a .mdb file or a server
// address) and, unless nurPlanen, writes the plan in one transaction: all of
// it or, on any failure or any refused row, nothing.
StoreError gleiche(const QString &quelle, const QString &sammlung, bool entfernen, bool nurPlanen, Plan &plan);
}
