// The main window, the splash window and the windows the menu opens: what
// starts a game, what each menu entry leads to, how the splash window leads on.

#include "basis/services.h"
#include "start/start.h"
#include "testservices.h"
#include "ui/form4.h"
#include "ui/form5.h"
#include "ui/frmsplash.h"

#include <QPointer>
#include <QTextBlock>
#include <QTextEdit>

class TestFenster : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { schliesseAlleFenster(); }
    // A name enables the start; Return starts even with an empty name, which is recorded as such;
    // while a game runs no other starts.
    void namensfeld()
    {
        TestUmgebung u;
        u.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(1));
        Form1 *haupt = Fenster::zeige<Form1>();
        QTest::keyClicks(haupt->txt_name, QStringLiteral("A"));
        QVERIFY(haupt->cmd_start->isEnabled());
        QTest::keyClick(haupt->txt_name, Qt::Key_Backspace);
        QVERIFY(!haupt->cmd_start->isEnabled());
        QTest::keyClick(haupt->txt_name, Qt::Key_Return);
        Form2 *spiel = Fenster::offen<Form2>();
        QVERIFY(spiel && spiel->isVisible() && !Fenster::offen<Form1>());
        // Back in the main window through the editor while the game runs: no second
        // game; Enter brings the running one to the front, with its first player.
        const QString spieler = spiel->lblPlayer->text();
        Fenster::zeige<Form3>()->close();
        haupt = Fenster::offen<Form1>();
        QTest::keyClicks(haupt->txt_name, QStringLiteral("Bea"));
        QVERIFY(!haupt->cmd_start->isEnabled());
        QTest::keyClick(haupt->txt_name, Qt::Key_Return);
        QCOMPARE(Fenster::offen<Form2>(), spiel);
        QTRY_VERIFY(QApplication::activeWindow() == spiel);
        QCOMPARE(spiel->lblPlayer->text(), spieler);
        klicke(spiel->cmdGiveUp);
        QCOMPARE(u.liesDatei(QStringLiteral("highscore.dtt")), QByteArray(" | 0\r\n"));
        QTRY_VERIFY(Fenster::offen<Form1>()->lstHighscore->count() > 0); // built one turn after the activation
        QCOMPARE(Fenster::offen<Form1>()->lstHighscore->item(0)->text(), QStringLiteral("1 :   -  0 Punkte"));
    }
    // Each menu entry opens its window once, or ends the program.
    void menue_data()
    {
        QTest::addColumn<QString>("eintrag");
        QTest::newRow("Fragen einfügen") << "menuFragen";
        QTest::newRow("Info") << "menuInfo";
        QTest::newRow("Anleitung") << "menuAnleitung";
        QTest::newRow("Datei/Beenden") << "menuEnd";
        QTest::newRow("Spiel beenden") << "Command1";
    }
    void menue()
    {
        QFETCH(QString, eintrag);
        TestUmgebung u;
        Form1 *haupt = Fenster::zeige<Form1>();
        for (int mal = 0; mal < 2 && Fenster::offen<Form1>(); ++mal) {
            if (eintrag == QLatin1String("Command1"))
                klicke(haupt->Command1);
            else
                haupt->findChild<QAction *>(eintrag)->trigger();
        }
        int offen = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            offen += w->isVisible() && w->objectName() == QLatin1String(eintrag == "menuFragen" ? "Form3" : eintrag == "menuInfo" ? "Form4" : "Form5");
        QCOMPARE(offen, eintrag.startsWith(QLatin1String("menu")) && eintrag != QLatin1String("menuEnd") ? 1 : 0);
        QCOMPARE(Fenster::offen<Form1>() == nullptr, eintrag == QLatin1String("menuEnd") || eintrag == QLatin1String("Command1"));
        if (Form5 *anleitung = Fenster::offen<Form5>()) { // the text begins at once; its mail link opens the address
            QVERIFY(!anleitung->findChild<QTextEdit *>()->document()->firstBlock().text().isEmpty());
            QLabel *mail = anleitung->findChild<QWidget *>(QStringLiteral("MailMorlon1"))->findChild<QLabel *>();
            QTest::mousePress(mail, Qt::LeftButton); // pressed, then let go beside it: no click
            QTest::mouseRelease(mail, Qt::LeftButton, Qt::NoModifier, QPoint(-3, -3));
            QVERIFY(u.urls.geoeffnet.isEmpty());
            klicke(mail);
            QCOMPARE(u.urls.geoeffnet.value(0), QUrl(QStringLiteral("mailto:team@kreidolin.example")));
        }
        if (Form4 *info = Fenster::offen<Form4>()) {
            info->cmdOK_Click();
            QVERIFY(!Fenster::offen<Form4>() && haupt->isVisible());
        }
    }
    // The program starts with the splash window; its timer, a click or a typing key lead to the main window.
    void splash_data()
    {
        QTest::addColumn<QString>("weg");
        QTest::newRow("timer") << "timer";
        QTest::newRow("click on the window") << "klick";
        QTest::newRow("typing key") << "taste";
    }
    void splash()
    {
        QFETCH(QString, weg);
        TestUmgebung u;
        Services::setSplashIntervalMs(weg == QLatin1String("timer") ? 50 : 60000);
        Start::ersterFenster();
        QPointer<frmSplash> splash = Fenster::offen<frmSplash>();
        QVERIFY(splash && splash->isVisible() && !Fenster::offen<Form1>());
        if (weg == QLatin1String("klick"))
            QTest::mouseClick(splash.data(), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        else if (weg != QLatin1String("timer"))
            QTest::keyClick(splash.data(), Qt::Key_A);
        QTRY_VERIFY(Fenster::offen<Form1>() && Fenster::offen<Form1>()->isVisible());
        QTRY_VERIFY(splash.isNull());
        QVERIFY(u.urls.geoeffnet.isEmpty());
        Services::setSplashIntervalMs(60000);
    }
};

QTEST_MAIN(TestFenster)
#include "tst_fenster.moc"
