#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The admin's choice of the question collection for every user of the PC,
// in a file of the system (/etc/kreidolin/Kreidolin.ini, a configuration
// file of the package). When it names a collection, that collection stands
// above each user's own settings file, also for users who chose another one
// before; without it every user's own file decides.
//
// The file is plain text as an admin writes it on Linux: blank lines and
// lines beginning with "#" are skipped, the first other line names the
// collection (a path or a server address), exactly as the user's settings
// line would. UTF-8, or Windows-1252 where the bytes are no valid UTF-8.
namespace Vorgabe {
// The file, /etc/kreidolin/Kreidolin.ini unless set otherwise.
QString datei();
void setDatei(const QString &pfad);

// The collection the bytes name; nothing when they name none.
std::optional<QString> auswahl(const QByteArray &bytes);

// The collection the admin's file names; nothing when the file is missing,
// unreadable or names none.
std::optional<QString> lies();

// What the editor says when a user tries to choose another collection;
// nothing when the admin has fixed none.
std::optional<QString> festgelegtText();
}
