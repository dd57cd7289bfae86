#pragma once

#include "austausch/austausch.h"

#include <QByteArray>

// CSV as spreadsheets write it: a header row naming the columns, ";", ","
// or tab between fields, fields in double quotes that may hold separators,
// quotes and line breaks; UTF-8 with or without BOM, UTF-16 with BOM, or
// Windows-1252 as German Excel saves it.
namespace Csv {
// The text of the file and the name of its encoding. UTF-8 is taken only
// when every byte sequence is valid UTF-8; a text in Windows-1252 with any
// letter beyond ASCII never is.
QString dekodiere(const QByteArray &bytes, QString *kodierung = nullptr);

// Splits text into records; each record remembers the line it starts on.
// An opening quote that is never closed ends the text with a record that
// carries the fault.
struct Datensatz {
    int zeile = 0;
    QStringList felder;
    bool offen = false;
};
// More than Austausch::kMaxSpalten fields in a record, or kMaxZellen in all,
// end the reading with a message. A field that begins with an apostrophe
// before a formula's first character loses that apostrophe (see schreibe).
StoreError zerlege(QStringView text, QChar trenner, int maxDatensaetze, QVector<Datensatz> &saetze,
                   const Austausch::Fortschritt &fortschritt = {});

// The separator of the header line: the one that splits it into the most of
// the five column names, else the most frequent outside quotes.
QChar trenner(QStringView text);

StoreError lies(QByteArray bytes, QVector<Austausch::Rohzeile> &zeilen, QString *format = nullptr,
                const Austausch::Fortschritt &fortschritt = {});

// What German Excel and LibreOffice open without asking: UTF-8 with BOM,
// ";" between fields, CR LF after each row. A field that begins with = + -
// @, a tab, a carriage return or an apostrophe gets an apostrophe before it,
// so that no spreadsheet program runs it as a formula; lies() removes it.
QByteArray schreibe(const Austausch::Tabelle &tabelle);
}
