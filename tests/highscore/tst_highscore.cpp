// The highscore file: the line format, the list's order and reset rule, and
// appending a line. Bad files as a whole are rows of the input table
// (tst_eingaben); properties of the reader are the fuzzer's.

#include "testservices.h"

using Highscore::Eintrag;

class TestHighscore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A name and score as the line's bytes: Windows-1252, else UTF-8 behind a mark; read back the same.
    void kodiere_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty name") << "" << QByteArray(" | 10\r\n");
        QTest::newRow("umlaut") << "Jürgen" << QByteArray("J\xfcrgen | 10\r\n");
        QTest::newRow("euro and quotes") << "„Max“ €" << QByteArray("\x84Max\x93 \x80 | 10\r\n");
        QTest::newRow("polish") << "Łukasz" << QByteArray("\xef\xbb\xbf\xc5\x81ukasz | 10\r\n");
        QTest::newRow("1252 that looks like the mark") << "ï»¿" << QByteArray("\xef\xbb\xbf\xc3\xaf\xc2\xbb\xc2\xbf | 10\r\n");
        QTest::newRow("a name that begins with the mark") << QString(QChar(0xFEFF)) + "x" << QByteArray("\xef\xbb\xbf\xef\xbb\xbfx | 10\r\n");
        // The five bytes Windows-1252 leaves without a character, as the C1 controls of the same number.
        for (const char c : {'\x81', '\x8d', '\x8f', '\x90', '\x9d'})
            QTest::addRow("C1 control U+%04X", uchar(c)) << QString(QChar(uchar(c)))
                                                        << QByteArray("\xef\xbb\xbf\xc2") + c + " | 10\r\n";
    }
    void kodiere()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Highscore::kodiereZeile(name, 10), bytes);
        QCOMPARE(Highscore::zerlege(bytes), (QVector<Eintrag>{{name, 10}}));
    }
    // Which lines are entries, and with which name and score.
    void zerlege_data()
    {
        QTest::addColumn<QByteArray>("zeile");
        QTest::addColumn<QString>("name"); // "-": no entry
        QTest::addColumn<int>("punkte");
        QTest::newRow("three fields") << QByteArray("x | 5 | y") << "x" << 5;
        QTest::newRow("name holds the separator") << QByteArray("a | b | 7") << "a | b" << 7;
        QTest::newRow("leading zero") << QByteArray("x | 05") << "x" << 5;
        QTest::newRow("blanks in the name kept") << QByteArray("  x  | 2") << "  x " << 2;
        QTest::newRow("lone LF ends") << QByteArray("a\nb | 2") << "b" << 2;
        QTest::newRow("lone CR ends") << QByteArray("a\rb | 1\r\n") << "b" << 1;
        QTest::newRow("mark before broken UTF-8") << QByteArray("\xef\xbb\xbf\xc5 | 1") << "ï»¿Å" << 1;
        QTest::newRow("1252 pairs that pass for UTF-8") << QByteArray("Ma\xdf\xbb | 4") << "Maß»" << 4;
        QTest::newRow("unmarked UTF-8 with a byte 1252 lacks") << QByteArray("\xc5\x81ukasz | 7") << "Łukasz" << 7;
        QTest::newRow("no separator") << QByteArray("nur Text") << "-" << 0;
        QTest::newRow("negative") << QByteArray("x | -3") << "-" << 0;
        QTest::newRow("sign") << QByteArray("x | +3") << "-" << 0;
        QTest::newRow("fraction") << QByteArray("x | 3.5") << "-" << 0;
        QTest::newRow("digits and text") << QByteArray("x | 5a") << "-" << 0;
        QTest::newRow("no blank after the bar") << QByteArray("x |5") << "-" << 0;
        QTest::newRow("empty score") << QByteArray("x | ") << "-" << 0;
        QTest::newRow("too large") << QByteArray("x | 99999999999") << "-" << 0;
    }
    void zerlege()
    {
        QFETCH(QByteArray, zeile);
        QFETCH(QString, name);
        QFETCH(int, punkte);
        QCOMPARE(Highscore::zerlege(zeile),
                 (name == QLatin1String("-") ? QVector<Eintrag>() : QVector<Eintrag>{{name, punkte}}));
    }
    // The list below its limits: best first, ties as the exchange order leaves them, the texts; no warning
    // and no emptying (the limits themselves are rows of the input table).
    void liste_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QStringList>("anfang"); // the first items
        QTest::addColumn<int>("anzahl");
        QTest::newRow("ties") << QByteArray("a | 5\r\nb | 5\r\nc | 0\r\n")
                              << QStringList{"1 : b  -  5 Punkte", "2 : a  -  5 Punkte", "3 : c  -  0 Punkte"} << 3;
        QTest::newRow("all equal") << QByteArray("a | 3\r\nb | 3\r\nc | 3\r\n")
                                   << QStringList{"1 : a  -  3 Punkte", "2 : b  -  3 Punkte", "3 : c  -  3 Punkte"} << 3;
        QTest::newRow("999") << highscoreZeilen(999) << QStringList{"1 : S15  -  15 Punkte"} << 999;
    }
    void liste()
    {
        QFETCH(QByteArray, datei);
        QFETCH(QStringList, anfang);
        QFETCH(int, anzahl);
        const Highscore::Liste l = Highscore::baueListe(Highscore::zerlege(datei));
        QCOMPARE(l.texte.mid(0, anfang.size()), anfang);
        QCOMPARE(l.texte.size(), anzahl);
        QVERIFY(!l.warnen && !l.leeren);
    }
    // Appending keeps every line there was, byte for byte, and ends the file with the new one; emptying
    // leaves nothing. (A missing file, made on reading and on appending, is a row of the input table.)
    void anhaengen()
    {
        TestUmgebung u;
        const QString pfad = AppInfo::highscoredatei();
        u.schreibeDatei(QStringLiteral("highscore.dtt"), "a | 5\r\nvon Hand \x81\xff\r\n\r\nalt | 3");
        QVERIFY(!Highscore::anhaengen(pfad, QStringLiteral("Ωmega Ü"), 12));
        QCOMPARE(u.liesDatei(QStringLiteral("highscore.dtt")),
                 QByteArray("a | 5\r\nvon Hand \x81\xff\r\n\r\nalt | 3\r\n\xef\xbb\xbf\xce\xa9mega \xc3\x9c | 12\r\n"));
        QCOMPARE(Highscore::lies(pfad).eintraege,
                 (QVector<Eintrag>{{"a", 5}, {"alt", 3}, {QStringLiteral("Ωmega Ü"), 12}}));
        QVERIFY(!Highscore::leere(pfad));
        QCOMPARE(QFile(pfad).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestHighscore)
#include "tst_highscore.moc"
