#pragma once

class QApplication;

namespace Start {
// Everything the program needs before its first window: German texts for
// Qt's own dialogs, the fonts the windows ask for, the window icon.
void bereiteVor(QApplication &app);
// Opens the program's first window.
void ersterFenster();
}
