#pragma once

#include <QString>

class QColor;
class QCursor;
class QLabel;
class QUrl;
class QWidget;

// What the four link controls share: handing their target to the desktop
// and the pointing hand shown over them.
namespace LinkZiel {
// A target as the controls keep it, "www." and a domain or "mailto:" and an
// address, as the URL the desktop needs: a "www." target is a web page.
QUrl alsUrl(const QString &ziel);

// The message for a target the desktop could not open; it names the address
// so the user can use it by hand.
QString fehlertext(const QString &ziel);

// Hands the target to the desktop. When that fails, the user is told, once
// the click that asked for it is over (see linkziel.cpp), and false returned.
bool oeffne(const QString &ziel);

// The 32 x 32 pointing hand with its hot spot at the fingertip (12, 1).
QCursor handZeiger();

// Sets up a link control: its size in twips, its background, its tooltip,
// and that clicks beside its child stay with it.
void richteEin(QWidget *control, double breite, double hoehe, const QColor &hintergrund,
               const QString &tooltip);

// The control's child Label1 at its top left corner: the text in Arial
// 9.75 pt, underlined and blue, drawn on the control's background.
QLabel *textLabel(QWidget *control, const QString &text, double breite, double hoehe);
}
