#pragma once

#include "store/storeerror.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The one-line settings file Kreidolin.ini: its first line names the
// question database. Windows-1252 text ended by CR LF, as on Windows; a path
// that Windows-1252 cannot hold is written as UTF-8 behind a byte order mark.
namespace SettingsFile {
// The first line of the file's bytes: everything up to the first CR or LF,
// untrimmed. A text without line end is the whole line; zero bytes have no
// first line.
std::optional<QString> ersteZeile(const QByteArray &bytes);

QByteArray kodiere(const QString &text);
QString dekodiere(const QByteArray &bytes);

// Reads the first line of the file; nothing when the file is missing, empty
// or unreadable. For the user's own settings file the admin's choice
// (Vorgabe) is read instead wherever it names a collection.
std::optional<QString> lies(const QString &pfad);

// Replaces the whole file with the line and CR LF, atomically: a crash
// leaves the old or the new file, never half of one, and at most the file
// "<pfad>.neu" beside it.
StoreError schreibe(const QString &pfad, const QString &zeile);

// The database a game starts with. A non-empty first line is used as it
// stands; otherwise the default path is written into the file and used.
struct SpielPfad {
    QString pfad;
    StoreError schreibFehler; // the default could not be written back
};
SpielPfad spielDatenbank();
}
