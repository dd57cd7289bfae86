#pragma once

#include <QString>

#include <optional>

// The editor's level field accepts the levels of the question table. A text
// typed by hand is read by its numeric value, the way the Windows program
// this one follows read numbers: the check on leaving the field uses it.
namespace Stufenwert {
// The numeric value of a text: blanks, tabs and line feeds are skipped
// wherever they stand; then an optional sign, digits with at most one "." and
// an optional exponent (E or D) form the number, and reading stops at the
// first character that does not fit. "&H" and "&O" start a hexadecimal or
// octal whole number. A text without a number at its start is 0. Never fails:
// a number too large for a double is infinite.
double zahlenwert(const QString &text);

// The check on leaving the level field: the value lies within the levels.
bool imBereich(const QString &text);

// The level that can be stored: a text that names a level
// (Fragentabelle::stufe) and passes the check with that very value.
// "2.5", "3abc" or " 1 2" have none, because no game could ever ask for them.
std::optional<int> ganzeStufe(const QString &text);
}
