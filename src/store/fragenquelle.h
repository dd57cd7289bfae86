#pragma once

#include "store/storeerror.h"

#include <QString>

class Recordset;

// The one way into a question collection, for the game and the editor alike.
// The collection is named as the settings file names it: a file in the
// program's own format, a genuine Access file (only ever read) or a
// collection on a PostgreSQL server ("postgresql://…").
namespace Fragenquelle {
enum class Zugriff {
    Spielen,    // read only, and no more rows than a game can count
    Bearbeiten, // questions can be added, changed and deleted
};

// Opens the collection at pfad on a connection of its own and reads its
// question table into rec. On success the first question is current (none
// in an empty table); on failure rec is not open and the error says why.
StoreError oeffne(Recordset &rec, const QString &pfad, Zugriff zugriff);
}
