#include "store/sqlitegrund.h"

#include <sqlite3.h>

QString sqliteGrund(int code, const QString &original)
{
    switch (code & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("Auf dem Datenträger ist kein Platz mehr.");
    case SQLITE_READONLY:
        return QStringLiteral("Die Datei ist schreibgeschützt.");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("Dafür fehlt die Berechtigung.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Sammlung wird gerade von einem anderen Programm geändert; bitte versuchen Sie es "
                              "gleich noch einmal.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("Die Datei ist beschädigt.");
    case SQLITE_IOERR:
        return QStringLiteral("Der Datenträger meldet einen Lese- oder Schreibfehler.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Die Datei lässt sich nicht öffnen.");
    case SQLITE_INTERRUPT:
        return QStringLiteral("Das Lesen der Sammlung dauerte zu lange und wurde abgebrochen (endet ihre Tabelle "
                              "fragen nie?).");
    case SQLITE_NOMEM:
        return QStringLiteral("Der Arbeitsspeicher reicht nicht.");
    case SQLITE_TOOBIG:
        return QStringLiteral("Ein Text ist zu lang für die Sammlung.");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("Eine Regel der Sammlung lehnt eine Zeile ab (%1).").arg(original);
    default:
        return QStringLiteral("Die Sammlung meldet einen Fehler (%1).").arg(original);
    }
}
