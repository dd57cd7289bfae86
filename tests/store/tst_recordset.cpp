#include "basis/modvariablen.h"
#include "store/connection.h"
#include "store/questiongridmodel.h"
#include "store/questionfile.h"
#include "store/recordset.h"
#include "testservices.h"

#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace {
std::shared_ptr<Connection> verbinde(const QString &pfad, StoreError *fehler = nullptr)
{
    auto c = std::make_shared<Connection>();
    c->setConnectionString(Connection::connectionStringFor(pfad));
    const StoreError e = c->open();
    if (fehler)
        *fehler = e;
    return c;
}

// Opens the table the game's way: keyset cursor, read-only.
StoreError oeffneSpiel(Recordset &rs, const QString &pfad)
{
    StoreError e;
    auto c = verbinde(pfad, &e);
    if (e)
        return e;
    rs.setActiveConnection(c);
    rs.setCursorType(Recordset::CursorType::Keyset);
    rs.setSource(QStringLiteral("select * from fragen"));
    rs.setMaxRecords(Recordset::kMaxRows);
    return rs.open();
}

StoreError oeffneEditor(Recordset &rs, const QString &pfad)
{
    StoreError e;
    auto c = verbinde(pfad, &e);
    if (e)
        return e;
    c->setCursorLocation(Connection::CursorLocation::Client);
    return rs.open(QStringLiteral("select *from fragen"), c, Recordset::CursorType::Static,
                   Recordset::LockType::Optimistic);
}

void sql(const QString &pfad, const QStringList &befehle)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("testsql"));
        db.setDatabaseName(pfad);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString &b : befehle)
            QVERIFY2(q.exec(b), qPrintable(b));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("testsql"));
}
}

class TestRecordset : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The connection string carries the path unquoted, and the path comes back out whole.
    void verbindungszeichenfolge_data();
    void verbindungszeichenfolge();
    // Every unusable file is an error to the caller, never a crash, and no file is created.
    void ladefehler_data();
    void ladefehler();
    // An empty table opens with zero rows and fails on the move to the first row.
    void leereTabelle();
    // Moves, positions and reads by name without regard to case and by position.
    void bewegenUndLesen();
    // More rows than the game can count is an error at open.
    void zuVieleZeilen();
    // A bound label follows every move of the current row.
    void bindung();
    // Writes reach the file at once and a new connection sees them.
    void schreibenAddNewUpdateDelete();
    // A whole-number column takes only whole numbers; the refused store changes nothing.
    void stufeNurGanzeZahl();
    // A new row that is left behind by a move is discarded, never stored.
    void neueZeileVerworfen();
    // Deleting moves to the neighbour; deleting the last row leaves no current row.
    void loeschenNachbar();
    // A row deleted by someone else: the change is refused with a clear error.
    void optimistischGeloescht();
    // The game's recordset refuses every write.
    void nurLesen();
    // The grid model shows all rows and follows inserts and deletes.
    void gridModell();
    // A read-only file opens for reading; a store into it is refused with an error.
    void schreibgeschuetzteDatei();
};

void TestRecordset::verbindungszeichenfolge_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::newRow("plain") << "/a/Fragen.mdb";
    QTest::newRow("blanks") << "/a b/Meine Fragen.mdb";
    QTest::newRow("semicolon") << "/a;b/x;y.mdb";
    QTest::newRow("umlauts") << QString::fromUtf8("/Übung/ß.mdb");
    QTest::newRow("empty") << "";
}

void TestRecordset::verbindungszeichenfolge()
{
    QFETCH(QString, pfad);
    const QString cs = Connection::connectionStringFor(pfad);
    QCOMPARE(cs, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + pfad
                     + QStringLiteral(";Persist Security Info=False"));
    QCOMPARE(Connection::dataSource(cs), pfad);
}

void TestRecordset::ladefehler_data()
{
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<QStringList>("sql");
    QTest::addColumn<bool>("verbindungOk");
    const QStringList keins;
    QTest::newRow("missing") << QByteArray("<none>") << keins << false;
    QTest::newRow("zero bytes") << QByteArray() << keins << false;
    QTest::newRow("text") << QByteArray("Dies ist keine Datenbank.\r\n") << keins << false;
    QTest::newRow("random bytes") << QByteArray::fromHex("8f3e2a9911d0ffeedd0012") << keins << false;
    QTest::newRow("directory") << QByteArray("<dir>") << keins << false;
    // SQLite's first look at a file cut short already fails.
    QTest::newRow("truncated sqlite") << QByteArray("<truncated>") << keins << false;
    QTest::newRow("no table fragen") << QByteArray("<sql>")
                                     << QStringList{QStringLiteral("CREATE TABLE andere (x TEXT)")} << true;
}

void TestRecordset::ladefehler()
{
    QFETCH(QByteArray, inhalt);
    QFETCH(QStringList, sql);
    QFETCH(bool, verbindungOk);
    TestUmgebung u;
    const QString pfad = u.datei(QStringLiteral("x.mdb"));
    if (inhalt == "<dir>") {
        QVERIFY(QDir().mkdir(pfad));
    } else if (inhalt == "<truncated>") {
        u.erzeugeFragen(QStringLiteral("voll.mdb"), TestUmgebung::fragenJeStufe(40));
        u.schreibeDatei(QStringLiteral("x.mdb"), u.liesDatei(QStringLiteral("voll.mdb")).left(5000));
    } else if (inhalt == "<sql>") {
        ::sql(pfad, sql);
    } else if (inhalt != "<none>") {
        u.schreibeDatei(QStringLiteral("x.mdb"), inhalt);
    }
    StoreError e;
    auto c = verbinde(pfad, &e);
    QCOMPARE(!e.isError(), verbindungOk);
    QVERIFY(!e.isError() || !e.text().isEmpty());
    if (!e) {
        Recordset rs;
        rs.setActiveConnection(c);
        rs.setSource(QStringLiteral("select * from fragen"));
        const StoreError o = rs.open();
        QVERIFY(o.isError());
        QVERIFY(!rs.isOpen());
        QVERIFY(rs.moveFirst().isError());
    }
    if (inhalt == "<none>")
        QVERIFY(!QFile::exists(pfad));
}

void TestRecordset::leereTabelle()
{
    TestUmgebung u;
    const QString pfad = u.erzeugeFragen(QStringLiteral("leer.mdb"), {});
    Recordset rs;
    QVERIFY(!oeffneSpiel(rs, pfad).isError());
    QCOMPARE(rs.recordCount(), 0);
    QVERIFY(rs.moveFirst().isError());
    QVERIFY(rs.absolutePosition() < 1);
    QVERIFY(rs.value(QStringLiteral("Frage")).isNull());
}

void TestRecordset::bewegenUndLesen()
{
    TestUmgebung u;
    const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
    Recordset rs;
    QVERIFY(!oeffneSpiel(rs, pfad).isError());
    QCOMPARE(rs.recordCount(), 15);
    QCOMPARE(rs.fieldCount(), 6);
    QCOMPARE(rs.absolutePosition(), 1);
    QVERIFY(!rs.moveFirst().isError());
    QVERIFY(!rs.move(14).isError());
    QCOMPARE(rs.absolutePosition(), 15);
    QCOMPARE(rs.value(QStringLiteral("stufe")).toInt(), 15);
    QCOMPARE(rs.value(QStringLiteral("frage")).toString(), QStringLiteral("Frage S15N1"));
    QCOMPARE(rs.value(QStringLiteral("FRAGE")), rs.value(0));
    QCOMPARE(rs.value(QStringLiteral("loesung")).toString(), QString::fromUtf8("Lösung S15N1"));
    QVERIFY(!rs.movePrevious().isError());
    QCOMPARE(rs.absolutePosition(), 14);
    QVERIFY(!rs.moveLast().isError());
    QCOMPARE(rs.absolutePosition(), 15);
    QVERIFY(!rs.moveFirst().isError());
    QVERIFY(!rs.moveNext().isError());
    QCOMPARE(rs.value(4).toInt(), 2);
    QVERIFY(rs.move(100).isError());
    StoreError e;
    rs.value(QStringLiteral("gibtsnicht"), &e);
    QVERIFY(e.isError());
}

void TestRecordset::zuVieleZeilen()
{
    TestUmgebung u;
    QVector<FrageZeile> zeilen(Recordset::kMaxRows + 1, FrageZeile{QStringLiteral("F"), QStringLiteral("L"),
                                                                   QStringLiteral("A"), QStringLiteral("B"), 1,
                                                                   QVariant()});
    const QString pfad = u.erzeugeFragen(QStringLiteral("gross.mdb"), zeilen);
    Recordset rs;
    QVERIFY(oeffneSpiel(rs, pfad).isError());
    zeilen.removeLast();
    const QString genau = u.erzeugeFragen(QStringLiteral("genau.mdb"), zeilen);
    Recordset rs2;
    QVERIFY(!oeffneSpiel(rs2, genau).isError());
    QCOMPARE(rs2.recordCount(), Recordset::kMaxRows);
}

void TestRecordset::bindung()
{
    TestUmgebung u;
    const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
    Recordset rs;
    QVERIFY(!oeffneSpiel(rs, pfad).isError());
    QLabel frage, loesung;
    QVERIFY(!rs.bind(&frage, QStringLiteral("frage")).isError());
    QVERIFY(!rs.bind(&loesung, QStringLiteral("loesung")).isError());
    QVERIFY(rs.bind(&frage, QStringLiteral("Antwort3")).isError());
    QCOMPARE(frage.text(), QStringLiteral("Frage S1N1"));
    rs.moveFirst();
    rs.move(6);
    QCOMPARE(frage.text(), QStringLiteral("Frage S7N1"));
    QCOMPARE(loesung.text(), QString::fromUtf8("Lösung S7N1"));
}

void TestRecordset::schreibenAddNewUpdateDelete()
{
    TestUmgebung u;
    const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
    Recordset rs;
    QVERIFY(!oeffneEditor(rs, pfad).isError());
    QSignalSpy bewegt(&rs, &Recordset::moveComplete);
    QVERIFY(!rs.addNew().isError());
    QCOMPARE(bewegt.count(), 1);
    QCOMPARE(rs.recordCount(), 16);
    QCOMPARE(rs.absolutePosition(), 16);
    for (const auto &[spalte, wert] : {std::pair{"Frage", "Neu „ß“ €?"}, {"Loesung", "ja"}, {"Antwort1", "nein"},
                                       {"Antwort2", " "}, {"Stufe", "7"}})
        QVERIFY(!rs.setValue(QString::fromLatin1(spalte), QString::fromUtf8(wert)).isError());
    QVERIFY(!rs.update().isError());
    QCOMPARE(rs.value(5).toInt(), 16); // the ID the database gave it
    QCOMPARE(rs.value(QStringLiteral("Stufe")).toInt(), 7);

    rs.moveFirst();
    QVERIFY(!rs.setValue(QStringLiteral("frage"), QStringLiteral("Geändert")).isError());
    QVERIFY(!rs.update().isError());

    Recordset spiel;
    QVERIFY(!oeffneSpiel(spiel, pfad).isError());
    QCOMPARE(spiel.recordCount(), 16);
    QCOMPARE(spiel.value(QStringLiteral("Frage")).toString(), QStringLiteral("Geändert"));
    spiel.moveLast();
    QCOMPARE(spiel.value(QStringLiteral("Frage")).toString(), QString::fromUtf8("Neu „ß“ €?"));
    QCOMPARE(spiel.value(QStringLiteral("Antwort2")).toString(), QStringLiteral(" "));
    QCOMPARE(spiel.value(QStringLiteral("Stufe")).typeId(), QMetaType::LongLong);

    rs.moveLast();
    QVERIFY(!rs.deleteCurrent().isError());
    Recordset danach;
    QVERIFY(!oeffneSpiel(danach, pfad).isError());
    QCOMPARE(danach.recordCount(), 15);
}

void TestRecordset::stufeNurGanzeZahl()
{
    TestUmgebung u;
    const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
    Recordset rs;
    QVERIFY(!oeffneEditor(rs, pfad).isError());
    for (const char *text : {"2.5", "3abc", " 1 2", "abc", ""}) {
        QVERIFY(!rs.setValue(QStringLiteral("Frage"), QStringLiteral("soll nicht ankommen")).isError());
        QVERIFY(!rs.setValue(QStringLiteral("Stufe"), QString::fromLatin1(text)).isError());
        const StoreError e = rs.update();
        QVERIFY2(e.isError(), text);
        QVERIFY(e.text().contains(QLatin1String("Stufe")));
    }
    Recordset spiel;
    QVERIFY(!oeffneSpiel(spiel, pfad).isError());
    QCOMPARE(spiel.value(QStringLiteral("Frage")).toString(), QStringLiteral("Frage S1N1"));
    QCOMPARE(spiel.value(QStringLiteral("Stufe")).toInt(), 1);
}

void TestRecordset::neueZeileVerworfen()
{
    TestUmgebung u;
    const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
    Recordset rs;
    QVERIFY(!oeffneEditor(rs, pfad).isError());
    rs.addNew();
    rs.setValue(QStringLiteral("Frage"), QStringLiteral("halb"));
    QCOMPARE(rs.recordCount(), 16);
    QVERIFY(!rs.setCurrentIndex(3).isError());
    QCOMPARE(rs.recordCount(), 15);
    QCOMPARE(rs.absolutePosition(), 4);
    QVERIFY(!rs.isNewRecord());
    rs.addNew();
    rs.cancelUpdate();
    QCOMPARE(rs.recordCount(), 15);
    Recordset spiel;
    QVERIFY(!oeffneSpiel(spiel, pfad).isError());
    QCOMPARE(spiel.recordCount(), 15);
}

void TestRecordset::loeschenNachbar()
{
    TestUmgebung u;
    const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1).mid(0, 3));
    Recordset rs;
    QVERIFY(!oeffneEditor(rs, pfad).isError());
    rs.setCurrentIndex(1);
    QVERIFY(!rs.deleteCurrent().isError());
    QCOMPARE(rs.absolutePosition(), 2);
    QCOMPARE(rs.value(QStringLiteral("Stufe")).toInt(), 3);
    QVERIFY(!rs.deleteCurrent().isError());
    QCOMPARE(rs.absolutePosition(), 1);
    QVERIFY(!rs.deleteCurrent().isError());
    QCOMPARE(rs.recordCount(), 0);
    QVERIFY(!rs.hasCurrent());
    QVERIFY(rs.deleteCurrent().isError());
    QVERIFY(rs.update().isError());
    QVERIFY(rs.moveFirst().isError());
}

void TestRecordset::optimistischGeloescht()
{
    TestUmgebung u;
    const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
    Recordset a, b;
    QVERIFY(!oeffneEditor(a, pfad).isError());
    QVERIFY(!oeffneEditor(b, pfad).isError());
    QVERIFY(!a.deleteCurrent().isError());
    QVERIFY(!b.setValue(QStringLiteral("Frage"), QStringLiteral("zu spät")).isError());
    const StoreError e = b.update();
    QVERIFY(e.isError());
    QVERIFY2(e.text().contains(QString::fromUtf8("gelöscht")), qPrintable(e.text()));
}

void TestRecordset::nurLesen()
{
    TestUmgebung u;
    const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
    Recordset rs;
    QVERIFY(!oeffneSpiel(rs, pfad).isError());
    QVERIFY(rs.setValue(QStringLiteral("Frage"), QStringLiteral("x")).isError());
    QVERIFY(rs.addNew().isError());
    QVERIFY(rs.deleteCurrent().isError());
}

void TestRecordset::gridModell()
{
    TestUmgebung u;
    const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
    Recordset rs;
    QuestionGridModel model(&rs);
    QVERIFY(!oeffneEditor(rs, pfad).isError());
    QCOMPARE(model.rowCount(), 15);
    QCOMPARE(model.columnCount(), 6);
    QCOMPARE(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Stufe"));
    model.setHeaderData(1, Qt::Horizontal, QString::fromUtf8("Lösung"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("Lösung"));
    QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral("Frage S3N1"));
    rs.addNew();
    QCOMPARE(model.rowCount(), 16);
    rs.cancelUpdate();
    QCOMPARE(model.rowCount(), 15);
    rs.deleteCurrent();
    QCOMPARE(model.rowCount(), 14);
}

void TestRecordset::schreibgeschuetzteDatei()
{
    TestUmgebung u;
    const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
    SchreibschutzOrdner schutz(u.verzeichnis());
    if (!schutz.aktiv())
        QSKIP("cannot make a folder read-only here");
    Recordset rs;
    QVERIFY(!oeffneEditor(rs, pfad).isError());
    QCOMPARE(rs.recordCount(), 15);
    QVERIFY(!rs.setValue(QStringLiteral("Frage"), QStringLiteral("x")).isError());
    QVERIFY(rs.update().isError());
}

QTEST_MAIN(TestRecordset)
#include "tst_recordset.moc"
