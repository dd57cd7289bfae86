#pragma once

#include <QString>

// File dialog filters as the program has always written them,
// "description|pattern|description|pattern", and the form Qt's file dialog
// takes, "description (pattern);;description (pattern)".
namespace DateiFilter {
// A description that already names its pattern in brackets is taken as it
// stands; otherwise the pattern is added in brackets. Several patterns of
// one entry ("*.mdb;*.accdb") are separated by blanks for Qt.
QString zuQt(const QString &filter);
}
