#pragma once

#include <QString>

// What a teacher chose for the classroom, kept per user between games: the
// projector view and reading aloud. The question database's settings file
// beside the program stays a single line; these live in the user's own
// configuration folder.
namespace Vorlieben {
bool projektor();
void setzeProjektor(bool an);
bool vorlesen();
void setzeVorlesen(bool an);

// The class's page: the port it is served on (default 8080; 0 any free
// one), the address to listen on (empty: every network of this computer),
// the vote's seconds (default 20) and the most devices (default 60).
// Values outside their range count as the default.
int klassePort();
QString klasseAdresse();
int klasseSekunden();
int klasseGeraete();

// The file, <config folder>/Kreidolin/klassenzimmer.ini unless set otherwise.
QString datei();
void setDatei(const QString &pfad);
}
