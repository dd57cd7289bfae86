#include "store/connection.h"
#include "store/jetformat.h"
#include "store/jetkonvertierung.h"
#include "store/jetleser.h"
#include "store/recordset.h"
#include "jetexport.h"
#include "testservices.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

namespace {
const QString kDaten = QStringLiteral(KREIDOLIN_TEST_DATA "/legacy/");
const QStringList kSpalten = {"Frage", "Loesung", "Antwort1", "Antwort2", "Stufe", "ID"};

QString fixture(const QString &name)
{
    return kDaten + name;
}

QByteArray liesBytes(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray hash(const QString &pfad)
{
    return QCryptographicHash::hash(liesBytes(pfad), QCryptographicHash::Sha256);
}

std::shared_ptr<Connection> verbinde(const QString &pfad, StoreError *fehler = nullptr)
{
    auto c = std::make_shared<Connection>();
    c->setConnectionString(Connection::connectionStringFor(pfad));
    const StoreError e = c->open();
    if (fehler)
        *fehler = e;
    return c;
}

// The game's way: keyset cursor, read-only, at most 32,767 rows.
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

// The editor's way: client cursor, static, optimistic locking, then to the first row.
StoreError oeffneEditor(Recordset &rs, const QString &pfad)
{
    StoreError e;
    auto c = verbinde(pfad, &e);
    if (e)
        return e;
    c->setCursorLocation(Connection::CursorLocation::Client);
    if (const StoreError o = rs.open(QStringLiteral("select *from fragen"), c, Recordset::CursorType::Static,
                                     Recordset::LockType::Optimistic))
        return o;
    return rs.moveFirst();
}

StoreError lies(const QString &pfad, TableData &t, int maxRows = Recordset::kMaxRows,
                const QString &tabelle = QStringLiteral("fragen"))
{
    StoreError e;
    auto c = verbinde(pfad, &e);
    if (e)
        return e;
    return c->readTable(tabelle, t, maxRows);
}


// A small executable script standing in for the reader.
QString kind(TestUmgebung &u, const QString &name, const QByteArray &skript)
{
    u.schreibeDatei(name, "#!/bin/sh\n" + skript + "\n");
    const QString pfad = u.datei(name);
    QFile::setPermissions(pfad, QFile::permissions(pfad) | QFile::ExeOwner | QFile::ExeUser);
    return pfad;
}

// A reader that hands over the stream given, whatever the file holds.
QString kindMitStrom(TestUmgebung &u, const QByteArray &strom)
{
    u.schreibeDatei(QStringLiteral("strom.bin"), strom);
    return kind(u, QStringLiteral("kind"), "exec cat '" + u.datei(QStringLiteral("strom.bin")).toUtf8() + "'");
}

struct ProgrammZurueck {
    ~ProgrammZurueck()
    {
        JetLeser::setProgramm(QStringLiteral(KREIDOLIN_MDB_PROGRAMM));
        JetLeser::setZeitlimit(JetLeser::kStandardZeitlimit);
        JetLeser::setSpeicherlimit(qint64(1) << 30);
    }
};
}

class TestJet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each fixture opens with its exact row and column count, or fails as a missing table does.
    void fixtures_data();
    void fixtures();
    // Every text arrives byte for byte as the export shows it, in all three storage forms; numbers as whole numbers.
    void texteWieExport_data();
    void texteWieExport();
    // A null field is a null value and an empty label; an empty text stays an empty text.
    void nullUndLeererText();
    // The empty table opens with no rows and fails on the move to the first row.
    void leereTabelle();
    // The table without sixth column opens with five; the editor's hidden sixth column is missing there.
    void fuenfSpalten();
    // No table fragen is an error; the file's other table is still readable by its name.
    void keineTabelleFragen();
    // The level-gap table has 42 rows and none of level 7.
    void stufenluecke();
    // The 32,767-row file opens the game's way with its exact count; one row fewer allowed is an error.
    void grosseDatei();
    // The kind of a file is told by its bytes, never by its name.
    void erkennung_data();
    void erkennung();
    // The game's way: bound labels follow moves, columns found without regard to case, Stufe a number.
    void spielWeise();
    // Every write is refused, the editor's way and at the connection, and the file keeps its bytes.
    void schreibenAbgelehnt();
    // Damaged files end in an error or a valid table within the time limit, never in a crash or hang.
    void beschaedigt_data();
    void beschaedigt();
    // A child that crashes, hangs, talks nonsense or is missing is an ordinary error, in bounded time.
    void kindVersagt_data();
    void kindVersagt();
    // Without a set path the reader is looked for beside the program, then in the install layout.
    void programmPfad();
    // Conversion: backup byte for byte, the new file holds every row and field, the editor can change it.
    void konvertieren_data();
    void konvertieren();
    // An existing backup is never overwritten; the next free name is taken.
    void zweiteSicherung();
    // The table without sixth column gets unique auto-numbered IDs.
    void konvertierenFuenfSpalten();
    // Into a read-only folder: a clear error, the original untouched, no backup, no leftovers.
    void konvertierenSchreibgeschuetzt();
    // When writing the new file fails, the original stays under its name and no backup is left.
    void konvertierenScheitertBeimSchreiben();
    // A sixth column of other name and no unique numbers keeps its name and values.
    void konvertierenFreieSechsteSpalte();
    // A new file that does not read back as the Access table is undone: the original returns under its name.
    void konvertierenPruefungScheitert();
    // What is no Access file, or has no table fragen, is not converted and not touched.
    void konvertierenAbgelehnt_data();
    void konvertierenAbgelehnt();
};

void TestJet::fixtures_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<int>("zeilen");
    QTest::addColumn<int>("spalten");
    QTest::newRow("jet4") << "fragen_jet4.mdb" << 45 << 6;
    QTest::newRow("uncompressed") << "fragen_jet4_uncompressed.mdb" << 45 << 6;
    QTest::newRow("v2003") << "fragen_jet4_v2003.mdb" << 45 << 6;
    QTest::newRow("empty") << "fragen_jet4_empty.mdb" << 0 << 6;
    QTest::newRow("fivecols") << "fragen_jet4_fivecols.mdb" << 15 << 5;
    QTest::newRow("levelgap") << "fragen_jet4_levelgap.mdb" << 42 << 6;
    QTest::newRow("big") << "fragen_jet4_big.mdb" << 32767 << 6;
    QTest::newRow("no fragen") << "jet4_no_fragen.mdb" << -1 << 0;
}

void TestJet::fixtures()
{
    QFETCH(QString, datei);
    QFETCH(int, zeilen);
    QFETCH(int, spalten);
    TestUmgebung u;
    const QByteArray vorher = hash(fixture(datei));
    StoreError e;
    auto c = verbinde(fixture(datei), &e);
    QVERIFY2(!e, qPrintable(e.text()));
    QCOMPARE(c->kind(), Connection::Kind::Jet);
    TableData t;
    e = c->readTable(QStringLiteral("fragen"), t, Recordset::kMaxRows);
    if (zeilen < 0) {
        QVERIFY(e);
        QVERIFY2(e.text().contains(QStringLiteral("keine Tabelle fragen")), qPrintable(e.text()));
        return;
    }
    QVERIFY2(!e, qPrintable(e.text()));
    QCOMPARE(t.rows.size(), zeilen);
    QCOMPARE(t.columns, kSpalten.mid(0, spalten));
    QVERIFY(!t.writable);
    for (const TableRow &r : std::as_const(t.rows))
        QCOMPARE(r.values.size(), spalten);

    Recordset rs;
    QVERIFY(!oeffneSpiel(rs, fixture(datei)));
    QCOMPARE(rs.recordCount(), zeilen);
    QCOMPARE(rs.moveFirst().isError(), zeilen == 0);
    QCOMPARE(hash(fixture(datei)), vorher);
}

void TestJet::texteWieExport_data()
{
    QTest::addColumn<QString>("datei");
    QTest::newRow("jet4") << "fragen_jet4.mdb";
    QTest::newRow("uncompressed") << "fragen_jet4_uncompressed.mdb";
    QTest::newRow("v2003") << "fragen_jet4_v2003.mdb";
    QTest::newRow("big, first 45 rows") << "fragen_jet4_big.mdb";
}

void TestJet::texteWieExport()
{
    QFETCH(QString, datei);
    TestUmgebung u;
    const QVector<JetExport::Zeile> erwartet = JetExport::fragenJet4();
    QCOMPARE(erwartet.size(), 45);

    TableData t;
    const StoreError e = lies(fixture(datei), t);
    QVERIFY2(!e, qPrintable(e.text()));
    QCOMPARE(t.columns, kSpalten);
    for (int z = 0; z < erwartet.size(); ++z) {
        for (int s = 0; s < kSpalten.size(); ++s) {
            const QVariant &soll = erwartet[z][s];
            const QVariant &ist = t.rows[z].values[s];
            const QByteArray wo = QStringLiteral("row %1, %2").arg(z + 1).arg(kSpalten[s]).toUtf8();
            QVERIFY2(soll.isNull() == ist.isNull(), wo.constData());
            if (s < 4) {
                QVERIFY2(soll.isNull() || ist.typeId() == QMetaType::QString, wo.constData());
                QVERIFY2(ist.toString().toUtf8() == soll.toString().toUtf8(), wo.constData());
            } else {
                QVERIFY2(ist.typeId() == QMetaType::LongLong, wo.constData());
                QCOMPARE(ist.toLongLong(), soll.toLongLong());
            }
        }
    }
    // The cases the collection was made for.
    QCOMPARE(t.rows[8].values[0].toString(), QStringLiteral("Wie viele Cent sind 2 €?"));
    QCOMPARE(t.rows[23].values[1].toString(), QStringLiteral("Ohm'sches Gesetz"));
    QCOMPARE(t.rows[27].values[3].toString(), QStringLiteral("a² − b² = c"));
    QCOMPARE(t.rows[42].values[0].toString(), QStringLiteral("Welchen Grenzwert hat die Folge (1 + 1/n)ⁿ für n → ∞?"));
    QCOMPARE(t.rows[44].values[0].toString().size(), 250);
}

void TestJet::nullUndLeererText()
{
    TestUmgebung u;
    Recordset rs;
    QVERIFY(!oeffneSpiel(rs, fixture(QStringLiteral("fragen_jet4.mdb"))));
    QLabel antwort2;
    antwort2.setText(QStringLiteral("vorher"));
    QVERIFY(!rs.bind(&antwort2, QStringLiteral("Antwort2")));
    QVERIFY(!rs.moveFirst());
    QVERIFY(!rs.move(11));
    QCOMPARE(rs.value(QStringLiteral("ID")).toLongLong(), 12);
    QVERIFY(rs.value(QStringLiteral("antwort2")).isNull());
    QVERIFY(!rs.value(QStringLiteral("antwort1")).isNull());
    QCOMPARE(antwort2.text(), QString());

    // The same row with its null bit set: Access's empty text, which is no null.
    const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("leer.mdb"));
    QByteArray bytes = u.liesDatei(QStringLiteral("leer.mdb"));
    const int maske = 109805; // last byte of the row with ID 12 on page 26
    QCOMPARE(static_cast<quint8>(bytes[maske]), quint8(0x37));
    bytes[maske] = 0x3f;
    u.schreibeDatei(QStringLiteral("leer.mdb"), bytes);
    TableData t;
    QVERIFY(!lies(pfad, t));
    QVERIFY(!t.rows[11].values[3].isNull());
    QCOMPARE(t.rows[11].values[3].toString(), QString());
    QVERIFY(t.rows[11].values[3].typeId() == QMetaType::QString);
}

void TestJet::leereTabelle()
{
    TestUmgebung u;
    Recordset rs;
    QVERIFY(!oeffneSpiel(rs, fixture(QStringLiteral("fragen_jet4_empty.mdb"))));
    QVERIFY(rs.isOpen());
    QCOMPARE(rs.recordCount(), 0);
    QVERIFY(rs.moveFirst().isError());
    Recordset editor;
    QVERIFY(oeffneEditor(editor, fixture(QStringLiteral("fragen_jet4_empty.mdb"))).isError());
}

void TestJet::fuenfSpalten()
{
    TestUmgebung u;
    Recordset rs;
    QVERIFY(!oeffneEditor(rs, fixture(QStringLiteral("fragen_jet4_fivecols.mdb"))));
    QCOMPARE(rs.fieldCount(), 5);
    QCOMPARE(rs.recordCount(), 15);
    StoreError e;
    rs.value(5, &e);
    QVERIFY(e);
    QSet<qlonglong> stufen;
    for (int i = 0; i < rs.recordCount(); ++i)
        stufen.insert(rs.valueAt(i, 4).toLongLong());
    QCOMPARE(stufen.size(), 15);
    QVERIFY(stufen.contains(1) && stufen.contains(15));
}

void TestJet::keineTabelleFragen()
{
    TestUmgebung u;
    Recordset rs;
    const StoreError e = oeffneSpiel(rs, fixture(QStringLiteral("jet4_no_fragen.mdb")));
    QVERIFY(e);
    QVERIFY(!rs.isOpen());
    TableData t;
    QVERIFY(!lies(fixture(QStringLiteral("jet4_no_fragen.mdb")), t, 100, QStringLiteral("FRAGEN_ALT")));
    QCOMPARE(t.rows.size(), 15);
    QCOMPARE(t.columns, kSpalten);
}

void TestJet::stufenluecke()
{
    TestUmgebung u;
    Recordset rs;
    QVERIFY(!oeffneSpiel(rs, fixture(QStringLiteral("fragen_jet4_levelgap.mdb"))));
    QCOMPARE(rs.recordCount(), 42);
    QMap<qlonglong, int> jeStufe;
    for (int i = 0; i < rs.recordCount(); ++i)
        ++jeStufe[rs.valueAt(i, rs.fieldIndex(QStringLiteral("stufe"))).toLongLong()];
    QCOMPARE(jeStufe.size(), 14);
    QVERIFY(!jeStufe.contains(7));
    QCOMPARE(rs.valueAt(41, 5).toLongLong(), 42);
}

void TestJet::grosseDatei()
{
    TestUmgebung u;
    Recordset rs;
    QElapsedTimer uhr;
    uhr.start();
    QVERIFY(!oeffneSpiel(rs, fixture(QStringLiteral("fragen_jet4_big.mdb"))));
    qInfo("32,767 rows opened the game's way in %lld ms", static_cast<long long>(uhr.elapsed()));
    QCOMPARE(rs.recordCount(), 32767);
    QMap<qlonglong, int> jeStufe;
    for (int i = 0; i < rs.recordCount(); ++i)
        ++jeStufe[rs.valueAt(i, 4).toLongLong()];
    for (int s = 1; s <= 15; ++s)
        QCOMPARE(jeStufe.value(s), s <= 7 ? 2185 : 2184);
    QVERIFY(rs.valueAt(45, 0).toString().startsWith(QStringLiteral("Frage ")));
    QVERIFY(rs.valueAt(45, 0).toString().endsWith(QStringLiteral("(Übung)")));
    QCOMPARE(rs.valueAt(32766, 5).toLongLong(), 32767);

    TableData t;
    const StoreError e = lies(fixture(QStringLiteral("fragen_jet4_big.mdb")), t, 32766);
    QVERIFY(e);
    QVERIFY2(e.text().contains(QStringLiteral("32766")), qPrintable(e.text()));
    QVERIFY(t.rows.isEmpty());
}

void TestJet::erkennung_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::addColumn<QByteArray>("kopf"); // replaces the first bytes when set
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("art");
    QTest::addColumn<bool>("lesbar");
    const int jet = static_cast<int>(Connection::Kind::Jet);
    const int sqlite = static_cast<int>(Connection::Kind::Sqlite);
    const int keine = static_cast<int>(Connection::Kind::Unknown);
    const QByteArray ace = QByteArray("\x00\x01\x00\x00Standard ACE DB\x00\x02\x00\x00\x00", 24);
    const QByteArray jet5 = QByteArray("\x00\x01\x00\x00Standard Jet DB\x00\x02\x00\x00\x00", 24);
    const QByteArray jet3 = QByteArray("\x00\x01\x00\x00Standard Jet DB\x00\x00\x00\x00\x00", 24);
    QTest::newRow("jet named .txt") << "legacy/fragen_jet4.mdb" << QByteArray() << "fragen.txt" << jet << true;
    QTest::newRow("jet without extension") << "legacy/fragen_jet4.mdb" << QByteArray() << "fragen" << jet << true;
    QTest::newRow("sqlite named .mdb") << "<sqlite>" << QByteArray() << "fragen.mdb" << sqlite << true;
    QTest::newRow("ace header") << "legacy/fragen_jet4.mdb" << ace << "fragen.accdb" << keine << false;
    QTest::newRow("jet header, later version") << "legacy/fragen_jet4.mdb" << jet5 << "fragen.mdb" << keine << false;
    QTest::newRow("jet 3 header on jet 4 pages") << "legacy/fragen_jet4.mdb" << jet3 << "fragen.mdb" << jet << false;
    QTest::newRow("garbage") << "<garbage>" << QByteArray() << "fragen.mdb" << keine << false;
    QTest::newRow("header only") << "<header>" << QByteArray() << "fragen.mdb" << jet << false;
}

void TestJet::erkennung()
{
    QFETCH(QString, quelle);
    QFETCH(QByteArray, kopf);
    QFETCH(QString, name);
    QFETCH(int, art);
    QFETCH(bool, lesbar);
    TestUmgebung u;
    QString pfad;
    if (quelle == QLatin1String("<sqlite>")) {
        pfad = u.erzeugeFragen(name, TestUmgebung::fragenJeStufe(1));
    } else if (quelle == QLatin1String("<garbage>")) {
        u.schreibeDatei(name, QByteArray(8192, '\x5a'));
        pfad = u.datei(name);
    } else if (quelle == QLatin1String("<header>")) {
        u.schreibeDatei(name, liesBytes(fixture(QStringLiteral("fragen_jet4.mdb"))).left(32));
        pfad = u.datei(name);
    } else {
        pfad = u.kopiereTestdatei(quelle, name);
        if (!kopf.isEmpty()) {
            QByteArray b = u.liesDatei(name);
            b.replace(0, kopf.size(), kopf);
            u.schreibeDatei(name, b);
        }
    }
    QCOMPARE(static_cast<int>(Connection::kindOf(pfad)), art);
    Recordset rs;
    const StoreError e = oeffneSpiel(rs, pfad);
    QCOMPARE(!e.isError(), lesbar);
    QVERIFY(!e.isError() || !e.text().isEmpty());
    if (lesbar)
        QVERIFY(rs.recordCount() > 0);
}

void TestJet::spielWeise()
{
    TestUmgebung u;
    Recordset rs;
    QVERIFY(!oeffneSpiel(rs, fixture(QStringLiteral("fragen_jet4.mdb"))));
    QVERIFY(rs.isReadOnly());
    QLabel frage, loesung, a1, a2;
    QVERIFY(!rs.bind(&frage, QStringLiteral("frage")));
    QVERIFY(!rs.bind(&loesung, QStringLiteral("loesung")));
    QVERIFY(!rs.bind(&a1, QStringLiteral("Antwort1")));
    QVERIFY(!rs.bind(&a2, QStringLiteral("Antwort2")));
    QVERIFY(rs.bind(&frage, QStringLiteral("Fehlt")).isError());
    QVERIFY(!rs.moveFirst());
    QVERIFY(!rs.move(8));
    QCOMPARE(frage.text(), QStringLiteral("Wie viele Cent sind 2 €?"));
    QCOMPARE(loesung.text(), QStringLiteral("200 Cent"));
    QCOMPARE(a2.text(), QStringLiteral("2.000 Cent"));
    const QVariant stufe = rs.value(QStringLiteral("Stufe"));
    QCOMPARE(stufe.typeId(), QMetaType::LongLong);
    QCOMPARE(stufe.toInt(), 3);
    QCOMPARE(rs.value(QStringLiteral("STUFE")), stufe);
    QCOMPARE(rs.value(QStringLiteral("frage")), rs.value(QStringLiteral("Frage")));
    QVERIFY(!rs.moveFirst());
    QVERIFY(!rs.move(44));
    QCOMPARE(frage.text().size(), 250);
    QCOMPARE(rs.absolutePosition(), 45);
}

void TestJet::schreibenAbgelehnt()
{
    TestUmgebung u;
    const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("Fragen.mdb"));
    const QByteArray vorher = hash(pfad);

    Recordset spiel;
    QVERIFY(!oeffneSpiel(spiel, pfad));
    QVERIFY(spiel.setValue(QStringLiteral("Frage"), QStringLiteral("x")).isError());

    Recordset editor;
    QVERIFY(!oeffneEditor(editor, pfad));
    QVERIFY(!editor.isReadOnly());
    const StoreError s = editor.setValue(QStringLiteral("Frage"), QStringLiteral("Geändert"));
    QVERIFY(s);
    QVERIFY2(s.text().contains(QStringLiteral("nicht geändert")), qPrintable(s.text()));
    QVERIFY(editor.addNew().isError());
    QVERIFY(editor.deleteCurrent().isError());
    QCOMPARE(editor.recordCount(), 45);
    QCOMPARE(editor.value(0).toString(), QStringLiteral("Wie viele Beine hat ein Hund?"));

    auto c = verbinde(pfad);
    TableRow stored;
    const StoreError i = c->insertRow(QStringLiteral("fragen"), {QStringLiteral("Frage")}, {QStringLiteral("x")}, stored);
    QVERIFY(i);
    QVERIFY2(i.text().contains(QStringLiteral("nur gelesen")), qPrintable(i.text()));
    QVERIFY(c->updateRow(QStringLiteral("fragen"), 1, {QStringLiteral("Frage")}, {QStringLiteral("x")}));
    QVERIFY(c->deleteRow(QStringLiteral("fragen"), 1));
    QCOMPARE(hash(pfad), vorher);
}

void TestJet::beschaedigt_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::addColumn<int>("laenge");   // cut the file to this length, -1: keep
    QTest::addColumn<int>("stelle");   // patch at this offset, -1: none
    QTest::addColumn<QByteArray>("bytes");
    const QString jet4 = QStringLiteral("fragen_jet4.mdb");
    const QString big = QStringLiteral("fragen_jet4_big.mdb");
    for (int n : {0, 100, 4096, 5000, 16384, 40000, 65536, 98304, 102400, 110000, 114688})
        QTest::newRow(qPrintable(QStringLiteral("cut at %1").arg(n))) << jet4 << n << -1 << QByteArray();
    QTest::newRow("big cut in half") << big << 1521664 << -1 << QByteArray();
    const QByteArray ff4("\xff\xff\xff\x7f", 4);
    const QByteArray null4(4, '\0');
    // Page 2 holds the catalogue, page 24 the head of table fragen, 26 rows.
    QTest::newRow("catalogue page, row count huge") << jet4 << -1 << 2 * 4096 + 12 << QByteArray("\xff\x7f", 2);
    QTest::newRow("table head, row count huge") << jet4 << -1 << 24 * 4096 + 16 << ff4;
    QTest::newRow("table head, length huge") << jet4 << -1 << 24 * 4096 + 8 << ff4;
    QTest::newRow("table head, next page huge") << jet4 << -1 << 24 * 4096 + 4 << ff4;
    QTest::newRow("table head, column count huge") << jet4 << -1 << 24 * 4096 + 45 << QByteArray("\xff\xff", 2);
    QTest::newRow("table head, usage map page huge") << jet4 << -1 << 24 * 4096 + 55 << ff4;
    QTest::newRow("table head, first data page huge") << jet4 << -1 << 24 * 4096 + 59 << ff4;
    QTest::newRow("table head zeroed") << jet4 << -1 << 24 * 4096 << QByteArray(4096, '\0');
    QTest::newRow("data page, row count huge") << jet4 << -1 << 26 * 4096 + 12 << QByteArray("\xff\x7f", 2);
    QTest::newRow("data page, row offsets garbage") << jet4 << -1 << 26 * 4096 + 14 << QByteArray(64, '\xee');
    QTest::newRow("data page zeroed") << jet4 << -1 << 26 * 4096 << QByteArray(4096, '\0');
    QTest::newRow("data page of ones") << jet4 << -1 << 26 * 4096 << QByteArray(4096, '\xff');
    QTest::newRow("header page flipped") << jet4 << -1 << 0x40 << QByteArray(64, '\x5a');
    QTest::newRow("big: header page zeroed past magic") << big << -1 << 0x20 << QByteArray(4000, '\0');
    QTest::newRow("big: a data page of ones") << big << -1 << 300 * 4096 << QByteArray(4096, '\xff');
    QTest::newRow("big: row offsets zeroed") << big << -1 << 400 * 4096 + 14 << QByteArray(200, '\0');
    QTest::newRow("big: page pointer huge") << big << -1 << 500 * 4096 + 4 << ff4;
    QTest::newRow("big: table head row count zeroed") << big << -1 << 24 * 4096 + 16 << null4;
}

void TestJet::beschaedigt()
{
    QFETCH(QString, quelle);
    QFETCH(int, laenge);
    QFETCH(int, stelle);
    QFETCH(QByteArray, bytes);
    TestUmgebung u;
    QByteArray d = liesBytes(fixture(quelle));
    if (laenge >= 0)
        d.truncate(laenge);
    if (stelle >= 0)
        d.replace(stelle, bytes.size(), bytes);
    u.schreibeDatei(QStringLiteral("kaputt.mdb"), d);
    const QString pfad = u.datei(QStringLiteral("kaputt.mdb"));

    QElapsedTimer uhr;
    uhr.start();
    Recordset rs;
    const StoreError e = oeffneSpiel(rs, pfad);
    QVERIFY(uhr.elapsed() < JetLeser::zeitlimit() + 5000);
    if (e) {
        QVERIFY(!e.text().isEmpty());
        QVERIFY(!rs.isOpen());
    } else {
        QVERIFY(rs.recordCount() <= Recordset::kMaxRows);
        QVERIFY(rs.fieldCount() > 0);
    }
    // The damaged file is only ever read.
    QCOMPARE(u.liesDatei(QStringLiteral("kaputt.mdb")), d);
}

void TestJet::kindVersagt_data()
{
    QTest::addColumn<QByteArray>("skript");
    QTest::addColumn<QString>("meldung"); // a pattern the error text must match
    // The child runs with its limits: address space 1 GiB, CPU seconds, no
    // core dump, no file written. It reports them in a failure record.
    // A sanitized reader runs without the address-space limit, which
    // AddressSanitizer could not start under.
    const char *adressraum = JetLeser::kMitAddressSanitizer ? "unlimited" : "1048576";
    QTest::newRow("limits") << QByteArray("m=\"$(ulimit -v) $(ulimit -t) $(ulimit -c) $(ulimit -f)\"\n"
                                          "printf 'KREIDOLIN-MDB 1\\nF\\004\\000\\000\\000'\n"
                                          "printf \"$(printf '\\\\%03o' ${#m})\\000\\000\\000\"\n"
                                          "printf '%s' \"$m\"; exit 1")
                            << QStringLiteral(": %1 2 0 0$").arg(QLatin1String(adressraum));
    QTest::newRow("crash") << QByteArray("kill -SEGV $$") << "brach ab";
    QTest::newRow("hangs") << QByteArray("exec sleep 60") << "abgebrochen";
    QTest::newRow("spins") << QByteArray("while :; do :; done") << "abgebrochen";
    QTest::newRow("exit code") << QByteArray("exit 7") << "nicht gelesen";
    QTest::newRow("nonsense") << QByteArray("echo Hallo") << "Kennung";
    QTest::newRow("success without end")
        << QByteArray("printf 'KREIDOLIN-MDB 1\\nC\\000\\000\\000\\000'; exit 0") << "bricht";
    QTest::newRow("failure code without record") << QByteArray("printf 'KREIDOLIN-MDB 1\\n'; exit 1") << "bricht";
    QTest::newRow("endless output") << QByteArray("exec cat /dev/zero") << "Daten|abgebrochen";
    QTest::newRow("missing") << QByteArray("<missing>") << "fehlt";
}

void TestJet::kindVersagt()
{
    QFETCH(QByteArray, skript);
    QFETCH(QString, meldung);
    TestUmgebung u;
    ProgrammZurueck zurueck;
    JetLeser::setZeitlimit(1500);
    JetLeser::setProgramm(skript == "<missing>" ? u.datei(QStringLiteral("fehlt")) : kind(u, QStringLiteral("kind"), skript));
    const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("Fragen.mdb"));
    QElapsedTimer uhr;
    uhr.start();
    Recordset rs;
    const StoreError e = oeffneSpiel(rs, pfad);
    QVERIFY(e);
    QVERIFY2(QRegularExpression(meldung).match(e.text()).hasMatch(), qPrintable(e.text()));
    QVERIFY2(uhr.elapsed() < 8000, qPrintable(QString::number(uhr.elapsed())));
    QVERIFY(!rs.isOpen());
}

void TestJet::programmPfad()
{
    TestUmgebung u;
    ProgrammZurueck zurueck;
    JetLeser::setProgramm(QString());
    // Beside the tests there is no reader and no libexec folder.
    QCOMPARE(JetLeser::programm(), QCoreApplication::applicationDirPath() + QStringLiteral("/kreidolin-mdb"));
    Recordset rs;
    const StoreError e = oeffneSpiel(rs, fixture(QStringLiteral("fragen_jet4.mdb")));
    QVERIFY(e);
    QVERIFY2(e.text().contains(QStringLiteral("kreidolin-mdb")), qPrintable(e.text()));
    JetLeser::setProgramm(QStringLiteral(KREIDOLIN_MDB_PROGRAMM));
    QCOMPARE(JetLeser::programm(), QStringLiteral(KREIDOLIN_MDB_PROGRAMM));
}

void TestJet::konvertieren_data()
{
    QTest::addColumn<QString>("datei");
    QTest::newRow("jet4") << "fragen_jet4.mdb";
    QTest::newRow("uncompressed") << "fragen_jet4_uncompressed.mdb";
    QTest::newRow("levelgap") << "fragen_jet4_levelgap.mdb";
    QTest::newRow("big") << "fragen_jet4_big.mdb";
    QTest::newRow("empty") << "fragen_jet4_empty.mdb";
}

void TestJet::konvertieren()
{
    QFETCH(QString, datei);
    TestUmgebung u;
    const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/") + datei, QStringLiteral("Meine Fragen.mdb"));
    const QByteArray original = u.liesDatei(QStringLiteral("Meine Fragen.mdb"));
    TableData jet;
    QVERIFY(!lies(pfad, jet));

    QString sicherung;
    const StoreError e = JetKonvertierung::konvertiere(pfad, &sicherung);
    QVERIFY2(!e, qPrintable(e.text()));
    QCOMPARE(sicherung, pfad + QStringLiteral(".jet.bak"));
    QCOMPARE(liesBytes(sicherung), original);
    QCOMPARE(Connection::kindOf(sicherung), Connection::Kind::Jet);
    QCOMPARE(Connection::kindOf(pfad), Connection::Kind::Sqlite);
    QVERIFY(!QFileInfo::exists(pfad + QStringLiteral(".neu")));

    TableData neu;
    QVERIFY(!lies(pfad, neu));
    QCOMPARE(neu.columns, kSpalten);
    QVERIFY(neu.writable);
    QCOMPARE(neu.rows.size(), jet.rows.size());
    for (int z = 0; z < jet.rows.size(); ++z) {
        for (int s = 0; s < 6; ++s) {
            const QVariant &a = jet.rows[z].values[s];
            const QVariant &b = neu.rows[z].values[s];
            QVERIFY2(a.isNull() == b.isNull() && a == b,
                     qPrintable(QStringLiteral("row %1 column %2: %3 / %4").arg(z).arg(s).arg(a.toString(), b.toString())));
        }
    }
    if (datei == QLatin1String("fragen_jet4.mdb"))
        QVERIFY(neu.rows[11].values[3].isNull());

    // The editor's way works on the converted file, and new rows get the next
    // ID (a collection the game could not load one more of takes none).
    if (!jet.rows.isEmpty() && jet.rows.size() < Recordset::kMaxRows) {
        Recordset rs;
        QVERIFY(!oeffneEditor(rs, pfad));
        QVERIFY(!rs.addNew());
        QVERIFY(!rs.setValue(QStringLiteral("Frage"), QStringLiteral("Neu?")));
        QVERIFY(!rs.setValue(QStringLiteral("Stufe"), 3));
        QVERIFY(!rs.update());
        QCOMPARE(rs.value(5).toLongLong(), jet.rows.last().values[5].toLongLong() + 1);
    }
    QCOMPARE(liesBytes(sicherung), original);
}

void TestJet::zweiteSicherung()
{
    TestUmgebung u;
    const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("Fragen.mdb"));
    const QByteArray original = u.liesDatei(QStringLiteral("Fragen.mdb"));
    u.schreibeDatei(QStringLiteral("Fragen.mdb.jet.bak"), "eine ältere Sicherung");

    QString sicherung;
    QVERIFY(!JetKonvertierung::konvertiere(pfad, &sicherung));
    QCOMPARE(sicherung, pfad + QStringLiteral(".jet.1.bak"));
    QCOMPARE(u.liesDatei(QStringLiteral("Fragen.mdb.jet.bak")), QByteArray("eine ältere Sicherung"));
    QCOMPARE(liesBytes(sicherung), original);

    // Another copy converted in the same place takes the next free name.
    u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4_v2003.mdb"), QStringLiteral("Fragen.mdb"));
    QVERIFY(!JetKonvertierung::konvertiere(pfad, &sicherung));
    QCOMPARE(sicherung, pfad + QStringLiteral(".jet.2.bak"));
    QCOMPARE(liesBytes(sicherung), liesBytes(fixture(QStringLiteral("fragen_jet4_v2003.mdb"))));
    QCOMPARE(liesBytes(pfad + QStringLiteral(".jet.1.bak")), original);
    QCOMPARE(JetKonvertierung::freieSicherung(pfad), pfad + QStringLiteral(".jet.3.bak"));

    // A converted file is no Access file any more: converting again is refused.
    QVERIFY(JetKonvertierung::konvertiere(pfad, &sicherung));
    QVERIFY(sicherung.isEmpty());
}

void TestJet::konvertierenFuenfSpalten()
{
    TestUmgebung u;
    const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4_fivecols.mdb"), QStringLiteral("f.mdb"));
    TableData jet;
    QVERIFY(!lies(pfad, jet));
    QVERIFY(!JetKonvertierung::konvertiere(pfad));
    TableData neu;
    QVERIFY(!lies(pfad, neu));
    QCOMPARE(neu.columns, kSpalten);
    QCOMPARE(neu.rows.size(), 15);
    QSet<qlonglong> ids;
    for (int z = 0; z < 15; ++z) {
        for (int s = 0; s < 5; ++s)
            QCOMPARE(neu.rows[z].values[s], jet.rows[z].values[s]);
        QCOMPARE(neu.rows[z].values[5].typeId(), QMetaType::LongLong);
        ids.insert(neu.rows[z].values[5].toLongLong());
    }
    QCOMPARE(ids.size(), 15);
    // Now the editor's hidden sixth column is there.
    Recordset rs;
    QVERIFY(!oeffneEditor(rs, pfad));
    QCOMPARE(rs.fieldCount(), 6);
}

void TestJet::konvertierenSchreibgeschuetzt()
{
    TestUmgebung u;
    QDir(u.verzeichnis()).mkdir(QStringLiteral("geschuetzt"));
    const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"),
                                            QStringLiteral("geschuetzt/Fragen.mdb"));
    const QByteArray original = liesBytes(pfad);
    {
        SchreibschutzOrdner schutz(u.datei(QStringLiteral("geschuetzt")));
        if (!schutz.aktiv())
            QSKIP("cannot make a folder read-only here");
        QString sicherung = QStringLiteral("alt");
        const StoreError e = JetKonvertierung::konvertiere(pfad, &sicherung);
        QVERIFY(e);
        QVERIFY(!e.text().isEmpty());
        QVERIFY(sicherung.isEmpty());
    }
    QCOMPARE(liesBytes(pfad), original);
    QCOMPARE(QDir(u.datei(QStringLiteral("geschuetzt"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Fragen.mdb")});
}

void TestJet::konvertierenScheitertBeimSchreiben()
{
    TestUmgebung u;
    const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("Fragen.mdb"));
    const QByteArray original = liesBytes(pfad);
    // The new file is built beside the target under this name: a folder
    // there makes the writing fail.
    QVERIFY(QDir(u.verzeichnis()).mkpath(QStringLiteral("Fragen.mdb.neu/besetzt")));
    const StoreError e = JetKonvertierung::konvertiere(pfad);
    QVERIFY(e);
    QCOMPARE(liesBytes(pfad), original);
    QVERIFY(!QFileInfo::exists(pfad + QStringLiteral(".jet.bak")));
}

void TestJet::konvertierenFreieSechsteSpalte()
{
    TestUmgebung u;
    ProgrammZurueck zurueck;
    JetFormat::Schreiber s;
    s.spalten({{"stufe", JetFormat::Art::Ganzzahl},
               {"FRAGE", JetFormat::Art::Text},
               {"Loesung", JetFormat::Art::Text},
               {"Antwort1", JetFormat::Art::Text},
               {"Antwort2", JetFormat::Art::Text},
               {"Nr", JetFormat::Art::Text}});
    const QList<QByteArray> nr = {"A-1", "A-1", ""};
    for (int i = 0; i < 3; ++i) {
        s.zeileBeginnen();
        s.ganzzahl(i + 1);
        const QByteArray f = "Frage " + QByteArray::number(i);
        s.text(f.constData(), f.size());
        s.text("ja", 2);
        s.text("nein", 4);
        s.null();
        if (nr[i].isEmpty())
            s.null();
        else
            s.text(nr[i].constData(), nr[i].size());
    }
    s.ende(3);
    JetLeser::setProgramm(kindMitStrom(u, s.daten()));
    const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("f.mdb"));

    QVERIFY(!JetKonvertierung::konvertiere(pfad));
    TableData neu;
    QVERIFY(!lies(pfad, neu));
    QCOMPARE(neu.columns, (QStringList{"Frage", "Loesung", "Antwort1", "Antwort2", "Stufe", "Nr"}));
    QCOMPARE(neu.rows.size(), 3);
    QCOMPARE(neu.rows[1].values[0].toString(), QStringLiteral("Frage 1"));
    QCOMPARE(neu.rows[1].values[4].toLongLong(), 2);
    QCOMPARE(neu.rows[1].values[5].toString(), QStringLiteral("A-1"));
    QVERIFY(neu.rows[2].values[5].isNull());
    QVERIFY(neu.rows[0].values[3].isNull());
    // New rows leave the free sixth column empty.
    Recordset rs;
    QVERIFY(!oeffneEditor(rs, pfad));
    QVERIFY(!rs.addNew());
    QVERIFY(!rs.setValue(QStringLiteral("Frage"), QStringLiteral("Neu")));
    QVERIFY(!rs.update());
    QCOMPARE(rs.recordCount(), 4);
}

void TestJet::konvertierenPruefungScheitert()
{
    TestUmgebung u;
    ProgrammZurueck zurueck;
    // "03" in a text column Stufe comes back from the new file as the number 3.
    JetFormat::Schreiber s;
    s.spalten({{"Frage", JetFormat::Art::Text},
               {"Loesung", JetFormat::Art::Text},
               {"Antwort1", JetFormat::Art::Text},
               {"Antwort2", JetFormat::Art::Text},
               {"Stufe", JetFormat::Art::Text}});
    s.zeileBeginnen();
    s.text("F", 1);
    s.text("L", 1);
    s.text("A", 1);
    s.text("B", 1);
    s.text("03", 2);
    s.ende(1);
    JetLeser::setProgramm(kindMitStrom(u, s.daten()));
    const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("Fragen.mdb"));
    const QByteArray original = liesBytes(pfad);

    QString sicherung;
    const StoreError e = JetKonvertierung::konvertiere(pfad, &sicherung);
    QVERIFY(e);
    QVERIFY2(e.text().contains(QStringLiteral("nicht dieselben")), qPrintable(e.text()));
    QVERIFY(sicherung.isEmpty());
    QCOMPARE(liesBytes(pfad), original);
    QCOMPARE(QDir(u.verzeichnis()).entryList({QStringLiteral("Fragen.mdb*")}, QDir::Files),
             QStringList{QStringLiteral("Fragen.mdb")});
}

void TestJet::konvertierenAbgelehnt_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::newRow("sqlite") << "<sqlite>";
    QTest::newRow("no table fragen") << "legacy/jet4_no_fragen.mdb";
    QTest::newRow("damaged") << "<damaged>";
    QTest::newRow("missing") << "<missing>";
}

void TestJet::konvertierenAbgelehnt()
{
    QFETCH(QString, quelle);
    TestUmgebung u;
    const QString name = QStringLiteral("Fragen.mdb");
    QString pfad = u.datei(name);
    if (quelle == QLatin1String("<sqlite>"))
        u.erzeugeFragen(name, TestUmgebung::fragenJeStufe(1));
    else if (quelle == QLatin1String("<damaged>"))
        u.schreibeDatei(name, liesBytes(fixture(QStringLiteral("fragen_jet4.mdb"))).left(110592));
    else if (quelle != QLatin1String("<missing>"))
        u.kopiereTestdatei(quelle, name);
    const QByteArray vorher = liesBytes(pfad);
    QString sicherung;
    const StoreError e = JetKonvertierung::konvertiere(pfad, &sicherung);
    QVERIFY(e);
    QVERIFY(!e.text().isEmpty());
    QVERIFY(sicherung.isEmpty());
    QCOMPARE(liesBytes(pfad), vorher);
    QVERIFY(!QFileInfo::exists(pfad + QStringLiteral(".jet.bak")));
}

QTEST_MAIN(TestJet)
#include "tst_jet.moc"
