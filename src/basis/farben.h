#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// The system colours the windows use, in the classic Windows scheme the
// program was designed for, and the fonts by their Windows names.
namespace Farben {
inline QColor desktop() { return QColor(58, 110, 165); }          // system colour 1
inline QColor schaltflaeche() { return QColor(212, 208, 200); }   // button face, 15
inline QColor hervorhebung() { return QColor(255, 255, 255); }    // button highlight, 20
inline QColor menueleiste() { return QColor(212, 208, 200); }     // menu bar
inline QColor aktiverRahmen() { return QColor(212, 208, 200); }   // active border
}

namespace Schriften {
// A font by its Windows name and point size, e.g. ("MS Sans Serif", 9.75).
inline QFont schrift(const QString &familie, double punkte, bool fett = false, bool kursiv = false,
                     bool unterstrichen = false)
{
    QFont f(familie);
    f.setPointSizeF(punkte);
    f.setBold(fett);
    f.setItalic(kursiv);
    f.setUnderline(unterstrichen);
    return f;
}
}
