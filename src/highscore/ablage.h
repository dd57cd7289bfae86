#pragma once

#include "highscore/highscore.h"
#include "store/serveradresse.h"

#include <QDateTime>

// Where the highscore list lives: in the file highscore.dtt, or, when the
// settings line names a PostgreSQL server, in its table highscore. The
// list's rules (order, warning, emptying) are the same for both; only
// reading, appending and emptying differ.
namespace HighscoreAblage {
// The longest name the server's list takes.
constexpr int kNameLaenge = 255;

// One finished game as the server keeps it. The key makes a line sent twice
// (the PC went down between sending and noting it sent) arrive once.
struct Zeile {
    QString schluessel;
    QString name;
    int punkte = 0;
    QDateTime wann;
    QString pc;
};

// What an entry came to: stored, kept on this PC for later (hinweis says so
// to the player), or refused for what it holds and kept apart (fehler).
struct Ergebnis {
    StoreError fehler;
    QString hinweis;
};

Highscore::Lesung lies();
Ergebnis anhaengen(const QString &name, int punkte);
StoreError leere();
// Lets go of this thread's server connection.
void schliesse();

// The same on a server named directly, for the companion tools and the
// benchmark. A line that cannot reach the server goes into the outbox file.
Highscore::Lesung lies(const ServerAdresse &adresse);
Ergebnis anhaengen(const ServerAdresse &adresse, const Zeile &zeile);
StoreError leere(const ServerAdresse &adresse);

// A new line for name and score: a fresh key, now, this PC.
Zeile neueZeile(const QString &name, int punkte);

// The outbox highscore-ausgang.dtt beside the settings: one line per entry
// in UTF-8, its fields separated by tabs, name and PC percent-encoded.
QByteArray kodiere(const Zeile &zeile);
std::optional<Zeile> zerlege(const QByteArray &zeile);
// Sends the outbox's lines in order; sent lines leave the file, the first
// that cannot be sent stays with all after it. A line the list refuses for
// what it holds goes to highscore-abgelehnt.dtt beside the outbox, with the
// reason as a sixth field, and the next follows. How many left the outbox.
int liefereAus(const QString &verbindung, const ServerAdresse &adresse, StoreError *fehler = nullptr);
}
