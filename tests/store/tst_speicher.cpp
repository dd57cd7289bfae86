// Storage: the settings file's first line and its atomic rewrite, the
// question table's recordset (moves, reads, writes and their refusals), the
// packed rows and the editor's grid model.

#include "store/fragentabelle.h"
#include "store/questiongridmodel.h"
#include "testservices.h"

#include <QSignalSpy>

#include <sqlite3.h>

class TestSpeicher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The one reading of a level: stored numbers, spreadsheet and Access texts; nothing outside the levels.
    void stufe_data()
    {
        QTest::addColumn<QVariant>("wert");
        QTest::addColumn<int>("stufe"); // 0: no level
        QTest::newRow("whole number") << QVariant(qlonglong(15)) << 15;
        QTest::newRow("beyond the last") << QVariant(qlonglong(16)) << 0;
        QTest::newRow("floating, whole") << QVariant(7.0) << 7;
        QTest::newRow("text, blanks, zeros, sign") << QVariant(QStringLiteral(" +07 ")) << 7;
        QTest::newRow("spreadsheet 7.0") << QVariant(QStringLiteral("7.0")) << 7;
        QTest::newRow("Access currency 1,0000") << QVariant(QStringLiteral("1,0000")) << 1;
        QTest::newRow("fraction as text") << QVariant(QStringLiteral("7.5")) << 0;
        QTest::newRow("separator without digits") << QVariant(QStringLiteral("7.")) << 0;
        QTest::newRow("digits beyond any level") << QVariant(QStringLiteral("99999999999999999999")) << 0;
        QTest::newRow("bytes") << QVariant(QByteArray("12")) << 12;
    }
    void stufe()
    {
        QFETCH(QVariant, wert);
        QFETCH(int, stufe);
        QCOMPARE(Fragentabelle::stufe(wert), stufe);
    }
    // The database a game starts with: a non-empty first line as it stands, else the default, written back.
    void spielDatenbank_data()
    {
        QTest::addColumn<QByteArray>("inhalt"); // "<none>": no file
        QTest::addColumn<QString>("pfad");      // empty: the default
        QTest::addColumn<QByteArray>("vorgabe"); // the admin's file; empty: none
        QTest::newRow("no file") << QByteArray("<none>") << QString() << QByteArray();
        QTest::newRow("empty first line, its LF before a CR") << QByteArray("\n/zweite.mdb\r\n") << QString() << QByteArray();
        QTest::newRow("path, LF") << QByteArray("/a/F.mdb\n/c\n") << "/a/F.mdb" << QByteArray();
        QTest::newRow("blanks kept") << QByteArray("  /x.mdb ") << "  /x.mdb " << QByteArray();
        QTest::newRow("Windows-1252") << QByteArray("/Spa\xdf \x84T\x93 \x80.mdb") << "/Spaß „T“ €.mdb"
                                      << QByteArray();
        QTest::newRow("UTF-8 behind a mark") << QByteArray("\xef\xbb\xbf/\xce\xa9.mdb\r\n") << "/Ω.mdb" << QByteArray();
        // The admin's file wins over a line the user chose before; its comments and blank lines are skipped.
        QTest::newRow("admin over the user's line") << QByteArray("/a/F.mdb\r\n") << "/schule/Spaß.mdb"
                                                    << QByteArray("# Sammlung\n\n  \n/schule/Spa\xc3\x9f.mdb\n");
        QTest::newRow("admin over an empty line") << QByteArray("\r\n") << "postgresql://srv/k?user=a"
                                                  << QByteArray("\xef\xbb\xbfpostgresql://srv/k?user=a\r\n");
        QTest::newRow("admin, Windows-1252") << QByteArray("/a/F.mdb\r\n") << "/Spaß.mdb"
                                             << QByteArray("/Spa\xdf.mdb");
        QTest::newRow("admin names nothing") << QByteArray("/a/F.mdb\r\n") << "/a/F.mdb"
                                             << QByteArray("# Kreidolin.ini\n#/nicht.mdb\n\n");
    }
    void spielDatenbank()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, pfad);
        QFETCH(QByteArray, vorgabe);
        TestUmgebung u;
        if (inhalt != "<none>")
            u.schreibeDatei(QStringLiteral("Kreidolin.ini"), inhalt);
        if (!vorgabe.isEmpty())
            u.schreibeDatei(QStringLiteral("vorgabe.ini"), vorgabe);
        const SettingsFile::SpielPfad sp = SettingsFile::spielDatenbank();
        QVERIFY(!sp.schreibFehler);
        QCOMPARE(sp.pfad, pfad.isEmpty() ? AppInfo::standardDatenbank() : pfad);
        QCOMPARE(u.liesDatei(QStringLiteral("Kreidolin.ini")),
                 pfad.isEmpty() ? SettingsFile::kodiere(AppInfo::standardDatenbank()) + "\r\n" : inhalt);
    }
    // The file is replaced whole with one line, also through a link; a read-only file or folder refuses and keeps it.
    void schreibe()
    {
        TestUmgebung u;
        const QString ini = AppInfo::einstellungsdatei();
        u.schreibeDatei(QStringLiteral("echt.ini"), "alt\r\nnoch mehr\r\n");
        QVERIFY(QFile::link(u.datei(QStringLiteral("echt.ini")), ini));
        QVERIFY(!SettingsFile::schreibe(ini, QStringLiteral("/neu/ä.mdb")));
        QCOMPARE(u.liesDatei(QStringLiteral("echt.ini")), QByteArray("/neu/\xe4.mdb\r\n"));
        QVERIFY(QFileInfo(ini).isSymLink());
        QVERIFY(!SettingsFile::schreibe(ini, QStringLiteral("/Вопросы.mdb")));
        QCOMPARE(SettingsFile::lies(ini), std::optional<QString>(QStringLiteral("/Вопросы.mdb")));
        QVERIFY(!QFile::exists(ini + QStringLiteral(".neu")) && !QFile::exists(u.datei(QStringLiteral("echt.ini.neu"))));
        QVERIFY(QFile::setPermissions(ini, QFile::ReadOwner)); // a file the admin made read-only stays as it is
        QVERIFY(SettingsFile::schreibe(ini, QStringLiteral("/nicht.mdb")));
        QCOMPARE(SettingsFile::lies(ini), std::optional<QString>(QStringLiteral("/Вопросы.mdb")));
        QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner);
        // A full disk: the new version cannot be written whole; refused, the file as it was.
        const VollerOrdner voll(u.datei(QStringLiteral("voll")));
        if (voll.aktiv) {
            const QString klein = u.datei(QStringLiteral("voll/Kreidolin.ini"));
            QVERIFY(!SettingsFile::schreibe(klein, QStringLiteral("/alt.mdb")));
            QFile fuellung(u.datei(QStringLiteral("voll/fuellung")));
            QVERIFY(fuellung.open(QIODevice::WriteOnly));
            fuellung.write(QByteArray(128 * 1024, 'x'));
            fuellung.close();
            QVERIFY(SettingsFile::schreibe(klein, QString(8000, QLatin1Char('p'))));
            QCOMPARE(SettingsFile::lies(klein), std::optional<QString>(QStringLiteral("/alt.mdb")));
        }
        // A folder where the new version would be written: refused, the file as it was.
        QVERIFY(QDir().mkdir(u.datei(QStringLiteral("echt.ini.neu"))));
        QVERIFY(SettingsFile::schreibe(ini, QStringLiteral("/auch nicht.mdb")));
        QCOMPARE(SettingsFile::lies(ini), std::optional<QString>(QStringLiteral("/Вопросы.mdb")));
        QDir().rmdir(u.datei(QStringLiteral("echt.ini.neu")));
        SchreibschutzOrdner schutz(u.verzeichnis());
        if (!schutz.aktiv())
            QSKIP("cannot make a folder read-only here");
        QFile::remove(ini);
        const StoreError e = SettingsFile::schreibe(ini, QStringLiteral("neu"));
        QVERIFY(e && e.text().contains(QLatin1String("Kreidolin.ini")));
        QVERIFY(!QFile::exists(ini + QStringLiteral(".neu")));
    }
    // The connection string carries the path, which comes back out whole.
    void verbindung()
    {
        const QString pfad = QStringLiteral("/a;b/Fragen mit ; und =.mdb");
        QCOMPARE(Connection::dataSource(Connection::connectionStringFor(pfad)), pfad);
        Connection c;
        c.setConnectionString(Connection::connectionStringFor(QStringLiteral("/gibt/es/nicht.mdb")));
        QVERIFY(c.open().text().contains(QStringLiteral("existiert nicht")) && !c.isOpen());
        QVERIFY(!QFile::exists(QStringLiteral("/gibt/es/nicht.mdb")));
    }
    // Moves and positions, reads by name without regard to case, a bound label following the current row.
    void bewegen()
    {
        TestUmgebung u;
        const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
        Recordset rs;
        QVERIFY(rs.moveFirst() && rs.isBof() && rs.isEof());
        QVERIFY(rs.open(std::make_shared<Connection>(), QStringLiteral("fragen"), Recordset::LockType::Optimistic).text().contains(QStringLiteral("nicht geöffnet")));
        QVERIFY(!oeffne(rs, pfad, false));
        QLabel label;
        QVERIFY(!rs.bind(&label, QStringLiteral("frage")));
        QVERIFY(rs.bind(&label, QStringLiteral("gibtsnicht")));
        QCOMPARE(label.text(), QStringLiteral("Frage S1N1"));
        QVERIFY(rs.movePrevious() && rs.isBof() && !rs.hasCurrent() && rs.movePrevious()); // to BOF, not beyond
        QVERIFY(!rs.moveNext() && rs.absolutePosition() == 1);
        QVERIFY(!rs.move(14));
        QCOMPARE(rs.value(QStringLiteral("FRAGE")), rs.value(0));
        QCOMPARE(rs.value(QStringLiteral("Loesung")).toString(), QStringLiteral("Lösung S15N1"));
        QCOMPARE(label.text(), QStringLiteral("Frage S15N1"));
        QVERIFY(rs.moveNext() && rs.isEof() && rs.moveNext()); // to EOF, not beyond
        QVERIFY(!rs.movePrevious() && rs.absolutePosition() == 15);
        QVERIFY(!rs.moveLast() && rs.currentIndex() == 14 && !rs.isEof());
        QVERIFY(!rs.setCurrentIndex(2) && rs.value(4).toInt() == 3);
        QVERIFY(rs.move(100) && rs.setCurrentIndex(15) && rs.move(-3));
        QCOMPARE(rs.absolutePosition(), 3);
        StoreError e;
        QVERIFY(!rs.value(QStringLiteral("gibtsnicht"), &e).isValid() && e);
        QVERIFY(rs.value(6, &e).isNull() && e);
        QCOMPARE(rs.valueAt(14, 0).toString(), QStringLiteral("Frage S15N1"));
    }
    // Writes reach the file at once; a new row left behind is dropped; deleting moves to the neighbour.
    void schreiben()
    {
        TestUmgebung u;
        const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
        Recordset rs;
        QuestionGridModel model(&rs);
        QVERIFY(!oeffne(rs, pfad, true));
        QCOMPARE(model.columnCount(), 6);
        QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral("Frage S3N1"));
        QCOMPARE(model.data(model.index(2, 0), Qt::ToolTipRole).toString(), QStringLiteral("Frage S3N1"));
        QVERIFY(!model.data(model.index(2, 0), Qt::EditRole).isValid() && !model.data(QModelIndex()).isValid());
        QVERIFY(model.setHeaderData(0, Qt::Horizontal, QStringLiteral("Frage?"))
                && model.setHeaderData(1, Qt::Horizontal, QStringLiteral("Lösung")));
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Lösung"));
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Frage?"));
        QCOMPARE(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Stufe"));
        QCOMPARE(model.headerData(4, Qt::Vertical).toInt(), 5);
        QVERIFY(!model.headerData(4, Qt::Horizontal, Qt::ToolTipRole).isValid());
        QSignalSpy bewegt(&rs, &Recordset::moveComplete);
        QVERIFY(!rs.addNew());
        QCOMPARE(bewegt.count(), 1);
        QCOMPARE(model.rowCount(), 16);
        QVERIFY(rs.isNewRecord() && rs.absolutePosition() == 16);
        for (const auto &[spalte, wert] : {std::pair{"Frage", "Neu „ß“ €?"}, {"Loesung", "ja"}, {"Antwort1", "nein"},
                                           {"Antwort2", " "}, {"Stufe", "7"}})
            QVERIFY(!rs.setValue(QString::fromLatin1(spalte), QString::fromUtf8(wert)));
        QVERIFY(!rs.update() && !rs.isNewRecord() && !rs.hasPendingChanges());
        QCOMPARE(rs.value(5).toInt(), 16); // the ID the database gave it
        QVERIFY(!rs.moveFirst());
        QVERIFY(!rs.setValue(QStringLiteral("frage"), QStringLiteral("Geändert")) && !rs.update());
        QVERIFY(!rs.addNew() && !rs.moveFirst()); // a new row left behind is dropped
        QCOMPARE(model.rowCount(), 16);
        QVERIFY(!rs.setCurrentIndex(7) && !rs.deleteCurrent());
        QCOMPARE(rs.value(0).toString(), QStringLiteral("Frage S9N1"));

        Recordset spiel;
        QVERIFY(!oeffne(spiel, pfad, false));
        QCOMPARE(spiel.recordCount(), 15);
        QCOMPARE(spiel.value(QStringLiteral("Frage")).toString(), QStringLiteral("Geändert"));
        QVERIFY(!spiel.setCurrentIndex(7));
        QCOMPARE(spiel.value(QStringLiteral("Frage")).toString(), QStringLiteral("Frage S9N1"));
        QVERIFY(!spiel.moveLast());
        QCOMPARE(spiel.value(QStringLiteral("Frage")).toString(), QStringLiteral("Neu „ß“ €?"));
        QCOMPARE(spiel.value(QStringLiteral("Stufe")), QVariant(qlonglong(7)));
    }
    // Refused writes: the game's read-only recordset, a level that is no whole number, a row deleted meanwhile.
    void abgelehnt()
    {
        TestUmgebung u;
        const QString pfad = u.erzeugeFragen(QStringLiteral("f.mdb"), TestUmgebung::fragenJeStufe(1));
        const QByteArray vorher = liesBytes(pfad);
        Recordset spiel, a, b;
        QVERIFY(!oeffne(spiel, pfad, false));
        QVERIFY(spiel.setValue(QStringLiteral("Frage"), QStringLiteral("x")) && spiel.addNew() && spiel.deleteCurrent());
        QVERIFY(!oeffne(a, pfad, true));
        for (const char *stufe : {"2.5", "3abc", " 1 2", "abc", ""}) {
            QVERIFY(!a.setValue(QStringLiteral("Frage"), QStringLiteral("soll nicht ankommen")));
            QVERIFY(!a.setValue(QStringLiteral("Stufe"), QString::fromLatin1(stufe)));
            QVERIFY2(a.update(), stufe);
            a.cancelUpdate();
        }
        QVERIFY(a.setValue(QStringLiteral("gibtsnicht"), 1));
        QCOMPARE(liesBytes(pfad), vorher);
        QVERIFY(!oeffne(b, pfad, true));
        QVERIFY(!a.deleteCurrent());
        QVERIFY(!b.setValue(QStringLiteral("Frage"), QStringLiteral("zu spät")));
        const StoreError e = b.update();
        QVERIFY2(e && e.text().contains(QStringLiteral("gelöscht")), qPrintable(e.text()));
        // Locked by another writer; then another file in its place; then no file at all: nothing is written.
        sqlite3 *fremd = nullptr;
        sqlite3_open(QFile::encodeName(pfad).constData(), &fremd);
        QCOMPARE(sqlite3_exec(fremd, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        QVERIFY(!a.moveLast() && !a.setValue(QStringLiteral("Frage"), QStringLiteral("gesperrt")) && a.update());
        sqlite3_close(fremd);
        const QString anders = u.erzeugeFragen(QStringLiteral("anders.mdb"), TestUmgebung::fragenJeStufe().mid(0, 1));
        const QByteArray ersetzt = liesBytes(anders);
        QVERIFY(QFile::remove(pfad) && QFile::rename(anders, pfad));
        QVERIFY(!a.setValue(QStringLiteral("Frage"), QStringLiteral("falsche Datei")) && a.update() && a.deleteCurrent());
        QCOMPARE(liesBytes(pfad), ersetzt);
        QVERIFY(QFile::remove(pfad) && !a.setValue(QStringLiteral("Frage"), QStringLiteral("weg")) && a.update());
        QVERIFY(a.deleteCurrent() && !QFile::exists(pfad));
    }
    // Every kind of value comes back from the packed row as it went in.
    void zeilenspeicher_data()
    {
        QTest::addColumn<QVariant>("wert");
        QTest::newRow("null") << QVariant();
        QTest::newRow("null text") << QVariant(QMetaType::fromType<QString>());
        QTest::newRow("whole number") << QVariant(qlonglong(-9223372036854775807LL - 1));
        QTest::newRow("double") << QVariant(-0.1);
        QTest::newRow("text") << QVariant(QStringLiteral("Ω „ß“ \U0001F600"));
        QTest::newRow("long text") << QVariant(QString(70000, QLatin1Char('x')));
        QTest::newRow("bytes") << QVariant(QByteArray("\0\xff", 2));
        QTest::newRow("128 bytes, the first two-byte length") << QVariant(QByteArray(128, '\x80'));
    }
    void zeilenspeicher()
    {
        QFETCH(QVariant, wert);
        const QVector<QVariant> werte{QStringLiteral("vor"), wert, qlonglong(5)};
        const QVector<QVariant> zurueck = Zeilenspeicher::entpacke(Zeilenspeicher::packe(werte));
        QCOMPARE(zurueck.size(), 3);
        QCOMPARE(zurueck[1].isNull(), wert.isNull());
        QCOMPARE(zurueck[1].typeId(), wert.typeId());
        QCOMPARE(zurueck[1], wert);
        QCOMPARE(zurueck[2], QVariant(qlonglong(5)));
        Zeilenspeicher z;
        z.append(TableRow{42, werte});
        z.setValue(0, 0, wert);
        z.setValue(0, 4, QStringLiteral("neu")); // a column the row lacks
        QCOMPARE(z.rowId(0), 42);
        QCOMPARE(z.value(0, 0), zurueck[1]);
        QCOMPARE(z.value(0, 2), QVariant(qlonglong(5)));
        QCOMPARE(z.value(0, 4), QVariant(QStringLiteral("neu")));
        QVERIFY(!z.value(0, 9).isValid() && !z.value(0, -1).isValid());
        QVERIFY(!z.value(1, 0).isValid() && !z.value(-1, 0).isValid()); // no such row
    }
};

QTEST_MAIN(TestSpeicher)
#include "tst_speicher.moc"
