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

// The file, <config folder>/Kreidolin/klassenzimmer.ini unless set otherwise.
QString datei();
void setDatei(const QString &pfad);
}
