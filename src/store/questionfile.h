#pragma once

#include "store/storeerror.h"

#include <QString>
#include <QVariant>
#include <QVector>

// One question as it is written into a new question database.
struct FrageZeile {
    QVariant frage;
    QVariant loesung;
    QVariant antwort1;
    QVariant antwort2;
    QVariant stufe;
    QVariant id; // null: numbered by the database
};

namespace QuestionFile {
// Writes a new question database in the program's own format (SQLite) with
// table fragen: Frage, Loesung, Antwort1, Antwort2 (text), Stufe (whole
// number) and an auto-numbered ID. The file is built beside the target and
// renamed into place, so an existing file is replaced whole or not at all.
StoreError erzeuge(const QString &pfad, const QVector<FrageZeile> &zeilen);
}
