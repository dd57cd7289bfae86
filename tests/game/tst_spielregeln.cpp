#include "game/spiellayout.h"
#include "game/spielregeln.h"

#include <QSet>
#include <QTest>

#include <cmath>

using namespace Spielregeln;

class TestSpielregeln : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Level names: one-digit grades with a blank after the period, two-digit ones without.
    void stufenNamen_data();
    void stufenNamen();
    // A wrong answer keeps 10 from level 10, 5 from level 5, else 0, with its text.
    void sicherheit_data();
    void sicherheit();
    // A draw maps to 0..n-1 and never reaches n, even for a draw that is not below 1.
    void ziehung_data();
    void ziehung();
    // The poll's shares add up to 100; the solution's share can be 0, the second wrong one never.
    void umfrage_data();
    void umfrage();
    // Over a fine grid of draws the poll always sums to 100 and its means match the formula.
    void umfrageRaster();
    // Each pair of different slot draws gives one of the six orders, each once; equal pairs are drawn again.
    void mische();
    // A generator stuck on one value cannot freeze the shuffle.
    void mischeHaengtNie();
    // Slot edges are rounded to whole twips, a half to the even neighbour.
    void slotLinks_data();
    void slotLinks();
    // The caption joins player and level name with the fixed middle piece.
    void fensterTitel_data();
    void fensterTitel();
    // Only numbers equal to the level match; text, empty and fractions never do.
    void stufePasst_data();
    void stufePasst();
    // Rows are listed per level in row order; a draw picks each row of a level equally often.
    void zeilenWahl();
    // A level without rows gives no row instead of searching for ever.
    void leereStufe();
    // The load-time layout at 11910 twips inner width gives the known positions.
    void layoutBeispiel();
};

void TestSpielregeln::stufenNamen_data()
{
    QTest::addColumn<int>("stufe");
    QTest::addColumn<QString>("name");
    QTest::newRow("1") << 1 << "1. Klasse";
    QTest::newRow("5") << 5 << "5. Klasse";
    QTest::newRow("9") << 9 << "9. Klasse";
    QTest::newRow("10") << 10 << "10.Klasse";
    QTest::newRow("13") << 13 << "13.Klasse";
    QTest::newRow("14") << 14 << QString::fromUtf8("mündliches Abitur");
    QTest::newRow("15") << 15 << "schriftliches Abitur";
    QTest::newRow("0") << 0 << QString();
    QTest::newRow("16") << 16 << QString();
}

void TestSpielregeln::stufenNamen()
{
    QFETCH(int, stufe);
    QFETCH(QString, name);
    QCOMPARE(stufenName(stufe), name);
}

void TestSpielregeln::sicherheit_data()
{
    QTest::addColumn<int>("stufe");
    QTest::addColumn<int>("punkte");
    QTest::addColumn<QString>("ende");
    const QString vorschule = QString::fromUtf8("müssen noch einmal auf die Vorschule...!");
    const QString fuenf = QStringLiteral("bleiben in der 5. Klasse sitzen...!");
    const QString zehn = QStringLiteral("bleiben in der 10. Klasse sitzen...!");
    for (int s = 1; s <= 15; ++s)
        QTest::addRow("level %d", s) << s << (s >= 10 ? 10 : s >= 5 ? 5 : 0)
                                     << (s >= 10 ? zehn : s >= 5 ? fuenf : vorschule);
}

void TestSpielregeln::sicherheit()
{
    QFETCH(int, stufe);
    QFETCH(int, punkte);
    QFETCH(QString, ende);
    QCOMPARE(sicherheitsstufe(stufe), punkte);
    QCOMPARE(falschText(stufe), QStringLiteral("Sie haben die Antwort leider falsch beantwortet. Leider haben Sie "
                                               "zuviel riskiert und ")
                 + ende);
}

void TestSpielregeln::ziehung_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("k");
    QTest::newRow("zero") << 0.0f << 10 << 0;
    QTest::newRow("just below a step") << 0.2999f << 10 << 2;
    QTest::newRow("on a step") << 0.5f << 10 << 5;
    QTest::newRow("largest float below 1") << std::nextafter(1.0f, 0.0f) << 3 << 2;
    QTest::newRow("largest below 1, 32767 rows") << std::nextafter(1.0f, 0.0f) << 32767 << 32766;
    QTest::newRow("rounded up to 1") << 1.0f << 3 << 2;
    QTest::newRow("rounded up to 1, 100") << 1.0f << 100 << 99;
    QTest::newRow("one row") << 0.7f << 1 << 0;
    QTest::newRow("negative") << -0.5f << 5 << 0;
    QTest::newRow("not a number") << std::nanf("") << 5 << 0;
}

void TestSpielregeln::ziehung()
{
    QFETCH(float, r);
    QFETCH(int, n);
    QFETCH(int, k);
    QCOMPARE(Spielregeln::ziehung(r, n), k);
}

void TestSpielregeln::umfrage_data()
{
    QTest::addColumn<float>("r1");
    QTest::addColumn<float>("r2");
    QTest::addColumn<int>("loesung");
    QTest::addColumn<int>("antwort1");
    QTest::addColumn<int>("antwort2");
    QTest::newRow("solution gets 0") << 0.0f << 0.5f << 0 << 50 << 50;
    QTest::newRow("half and half") << 0.5f << 0.5f << 50 << 25 << 25;
    QTest::newRow("highest draws") << std::nextafter(1.0f, 0.0f) << std::nextafter(1.0f, 0.0f) << 99 << 0 << 1;
    QTest::newRow("draws of 1 still leave 1") << 1.0f << 1.0f << 99 << 0 << 1;
    QTest::newRow("first wrong gets all but 1") << 0.0f << std::nextafter(1.0f, 0.0f) << 0 << 99 << 1;
    QTest::newRow("0.73 / 0.41") << 0.73f << 0.41f << 73 << 11 << 16;
}

void TestSpielregeln::umfrage()
{
    QFETCH(float, r1);
    QFETCH(float, r2);
    QFETCH(int, loesung);
    QFETCH(int, antwort1);
    QFETCH(int, antwort2);
    const Umfrage u = Spielregeln::umfrage(r1, r2);
    QCOMPARE(u.loesung, loesung);
    QCOMPARE(u.antwort1, antwort1);
    QCOMPARE(u.antwort2, antwort2);
    QCOMPARE(u.loesung + u.antwort1 + u.antwort2, 100);
}

void TestSpielregeln::umfrageRaster()
{
    const int schritte = 400;
    double summe[3] = {0, 0, 0};
    for (int a = 0; a < schritte; ++a) {
        for (int b = 0; b < schritte; ++b) {
            const Umfrage u = Spielregeln::umfrage((a + 0.5f) / schritte, (b + 0.5f) / schritte);
            QVERIFY(u.loesung >= 0 && u.antwort1 >= 0 && u.antwort2 >= 1);
            QCOMPARE(u.loesung + u.antwort1 + u.antwort2, 100);
            summe[0] += u.loesung;
            summe[1] += u.antwort1;
            summe[2] += u.antwort2;
        }
    }
    const double n = double(schritte) * schritte;
    QVERIFY(std::abs(summe[0] / n - 49.5) < 0.1);
    QVERIFY(std::abs(summe[1] / n - 24.75) < 0.2);
    QVERIFY(std::abs(summe[2] / n - 25.75) < 0.2);
}

void TestSpielregeln::mische()
{
    const float stufen[3] = {0.1f, 0.5f, 0.9f};
    QSet<QString> gesehen;
    for (float a : stufen) {
        for (float b : stufen) {
            // An equal pair is followed by a second pair 0 / 2.
            QList<float> werte{a, b, 0.0f, 0.9f};
            int gezogen = 0;
            const Reihenfolge r = Spielregeln::mische([&] {
                ++gezogen;
                return werte.takeFirst();
            });
            QCOMPARE(QSet<int>({r[0], r[1], r[2]}), QSet<int>({0, 1, 2}));
            if (a == b) {
                QCOMPARE(gezogen, 4);
                QCOMPARE(r, (Reihenfolge{0, 2, 1}));
            } else {
                QCOMPARE(gezogen, 2);
                QCOMPARE(r[0], Spielregeln::ziehung(a, 3));
                QCOMPARE(r[1], Spielregeln::ziehung(b, 3));
                gesehen.insert(QStringLiteral("%1%2%3").arg(r[0]).arg(r[1]).arg(r[2]));
            }
        }
    }
    QCOMPARE(gesehen.size(), 6);
}

void TestSpielregeln::mischeHaengtNie()
{
    const Reihenfolge r = Spielregeln::mische([] { return 0.5f; });
    QCOMPARE(QSet<int>({r[0], r[1], r[2]}), QSet<int>({0, 1, 2}));
}

void TestSpielregeln::slotLinks_data()
{
    QTest::addColumn<double>("breite");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("links");
    const double breite = (11710.0 - 800.0) / 3.0;
    QTest::newRow("left") << breite << 0 << 200;
    QTest::newRow("middle") << breite << 1 << 4037;
    QTest::newRow("right") << breite << 2 << 7873;
    QTest::newRow("half to even, down") << 100.5 << 1 << 500;  // 500.5
    QTest::newRow("half to even, up") << 101.5 << 1 << 502;    // 501.5
}

void TestSpielregeln::slotLinks()
{
    QFETCH(double, breite);
    QFETCH(int, slot);
    QFETCH(int, links);
    QCOMPARE(Spielregeln::slotLinks(breite, slot), links);
}

void TestSpielregeln::fensterTitel_data()
{
    QTest::addColumn<QString>("spieler");
    QTest::addColumn<int>("stufe");
    QTest::addColumn<QString>("titel");
    QTest::newRow("level 1") << "Anna" << 1 << "Spieler: Anna  |||  Momentaner Stand: 1. Klasse";
    QTest::newRow("level 9") << "Anna" << 9 << "Spieler: Anna  |||  Momentaner Stand: 9. Klasse";
    QTest::newRow("level 10") << "Anna" << 10 << "Spieler: Anna  |||  Momentaner Stand: 10.Klasse";
    QTest::newRow("level 15") << "Anna" << 15 << "Spieler: Anna  |||  Momentaner Stand: schriftliches Abitur";
    QTest::newRow("no name") << "" << 1 << "Spieler:   |||  Momentaner Stand: 1. Klasse";
}

void TestSpielregeln::fensterTitel()
{
    QFETCH(QString, spieler);
    QFETCH(int, stufe);
    QFETCH(QString, titel);
    QCOMPARE(Spielregeln::fensterTitel(spieler, stufenName(stufe)), titel);
}

void TestSpielregeln::stufePasst_data()
{
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<int>("stufe");
    QTest::addColumn<bool>("passt");
    QTest::newRow("long long") << QVariant(qlonglong(15)) << 15 << true;
    QTest::newRow("int") << QVariant(7) << 7 << true;
    QTest::newRow("other level") << QVariant(qlonglong(3)) << 4 << false;
    QTest::newRow("whole double") << QVariant(5.0) << 5 << true;
    QTest::newRow("fraction") << QVariant(5.5) << 5 << false;
    QTest::newRow("fraction rounds to level") << QVariant(4.9999) << 5 << false;
    QTest::newRow("text digits") << QVariant(QStringLiteral("5")) << 5 << true;
    QTest::newRow("text leading zero") << QVariant(QStringLiteral("05")) << 5 << true;
    QTest::newRow("text blanks") << QVariant(QStringLiteral(" 5 ")) << 5 << true;
    QTest::newRow("currency as read") << QVariant(QStringLiteral("5.0000")) << 5 << true;
    QTest::newRow("decimal comma") << QVariant(QStringLiteral("5,00")) << 5 << true;
    QTest::newRow("text fraction") << QVariant(QStringLiteral("5.5")) << 5 << false;
    QTest::newRow("text other level") << QVariant(QStringLiteral("15")) << 5 << false;
    QTest::newRow("text word") << QVariant(QStringLiteral("fünf")) << 5 << false;
    QTest::newRow("null") << QVariant() << 0 << false;
    QTest::newRow("zero") << QVariant(qlonglong(0)) << 1 << false;
    QTest::newRow("huge") << QVariant(qlonglong(65537)) << 1 << false;
}

void TestSpielregeln::stufePasst()
{
    QFETCH(QVariant, wert);
    QFETCH(int, stufe);
    QFETCH(bool, passt);
    QCOMPARE(Spielregeln::stufePasst(wert, stufe), passt);
}

void TestSpielregeln::zeilenWahl()
{
    const QVector<QVariant> stufen{qlonglong(2), qlonglong(1), QStringLiteral("eins"), qlonglong(2), 1.5,
                                   qlonglong(16), qlonglong(2), QVariant(), qlonglong(0)};
    const auto listen = zeilenJeStufe(stufen);
    QCOMPARE(listen.size(), 16);
    QCOMPARE(listen[1], QVector<int>({1}));
    QCOMPARE(listen[2], QVector<int>({0, 3, 6}));
    for (int s = 3; s <= 15; ++s)
        QVERIFY(listen[s].isEmpty());
    QVector<int> anzahl(stufen.size(), 0);
    const int schritte = 3000;
    for (int i = 0; i < schritte; ++i)
        ++anzahl[waehleZeile(listen[2], float(i) / schritte)];
    QCOMPARE(anzahl[0], 1000);
    QCOMPARE(anzahl[3], 1000);
    QCOMPARE(anzahl[6], 1000);
    QCOMPARE(waehleZeile(listen[2], 1.0f), 6);
}

void TestSpielregeln::leereStufe()
{
    QCOMPARE(waehleZeile({}, 0.3f), -1);
    const auto listen = zeilenJeStufe({});
    QCOMPARE(waehleZeile(listen[1], 0.0f), -1);
}

void TestSpielregeln::layoutBeispiel()
{
    const SpielLayout l = berechneSpielLayout(11910, 600, 150, 700, 800);
    QCOMPARE(l.frame2.links, 9515.0);
    QCOMPARE(l.frame4.links, 2557.5);
    QCOMPARE(l.frame4.oben, 4500.0);
    QCOMPARE(l.frame3.links, 100.0);
    QCOMPARE(l.frame3.breite, 11710.0);
    const double links[3] = {200, 4036.6667, 7873.3333};
    for (int i = 0; i < 3; ++i) {
        QVERIFY(std::abs(l.label5[i].breite - 3636.6667) < 0.001);
        QCOMPARE(l.label5[i].hoehe, 1787.5);
        QCOMPARE(l.label5[i].oben, 1865.0);
        QVERIFY(std::abs(l.label5[i].links - links[i]) < 0.001);
        QCOMPARE(l.shape1[i].oben, 1815.0);
        QVERIFY(std::abs(l.shape1[i].links - (links[i] - 50)) < 0.001);
        QVERIFY(std::abs(l.shape1[i].breite - (l.label5[i].breite + 100)) < 0.001);
        QCOMPARE(l.shape1[i].hoehe, 1887.5);
    }
    QCOMPARE(l.antwort.oben, 1865.0);
    QCOMPARE(l.antwort.hoehe, 1787.5);
    for (int i = 0; i < 15; ++i) {
        QCOMPARE(l.label3[i].links, 420.0);
        QCOMPARE(l.label3[i].breite, 1695.0);
    }
    QCOMPARE(l.label3[14].oben, 240.0);
    QCOMPARE(l.label3[0].oben, 3645.0);
    QCOMPARE(l.label3[4].oben, 2685.0);
    // "Frage " and the number follow each other; name and player end 100 twips from the right.
    QCOMPARE(l.label1.links, 100.0);
    QCOMPARE(l.lblFrageNr.links, 700.0);
    QCOMPARE(l.lblPlayer.links, 11910.0 - 800 - 100);
    QCOMPARE(l.label2.links, 11910.0 - 700 - 800 - 100);
}

QTEST_GUILESS_MAIN(TestSpielregeln)
#include "tst_spielregeln.moc"
