#pragma once

class QString;
class QWidget;

// The program's windows by name. A window that opens another, or returns to
// one, asks for it here; only the start-up knows the classes behind the names
// and installs the register that builds them. Every window exists at most
// once, is created when first used and destroyed when closed.
enum class Fensterart { Splash, Haupt, Spiel, Editor, Info, Anleitung };

// What the main window needs of the game window to start a game for a player.
class Spielfenster {
public:
    virtual ~Spielfenster() = default;
    virtual void setzeSpieler(const QString &name) = 0;
};

class Fensterregister {
public:
    virtual ~Fensterregister() = default;
    // The window, created (and so loaded) if it is not open. A load may close
    // the window again; ask offen() afterwards where that matters.
    virtual QWidget *hole(Fensterart art) = 0;
    // The open window, or nullptr.
    virtual QWidget *offen(Fensterart art) = 0;
};

namespace Fensterwahl {
void setzeRegister(Fensterregister *fenster);
QWidget *hole(Fensterart art);
QWidget *offen(Fensterart art);
// Shows the window, not modal, and brings it to the front.
QWidget *zeige(Fensterart art);
}
