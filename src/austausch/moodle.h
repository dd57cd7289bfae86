#pragma once

#include "austausch/austausch.h"

#include <QByteArray>

// Moodle's question exchange format (Moodle XML): multiple-choice questions
// with one right answer (fraction 100) and two wrong ones (fraction 0).
// The level is the tag "Stufe N" of a question; a question without one
// takes it from the last part of the category before it
// ("$course$/top/Kreidolin/Stufe 7").
namespace Moodle {
// Row numbers are the lines where the questions begin. Questions of other
// types, or with other answers, are refused rows; a document type
// declaration (and with it any entity) ends the reading.
StoreError lies(const QByteArray &bytes, QVector<Austausch::Rohzeile> &zeilen);

// Whether bytes are whole XML with <quiz> outermost, whatever their size.
StoreError oeffnet(const QByteArray &bytes);

// One category per level, the questions of that level below it, each
// tagged with its level too.
QByteArray schreibe(const Austausch::Tabelle &tabelle);
}
