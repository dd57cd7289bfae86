#pragma once

#include <QMap>
#include <QString>

// Where the editor's controls stand, in twips relative to their container
// (the window's client area, or the frame "Frage hinzufügen" for the
// controls inside it). Keys are the controls' object names.
namespace Form3Layout {
struct Rechteck {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double rechts() const { return left + width; }
};
using Plan = QMap<QString, Rechteck>;

// The positions the window is designed with. The two labels that size
// themselves to their text ("Label1", "Label5") come with width and height 0;
// the window measures them.
Plan entwurf();

// The positions when the window loads, for a client area innenBreite twips
// wide: grid and frame stretch across the window with margins of 100, the
// navigation row is exactly as wide as the frame, and the text boxes and
// buttons in the frame share its width with margins and gaps of 100. Top and
// height stay as designed, and so do the path line and the status line.
Plan beimLaden(const Plan &entwurf, double innenBreite);
}
