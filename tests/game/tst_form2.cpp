// The game window from the first question to each of its endings: the
// message, the highscore line byte for byte, the jokers and the poll.

#include "testservices.h"

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
    void init();
    void cleanup();
    // Each ending: its one message (shown before the main window comes back), then the line, then the main window.
    void enden_data();
    void enden();
    // Each joker works once per game; struck answers come back with the next question.
    void joker();
    // The poll names the three answers with their shares, in the fixed order.
    void umfrage();

private:
    std::unique_ptr<TestUmgebung> m_u;
};

void TestForm2::init()
{
    m_u = std::make_unique<TestUmgebung>();
    m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(1));
}

void TestForm2::cleanup() { m_u.reset(); }

void TestForm2::enden_data()
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

void TestForm2::enden()
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
    QCOMPARE(m_u->meldungen.texte(), text.isEmpty() ? QStringList() : QStringList{text});
    QCOMPARE(m_u->meldungen.titel(), titel.isEmpty() ? QStringList() : QStringList{titel});
    QVERIFY(vorDemHauptfenster);
    QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), QByteArray("alt | 3\r\n") + zeile);
    QVERIFY(!Fenster::offen<Form2>());
    Form1 *haupt = Fenster::offen<Form1>();
    QVERIFY(haupt && haupt->isVisible());
    QVERIFY(haupt->txt_name->text().isEmpty() && !haupt->cmd_start->isEnabled());
}

void TestForm2::joker()
{
    Form2 *spiel = starteSpiel();
    QVERIFY(spiel);
    QCOMPARE(spiel->Label5.size() + spiel->Shape1.size(), 6); // three slots, each with its outline
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

void TestForm2::umfrage()
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

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
