#pragma once

#include "basis/fensterwahl.h"
#include "game/spiellayout.h"
#include "game/spielregeln.h"
#include "store/storeerror.h"

#include <QPointer>
#include <QVector>
#include <QWidget>

class QFrame;
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
    QLabel *lblLoesung = nullptr;
    QLabel *lblAntwort1 = nullptr;
    QLabel *lblAntwort2 = nullptr;
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

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void baueFenster();
    void ordneAn();
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
};
