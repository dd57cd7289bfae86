#include "basis/modvariablen.h"

std::shared_ptr<Connection> Verbindung;
QString DatenbankPfad;
