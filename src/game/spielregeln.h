#pragma once

#include "store/fragentabelle.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <array>
#include <functional>

// The rules of a game that need no window: level names, safety levels, the
// teacher poll, the answer shuffle and the choice of a question by level.
// Random numbers come in as draws r with 0 <= r < 1.
namespace Spielregeln {
constexpr int kErsteStufe = Fragentabelle::kErsteStufe;
constexpr int kLetzteStufe = Fragentabelle::kLetzteStufe;

// "1. Klasse" … "9. Klasse", "10.Klasse" … "13.Klasse", "mündliches Abitur",
// "schriftliches Abitur"; empty outside 1..15.
QString stufenName(int stufe);

// The score a wrong answer at this level keeps: 10 from level 10, 5 from
// level 5, otherwise 0.
int sicherheitsstufe(int stufe);
// The first line of the message after a wrong answer at this level.
QString falschText(int stufe);

// floor(n * r) for a draw r, kept inside 0..n-1 even when a draw is not
// strictly below 1 (some generators round up in single precision). n >= 1.
int ziehung(float r, int n);

// The teacher poll: shares of the solution and of the two wrong answers in
// percent, from two draws. They add up to 100; the second wrong answer
// always gets at least 1.
struct Umfrage {
    int loesung = 0;
    int antwort1 = 0;
    int antwort2 = 0;
};
Umfrage umfrage(float r1, float r2);

// The slots (0 left, 1 middle, 2 right) of the solution, of wrong answer 1
// and of wrong answer 2. The first two are drawn, both again while they are
// equal; the third is the one left. Each of the six orders is equally likely.
using Reihenfolge = std::array<int, 3>;
Reihenfolge mische(const std::function<float()> &ziehe);

// Left edge in twips of a slot: (width + 200) * slot + 200, rounded to the
// nearest whole number, a half to the even one.
int slotLinks(double slotBreite, int slot);

// "Spieler: <name>  |||  Momentaner Stand: <level name>"
QString fensterTitel(const QString &spieler, const QString &stufenname);

// For each level (index kErsteStufe..kLetzteStufe) the row indexes whose
// stored Stufe names it (Fragentabelle::stufe), in row order; index 0 stays
// empty.
QVector<QVector<int>> zeilenJeStufe(const QVector<QVariant> &stufen);

// The row for one draw among the rows of a level, or -1 when the level has
// none. Each row of the level is equally likely.
int waehleZeile(const QVector<int> &zeilen, float r);
// What is read aloud for a question: the question, then each answer with
// its slot's number, left to right; an empty answer (struck) is left out.
QString vorlesetext(const QString &frage, const QStringList &antworten);
}
