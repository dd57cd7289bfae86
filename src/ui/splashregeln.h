#pragma once

#include <QString>
#include <Qt>
#include <QStringList>
#include <QVector>

#include <functional>

// The splash window's texts, its load positions and its key rule, as plain
// functions so they can be checked without a window.
namespace Splash {
// The class-project sentence: "…der Klasse", the class, "des", a run of 38
// blanks, "in Kooperation mit der", a run of 44 blanks, "." and two blanks.
// The runs leave room on the second line for the two name links that
// complete the sentence. 206 characters for a four-character class.
QString autorenSatz(const QString &klasse);

// "Ein Quiz für alle Altersstufen" and two CRs.
QString erklaerung();

// The postal lines joined by a lone CR each, as the label has always shown them.
QString anschrift(const QStringList &zeilen);

// Design sizes in twips that the load positions depend on.
constexpr double kInnenBreite = 9840;
constexpr double kInnenHoehe = 7125;
constexpr double kTitelBreite = 6855;
constexpr double kErklaerungBreite = 6135;
constexpr double kVersionBreite = 3735;
constexpr double kLogoBreite = 3675;
constexpr double kAnschriftTop = 5160;
constexpr double kAnschriftHoehe = 735;

// Lefts (and the one Top) set at load, in twips, relative to Frame1.
struct Lage {
    double lblTitel;
    double lblErklaerung;
    double LinkAmsel1;
    double lblAmsel2;
    double lblversion;
    double MailMorlon1Left;
    double MailMorlon1Top;
};

// The controls are centred with the window's client width although they lie
// in Frame1, which starts 120 twips in; so they sit 120 twips right of the
// centre line. The address follows the logo, the e-mail link the address.
Lage ladeLage(double innenBreite);

// Whether a key press yields a character, and so closes the splash window:
// Enter, Escape, Tab (character 9), Backspace, blanks, letters, digits and
// signs do, also with Shift or Ctrl (Ctrl+letter types a control character);
// function keys, arrows, Insert, Delete and lone modifiers do not. Alt with a
// key asks for an access key and types nothing; AltGr (Ctrl+Alt on Windows)
// types its sign.
bool ergibtZeichen(int key, const QString &text, Qt::KeyboardModifiers tasten = Qt::NoModifier);

// One word of a laid-out text with the left edge it is drawn at, in pixels.
struct Wort {
    double x;
    QString text;
};
using Zeile = QVector<Wort>;

// Breaks the text into lines no wider than breite at its blanks. Every blank
// is blankBreite wide, so runs of blanks keep their width whatever the font
// does with them; blanks at a break are dropped. A word wider than a line
// gets a line of its own.
QVector<Zeile> setze(const QString &text, double breite, double blankBreite,
                     const std::function<double(const QString &)> &wortBreite);
}
