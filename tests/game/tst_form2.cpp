// The game window from the first question to each of its endings: the
// message, the highscore line byte for byte, the jokers and the poll; and
// for the classroom: keys, projector view, reading aloud, screen readers.

#include "testservices.h"

#include "basis/twips.h"
#include "basis/vorlieben.h"

#include <QAccessible>
#include <QGroupBox>
#include <QMenu>

#include <memory>

namespace {
QString stufenZeilen(const QString &text, int punkte)
{
    return text + QStringLiteral("\r\nStufe: %1\r\nSie wurden in der Highscore vermerkt!").arg(punkte);
}
QString falsch(const QString &ende)
{
    return QStringLiteral("Sie haben die Antwort leider falsch beantwortet. Leider haben Sie zuviel riskiert und ")
        + ende;
}
}

class TestForm2 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_u = std::make_unique<TestUmgebung>();
        m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(1));
    }
    void cleanup() { m_u.reset(); }
    // Each ending: its one message (shown before the main window comes back), then the line, then the main window.
    void enden_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("stufe");      // the level the ending happens at
        QTest::addColumn<QString>("aktion"); // what the player does there
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("text");   // empty: no message
        QTest::addColumn<QByteArray>("zeile"); // the line appended to "alt | 3\r\n"
        const QString spiel = QStringLiteral("Kreidolin-Message");
        const QString vorschule = falsch(QStringLiteral("müssen noch einmal auf die Vorschule...!"));
        const QString fuenf = falsch(QStringLiteral("bleiben in der 5. Klasse sitzen...!"));
        const QString zehn = falsch(QStringLiteral("bleiben in der 10. Klasse sitzen...!"));
        const QString abbruch = QStringLiteral("Sie haben entschlossen, die Schule abzubrechen. Wenn Sie mögen, starten Sie "
                                               "das Spiel erneut...!");
        QTest::newRow("won") << "Anna" << 15 << "lblLoesung" << "Kreidolin Message"
                             << "Gratuliere! Du hast das Abitur bestanden!!!\r\nFolgende Daten werden in der Highscore "
                                "gespeichert:\r\nSpieler: Anna\r\n15 Punkte"
                             << QByteArray("Anna | 15\r\n");
        QTest::newRow("wrong at 1") << "Jürgen" << 1 << "lblAntwort1" << spiel << stufenZeilen(vorschule, 0)
                                    << QByteArray("J\xfcrgen | 0\r\n");
        QTest::newRow("wrong at 5") << "Anna" << 5 << "lblAntwort1" << spiel << stufenZeilen(fuenf, 5)
                                    << QByteArray("Anna | 5\r\n");
        QTest::newRow("wrong at 10") << "Anna" << 10 << "lblAntwort1" << spiel << stufenZeilen(zehn, 10)
                                     << QByteArray("Anna | 10\r\n");
        QTest::newRow("wrong at 15") << "Иван" << 15 << "lblAntwort2" << spiel << stufenZeilen(zehn, 10)
                                     << QByteArray("\xef\xbb\xbf\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd | 10\r\n");
        // A chosen answer struck by 50:50 stays chosen; confirming it is wrong.
        QTest::newRow("50:50 on the chosen answer") << "Anna" << 6 << "cmdFifty" << spiel << stufenZeilen(fuenf, 5)
                                                    << QByteArray("Anna | 5\r\n");
        QTest::newRow("second 50:50 on the chosen answer") << "Anna" << 2 << "cmdFifty2" << spiel
                                                           << stufenZeilen(vorschule, 0) << QByteArray("Anna | 0\r\n");
        QTest::newRow("given up at 1") << "Anna" << 1 << "cmdGiveUp" << spiel << stufenZeilen(abbruch, 0)
                                       << QByteArray("Anna | 0\r\n");
        QTest::newRow("given up at 10") << "Anna" << 10 << "cmdGiveUp" << spiel << stufenZeilen(abbruch, 9)
                                        << QByteArray("Anna | 9\r\n");
        QTest::newRow("no question for level 3")
            << "Anna" << 3 << "keine" << spiel
            << stufenZeilen(QStringLiteral("In der Fragendatenbank gibt es keine Frage für die Stufe 3 (3. Klasse). "
                                           "Das Spiel endet hier."),
                            2)
            << QByteArray("Anna | 2\r\n");
        QTest::newRow("B&eenden") << "Anna" << 3 << "cmdEnd" << QString() << QString() << QByteArray();
        QTest::newRow("close box") << "Anna" << 3 << "close" << QString() << QString() << QByteArray();
    }
    void enden()
    {
        QFETCH(QString, name);
        QFETCH(int, stufe);
        QFETCH(QString, aktion);
        QFETCH(QString, titel);
        QFETCH(QString, text);
        QFETCH(QByteArray, zeile);
        const bool keine = aktion == QLatin1String("keine"); // the right answer before the missing level
        if (keine) {
            aktion = QStringLiteral("lblLoesung");
            QVector<FrageZeile> zeilen = TestUmgebung::fragenJeStufe(1);
            zeilen.removeIf([&](const FrageZeile &z) { return z.stufe.toInt() == stufe; });
            m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), zeilen);
        }
        m_u->schreibeDatei(QStringLiteral("highscore.dtt"), "alt | 3\r\n");
        Form2 *spiel = starteSpiel(name);
        QVERIFY(spiel);
        QCOMPARE(m_u->zufall.seeds, 1);
        while (spiel->stufe() < stufe - (keine ? 1 : 0)) {
            QCOMPARE(spiel->lblFrage->text(), QStringLiteral("Frage S%1N1").arg(spiel->stufe()));
            QCOMPARE(spiel->lblFrageNr->text(), QString::number(spiel->stufe()));
            QCOMPARE(spiel->windowTitle(), Spielregeln::fensterTitel(name, Spielregeln::stufenName(spiel->stufe())));
            QCOMPARE(spiel->lblLoesung->x(), spiel->Label5[spiel->reihenfolge()[0]]->x());
            klicke(spiel->lblAntwort1); // a wrong answer chosen first and the solution after it counts as right
            klicke(spiel->lblLoesung);
            klicke(spiel->cmdOK);
            QCOMPARE(m_u->meldungen.texte().last(), QStringLiteral("Richtig!"));
        }
        m_u->meldungen.gezeigt.clear();
        bool vorDemHauptfenster = true;
        m_u->meldungen.beimZeigen = [&](const Meldung &) {
            vorDemHauptfenster = !Fenster::offen<Form1>() && m_u->liesDatei(QStringLiteral("highscore.dtt")) == "alt | 3\r\n";
        };
        if (aktion == QLatin1String("close")) {
            spiel->close();
        } else if (aktion.startsWith(QLatin1String("cmdFifty"))) {
            auto *gewaehlt = aktion == QLatin1String("cmdFifty") ? spiel->lblAntwort2 : spiel->lblAntwort1;
            klicke(gewaehlt);
            klicke(spiel->findChild<QPushButton *>(aktion));
            QVERIFY(!gewaehlt->isVisible());
            klicke(gewaehlt); // struck: no longer chosen by a click, still chosen from before
            QVERIFY(spiel->cmdOK->isEnabled());
            klicke(spiel->cmdOK);
        } else if (aktion.startsWith(QLatin1String("lbl"))) {
            klicke(spiel->findChild<QLabel *>(aktion));
            klicke(spiel->cmdOK);
        } else {
            klicke(spiel->findChild<QPushButton *>(aktion));
        }
        if (keine)
            m_u->meldungen.gezeigt.removeFirst();
        QCOMPARE(m_u->meldungen.texte() + m_u->meldungen.titel(),
                 text.isEmpty() ? QStringList() : (QStringList{text, titel}));
        QVERIFY(vorDemHauptfenster);
        QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), QByteArray("alt | 3\r\n") + zeile);
        QVERIFY(!Fenster::offen<Form2>());
        Form1 *haupt = Fenster::offen<Form1>();
        QVERIFY(haupt && haupt->isVisible());
        QVERIFY(haupt->txt_name->text().isEmpty() && !haupt->cmd_start->isEnabled());
    }
    // Each joker works once per game; struck answers come back with the next question.
    void joker()
    {
        Form2 *spiel = starteSpiel();
        QVERIFY(spiel);
        klicke(spiel->cmdFifty);
        klicke(spiel->cmdFifty2);
        QVERIFY(!spiel->lblAntwort1->isVisible() && !spiel->lblAntwort2->isVisible());
        QVERIFY(spiel->lblLoesung->isVisible());
        klicke(spiel->lblLoesung);
        klicke(spiel->cmdOK);
        QCOMPARE(spiel->stufe(), 2);
        QVERIFY(spiel->lblAntwort1->isVisible() && spiel->lblAntwort2->isVisible());
        QVERIFY(!spiel->cmdFifty->isEnabled() && !spiel->cmdFifty2->isEnabled() && spiel->cmdRnd->isEnabled());
        klicke(spiel->cmdRnd);
        const int meldungen = m_u->meldungen.gezeigt.size();
        klicke(spiel->cmdRnd);
        klicke(spiel->cmdFifty);
        QCOMPARE(m_u->meldungen.gezeigt.size(), meldungen);
        QVERIFY(spiel->lblAntwort2->isVisible());
        QVERIFY(!spiel->cmdOK->isEnabled());
    }
    // The poll names the three answers with their shares, in the fixed order.
    void umfrage()
    {
        Form2 *spiel = starteSpiel();
        QVERIFY(spiel);
        m_u->zufall.werte = {0.73f, 0.41f};
        klicke(spiel->cmdRnd);
        QVERIFY(!spiel->cmdRnd->isEnabled());
        QCOMPARE(m_u->meldungen.titel(), QStringList{QStringLiteral("Kreidolin-Message")});
        QCOMPARE(m_u->meldungen.texte(), QStringList{QStringLiteral("Das Publikum hat wie folgt gestimmt: \r\n"
                                                                    "Lösung S1N1 = 73%\r\nFalsch1 S1N1 = 11%\r\n"
                                                                    "Falsch2 S1N1 = 16%")});
        QCOMPARE(spiel->stufe(), 1);
    }
    // A whole game without a mouse: start, answers, a joker and each ending by keys.
    void tasten_data()
    {
        QTest::addColumn<QString>("tasten"); // the keys of slots 1, 2, 3
        QTest::addColumn<int>("bis");        // the level where Alt+ende ends the game; 0: play to the end
        QTest::addColumn<int>("ende");
        QTest::addColumn<QByteArray>("zeile");
        QTest::newRow("digits to the Abitur") << "123" << 0 << 0 << QByteArray("Anna | 15\r\n");
        QTest::newRow("letters to the Abitur") << "ABC" << 0 << 0 << QByteArray("Anna | 15\r\n");
        QTest::newRow("Alt+A gives up") << "123" << 3 << int(Qt::Key_A) << QByteArray("Anna | 2\r\n");
        QTest::newRow("Alt+E leaves") << "abc" << 2 << int(Qt::Key_E) << QByteArray();
    }
    void tasten()
    {
        QFETCH(QString, tasten);
        QFETCH(int, bis);
        QFETCH(int, ende);
        QFETCH(QByteArray, zeile);
        Form1 *haupt = Fenster::zeige<Form1>();
        QTest::keyClicks(haupt->txt_name, QStringLiteral("Anna"));
        QTest::keyClick(haupt->txt_name, Qt::Key_Return);
        Form2 *spiel = Fenster::offen<Form2>();
        QVERIFY(spiel);
        spiel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(spiel));
        const auto feld = [&](int i) { QTest::keyClick(spiel, tasten.at(spiel->reihenfolge()[i]).toLatin1()); };
        // A joker by its key (it clicks after a moment); the struck answer's key then chooses nothing.
        QTest::keyClick(spiel, Qt::Key_5, Qt::AltModifier);
        QTRY_VERIFY(!spiel->cmdFifty->isEnabled() && spiel->lblAntwort2->isHidden());
        feld(2);
        QVERIFY(!spiel->cmdOK->isEnabled());
        while (Fenster::offen<Form2>() && (!ende || spiel->stufe() < bis)) {
            feld(1);
            feld(0);
            QVERIFY(spiel->loesungGewaehlt());
            QTest::keyClick(spiel, Qt::Key_Return);
        }
        if (ende)
            QTest::keyClick(spiel, Qt::Key(ende), Qt::AltModifier);
        QTRY_VERIFY(!Fenster::offen<Form2>());
        QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), zeile);
    }
    // Every control has a German name and description; these follow the game, and the
    // chosen, wrong and right answers show by more than colour.
    void zugaenglich_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name"); // %1: the solution's slot, 1 to 3
        QTest::newRow("solution") << "lblLoesung" << "Antwort %1: Lösung S1N1";
        QTest::newRow("overview") << "Frame2" << "Übersicht: Stufe 1, 1. Klasse";
        QTest::newRow("question") << "lblFrage" << "Frage: Frage S1N1";
        QTest::newRow("confirm") << "cmdOK" << "Bestätigen";
    }
    void zugaenglich()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        Form2 *spiel = starteSpiel();
        QVERIFY(spiel);
        const auto text = [](QWidget *w, QAccessible::Text art = QAccessible::Description) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
            return a ? a->text(art) : QString();
        };
        QCOMPARE(text(spiel->findChild<QWidget *>(control), QAccessible::Name), name.arg(spiel->reihenfolge()[0] + 1));
        for (QWidget *kind : spiel->findChildren<QWidget *>())
            QVERIFY2(!text(kind, QAccessible::Name).isEmpty() && !text(kind).isEmpty(), qPrintable(kind->objectName()));
        // Chosen, wrong and right show by a frame and words, not by colour alone.
        QCOMPARE(spiel->lblAntwort1->frameWidth(), 0);
        klicke(spiel->lblAntwort1);
        QVERIFY(text(spiel->lblAntwort1).endsWith(QStringLiteral("ausgewählt")) && spiel->lblAntwort1->frameWidth() > 1);
        QString urteil;
        m_u->meldungen.beimZeigen = [&](const Meldung &) { urteil = text(spiel->lblAntwort1) + text(spiel->lblLoesung); };
        klicke(spiel->cmdOK);
        QVERIFY(urteil.contains(QStringLiteral("falsch")) && urteil.endsWith(QStringLiteral("richtig")));
    }
    // F11 enlarges the whole window evenly and centred, and back; the next game remembers it.
    void projektor()
    {
        Form2 *spiel = starteSpiel();
        QVERIFY(spiel);
        const QRect normal = spiel->Frame3->geometry();
        const QSize groesse = spiel->size();
        const double schrift = spiel->lblFrage->font().pointSizeF();
        QTest::keyClick(spiel, Qt::Key_F11);
        spiel->resize(1920, 1080);
        const double faktor = Twips::passeEin(groesse, QSizeF(1920, 1080)).faktor;
        QTRY_COMPARE(spiel->massstab(), faktor);
        QCOMPARE(spiel->lblFrage->font().pointSizeF(), schrift * faktor);
        const QRect gross = spiel->Frame3->geometry();
        QVERIFY(qAbs(gross.width() - normal.width() * faktor) <= 2);
        QVERIFY(qAbs(gross.left() - (spiel->width() - gross.right() - 1)) <= 2); // centred
        klicke(spiel->cmdGiveUp);
        spiel = starteSpiel(); // remembered
        QVERIFY(spiel && spiel->isFullScreen());
        QTest::keyClick(spiel, Qt::Key_F11);
        QVERIFY(!spiel->isFullScreen() && spiel->size() == groesse && spiel->Frame3->geometry() == normal);
        QCOMPARE(spiel->lblFrage->font().pointSizeF(), schrift);
    }
    // Reading aloud: the question and the visible answers by slot, again on V, stopped on
    // confirming; without an engine the switch is off and says why.
    void vorlesen_data()
    {
        QTest::addColumn<bool>("kann");
        QTest::newRow("engine with a German voice") << true;
        QTest::newRow("no engine") << false;
    }
    void vorlesen()
    {
        QFETCH(bool, kann);
        FakeSprache &sprache = m_u->sprache;
        sprache.kann = kann;
        sprache.warumNicht = QStringLiteral("Keine deutsche Stimme");
        Vorlieben::setzeVorlesen(true);
        Form2 *spiel = starteSpiel();
        QVERIFY(spiel);
        Q_EMIT spiel->menuKlasse->aboutToShow();
        QCOMPARE(spiel->menuVorlesen->isEnabled(), kann);
        QCOMPARE(spiel->menuVorlesen->toolTip() == sprache.warumNicht, !kann);
        klicke(spiel->cmdFifty); // strikes Falsch2, which V then leaves out
        QTest::keyClick(spiel, Qt::Key_V);
        const QString loesung = QStringLiteral("Antwort %1: Lösung S1N1.").arg(spiel->reihenfolge()[0] + 1);
        klicke(spiel->lblLoesung);
        klicke(spiel->cmdOK);
        const QStringList erwartet{QStringLiteral("Frage S1N1. "), QStringLiteral("Frage S1N1. "), QStringLiteral("Frage S2N1. ")};
        QCOMPARE(sprache.gesagt.size(), kann ? 3 : 0);
        for (int i = 0; i < sprache.gesagt.size(); ++i)
            QVERIFY(sprache.gesagt.at(i).startsWith(erwartet.at(i)));
        QVERIFY(!kann || (sprache.gesagt.at(0).contains(QStringLiteral("Falsch2")) && sprache.gesagt.at(1).contains(loesung)
                          && !sprache.gesagt.at(1).contains(QStringLiteral("Falsch2")) && sprache.stopps > 0));
    }

private:
    std::unique_ptr<TestUmgebung> m_u;
};

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
