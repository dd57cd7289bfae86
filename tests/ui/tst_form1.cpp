#include "basis/appinfo.h"
#include "basis/farben.h"
#include "start/fenster.h"
#include "basis/modvariablen.h"
#include "basis/twips.h"
#include "ui/form2.h"
#include "highscore/highscore.h"
#include "testservices.h"
#include "ui/form1.h"
#include "ui/form3.h"
#include "ui/form4.h"
#include "ui/form5.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {
void aufraeumen()
{
    for (int runde = 0; runde < 3; ++runde)
        schliesseAlleFenster();
}

QStringList eintraege(const QListWidget *liste)
{
    QStringList out;
    for (int i = 0; i < liste->count(); ++i)
        out << liste->item(i)->text();
    return out;
}

QByteArray zeilen(int anzahl)
{
    QByteArray bytes;
    for (int i = 0; i < anzahl; ++i)
        bytes += Highscore::kodiereZeile(QStringLiteral("S%1").arg(i), i % 16);
    return bytes;
}

const QString kKeine = QString::fromUtf8("Keine Einträge vorhanden...");
}

class TestForm1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    // The window carries every control and menu entry with its name, caption, font, colour and place.
    void aufbau();
    // One character enables the start button, deleting it disables it; blanks count as a name;
    // while a game runs no other is started.
    void startknopf();
    // Enter starts a game also with an empty name box; the caption then has nothing after "Spieler: ".
    void enterImLeerenFeld();
    // A name with umlauts reaches the game window unchanged, and the main window closes.
    void nameMitUmlauten();
    // The list shows the file's entries best first with their texts, or "Keine Einträge vorhanden...".
    void liste_data();
    void liste();
    // A missing file is created empty by the first rebuild.
    void fehlendeDateiAngelegt();
    // Warning at exactly 1000 entries at every rebuild; the next game's entry gets the file emptied.
    void warngrenze_data();
    void warngrenze();
    void warnungHaeltVersprechen();
    // Activation and "Akt&ualisieren" rebuild the list from the file.
    void aktivierungBautNeu();
    // Getting the focus back from the window's own message box is no new activation.
    void meldungIstKeineAktivierung();
    // The menu opens the editor, info and instructions windows; "B&eenden" and "Spiel b&eenden" close.
    void menue_data();
    void menue();
    // A read-only folder: the missing list is reported once per window, and a list that cannot be
    // emptied is reported and still shown.
    void schreibschutz();
    // A failed load leaves the editor open and closes the main window.
    void ladefehler();

private:
    Form1 *zeige()
    {
        Form1 *haupt = Fenster::zeige<Form1>();
        QCoreApplication::processEvents();
        return haupt;
    }

    std::unique_ptr<TestUmgebung> m_u;
};

void TestForm1::init()
{
    m_u = std::make_unique<TestUmgebung>();
    m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(1));
}

void TestForm1::cleanup()
{
    aufraeumen();
    Verbindung.reset();
    m_u.reset();
}

void TestForm1::aufbau()
{
    Form1 *haupt = zeige();
    QCOMPARE(haupt->objectName(), QStringLiteral("Form1"));
    QCOMPARE(haupt->windowTitle(), QStringLiteral("Kreidolin"));
    QVERIFY(!(haupt->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(haupt->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!haupt->windowIcon().isNull());
    QCOMPARE(haupt->centralWidget()->size(), QSize(Twips::zuPixelX(3150), Twips::zuPixelY(6225)));
    QCOMPARE(haupt->centralWidget()->palette().color(QPalette::Window), Farben::desktop());

    QCOMPARE(haupt->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Bitte Name eingeben:"));
    QCOMPARE(haupt->Label1->geometry(), Twips::rechteck(120, 240, 2415, 375));
    QCOMPARE(haupt->Label1->font().family(), QStringLiteral("Verdana"));
    QVERIFY(haupt->Label1->font().bold());
    QCOMPARE(haupt->Label1->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    QVERIFY(!haupt->Label1->autoFillBackground());

    QVERIFY(haupt->findChild<QLineEdit *>(QStringLiteral("txt_name")));
    QVERIFY(haupt->txt_name->text().isEmpty());
    QCOMPARE(haupt->txt_name->geometry(), Twips::rechteck(120, 480, 2955, 285));

    QCOMPARE(haupt->findChild<QPushButton *>(QStringLiteral("cmd_start"))->text(), QStringLiteral("Spiel &beginnen"));
    QVERIFY(!haupt->cmd_start->isEnabled());
    QCOMPARE(haupt->cmd_start->palette().color(QPalette::Button), QColor(0, 128, 0));
    QCOMPARE(haupt->cmd_start->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(haupt->cmd_start->font().pointSizeF(), 9.75);
    QCOMPARE(haupt->cmd_start->geometry(), Twips::rechteck(120, 840, 2955, 375));

    QCOMPARE(haupt->findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("Highscore"));
    QCOMPARE(haupt->Label2->palette().color(QPalette::WindowText), QColor(128, 255, 255));
    QCOMPARE(haupt->Label2->geometry(), Twips::rechteck(60, 1440, 3015, 375));

    QVERIFY(haupt->findChild<QListWidget *>(QStringLiteral("lstHighscore")));
    QVERIFY(!haupt->lstHighscore->isSortingEnabled());
    QCOMPARE(haupt->lstHighscore->geometry(), Twips::rechteck(60, 1800, 3015, 3570));

    QCOMPARE(haupt->findChild<QPushButton *>(QStringLiteral("Command1"))->text(), QStringLiteral("Spiel b&eenden"));
    QCOMPARE(haupt->Command1->geometry(), Twips::rechteck(120, 5580, 2895, 435));

    // Tab order: name, start, list, end.
    const auto naechstes = [](QWidget *w) {
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus);
        return w;
    };
    QCOMPARE(naechstes(haupt->txt_name), haupt->cmd_start);
    QCOMPARE(naechstes(haupt->cmd_start), haupt->lstHighscore);
    QCOMPARE(naechstes(haupt->lstHighscore), haupt->Command1);

    // Menu: "&Datei" with two entries, three entries that act directly, no shortcuts.
    const QList<QAction *> leiste = haupt->menuBar()->actions();
    QCOMPARE(leiste.size(), 4);
    QCOMPARE(leiste[0]->text(), QStringLiteral("&Datei"));
    QCOMPARE(leiste[0]->menu(), haupt->menuDatei);
    QCOMPARE(haupt->menuDatei->objectName(), QStringLiteral("menuDatei"));
    QCOMPARE(haupt->menuDatei->actions(), (QList<QAction *>{haupt->menuFragen, haupt->menuEnd}));
    const struct {
        QAction *action;
        const char *name;
        QString text;
    } eintraege[] = {{haupt->menuFragen, "menuFragen", QString::fromUtf8("Fragen einfügen")},
                     {haupt->menuEnd, "menuEnd", "B&eenden"},
                     {leiste[1], "menuHighscore", "Akt&ualisieren"},
                     {leiste[2], "menuInfo", "&Info"},
                     {leiste[3], "menuAnleitung", "&Anleitung"}};
    for (const auto &e : eintraege) {
        QCOMPARE(e.action->objectName(), QLatin1String(e.name));
        QCOMPARE(e.action->text(), e.text);
        QVERIFY(e.action->shortcut().isEmpty());
        QVERIFY(!e.action->menu());
    }
}

void TestForm1::startknopf()
{
    Form1 *haupt = zeige();
    QTest::keyClicks(haupt->txt_name, QStringLiteral("A"));
    QVERIFY(haupt->cmd_start->isEnabled());
    QTest::keyClick(haupt->txt_name, Qt::Key_Backspace);
    QVERIFY(!haupt->cmd_start->isEnabled());
    QTest::keyClicks(haupt->txt_name, QStringLiteral("  "));
    QVERIFY(haupt->cmd_start->isEnabled());
    QTest::mouseClick(haupt->cmd_start, Qt::LeftButton);
    Form2 *spiel = Fenster::offen<Form2>();
    QVERIFY(spiel);
    QCOMPARE(spiel->lblPlayer->text(), QStringLiteral("  "));
    // Back in the main window through the editor while the game runs: no
    // second game is offered, and Enter does not rename the running one.
    Fenster::zeige<Form3>()->close();
    haupt = Fenster::offen<Form1>();
    QTest::keyClicks(haupt->txt_name, QStringLiteral("Bea"));
    QVERIFY(!haupt->cmd_start->isEnabled());
    QTest::keyClick(haupt->txt_name, Qt::Key_Return);
    QCOMPARE(Fenster::offen<Form2>(), spiel);
    QCOMPARE(spiel->lblPlayer->text(), QStringLiteral("  "));
    QTest::mouseClick(spiel->cmdGiveUp, Qt::LeftButton);
    QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), QByteArray("   | 0\r\n"));
    QTRY_VERIFY(haupt->cmd_start->isEnabled());
}

void TestForm1::enterImLeerenFeld()
{
    Form1 *haupt = zeige();
    QVERIFY(!haupt->cmd_start->isEnabled());
    QTest::keyClick(haupt->txt_name, Qt::Key_Return);
    Form2 *spiel = Fenster::offen<Form2>();
    QVERIFY(spiel);
    QVERIFY(spiel->isVisible());
    QCOMPARE(spiel->windowTitle(), QStringLiteral("Spieler:   |||  Momentaner Stand: 1. Klasse"));
    QVERIFY(spiel->lblPlayer->text().isEmpty());
    QVERIFY(!Fenster::offen<Form1>());
    // The empty name goes into the highscore as such.
    QTest::mouseClick(spiel->cmdGiveUp, Qt::LeftButton);
    QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), QByteArray(" | 0\r\n"));
    Form1 *neu = Fenster::offen<Form1>();
    QVERIFY(neu);
    neu->menuHighscore_Click();
    QCOMPARE(eintraege(neu->lstHighscore), QStringList{"1 :   -  0 Punkte"});
}

void TestForm1::nameMitUmlauten()
{
    Form1 *haupt = zeige();
    for (const QChar c : QString::fromUtf8("Jürgen Spaß"))
        QTest::sendKeyEvent(QTest::Click, haupt->txt_name, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::mouseClick(haupt->cmd_start, Qt::LeftButton);
    Form2 *spiel = Fenster::offen<Form2>();
    QVERIFY(spiel);
    QCOMPARE(spiel->lblPlayer->text(), QString::fromUtf8("Jürgen Spaß"));
    QCOMPARE(spiel->windowTitle(), QString::fromUtf8("Spieler: Jürgen Spaß  |||  Momentaner Stand: 1. Klasse"));
    QVERIFY(!Fenster::offen<Form1>());
}

void TestForm1::liste_data()
{
    QTest::addColumn<QByteArray>("datei");
    QTest::addColumn<QStringList>("liste");
    QTest::newRow("empty file") << QByteArray() << QStringList{kKeine};
    QTest::newRow("one") << QByteArray("x | 10\r\n") << QStringList{"1 : x  -  10 Punkte"};
    QTest::newRow("ties") << QByteArray("a | 5\r\nb | 5\r\nc | 0\r\n")
                          << QStringList{"1 : b  -  5 Punkte", "2 : a  -  5 Punkte", "3 : c  -  0 Punkte"};
    QTest::newRow("empty name") << QByteArray(" | 5\r\n") << QStringList{"1 :   -  5 Punkte"};
    QTest::newRow("three fields") << QByteArray("x | 5 | y\r\n") << QStringList{"1 : x  -  5 Punkte"};
    QTest::newRow("name with separator") << QByteArray("a | b | 7\r\n") << QStringList{"1 : a | b  -  7 Punkte"};
    QTest::newRow("no entry lines") << QByteArray("Kommentar\r\n\r\nx | y\r\n") << QStringList{kKeine};
    QTest::newRow("mixed") << QByteArray("Kommentar\r\nJ\xfcrgen | 3\r\n\xc5\x81ukasz | 12\r\n")
                           << QStringList{QString::fromUtf8("1 : Łukasz  -  12 Punkte"),
                                          QString::fromUtf8("2 : Jürgen  -  3 Punkte")};
}

void TestForm1::liste()
{
    QFETCH(QByteArray, datei);
    QFETCH(QStringList, liste);
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), datei);
    Form1 *haupt = zeige();
    haupt->menuHighscore_Click();
    QCOMPARE(eintraege(haupt->lstHighscore), liste);
    QVERIFY(m_u->meldungen.gezeigt.isEmpty());
    QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), datei);
}

void TestForm1::fehlendeDateiAngelegt()
{
    Form1 *haupt = zeige();
    haupt->menuHighscore_Click();
    QCOMPARE(eintraege(haupt->lstHighscore), QStringList{kKeine});
    QVERIFY(QFile::exists(AppInfo::highscoredatei()));
    QCOMPARE(QFile(AppInfo::highscoredatei()).size(), 0);
    QVERIFY(m_u->meldungen.gezeigt.isEmpty());
}

void TestForm1::warngrenze_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<bool>("warnung");
    QTest::addColumn<int>("eintraege");
    QTest::addColumn<bool>("geleert");
    QTest::newRow("999") << 999 << false << 999 << false;
    QTest::newRow("1000") << 1000 << true << 1000 << false;
    QTest::newRow("1001") << 1001 << false << 0 << true;
}

void TestForm1::warngrenze()
{
    QFETCH(int, anzahl);
    QFETCH(bool, warnung);
    QFETCH(int, eintraege);
    QFETCH(bool, geleert);
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), zeilen(anzahl));
    Form1 *haupt = zeige();
    QStringList waehrendWarnung;
    m_u->meldungen.beimZeigen = [&](const Meldung &) { waehrendWarnung = ::eintraege(haupt->lstHighscore); };
    for (int mal = 1; mal <= 2; ++mal) {
        m_u->meldungen.gezeigt.clear();
        haupt->menuHighscore->trigger();
        if (warnung) {
            QCOMPARE(m_u->meldungen.gezeigt.size(), 1);
            QCOMPARE(m_u->meldungen.gezeigt[0].titel, QStringLiteral("Kreidolin"));
            QCOMPARE(m_u->meldungen.gezeigt[0].text,
                     QString::fromUtf8("Beim nächsten Spiel wird die Highscoreliste gelöscht!"));
            QCOMPARE(m_u->meldungen.gezeigt[0].knoepfe, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(waehrendWarnung, QStringList{kKeine});
        } else {
            QVERIFY(m_u->meldungen.gezeigt.isEmpty());
        }
        if (geleert) {
            QCOMPARE(::eintraege(haupt->lstHighscore), QStringList{kKeine});
            QCOMPARE(QFile(AppInfo::highscoredatei()).size(), 0);
            break;
        }
        QCOMPARE(haupt->lstHighscore->count(), eintraege);
        QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), zeilen(anzahl));
    }
}

void TestForm1::warnungHaeltVersprechen()
{
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), zeilen(1000));
    Form1 *haupt = zeige();
    haupt->menuHighscore_Click();
    QCOMPARE(m_u->meldungen.gezeigt.last().text,
             QString::fromUtf8("Beim nächsten Spiel wird die Highscoreliste gelöscht!"));
    QTest::keyClick(haupt->txt_name, Qt::Key_Return);
    Form2 *spiel = Fenster::offen<Form2>();
    QVERIFY(spiel);
    QTest::mouseClick(spiel->cmdGiveUp, Qt::LeftButton);
    Form1 *neu = Fenster::offen<Form1>();
    QVERIFY(neu);
    neu->menuHighscore_Click();
    QCOMPARE(eintraege(neu->lstHighscore), QStringList{kKeine});
    QCOMPARE(QFile(AppInfo::highscoredatei()).size(), 0);
}

void TestForm1::aktivierungBautNeu()
{
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), "x | 10\r\n");
    Form1 *haupt = Fenster::zeige<Form1>();
    QApplication::setActiveWindow(haupt);
    QVERIFY(QTest::qWaitForWindowActive(haupt));
    QTRY_COMPARE(eintraege(haupt->lstHighscore), QStringList{"1 : x  -  10 Punkte"});
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), "x | 10\r\ny | 12\r\n");
    haupt->menuHighscore->trigger();
    QCOMPARE(eintraege(haupt->lstHighscore), (QStringList{"1 : y  -  12 Punkte", "2 : x  -  10 Punkte"}));

    // Coming back from another window is an activation.
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), "z | 1\r\n");
    QWidget anderes;
    anderes.show();
    QApplication::setActiveWindow(&anderes);
    QTRY_VERIFY(!haupt->isActiveWindow());
    QApplication::setActiveWindow(haupt);
    QTRY_COMPARE(eintraege(haupt->lstHighscore), QStringList{"1 : z  -  1 Punkte"});
}

void TestForm1::meldungIstKeineAktivierung()
{
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), "x | 10\r\n");
    Form1 *haupt = Fenster::zeige<Form1>();
    QApplication::setActiveWindow(haupt);
    QTRY_COMPARE(haupt->lstHighscore->count(), 1);
    QTRY_VERIFY(haupt->isActiveWindow());
    // Let any activation still queued by the platform arrive first.
    QTest::qWait(100);

    // A modal box of the main window takes the focus and gives it back.
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), "x | 10\r\ny | 3\r\n");
    auto *box = new QDialog(haupt);
    box->setModal(true);
    box->show();
    QApplication::setActiveWindow(box);
    QTRY_VERIFY(!haupt->isActiveWindow());
    box->close();
    delete box;
    QApplication::setActiveWindow(haupt);
    QTRY_VERIFY(haupt->isActiveWindow());
    QCoreApplication::processEvents();
    QCOMPARE(haupt->lstHighscore->count(), 1);

    // Any later activation rebuilds again.
    QWidget anderes;
    anderes.show();
    QApplication::setActiveWindow(&anderes);
    QTRY_VERIFY(!haupt->isActiveWindow());
    QApplication::setActiveWindow(haupt);
    QTRY_COMPARE(haupt->lstHighscore->count(), 2);
}

void TestForm1::menue_data()
{
    QTest::addColumn<QString>("eintrag");
    QTest::newRow("Fragen einfügen") << "menuFragen";
    QTest::newRow("Info") << "menuInfo";
    QTest::newRow("Anleitung") << "menuAnleitung";
    QTest::newRow("Datei/Beenden") << "menuEnd";
    QTest::newRow("Spiel beenden") << "Command1";
}

void TestForm1::menue()
{
    QFETCH(QString, eintrag);
    Form1 *haupt = zeige();
    if (eintrag == QLatin1String("Command1"))
        QTest::mouseClick(haupt->Command1, Qt::LeftButton);
    else
        haupt->findChild<QAction *>(eintrag)->trigger();
    QCOMPARE(Fenster::offen<Form3>() != nullptr, eintrag == QLatin1String("menuFragen"));
    QCOMPARE(Fenster::offen<Form4>() != nullptr, eintrag == QLatin1String("menuInfo"));
    QCOMPARE(Fenster::offen<Form5>() != nullptr, eintrag == QLatin1String("menuAnleitung"));
    const bool schliesst = eintrag == QLatin1String("menuEnd") || eintrag == QLatin1String("Command1");
    QCOMPARE(Fenster::offen<Form1>() == nullptr, schliesst);
    if (!schliesst)
        QVERIFY(haupt->isVisible());
}

void TestForm1::schreibschutz()
{
    {
        SchreibschutzOrdner schutz(m_u->verzeichnis());
        struct Freigabe {
            ~Freigabe() { aufraeumen(); }
        } freigabe;
        if (!schutz.aktiv())
            QSKIP("cannot make a folder read-only here");
        // However often the list is rebuilt, the window tells it once.
        Form1 *haupt = zeige();
        haupt->menuHighscore_Click();
        haupt->menuHighscore_Click();
        QCOMPARE(m_u->meldungen.gezeigt.size(), 1);
        QVERIFY(m_u->meldungen.gezeigt[0].text.startsWith(
            QStringLiteral("Die Highscoreliste kann nicht angezeigt werden.\r\n")));
        QCOMPARE(eintraege(haupt->lstHighscore), QStringList{kKeine});
    }
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), zeilen(1001));
    QFile::setPermissions(AppInfo::highscoredatei(), QFile::ReadOwner);
    {
        SchreibschutzOrdner schutz(m_u->verzeichnis());
        struct Freigabe {
            ~Freigabe() { aufraeumen(); }
        } freigabe;
        Form1 *haupt = zeige();
        m_u->meldungen.gezeigt.clear();
        haupt->menuHighscore_Click();
        QCOMPARE(m_u->meldungen.gezeigt.size(), 1);
        QVERIFY(m_u->meldungen.gezeigt[0].text.startsWith(
            QString::fromUtf8("Die Highscoreliste konnte nicht gelöscht werden.\r\n")));
        QCOMPARE(haupt->lstHighscore->count(), 1001);
        QCOMPARE(haupt->lstHighscore->item(0)->text(), QStringLiteral("1 : S15  -  15 Punkte"));
    }
    QFile::setPermissions(AppInfo::highscoredatei(), QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), zeilen(1001));
}

void TestForm1::ladefehler()
{
    QFile::remove(m_u->datei(QStringLiteral("Fragen.mdb")));
    Form1 *haupt = zeige();
    haupt->txt_name->setText(QStringLiteral("Anna"));
    QTest::mouseClick(haupt->cmd_start, Qt::LeftButton);
    QCOMPARE(m_u->meldungen.texte(),
             QStringList{"Die Datei Fragen.mdb exisitiert nicht im Anwendungsverzeichnis!"});
    QVERIFY(!Fenster::offen<Form1>());
    QVERIFY(!Fenster::offen<Form2>());
    QVERIFY(Fenster::offen<Form3>());
    // Some window is always left open.
    bool sichtbar = false;
    for (QWidget *w : QApplication::topLevelWidgets())
        sichtbar = sichtbar || (w->isVisible() && w->isWindow());
    QVERIFY(sichtbar);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
