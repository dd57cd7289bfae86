// Genuine Access files: read through the reader child exactly as exported,
// never written, every failure of the child an ordinary error, and the
// conversion into the program's own format with the original kept.

#include "store/connection.h"
#include "store/jetformat.h"
#include "store/jetkonvertierung.h"
#include "store/jetleser.h"
#include "testservices.h"

#include <QRegularExpression>

#include <optional>

namespace {
const QString kDaten = QStringLiteral(KREIDOLIN_TEST_DATA "/legacy/");

StoreError lies(const QString &pfad, TableData &t)
{
    Connection c;
    c.setConnectionString(Connection::connectionStringFor(pfad));
    if (const StoreError e = c.open())
        return e;
    return c.readTable(QStringLiteral("fragen"), t, Recordset::kMaxRows);
}

// The table as mdb-export printed it into the test data: texts in double
// quotes, doubled inside; numbers bare; a null as nothing at all.
QByteArray alsCsv(const TableData &t)
{
    QString out = t.columns.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const TableRow &r : t.rows) {
        QStringList f;
        for (const QVariant &v : r.values)
            f << (!v.isNull() && v.typeId() == QMetaType::QString ? '"' + v.toString().replace('"', QStringLiteral("\"\"")) + '"'
                                                   : v.toString());
        out += f.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out.toUtf8();
}

// An executable script standing in for the reader.
QString kind(TestUmgebung &u, const QByteArray &skript)
{
    u.schreibeDatei(QStringLiteral("kind"), "#!/bin/sh\n" + skript + "\n");
    QFile::setPermissions(u.datei(QStringLiteral("kind")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return u.datei(QStringLiteral("kind"));
}

}

class TestJet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each file reads with its row count and columns, the texts as exported.
    void lesen_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<int>("zeilen");
        QTest::addColumn<int>("maske"); // the row with ID 12 gets its null bit set: Access's empty text, no null
        QTest::newRow("jet4") << "fragen_jet4.mdb" << 45 << 0;
        QTest::newRow("an empty text") << "fragen_jet4.mdb" << 45 << 109805;
        QTest::newRow("big") << "fragen_jet4_big.mdb" << 32767 << 0;
        QTest::newRow("no table fragen") << "jet4_no_fragen.mdb" << -1 << 0;
    }
    void lesen()
    {
        QFETCH(QString, datei);
        QFETCH(int, zeilen);
        QFETCH(int, maske);
        TestUmgebung u;
        QByteArray vorher = liesBytes(kDaten + datei);
        if (maske)
            vorher[maske] = 0x3f;
        u.schreibeDatei(datei, vorher);
        TableData t;
        const StoreError e = lies(u.datei(datei), t);
        if (zeilen < 0) {
            QVERIFY2(e.text().contains(QStringLiteral("keine Tabelle fragen")), qPrintable(e.text()));
            return;
        }
        QVERIFY2(!e, qPrintable(e.text()));
        QCOMPARE(t.rows.size(), zeilen);
        QCOMPARE(t.columns, QStringList({"Frage", "Loesung", "Antwort1", "Antwort2", "Stufe", "ID"}));
        t.rows.resize(45); // the large file begins with the same 45 questions
        QCOMPARE(alsCsv(t), liesBytes(kDaten + QStringLiteral("fragen_jet4.expected.csv")).replace(",,4,12", maske ? ",\"\",4,12" : ",,4,12"));
    }
    // Every write into an Access file is refused with a clear text; reading and refusing leave it as it was.
    void nurLesen()
    {
        TestUmgebung u;
        const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("Fragen.mdb"));
        const QByteArray vorher = liesBytes(pfad);
        Recordset editor;
        QVERIFY(!oeffne(editor, pfad, true));
        const StoreError s = editor.setValue(QStringLiteral("Frage"), QStringLiteral("Geändert"));
        QVERIFY2(s.text().contains(QStringLiteral("nicht geändert")), qPrintable(s.text()));
        QVERIFY(editor.addNew() && editor.deleteCurrent());
        QCOMPARE(editor.recordCount(), 45);
        Connection c;
        c.setConnectionString(Connection::connectionStringFor(pfad));
        QVERIFY(!c.open());
        TableRow neu;
        const StoreError i = c.insertRow(QStringLiteral("fragen"), {QStringLiteral("Frage")}, {QStringLiteral("x")}, neu);
        QVERIFY2(i.text().contains(QStringLiteral("nur gelesen")), qPrintable(i.text()));
        QVERIFY(c.updateRow(QStringLiteral("fragen"), 1, {QStringLiteral("Frage")}, {QStringLiteral("x")}));
        QVERIFY(c.deleteRow(QStringLiteral("fragen"), 1));
        // Exactly as many rows as allowed read; one more is refused by the reader itself.
        TableData t;
        QVERIFY(!c.readTable(QStringLiteral("fragen"), t, 45));
        QCOMPARE(c.readTable(QStringLiteral("fragen"), t, 44).text(), QStringLiteral("Die Tabelle fragen hat mehr als 44 Zeilen."));
        QCOMPARE(liesBytes(pfad), vorher);
    }
    // A reader that crashes, hangs, lies or is missing is an error, in time. Streams of the fuzz corpus
    // whose outcome matters: every column kind reads, any other kind is refused.
    void kindVersagt_data()
    {
        QTest::addColumn<QByteArray>("skript");
        QTest::addColumn<QString>("meldung"); // a pattern the error text must match; empty: read
        const QByteArray korpus("exec cat '" KREIDOLIN_SOURCE_DIR "/fuzz/corpus/jetformat/");
        QTest::newRow("crash") << QByteArray("kill -SEGV $$") << "brach ab";
        QTest::newRow("hangs") << QByteArray("exec sleep 60") << "abgebrochen";
        QTest::newRow("success without end") << QByteArray("printf 'KREIDOLIN-MDB 1\\nC\\000\\000\\000\\000'") << "bricht";
        QTest::newRow("endless output") << QByteArray("exec cat /dev/zero") << "Daten|abgebrochen";
        QTest::newRow("missing") << QByteArray() << "fehlt";
        QTest::newRow("four kinds") << korpus + "vier_arten.bin'" << "";
        QTest::newRow("unknown kind") << korpus + "unbekannte_spaltenart.bin'" << "unbekannte Spaltenart";
    }
    void kindVersagt()
    {
        QFETCH(QByteArray, skript);
        QFETCH(QString, meldung);
        TestUmgebung u;
        JetLeser::setZeitlimit(1500);
        JetLeser::setProgramm(skript.isEmpty() ? u.datei(QStringLiteral("fehlt")) : kind(u, skript));
        Recordset rs;
        const StoreError e = oeffne(rs, kDaten + QStringLiteral("fragen_jet4.mdb"), false);
        QVERIFY2(meldung.isEmpty() ? !e : QRegularExpression(meldung).match(e.text()).hasMatch(), qPrintable(e.text()));
        QCOMPARE(rs.isOpen(), meldung.isEmpty());
    }
    // Conversion: the new file holds the same rows, the original is kept byte for byte under a free name.
    void konvertieren()
    {
        TestUmgebung u;
        const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("Meine Fragen.mdb"));
        const QByteArray original = liesBytes(pfad);
        u.schreibeDatei(QStringLiteral("Meine Fragen.mdb.jet.bak"), "eine ältere Sicherung");
        TableData jet, neu;
        QVERIFY(!lies(pfad, jet));
        QString sicherung;
        const StoreError e = JetKonvertierung::konvertiere(pfad, &sicherung);
        QVERIFY2(!e, qPrintable(e.text()));
        QCOMPARE(sicherung, pfad + QStringLiteral(".jet.1.bak"));
        QCOMPARE(liesBytes(sicherung), original);
        QCOMPARE(u.liesDatei(QStringLiteral("Meine Fragen.mdb.jet.bak")), QByteArray("eine ältere Sicherung"));
        QVERIFY(!lies(pfad, neu));
        QVERIFY(neu.writable);
        QCOMPARE(neu.columns, jet.columns);
        QCOMPARE(neu.rows.size(), 45);
        for (int z = 0; z < 45; ++z)
            QCOMPARE(neu.rows[z].values, jet.rows[z].values);
        // The editor's way works on it, and a new row gets the next ID.
        Recordset rs;
        QVERIFY(!oeffne(rs, pfad, true));
        QVERIFY(!rs.addNew() && !rs.setValue(QStringLiteral("Frage"), QStringLiteral("Neu?")) && !rs.update());
        QCOMPARE(rs.value(QStringLiteral("ID")).toLongLong(), jet.rows.last().values[5].toLongLong() + 1);
    }
    // A sixth column that holds no unique whole numbers is kept as a plain column, with its values.
    void sechsteSpalte()
    {
        TestUmgebung u;
        JetFormat::Schreiber s;
        s.spalten({{"stufe", JetFormat::Art::Ganzzahl}, {"FRAGE", JetFormat::Art::Text}, {"Loesung", JetFormat::Art::Text},
                   {"Antwort1", JetFormat::Art::Text}, {"Antwort2", JetFormat::Art::Text}, {"Nr", JetFormat::Art::Text}});
        for (const QByteArray &nr : {QByteArray(), QByteArray("A-1"), QByteArray()}) {
            s.zeileBeginnen();
            s.ganzzahl(2);
            for (int i = 0; i < 4; ++i)
                s.text("F", 1);
            nr.isEmpty() ? s.null() : s.text(nr.constData(), nr.size());
        }
        s.ende(3);
        u.schreibeDatei(QStringLiteral("strom.bin"), s.daten());
        JetLeser::setProgramm(kind(u, "exec cat '" + u.datei(QStringLiteral("strom.bin")).toUtf8() + "'"));
        const QString pfad = u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("f.mdb"));
        const StoreError e = JetKonvertierung::konvertiere(pfad);
        QVERIFY2(!e, qPrintable(e.text()));
        TableData neu;
        QVERIFY(!lies(pfad, neu));
        QCOMPARE(neu.columns, (QStringList{"Frage", "Loesung", "Antwort1", "Antwort2", "Stufe", "Nr"}));
        QCOMPARE(neu.rows[1].values, (QVector<QVariant>{"F", "F", "F", "F", qlonglong(2), "A-1"}));
    }
    // A conversion that cannot be done leaves the original and no backup.
    void konvertierenScheitert_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::newRow("SQLite file") << "sqlite";
        QTest::newRow("damaged") << "kaputt";
        QTest::newRow("missing") << "fehlt";
        QTest::newRow("new file cannot be written") << "neu";
        QTest::newRow("read-only folder") << "schutz";
        QTest::newRow("read back differs") << "anders";
    }
    void konvertierenScheitert()
    {
        QFETCH(QString, fall);
        TestUmgebung u;
        const QString name = QStringLiteral("Fragen.mdb");
        const QString pfad = u.datei(name);
        if (fall == QLatin1String("sqlite"))
            u.erzeugeFragen(name, TestUmgebung::fragenJeStufe(1));
        else if (fall == QLatin1String("kaputt"))
            u.schreibeDatei(name, liesBytes(kDaten + QStringLiteral("fragen_jet4.mdb")).left(110592));
        else if (fall != QLatin1String("fehlt"))
            u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), name);
        if (fall == QLatin1String("neu")) // the new file is built under this name beside the target
            QVERIFY(QDir(u.verzeichnis()).mkpath(QStringLiteral("Fragen.mdb.neu/besetzt")));
        if (fall == QLatin1String("anders")) { // "03" in a text column Stufe comes back as the number 3
            JetFormat::Schreiber s;
            s.spalten({{"Frage", JetFormat::Art::Text}, {"Stufe", JetFormat::Art::Text}});
            s.zeileBeginnen();
            s.text("F", 1);
            s.text("03", 2);
            s.ende(1);
            u.schreibeDatei(QStringLiteral("strom.bin"), s.daten());
            JetLeser::setProgramm(kind(u, "exec cat '" + u.datei(QStringLiteral("strom.bin")).toUtf8() + "'"));
        }
        const QStringList vorher = QDir(u.verzeichnis()).entryList(QDir::Files);
        const QByteArray bytes = liesBytes(pfad);
        QString sicherung = QStringLiteral("alt");
        std::optional<SchreibschutzOrdner> schutz;
        if (fall == QLatin1String("schutz") && !schutz.emplace(u.verzeichnis()).aktiv())
            QSKIP("cannot make a folder read-only here");
        const StoreError e = JetKonvertierung::konvertiere(pfad, &sicherung);
        schutz.reset();
        QVERIFY(e && !e.text().isEmpty());
        QVERIFY(sicherung.isEmpty());
        QCOMPARE(liesBytes(pfad), bytes);
        QCOMPARE(QDir(u.verzeichnis()).entryList(QDir::Files), vorher);
    }
};

QTEST_MAIN(TestJet)
#include "tst_jet.moc"
