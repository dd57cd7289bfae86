#include "store/connection.h"
#include "store/zeilenspeicher.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>


namespace {
// Same type, same null-ness, same value (NaN equal to NaN, -0.0 apart from 0.0).
bool gleich(const QVariant &a, const QVariant &b)
{
    if (a.isValid() != b.isValid() || a.typeId() != b.typeId() || a.isNull() != b.isNull())
        return false;
    if (a.typeId() == QMetaType::Double) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return (std::isnan(x) && std::isnan(y)) || (x == y && std::signbit(x) == std::signbit(y));
    }
    if (a.typeId() == QMetaType::QString)
        return a.toString() == b.toString() && a.toString().isNull() == b.toString().isNull();
    if (a.typeId() == QMetaType::QByteArray)
        return a.toByteArray() == b.toByteArray() && a.toByteArray().isNull() == b.toByteArray().isNull();
    return a == b;
}
}

class TestZeilenspeicher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every kind of value a table yields comes back of the same type, null-ness and value.
    void wertKommtGleichZurueck_data();
    void wertKommtGleichZurueck();
    // A question row packs into little more than its text, and every column reads back in place.
    void frageZeile();
    // Columns the row lacks read as invalid; setting one extends the row; replace and remove keep the rest.
    void aendern();
    // A table read packed gives every value exactly as the table read row by row into variants.
    void gepacktWieUngepackt();
};

void TestZeilenspeicher::wertKommtGleichZurueck_data()
{
    QTest::addColumn<QVariant>("wert");
    QTest::newRow("invalid") << QVariant();
    QTest::newRow("null text of the column") << QVariant(QMetaType::fromType<QString>());
    QTest::newRow("null number") << QVariant(QMetaType::fromType<qlonglong>());
    QTest::newRow("long") << QVariant(qlonglong(15));
    QTest::newRow("long min") << QVariant(std::numeric_limits<qlonglong>::min());
    QTest::newRow("long max") << QVariant(std::numeric_limits<qlonglong>::max());
    QTest::newRow("int") << QVariant(-7);
    QTest::newRow("double") << QVariant(2.5);
    QTest::newRow("minus zero") << QVariant(-0.0);
    QTest::newRow("nan") << QVariant(std::numeric_limits<double>::quiet_NaN());
    QTest::newRow("infinity") << QVariant(std::numeric_limits<double>::infinity());
    QTest::newRow("latin-1 text") << QVariant(QString::fromUtf8("Wie heißt der Fluss durch Köln? ÿ"));
    QTest::newRow("text beyond latin-1") << QVariant(QString::fromUtf8("„Spaß“ kostet 2 € – Łódź"));
    QTest::newRow("emoji") << QVariant(QString::fromUtf8("\U0001F600 lacht"));
    QTest::newRow("lone surrogate") << QVariant(QString(QChar(0xd800)) + QStringLiteral("x"));
    QTest::newRow("empty text") << QVariant(QString(QLatin1String("")));
    QTest::newRow("null QString") << QVariant(QString());
    QTest::newRow("long text") << QVariant(QString(300, QLatin1Char('a')));
    QTest::newRow("bytes with zeros") << QVariant(QByteArray("a\0b\xff", 4));
    QTest::newRow("empty bytes") << QVariant(QByteArray(""));
    QTest::newRow("null bytes") << QVariant(QByteArray());
    QTest::newRow("bool") << QVariant(true);
    QTest::newRow("date") << QVariant(QDate(2024, 2, 29));
}

void TestZeilenspeicher::wertKommtGleichZurueck()
{
    QFETCH(QVariant, wert);
    Zeilenspeicher speicher;
    // The value alone, and amid others so that stepping over it is checked too.
    speicher.append({1, {wert}});
    speicher.append({2, {QVariant(QStringLiteral("vorher")), wert, QVariant(qlonglong(3))}});
    QVERIFY(gleich(speicher.value(0, 0), wert));
    QVERIFY(gleich(speicher.value(1, 1), wert));
    QCOMPARE(speicher.value(1, 0), QVariant(QStringLiteral("vorher")));
    QCOMPARE(speicher.value(1, 2), QVariant(qlonglong(3)));
    const TableRow zurueck = speicher.row(1);
    QCOMPARE(zurueck.rowId, 2);
    QCOMPARE(zurueck.values.size(), 3);
    QVERIFY(gleich(zurueck.values[1], wert));
}

void TestZeilenspeicher::frageZeile()
{
    const QVector<QVariant> werte = {QStringLiteral("Frage 12345 der Stufe 7: Wie viel ergibt 12345 plus 7 im Kopf?"),
                                     QStringLiteral("12352 Punkte"), QStringLiteral("12353 Punkte"),
                                     QStringLiteral("12362 Punkte"), QVariant(qlonglong(7)),
                                     QVariant(qlonglong(12346))};
    const QByteArray gepackt = Zeilenspeicher::packe(werte);
    // 62 + 3 x 12 characters of text, two numbers, a kind and a length each.
    QVERIFY2(gepackt.size() <= 62 + 36 + 16 + 12, qPrintable(QString::number(gepackt.size())));
    QCOMPARE(Zeilenspeicher::entpacke(gepackt), werte);
    Zeilenspeicher speicher;
    speicher.append({99, werte});
    for (int i = 0; i < werte.size(); ++i)
        QCOMPARE(speicher.value(0, i), werte[i]);
}

void TestZeilenspeicher::aendern()
{
    Zeilenspeicher speicher;
    speicher.append({1, {QStringLiteral("a"), QVariant(qlonglong(1))}});
    speicher.append({2, {QStringLiteral("b"), QVariant(qlonglong(2))}});
    speicher.append({3, {QStringLiteral("c"), QVariant(qlonglong(3))}});
    QVERIFY(!speicher.value(0, 2).isValid());
    QVERIFY(!speicher.value(3, 0).isValid());
    QVERIFY(!speicher.value(-1, 0).isValid());

    speicher.setValue(1, 0, QStringLiteral("Übung"));
    speicher.setValue(1, 3, QVariant(qlonglong(9)));
    QCOMPARE(speicher.value(1, 0), QVariant(QStringLiteral("Übung")));
    QCOMPARE(speicher.value(1, 1), QVariant(qlonglong(2)));
    QVERIFY(!speicher.value(1, 2).isValid());
    QCOMPARE(speicher.value(1, 3), QVariant(qlonglong(9)));
    QCOMPARE(speicher.rowId(1), 2);

    speicher.replace(0, {10, {QStringLiteral("z")}});
    QCOMPARE(speicher.rowId(0), 10);
    QCOMPARE(speicher.value(0, 0), QVariant(QStringLiteral("z")));
    QVERIFY(!speicher.value(0, 1).isValid());

    speicher.remove(1);
    QCOMPARE(speicher.size(), 2);
    QCOMPARE(speicher.value(1, 0), QVariant(QStringLiteral("c")));
    QCOMPARE(speicher.rowId(1), 3);
}

void TestZeilenspeicher::gepacktWieUngepackt()
{
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("werte.mdb"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("werte"));
        db.setDatabaseName(pfad);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE fragen (Frage TEXT, Loesung TEXT, Stufe INTEGER, Wert REAL, "
                                      "Bild BLOB, Frei)")));
        const QStringList zeilen = {
            QStringLiteral("'Wie heißt der Fluss durch Köln?', 'Rhein', 3, 2.5, x'00ff', NULL"),
            QStringLiteral("'„Spaß“ kostet 2 € – Łódź 😀', '', -7, -0.0, x'', 'frei'"),
            QStringLiteral("NULL, NULL, NULL, NULL, NULL, 12"),
            QStringLiteral("'7', 'sieben', '7', '7.5', 'text im Blob', 1e300"),
        };
        for (const QString &z : zeilen)
            QVERIFY2(q.exec(QStringLiteral("INSERT INTO fragen VALUES (%1)").arg(z)), qPrintable(z));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("werte"));

    Connection c;
    c.setConnectionString(Connection::connectionStringFor(pfad));
    QVERIFY(!c.open());
    TableData ungepackt;
    QVERIFY(!c.readTable(QStringLiteral("fragen"), ungepackt, 100));
    TableData kopf;
    Zeilenspeicher gepackt;
    QVERIFY(!c.readTable(QStringLiteral("fragen"), kopf, gepackt, 100));
    QVERIFY(kopf.rows.isEmpty());
    QCOMPARE(kopf.columns, ungepackt.columns);
    QCOMPARE(kopf.declaredTypes, ungepackt.declaredTypes);
    QCOMPARE(kopf.writable, ungepackt.writable);
    QCOMPARE(gepackt.size(), ungepackt.rows.size());
    for (int z = 0; z < ungepackt.rows.size(); ++z) {
        QCOMPARE(gepackt.rowId(z), ungepackt.rows[z].rowId);
        for (int s = 0; s < ungepackt.columns.size(); ++s)
            QVERIFY2(gleich(gepackt.value(z, s), ungepackt.rows[z].values[s]),
                     qPrintable(QStringLiteral("row %1 column %2").arg(z).arg(s)));
    }

    Zeilenspeicher zuViele;
    QVERIFY(c.readTable(QStringLiteral("fragen"), kopf, zuViele, 3));
}

QTEST_GUILESS_MAIN(TestZeilenspeicher)
#include "tst_zeilenspeicher.moc"
