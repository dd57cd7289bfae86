#pragma once

#include <QStringList>

// Figures of a whole process: the benchmark starts itself as a child in one
// of a few modes (kreidolin_bench --child <mode> ...), which reports back
// on its standard output.
namespace Bench {
// The child's side; argv is "--child <mode> [arguments]". Returns the exit code.
//   leer                         a bare Qt window, shown and closed
//   text                         the same with one line of text
//   start                        the program's own start, up to the splash window shown
//   sitzung <dir> nacheinander   a game, then the editor, on the application directory dir
//   sitzung <dir> nebeneinander  the editor left open while the game is played
int kindLauf(int argc, char *argv[]);

struct KindErgebnis {
    double gezeigtMs = 0; // from the start of the process to its window shown
    double gesamtMs = 0;  // the whole process, start to end
    double spitzeMb = 0;  // peak resident memory (VmHWM)
};
KindErgebnis starteKind(const QStringList &argumente);
}
