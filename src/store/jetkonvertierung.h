#pragma once

#include "store/storeerror.h"

#include <QString>

// Turns a question collection kept in a genuine Access file into one in the
// program's own format, which the editor can change. The Access file is never
// written: it is kept, byte for byte, beside the new file.
namespace JetKonvertierung {

// The first free name for the kept original: <file>.jet.bak, then
// <file>.jet.1.bak, <file>.jet.2.bak, ... ("Fragen.mdb.jet.bak").
QString freieSicherung(const QString &pfad);

// Reads table fragen of the Access file at pfad, copies the file to a free
// backup name (checked against the original), then writes the converted
// collection under pfad: every row, the five named columns and the sixth
// with its values (a table without one gets the auto-numbered ID). The new
// file is read back and compared with the Access table before the call
// returns. On success *sicherung names the backup. On any failure the
// original stays under pfad (restored from the backup where the new file had
// already taken its place), and no backup is left behind that the original
// still holds itself.
StoreError konvertiere(const QString &pfad, QString *sicherung = nullptr);

}
