#include "highscore/highscore.h"

#include <QRandomGenerator>
#include <QTextCodec>
#include <QTest>


namespace {
// The exchange procedure exactly as the list has always ordered its entries.
void ordneWoertlich(QVector<Highscore::Eintrag> &e)
{
    for (qsizetype i = 0; i < e.size(); ++i) {
        for (qsizetype j = 0; j < e.size(); ++j) {
            if (e[i].punkte > e[j].punkte)
                std::swap(e[i], e[j]);
        }
    }
}

QVector<Highscore::Eintrag> zufaellig(QRandomGenerator &zufall, int anzahl, int hoechstwert)
{
    QVector<Highscore::Eintrag> e;
    for (int i = 0; i < anzahl; ++i)
        e.append({QStringLiteral("n%1").arg(i), static_cast<int>(zufall.bounded(hoechstwert + 1))});
    return e;
}
}

class TestHighscoreSchnell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The fast ordering leaves equal scores in exactly the order the exchange procedure leaves them.
    void wieDasTauschverfahren_data();
    void wieDasTauschverfahren();
    // Every byte of a Windows-1252 line reads as the codec reads it, alone and amid text.
    void windows1252WieDerCodec();
};

void TestHighscoreSchnell::wieDasTauschverfahren_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<int>("hoechstwert");
    QTest::newRow("empty") << 0 << 15;
    QTest::newRow("one") << 1 << 15;
    QTest::newRow("two equal") << 2 << 0;
    QTest::newRow("few, many ties") << 7 << 2;
    QTest::newRow("game scores") << 60 << 15;
    QTest::newRow("all equal") << 40 << 0;
    QTest::newRow("wide scores") << 200 << 1000000;
    QTest::newRow("full list") << 1000 << 15;
}

void TestHighscoreSchnell::wieDasTauschverfahren()
{
    QFETCH(int, anzahl);
    QFETCH(int, hoechstwert);
    QRandomGenerator zufall(static_cast<quint32>(anzahl * 31 + hoechstwert));
    for (int runde = 0; runde < 20; ++runde) {
        QVector<Highscore::Eintrag> erwartet = zufaellig(zufall, anzahl, hoechstwert);
        QVector<Highscore::Eintrag> ist = erwartet;
        ordneWoertlich(erwartet);
        Highscore::ordne(ist);
        QCOMPARE(ist, erwartet);
    }
}

void TestHighscoreSchnell::windows1252WieDerCodec()
{
    QTextCodec *codec = QTextCodec::codecForName("windows-1252");
    QVERIFY(codec);
    for (int b = 0x80; b < 0x100; ++b) {
        // "J?rgen" with the byte in the middle: no valid UTF-8, so read as Windows-1252.
        const QByteArray zeile = QByteArray("J") + char(b) + QByteArray("rgen | 3");
        QCOMPARE(Highscore::dekodiereZeile(zeile), codec->toUnicode(zeile));
    }
    QByteArray alle;
    for (int b = 1; b < 0x100; ++b)
        alle += char(b);
    QCOMPARE(Highscore::dekodiereZeile(alle), codec->toUnicode(alle));
}

QTEST_GUILESS_MAIN(TestHighscoreSchnell)
#include "tst_highscoreschnell.moc"
