#pragma once

#include "store/fragentabelle.h"
#include "store/storeerror.h"

#include <QString>
#include <QVector>

namespace QuestionFile {
// The sixth column of a new collection. A collection taken over from
// elsewhere keeps its own: its name, and its values even where they are no
// unique whole numbers (then as a plain column that new rows leave empty).
struct SechsteSpalte {
    QString name = QStringLiteral("ID");
    bool autoNummer = true; // whole-number key; a null id gets the next number
};

// Writes a new question database in the program's own format (SQLite) with
// the question table: its four text columns, Stufe as a whole number and an
// auto-numbered ID. The file is built beside the target and
// renamed into place, so an existing file is replaced whole or not at all.
StoreError erzeuge(const QString &pfad, const QVector<FrageZeile> &zeilen);
StoreError erzeuge(const QString &pfad, const QVector<FrageZeile> &zeilen, const SechsteSpalte &sechste);
}
