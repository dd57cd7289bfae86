#pragma once

#include "basis/services.h"

#include <QPoint>
#include <QString>
#include <QVector>

#include <functional>

class Form1;
class Form2;
class Form3;
class QWidget;

// The stage for timing the real windows: services that never wait (message
// boxes answered at once with their default button, no file dialog, no
// browser) and an application directory of its own.
namespace Bench {
class StilleMeldungen : public MessageBoxes {
public:
    QMessageBox::StandardButton zeige(QWidget *parent, const Meldung &meldung) override;
    int anzahl = 0;
};

class FesterZufall : public RandomNumbers {
public:
    void seedFromClock() override {}
    float next() override;

private:
    quint32 m_zustand = 12345u;
};

class KeinDateiDialog : public FileDialogs {
public:
    QString openFileName(QWidget *, const QString &, const QString &) override { return {}; }
};

class KeinBrowser : public UrlOpener {
public:
    bool open(const QUrl &) override { return true; }
};

class Anwendungsordner : public AppDirectory {
public:
    explicit Anwendungsordner(QString pfad) : m_pfad(std::move(pfad)) {}
    QString path() const override { return m_pfad; }

private:
    QString m_pfad;
};

// Installs the services above with the application directory ordner
// (created if missing) and takes them away again at its end, closing every
// window the measurement left open.
class Buehne {
public:
    explicit Buehne(const QString &ordner);
    ~Buehne();
    Buehne(const Buehne &) = delete;
    Buehne &operator=(const Buehne &) = delete;

    QString ordner() const { return m_ordnerPfad; }
    // Names the question database in Kreidolin.ini, as the editor does.
    void waehleDatenbank(const QString &pfad);
    // Writes highscore.dtt with n entries of varied scores.
    void schreibeHighscore(int n);

    StilleMeldungen meldungen;

private:
    QString m_ordnerPfad;
    FesterZufall m_zufall;
    KeinDateiDialog m_dateien;
    KeinBrowser m_urls;
    Anwendungsordner m_ordner;
};

// A left click at the widget's centre (or at pos), press and release, as
// the mouse delivers it.
void klick(QWidget *widget, QPoint pos = QPoint(-1, -1));

// Runs the event loop until the window is on the screen, has been painted
// since the last call of merkeMalen() and fertig() holds; then delivers
// what is still pending, so that a late change is painted too. Gives up
// with a fatal error after ten seconds.
void merkeMalen();
void warteGezeigt(const std::function<QWidget *()> &fenster, const std::function<bool()> &fertig = {});
// The number of paint events any widget received since the start.
long malereignisse();

// Closes every top-level window and deletes it, as the program's end does.
void schliesseAlles();

// The steps of a session, each from the user's action to the window shown.
// The main window, with its highscore list of eintraege entries built.
Form1 *zeigeHauptfenster(int eintraege = -1);
// Types a name and clicks "Spiel beginnen"; the game window with its first
// question. Fatal when the game could not start.
Form2 *starteSpiel(Form1 *haupt);
// "Fragen einfügen": the editor with its database loaded.
Form3 *oeffneEditor(Form1 *haupt);
// Pages the editor's grid from its top to its bottom as a click into the
// scroll bar's track does; the time of every step up to its painting.
QVector<double> blaettereGrid(Form3 *editor);
// Picks the solution and confirms it, question after question, until the
// game is won and the main window is back.
void spieleBisZumAbitur(Form2 *spiel);
}
