#include "ui/stufenwert.h"

#include <QTest>

#include <cmath>
#include <optional>

class TestStufenwert : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Leaving the level field: these texts give the message, those stay.
    void imBereich_data();
    void imBereich();
    // The numeric reading of typed text: blanks skipped, sign, point, exponent, &H/&O.
    void zahlenwert_data();
    void zahlenwert();
    // Numbers beyond a double neither fail nor land inside 1..15.
    void riesigeZahlen();
    // Only a plain whole number 1..15 is a level that can be stored.
    void ganzeStufe_data();
    void ganzeStufe();
};

void TestStufenwert::imBereich_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bleibt");
    QTest::newRow("0") << "0" << false;
    QTest::newRow("16") << "16" << false;
    QTest::newRow("-3") << "-3" << false;
    QTest::newRow("abc") << "abc" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("15") << "15" << true;
    QTest::newRow("7") << "7" << true;
    QTest::newRow("2.5") << "2.5" << true;
    QTest::newRow("3abc") << "3abc" << true;
    QTest::newRow("blank 1 blank 2") << " 1 2" << true;
    QTest::newRow("2,5") << "2,5" << true;
    QTest::newRow("15.0001") << "15.0001" << false;
    QTest::newRow("0.9999") << "0.9999" << false;
    QTest::newRow("&HF") << "&HF" << true;
    QTest::newRow("&H10") << "&H10" << false;
}

void TestStufenwert::imBereich()
{
    QFETCH(QString, text);
    QFETCH(bool, bleibt);
    QCOMPARE(Stufenwert::imBereich(text), bleibt);
}

void TestStufenwert::zahlenwert_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("wert");
    QTest::newRow("2.5") << "2.5" << 2.5;
    QTest::newRow("3abc") << "3abc" << 3.0;
    QTest::newRow("blank 1 blank 2") << " 1 2" << 12.0;
    QTest::newRow("comma is no point") << "2,5" << 2.0;
    QTest::newRow("tabs and line feeds") << "\t1\n4 " << 14.0;
    QTest::newRow("carriage return stops") << "1\r4" << 1.0;
    QTest::newRow("sign then blank") << "- 3" << -3.0;
    QTest::newRow("plus") << "+7" << 7.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("exponent E") << "1E1" << 10.0;
    QTest::newRow("exponent d") << "15d-1" << 1.5;
    QTest::newRow("exponent with blanks") << "1 e 1" << 10.0;
    QTest::newRow("E without digits") << "3E" << 3.0;
    QTest::newRow("E sign without digits") << "3E+x" << 3.0;
    QTest::newRow("letters first") << "abc" << 0.0;
    QTest::newRow("E first") << "e5" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("hex") << "&H0F" << 15.0;
    QTest::newRow("hex lower") << "&hff" << 255.0;
    QTest::newRow("hex stops") << "&H1G" << 1.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&o18" << 1.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("blanks inside hex") << "& H 1 0" << 16.0;
    QTest::newRow("arabic digits are no digits") << QString::fromUtf8("\u0665") << 0.0;
}

void TestStufenwert::zahlenwert()
{
    QFETCH(QString, text);
    QFETCH(double, wert);
    QCOMPARE(Stufenwert::zahlenwert(text), wert);
}

void TestStufenwert::riesigeZahlen()
{
    QVERIFY(std::isinf(Stufenwert::zahlenwert(QStringLiteral("1E400"))));
    QVERIFY(Stufenwert::zahlenwert(QStringLiteral("-1E400")) < 0);
    QCOMPARE(Stufenwert::zahlenwert(QStringLiteral("1E-400")), 0.0);
    QCOMPARE(Stufenwert::zahlenwert(QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QStringLiteral("1")),
             0.0);
    QVERIFY(std::isinf(Stufenwert::zahlenwert(QString(400, QLatin1Char('9')))));
    QVERIFY(!Stufenwert::imBereich(QStringLiteral("1E99999999999999999999")));
    QVERIFY(!Stufenwert::imBereich(QStringLiteral("&H") + QString(40, QLatin1Char('F'))));
}

void TestStufenwert::ganzeStufe_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stufe"); // 0: none
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("15") << "15" << 15;
    QTest::newRow("leading zero") << "07" << 7;
    QTest::newRow("blanks around") << " 9 " << 9;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("16") << "16" << 0;
    QTest::newRow("2.5") << "2.5" << 0;
    QTest::newRow("3abc") << "3abc" << 0;
    QTest::newRow("blank 1 blank 2") << " 1 2" << 0;
    QTest::newRow("2,5") << "2,5" << 0;
    QTest::newRow("sign") << "+5" << 0;
    QTest::newRow("hex") << "&HF" << 0;
    QTest::newRow("exponent") << "1E1" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("blanks") << "   " << 0;
    // Only what leaving the field passes over may stand around the digits.
    QTest::newRow("tab and line feed around") << "\t5\n" << 5;
    QTest::newRow("no-break space before") << QStringLiteral("\u00a05") << 0;
    QTest::newRow("CR after") << "5\r" << 0;
    QTest::newRow("huge") << "99999999999999999999" << 0;
}

void TestStufenwert::ganzeStufe()
{
    QFETCH(QString, text);
    QFETCH(int, stufe);
    const std::optional<int> ergebnis = Stufenwert::ganzeStufe(text);
    QCOMPARE(ergebnis.value_or(0), stufe);
}

QTEST_GUILESS_MAIN(TestStufenwert)
#include "tst_stufenwert.moc"
