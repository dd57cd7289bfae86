// The game without a window: each ending with its message, score and
// highscore line, each joker's effect, and what a second view is told.

#include "testservices.h"

#include "game/joker.h"
#include "game/spiel.h"

#include <QSignalSpy>

#include <memory>

namespace {
QString mitStufe(const QString &text, int punkte)
{
    return text + QStringLiteral("\r\nStufe: %1\r\nSie wurden in der Highscore vermerkt!").arg(punkte);
}
QString falsch(const QString &ende, int punkte)
{
    return mitStufe(QStringLiteral("Sie haben die Antwort leider falsch beantwortet. Leider haben Sie zuviel riskiert "
                                   "und ")
                        + ende,
                    punkte);
}
}

class TestSpiel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_u = std::make_unique<TestUmgebung>();
        m_spiel = std::make_unique<Spiel>();
        m_spiel->setzeSpieler(QStringLiteral("Anna"));
        QCOMPARE(m_spiel->lade(TestUmgebung::fragenJeStufe(2)), Spiel::Ladung::Geladen);
    }
    void cleanup()
    {
        m_spiel.reset();
        m_u.reset();
    }
    // Each ending at the level it happens: message, score, line booked, and whether the main window comes first.
    void enden_data()
    {
        QTest::addColumn<int>("stufe");
        QTest::addColumn<QString>("aktion");
        QTest::addColumn<Spiel::Ende>("art");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("zeile");
        const QString spiel = QStringLiteral("Kreidolin-Message");
        const QString vorschule = falsch(QStringLiteral("müssen noch einmal auf die Vorschule...!"), 0);
        const QString fuenf = falsch(QStringLiteral("bleiben in der 5. Klasse sitzen...!"), 5);
        const QString zehn = falsch(QStringLiteral("bleiben in der 10. Klasse sitzen...!"), 10);
        const QString abbruch = QStringLiteral("Sie haben entschlossen, die Schule abzubrechen. Wenn Sie mögen, starten "
                                               "Sie das Spiel erneut...!");
        QTest::newRow("won") << 15 << "loesung" << Spiel::Ende::Abitur << "Kreidolin Message"
                             << "Gratuliere! Du hast das Abitur bestanden!!!\r\nFolgende Daten werden in der Highscore "
                                "gespeichert:\r\nSpieler: Anna\r\n15 Punkte"
                             << QByteArray("Anna | 15\r\n");
        const std::tuple<int, QString, int> falschAuf[] = {{1, vorschule, 0}, {4, vorschule, 0}, {5, fuenf, 5},
                                                           {9, fuenf, 5},     {10, zehn, 10},    {15, zehn, 10}};
        for (const auto &[stufe, text, punkte] : falschAuf)
            QTest::addRow("wrong at %d", stufe) << stufe << (stufe % 2 ? "antwort1" : "antwort2") << Spiel::Ende::Falsch
                                              << spiel << text << QByteArray("Anna | ") + QByteArray::number(punkte) + "\r\n";
        QTest::newRow("given up at 10") << 10 << "aufgeben" << Spiel::Ende::Aufgegeben << spiel
                                        << mitStufe(abbruch, 9) << QByteArray("Anna | 9\r\n");
        QTest::newRow("no question for level 3")
            << 3 << "keine" << Spiel::Ende::KeineFrage << spiel
            << mitStufe(QStringLiteral("In der Fragendatenbank gibt es keine Frage für die Stufe 3 (3. Klasse). Das "
                                       "Spiel endet hier."),
                        2)
            << QByteArray("Anna | 2\r\n");
        QTest::newRow("left") << 7 << "verlassen" << Spiel::Ende::Verlassen << QString() << QString() << QByteArray();
    }
    void enden()
    {
        QFETCH(int, stufe);
        QFETCH(QString, aktion);
        QFETCH(Spiel::Ende, art);
        QFETCH(QString, titel);
        QFETCH(QString, text);
        QFETCH(QByteArray, zeile);
        if (aktion == QLatin1String("keine")) {
            QVector<FrageZeile> zeilen = TestUmgebung::fragenJeStufe(1);
            zeilen.removeIf([&](const FrageZeile &z) { return z.stufe.toInt() == stufe; });
            QCOMPARE(m_spiel->lade(zeilen), Spiel::Ladung::Geladen);
        }
        // Right answers up to the level of the ending (where a missing level ends it: the one before).
        while (m_spiel->laeuft() && m_spiel->stufe() < stufe - (aktion == QLatin1String("keine") ? 1 : 0)) {
            m_spiel->waehle(Spiel::Loesung);
            QVERIFY(m_spiel->bestaetige().richtig);
            m_spiel->weiter();
        }
        QSignalSpy beendet(m_spiel.get(), &Spiel::beendet);
        std::optional<Spiel::Abschluss> ende;
        if (aktion == QLatin1String("aufgeben")) {
            ende = m_spiel->gibAuf();
        } else if (aktion == QLatin1String("verlassen")) {
            ende = m_spiel->verlasse();
        } else {
            m_spiel->waehle(aktion == QLatin1String("antwort1")   ? Spiel::Antwort1
                            : aktion == QLatin1String("antwort2") ? Spiel::Antwort2
                                                                  : Spiel::Loesung);
            const Spiel::Urteil urteil = m_spiel->bestaetige();
            QCOMPARE(urteil.richtig, aktion == QLatin1String("loesung") || aktion == QLatin1String("keine"));
            ende = urteil.ende ? urteil.ende : m_spiel->weiter();
        }
        QVERIFY(ende);
        QCOMPARE(ende->art, art);
        QCOMPARE(ende->titel, titel);
        QCOMPARE(ende->text, text);
        QCOMPARE(ende->hauptfensterZuerst, art != Spiel::Ende::Abitur);
        QCOMPARE(beendet.size(), 1);
        QVERIFY(!m_spiel->laeuft());
        // An ended game takes no more steps.
        m_spiel->waehle(Spiel::Loesung);
        QVERIFY(!m_spiel->bestaetige().gueltig && !m_spiel->setzeEin(0).eingesetzt && !m_spiel->weiter());
        m_u->schreibeDatei(QStringLiteral("highscore.dtt"), "alt | 3\r\n");
        QCOMPARE(Spiel::buche(*ende), QString());
        QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), QByteArray("alt | 3\r\n") + zeile);
    }
    // A line that cannot be stored is reported, not lost silently.
    void eintragScheitert()
    {
        QDir().mkpath(m_u->datei(QStringLiteral("highscore.dtt")));
        QVERIFY(Spiel::buche(m_spiel->gibAuf()).startsWith(
            QStringLiteral("Der Eintrag für die Highscore konnte nicht gespeichert werden.\r\n")));
    }
    // Each joker once per game: what it strikes or shows, from the computed poll or a vote from outside.
    void joker_data()
    {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<int>("quelle"); // 0 computed, 1 a class's vote, 2 nobody voted
        QTest::addColumn<QList<int>>("gestrichen");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("verbraucht");
        const QString umfrage = QStringLiteral("Das Publikum hat wie folgt gestimmt: \r\nLösung S1N1 = %1%\r\n"
                                               "Falsch1 S1N1 = %2%\r\nFalsch2 S1N1 = %3%");
        QTest::newRow("first 50:50") << "cmdFifty" << 0 << QList<int>{Spiel::Antwort2} << QString() << true;
        QTest::newRow("second 50:50") << "cmdFifty2" << 0 << QList<int>{Spiel::Antwort1} << QString() << true;
        QTest::newRow("poll computed") << "cmdRnd" << 0 << QList<int>() << umfrage.arg(73).arg(11).arg(16) << true;
        QTest::newRow("poll by the class") << "cmdRnd" << 1 << QList<int>() << umfrage.arg(0).arg(70).arg(30) << true;
        QTest::newRow("nobody voted") << "cmdRnd" << 2 << QList<int>()
                                      << "Niemand hat abgestimmt. Der Joker bleibt für später." << false;
    }
    void joker()
    {
        QFETCH(QString, knopf);
        QFETCH(int, quelle);
        QFETCH(QList<int>, gestrichen);
        QFETCH(QString, text);
        QFETCH(bool, verbraucht);
        const auto istKnopf = [&](const Joker &j) { return knopf == QLatin1String(j.knopf); };
        const int joker = int(std::find_if(kJoker.cbegin(), kJoker.cend(), istKnopf) - kJoker.cbegin());
        if (quelle > 0) {
            m_spiel->setzeUmfragequelle([quelle]() -> std::optional<Spielregeln::Umfrage> {
                if (quelle == 2)
                    return std::nullopt;
                return Spielregeln::Umfrage{0, 70, 30};
            });
        }
        m_u->zufall.werte = {0.73f, 0.41f};
        m_spiel->waehle(Spiel::Antwort2);
        QSignalSpy gezeigt(m_spiel.get(), &Spiel::frageGezeigt);
        QSignalSpy eingesetzt(m_spiel.get(), &Spiel::jokerEingesetzt);
        const Spiel::Jokerzug zug = m_spiel->setzeEin(joker);
        QCOMPARE(zug.eingesetzt, verbraucht);
        QCOMPARE(zug.text, text);
        QCOMPARE(m_spiel->jokerFrei(joker), !verbraucht);
        QCOMPARE(eingesetzt.size(), verbraucht ? 1 : 0);
        QList<int> weg;
        QVector<bool> felder(3, false);
        for (int a = 0; a < 3; ++a) {
            if (m_spiel->gestrichen(Spiel::Antwort(a)))
                weg << a, felder[m_spiel->reihenfolge()[a]] = true;
        }
        QCOMPARE(weg, gestrichen);
        // A second view learns of a strike with the slots struck.
        QCOMPARE(gezeigt.size(), gestrichen.isEmpty() ? 0 : 1);
        QVERIFY(gestrichen.isEmpty() || gezeigt.at(0).at(2).value<QVector<bool>>() == felder);
        // Once more, the poll computed: only a joker not used up helps again.
        m_spiel->setzeUmfragequelle({});
        QCOMPARE(m_spiel->setzeEin(joker).eingesetzt, !verbraucht);
        // A chosen answer struck stays chosen; confirming it is wrong.
        QCOMPARE(m_spiel->gewaehlt(), int(Spiel::Antwort2));
        QCOMPARE(m_spiel->bestaetige().richtig, false);
    }
    // What a second view is told: the question with its answers in slot order, the verdict in slots.
    void zweiteAnsicht()
    {
        QSignalSpy gezeigt(m_spiel.get(), &Spiel::frageGezeigt);
        QSignalSpy beantwortet(m_spiel.get(), &Spiel::beantwortet);
        m_spiel->waehle(Spiel::Antwort1);
        m_spiel->waehle(Spiel::Loesung);
        const Spiel::Urteil urteil = m_spiel->bestaetige();
        QCOMPARE(beantwortet.size(), 1);
        QCOMPARE(beantwortet.at(0).at(0).toInt(), m_spiel->reihenfolge()[Spiel::Loesung]);
        QCOMPARE(beantwortet.at(0).at(1).toInt(), urteil.gewaehltesFeld);
        QVERIFY(gezeigt.isEmpty());
        m_spiel->weiter();
        QCOMPARE(gezeigt.size(), 1);
        const QStringList antworten = gezeigt.at(0).at(1).toStringList();
        QCOMPARE(gezeigt.at(0).at(0).toString(), m_spiel->frage());
        QVERIFY(m_spiel->frage().startsWith(QStringLiteral("Frage S2N")));
        for (int a = 0; a < 3; ++a)
            QCOMPARE(antworten.at(m_spiel->reihenfolge()[a]), m_spiel->antwort(Spiel::Antwort(a)));
    }
    // A collection without rows, or without a first-level question, starts no game.
    void laden()
    {
        QCOMPARE(m_spiel->lade({}), Spiel::Ladung::KeineFragen);
        QVERIFY(!m_spiel->laeuft());
        QVector<FrageZeile> zeilen = TestUmgebung::fragenJeStufe(1);
        zeilen.removeFirst();
        QCOMPARE(m_spiel->lade(zeilen), Spiel::Ladung::KeineErsteStufe);
        QVERIFY(!m_spiel->laeuft());
    }

private:
    std::unique_ptr<TestUmgebung> m_u;
    std::unique_ptr<Spiel> m_spiel;
};

QTEST_MAIN(TestSpiel)
#include "tst_spiel.moc"
