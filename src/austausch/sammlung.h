#pragma once

#include "austausch/austausch.h"


// A question collection (.mdb) and the files it is exchanged through; the
// file's format is told by its extension (formate.h). Only regular files
// are read.
namespace Sammlung {

// The rows of table fragen as text, in table order. Also for Access files
// (read through the program's own reader).
StoreError lies(const QString &mdb, Austausch::Tabelle &tabelle);

// Reads a file of any exchange format into rows; roh, when given, keeps the
// file's bytes (the text table's row IDs are read from them).
StoreError liesDatei(const QString &pfad, QVector<Austausch::Rohzeile> &zeilen, QString &format,
                     const Austausch::Fortschritt &fortschritt = {}, QByteArray *roh = nullptr);

// Reads quelle and decides every row against the collection ziel (which
// need not exist yet: then it is made by the import).
StoreError vorschau(const QString &quelle, const QString &ziel, Austausch::Einlesen &ergebnis,
                    const Austausch::Fortschritt &fortschritt = {});

// Adds the questions to ziel in one transaction: all of them or, on any
// failure, none. A collection that does not exist yet is written whole
// beside and renamed into place. Refused when a question has reached the
// collection since the preview.
StoreError fuegeEin(const QString &ziel, const QVector<Austausch::Frage> &fragen,
                    const Austausch::Fortschritt &fortschritt = {});

// Writes the whole collection to ziel in the format its name says; an
// existing file is replaced whole or not at all, and only by a file that
// has been read back and opens again. *anzahl: rows written.
StoreError exportiere(const QString &mdb, const QString &ziel, int *anzahl = nullptr);
}
