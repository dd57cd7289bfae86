// Faults around the files: a read-only application folder, a question
// database that goes away under the open editor, and the program killed in
// the middle of its writes. The kills hit a copy of this test program that
// runs one writer in a loop (see schreibschleife below).

#include "basis/appinfo.h"
#include "start/fenster.h"
#include "basis/modvariablen.h"
#include "ui/form2.h"
#include "highscore/highscore.h"
#include "store/recordset.h"
#include "store/settingsfile.h"
#include "testservices.h"
#include "ui/form1.h"
#include "ui/form3.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace {
const QString kLadefehler = QStringLiteral("Die Datei Fragen.mdb exisitiert nicht im Anwendungsverzeichnis!");
const QString kEintragFehlt = QStringLiteral("Der Eintrag für die Highscore konnte nicht gespeichert werden.");
const QString kNichtGespeichert = QStringLiteral("Die Frage wurde nicht gespeichert.");
const QString kNichtGeloescht = QStringLiteral("Die Frage wurde nicht gelöscht.");

void aufraeumen()
{
    for (int runde = 0; runde < 3; ++runde)
        schliesseAlleFenster();
    Verbindung.reset();
}

QByteArray liesBytes(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Version k of a question: every field names k, so a row that holds fields
// of two versions is seen at once.
FrageZeile version(qint64 k)
{
    const QString v = QString::number(k);
    return {QStringLiteral("Frage v") + v, QStringLiteral("Lösung v") + v, QStringLiteral("A1 v") + v,
            QStringLiteral("A2 v") + v, static_cast<int>(k % 15 + 1), QVariant()};
}

QVector<FrageZeile> versionen(int anzahl)
{
    QVector<FrageZeile> zeilen;
    for (int k = 0; k < anzahl; ++k)
        zeilen << version(k);
    return zeilen;
}

// The two settings lines the writer alternates between: a short one and one
// over several pages, so that half of either would show.
QString einstellungA(const QString &ordner) { return ordner + QStringLiteral("/a.mdb"); }
QString einstellungB(const QString &ordner)
{
    return ordner + QLatin1Char('/') + QString(12000, QLatin1Char('b')) + QStringLiteral("ä.mdb");
}

// A highscore name of a length that varies from entry to entry, so that
// lines often cross the boundary of a memory page.
QString highscoreName(qint64 k)
{
    return QStringLiteral("S%1-").arg(k) + QString(static_cast<int>(k * 397 % 1500), QLatin1Char('x'));
}

// -------------------------------------------------- the writer under test

void bereit()
{
    std::fputs("bereit\n", stdout);
    std::fflush(stdout);
}

int einstellungenSchreiben(const QString &ordner)
{
    const QString ini = ordner + QStringLiteral("/Kreidolin.ini");
    for (qint64 k = 0;; ++k) {
        if (const StoreError e = SettingsFile::schreibe(ini, k % 2 ? einstellungA(ordner) : einstellungB(ordner))) {
            std::fprintf(stderr, "%s\n", qPrintable(e.text()));
            return 3;
        }
        if (k == 0)
            bereit();
    }
}

int highscoreSchreiben(const QString &ordner, qint64 start)
{
    const QString pfad = ordner + QStringLiteral("/highscore.dtt");
    for (qint64 k = start;; ++k) {
        if (const StoreError e = Highscore::anhaengen(pfad, highscoreName(k), static_cast<int>(k % 16))) {
            std::fprintf(stderr, "%s\n", qPrintable(e.text()));
            return 3;
        }
        if (k == start)
            bereit();
    }
}

// The editor itself stores: by turns the first question changed and a new
// one, each with all five fields of one version.
int editorSpeichern(int argc, char **argv, const QString &ordner, qint64 start)
{
    QApplication app(argc, argv);
    TestUmgebung u;
    u.anwendungsverzeichnis.setPath(ordner);
    u.meldungen.beimZeigen = [](const Meldung &m) {
        std::fprintf(stderr, "%s\n", qPrintable(m.text));
        std::exit(3);
    };
    Form3 *editor = Fenster::zeige<Form3>();
    if (!editor->datenbankGeladen()) {
        std::fputs("the editor did not load the collection\n", stderr);
        return 3;
    }
    const auto knopf = [editor](const char *name) {
        QTest::mouseClick(editor->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
    };
    const auto feld = [editor](const char *name) { return editor->findChild<QLineEdit *>(QLatin1String(name)); };
    for (qint64 k = start;; ++k) {
        knopf(k % 2 ? "cmdNeu" : "cmdNavigation(0)");
        const FrageZeile z = version(k);
        feld("txtFrage")->setText(z.frage.toString());
        feld("txtLoesung")->setText(z.loesung.toString());
        feld("txtAntwort1")->setText(z.antwort1.toString());
        feld("txtAntwort2")->setText(z.antwort2.toString());
        feld("txtStufe")->setText(z.stufe.toString());
        knopf("cmdUebernehmen");
        if (k == start)
            bereit();
    }
}

int schreibschleife(int argc, char **argv)
{
    const QByteArray art = argv[2];
    const QString ordner = QString::fromLocal8Bit(argv[3]);
    const qint64 start = argc > 4 ? QByteArray(argv[4]).toLongLong() : 0;
    if (art == "einstellungen")
        return einstellungenSchreiben(ordner);
    if (art == "highscore")
        return highscoreSchreiben(ordner, start);
    if (art == "editor")
        return editorSpeichern(argc, argv, ordner, start);
    return 2;
}

// Fields of one row of the question table as text, and the table's health.
struct DatenbankBefund {
    QString integritaet;
    QVector<QStringList> zeilen;
};

DatenbankBefund untersuche(const QString &pfad)
{
    DatenbankBefund b;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        b.integritaet = QStringLiteral("cannot open");
        sqlite3_close(db);
        return b;
    }
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW)
            b.integritaet += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    }
    sqlite3_finalize(st);
    if (sqlite3_prepare_v2(db, "SELECT Frage, Loesung, Antwort1, Antwort2, Stufe FROM fragen ORDER BY rowid", -1, &st,
                           nullptr)
        == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList z;
            for (int i = 0; i < 5; ++i)
                z << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)));
            b.zeilen << z;
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return b;
}
}

class TestFehlerfaelle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    // A read-only folder: a whole game plays to each of its endings, and the player is told the score was not saved.
    void schreibgeschuetzterOrdner_data();
    void schreibgeschuetzterOrdner();
    // A read-only folder: the editor shows the collection and refuses stores with a message; nothing changes.
    void schreibgeschuetzterOrdnerEditor();
    // The database removed or replaced under the open editor: moves work, stores and deletes are refused clearly.
    void datenbankWeg_data();
    void datenbankWeg();
    // Killed while writing the settings file: the file holds one of the two lines, whole.
    void abbruchEinstellungen();
    // Killed while appending to the highscore: the file holds whole lines only.
    void abbruchHighscore();
    // Killed while the editor stores: the database is sound and every row is one version, old or new.
    void abbruchEditor();

private:
    // Starts the writer n times and kills it after a random moment once it
    // has written; pruefe looks at the files after each kill.
    void toete(const QString &art, int anzahl, int hoechstensMs, const std::function<void(int)> &pruefe);

    std::unique_ptr<TestUmgebung> m_u;
};

void TestFehlerfaelle::init()
{
    m_u = std::make_unique<TestUmgebung>();
    m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(1));
}

void TestFehlerfaelle::cleanup()
{
    aufraeumen();
    m_u.reset();
}

void TestFehlerfaelle::schreibgeschuetzterOrdner_data()
{
    QTest::addColumn<int>("bis");      // the level reached before the ending
    QTest::addColumn<QString>("ende"); // "gewonnen", "falsch" or "aufgegeben"
    QTest::addColumn<QString>("text"); // the beginning of the ending's message
    QTest::newRow("won") << 15 << "gewonnen" << "Gratuliere! Du hast das Abitur bestanden!!!";
    QTest::newRow("wrong answer at level 12") << 12 << "falsch" << "Sie haben die Antwort leider falsch beantwortet.";
    QTest::newRow("given up at level 7") << 7 << "aufgegeben" << "Sie haben entschlossen, die Schule abzubrechen.";
}

void TestFehlerfaelle::schreibgeschuetzterOrdner()
{
    QFETCH(int, bis);
    QFETCH(QString, ende);
    QFETCH(QString, text);
    const QStringList vorher = QDir(m_u->verzeichnis()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QByteArray fragen = m_u->liesDatei(QStringLiteral("Fragen.mdb"));
    {
        SchreibschutzOrdner schutz(m_u->verzeichnis());
        struct Freigabe {
            ~Freigabe() { aufraeumen(); }
        } freigabe;
        if (!schutz.aktiv())
            QSKIP("cannot make a folder read-only here");

        Form1 *haupt = Fenster::zeige<Form1>();
        haupt->txt_name->setText(QStringLiteral("Anna"));
        QTest::mouseClick(haupt->cmd_start, Qt::LeftButton);
        Form2 *spiel = Fenster::offen<Form2>();
        QVERIFY(spiel && spiel->isVisible());
        while (spiel->stufe() < bis) {
            QTest::mouseClick(spiel->lblLoesung, Qt::LeftButton);
            QTest::mouseClick(spiel->cmdOK, Qt::LeftButton);
        }
        m_u->meldungen.gezeigt.clear();
        if (ende == QLatin1String("gewonnen")) {
            QTest::mouseClick(spiel->lblLoesung, Qt::LeftButton);
            QTest::mouseClick(spiel->cmdOK, Qt::LeftButton);
        } else if (ende == QLatin1String("falsch")) {
            QTest::mouseClick(spiel->lblAntwort1, Qt::LeftButton);
            QTest::mouseClick(spiel->cmdOK, Qt::LeftButton);
        } else {
            QTest::mouseClick(spiel->cmdGiveUp, Qt::LeftButton);
        }
        QCoreApplication::processEvents();
        const QStringList texte = m_u->meldungen.texte();
        QVERIFY(texte.size() >= 2);
        QVERIFY2(texte[0].startsWith(text), qPrintable(texte[0]));
        QVERIFY2(texte[1].startsWith(kEintragFehlt + QStringLiteral("\r\n")), qPrintable(texte[1]));
        QVERIFY(texte[1].contains(QLatin1String("highscore.dtt")));
        QVERIFY(!Fenster::offen<Form2>());
        QVERIFY(Fenster::offen<Form1>() && Fenster::offen<Form1>()->isVisible());
        QTRY_VERIFY(Fenster::offen<Form1>()->lstHighscore->count() > 0);
        QCOMPARE(Fenster::offen<Form1>()->lstHighscore->item(0)->text(), QStringLiteral("Keine Einträge vorhanden..."));
    }
    QCOMPARE(QDir(m_u->verzeichnis()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), vorher);
    QCOMPARE(m_u->liesDatei(QStringLiteral("Fragen.mdb")), fragen);
}

void TestFehlerfaelle::schreibgeschuetzterOrdnerEditor()
{
    const QStringList vorher = QDir(m_u->verzeichnis()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QByteArray fragen = m_u->liesDatei(QStringLiteral("Fragen.mdb"));
    {
        SchreibschutzOrdner schutz(m_u->verzeichnis());
        struct Freigabe {
            ~Freigabe() { aufraeumen(); }
        } freigabe;
        if (!schutz.aktiv())
            QSKIP("cannot make a folder read-only here");
        Form3 *editor = Fenster::zeige<Form3>();
        QVERIFY(editor->datenbankGeladen());
        // No settings file, and none can be made: the editor says so.
        QCOMPARE(m_u->meldungen.gezeigt.size(), 1);
        QVERIFY(m_u->meldungen.texte().first().startsWith(QStringLiteral("Die Einstellung konnte nicht gespeichert")));
        m_u->meldungen.gezeigt.clear();
        editor->findChild<QLineEdit *>(QStringLiteral("txtFrage"))->setText(QStringLiteral("Geändert"));
        QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdUebernehmen")), Qt::LeftButton);
        m_u->meldungen.antworten = {QMessageBox::Yes};
        QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdLoeschen")), Qt::LeftButton);
        const QStringList texte = m_u->meldungen.texte();
        QCOMPARE(texte.size(), 3);
        QVERIFY2(texte[0].startsWith(kNichtGespeichert), qPrintable(texte[0]));
        QVERIFY2(texte[2].startsWith(kNichtGeloescht), qPrintable(texte[2]));
        QCOMPARE(editor->recordset()->recordCount(), 15);
    }
    QCOMPARE(QDir(m_u->verzeichnis()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), vorher);
    QCOMPARE(m_u->liesDatei(QStringLiteral("Fragen.mdb")), fragen);
}

void TestFehlerfaelle::datenbankWeg_data()
{
    QTest::addColumn<QString>("wie");
    QTest::newRow("removed") << "entfernt";
    QTest::newRow("replaced by another collection") << "andere";
    QTest::newRow("replaced by a text file") << "text";
    QTest::newRow("overwritten in place with text") << "ueberschrieben";
    QTest::newRow("a folder in its place") << "ordner";
}

void TestFehlerfaelle::datenbankWeg()
{
    QFETCH(QString, wie);
    const QString pfad = m_u->datei(QStringLiteral("Fragen.mdb"));
    Form3 *editor = Fenster::zeige<Form3>();
    QVERIFY(editor->datenbankGeladen());
    const auto knopf = [editor](const char *name) {
        QTest::mouseClick(editor->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
    };
    auto *lblNavi = editor->findChild<QLabel *>(QStringLiteral("lblNavi"));
    auto *txtFrage = editor->findChild<QLineEdit *>(QStringLiteral("txtFrage"));

    if (wie == QLatin1String("ueberschrieben")) {
        // The same file, its bytes replaced in place.
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const QByteArray text = QByteArray("kein SQLite mehr\r\n").repeated(1000);
        QVERIFY(f.write(text) == text.size());
        QVERIFY(f.resize(text.size()));
    } else {
        const QString andere = m_u->erzeugeFragen(QStringLiteral("andere.mdb"), versionen(15));
        QVERIFY(QFile::remove(pfad));
        if (wie == QLatin1String("andere"))
            QVERIFY(QFile::rename(andere, pfad));
        else if (wie == QLatin1String("text"))
            m_u->schreibeDatei(QStringLiteral("Fragen.mdb"), "keine Datenbank\r\n");
        else if (wie == QLatin1String("ordner"))
            QVERIFY(QDir().mkdir(pfad));
    }
    const auto bytesDort = [&] { return QFileInfo(pfad).isFile() ? liesBytes(pfad) : QByteArray("keine Datei"); };
    const QByteArray dort = bytesDort();
    const bool existiert = QFileInfo::exists(pfad);

    // Moving through the questions held in memory goes on.
    knopf("cmdNavigation(2)");
    QCOMPARE(lblNavi->text(), QStringLiteral("Frage 2 von 15"));
    knopf("cmdNavigation(3)");
    QCOMPARE(lblNavi->text(), QStringLiteral("Frage 15 von 15"));
    knopf("cmdNavigation(0)");
    QCOMPARE(lblNavi->text(), QStringLiteral("Frage 1 von 15"));
    QVERIFY(m_u->meldungen.gezeigt.isEmpty());

    // A change, a new question and a deletion are each refused with a message.
    txtFrage->setText(QStringLiteral("Geändert"));
    knopf("cmdUebernehmen");
    knopf("cmdNeu");
    for (const char *name : {"txtFrage", "txtLoesung", "txtAntwort1", "txtAntwort2", "txtStufe"})
        editor->findChild<QLineEdit *>(QLatin1String(name))->setText(QStringLiteral("3"));
    knopf("cmdUebernehmen");
    // Moving on leaves the refused new question behind; the first one is deleted.
    knopf("cmdNavigation(0)");
    m_u->meldungen.antworten = {QMessageBox::Yes};
    knopf("cmdLoeschen");
    const QStringList texte = m_u->meldungen.texte();
    QVERIFY2(texte.size() == 4, qPrintable(texte.join(QLatin1Char('|'))));
    QVERIFY2(texte[0].startsWith(kNichtGespeichert), qPrintable(texte[0]));
    QVERIFY2(texte[1].startsWith(kNichtGespeichert), qPrintable(texte[1]));
    QVERIFY2(texte[3].startsWith(kNichtGeloescht), qPrintable(texte[3]));
    const QString grund = wie == QLatin1String("entfernt") ? QStringLiteral("entfernt")
        : wie == QLatin1String("ueberschrieben")           ? QStringLiteral("not a database")
                                                           : QStringLiteral("ersetzt");
    for (int i : {0, 1, 3})
        QVERIFY2(texte[i].contains(grund), qPrintable(texte[i]));
    QCOMPARE(QFileInfo::exists(pfad), existiert);
    QCOMPARE(bytesDort(), dort);
    QCOMPARE(editor->recordset()->recordCount(), 15);

    // The editor goes on: another collection can be chosen and is stored to.
    const QString neu = m_u->erzeugeFragen(QStringLiteral("neu.mdb"), versionen(15));
    m_u->dateiDialoge.antworten = {neu};
    m_u->meldungen.gezeigt.clear();
    knopf("cmd_browse");
    QVERIFY(editor->datenbankGeladen());
    txtFrage->setText(QStringLiteral("Geändert"));
    knopf("cmdUebernehmen");
    QVERIFY2(m_u->meldungen.gezeigt.isEmpty(), qPrintable(m_u->meldungen.texte().join(QLatin1Char('|'))));
    QCOMPARE(untersuche(neu).zeilen.value(0).value(0), QStringLiteral("Geändert"));
}

void TestFehlerfaelle::toete(const QString &art, int anzahl, int hoechstensMs, const std::function<void(int)> &pruefe)
{
    QRandomGenerator zufall(4711);
    int vorzeitig = 0;
    for (int n = 0; n < anzahl; ++n) {
        QProcess p;
        p.setProgram(QCoreApplication::applicationFilePath());
        p.setArguments({QStringLiteral("--schreibschleife"), art, m_u->verzeichnis(),
                        QString::number(qint64(n + 1) * 1000000)});
        p.setProcessChannelMode(QProcess::SeparateChannels);
        p.start();
        QVERIFY2(p.waitForStarted(10000), qPrintable(p.errorString()));
        QByteArray aus;
        while (!aus.contains("bereit") && p.state() == QProcess::Running && p.waitForReadyRead(20000))
            aus += p.readAllStandardOutput();
        QVERIFY2(aus.contains("bereit"), qPrintable(QString::fromLocal8Bit(p.readAllStandardError())));
        QThread::usleep(zufall.bounded(hoechstensMs * 1000));
        if (p.state() != QProcess::Running)
            ++vorzeitig;
        p.kill();
        QVERIFY(p.waitForFinished(10000));
        QVERIFY2(p.exitStatus() == QProcess::CrashExit,
                 qPrintable(QStringLiteral("the writer ended by itself: ")
                            + QString::fromLocal8Bit(p.readAllStandardError())));
        pruefe(n);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(vorzeitig, 0);
}

void TestFehlerfaelle::abbruchEinstellungen()
{
    const QString ordner = m_u->verzeichnis();
    const QString ini = AppInfo::einstellungsdatei();
    const QByteArray a = SettingsFile::kodiere(einstellungA(ordner)) + "\r\n";
    const QByteArray b = SettingsFile::kodiere(einstellungB(ordner)) + "\r\n";
    QVERIFY(!SettingsFile::schreibe(ini, einstellungA(ordner)));
    const QStringList dateien = QDir(ordner).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    int alsA = 0, alsB = 0, reste = 0;
    toete(QStringLiteral("einstellungen"), 120, 15, [&](int n) {
        const QByteArray inhalt = liesBytes(ini);
        QVERIFY2(inhalt == a || inhalt == b, qPrintable(QStringLiteral("after kill %1: %2 bytes").arg(n).arg(inhalt.size())));
        (inhalt == a ? alsA : alsB)++;
        // At most the one half-made new file is left beside it, whatever the number of kills.
        QStringList jetzt = QDir(ordner).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        reste += jetzt.removeAll(QStringLiteral("Kreidolin.ini.neu"));
        QVERIFY2(jetzt == dateien, qPrintable(jetzt.join(QLatin1Char(' '))));
    });
    qInfo("settings file after 120 kills: %d times the short line, %d times the long one; %d times a new file "
          "left beside it", alsA, alsB, reste);
}

void TestFehlerfaelle::abbruchHighscore()
{
    const QString pfad = AppInfo::highscoredatei();
    static const QRegularExpression zeile(QStringLiteral("^S(\\d+)-(x*) \\| (\\d+)$"));
    qint64 vorher = 0;
    toete(QStringLiteral("highscore"), 120, 15, [&](int n) {
        const QByteArray bytes = liesBytes(pfad);
        QVERIFY2(bytes.isEmpty() || bytes.endsWith("\r\n"), qPrintable(QStringLiteral("after kill %1: a torn last line").arg(n)));
        const QList<QByteArray> zeilen = bytes.split('\n');
        QVERIFY(zeilen.last().isEmpty());
        for (int i = 0; i + 1 < zeilen.size(); ++i) {
            QVERIFY(zeilen[i].endsWith('\r'));
            const auto m = zeile.match(QString::fromLatin1(zeilen[i].chopped(1)));
            QVERIFY2(m.hasMatch(), qPrintable(QStringLiteral("after kill %1, line %2 is no whole entry").arg(n).arg(i)));
            const qint64 k = m.captured(1).toLongLong();
            QCOMPARE(m.captured(2).size(), highscoreName(k).size() - m.captured(1).size() - 2);
            QCOMPARE(m.captured(3).toLongLong(), k % 16);
        }
        QVERIFY(zeilen.size() - 1 > vorher);
        vorher = zeilen.size() - 1;
        // The file is kept small; whole lines are what counts.
        if (bytes.size() > (1 << 20)) {
            QVERIFY(!Highscore::leere(pfad));
            vorher = 0;
        }
    });
}

void TestFehlerfaelle::abbruchEditor()
{
    const QString pfad = m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), versionen(15));
    int zeilenVorher = 15;
    toete(QStringLiteral("editor"), 50, 40, [&](int n) {
        const DatenbankBefund b = untersuche(pfad);
        QVERIFY2(b.integritaet == QLatin1String("ok"), qPrintable(QStringLiteral("after kill %1: %2").arg(n).arg(b.integritaet)));
        QVERIFY(b.zeilen.size() >= zeilenVorher);
        zeilenVorher = static_cast<int>(b.zeilen.size());
        static const QRegularExpression frage(QStringLiteral("^Frage v(\\d+)$"));
        for (const QStringList &z : b.zeilen) {
            const auto m = frage.match(z[0]);
            QVERIFY2(m.hasMatch(), qPrintable(z.join(QLatin1Char('|'))));
            const qint64 k = m.captured(1).toLongLong();
            const FrageZeile v = version(k);
            QCOMPARE(z, (QStringList{v.frage.toString(), v.loesung.toString(), v.antwort1.toString(),
                                     v.antwort2.toString(), v.stufe.toString()}));
        }
    });
    qInfo("questions after 50 kills of the storing editor: %d", zeilenVorher);
}

int main(int argc, char **argv)
{
    if (argc >= 4 && qstrcmp(argv[1], "--schreibschleife") == 0)
        return schreibschleife(argc, argv);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestFehlerfaelle tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_fehlerfaelle.moc"
