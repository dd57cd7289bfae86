#pragma once

#include "store/storeerror.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The highscore file highscore.dtt: one line per finished game, the name,
// " | ", the score and CR LF, in Windows-1252. A name that Windows-1252
// cannot hold is written as UTF-8 behind a byte order mark, so that it is
// not turned into "?" and no Windows-1252 line is ever taken for UTF-8.
namespace Highscore {
// At exactly this many entries every rebuild warns that the list will be
// emptied; the first rebuild that reads more empties it, so the warning's
// promise holds after the very next game.
constexpr int kWarnGrenze = 1000;
constexpr int kLeerGrenze = 1000;

struct Eintrag {
    QString name;
    int punkte = 0;
    bool operator==(const Eintrag &o) const { return name == o.name && punkte == o.punkte; }
};

QString keineEintraege();  // "Keine Einträge vorhanden..."
QString warnText();        // "Beim nächsten Spiel wird die Highscoreliste gelöscht!"

// The bytes of one line, CR LF included.
QByteArray kodiereZeile(const QString &name, int punkte);
// One line's bytes without its end: UTF-8 behind a byte order mark; valid
// UTF-8 holding a byte that Windows-1252 leaves unused (as earlier versions
// wrote it); otherwise Windows-1252.
QString dekodiereZeile(const QByteArray &bytes);
// The lines of the file: each ends at CR LF, a lone LF or a lone CR; the
// last may lack its end.
QVector<QByteArray> zeilen(const QByteArray &inhalt);
// Name and score of a line, or nothing when the line holds no " | " with a
// whole number. "x | 5 | y" is x with 5; "a | b | 7" keeps the name "a | b".
std::optional<Eintrag> zerlegeZeile(const QString &zeile);
// All entries of the file's bytes in file order; lines that are no entry are
// passed over.
QVector<Eintrag> zerlege(const QByteArray &inhalt);

// Best score first, by exchanging every pair i, j with score(i) > score(j);
// equal scores end in the order this leaves them (a 5, b 5, c 0 gives b, a, c).
// More entries than the emptying limit (a file that could not be emptied)
// are ordered in n log n steps instead, equal scores in file order.
void ordne(QVector<Eintrag> &eintraege);
// "1 : x  -  15 Punkte"
QString listenText(int position, const Eintrag &eintrag);

// What one rebuild of the list does with the entries read.
struct Liste {
    bool warnen = false;   // show warnText() first
    bool leeren = false;   // empty the file, list nothing
    QStringList texte;     // the items in order; empty for "Keine Einträge vorhanden..."
};
Liste baueListe(QVector<Eintrag> eintraege);

// Appends one line at the end of the file, creating the file when it is
// missing, under the lock file "<pfad>.lock" and synced. A line broken off
// by a crash is cut away by the next append, and never read as an entry.
StoreError anhaengen(const QString &pfad, const QString &name, int punkte);
// Cuts the file after its last line end (to nothing when it has none).
bool kuerzeAufZeilenende(QFile &datei);

struct Lesung {
    QVector<Eintrag> eintraege;
    StoreError fehler; // the file could not be read, or a missing one not created
};
// Reads all entries. A missing file is created empty.
Lesung lies(const QString &pfad);
// Truncates the file to zero bytes, under the same lock as an append.
StoreError leere(const QString &pfad);
}
