#pragma once

#include <QString>

#include <optional>

// The level field of the editor accepts levels 1 to 15. The text is read the
// way the program has always read numbers typed by hand, so that what passes
// the check when the field is left stays the same as it always was.
namespace Stufenwert {
// The numeric value of a text: blanks, tabs and line feeds are skipped
// wherever they stand; then an optional sign, digits with at most one "." and
// an optional exponent (E or D) form the number, and reading stops at the
// first character that does not fit. "&H" and "&O" start a hexadecimal or
// octal whole number. A text without a number at its start is 0. Never fails:
// a number too large for a double is infinite.
double zahlenwert(const QString &text);

// The check on leaving the level field: 1 <= value <= 15.
bool imBereich(const QString &text);

// The level that can be stored: a whole number 1 to 15 written in digits
// only (blanks, tabs and line feeds around it are allowed). Everything else, "2.5", "3abc" or
// " 1 2", has no level, because no game could ever ask for it.
std::optional<int> ganzeStufe(const QString &text);
}
