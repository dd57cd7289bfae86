#include "basis/appinfo.h"
#include "basis/modvariablen.h"
#include "store/settingsfile.h"
#include "testservices.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestSettingsFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The first line is everything up to the first CR (or a lone LF), untrimmed.
    void ersteZeile_data();
    void ersteZeile();
    // Windows-1252 bytes read as the Windows program wrote them.
    void windows1252();
    // Any path survives a write and a read unchanged, also outside Windows-1252.
    void rundreise_data();
    void rundreise();
    // A write replaces the whole file with one CR LF line.
    void schreibtEineZeile();
    // An unwritable folder is reported, and the old file stays as it was.
    void schreibfehler_data();
    void schreibfehler();
    // The game's reading: a usable first line, or the default written back.
    void spielDatenbank_data();
    void spielDatenbank();
    // A directory or an unreadable file counts as missing.
    void unlesbar();
};

void TestSettingsFile::ersteZeile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("hatZeile");
    QTest::addColumn<QString>("zeile");
    QTest::newRow("CR LF") << QByteArray("C:\\a.mdb\r\nzweite\r\n") << true << "C:\\a.mdb";
    QTest::newRow("no line end") << QByteArray("/x/Fragen.mdb") << true << "/x/Fragen.mdb";
    QTest::newRow("zero bytes") << QByteArray() << false << QString();
    QTest::newRow("only CR LF") << QByteArray("\r\n") << true << QString();
    QTest::newRow("LF only") << QByteArray("/a/b.mdb\n/c\n") << true << "/a/b.mdb";
    QTest::newRow("CR only") << QByteArray("/a/b.mdb\r/c") << true << "/a/b.mdb";
    QTest::newRow("blanks kept") << QByteArray("  /a b.mdb  \r\n") << true << "  /a b.mdb  ";
    QTest::newRow("empty first, path second") << QByteArray("\r\n/x.mdb\r\n") << true << QString();
    QTest::newRow("only blanks") << QByteArray("   ") << true << "   ";
}

void TestSettingsFile::ersteZeile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, hatZeile);
    QFETCH(QString, zeile);
    const auto result = SettingsFile::ersteZeile(bytes);
    QCOMPARE(result.has_value(), hatZeile);
    if (hatZeile)
        QCOMPARE(*result, zeile);
}

void TestSettingsFile::windows1252()
{
    const QByteArray bytes("C:\\Spa\xdf \x84Test\x93 \x80\xe4.mdb\r\n");
    QCOMPARE(*SettingsFile::ersteZeile(bytes), QString::fromUtf8("C:\\Spaß „Test“ €ä.mdb"));
    QCOMPARE(SettingsFile::kodiere(QString::fromUtf8("Spaß „Test“ €")),
             QByteArray("Spa\xdf \x84Test\x93 \x80"));
}

void TestSettingsFile::rundreise_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::newRow("ascii") << "/home/lehrer/Fragen.mdb";
    QTest::newRow("umlauts") << QString::fromUtf8("/home/lehrer/Übungen/Fragen für Klasse 5.mdb");
    QTest::newRow("cp1252 only") << QString::fromUtf8("/daten/„Quiz“ €.mdb");
    QTest::newRow("cyrillic") << QString::fromUtf8("/daten/Вопросы.mdb");
    QTest::newRow("emoji") << QString::fromUtf8("/daten/\U0001F4DA Fragen.mdb");
    QTest::newRow("greek and umlaut") << QString::fromUtf8("/daten/Ωmega-Übung.mdb");
    QTest::newRow("empty") << QString();
}

void TestSettingsFile::rundreise()
{
    QFETCH(QString, pfad);
    TestUmgebung umgebung;
    const QString datei = AppInfo::einstellungsdatei();
    QVERIFY(!SettingsFile::schreibe(datei, pfad).isError());
    const auto gelesen = SettingsFile::lies(datei);
    QVERIFY(gelesen.has_value());
    QCOMPARE(*gelesen, pfad);
}

void TestSettingsFile::schreibtEineZeile()
{
    TestUmgebung umgebung;
    umgebung.schreibeDatei(QStringLiteral("Kreidolin.ini"), "alt\r\nnoch mehr\r\nund mehr\r\n");
    QVERIFY(!SettingsFile::schreibe(AppInfo::einstellungsdatei(), QStringLiteral("/neu/ä.mdb")).isError());
    QCOMPARE(umgebung.liesDatei(QStringLiteral("Kreidolin.ini")), QByteArray("/neu/\xe4.mdb\r\n"));
}

void TestSettingsFile::schreibfehler_data()
{
    QTest::addColumn<bool>("ordnerGeschuetzt"); // else only the file is read-only
    QTest::newRow("read-only folder") << true;
    QTest::newRow("read-only file in a writable folder") << false;
}

void TestSettingsFile::schreibfehler()
{
    QFETCH(bool, ordnerGeschuetzt);
    TestUmgebung umgebung;
    umgebung.schreibeDatei(QStringLiteral("Kreidolin.ini"), "alt\r\n");
    StoreError e;
    if (ordnerGeschuetzt) {
        SchreibschutzOrdner schutz(umgebung.verzeichnis());
        if (!schutz.aktiv())
            QSKIP("cannot make a folder read-only here");
        e = SettingsFile::schreibe(AppInfo::einstellungsdatei(), QStringLiteral("neu"));
    } else {
        QVERIFY(QFile::setPermissions(AppInfo::einstellungsdatei(), QFile::ReadOwner));
        e = SettingsFile::schreibe(AppInfo::einstellungsdatei(), QStringLiteral("neu"));
        QVERIFY(!QFileInfo(AppInfo::einstellungsdatei()).permissions().testFlag(QFile::WriteOwner));
        QFile::setPermissions(AppInfo::einstellungsdatei(), QFile::ReadOwner | QFile::WriteOwner);
    }
    QVERIFY(e.isError());
    QVERIFY(e.text().contains(QLatin1String("Kreidolin.ini")));
    QCOMPARE(umgebung.liesDatei(QStringLiteral("Kreidolin.ini")), QByteArray("alt\r\n"));
}

void TestSettingsFile::spielDatenbank_data()
{
    QTest::addColumn<QByteArray>("inhalt"); // "<none>" for no file
    QTest::addColumn<bool>("standard");
    QTest::addColumn<QString>("pfadVorher");
    QTest::addColumn<QString>("pfadNachher");
    QTest::newRow("no file") << QByteArray("<none>") << true << "vorher" << "vorher";
    QTest::newRow("zero bytes") << QByteArray() << true << "vorher" << "vorher";
    QTest::newRow("empty first line") << QByteArray("\r\n/zweite.mdb\r\n") << true << "vorher" << "";
    QTest::newRow("path") << QByteArray("/irgendwo/Fragen.mdb\r\n") << false << "vorher"
                          << "/irgendwo/Fragen.mdb";
    QTest::newRow("leading blanks") << QByteArray("  /x.mdb\r\n") << false << "" << "  /x.mdb";
}

void TestSettingsFile::spielDatenbank()
{
    QFETCH(QByteArray, inhalt);
    QFETCH(bool, standard);
    QFETCH(QString, pfadVorher);
    QFETCH(QString, pfadNachher);
    TestUmgebung umgebung;
    if (inhalt != "<none>")
        umgebung.schreibeDatei(QStringLiteral("Kreidolin.ini"), inhalt);
    DatenbankPfad = pfadVorher;
    const auto result = SettingsFile::spielDatenbank();
    QVERIFY(!result.schreibFehler.isError());
    QCOMPARE(DatenbankPfad, pfadNachher);
    if (standard) {
        QCOMPARE(result.pfad, AppInfo::standardDatenbank());
        QCOMPARE(umgebung.liesDatei(QStringLiteral("Kreidolin.ini")),
                 SettingsFile::kodiere(AppInfo::standardDatenbank()) + "\r\n");
    } else {
        QCOMPARE(result.pfad, pfadNachher);
        QCOMPARE(umgebung.liesDatei(QStringLiteral("Kreidolin.ini")), inhalt);
    }
}

void TestSettingsFile::unlesbar()
{
    TestUmgebung umgebung;
    QVERIFY(QDir(umgebung.verzeichnis()).mkdir(QStringLiteral("Kreidolin.ini")));
    QVERIFY(!SettingsFile::lies(AppInfo::einstellungsdatei()).has_value());
    QVERIFY(SettingsFile::schreibe(AppInfo::einstellungsdatei(), QStringLiteral("x")).isError());
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
