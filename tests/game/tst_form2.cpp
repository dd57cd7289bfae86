// The game window from the first question to its endings: the message,
// the highscore line and the main window, in their order; and for the
// classroom: keys, projector view, reading aloud, screen readers.

#include "testservices.h"

#include "basis/twips.h"
#include "basis/vorlieben.h"
#include "ui/fragenfeld.h"

#include <QAccessible>
#include <QGroupBox>
#include <QMenu>
#include <QProcess>

#include <memory>

class TestForm2 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_u = std::make_unique<TestUmgebung>();
        m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(1));
    }
    void cleanup() { m_u.reset(); }
    // The endings in the window: the one message (shown before the main window comes back), then the line,
    // then the main window; the texts and scores of every ending are the game's (tst_spiel), giving up and
    // leaving by their keys are in tasten.
    void enden_data()
    {
        QTest::addColumn<int>("stufe");      // the level the ending happens at
        QTest::addColumn<QString>("aktion"); // what the player does there
        QTest::addColumn<QString>("titel");  // of the one box; empty: none
        QTest::addColumn<QByteArray>("zeile"); // the line appended to "alt | 3\r\n"
        const QString spiel = QStringLiteral("Kreidolin-Message");
        QTest::newRow("won") << 15 << "lblLoesung" << "Kreidolin Message" << QByteArray("Anna | 15\r\n");
        QTest::newRow("wrong at 1") << 1 << "lblAntwort1" << spiel << QByteArray("Anna | 0\r\n");
        QTest::newRow("no question for level 3") << 3 << "keine" << spiel << QByteArray("Anna | 2\r\n");
        QTest::newRow("close box") << 3 << "close" << QString() << QByteArray();
    }
    void enden()
    {
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
        Form2 *spiel = starteSpiel();
        QVERIFY(spiel);
        QCOMPARE(m_u->zufall.seeds, 1);
        while (spiel->stufe() < stufe - (keine ? 1 : 0)) {
            QCOMPARE(spiel->lblFrage->text(), QStringLiteral("Frage S%1N1").arg(spiel->stufe()));
            QCOMPARE(spiel->lblFrageNr->text(), QString::number(spiel->stufe()));
            QCOMPARE(spiel->windowTitle(), Spielregeln::fensterTitel(QStringLiteral("Anna"), Spielregeln::stufenName(spiel->stufe())));
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
        } else {
            klicke(spiel->findChild<QLabel *>(aktion));
            klicke(spiel->cmdOK);
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
    // A whole game without a mouse: start, each answer by the keys its description names, a joker and the
    // endings by keys; every question comes with nothing chosen and the struck answer back.
    void tasten_data()
    {
        QTest::addColumn<int>("wort"); // the word of "Taste 1 oder A" pressed
        QTest::addColumn<int>("ende"); // Alt+ this key at level 3
        QTest::addColumn<QByteArray>("zeile");
        QTest::newRow("digits, Alt+A gives up") << 1 << int(Qt::Key_A) << QByteArray("Anna | 2\r\n");
        QTest::newRow("letters, Alt+E leaves") << 3 << int(Qt::Key_E) << QByteArray();
    }
    void tasten()
    {
        QFETCH(int, wort);
        QFETCH(int, ende);
        QFETCH(QByteArray, zeile);
        Form1 *haupt = Fenster::zeige<Form1>();
        QTest::keyClicks(haupt->txt_name, QStringLiteral("Anna"));
        QTest::keyClick(haupt->txt_name, Qt::Key_Return);
        Form2 *spiel = Fenster::offen<Form2>();
        QVERIFY(spiel);
        spiel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(spiel));
        // A joker by its key (it clicks after a moment); the struck answer's key then chooses nothing.
        QTest::keyClick(spiel, Qt::Key_5, Qt::AltModifier);
        QTRY_VERIFY(!spiel->findChild<QPushButton *>(QStringLiteral("cmdFifty"))->isEnabled());
        while (spiel->stufe() < 3) {
            QVERIFY(!spiel->cmdOK->isEnabled() && spiel->lblAntwort2->isHidden() == (spiel->stufe() == 1));
            for (Antwortfeld *antwort : {spiel->lblAntwort2, spiel->lblAntwort1, spiel->lblLoesung}) {
                QTest::keyClicks(spiel, antwort->accessibleDescription().section(QLatin1Char(' '), wort, wort).left(1));
                QVERIFY(antwort->isHidden() ? !spiel->cmdOK->isEnabled()
                                            : antwort->markierung() == Antwortfeld::Markierung::Gewaehlt);
            }
            QTest::keyClick(spiel, Qt::Key_Return);
        }
        QTest::keyClick(spiel, Qt::Key(ende), Qt::AltModifier);
        QTRY_VERIFY(!Fenster::offen<Form2>());
        QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), zeile);
    }
    // Every control has a German name and description; these follow the game, and the
    // chosen, wrong and right answers show by more than colour.
    void zugaenglich()
    {
        Form2 *spiel = starteSpiel();
        QVERIFY(spiel);
        const auto text = [](QWidget *w, QAccessible::Text art = QAccessible::Description) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
            return a ? a->text(art) : QString();
        };
        QCOMPARE(text(spiel->lblLoesung, QAccessible::Name), QStringLiteral("Antwort %1: Lösung S1N1").arg(spiel->reihenfolge()[0] + 1));
        QCOMPARE(text(spiel->findChild<QWidget *>(QStringLiteral("Frame2")), QAccessible::Name),
                 QStringLiteral("Übersicht: Stufe 1, 1. Klasse"));
        QCOMPARE(text(spiel->lblFrage, QAccessible::Name), QStringLiteral("Frage: Frage S1N1"));
        for (QWidget *kind : spiel->findChildren<QWidget *>())
            QVERIFY2(!text(kind, QAccessible::Name).isEmpty() && !text(kind).isEmpty(), qPrintable(kind->objectName()));
        // Chosen, wrong and right show by a frame and words, not by colour alone.
        QCOMPARE(spiel->lblAntwort1->frameWidth(), 0);
        klicke(spiel->lblAntwort1);
        QVERIFY(text(spiel->lblAntwort1).endsWith(QStringLiteral("ausgewählt")) && spiel->lblAntwort1->frameWidth() > 1);
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
            // Colour, symbol, frame, and the word a screen reader says.
            for (Antwortfeld *a : {spiel->lblLoesung, gewaehlt})
                gesehen << farbe(a) + Antwortfeld::zeichen(a->markierung()) + QString::number(a->frameWidth() > 1)
                        + a->accessibleDescription().section(QStringLiteral(", "), -1);
            massstab = m.massstab;
        };
        const double ansicht = spiel->massstab();
        klicke(spiel->cmdOK);
        const bool richtig = gewaehlt == spiel->lblLoesung;
        QCOMPARE(gesehen, (QStringList{QStringLiteral("#00ff00✔1richtig"), richtig ? QStringLiteral("#00ff00✔1richtig")
                                                                                    : QStringLiteral("#c80000✘1falsch")}));
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
        klicke(spiel->findChild<QPushButton *>(QStringLiteral("cmdFifty2"))); // strikes Falsch1, which V then leaves out
        QTest::keyClick(spiel, Qt::Key_V);
        const QString loesung = QStringLiteral("Antwort %1: Lösung S1N1.").arg(spiel->reihenfolge()[0] + 1);
        klicke(spiel->lblLoesung);
        klicke(spiel->cmdOK);
        const QStringList erwartet{QStringLiteral("Frage S1N1. "), QStringLiteral("Frage S1N1. "), QStringLiteral("Frage S2N1. ")};
        QCOMPARE(sprache.gesagt.size(), kann ? 3 : 0);
        for (int i = 0; i < sprache.gesagt.size(); ++i)
            QVERIFY(sprache.gesagt.at(i).startsWith(erwartet.at(i)));
        QVERIFY(!kann || (sprache.gesagt.at(0).contains(QStringLiteral("Falsch1")) && sprache.gesagt.at(1).contains(loesung)
                          && !sprache.gesagt.at(1).contains(QStringLiteral("Falsch1")) && sprache.stopps > 0));
    }

private:
    std::unique_ptr<TestUmgebung> m_u;
};

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
