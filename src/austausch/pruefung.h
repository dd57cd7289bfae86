#pragma once

#include "austausch/austausch.h"
#include "store/fragentabelle.h"

// The check of a whole collection: what keeps a game from being played
// through, and what a teacher will want to mend. Rows are numbered from 1
// in table order, as the editor counts them.
namespace Pruefung {
enum class Art { LeereStufe, LeeresFeld, GleicheAntworten, DoppelteFrage, StufeAusserhalb, ZuVieleZeilen };

struct Befund {
    Art art;
    QString text;       // one line a teacher reads
    QVector<int> zeilen; // the rows concerned, if any
};

struct Ergebnis {
    int zeilen = 0;
    QVector<int> jeStufe = QVector<int>(Fragentabelle::kLetzteStufe + 1, 0); // by level
    QVector<Befund> befunde;
    // Every level has a question and a game can load the table.
    bool spielbar() const;
    QString bericht() const;
};

Ergebnis pruefe(const Austausch::Tabelle &tabelle);
// Reads the collection first; a collection that cannot be read is an error.
StoreError pruefeDatei(const QString &mdb, Ergebnis &ergebnis);
}
