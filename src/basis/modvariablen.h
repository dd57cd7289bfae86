#pragma once

#include <QString>

#include <memory>

class Connection;

// The program's two globals. Verbindung is the database connection that the
// last load of the question table opened; DatenbankPfad is the first line of
// the settings file as a window last read it (empty at start).
extern std::shared_ptr<Connection> Verbindung;
extern QString DatenbankPfad;
