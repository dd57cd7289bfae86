#pragma once

// What nearly every test uses, included once here.
#include "basis/appinfo.h"
#include "highscore/highscore.h"
#include "start/fenster.h"
#include "store/recordset.h"
#include "store/settingsfile.h"
#include "ui/form1.h"
#include "ui/antwortfeld.h"
#include "ui/form2.h"
#include "ui/form3.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "basis/services.h"
#include "store/questionfile.h"

#include <QTemporaryDir>
#include <QUrl>

QByteArray liesBytes(const QString &pfad);
// Highscore lines "S0 | 0", "S1 | 1", …, the scores counting 0 to 15 over and over.
QByteArray highscoreZeilen(int anzahl);

// Records every box and answers it without waiting: with the queued answers
// first, then with the box's default button, else its first button.
class FakeMessageBoxes : public MessageBoxes {
public:
    QMessageBox::StandardButton zeige(QWidget *parent, const Meldung &meldung) override;

    QVector<Meldung> gezeigt;
    QList<QMessageBox::StandardButton> antworten;
    // Runs while the box is "open", to look at the windows at that moment.
    std::function<void(const Meldung &)> beimZeigen;

    QStringList texte() const { return spalte(&Meldung::text); }
    QStringList titel() const { return spalte(&Meldung::titel); }

private:
    QStringList spalte(QString Meldung::*feld) const;
};

// Plays back queued numbers; when the queue is empty, a fixed sequence.
class FakeRandom : public RandomNumbers {
public:
    void seedFromClock() override { ++seeds; }
    float next() override;

    QList<float> werte;
    int seeds = 0;

private:
    quint32 m_state = 12345u;
};

class FakeFileDialogs : public FileDialogs {
public:
    QString openFileName(QWidget *, const QString &directory, const QString &filter) override
    {
        aufrufe << directory + QLatin1Char('|') + filter;
        return antworten.isEmpty() ? QString() : antworten.takeFirst();
    }
    QString saveFileName(QWidget *parent, const QString &directory, const QString &filter) override
    {
        return openFileName(parent, directory, filter);
    }

    QStringList antworten; // an empty string cancels (open and save alike)
    QStringList aufrufe;   // the folder and the filter of each call
};

class FakeUrlOpener : public UrlOpener {
public:
    bool open(const QUrl &url) override
    {
        geoeffnet << url;
        return ergebnis;
    }
    QList<QUrl> geoeffnet;
    bool ergebnis = true;
};

class FixedAppDirectory : public AppDirectory {
public:
    explicit FixedAppDirectory(QString path = QString()) : m_path(std::move(path)) {}
    QString path() const override { return m_path; }

private:
    QString m_path;
};

// Records what would be read aloud; verfuegbar and grund are set by the test.
class FakeSprache : public Sprachausgabe {
public:
    bool verfuegbar() override { return kann; }
    QString grund() const override { return warumNicht; }
    void sage(const QString &text) override { gesagt << text; }
    void stopp() override { ++stopps; }

    bool kann = true;
    QString warumNicht;
    QStringList gesagt;
    int stopps = 0;
};

// Answers every password question with antwort (nothing: cancelled).
class FakePasswoerter : public Passwoerter {
public:
    std::optional<QString> frage(const QString &wofuer) override { return gefragt << wofuer, antwort; }
    std::optional<QString> antwort = QStringLiteral("geheim");
    QStringList gefragt;
};

// A fresh application directory in a temporary folder with all services
// replaced by doubles and the per-user choices kept in it; restores nothing, each test makes its own.
class TestUmgebung {
    QTemporaryDir m_dir; // first: the application directory below is made from it

public:
    TestUmgebung();
    ~TestUmgebung();

    QString verzeichnis() const { return m_dir.path(); }
    QString datei(const QString &name) const { return m_dir.filePath(name); }

    // Copies a file from tests/data into the folder.
    QString kopiereTestdatei(const QString &name, const QString &ziel = QString());
    // Writes a question database with the rows given.
    QString erzeugeFragen(const QString &name, const QVector<FrageZeile> &zeilen);
    // One question per level 1..15, n per level; texts say level and number.
    static QVector<FrageZeile> fragenJeStufe(int proStufe = 1);

    void schreibeDatei(const QString &name, const QByteArray &bytes);
    QByteArray liesDatei(const QString &name) const { return liesBytes(datei(name)); }

    FakeMessageBoxes meldungen;
    FakeRandom zufall;
    FakeFileDialogs dateiDialoge;
    FakeUrlOpener urls;
    FixedAppDirectory anwendungsverzeichnis;
    FakeSprache sprache;
    FakePasswoerter passwoerter;
};

// Closes and deletes every top-level window, so the next test starts clean
// (closing a game or the editor brings a main window back, so in rounds).
void schliesseAlleFenster();

void klicke(QWidget *w);
// Runs SQL on a new SQLite file (an existing one is replaced).
void sqlDatei(const QString &pfad, const QStringList &befehle);
// The main window with the name typed and the start clicked: the game window, or null.
Form2 *starteSpiel(const QString &name = QStringLiteral("Anna"));
// Opens the question table the game's way (read-only, at most 32,767 rows)
// or the editor's way (client cursor, optimistic, on the first row).
StoreError oeffne(Recordset &rs, const QString &pfad, bool editor);

// Makes a folder read-only for the lifetime of the object: by its
// permissions for an ordinary user, by a read-only bind mount for root (who
// may write anywhere otherwise). aktiv() is false where neither works.
class SchreibschutzOrdner {
public:
    explicit SchreibschutzOrdner(const QString &ordner);
    ~SchreibschutzOrdner();
    bool aktiv() const { return m_aktiv; }

private:
    QString m_ordner;
    bool m_aktiv = false;
    bool m_mount = false;
};

// A small file system for "the disk is full" (64 KiB of tmpfs); as root only.
struct VollerOrdner {
    explicit VollerOrdner(const QString &ordner);
    ~VollerOrdner();
    QByteArray pfad;
    bool aktiv = false;
};
