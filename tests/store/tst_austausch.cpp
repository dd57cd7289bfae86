#include "austausch/csv.h"
#include "austausch/formate.h"
#include "austausch/pruefung.h"
#include "austausch/sammlung.h"
#include "testservices.h"
#include "ui/austauschleiste.h"
#include "ui/berichtfenster.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <minizip/zip.h>
#include <sqlite3.h>
#include <sys/stat.h>

using namespace Austausch;

// Spreadsheet, Moodle and the collection check, on real files.

namespace {
// A workbook's or a text table's rows, checked against a collection that holds "alt".
Einlesen einlesen(const QByteArray &bytes)
{
    QVector<Rohzeile> zeilen;
    const StoreError e = Formate::fuer(bytes.startsWith("PK") ? "a.xlsx" : "a.csv")->lies(bytes, zeilen, nullptr, {});
    if (e)
        qWarning() << e.text();
    return pruefeZeilen(zeilen, {QStringLiteral("alt")}, kMaxZeilen);
}

// A workbook of the parts given (name, content); a content of "*N" is N
// MB of blanks, packed as they come.
QByteArray mappe(const QList<QPair<QByteArray, QByteArray>> &teile)
{
    QTemporaryDir ordner;
    const QByteArray pfad = QFile::encodeName(ordner.filePath(QStringLiteral("m.xlsx")));
    zipFile z = zipOpen(pfad.constData(), APPEND_STATUS_CREATE);
    for (const auto &[name, inhalt] : teile) {
        zipOpenNewFileInZip(z, name.constData(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9);
        const QByteArray mb(1 << 20, ' ');
        for (int i = 0; inhalt.startsWith('*') && i < inhalt.mid(1).toInt(); ++i)
            zipWriteInFileInZip(z, mb.constData(), mb.size());
        if (!inhalt.startsWith('*'))
            zipWriteInFileInZip(z, inhalt.constData(), static_cast<unsigned>(inhalt.size()));
        zipCloseFileInZip(z);
    }
    zipClose(z, nullptr);
    return liesBytes(QFile::decodeName(pfad));
}

// A sheet whose first row names the columns, then the rows given as XML.
QByteArray blatt(const QByteArray &zeilen)
{
    return "<worksheet><sheetData><row r=\"1\"><c t=\"inlineStr\"><is><t>Frage</t></is></c><c t=\"inlineStr\"><is>"
           "<t>Loesung</t></is></c><c t=\"inlineStr\"><is><t>Antwort1</t></is></c><c t=\"inlineStr\"><is><t>Antwort2"
           "</t></is></c><c t=\"inlineStr\"><is><t>Stufe</t></is></c></row>" + zeilen + "</sheetData></worksheet>";
}

const QByteArray kKopf("Frage;Loesung;Antwort1;Antwort2;Stufe\n");

struct Ausgang {
    int status = 0;
    QString text;
};

// The tool's exit status and all it printed.
Ausgang werkzeug(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(KREIDOLIN_BUILD_DIR "/kreidolin-fragen"), args);
    if (!p.waitForFinished(120000))
        return {-1, QStringLiteral("hängt")};
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError())};
}

// The bar's button clicked with the file given to its dialog: 1 and the
// boxes' texts (and an import's preview, accepted or cancelled), 0 when it
// ended without a word.
Ausgang leiste(TestUmgebung &env, const QString &sammlung, const char *knopf, const QString &datei, bool annehmen)
{
    QWidget fenster;
    Austauschleiste bar(&fenster, [sammlung] { return sammlung; });
    env.dateiDialoge.antworten = {datei};
    QString vorschau;
    QTimer::singleShot(0, &fenster, [&vorschau, annehmen] {
        if (auto *d = qobject_cast<Berichtfenster *>(QApplication::activeModalWidget())) {
            vorschau = d->findChild<QPlainTextEdit *>()->toPlainText();
            annehmen ? d->accept() : d->reject();
        }
    });
    const int vorher = env.meldungen.gezeigt.size();
    fenster.findChild<QPushButton *>(QLatin1String(knopf))->click();
    const QString text = env.meldungen.texte().mid(vorher).join(QLatin1Char('\n')) + vorschau;
    return {text.isEmpty() ? 0 : 1, text};
}

QStringList dateienIn(const QString &ordner)
{
    return QDir(ordner).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
}

class TestAustausch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every dialect spreadsheets write reads to the same question, on the line it starts; so does a workbook's
    // text kept in its cell, its runs joined.
    void dialekt_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("frage");
        QTest::addColumn<int>("zeile");
        const QString f = QStringLiteral("Wer malte „Ähren“?");
        QTest::newRow("utf8 bom ;") << QByteArray("\xEF\xBB\xBF" "Frage;Loesung;Antwort1;Antwort2;Stufe\r\n")
                                            + f.toUtf8() + ";a;b;c;3\r\n" << f << 2;
        QTest::newRow("utf8 , quoted") << "stufe,FRAGE,loesung,antwort1,antwort2\n\n3,\"" + f.toUtf8() + "\",a,b,c\n"
                                       << f << 3;
        QTest::newRow("tab, Lösung") << "Frage\tLösung\tAntwort 1\tAntwort 2\tStufe\n" + f.toUtf8() + "\ta\tb\tc\t3"
                                     << f << 2;
        QTest::newRow("windows-1252") << QByteArray("Frage;Loesung;Antwort1;Antwort2;Stufe\r\n")
                                             + QByteArray("Wer malte \x84\xC4hren\x93?;a;b;c;3\r\n") << f << 2;
        const QString utf16 = QStringLiteral("Frage\tLoesung\tAntwort1\tAntwort2\tStufe\r\n") + f + "\ta\tb\tc\t3";
        QTest::newRow("utf16") << QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(utf16.utf16()),
                                                                       utf16.size() * 2) << f << 2;
        QTest::newRow("quotes, separators, breaks")
            << QByteArray("Frage;Loesung;Antwort1;Antwort2;Stufe\n\"Zwei\r\nZeilen; \"\"zitiert\"\"\";a;b;c;3\n")
            << QStringLiteral("Zwei\r\nZeilen; \"zitiert\"") << 2;
        QTest::newRow("workbook, texts in cells") << mappe({{"xl/worksheets/sheet1.xml", blatt(
            "<row r=\"3\"><c t=\"inlineStr\"><is><r><t>Wer </t></r><r><t>malte?</t></r><rPh><t>x</t></rPh></is></c><c "
            "t=\"inlineStr\"><is><t>a</t></is></c><c t=\"inlineStr\"><is><t>b</t></is></c><c t=\"inlineStr\"><is><t>c</t>"
            "</is></c><c><v>3</v></c></row>")}}) << QStringLiteral("Wer malte?") << 3;
    }
    void dialekt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, frage);
        QFETCH(int, zeile);
        const Einlesen e = einlesen(bytes);
        QCOMPARE(e.abgelehnt.size(), 0);
        QCOMPARE(e.angenommen.size(), 1);
        QCOMPARE(e.angenommen[0].frage, frage);
        QCOMPARE(e.angenommen[0].stufe, 3);
        QCOMPARE(e.angenommen[0].zeile, zeile);
    }
    // Every refused row is named with its line and reason.
    void abgelehnt_data()
    {
        QTest::addColumn<QByteArray>("zeilen");
        QTest::addColumn<QString>("grund");
        QTest::newRow("short row") << QByteArray("X;a;b;c") << "Zeile 3: die Spalte Stufe fehlt";
        QTest::newRow("empty field") << QByteArray("X;a; ;c;1") << "Zeile 3: das Feld Antwort1 ist leer";
        QTest::newRow("level 16") << QByteArray("X;a;b;c;16") << "Zeile 3: die Stufe „16“ ist keine";
        QTest::newRow("equal answers") << QByteArray("X;a;b;B ;1") << "Zeile 3: die beiden falschen Antworten sind gleich";
        QTest::newRow("duplicate in file") << QByteArray("q;a;b;c;1") << "Zeile 3: die Frage steht schon in Zeile 2";
        QTest::newRow("in collection") << QByteArray("ALT;a;b;c;1") << "Zeile 3: die Frage steht schon in der Sammlung";
        QTest::newRow("open quote") << QByteArray("\"X;a;b;c;1\nY;a;b;c;1") << "Zeile 3: ein Anführungszeichen";
    }
    void abgelehnt()
    {
        QFETCH(QByteArray, zeilen);
        QFETCH(QString, grund);
        const Einlesen e = einlesen("Frage;Loesung;Antwort1;Antwort2;Stufe\nQ;a;b;c;1\n" + zeilen + "\n");
        QCOMPARE(e.angenommen.size(), 1);
        QCOMPARE(e.abgelehnt.size(), 1);
        QVERIFY2(vorschauText(e).contains(grund), qPrintable(vorschauText(e)));
    }
    // A failure mid-import leaves the collection as it was; so does a question arrived since the preview.
    void allesOderNichts()
    {
        TestUmgebung env;
        const QString ziel = env.erzeugeFragen(QStringLiteral("z.mdb"), TestUmgebung::fragenJeStufe());
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(ziel).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "CREATE TRIGGER nein BEFORE INSERT ON fragen WHEN NEW.Frage = 'kaputt' BEGIN "
                                  "SELECT RAISE(ABORT, 'nein'); END", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        const QByteArray vorher = env.liesDatei(QStringLiteral("z.mdb"));
        const QVector<Frage> fragen = {{"neu 1", "a", "b", "c", 1, 2}, {"kaputt", "a", "b", "c", 2, 3}};
        const StoreError e = Sammlung::fuegeEin(ziel, fragen);
        QVERIFY2(e.text().contains(QStringLiteral("nichts übernommen")), qPrintable(e.text()));
        QCOMPARE(env.liesDatei(QStringLiteral("z.mdb")), vorher);
        const QVector<Frage> schonDa = {{"neu 2", "a", "b", "c", 1, 2}, {"Frage S1N1", "a", "b", "c", 1, 3}};
        QVERIFY(Sammlung::fuegeEin(ziel, schonDa).text().contains(QLatin1String("Zeile 3")));
        QCOMPARE(env.liesDatei(QStringLiteral("z.mdb")), vorher);
        // What the collection can take is taken, and said to be.
        QVERIFY(!Sammlung::fuegeEin(ziel, {{"neu 3", "a", "b", "c", 1, 2}}));
        QVERIFY(env.liesDatei(QStringLiteral("z.mdb")) != vorher);
    }
    // The check names each fault with the rows concerned.
    void befunde_data()
    {
        QTest::addColumn<Tabelle>("tabelle");
        QTest::addColumn<int>("art");
        QTest::addColumn<QVector<int>>("zeilen");
        Tabelle ganz;
        for (int s = 1; s <= 15; ++s)
            ganz << QStringList{QStringLiteral("F%1").arg(s), "a", "b", "c", QString::number(s)};
        auto mit = [&ganz](const QStringList &z) { return Tabelle(ganz) << z; };
        QTest::newRow("all well") << ganz << -1 << QVector<int>{};
        QTest::newRow("level missing") << Tabelle(ganz.mid(1)) << int(Pruefung::Art::LeereStufe) << QVector<int>{};
        QTest::newRow("empty field") << mit({"X", "a", " ", "c", "1"}) << int(Pruefung::Art::LeeresFeld)
                                     << QVector<int>{16};
        QTest::newRow("equal answers") << mit({"X", "a", "A", "c", "1"}) << int(Pruefung::Art::GleicheAntworten)
                                       << QVector<int>{16};
        QTest::newRow("duplicate") << mit({"f3 ", "x", "y", "z", "3"}) << int(Pruefung::Art::DoppelteFrage)
                                   << QVector<int>{3, 16};
        QTest::newRow("level 0") << mit({"X", "a", "b", "c", "0"}) << int(Pruefung::Art::StufeAusserhalb)
                                 << QVector<int>{16};
        Tabelle gross(kMaxZeilen + 1 - 15, QStringList{"X", "a", "b", "c", "1"});
        QTest::newRow("too many rows") << Tabelle(ganz + gross) << int(Pruefung::Art::ZuVieleZeilen) << QVector<int>{};
    }
    void befunde()
    {
        QFETCH(Tabelle, tabelle);
        QFETCH(int, art);
        QFETCH(QVector<int>, zeilen);
        const Pruefung::Ergebnis e = Pruefung::pruefe(tabelle);
        const bool hindert = art == int(Pruefung::Art::LeereStufe) || art == int(Pruefung::Art::ZuVieleZeilen);
        QCOMPARE(e.spielbar(), !hindert);
        if (art < 0)
            QCOMPARE(e.befunde.size(), 0);
        for (const Pruefung::Befund &b : e.befunde) {
            if (int(b.art) == art && b.zeilen == zeilen)
                return;
        }
        QVERIFY2(art < 0, qPrintable(e.bericht()));
    }
    // Hostile files, taken in by the companion tool and by the editor's bar: a German refusal, exit status 1,
    // the collection and an earlier export unchanged. An export's bytes are a question added to the collection.
    void feindlich_data()
    {
        QTest::addColumn<bool>("imEditor");
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("meldung");
        const QByteArray tief = QByteArray("<a>").repeated(100000);
        const QByteArray zeile("<row><c t=\"s\"><v>0</v></c><c t=\"s\"><v>0</v></c><c t=\"s\"><v>0</v></c>"
                               "<c t=\"s\"><v>0</v></c><c t=\"s\"><v>0</v></c></row>");
        const QList<std::tuple<const char *, QString, QString, QByteArray, QString>> faelle = {
            {"huge csv", "import", "a.csv", kKopf + QByteArray(kMaxBytes, 'x'), "größer als 64 MB"},
            {"too many rows", "import", "a.csv", kKopf + QByteArray("q;a;b;c;1\n").repeated(kMaxZeilen + 1),
             "mehr als 32.767 Zeilen"},
            {"separators only", "import", "a.csv", QByteArray(8 << 20, ';'), "mehr als 1.024 Felder"},
            {"separator rows", "import", "a.csv", (QByteArray(200, ';') + '\n').repeated(20000),
             "mehr als 2.000.000 Felder"},
            {"binary csv", "import", "a.csv", QByteArray("PK\x03\x04\0\0\xff", 7), "keine Textdatei"},
            {"garbage xlsx", "import", "a.xlsx", QByteArray(5000, '\x9c'), "keine Excel-Arbeitsmappe"},
            {"zip bomb", "import", "a.xlsx", mappe({{"xl/sharedStrings.xml", "*65"}}), "entpackt größer als 32 MB"},
            {"deep in a shared text", "import", "a.xlsx",
             mappe({{"xl/sharedStrings.xml", "<sst><si><t>" + tief + "</t></si></sst>"}}), "tiefer als 256 Ebenen"},
            {"one huge shared text", "import", "a.xlsx",
             mappe({{"xl/sharedStrings.xml", "<sst><si><t>" + QByteArray(8 << 20, 'x') + " </t></si></sst>"},
                    {"xl/worksheets/sheet1.xml", blatt(zeile.repeated(kMaxZeilen))}}),
             "mehr als 33.554.432 Zeichen"},
            {"row number at the end", "import", "a.xlsx",
             mappe({{"xl/worksheets/sheet1.xml", blatt("<row r=\"2147483647\"/><row/>")}}),
             "Zeilennummer „2147483647“"},
            {"deep in a Moodle text", "import", "a.xml",
             "<quiz><question type=\"multichoice\"><questiontext><text>" + tief, "tiefer als 256 Ebenen"},
            {"entities", "import", "a.xml",
             "<?xml version=\"1.0\"?><!DOCTYPE quiz [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
             "<quiz>&b;</quiz>", "Dokumenttyp-Deklarationen"},
            {"not moodle", "import", "a.xml", "<html/>", "keine Moodle-XML-Datei"},
            {"unclosed moodle", "import", "a.xml", "<quiz><question>", "endet mitten in einem Element"},
            {"U+FFFE in a cell", "import", "a.csv", kKopf + "F;a;b;c;1\nG;a\xEF\xBF\xBE;b;c;1\n",
             "Zeile 3: das Feld Lösung enthält das Zeichen U+FFFE"},
            {"control character", "import", "a.csv", kKopf + "F\x01;a;b;c;1\n", "Zeichen U+0001"},
            {"level of 30,000 digits", "import", "a.csv", kKopf + "F;a;b;c;1" + QByteArray(30000, '0') + "\n", "„10000"},
            {"named pipe", "import", "pipe.csv", {}, "ist eine benannte Pipe"},
            {"folder", "import", "ordner.csv", {}, "ist ein Ordner"},
            {"device", "import", "geraet.csv", {}, "ist ein Gerät"},
            {"endless view", "import", "a.csv", kKopf + "F;a;b;c;1\n", "mehr als 32.767 Fragen"},
            {"collection is a pipe", "export", "aus.csv", {}, "ist eine benannte Pipe"},
            {"U+FFFF to a workbook", "export", "aus.xlsx", "Wer\xEF\xBF\xBF?", "Datensatz 16, Feld Frage: das Zeichen U+FFFF"},
            {"control character to Moodle", "export", "aus.xml", "Klingel\a?", "Datensatz 16, Feld Frage: das Zeichen U+0007"},
            {"full disk, workbook", "export", "voll/aus.xlsx", {}, "kein Platz mehr"},
            {"full disk, csv", "export", "voll/aus.csv", {}, "kein Platz mehr"},
            {"full disk, new collection", "import", "voll/neu.mdb", {}, "kein Platz mehr"},
        };
        for (const auto &[fall, befehl, name, bytes, meldung] : faelle) {
            QTest::addRow("%s, tool", fall) << false << befehl << name << bytes << meldung;
            QTest::addRow("%s, editor", fall) << true << befehl << name << bytes << meldung;
        }
    }
    void feindlich()
    {
        QFETCH(bool, imEditor);
        QFETCH(QString, befehl);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, meldung);
        TestUmgebung env;
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        QVector<FrageZeile> fragen = TestUmgebung::fragenJeStufe(tag.startsWith(QLatin1String("full")) ? 40 : 1);
        if (befehl == QLatin1String("export") && !bytes.isEmpty())
            fragen.append({QString::fromUtf8(bytes), "a", "b", "c", 1, QVariant()});
        QString sammlung = env.erzeugeFragen(QStringLiteral("z.mdb"), fragen);
        if (tag.startsWith(QLatin1String("endless"))) {
            sqlDatei(sammlung, {QStringLiteral("CREATE VIEW fragen AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT "
                                               "n + 1 FROM r) SELECT 'F' || n AS Frage, 'a' AS Loesung, 'b' AS "
                                               "Antwort1, 'c' AS Antwort2, 1 AS Stufe, n AS ID FROM r")});
        }
        const QString quelle = env.datei(name);
        const VollerOrdner voll(env.datei(QStringLiteral("voll")));
        if (name.startsWith(QLatin1String("voll/"))) {
            if (!voll.aktiv)
                QSKIP("a small file system needs root (mount)");
            // Almost full: the earlier export fits, the new file does not.
            env.schreibeDatei(QStringLiteral("voll/fuell"), QByteArray(56 * 1024, 'x'));
        }
        if (tag.startsWith(QLatin1String("collection is a pipe")))
            sammlung = env.datei(QStringLiteral("p.mdb"));
        if (name == QLatin1String("pipe.csv") || sammlung.endsWith(QLatin1String("p.mdb")))
            QVERIFY(::mkfifo(QFile::encodeName(sammlung.endsWith(QLatin1String("p.mdb")) ? sammlung : quelle).constData(),
                             0600) == 0);
        else if (name == QLatin1String("ordner.csv"))
            QVERIFY(QDir().mkdir(quelle));
        else if (name == QLatin1String("geraet.csv"))
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), quelle));
        else if (!bytes.isEmpty())
            env.schreibeDatei(name, bytes);
        const QByteArray frueher("eine frühere Datei\n");
        if (befehl == QLatin1String("export"))
            env.schreibeDatei(name, frueher);
        QString ziel = sammlung;
        QString von = quelle;
        if (name.endsWith(QLatin1String(".mdb"))) {
            ziel = quelle;
            von = env.datei(QStringLiteral("a.csv"));
            QByteArray csv = kKopf;
            for (int i = 0; i < 2000; ++i)
                csv += QStringLiteral("Frage %1 mit etwas Text;a;b;c;1\n").arg(i).toUtf8();
            env.schreibeDatei(QStringLiteral("a.csv"), csv);
        }
        const QByteArray sammlungVorher = QFileInfo(sammlung).isFile() ? liesBytes(sammlung) : QByteArray();
        const QStringList dateienVorher = dateienIn(QFileInfo(ziel).absolutePath());
        Ausgang a;
        if (imEditor)
            a = befehl == QLatin1String("import") ? leiste(env, ziel, "cmdImport", von, ziel != sammlung)
                                                  : leiste(env, sammlung, "cmdExport", quelle, false);
        else
            a = befehl == QLatin1String("import") ? werkzeug({befehl, von, ziel}) : werkzeug({befehl, sammlung, quelle});
        QVERIFY2(a.text.contains(meldung), qPrintable(a.text.left(2000)));
        // A message quotes a few words of a field, never the field.
        QVERIFY2(a.text.size() < 4000, qPrintable(a.text.left(2000)));
        QCOMPARE(a.status, 1);
        for (const char *englisch : {"Unknown error", "database or disk is full", "Premature end"})
            QVERIFY2(!a.text.contains(QLatin1String(englisch)), qPrintable(a.text.left(2000)));
        if (QFileInfo(sammlung).isFile())
            QCOMPARE(liesBytes(sammlung), sammlungVorher);
        if (befehl == QLatin1String("export"))
            QCOMPARE(liesBytes(quelle), frueher);
        QCOMPARE(dateienIn(QFileInfo(ziel).absolutePath()), dateienVorher);
    }
    // What an export writes reads back as the same questions, on every level.
    void rundreise_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("xlsx") << "aus.xlsx";
        QTest::newRow("moodle") << "aus.xml";
    }
    void rundreise()
    {
        QFETCH(QString, name);
        TestUmgebung env;
        const QString quelle = env.erzeugeFragen(QStringLiteral("q.mdb"), TestUmgebung::fragenJeStufe(2));
        Tabelle t;
        QVERIFY(!Sammlung::lies(quelle, t));
        QVERIFY(!Sammlung::exportiere(quelle, env.datei(name)));
        Einlesen e;
        QVERIFY(!Sammlung::vorschau(env.datei(name), env.datei(QStringLiteral("z.mdb")), e));
        QCOMPARE(e.abgelehnt.size(), 0);
        Tabelle gelesen;
        for (const Frage &f : e.angenommen)
            gelesen << QStringList{f.frage, f.loesung, f.antwort1, f.antwort2, QString::number(f.stufe)};
        QCOMPARE(gelesen, t);
        QVERIFY2(vorschauText(e).contains(QLatin1String("Stufe 15: 2")), qPrintable(vorschauText(e)));
    }
    // A cell a spreadsheet would run as a formula is written behind an apostrophe, one holding the
    // separator in quotes, and the import gives back exactly what was written.
    void formeln_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *t : {"=HYPERLINK(\"http://x\";\"hier\")", "+1", "-5", "@SUMME(A1)", "\t=1", "'=schon geschützt",
                              "'", "'gewöhnlich", "''", "ein; zwei"})
            QTest::newRow(t) << QString::fromUtf8(t);
    }
    void formeln()
    {
        QFETCH(QString, text);
        const QByteArray csv = Csv::schreibe({{text, "a", "b", "c", "1"}});
        const QByteArray zelle = csv.split('\n').value(1).split(';').value(0);
        QVERIFY2(!QByteArray("=+-@\t").contains(zelle.startsWith('"') ? zelle.at(1) : zelle.at(0)), zelle.constData());
        QVector<Rohzeile> zeilen;
        QVERIFY(!Csv::lies(csv, zeilen));
        QCOMPARE(zeilen.value(0).felder.value(0), text);
    }
    // A workbook saved by LibreOffice reads as Calc shows it.
    void libreoffice()
    {
        TestUmgebung env;
        Einlesen e;
        QVERIFY(!Sammlung::vorschau(env.kopiereTestdatei(QStringLiteral("libreoffice.xlsx")),
                                    env.datei(QStringLiteral("z.mdb")), e));
        QCOMPARE(e.angenommen.size(), 4);
        QCOMPARE(e.angenommen[1].frage, QStringLiteral("Welches Tier sagt \"Muh\"?"));
        QCOMPARE(e.angenommen[3].frage, QStringLiteral("Zwei Zeilen:\nwelche ist die zweite?"));
        QCOMPARE(e.angenommen[3].stufe, 15);
        QCOMPARE(e.abgelehnt.size(), 2);
        QCOMPARE(e.abgelehnt[1].zeile, 7);
    }
};

QTEST_MAIN(TestAustausch)
#include "tst_austausch.moc"
