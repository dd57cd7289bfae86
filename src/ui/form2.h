#pragma once

#include "basis/fensterwahl.h"
#include "game/spiellayout.h"
#include "game/spielregeln.h"
#include "store/storeerror.h"

#include <QHash>
#include <QPointer>
#include <QVector>
#include <QWidget>

class Antwortfeld;
class KlassenAnzeige;
struct Klassenergebnis;
class QAction;
class QFrame;
class QMenu;
class QGroupBox;
class QLabel;
class QPushButton;
class Recordset;
class Zahlenspalte;

// The game window: one game from the level-1 question to its ending. Every
// game loads the window anew; closing it, for whatever reason, brings the
// main window back.
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
    QGroupBox *Frame3 = nullptr;
    QLabel *lblFrage = nullptr;
    QVector<QLabel *> Label5;
    QVector<QFrame *> Shape1;
    Antwortfeld *lblLoesung = nullptr;
    Antwortfeld *lblAntwort1 = nullptr;
    Antwortfeld *lblAntwort2 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QVector<QLabel *> Label3;
    Zahlenspalte *Label4 = nullptr;
    QGroupBox *Frame4 = nullptr;
    QPushButton *cmdOK = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *cmdFifty = nullptr;
    QPushButton *cmdRnd = nullptr;
    QPushButton *cmdFifty2 = nullptr;
    QPushButton *cmdGiveUp = nullptr;
    QPushButton *cmdEnd = nullptr;

    // The game's state, for looking at it.
    int stufe() const { return Stufe; }
    QString befehl() const { return Befehl; }
    bool loesungGewaehlt() const { return LoesungGewaehlt; }
    Spielregeln::Reihenfolge reihenfolge() const { return Reihenfolge; }
    int anzahlFragen() const { return AnzahlFragen; }
    const Recordset *fragen() const { return rsFragen; }
    const SpielLayout &layout() const { return m_layout; }

    // Carries out a display command, as the game's own handlers do.
    void fuehreAus(const QString &befehl);

    void lblAntwort1_Click();
    void lblLoesung_Click();
    void lblAntwort2_Click();
    void cmdOK_Click();
    void cmdFifty_Click();
    void cmdFifty2_Click();
    void cmdRnd_Click();
    void cmdGiveUp_Click();
    void cmdEnd_Click();

    // For the classroom, on the window's context menu: the whole window
    // enlarged to the full screen (F11), and reading aloud (V reads again).
    // Both choices are kept for the next game.
    QMenu *menuKlasse = nullptr;
    QAction *menuProjektor = nullptr;
    QAction *menuVorlesen = nullptr;
    void setzeProjektor(bool an);
    void setzeVorlesen(bool an);
    bool projektor() const { return m_projektor; }
    double massstab() const { return m_massstab; }
    // The answer in a slot (0 left) chosen as a click chooses it.
    void waehleFeld(int feld);
    void liesVor();
    // The class votes and answers along from its own devices (K), off until
    // the teacher switches it on; a port that cannot be had is said and the
    // game goes on without it.
    QAction *menuKlasseAbstimmen = nullptr;
    void setzeKlasse(bool an);
    KlassenAnzeige *klasse() const { return m_klasse; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
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
    void passeAn();
    void legeAntwortenAb();
    void setzeGeometrie(QWidget *w, const TwipsRechteck &r);
    // Accessible names and descriptions that follow the game.
    void benenne();
    void zeigeUrteil();
    // What the class sees follows the display commands.
    void klasseFolgt();
    // The poll joker as the class's vote while devices are joined.
    bool klasseStimmtAb();
    void klasseHatGestimmt(const Klassenergebnis &ergebnis);
    void stelleKlasseAuf();
    bool FragenLaden(const QString &pfad);
    bool FrageWaehlen();
    void Anzeige();
    void RichtigBeantwortet();
    void FalschBeantwortet();
    void AbiturBestanden();
    void KeineFrage();
    void beende(const QString &text, int punkte);
    void Form_Unload();
    // Books the entry; the window may have gone while its message was open.
    static void eintragen(const QPointer<Form2> &fenster, const QString &name, int punkte);
    void setzeHintergrund(QLabel *label, const QColor &farbe);
    QString spielerName() const;

    // Game state, as the window has always called it.
    int Stufe = 1;
    QString Befehl;
    bool LoesungGewaehlt = false;
    Spielregeln::Reihenfolge Reihenfolge{0, 1, 2};
    int Zaehler = 0;
    int AnzahlFragen = 0;
    Recordset *rsFragen = nullptr;

    QVector<QVector<int>> m_zeilenJeStufe;
    // Set by FragenLaden when the collection opened but holds no question of
    // the first level: the load fails, and the player learns which level.
    // Why the questions could not be loaded, as the store said it.
    StoreError m_ladefehler;
    bool m_ohneErsteStufe = false;
    SpielLayout m_layout;
    QLabel *m_gedrueckt = nullptr;
    Antwortfeld *m_gewaehlt = nullptr;

    QSize m_innen;
    bool m_projektor = false;
    bool m_vorlesen = false;
    double m_massstab = 1.0;
    QPointF m_versatz;
    // The fonts as designed; the projector view enlarges them.
    QHash<QWidget *, QFont> m_grundschriften;
    KlassenAnzeige *m_klasse = nullptr;
};
