#include "basis/modvariablen.h"

#include "store/connection.h"

std::shared_ptr<Connection> Verbindung;
QString DatenbankPfad;
