#pragma once

#include "basis/fensterwahl.h"
#include "game/spiel.h"
#include "game/spiellayout.h"
#include "store/storeerror.h"
#include "ui/massstab.h"

#include <QVector>
#include <QWidget>

class Antwortfeld;
class Fragenfeld;
class KlassenAnzeige;
class QAction;
class QFrame;
class QMenu;
class QGroupBox;
class QLabel;
class QPushButton;
class Stufenuebersicht;

// The game window, a view of one game (Spiel): it shows the game's state and
// hands clicks and keys to it. Every game loads the window anew; closing it,
// for whatever reason, brings the main window back.
class Form2 : public QWidget, public Spielfenster {
    Q_OBJECT
public:
    explicit Form2(QWidget *parent = nullptr);
    ~Form2() override;

    // The start of a game: the caption names the player and the first level.
    void setzeSpieler(const QString &name) override;

    // Lays the window out, finds the question database through the settings
    // file and shows the first question. When the questions cannot be
    // loaded the window shows its message, opens the editor and closes itself.
    void Form_Load();

    // The controls, named as the program names them.
    QLabel *Label1 = nullptr;
    QLabel *lblFrageNr = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblPlayer = nullptr;
    Fragenfeld *Frame3 = nullptr;
    QLabel *lblFrage = nullptr;
    QVector<QLabel *> Label5;
    Antwortfeld *lblLoesung = nullptr;
    Antwortfeld *lblAntwort1 = nullptr;
    Antwortfeld *lblAntwort2 = nullptr;
    Stufenuebersicht *Frame2 = nullptr;
    QGroupBox *Frame4 = nullptr;
    QPushButton *cmdOK = nullptr;
    QGroupBox *Frame1 = nullptr;
    // One button per joker of the table, left to right.
    QVector<QPushButton *> cmdJoker;
    QPushButton *cmdGiveUp = nullptr;
    QPushButton *cmdEnd = nullptr;

    // The game this window shows.
    Spiel *spiel() const { return m_spiel; }
    int stufe() const { return m_spiel->stufe(); }
    bool loesungGewaehlt() const { return m_spiel->loesungGewaehlt(); }
    const Spielregeln::Reihenfolge &reihenfolge() const { return m_spiel->reihenfolge(); }
    const SpielLayout &layout() const { return m_layout; }

    void lblAntwort1_Click();
    void lblLoesung_Click();
    void lblAntwort2_Click();
    void cmdOK_Click();
    void cmdJoker_Click(int joker);
    void cmdGiveUp_Click();
    void cmdEnd_Click();

    // For the classroom, on the window's context menu: the whole window
    // enlarged to the full screen (F11), and reading aloud (V reads again).
    // Both choices are kept for the next game.
    QMenu *menuKlasse = nullptr;
    QAction *menuProjektor = nullptr;
    QAction *menuVorlesen = nullptr;
    void setzeProjektor(bool an);
    // The class votes and answers along from its own devices (K), off until
    // the teacher switches it on; a port that cannot be had is said and the
    // game goes on without it.
    QAction *menuKlasseAbstimmen = nullptr;
    void setzeKlasse(bool an);
    KlassenAnzeige *klasse() const { return m_klasse; }
    void setzeVorlesen(bool an);
    bool projektor() const { return m_projektor; }
    double massstab() const { return m_massstab.faktor(); }
    // The answer in a slot (0 left) chosen as a click chooses it.
    void waehleFeld(int feld);
    void liesVor();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void baueFenster();
    void baueKlassenmenue();
    void beschreibeSteuerung();
    void ordneAn();
    void setzeFesteGroesse();
    // Puts every control where the layout and the current scale say.
    void stelleAuf();
    void stelleKlasseAuf();
    // The poll joker as the class's vote while devices are joined.
    std::optional<Spielregeln::Umfrage> klassenUmfrage();
    void passeAn();
    // Accessible names and descriptions that follow the game.
    void benenne();
    bool FragenLaden(const QString &pfad);
    // Shows the game as it stands.
    void Anzeige();
    // An ending: its message, the main window and the entry in the order the
    // ending asks, then the window closes.
    void beende(const Spiel::Abschluss &ende);
    // A box of the game, at the view's scale.
    void meldung(const QString &titel, const QString &text);
    void Form_Unload();

    Spiel *m_spiel = nullptr;
    // Why the questions could not be loaded, as the store said it.
    StoreError m_ladefehler;
    Spiel::Ladung m_ladung = Spiel::Ladung::Geladen;
    SpielLayout m_layout;
    QSize m_innen;
    bool m_projektor = false;
    bool m_vorlesen = false;
    Massstab m_massstab;
    KlassenAnzeige *m_klasse = nullptr;
};
