// The game window from the first question to each of its endings: the
// message, the highscore line byte for byte, the jokers and the poll; and
// for the classroom: keys, projector view, reading aloud, screen readers.

#include "testservices.h"

#include "basis/twips.h"
#include "basis/vorlieben.h"
#include "ui/fragenfeld.h"

#include <QAccessible>
#include <QGroupBox>
#include <QMenu>
#include <QProcess>

#include <memory>

namespace {
QPushButton *knopf(Form2 *spiel, const char *name) { return spiel->findChild<QPushButton *>(QLatin1String(name)); }
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
    // Each kind of ending in the window: its one message (shown before the main window comes back), then the
    // line, then the main window; the texts and scores of every level are the game's (tst_spiel).
    void enden_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("stufe");      // the level the ending happens at
        QTest::addColumn<QString>("aktion"); // what the player does there
        QTest::addColumn<QString>("titel");  // of the one box; empty: none
        QTest::addColumn<QByteArray>("zeile"); // the line appended to "alt | 3\r\n"
        const QString spiel = QStringLiteral("Kreidolin-Message");
        QTest::newRow("won") << "Anna" << 15 << "lblLoesung" << "Kreidolin Message" << QByteArray("Anna | 15\r\n");
        QTest::newRow("wrong at 1") << "Jürgen" << 1 << "lblAntwort1" << spiel << QByteArray("J\xfcrgen | 0\r\n");
        QTest::newRow("wrong at 15") << "Иван" << 15 << "lblAntwort2" << spiel
                                     << QByteArray("\xef\xbb\xbf\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd | 10\r\n");
        // A chosen answer struck by 50:50 stays chosen; confirming it is wrong.
        QTest::newRow("50:50 on the chosen answer") << "Anna" << 6 << "cmdFifty" << spiel << QByteArray("Anna | 5\r\n");
        QTest::newRow("given up at 10") << "Anna" << 10 << "cmdGiveUp" << spiel << QByteArray("Anna | 9\r\n");
        QTest::newRow("no question for level 3") << "Anna" << 3 << "keine" << spiel << QByteArray("Anna | 2\r\n");
        QTest::newRow("B&eenden") << "Anna" << 3 << "cmdEnd" << QString() << QByteArray();
        QTest::newRow("close box") << "Anna" << 3 << "close" << QString() << QByteArray();
    }
    void enden()
    {
        QFETCH(QString, name);
        QFETCH(int, stufe);
        QFETCH(QString, aktion);
        QFETCH(QString, titel);
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
        } else if (aktion == QLatin1String("cmdFifty")) {
            auto *gewaehlt = spiel->lblAntwort2;
            klicke(gewaehlt);
            klicke(knopf(spiel, "cmdFifty"));
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
        QCOMPARE(m_u->meldungen.titel(), titel.isEmpty() ? QStringList() : QStringList{titel});
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
        klicke(knopf(spiel, "cmdFifty"));
        klicke(knopf(spiel, "cmdFifty2"));
        QVERIFY(!spiel->lblAntwort1->isVisible() && !spiel->lblAntwort2->isVisible());
        QVERIFY(spiel->lblLoesung->isVisible());
        klicke(spiel->lblLoesung);
        klicke(spiel->cmdOK);
        QCOMPARE(spiel->stufe(), 2);
        QVERIFY(spiel->lblAntwort1->isVisible() && spiel->lblAntwort2->isVisible());
        QVERIFY(!knopf(spiel, "cmdFifty")->isEnabled() && !knopf(spiel, "cmdFifty2")->isEnabled() && knopf(spiel, "cmdRnd")->isEnabled());
        klicke(knopf(spiel, "cmdRnd"));
        QVERIFY(m_u->meldungen.texte().last().startsWith(QStringLiteral("Das Publikum hat wie folgt gestimmt: ")));
        const int meldungen = m_u->meldungen.gezeigt.size();
        klicke(knopf(spiel, "cmdRnd"));
        klicke(knopf(spiel, "cmdFifty"));
        QCOMPARE(m_u->meldungen.gezeigt.size(), meldungen);
        QVERIFY(spiel->lblAntwort2->isVisible());
        QVERIFY(!spiel->cmdOK->isEnabled());
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
        QTRY_VERIFY(!knopf(spiel, "cmdFifty")->isEnabled() && spiel->lblAntwort2->isHidden());
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
    // The keys an answer's description names choose that answer.
    void tastenImText()
    {
        Form2 *spiel = starteSpiel();
        QVERIFY(spiel);
        Antwortfeld *antworten[3] = {spiel->lblLoesung, spiel->lblAntwort1, spiel->lblAntwort2};
        for (int i = 0; i < 3; ++i) {
            const QStringList worte = antworten[i]->accessibleDescription().section(QLatin1Char(','), 0, 0).split(' ');
            QCOMPARE(worte.size(), 4); // "Taste 1 oder A"
            for (const QString &taste : {worte.at(1), worte.at(3)}) {
                klicke(antworten[(i + 1) % 3]);
                QTest::keyClick(spiel, taste.at(0).toLatin1());
                QCOMPARE(antworten[i]->markierung(), Antwortfeld::Markierung::Gewaehlt);
            }
        }
    }
    // The verdict to the room while its box is open: the solution green, a wrong choice red, each with its
    // frame and symbol; the box at the view's scale.
    void urteil_data()
    {
        QTest::addColumn<QString>("wahl");
        QTest::addColumn<QSize>("projektor"); // empty: the window's own size
        QTest::newRow("right") << "lblLoesung" << QSize();
        QTest::newRow("wrong") << "lblAntwort1" << QSize();
        QTest::newRow("wrong, projector") << "lblAntwort2" << QSize(1280, 720);
    }
    void urteil()
    {
        QFETCH(QString, wahl);
        QFETCH(QSize, projektor);
        Form2 *spiel = starteSpiel();
        QVERIFY(spiel);
        if (projektor.isValid()) {
            QTest::keyClick(spiel, Qt::Key_F11);
            spiel->resize(projektor);
            QTRY_VERIFY(spiel->massstab() > 1.0);
        }
        auto *gewaehlt = spiel->findChild<Antwortfeld *>(wahl);
        const auto farbe = [](QWidget *w) { return w->palette().color(QPalette::Window).name(); };
        klicke(gewaehlt);
        QCOMPARE(farbe(gewaehlt), QStringLiteral("#00ff00"));
        QStringList gesehen;
        double massstab = 0;
        m_u->meldungen.beimZeigen = [&](const Meldung &m) {
            if (!gesehen.isEmpty())
                return;
            for (Antwortfeld *a : {spiel->lblLoesung, gewaehlt})
                gesehen << farbe(a) + Antwortfeld::zeichen(a->markierung()) + QString::number(a->frameWidth() > 1);
            massstab = m.massstab;
        };
        const double ansicht = spiel->massstab();
        klicke(spiel->cmdOK);
        const bool richtig = gewaehlt == spiel->lblLoesung;
        QCOMPARE(gesehen, (QStringList{QStringLiteral("#00ff00✔1"), richtig ? QStringLiteral("#00ff00✔1")
                                                                             : QStringLiteral("#c80000✘1")}));
        QCOMPARE(massstab, ansicht);
    }
    // Every one-line label of the window shows its whole text: at the window's own size, in the projector
    // view, and (in a child run) at 150 % scaling.
    void textPasst_data()
    {
        QTest::addColumn<QSize>("projektor");
        QTest::addColumn<bool>("kind"); // run this test again with the desktop scaled to 150 %
        QTest::newRow("own size") << QSize() << false;
        QTest::newRow("projector 1280x720") << QSize(1280, 720) << false;
        QTest::newRow("projector 1920x1080") << QSize(1920, 1080) << false;
        if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
            QTest::newRow("150 %") << QSize() << true;
    }
    void textPasst()
    {
        QFETCH(QSize, projektor);
        QFETCH(bool, kind);
        if (kind) {
            QProcess lauf;
            QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
            umgebung.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1.5"));
            lauf.setProcessEnvironment(umgebung);
            lauf.start(QCoreApplication::applicationFilePath(), {QStringLiteral("textPasst")});
            QVERIFY(lauf.waitForFinished(120000));
            QVERIFY2(lauf.exitCode() == 0, lauf.readAllStandardOutput().constData());
            return;
        }
        Form2 *spiel = starteSpiel(QStringLiteral("Lena Marie Schulze-Hohenstein"));
        QVERIFY(spiel);
        if (projektor.isValid()) {
            QTest::keyClick(spiel, Qt::Key_F11);
            spiel->resize(projektor);
            QTRY_VERIFY(spiel->massstab() > 1.0);
        }
        for (QLabel *label : spiel->findChildren<QLabel *>()) {
            if (label->wordWrap() || label->text().isEmpty() || !label->isVisibleTo(spiel))
                continue;
            const QSize noetig = label->fontMetrics().size(0, label->text());
            const QRect platz = label->contentsRect();
            QVERIFY2(platz.width() >= noetig.width() && platz.height() >= noetig.height(),
                     qPrintable(QStringLiteral("%1: %2x%3 for %4x%5").arg(label->objectName()).arg(platz.width())
                                    .arg(platz.height()).arg(noetig.width()).arg(noetig.height())));
            QVERIFY2(label->geometry().right() < label->parentWidget()->width(), qPrintable(label->objectName()));
        }
        QCOMPARE(spiel->lblPlayer->text(), QStringLiteral("Lena Marie Schulze-Hohenstein"));
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
        klicke(knopf(spiel, "cmdFifty")); // strikes Falsch2, which V then leaves out
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
