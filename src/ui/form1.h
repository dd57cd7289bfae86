#pragma once

#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

// The main window: name entry, the highscore list and the start of a game.
// It closes when a game starts and comes back, built anew, when it ends.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QLineEdit *txt_name = nullptr;
    QPushButton *cmd_start = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *lstHighscore = nullptr;
    QPushButton *Command1 = nullptr;

    QMenu *menuDatei = nullptr;
    QAction *menuFragen = nullptr;
    QAction *menuEnd = nullptr;
    QAction *menuHighscore = nullptr;
    QAction *menuInfo = nullptr;
    QAction *menuAnleitung = nullptr;

    void Form_Activate();
    void menuHighscore_Click();
    void txt_name_Change();
    void txt_name_KeyPress();
    void cmd_start_Click();
    void Command1_Click();
    void menuEnd_Click();
    void menuFragen_Click();
    void menuInfo_Click();
    void menuAnleitung_Click();

protected:
    bool event(QEvent *event) override;

private:
    void baueFenster();
    void baueMenue();
    // False when the window was closed and deleted while the box was open.
    bool meldeFehler(const QString &text);
    void zeigeEintraege(const QStringList &texte);

    // Set while one of this window's own message boxes has taken the focus:
    // its closing hands the focus back, which is no new activation.
    bool m_zurueckVonMeldung = false;
    bool m_lesefehlerGemeldet = false;
    // The game whose end offers the start again.
    QPointer<QWidget> m_laufendesSpiel;
};
