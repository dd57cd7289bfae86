#include "austausch/csv.h"
#include "austausch/pruefung.h"
#include "austausch/sammlung.h"
#include "testservices.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <minizip/zip.h>

using namespace Austausch;

// Spreadsheet, Moodle and the collection check, on real files.

namespace {
Tabelle sortiert(Tabelle t)
{
    std::sort(t.begin(), t.end());
    return t;
}

Einlesen ausCsv(const QByteArray &bytes)
{
    QVector<Rohzeile> zeilen;
    const StoreError e = Csv::lies(bytes, zeilen);
    if (e)
        qWarning() << e.text();
    return pruefeZeilen(zeilen, {QStringLiteral("alt")}, kMaxZeilen);
}

void zipBombe(const QString &pfad)
{
    zipFile z = zipOpen(QFile::encodeName(pfad).constData(), APPEND_STATUS_CREATE);
    zipOpenNewFileInZip(z, "xl/sharedStrings.xml", nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9);
    const QByteArray nullen(1 << 20, ' ');
    for (int i = 0; i <= kMaxBytes >> 20; ++i)
        zipWriteInFileInZip(z, nullen.constData(), nullen.size());
    zipCloseFileInZip(z);
    zipClose(z, nullptr);
}
}

class TestAustausch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every dialect spreadsheets write reads to the same question, on the line it starts.
    void csvDialekt_data()
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
    }
    void csvDialekt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, frage);
        QFETCH(int, zeile);
        const Einlesen e = ausCsv(bytes);
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
        QTest::newRow("level 2,5") << QByteArray("X;a;b;c;\"2,5\"") << "Zeile 3: die Stufe „2,5“ ist keine";
        QTest::newRow("equal answers") << QByteArray("X;a;b;B ;1") << "Zeile 3: die beiden falschen Antworten sind gleich";
        QTest::newRow("duplicate in file") << QByteArray("q;a;b;c;1") << "Zeile 3: die Frage steht schon in Zeile 2";
        QTest::newRow("in collection") << QByteArray("ALT;a;b;c;1") << "Zeile 3: die Frage steht schon in der Sammlung";
        QTest::newRow("open quote") << QByteArray("\"X;a;b;c;1\nY;a;b;c;1") << "Zeile 3: ein Anführungszeichen";
    }
    void abgelehnt()
    {
        QFETCH(QByteArray, zeilen);
        QFETCH(QString, grund);
        const Einlesen e = ausCsv("Frage;Loesung;Antwort1;Antwort2;Stufe\nQ;a;b;c;1\n" + zeilen + "\n");
        QCOMPARE(e.angenommen.size(), 1);
        QCOMPARE(e.abgelehnt.size(), 1);
        QVERIFY2(vorschauText(e).contains(grund), qPrintable(vorschauText(e)));
    }
    // A failure mid-import leaves the collection as it was; so does a question arrived since the preview.
    void allesOderNichts()
    {
        TestUmgebung env;
        const QString ziel = env.erzeugeFragen(QStringLiteral("z.mdb"), TestUmgebung::fragenJeStufe());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("ausloeser"));
            db.setDatabaseName(ziel);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("CREATE TRIGGER nein BEFORE INSERT ON fragen WHEN NEW.Frage = "
                                                      "'kaputt' BEGIN SELECT RAISE(ABORT, 'nein'); END")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("ausloeser"));
        const QByteArray vorher = env.liesDatei(QStringLiteral("z.mdb"));
        const QVector<Frage> fragen = {{"neu 1", "a", "b", "c", 1, 2}, {"kaputt", "a", "b", "c", 2, 3}};
        const StoreError e = Sammlung::fuegeEin(ziel, fragen);
        QVERIFY2(e.text().contains(QStringLiteral("nichts übernommen")), qPrintable(e.text()));
        QCOMPARE(env.liesDatei(QStringLiteral("z.mdb")), vorher);
        Tabelle t;
        QVERIFY(!Sammlung::lies(ziel, t));
        const QVector<Frage> schonDa = {{"neu 2", "a", "b", "c", 1, 2}, {t[0][0], "a", "b", "c", 1, 3}};
        QVERIFY(Sammlung::fuegeEin(ziel, schonDa).text().contains(QLatin1String("Zeile 3")));
        QCOMPARE(env.liesDatei(QStringLiteral("z.mdb")), vorher);
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
    // Hostile files end in a message, not a crash or a hang.
    void feindlich_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("meldung");
        QByteArray gross("Frage;Loesung;Antwort1;Antwort2;Stufe\n");
        gross += QByteArray(kMaxBytes, 'x');
        QTest::newRow("huge csv") << "a.csv" << gross << "größer als 64 MB";
        QByteArray viele("Frage;Loesung;Antwort1;Antwort2;Stufe\n");
        viele += QByteArray("q;a;b;c;1\n").repeated(kMaxZeilen + 1);
        QTest::newRow("too many rows") << "a.csv" << viele << "mehr als 32.767 Zeilen";
        QTest::newRow("binary csv") << "a.csv" << QByteArray("PK\x03\x04\0\0\xff", 7) << "keine Textdatei";
        QTest::newRow("garbage xlsx") << "a.xlsx" << QByteArray(5000, '\x9c') << "keine Excel-Arbeitsmappe";
        QTest::newRow("zip bomb") << "bombe.xlsx" << QByteArray() << "entpackt größer als 64 MB";
        QTest::newRow("entities") << "a.xml"
                                  << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE quiz [<!ENTITY a \"aaaaaaaaaa\">"
                                                "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><quiz>&b;</quiz>")
                                  << "Dokumenttyp-Deklarationen";
        QTest::newRow("not moodle") << "a.xml" << QByteArray("<html/>") << "keine Moodle-XML-Datei";
    }
    void feindlich()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, meldung);
        TestUmgebung env;
        if (bytes.isEmpty())
            zipBombe(env.datei(name));
        else
            env.schreibeDatei(name, bytes);
        Einlesen e;
        const StoreError fehler = Sammlung::vorschau(env.datei(name), env.datei(QStringLiteral("z.mdb")), e);
        QVERIFY2(fehler.text().contains(meldung), qPrintable(fehler.text()));
        QVERIFY(!QFile::exists(env.datei(QStringLiteral("z.mdb"))));
    }
    // What an export writes reads back as the same questions, on every level.
    void rundreise_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("csv") << "aus.csv";
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
        QCOMPARE(e.angenommen.size(), t.size());
        for (int i = 0; i < t.size(); ++i) {
            const Frage &f = e.angenommen[i];
            QCOMPARE((QStringList{f.frage, f.loesung, f.antwort1, f.antwort2, QString::number(f.stufe)}), t[i]);
        }
        QVERIFY2(vorschauText(e).contains(QLatin1String("Stufe 15: 2")), qPrintable(vorschauText(e)));
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

QTEST_GUILESS_MAIN(TestAustausch)
#include "tst_austausch.moc"
