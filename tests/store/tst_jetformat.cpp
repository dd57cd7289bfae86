#include "game/spielregeln.h"
#include "store/connection.h"
#include "store/jetformat.h"
#include "store/jetlesen.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>
#include <QtEndian>

namespace {
QByteArray u32(quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

QByteArray kennung()
{
    return QByteArray(JetFormat::kKennung, JetFormat::kKennungLaenge);
}

// A stream with two columns and the row values given by the writer itself.
QByteArray beispiel()
{
    JetFormat::Schreiber s;
    s.spalten({{"Frage", JetFormat::Art::Text}, {"Stufe", JetFormat::Art::Ganzzahl}});
    s.zeileBeginnen();
    s.text("Spaß", 5);
    s.ganzzahl(3);
    s.zeileBeginnen();
    s.null();
    s.null();
    s.ende(2);
    return s.daten();
}

QByteArray fixture()
{
    return QFile::encodeName(QStringLiteral(KREIDOLIN_TEST_DATA "/legacy/fragen_jet4.mdb"));
}
}

class TestJetFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What the writer writes the parser gives back: nulls, empty and long texts, extreme numbers.
    void rundreise();
    // A failure record arrives as failure with its code and message, not as a table.
    void fehlerSatz();
    // Every malformed stream is refused with a reason and leaves the table empty.
    void kaputt_data();
    void kaputt();
    // Every cut-off prefix of a real stream is refused, none is taken for a table.
    void jedesAbschneiden();
    // Random damage to a real stream never crashes the parser and never yields more than it holds.
    void zufallsMutationen();
    // The reader run in this process gives the table the child gives: columns, kinds, all rows.
    void leserImProzess();
    // Well-formed UTF-8 passes, every malformed form is caught, as Qt's own decoder judges.
    void utf8_data();
    void utf8();
    void utf8WieQt();
    // The reader's row limit ends the stream with a failure, never with a partial table.
    void leserZeilenlimit();
    // A level as the reader hands on each Access column type is found by its numeric value.
    void stufeAusDemLeser_data();
    void stufeAusDemLeser();
};

void TestJetFormat::rundreise()
{
    JetFormat::Schreiber s;
    s.spalten({{"Text", JetFormat::Art::Text},
               {"Zahl", JetFormat::Art::Ganzzahl},
               {"Datum", JetFormat::Art::Sonstige},
               {"Bild", JetFormat::Art::Unlesbar}});
    const QByteArray lang = QString(QStringLiteral("€„“ß")).repeated(500).toUtf8();
    s.zeileBeginnen();
    s.text(lang.constData(), lang.size());
    s.ganzzahl(std::numeric_limits<qint64>::min());
    s.text("2004-02-29 12:00:00", 19);
    s.null();
    s.zeileBeginnen();
    s.text("", 0);
    s.ganzzahl(std::numeric_limits<qint64>::max());
    s.null();
    s.null();
    s.ende(2);

    TableData t;
    const JetFormat::Ergebnis e = JetFormat::lies(s.daten(), t, 10);
    QVERIFY2(e.vollstaendig, qPrintable(e.formfehler));
    QCOMPARE(t.columns, (QStringList{"Text", "Zahl", "Datum", "Bild"}));
    QCOMPARE(t.declaredTypes, (QStringList{"TEXT", "INTEGER", "", "BLOB"}));
    QVERIFY(!t.writable);
    QCOMPARE(t.rows.size(), 2);
    QCOMPARE(t.rows[0].values[0].toString(), QString::fromUtf8(lang));
    QCOMPARE(t.rows[0].values[1].typeId(), QMetaType::LongLong);
    QCOMPARE(t.rows[0].values[1].toLongLong(), std::numeric_limits<qint64>::min());
    QVERIFY(t.rows[0].values[3].isNull());
    // An empty text is a text, not a null: the editor treats them differently.
    QVERIFY(!t.rows[1].values[0].isNull());
    QVERIFY(!t.rows[1].values[0].toString().isNull());
    QCOMPARE(t.rows[1].values[0].toString(), QString());
    QCOMPARE(t.rows[1].values[1].toLongLong(), std::numeric_limits<qint64>::max());
    QVERIFY(t.rows[1].values[2].isNull());
}

void TestJetFormat::fehlerSatz()
{
    JetFormat::Schreiber s;
    s.spalten({{"Frage", JetFormat::Art::Text}});
    s.zeileBeginnen();
    s.text("a", 1);
    s.fehler(JetFormat::Fehler::KeineTabelle, QStringLiteral("Keine Tabelle „fragen“"));
    TableData t;
    const JetFormat::Ergebnis e = JetFormat::lies(s.daten(), t, 10);
    QVERIFY(e.gescheitert);
    QVERIFY(!e.vollstaendig);
    QVERIFY(e.formfehler.isEmpty());
    QCOMPARE(e.code, JetFormat::Fehler::KeineTabelle);
    QCOMPARE(e.meldung, QStringLiteral("Keine Tabelle „fragen“"));
    QVERIFY(t.columns.isEmpty());
    QVERIFY(t.rows.isEmpty());
}

void TestJetFormat::kaputt_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<qint64>("maxRows");
    const QByteArray k = kennung();
    const QByteArray spalte = QByteArray("C") + u32(1) + 'T' + u32(1) + 'A';
    QTest::newRow("leer") << QByteArray() << qint64(10);
    QTest::newRow("falsche kennung") << QByteArray("KREIDOLIN-MDB 2\nE") + u32(0) << qint64(10);
    QTest::newRow("nur kennung") << k << qint64(10);
    QTest::newRow("ohne ende") << k + spalte << qint64(10);
    QTest::newRow("riesige textlaenge") << k + spalte + 'R' + 'T' + u32(0xffffffffu) + "ab" << qint64(10);
    QTest::newRow("riesiger name") << k + QByteArray("C") + u32(1) + 'T' + u32(0x7fffffffu) << qint64(10);
    QTest::newRow("zu viele spalten") << k + QByteArray("C") + u32(1u << 30) << qint64(10);
    QTest::newRow("unbekannte spaltenart") << k + QByteArray("C") + u32(1) + 'X' + u32(1) + 'A' + 'E' + u32(0)
                                            << qint64(10);
    QTest::newRow("unbekannter satz") << k + spalte + 'Q' << qint64(10);
    QTest::newRow("unbekannte zelle") << k + spalte + 'R' + 'Z' + 'E' + u32(1) << qint64(10);
    QTest::newRow("zeilen vor spalten") << k + QByteArray("R") + 'N' + 'E' + u32(1) << qint64(10);
    QTest::newRow("spalten doppelt") << k + spalte + spalte + 'E' + u32(0) << qint64(10);
    QTest::newRow("zeilenzahl falsch") << k + spalte + 'R' + 'N' + 'E' + u32(2) << qint64(10);
    QTest::newRow("bytes nach ende") << k + spalte + 'E' + u32(0) + 'x' << qint64(10);
    QTest::newRow("bytes nach fehler") << k + QByteArray("F") + u32(1) + u32(0) + 'x' << qint64(10);
    QTest::newRow("ungueltiges utf8") << k + spalte + 'R' + 'T' + u32(2) + "\xc3\x28" + 'E' + u32(1) << qint64(10);
    QTest::newRow("mehr zeilen als erlaubt") << k + spalte + 'R' + 'N' + 'R' + 'N' + 'E' + u32(2) << qint64(1);
    QTest::newRow("ganzzahl abgeschnitten") << k + spalte + 'R' + 'I' + "1234" << qint64(10);
}

void TestJetFormat::kaputt()
{
    QFETCH(QByteArray, stream);
    QFETCH(qint64, maxRows);
    TableData t;
    t.columns << "alt";
    const JetFormat::Ergebnis e = JetFormat::lies(stream, t, maxRows);
    QVERIFY(!e.vollstaendig);
    QVERIFY(!e.gescheitert);
    QVERIFY(!e.formfehler.isEmpty());
    QVERIFY(t.columns.isEmpty());
    QVERIFY(t.rows.isEmpty());
}

void TestJetFormat::jedesAbschneiden()
{
    const QByteArray voll = beispiel();
    TableData t;
    QVERIFY(JetFormat::lies(voll, t, 10).vollstaendig);
    for (int n = 0; n < voll.size(); ++n) {
        const JetFormat::Ergebnis e = JetFormat::lies(voll.left(n), t, 10);
        QVERIFY2(!e.vollstaendig && !e.gescheitert && !e.formfehler.isEmpty(), qPrintable(QString::number(n)));
    }
}

void TestJetFormat::zufallsMutationen()
{
    JetFormat::Schreiber s;
    QVERIFY(JetLesen::lies(fixture(), QStringLiteral("fragen"), 100, s));
    const QByteArray echt = s.daten();
    QRandomGenerator zufall(20240229);
    QElapsedTimer uhr;
    uhr.start();
    int ganz = 0;
    for (int runde = 0; runde < 3000; ++runde) {
        QByteArray d = echt;
        const int schritte = 1 + static_cast<int>(zufall.bounded(4));
        for (int i = 0; i < schritte; ++i) {
            const int stelle = static_cast<int>(zufall.bounded(d.size()));
            switch (zufall.bounded(4)) {
            case 0:
                d[stelle] = static_cast<char>(zufall.bounded(256));
                break;
            case 1: // a length or count made huge
                d.replace(stelle, 4, u32(zufall.bounded(2) ? 0xffffffffu : 0x7ffffff0u));
                break;
            case 2:
                d.remove(stelle, static_cast<int>(zufall.bounded(16)));
                break;
            default:
                d.insert(stelle, QByteArray(static_cast<int>(zufall.bounded(8)), 'R'));
            }
        }
        TableData t;
        const JetFormat::Ergebnis e = JetFormat::lies(d, t, 100);
        QVERIFY(e.vollstaendig || e.gescheitert || !e.formfehler.isEmpty());
        if (e.vollstaendig) {
            ++ganz;
            QVERIFY(t.rows.size() <= 100);
            for (const TableRow &r : std::as_const(t.rows))
                QCOMPARE(r.values.size(), t.columns.size());
        }
    }
    QVERIFY(ganz < 3000);
    QVERIFY2(uhr.elapsed() < 30000, "parsing damaged streams must stay fast");
}

void TestJetFormat::leserImProzess()
{
    JetFormat::Schreiber s;
    QVERIFY(JetLesen::lies(fixture(), QStringLiteral("FRAGEN"), 100, s));
    TableData t;
    const JetFormat::Ergebnis e = JetFormat::lies(s.daten(), t, 100);
    QVERIFY2(e.vollstaendig, qPrintable(e.formfehler + e.meldung));
    QCOMPARE(t.columns, (QStringList{"Frage", "Loesung", "Antwort1", "Antwort2", "Stufe", "ID"}));
    QCOMPARE(t.declaredTypes, (QStringList{"TEXT", "TEXT", "TEXT", "TEXT", "INTEGER", "INTEGER"}));
    QCOMPARE(t.rows.size(), 45);
    QCOMPARE(t.rows[11].values[5].toLongLong(), 12);
    QVERIFY(t.rows[11].values[3].isNull());
    QCOMPARE(t.rows[8].values[0].toString(), QStringLiteral("Wie viele Cent sind 2 €?"));
}

void TestJetFormat::utf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("gueltig");
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("ascii") << QByteArray("Frage 1?") << true;
    QTest::newRow("umlauts, euro, quotes") << QString::fromUtf8("Spaß „Test“ €").toUtf8() << true;
    QTest::newRow("outside the bmp") << QByteArray("\xf0\x9f\x98\x80") << true;
    QTest::newRow("highest") << QByteArray("\xf4\x8f\xbf\xbf") << true;
    QTest::newRow("lone continuation") << QByteArray("a\x80" "b") << false;
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << false;
    QTest::newRow("overlong three") << QByteArray("\xe0\x80\xaf") << false;
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << false;
    QTest::newRow("above 10ffff") << QByteArray("\xf4\x90\x80\x80") << false;
    QTest::newRow("cut off") << QByteArray("\xe2\x82") << false;
    QTest::newRow("five bytes") << QByteArray("\xf8\x88\x80\x80\x80") << false;
    QTest::newRow("latin-1 byte") << QByteArray("Stra\xdf" "e") << false;
}

void TestJetFormat::utf8()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, gueltig);
    QCOMPARE(JetFormat::gueltigesUtf8(bytes.constData(), bytes.size()), gueltig);
}

void TestJetFormat::utf8WieQt()
{
    QRandomGenerator zufall(7);
    const char bausteine[] = {'a', '\x80', '\xbf', '\xc2', '\xc0', '\xe0', '\xe2', '\xed', '\xa0', '\xf0', '\xf4', '\x90', '\x8f', '\xff'};
    for (int runde = 0; runde < 20000; ++runde) {
        QByteArray b;
        const int n = static_cast<int>(zufall.bounded(8));
        for (int i = 0; i < n; ++i)
            b += bausteine[zufall.bounded(static_cast<int>(sizeof bausteine))];
        QStringDecoder qt(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString s = qt(b);
        Q_UNUSED(s);
        QVERIFY2(JetFormat::gueltigesUtf8(b.constData(), b.size()) == !qt.hasError(), b.toHex().constData());
    }
}

void TestJetFormat::leserZeilenlimit()
{
    JetFormat::Schreiber s;
    QVERIFY(!JetLesen::lies(fixture(), QStringLiteral("fragen"), 44, s));
    TableData t;
    const JetFormat::Ergebnis e = JetFormat::lies(s.daten(), t, 44);
    QVERIFY(e.gescheitert);
    QCOMPARE(e.code, JetFormat::Fehler::ZuVieleZeilen);
    QVERIFY(t.rows.isEmpty());
}

void TestJetFormat::stufeAusDemLeser_data()
{
    QTest::addColumn<int>("art"); // JetFormat::Art
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("stufe5");
    QTest::newRow("Currency") << int(JetFormat::Art::Sonstige) << QByteArray("5.0000") << true;
    QTest::newRow("Decimal, German locale") << int(JetFormat::Art::Sonstige) << QByteArray("5,00") << true;
    QTest::newRow("Text with zero") << int(JetFormat::Art::Text) << QByteArray("05") << true;
    QTest::newRow("Text with blank") << int(JetFormat::Art::Text) << QByteArray(" 5") << true;
    QTest::newRow("Text, no number") << int(JetFormat::Art::Text) << QByteArray("fünf") << false;
}

void TestJetFormat::stufeAusDemLeser()
{
    QFETCH(int, art);
    QFETCH(QByteArray, text);
    QFETCH(bool, stufe5);
    JetFormat::Schreiber s;
    s.spalten({{"Stufe", JetFormat::Art(art)}});
    s.zeileBeginnen();
    s.text(text.constData(), text.size());
    s.ende(1);
    TableData t;
    QVERIFY(JetFormat::lies(s.daten(), t, 10).vollstaendig);
    QCOMPARE(Spielregeln::zeilenJeStufe({t.rows[0].values[0]})[5].size(), stufe5 ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestJetFormat)
#include "tst_jetformat.moc"
