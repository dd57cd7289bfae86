#include "basis/appinfo.h"
#include "basis/farben.h"
#include "start/fenster.h"
#include "basis/modvariablen.h"
#include "basis/twips.h"
#include "ui/form2.h"
#include "ui/zahlenspalte.h"
#include "store/recordset.h"
#include "testservices.h"
#include "ui/form1.h"
#include "ui/form3.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWindow>
#include <QTest>

#include <memory>

namespace {
const QString kSpielTitel = QStringLiteral("Kreidolin-Message");
const QString kVermerkt = QStringLiteral("Sie wurden in der Highscore vermerkt!");
const QString kLadefehler = QStringLiteral("Die Datei Fragen.mdb exisitiert nicht im Anwendungsverzeichnis!");

// Closing the game window brings a main window back, so closing everything
// takes more than one round.
void aufraeumen()
{
    for (int runde = 0; runde < 3; ++runde)
        schliesseAlleFenster();
}

QColor hintergrund(const QWidget *w) { return w->palette().color(QPalette::Window); }

QString falsch(const QString &ende)
{
    return QStringLiteral("Sie haben die Antwort leider falsch beantwortet. Leider haben Sie zuviel riskiert und ")
        + ende;
}

QString stufenZeilen(const QString &text, int punkte)
{
    return text + QStringLiteral("\r\nStufe: ") + QString::number(punkte) + QStringLiteral("\r\n") + kVermerkt;
}
}

class TestForm2 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    // The window carries every control with its name, caption, font and colour.
    void aufbau();
    // The load-time layout puts frames and slots where the twips say, at 794 x 572 client pixels.
    void layout();
    // Loading shows a level-1 question, marks level 1 and names it in the caption.
    void ladenZeigtStufe1();
    // Texts from the collection and the player's name are shown character for character.
    void klartext_data();
    void klartext();
    // The two slot draws place the three answers in each of the six orders.
    void mischen_data();
    void mischen();
    // A whole game won with 15 right answers, captions and overview at every level, then the win.
    void ganzesSpielGewonnen();
    // A wrong answer keeps the safety level, with its message, then the entry, then a new main window.
    void falscheAntwort_data();
    void falscheAntwort();
    // Giving up scores the questions answered so far.
    void aufgeben_data();
    void aufgeben();
    // Quitting and the close box record nothing and bring the main window back.
    void beendenOhneEintrag_data();
    void beendenOhneEintrag();
    // A selected answer struck by 50:50 stays selected; confirming it is wrong.
    void fiftyAufGewaehlteAntwort_data();
    void fiftyAufGewaehlteAntwort();
    // Each joker works once per game; struck answers come back on the next question.
    void jokerEinmalProSpiel();
    // The poll shows four lines in the fixed order, its shares add up to 100 and may give the solution 0.
    void umfrage_data();
    void umfrage();
    // The display commands, letter case included, and the selection states.
    void anzeigeBefehle();
    // A level without questions ends the game with a message naming it and the score as for giving up.
    void stufeOhneFrage();
    // Every load failure shows the one message, opens the editor and closes the game window.
    void ladefehler_data();
    void ladefehler();
    // A read-only folder: settings and highscore cannot be written, the game still runs and ends normally.
    void schreibgeschuetzterOrdner();
    // The next game starts afresh: level 1, all jokers, nothing marked.
    void naechstesSpielFrisch();
    // A long player name grows to the right from where "Player" stood.
    void langerName();
    // The access keys confirm (Alt+B) and give up (Alt+A).
    void zugriffstasten();

private:
    Form2 *starte(const QString &name = QStringLiteral("Anna"));
    void richtig(Form2 *spiel);
    void spieleBis(Form2 *spiel, int stufe);
    void klicke(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }
    int slotVon(Form2 *spiel, QLabel *antwort) const;
    QByteArray highscore() const { return m_u->liesDatei(QStringLiteral("highscore.dtt")); }

    std::unique_ptr<TestUmgebung> m_u;
};

void TestForm2::init()
{
    m_u = std::make_unique<TestUmgebung>();
    m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(1));
}

void TestForm2::cleanup()
{
    aufraeumen();
    m_u.reset();
}

Form2 *TestForm2::starte(const QString &name)
{
    Form1 *haupt = Fenster::zeige<Form1>();
    haupt->txt_name->setText(name);
    klicke(haupt->cmd_start);
    return Fenster::offen<Form2>();
}

void TestForm2::richtig(Form2 *spiel)
{
    klicke(spiel->lblLoesung);
    klicke(spiel->cmdOK);
}

void TestForm2::spieleBis(Form2 *spiel, int stufe)
{
    while (spiel->stufe() < stufe)
        richtig(spiel);
}

int TestForm2::slotVon(Form2 *spiel, QLabel *antwort) const
{
    for (int i = 0; i < 3; ++i) {
        if (spiel->Label5[i]->x() == antwort->x())
            return i;
    }
    return -1;
}

void TestForm2::aufbau()
{
    Form2 *spiel = starte();
    QVERIFY(spiel);
    QCOMPARE(spiel->objectName(), QStringLiteral("Form2"));
    const struct {
        const char *name;
        QString text;
    } labels[] = {{"Label1", "Frage "}, {"Label2", "Name: "}, {"Label4", "15 14 13 12 11 10 9  8 7 6 5 4 3 2 1"}};
    for (const auto &l : labels) {
        auto *label = spiel->findChild<QLabel *>(QLatin1String(l.name));
        QVERIFY2(label, l.name);
        QCOMPARE(label->text(), l.text);
    }
    const struct {
        const char *name;
        QString text;
    } knoepfe[] = {{"cmdOK", ":: &Bestätigen ::"}, {"cmdFifty", "50:50"}, {"cmdRnd", "Lehrer"},
                   {"cmdFifty2", "50:50"},         {"cmdGiveUp", "&Aufgeben"}, {"cmdEnd", "B&eenden"}};
    for (const auto &k : knoepfe) {
        auto *knopf = spiel->findChild<QPushButton *>(QLatin1String(k.name));
        QVERIFY2(knopf, k.name);
        QCOMPARE(knopf->text(), k.text);
    }
    QCOMPARE(spiel->findChild<QGroupBox *>(QStringLiteral("Frame2"))->title(), QString::fromUtf8("Übersicht"));
    QCOMPARE(spiel->findChild<QGroupBox *>(QStringLiteral("Frame1"))->title(), QStringLiteral("Joker"));
    QVERIFY(spiel->findChild<QGroupBox *>(QStringLiteral("Frame3"))->title().isEmpty());
    QVERIFY(spiel->findChild<QGroupBox *>(QStringLiteral("Frame4"))->title().isEmpty());
    for (const char *name : {"lblFrageNr", "lblPlayer", "lblFrage", "lblLoesung", "lblAntwort1", "lblAntwort2"})
        QVERIFY2(spiel->findChild<QLabel *>(QLatin1String(name)), name);
    for (int i = 0; i < 3; ++i) {
        QVERIFY(spiel->findChild<QLabel *>(QStringLiteral("Label5(%1)").arg(i)));
        QVERIFY(spiel->findChild<QFrame *>(QStringLiteral("Shape1(%1)").arg(i)));
        QCOMPARE(hintergrund(spiel->Label5[i]), QColor(255, 0, 0));
    }
    const QStringList namen{"1. Klasse", "2. Klasse", "3. Klasse", "4. Klasse", "5. Klasse",
                            "6. Klasse", "7. Klasse", "8. Klasse", "9. Klasse", "10.Klasse",
                            "11.Klasse", "12.Klasse", "13.Klasse", QString::fromUtf8("mündliches Abitur"),
                            "schriftliches Abitur"};
    for (int i = 0; i < 15; ++i) {
        QLabel *stufe = spiel->findChild<QLabel *>(QStringLiteral("Label3(%1)").arg(i));
        QVERIFY(stufe);
        QCOMPARE(stufe->text(), namen[i]);
        QVERIFY(stufe->alignment() & Qt::AlignRight);
        QCOMPARE(stufe->font().pointSizeF(), 8.25);
        QCOMPARE(stufe->palette().color(QPalette::WindowText), Farben::hervorhebung());
    }
    // Fonts: the window's own, and the controls that have their own.
    QCOMPARE(spiel->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(spiel->font().pointSizeF(), 9.75);
    QVERIFY(spiel->font().bold());
    QCOMPARE(spiel->lblLoesung->font().pointSizeF(), 9.75);
    QCOMPARE(spiel->Frame1->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(spiel->cmdGiveUp->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(spiel->cmdGiveUp->font().pointSizeF(), 8.25);
    QCOMPARE(spiel->cmdFifty->font().family(), QStringLiteral("MS Sans Serif"));
    // Colours.
    QCOMPARE(hintergrund(spiel), Farben::desktop());
    QCOMPARE(spiel->lblFrage->palette().color(QPalette::WindowText), Farben::hervorhebung());
    QCOMPARE(spiel->Frame2->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    QCOMPARE(spiel->Frame1->palette().color(QPalette::WindowText), QColor(128, 255, 255));
    QCOMPARE(spiel->lblAntwort1->palette().color(QPalette::WindowText), QColor(Qt::black));
    for (QLabel *antwort : {spiel->lblLoesung, spiel->lblAntwort1, spiel->lblAntwort2})
        QCOMPARE(hintergrund(antwort), Farben::schaltflaeche());
    QVERIFY(!spiel->cmdOK->isEnabled());
    QVERIFY(spiel->cmdFifty->isEnabled() && spiel->cmdRnd->isEnabled() && spiel->cmdFifty2->isEnabled());
    QVERIFY(!(spiel->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(spiel->windowFlags() & Qt::WindowMaximizeButtonHint));
}

void TestForm2::layout()
{
    Form2 *spiel = starte();
    QVERIFY(spiel);
    QCOMPARE(spiel->size(), Twips::innenGroesse(800, 600));
    if (Twips::proPixelX() != 15.0)
        QSKIP("the worked example holds at 15 twips per pixel");
    QCOMPARE(spiel->width(), 794);
    QCOMPARE(spiel->layout().innenBreite, 11910.0);
    QCOMPARE(spiel->layout().frame2.links, 9515.0);
    QCOMPARE(spiel->layout().frame4.links, 2557.5);
    QCOMPARE(spiel->Frame2->geometry(), Twips::rechteck(9515, 4500, 2295, 3975));
    QCOMPARE(spiel->Frame4->geometry(), Twips::rechteck(2557.5, 4500, 6795, 2535));
    QCOMPARE(spiel->Frame3->geometry(), Twips::rechteck(100, 420, 11710, 3975));
    const double breite = (11710.0 - 800) / 3;
    for (int i = 0; i < 3; ++i) {
        const double links = (breite + 200) * i + 200;
        QCOMPARE(spiel->Label5[i]->geometry(), Twips::rechteck(links, 1865, breite, 1787.5));
        QCOMPARE(spiel->Shape1[i]->geometry(), Twips::rechteck(links - 50, 1815, breite + 100, 1887.5));
    }
    // Slots and their outlines lie side by side without overlapping each other.
    QVERIFY(spiel->Shape1[0]->geometry().right() < spiel->Shape1[1]->geometry().left());
    QVERIFY(spiel->Shape1[1]->geometry().right() < spiel->Shape1[2]->geometry().left());
    QVERIFY(spiel->Frame3->rect().contains(spiel->Shape1[2]->geometry()));
    QCOMPARE(spiel->Label3[14]->geometry(), Twips::rechteck(420, 240, 1695, 195));
    QCOMPARE(spiel->Label3[0]->geometry(), Twips::rechteck(420, 3645, 1695, 195));
    QCOMPARE(spiel->Label1->x(), Twips::zuPixelX(100));
    QCOMPARE(spiel->lblFrageNr->x(), spiel->Label1->geometry().right() + 1);
    // "Player" ends 100 twips before the right edge, "Name: " right in front of it.
    QCOMPARE(spiel->layout().lblPlayer.links + spiel->layout().lblPlayer.breite, 11910.0 - 100);
    QCOMPARE(spiel->Label2->x() + spiel->Label2->width(), spiel->lblPlayer->x());
    // Each level number stands on the row of its level name.
    const QStringList zahlen = spiel->Label4->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QCOMPARE(spiel->Label4->zeilen().size(), 15);
    for (int i = 0; i < 15; ++i) {
        const int stufe = zahlen[i].toInt();
        QCOMPARE(stufe, 15 - i);
        const QRect zeile = spiel->Label4->zeilen()[i].translated(spiel->Label4->pos());
        QCOMPARE(zeile.center().y(), spiel->Label3[stufe - 1]->geometry().center().y());
        QVERIFY(spiel->Label4->rect().contains(spiel->Label4->zeilen()[i]));
    }
    QVERIFY(spiel->Frame4->geometry().right() < spiel->Frame2->geometry().left());
    QVERIFY(spiel->rect().contains(spiel->Frame2->geometry()));
}

void TestForm2::ladenZeigtStufe1()
{
    Form2 *spiel = starte();
    QVERIFY(spiel);
    QVERIFY(spiel->isVisible());
    QVERIFY(!Fenster::offen<Form1>());
    QCOMPARE(m_u->zufall.seeds, 1);
    QCOMPARE(spiel->stufe(), 1);
    QCOMPARE(spiel->befehl(), QStringLiteral("mischen"));
    QCOMPARE(spiel->anzahlFragen(), 15);
    QCOMPARE(spiel->lblFrage->text(), QStringLiteral("Frage S1N1"));
    QCOMPARE(spiel->lblLoesung->text(), QString::fromUtf8("Lösung S1N1"));
    QCOMPARE(spiel->lblAntwort1->text(), QStringLiteral("Falsch1 S1N1"));
    QCOMPARE(spiel->lblAntwort2->text(), QStringLiteral("Falsch2 S1N1"));
    QCOMPARE(spiel->lblFrageNr->text(), QStringLiteral("1"));
    QCOMPARE(spiel->lblPlayer->text(), QStringLiteral("Anna"));
    QCOMPARE(spiel->windowTitle(), QStringLiteral("Spieler: Anna  |||  Momentaner Stand: 1. Klasse"));
    QCOMPARE(hintergrund(spiel->Label3[0]), QColor(0, 192, 0));
    for (int i = 1; i < 15; ++i)
        QCOMPARE(hintergrund(spiel->Label3[i]), Farben::desktop());
    QSet<int> slots{slotVon(spiel, spiel->lblLoesung), slotVon(spiel, spiel->lblAntwort1),
                    slotVon(spiel, spiel->lblAntwort2)};
    QCOMPARE(slots, QSet<int>({0, 1, 2}));
    QCOMPARE(slotVon(spiel, spiel->lblLoesung), spiel->reihenfolge()[0]);
    QCOMPARE(slotVon(spiel, spiel->lblAntwort1), spiel->reihenfolge()[1]);
    QCOMPARE(slotVon(spiel, spiel->lblAntwort2), spiel->reihenfolge()[2]);
    // Answers lie exactly over their slots.
    QCOMPARE(spiel->lblLoesung->geometry(), spiel->Label5[spiel->reihenfolge()[0]]->geometry());
    // The settings file now names the default collection.
    QCOMPARE(m_u->liesDatei(QStringLiteral("Kreidolin.ini")),
             AppInfo::standardDatenbank().toLocal8Bit() + "\r\n");
}

void TestForm2::mischen_data()
{
    QTest::addColumn<float>("r0");
    QTest::addColumn<float>("r1");
    QTest::addColumn<int>("loesung");
    QTest::addColumn<int>("antwort1");
    QTest::addColumn<int>("antwort2");
    QTest::newRow("0 1 2") << 0.1f << 0.5f << 0 << 1 << 2;
    QTest::newRow("0 2 1") << 0.1f << 0.9f << 0 << 2 << 1;
    QTest::newRow("1 0 2") << 0.5f << 0.1f << 1 << 0 << 2;
    QTest::newRow("1 2 0") << 0.5f << 0.9f << 1 << 2 << 0;
    QTest::newRow("2 0 1") << 0.9f << 0.1f << 2 << 0 << 1;
    QTest::newRow("2 1 0") << 0.9f << 0.5f << 2 << 1 << 0;
    // A draw that a generator rounded up to 1 still lands on the last slot.
    QTest::newRow("draw of 1") << 1.0f << 0.1f << 2 << 0 << 1;
}

void TestForm2::mischen()
{
    QFETCH(float, r0);
    QFETCH(float, r1);
    QFETCH(int, loesung);
    QFETCH(int, antwort1);
    QFETCH(int, antwort2);
    // One draw chooses the question, two place the answers; an equal pair first is drawn again.
    m_u->zufall.werte = {r0 == 1.0f ? 1.0f : 0.3f, 0.4f, 0.4f, r0, r1};
    Form2 *spiel = starte();
    QVERIFY(spiel);
    QCOMPARE(m_u->zufall.gezogen, 5);
    QCOMPARE(slotVon(spiel, spiel->lblLoesung), loesung);
    QCOMPARE(slotVon(spiel, spiel->lblAntwort1), antwort1);
    QCOMPARE(slotVon(spiel, spiel->lblAntwort2), antwort2);
}

void TestForm2::ganzesSpielGewonnen()
{
    Form2 *spiel = starte();
    QVERIFY(spiel);
    const QStringList titel{"1. Klasse", "2. Klasse", "3. Klasse", "4. Klasse", "5. Klasse",
                            "6. Klasse", "7. Klasse", "8. Klasse", "9. Klasse", "10.Klasse",
                            "11.Klasse", "12.Klasse", "13.Klasse", QString::fromUtf8("mündliches Abitur"),
                            "schriftliches Abitur"};
    for (int stufe = 1; stufe <= 15; ++stufe) {
        QCOMPARE(spiel->stufe(), stufe);
        QCOMPARE(spiel->windowTitle(), QStringLiteral("Spieler: Anna  |||  Momentaner Stand: ") + titel[stufe - 1]);
        QCOMPARE(spiel->lblFrageNr->text(), QString::number(stufe));
        QCOMPARE(spiel->lblFrage->text(), QStringLiteral("Frage S%1N1").arg(stufe));
        QVERIFY(!spiel->cmdOK->isEnabled());
        for (int i = 0; i < 15; ++i) {
            const QColor erwartet = i >= stufe ? Farben::desktop()
                : (i == 4 || i == 9)           ? QColor(192, 64, 0)
                                               : QColor(0, 192, 0);
            QCOMPARE(hintergrund(spiel->Label3[i]), erwartet);
        }
        // A wrong answer selected first and the solution after it counts as right.
        klicke(spiel->lblAntwort1);
        QVERIFY(spiel->cmdOK->isEnabled());
        klicke(spiel->lblLoesung);
        QCOMPARE(hintergrund(spiel->lblLoesung), QColor(0, 255, 0));
        QCOMPARE(hintergrund(spiel->lblAntwort1), Farben::schaltflaeche());
        if (stufe == 15)
            m_u->meldungen.beimZeigen = [](const Meldung &) { QVERIFY(!Fenster::offen<Form1>()); };
        klicke(spiel->cmdOK);
        QCOMPARE(m_u->meldungen.gezeigt.size(), stufe);
        if (stufe < 15) {
            QCOMPARE(m_u->meldungen.gezeigt.last().titel, kSpielTitel);
            QCOMPARE(m_u->meldungen.gezeigt.last().text, QStringLiteral("Richtig!"));
            QCOMPARE(m_u->meldungen.gezeigt.last().knoepfe, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
    }
    const Meldung sieg = m_u->meldungen.gezeigt.last();
    QCOMPARE(sieg.titel, QStringLiteral("Kreidolin Message"));
    QCOMPARE(sieg.text, QStringLiteral("Gratuliere! Du hast das Abitur bestanden!!!\r\n"
                                       "Folgende Daten werden in der Highscore gespeichert:\r\n"
                                       "Spieler: Anna\r\n15 Punkte"));
    QCOMPARE(highscore(), QByteArray("Anna | 15\r\n"));
    QVERIFY(!Fenster::offen<Form2>());
    Form1 *haupt = Fenster::offen<Form1>();
    QVERIFY(haupt);
    QVERIFY(haupt->isVisible());
    QVERIFY(haupt->txt_name->text().isEmpty());
    QVERIFY(!haupt->cmd_start->isEnabled());
    haupt->menuHighscore_Click();
    QCOMPARE(haupt->lstHighscore->count(), 1);
}

void TestForm2::falscheAntwort_data()
{
    QTest::addColumn<int>("stufe");
    QTest::addColumn<QString>("antwort");
    QTest::addColumn<int>("punkte");
    QTest::addColumn<QString>("text");
    const QString vorschule = falsch(QString::fromUtf8("müssen noch einmal auf die Vorschule...!"));
    const QString fuenf = falsch(QStringLiteral("bleiben in der 5. Klasse sitzen...!"));
    const QString zehn = falsch(QStringLiteral("bleiben in der 10. Klasse sitzen...!"));
    QTest::newRow("level 1") << 1 << "lblAntwort1" << 0 << vorschule;
    QTest::newRow("level 4") << 4 << "lblAntwort2" << 0 << vorschule;
    QTest::newRow("level 5") << 5 << "lblAntwort1" << 5 << fuenf;
    QTest::newRow("level 9") << 9 << "lblAntwort2" << 5 << fuenf;
    QTest::newRow("level 10") << 10 << "lblAntwort1" << 10 << zehn;
    QTest::newRow("level 14") << 14 << "lblAntwort2" << 10 << zehn;
    QTest::newRow("level 15") << 15 << "lblAntwort1" << 10 << zehn;
}

void TestForm2::falscheAntwort()
{
    QFETCH(int, stufe);
    QFETCH(QString, antwort);
    QFETCH(int, punkte);
    QFETCH(QString, text);
    Form2 *spiel = starte(QString::fromUtf8("Jürgen"));
    QVERIFY(spiel);
    spieleBis(spiel, stufe);
    const int vorher = m_u->meldungen.gezeigt.size();
    // The message comes first: no main window and no entry while it is open.
    bool geprueft = false;
    m_u->meldungen.beimZeigen = [&](const Meldung &) {
        geprueft = true;
        QVERIFY(!Fenster::offen<Form1>());
        QVERIFY(!highscore().contains("J\xfcrgen"));
    };
    klicke(spiel->findChild<QLabel *>(antwort));
    klicke(spiel->cmdOK);
    QVERIFY(geprueft);
    QCOMPARE(m_u->meldungen.gezeigt.size(), vorher + 1);
    const Meldung m = m_u->meldungen.gezeigt.last();
    QCOMPARE(m.titel, kSpielTitel);
    QCOMPARE(m.text, stufenZeilen(text, punkte));
    QCOMPARE(m.knoepfe, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(highscore(), QByteArray("J\xfcrgen | ") + QByteArray::number(punkte) + "\r\n");
    QVERIFY(!Fenster::offen<Form2>());
    QVERIFY(Fenster::offen<Form1>());
}

void TestForm2::aufgeben_data()
{
    QTest::addColumn<int>("stufe");
    QTest::addColumn<int>("punkte");
    QTest::newRow("first question") << 1 << 0;
    QTest::newRow("fifth question") << 5 << 4;
    QTest::newRow("tenth question") << 10 << 9;
    QTest::newRow("fifteenth question") << 15 << 14;
}

void TestForm2::aufgeben()
{
    QFETCH(int, stufe);
    QFETCH(int, punkte);
    Form2 *spiel = starte();
    QVERIFY(spiel);
    spieleBis(spiel, stufe);
    bool geprueft = false;
    m_u->meldungen.beimZeigen = [&](const Meldung &) {
        geprueft = true;
        QVERIFY(!Fenster::offen<Form1>());
    };
    klicke(spiel->cmdGiveUp);
    QVERIFY(geprueft);
    const Meldung m = m_u->meldungen.gezeigt.last();
    QCOMPARE(m.titel, kSpielTitel);
    QCOMPARE(m.text, stufenZeilen(QString::fromUtf8("Sie haben entschlossen, die Schule abzubrechen. Wenn Sie "
                                                    "mögen, starten Sie das Spiel erneut...!"),
                                  punkte));
    QCOMPARE(highscore(), QByteArray("Anna | ") + QByteArray::number(punkte) + "\r\n");
    QVERIFY(!Fenster::offen<Form2>());
    QVERIFY(Fenster::offen<Form1>());
}

void TestForm2::beendenOhneEintrag_data()
{
    QTest::addColumn<bool>("schliessfeld");
    QTest::newRow("B&eenden") << false;
    QTest::newRow("close box") << true;
}

void TestForm2::beendenOhneEintrag()
{
    QFETCH(bool, schliessfeld);
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), "alt | 3\r\n");
    Form2 *spiel = starte();
    QVERIFY(spiel);
    spieleBis(spiel, 3);
    const int vorher = m_u->meldungen.gezeigt.size();
    if (schliessfeld)
        spiel->close();
    else
        klicke(spiel->cmdEnd);
    QCOMPARE(m_u->meldungen.gezeigt.size(), vorher);
    QCOMPARE(highscore(), QByteArray("alt | 3\r\n"));
    QVERIFY(!Fenster::offen<Form2>());
    Form1 *haupt = Fenster::offen<Form1>();
    QVERIFY(haupt);
    QVERIFY(haupt->isVisible());
    QVERIFY(haupt->txt_name->text().isEmpty());
}

void TestForm2::fiftyAufGewaehlteAntwort_data()
{
    QTest::addColumn<QString>("joker");
    QTest::addColumn<QString>("antwort");
    QTest::newRow("first 50:50 strikes wrong answer 2") << "cmdFifty" << "lblAntwort2";
    QTest::newRow("second 50:50 strikes wrong answer 1") << "cmdFifty2" << "lblAntwort1";
}

void TestForm2::fiftyAufGewaehlteAntwort()
{
    QFETCH(QString, joker);
    QFETCH(QString, antwort);
    Form2 *spiel = starte();
    QVERIFY(spiel);
    spieleBis(spiel, 6);
    auto *gewaehlt = spiel->findChild<QLabel *>(antwort);
    klicke(gewaehlt);
    klicke(spiel->findChild<QPushButton *>(joker));
    QVERIFY(!gewaehlt->isVisible());
    QVERIFY(spiel->lblLoesung->isVisible());
    QVERIFY(spiel->cmdOK->isEnabled());
    QCOMPARE(hintergrund(gewaehlt), QColor(0, 255, 0));
    QVERIFY(!spiel->loesungGewaehlt());
    // The struck label cannot be clicked any more, the others can.
    klicke(gewaehlt);
    QCOMPARE(spiel->befehl(), antwort == QLatin1String("lblAntwort2") ? QStringLiteral("kill")
                                                                      : QStringLiteral("kill2"));
    klicke(spiel->cmdOK);
    QCOMPARE(m_u->meldungen.gezeigt.last().text,
             stufenZeilen(falsch(QStringLiteral("bleiben in der 5. Klasse sitzen...!")), 5));
    QCOMPARE(highscore(), QByteArray("Anna | 5\r\n"));
}

void TestForm2::jokerEinmalProSpiel()
{
    Form2 *spiel = starte();
    QVERIFY(spiel);
    klicke(spiel->cmdFifty);
    klicke(spiel->cmdFifty2);
    QVERIFY(!spiel->lblAntwort1->isVisible());
    QVERIFY(!spiel->lblAntwort2->isVisible());
    QVERIFY(spiel->lblLoesung->isVisible());
    for (int i = 0; i < 3; ++i)
        QVERIFY(spiel->Label5[i]->isVisible());
    QVERIFY(!spiel->cmdFifty->isEnabled());
    QVERIFY(!spiel->cmdFifty2->isEnabled());
    richtig(spiel);
    QCOMPARE(spiel->stufe(), 2);
    QVERIFY(spiel->lblAntwort1->isVisible());
    QVERIFY(spiel->lblAntwort2->isVisible());
    QVERIFY(!spiel->cmdFifty->isEnabled());
    QVERIFY(!spiel->cmdFifty2->isEnabled());
    QVERIFY(spiel->cmdRnd->isEnabled());
    klicke(spiel->cmdRnd);
    QVERIFY(!spiel->cmdRnd->isEnabled());
    const int meldungen = m_u->meldungen.gezeigt.size();
    klicke(spiel->cmdRnd);
    klicke(spiel->cmdFifty);
    QCOMPARE(m_u->meldungen.gezeigt.size(), meldungen);
    QVERIFY(spiel->lblAntwort2->isVisible());
    QCOMPARE(spiel->stufe(), 2);
}

void TestForm2::umfrage_data()
{
    QTest::addColumn<float>("r1");
    QTest::addColumn<float>("r2");
    QTest::addColumn<int>("loesung");
    QTest::addColumn<int>("antwort1");
    QTest::addColumn<int>("antwort2");
    QTest::addColumn<bool>("nachFifty");
    QTest::newRow("solution 0") << 0.0f << 0.5f << 0 << 50 << 50 << false;
    QTest::newRow("solution 99") << 0.999f << 0.999f << 99 << 0 << 1 << false;
    QTest::newRow("after 50:50") << 0.375f << 0.25f << 37 << 15 << 48 << true;
}

void TestForm2::umfrage()
{
    QFETCH(float, r1);
    QFETCH(float, r2);
    QFETCH(int, loesung);
    QFETCH(int, antwort1);
    QFETCH(int, antwort2);
    QFETCH(bool, nachFifty);
    QCOMPARE(loesung + antwort1 + antwort2, 100);
    Form2 *spiel = starte();
    QVERIFY(spiel);
    spieleBis(spiel, 3);
    if (nachFifty)
        klicke(spiel->cmdFifty);
    m_u->zufall.werte = {r1, r2};
    bool nochAktiv = false;
    m_u->meldungen.beimZeigen = [&](const Meldung &) { nochAktiv = spiel->cmdRnd->isEnabled(); };
    klicke(spiel->cmdRnd);
    QVERIFY(nochAktiv);
    QVERIFY(!spiel->cmdRnd->isEnabled());
    const Meldung m = m_u->meldungen.gezeigt.last();
    QCOMPARE(m.titel, kSpielTitel);
    QCOMPARE(m.knoepfe, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(m.text, QString::fromUtf8("Das Publikum hat wie folgt gestimmt: \r\n"
                                       "Lösung S3N1 = %1%\r\nFalsch1 S3N1 = %2%\r\nFalsch2 S3N1 = %3%")
                         .arg(loesung)
                         .arg(antwort1)
                         .arg(antwort2));
    QCOMPARE(spiel->stufe(), 3);
}

void TestForm2::anzeigeBefehle()
{
    Form2 *spiel = starte();
    QVERIFY(spiel);
    const QList<int> xVorher{spiel->lblLoesung->x(), spiel->lblAntwort1->x(), spiel->lblAntwort2->x()};
    const int gezogen = m_u->zufall.gezogen;
    spiel->fuehreAus(QStringLiteral("Mischen"));
    QCOMPARE(m_u->zufall.gezogen, gezogen);
    QCOMPARE((QList<int>{spiel->lblLoesung->x(), spiel->lblAntwort1->x(), spiel->lblAntwort2->x()}), xVorher);

    spiel->fuehreAus(QStringLiteral("loesung"));
    QVERIFY(spiel->loesungGewaehlt());
    spiel->fuehreAus(QStringLiteral("antwort2"));
    QVERIFY(!spiel->loesungGewaehlt());
    QCOMPARE(hintergrund(spiel->lblAntwort2), QColor(0, 255, 0));
    QCOMPARE(hintergrund(spiel->lblLoesung), Farben::schaltflaeche());
    QCOMPARE(hintergrund(spiel->lblAntwort1), Farben::schaltflaeche());
    QVERIFY(spiel->cmdOK->isEnabled());
    spiel->fuehreAus(QStringLiteral("refresh"));
    QVERIFY(!spiel->cmdOK->isEnabled());
    QVERIFY(!spiel->loesungGewaehlt());
    for (QLabel *a : {spiel->lblLoesung, spiel->lblAntwort1, spiel->lblAntwort2})
        QCOMPARE(hintergrund(a), Farben::schaltflaeche());

    // Striking hides a label without touching the selection.
    spiel->fuehreAus(QStringLiteral("antwort1"));
    spiel->fuehreAus(QStringLiteral("kill2"));
    QVERIFY(!spiel->lblAntwort1->isVisible());
    QVERIFY(spiel->cmdOK->isEnabled());
    QCOMPARE(hintergrund(spiel->lblAntwort1), QColor(0, 255, 0));
    spiel->fuehreAus(QStringLiteral("visible"));
    QVERIFY(spiel->lblAntwort1->isVisible());
    // An unknown command only writes the level number.
    spiel->lblFrageNr->setText(QStringLiteral("x"));
    spiel->fuehreAus(QStringLiteral("unbekannt"));
    QCOMPARE(spiel->lblFrageNr->text(), QStringLiteral("1"));
    QCOMPARE(spiel->befehl(), QStringLiteral("unbekannt"));
}

void TestForm2::stufeOhneFrage()
{
    QVector<FrageZeile> zeilen = TestUmgebung::fragenJeStufe(1);
    zeilen.removeIf([](const FrageZeile &z) { return z.stufe.toInt() == 3; });
    m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), zeilen);
    Form2 *spiel = starte();
    QVERIFY(spiel);
    richtig(spiel);
    QCOMPARE(spiel->stufe(), 2);
    richtig(spiel);
    QCOMPARE(m_u->meldungen.titel(), (QStringList{kSpielTitel, kSpielTitel, kSpielTitel}));
    QCOMPARE(m_u->meldungen.gezeigt.last().text,
             stufenZeilen(QStringLiteral("In der Fragendatenbank gibt es keine Frage für die Stufe 3 (3. Klasse). "
                                         "Das Spiel endet hier."),
                          2));
    QCOMPARE(highscore(), QByteArray("Anna | 2\r\n"));
    QVERIFY(!Fenster::offen<Form2>());
    QVERIFY(Fenster::offen<Form1>());
}

void TestForm2::klartext_data()
{
    QTest::addColumn<QString>("frage");
    QTest::addColumn<QString>("name");
    QTest::newRow("tags") << "<i>x</i>" << "<b>Tom</b>";
    QTest::newRow("less than") << "Ist a<b>c?" << "Tom [*] & Co";
}

void TestForm2::klartext()
{
    QFETCH(QString, frage);
    QFETCH(QString, name);
    QVector<FrageZeile> zeilen = TestUmgebung::fragenJeStufe(1);
    zeilen[0].frage = frage;
    zeilen[0].loesung = name;
    m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), zeilen);
    Form2 *spiel = starte(name);
    QVERIFY(spiel);
    for (QLabel *label : {spiel->lblFrage, spiel->lblLoesung, spiel->lblAntwort1, spiel->lblAntwort2, spiel->lblPlayer})
        QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(spiel->lblFrage->text(), frage);
    QCOMPARE(spiel->lblLoesung->text(), name);
    QCOMPARE(spiel->lblPlayer->text(), name);
    QVERIFY(spiel->windowHandle()->title().contains(QStringLiteral("Spieler: ") + name + QStringLiteral("  |||")));
}

void TestForm2::ladefehler_data()
{
    QTest::addColumn<QString>("fall");
    QTest::addColumn<bool>("ohne1"); // the message names the missing first level
    QTest::newRow("no database file") << "fehlt" << false;
    QTest::newRow("not a database") << "text" << false;
    QTest::newRow("empty table") << "leer" << false;
    QTest::newRow("no level-1 question") << "ohne1" << true;
    QTest::newRow("only levels that are no numbers") << "textstufen" << true;
    QTest::newRow("more than 32767 rows") << "gross" << false;
    QTest::newRow("settings name a missing file") << "ini" << false;
}

void TestForm2::ladefehler()
{
    QFETCH(QString, fall);
    QFETCH(bool, ohne1);
    const QString db = m_u->datei(QStringLiteral("Fragen.mdb"));
    if (fall == QLatin1String("fehlt")) {
        QFile::remove(db);
    } else if (fall == QLatin1String("text")) {
        QFile::remove(db);
        m_u->schreibeDatei(QStringLiteral("Fragen.mdb"), "keine Datenbank\r\n");
    } else if (fall == QLatin1String("leer")) {
        m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), {});
    } else if (fall == QLatin1String("ohne1")) {
        QVector<FrageZeile> zeilen = TestUmgebung::fragenJeStufe(2);
        zeilen.removeIf([](const FrageZeile &z) { return z.stufe.toInt() == 1; });
        m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), zeilen);
    } else if (fall == QLatin1String("textstufen")) {
        m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"),
                           {{"F", "L", "A1", "A2", QStringLiteral("eins"), QVariant()},
                            {"F", "L", "A1", "A2", QStringLiteral("1 Klasse"), QVariant()},
                            {"F", "L", "A1", "A2", 1.5, QVariant()}});
    } else if (fall == QLatin1String("gross")) {
        QVector<FrageZeile> zeilen;
        for (int i = 0; i < Recordset::kMaxRows + 1; ++i)
            zeilen.append({"F", "L", "A1", "A2", 1 + i % 15, QVariant()});
        m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), zeilen);
    } else if (fall == QLatin1String("ini")) {
        m_u->schreibeDatei(QStringLiteral("Kreidolin.ini"), "/gibt/es/nicht.mdb\r\n");
    }
    bool unsichtbar = false;
    m_u->meldungen.beimZeigen = [&](const Meldung &) {
        Form2 *spiel = Fenster::offen<Form2>();
        unsichtbar = spiel && !spiel->isVisible() && !Fenster::offen<Form3>();
    };
    Form1 *haupt = Fenster::zeige<Form1>();
    haupt->txt_name->setText(QStringLiteral("Anna"));
    klicke(haupt->cmd_start);
    QVERIFY(unsichtbar);
    QCOMPARE(m_u->meldungen.gezeigt.size(), 1);
    QCOMPARE(m_u->meldungen.gezeigt[0].titel, QStringLiteral("Kreidolin"));
    QCOMPARE(m_u->meldungen.gezeigt[0].text,
             ohne1 ? kLadefehler + QStringLiteral("\r\nIn der Fragendatenbank gibt es keine Frage für die Stufe 1 "
                                                  "(1. Klasse).")
                   : kLadefehler);
    QCOMPARE(m_u->meldungen.gezeigt[0].knoepfe, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(!Fenster::offen<Form2>());
    QVERIFY(!Fenster::offen<Form1>());
    QVERIFY(Fenster::offen<Form3>());
    QVERIFY(Fenster::offen<Form3>()->isVisible());
    QVERIFY(!QFile::exists(m_u->datei(QStringLiteral("highscore.dtt")))
            || QFile(m_u->datei(QStringLiteral("highscore.dtt"))).size() == 0);
    if (fall == QLatin1String("ini"))
        QCOMPARE(m_u->liesDatei(QStringLiteral("Kreidolin.ini")), QByteArray("/gibt/es/nicht.mdb\r\n"));
}

void TestForm2::schreibgeschuetzterOrdner()
{
    Form2 *spiel = nullptr;
    {
        SchreibschutzOrdner schutz(m_u->verzeichnis());
        // The folder can only be released once nothing holds the database open.
        struct Freigabe {
            ~Freigabe()
            {
                aufraeumen();
                Verbindung.reset();
            }
        } freigabe;
        if (!schutz.aktiv())
            QSKIP("cannot make a folder read-only here");
        spiel = starte();
        QVERIFY(spiel);
        QVERIFY(spiel->isVisible());
        QCOMPARE(m_u->meldungen.gezeigt.size(), 1);
        QCOMPARE(m_u->meldungen.gezeigt[0].titel, QStringLiteral("Kreidolin"));
        QVERIFY(m_u->meldungen.gezeigt[0].text.startsWith(
            QStringLiteral("Die Einstellung konnte nicht gespeichert werden.\r\n")));
        QVERIFY(m_u->meldungen.gezeigt[0].text.contains(AppInfo::standardDatenbank()));
        spieleBis(spiel, 4);
        klicke(spiel->cmdGiveUp);
        QCoreApplication::processEvents();
        const QStringList texte = m_u->meldungen.texte();
        QVERIFY(texte.size() >= 6);
        QVERIFY(texte[4].contains(QStringLiteral("Stufe: 3")));
        QVERIFY(texte[5].startsWith(
            QStringLiteral("Der Eintrag für die Highscore konnte nicht gespeichert werden.\r\n")));
        QVERIFY(texte[5].contains(QLatin1String("highscore.dtt")));
        QVERIFY(!Fenster::offen<Form2>());
        QVERIFY(Fenster::offen<Form1>());
        QVERIFY(Fenster::offen<Form1>()->isVisible());
    }
    QVERIFY(!QFile::exists(m_u->datei(QStringLiteral("Kreidolin.ini"))));
}

void TestForm2::naechstesSpielFrisch()
{
    Form2 *spiel = starte();
    QVERIFY(spiel);
    spieleBis(spiel, 6);
    klicke(spiel->cmdFifty);
    klicke(spiel->cmdRnd);
    klicke(spiel->lblAntwort1);
    klicke(spiel->cmdEnd);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Form2 *neu = starte(QStringLiteral("Ben"));
    QVERIFY(neu);
    QCOMPARE(neu->stufe(), 1);
    QVERIFY(neu->cmdFifty->isEnabled() && neu->cmdRnd->isEnabled() && neu->cmdFifty2->isEnabled());
    QVERIFY(!neu->cmdOK->isEnabled());
    QVERIFY(neu->lblAntwort2->isVisible());
    QCOMPARE(hintergrund(neu->Label3[4]), Farben::desktop());
    QCOMPARE(hintergrund(neu->Label3[0]), QColor(0, 192, 0));
    QCOMPARE(neu->windowTitle(), QStringLiteral("Spieler: Ben  |||  Momentaner Stand: 1. Klasse"));
    QCOMPARE(m_u->zufall.seeds, 2);
}

void TestForm2::langerName()
{
    Form2 *kurz = starte(QStringLiteral("Al"));
    QVERIFY(kurz);
    const int links = kurz->lblPlayer->x();
    const int label2 = kurz->Label2->x();
    const int breite = kurz->lblPlayer->width();
    klicke(kurz->cmdEnd);
    Form2 *lang = starte(QStringLiteral("Maximiliane Mustermann-Lüdenscheid"));
    QVERIFY(lang);
    QCOMPARE(lang->lblPlayer->x(), links);
    QCOMPARE(lang->Label2->x(), label2);
    QVERIFY(lang->lblPlayer->width() > breite);
}

void TestForm2::zugriffstasten()
{
    Form2 *spiel = starte();
    QVERIFY(spiel);
    QApplication::setActiveWindow(spiel);
    QVERIFY(QTest::qWaitForWindowActive(spiel));
    klicke(spiel->lblLoesung);
    // A button pressed by its access key clicks a moment later.
    QTest::keyClick(spiel, Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(spiel->stufe(), 2);
    QTest::keyClick(spiel, Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY(!Fenster::offen<Form2>());
    QCOMPARE(highscore(), QByteArray("Anna | 1\r\n"));
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
