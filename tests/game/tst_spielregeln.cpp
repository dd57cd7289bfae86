// The rules that need no window: levels and their safety, draws, poll,
// shuffle, the choice of a question, the level field's reading, the
// rounding of the slots and the projector view's fit.

#include "basis/twips.h"
#include "game/spielregeln.h"
#include "ui/stufenwert.h"

#include <QSet>
#include <QTest>

#include <cmath>

using namespace Spielregeln;

class TestSpielregeln : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each level's name; the score a wrong answer keeps and its message are the game's (tst_spiel).
    void stufen()
    {
        const QStringList namen{"", "1. Klasse", "2. Klasse", "3. Klasse", "4. Klasse", "5. Klasse", "6. Klasse",
                                "7. Klasse", "8. Klasse", "9. Klasse", "10.Klasse", "11.Klasse", "12.Klasse",
                                "13.Klasse", "mündliches Abitur", "schriftliches Abitur", ""};
        for (int s = 0; s <= 16; ++s)
            QCOMPARE(stufenName(s), namen[s]);
    }
    // floor(n * r), kept inside 0..n-1 for draws of 1, below 0 or NaN.
    void ziehung_data()
    {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("k");
        QTest::newRow("largest below 1") << std::nextafter(1.0f, 0.0f) << 32767 << 32766;
        QTest::newRow("rounded up to 1") << 1.0f << 3 << 2;
        QTest::newRow("negative") << -0.5f << 5 << 0;
        QTest::newRow("not a number") << std::nanf("") << 5 << 0;
    }
    void ziehung()
    {
        QFETCH(float, r);
        QFETCH(int, n);
        QFETCH(int, k);
        QCOMPARE(Spielregeln::ziehung(r, n), k);
    }
    // The poll's shares from two draws add up to 100, the second wrong answer gets at least 1.
    void umfrage_data()
    {
        QTest::addColumn<float>("r1");
        QTest::addColumn<float>("r2");
        QTest::addColumn<QList<int>>("anteile");
        QTest::newRow("solution gets 0") << 0.0f << 0.5f << QList<int>{0, 50, 50};
        QTest::newRow("draws of 1 still leave 1") << 1.0f << 1.0f << QList<int>{99, 0, 1};
    }
    void umfrage()
    {
        QFETCH(float, r1);
        QFETCH(float, r2);
        QFETCH(QList<int>, anteile);
        const Umfrage u = Spielregeln::umfrage(r1, r2);
        QCOMPARE((QList<int>{u.loesung, u.antwort1, u.antwort2}), anteile);
    }
    // Six orders come out of the two slot draws; an equal pair is drawn again.
    void mische()
    {
        const float draws[3] = {0.1f, 0.5f, 0.9f};
        QSet<QString> gesehen;
        for (float a : draws) {
            for (float b : draws) {
                QList<float> werte{a, b, 0.0f, 0.9f};
                const Reihenfolge r = Spielregeln::mische([&] { return werte.takeFirst(); });
                QCOMPARE(QSet<int>({r[0], r[1], r[2]}), QSet<int>({0, 1, 2}));
                QCOMPARE(werte.size(), a == b ? 0 : 2);
                if (a != b)
                    gesehen.insert(QStringLiteral("%1%2%3").arg(r[0]).arg(r[1]).arg(r[2]));
            }
        }
        QCOMPARE(gesehen.size(), 6);
    }
    // Only numbers name a level; rows per level in row order; each row equally likely.
    void zeilenWahl()
    {
        const auto listen = zeilenJeStufe({qlonglong(2), qlonglong(1), QStringLiteral("1"), 2.0, 1.5,
                                           qlonglong(16), qlonglong(2), QVariant(), qlonglong(0)});
        QCOMPARE(listen.size(), 16);
        QCOMPARE(listen[1], QVector<int>({1, 2}));
        QCOMPARE(listen[2], QVector<int>({0, 3, 6}));
        for (int s = 3; s <= 15; ++s)
            QVERIFY(listen[s].isEmpty());
        QMap<int, int> anzahl;
        for (int i = 0; i < 3000; ++i)
            ++anzahl[waehleZeile(listen[2], i / 3000.0f)];
        QCOMPARE(anzahl, (QMap<int, int>{{0, 1000}, {3, 1000}, {6, 1000}}));
        QCOMPARE(waehleZeile(listen[2], 1.0f), 6);
        QCOMPARE(waehleZeile({}, 0.3f), -1);
    }
    // The level field: numeric value as typed by hand, range check, storable whole level.
    void stufenwert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::addColumn<int>("stufe"); // 0: none that can be stored
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("plain") << "7" << 7.0 << 7;
        QTest::newRow("blanks around") << " \t15\n" << 15.0 << 15;
        QTest::newRow("blanks inside") << " 1 2" << 12.0 << 0;
        QTest::newRow("fraction") << "2.5" << 2.5 << 0;
        QTest::newRow("trailing letters") << "3abc" << 3.0 << 0;
        QTest::newRow("exponent E") << "1E1" << 10.0 << 0;
        QTest::newRow("exponent D, signed") << "15d-1" << 1.5 << 0;
        QTest::newRow("hexadecimal") << "&hFf" << 255.0 << 0;
        QTest::newRow("octal") << "&O170" << 120.0 << 0;
        QTest::newRow("sixteen") << "16" << 16.0 << 0;
        QTest::newRow("one") << "1" << 1.0 << 1;
        QTest::newRow("too large") << "1e999" << inf << 0;
        QTest::newRow("too small") << "1e-999" << 0.0 << 0;
    }
    void stufenwert()
    {
        QFETCH(QString, text);
        QFETCH(double, wert);
        QFETCH(int, stufe);
        QCOMPARE(Stufenwert::zahlenwert(text), wert);
        QCOMPARE(Stufenwert::imBereich(text), wert >= 1 && wert <= 15);
        QCOMPARE(Stufenwert::ganzeStufe(text).value_or(0), stufe);
    }
    // A slot's left edge in twips: a half rounds to the even number.
    void slotRundung()
    {
        QCOMPARE(slotLinks(100.5, 1), 500);
        QCOMPARE(slotLinks(101.5, 1), 502);
    }
    // The projector view's fit: the largest even enlargement that fits, centred.
    void einpassung_data()
    {
        QTest::addColumn<QSizeF>("flaeche");
        QTest::addColumn<double>("faktor");
        QTest::addColumn<QPointF>("versatz");
        QTest::newRow("1920x1080: bars left and right") << QSizeF(1920, 1080) << 1.8 << QPointF(240, 0);
        QTest::newRow("1280x1024: bars above and below") << QSizeF(1280, 1024) << 1.6 << QPointF(0, 32);
        QTest::newRow("no screen") << QSizeF() << 1.0 << QPointF(0, 0);
    }
    void einpassung()
    {
        QFETCH(QSizeF, flaeche);
        QFETCH(double, faktor);
        QFETCH(QPointF, versatz);
        const Twips::Einpassung e = Twips::passeEin(QSizeF(800, 600), flaeche);
        QCOMPARE(e.faktor, faktor);
        QCOMPARE(e.versatz, versatz);
    }
};

QTEST_GUILESS_MAIN(TestSpielregeln)
#include "tst_spielregeln.moc"
