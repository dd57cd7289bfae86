#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;
class LinkAmsel;
class LinkAmsel2;
class LinkLindenhain;
class MailMorlon;

// The start-up window: title, version, the class project with its links,
// a disclaimer and the maker's address. It leads to the main window after
// its interval, or at once on a click on it or a key that types a character.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    void Form_Load();

public Q_SLOTS:
    void Form_Click();
    void Form_KeyPress();
    void Frame1_Click();
    void lblAutoren_Click();
    void lblAmsel2_Click();
    void lblErklaerung_Click();
    void lblTitel_Click();
    void lblversion_Click();
    void Timer1_Timer();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void zumHauptfenster();

    QFrame *Frame1;
    QLabel *lblTitel;
    QLabel *lblErklaerung;
    QLabel *lblversion;
    QLabel *lblAutoren;
    LinkAmsel2 *LinkAmsel21;
    LinkLindenhain *LinkLindenhain1;
    QLabel *lblAmsel3;
    LinkAmsel *LinkAmsel1;
    QLabel *lblAmsel2;
    MailMorlon *MailMorlon1;
    QTimer *Timer1;
    bool m_verlassen = false;
};
