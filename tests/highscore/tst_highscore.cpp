#include "basis/appinfo.h"
#include "highscore/highscore.h"
#include "testservices.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QThread>
#include <QTextCodec>
#include <QTest>

#include <memory>
#include <unistd.h>
#include <vector>

using Highscore::Eintrag;

namespace {
QByteArray zeilenBytes(int anzahl)
{
    QByteArray bytes;
    for (int i = 0; i < anzahl; ++i)
        bytes += Highscore::kodiereZeile(QStringLiteral("S%1").arg(i), i % 16);
    return bytes;
}
}

class TestHighscore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A line is name, " | ", score and CR LF in Windows-1252, or UTF-8 for names Windows-1252 cannot hold.
    void kodiere_data();
    void kodiere();
    // Windows-1252 lines and UTF-8 lines are both read back as written.
    void dekodiere_data();
    void dekodiere();
    // Every pair of Windows-1252 characters, and each beside characters it lacks, reads back as written.
    void alleZeichen();
    // Lines end at CR LF or a lone LF; the last one may lack its end.
    void zeilen_data();
    void zeilen();
    // Field 2 as a whole number wins; else the last field; else the line is passed over.
    void zerlege_data();
    void zerlege();
    // Equal scores end in the order the exchange procedure leaves them: a 5, b 5, c 0 gives b, a, c.
    void ordnung_data();
    void ordnung();
    // Item texts: position, " : ", name, "  -  ", score, " Punkte"; an empty name leaves three blanks.
    void listenTexte();
    // Warning at exactly 1000 entries with the full list; more than 1000 empties the file.
    void grenzen_data();
    void grenzen();
    // Appending adds exactly one line; names of every script come back unchanged.
    void anhaengen_data();
    void anhaengen();
    // An entry is not glued onto a last line that lacks its end.
    void anhaengenNachZeileOhneEnde();
    // Reading a missing file creates it empty; lines that are no entry stay in the file.
    void liesFehlendeDatei();
    void unlesbareZeilenBleiben();
    // A read-only folder: append, create and empty report an error and change nothing.
    void schreibschutz();
    // A folder where the file should be is reported, not taken for an empty list.
    void ordnerStattDatei();
    // A writable file in a folder that takes no new file still gets its line.
    void anhaengenOhneNeueDatei();
    // Several writers appending at once lose no line.
    void gleichzeitigAnhaengen();
};

void TestHighscore::kodiere_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("punkte");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain") << "x" << 10 << QByteArray("x | 10\r\n");
    QTest::newRow("empty name") << "" << 5 << QByteArray(" | 5\r\n");
    QTest::newRow("umlaut") << QString::fromUtf8("Jürgen") << 0 << QByteArray("J\xfcrgen | 0\r\n");
    QTest::newRow("euro and quotes") << QString::fromUtf8("„Max“ €") << 15 << QByteArray("\x84Max\x93 \x80 | 15\r\n");
    QTest::newRow("sharp s and dash") << QString::fromUtf8("Strauß–Meier") << 2 << QByteArray("Strau\xdf\x96Meier | 2\r\n");
    QTest::newRow("polish") << QString::fromUtf8("Łukasz") << 7 << QByteArray("\xef\xbb\xbf\xc5\x81ukasz | 7\r\n");
    QTest::newRow("cyrillic") << QString::fromUtf8("Иван") << 3
                              << QByteArray("\xef\xbb\xbf\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd | 3\r\n");
    QTest::newRow("1252 that looks like the mark") << QString::fromUtf8("ï»¿") << 1
                                                    << QByteArray("\xef\xbb\xbf\xc3\xaf\xc2\xbb\xc2\xbf | 1\r\n");
    QTest::newRow("a C1 control") << QString(QChar(0x81)) << 1 << QByteArray("\xef\xbb\xbf\xc2\x81 | 1\r\n");
    QTest::newRow("blanks") << "   " << 1 << QByteArray("    | 1\r\n");
}

void TestHighscore::kodiere()
{
    QFETCH(QString, name);
    QFETCH(int, punkte);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Highscore::kodiereZeile(name, punkte), bytes);
}

void TestHighscore::dekodiere_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("Anna | 3") << "Anna | 3";
    QTest::newRow("windows-1252") << QByteArray("J\xfcrgen Spa\xdf | 3") << QString::fromUtf8("Jürgen Spaß | 3");
    QTest::newRow("windows-1252 euro") << QByteArray("\x80\x84") << QString::fromUtf8("€„");
    QTest::newRow("utf-8 without mark, byte unused in 1252") << QByteArray("\xc5\x81ukasz | 7") << QString::fromUtf8("Łukasz | 7");
    QTest::newRow("utf-8 emoji") << QByteArray("\xef\xbb\xbf\xf0\x9f\x98\x80 | 1") << QString::fromUtf8("\U0001F600 | 1");
    QTest::newRow("1252 pairs that pass for utf-8") << QByteArray("Ma\xdf\xbb \xc4\x80 | 4") << QString::fromUtf8("Maß» Ä€ | 4");
    QTest::newRow("mark before broken utf-8 is 1252") << QByteArray("\xef\xbb\xbf\xc5") << QString::fromUtf8("ï»¿Å");
    QTest::newRow("broken utf-8 is 1252") << QByteArray("\xc5 | 1") << QString::fromUtf8("Å | 1");
}

void TestHighscore::dekodiere()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Highscore::dekodiereZeile(bytes), text);
}

void TestHighscore::alleZeichen()
{
    QTextCodec *codec = QTextCodec::codecForName("windows-1252");
    const QStringList fremde = {QString::fromUtf8("Ā"), QString::fromUtf8("ߖ"), QString::fromUtf8("😀"), QChar(0x81)};
    const auto liestZurueck = [](const QString &name) {
        return Highscore::zerlege(Highscore::kodiereZeile(name, 5)) == QVector<Eintrag>{Eintrag{name, 5}};
    };
    // Every Windows-1252 character but the line ends; "x" ends each name,
    // since " |" at its end would join the separator.
    for (int a = 1; a < 256; ++a) {
        for (int b = 1; b < 256; ++b) {
            const QByteArray keine("\r\n\x81\x8d\x8f\x90\x9d"); // line ends and bytes without a character
            if (keine.contains(char(a)) || keine.contains(char(b)))
                continue;
            const QByteArray alt = QByteArray(1, char(a)) + char(b) + 'x'; // as an old file has it
            QCOMPARE(Highscore::dekodiereZeile(alt), codec->toUnicode(alt));
            QVERIFY2(liestZurueck(codec->toUnicode(alt)), alt.toHex().constData()); // as the program writes it
            if (b == 'x')
                for (const QString &f : fremde)
                    QVERIFY(liestZurueck(codec->toUnicode(alt) + f) && liestZurueck(f + codec->toUnicode(alt)));
        }
    }
}

void TestHighscore::zeilen_data()
{
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<QList<QByteArray>>("zeilen");
    QTest::newRow("empty") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("crlf") << QByteArray("a | 1\r\nb | 2\r\n") << QList<QByteArray>{"a | 1", "b | 2"};
    QTest::newRow("lf") << QByteArray("a | 1\nb | 2\n") << QList<QByteArray>{"a | 1", "b | 2"};
    QTest::newRow("last without end") << QByteArray("a | 1\r\nb | 2") << QList<QByteArray>{"a | 1", "b | 2"};
    QTest::newRow("empty line") << QByteArray("\r\na | 1\r\n") << QList<QByteArray>{"", "a | 1"};
    QTest::newRow("cr alone") << QByteArray("a | 1\rb | 2\r\r\n") << QList<QByteArray>{"a | 1", "b | 2", ""};
}

void TestHighscore::zeilen()
{
    QFETCH(QByteArray, inhalt);
    QFETCH(QList<QByteArray>, zeilen);
    QCOMPARE(Highscore::zeilen(inhalt), zeilen);
}

void TestHighscore::zerlege_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<bool>("eintrag");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("punkte");
    QTest::newRow("plain") << "x | 10" << true << "x" << 10;
    QTest::newRow("empty name") << " | 5" << true << "" << 5;
    QTest::newRow("three fields") << "x | 5 | y" << true << "x" << 5;
    QTest::newRow("name holds separator") << "a | b | 7" << true << "a | b" << 7;
    QTest::newRow("name holds two separators") << "a | b | c | 12" << true << "a | b | c" << 12;
    QTest::newRow("leading zero") << "x | 05" << true << "x" << 5;
    QTest::newRow("blanks in name kept") << "  x  | 2" << true << "  x " << 2;
    QTest::newRow("no separator") << "nur Text" << false << "" << 0;
    QTest::newRow("empty line") << "" << false << "" << 0;
    QTest::newRow("text score") << "x | zehn" << false << "" << 0;
    QTest::newRow("negative") << "x | -3" << false << "" << 0;
    QTest::newRow("sign") << "x | +3" << false << "" << 0;
    QTest::newRow("digits and text") << "x | 5a" << false << "" << 0;
    QTest::newRow("blank before number") << "x |  5" << false << "" << 0;
    QTest::newRow("no blank after bar") << "x |5" << false << "" << 0;
    QTest::newRow("empty score") << "x | " << false << "" << 0;
    QTest::newRow("too large") << "x | 99999999999" << false << "" << 0;
    QTest::newRow("unicode digits") << QString::fromUtf8("x | ٥") << false << "" << 0;
}

void TestHighscore::zerlege()
{
    QFETCH(QString, zeile);
    QFETCH(bool, eintrag);
    QFETCH(QString, name);
    QFETCH(int, punkte);
    const auto e = Highscore::zerlegeZeile(zeile);
    QCOMPARE(e.has_value(), eintrag);
    if (eintrag) {
        QCOMPARE(e->name, name);
        QCOMPARE(e->punkte, punkte);
    }
}

void TestHighscore::ordnung_data()
{
    QTest::addColumn<QByteArray>("datei");
    QTest::addColumn<QStringList>("namen");
    QTest::newRow("ties") << QByteArray("a | 5\r\nb | 5\r\nc | 0\r\n") << QStringList{"b", "a", "c"};
    QTest::newRow("ascending file") << QByteArray("a | 1\r\nb | 2\r\nc | 3\r\n") << QStringList{"c", "b", "a"};
    QTest::newRow("one") << QByteArray("x | 10\r\n") << QStringList{"x"};
    QTest::newRow("all equal") << QByteArray("a | 3\r\nb | 3\r\nc | 3\r\n") << QStringList{"a", "b", "c"};
    QTest::newRow("mixed") << QByteArray("a | 0\r\nb | 15\r\nc | 5\r\nd | 5\r\ne | 10\r\n")
                           << QStringList{"b", "e", "d", "c", "a"};
}

void TestHighscore::ordnung()
{
    QFETCH(QByteArray, datei);
    QFETCH(QStringList, namen);
    QVector<Eintrag> e = Highscore::zerlege(datei);
    Highscore::ordne(e);
    QStringList ist;
    for (int i = 0; i < e.size(); ++i) {
        ist << e[i].name;
        if (i > 0)
            QVERIFY(e[i - 1].punkte >= e[i].punkte);
    }
    QCOMPARE(ist, namen);
}

void TestHighscore::listenTexte()
{
    const auto liste = Highscore::baueListe(Highscore::zerlege("a | 5\r\n | 5\r\nc | 0\r\nd | 15\r\n"));
    QVERIFY(!liste.warnen);
    QVERIFY(!liste.leeren);
    QCOMPARE(liste.texte, (QStringList{"1 : d  -  15 Punkte", "2 : a  -  5 Punkte", "3 :   -  5 Punkte",
                                       "4 : c  -  0 Punkte"}));
    QCOMPARE(Highscore::keineEintraege(), QString::fromUtf8("Keine Einträge vorhanden..."));
    QCOMPARE(Highscore::warnText(), QString::fromUtf8("Beim nächsten Spiel wird die Highscoreliste gelöscht!"));
}

void TestHighscore::grenzen_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<bool>("warnen");
    QTest::addColumn<bool>("leeren");
    QTest::addColumn<int>("texte");
    QTest::newRow("none") << 0 << false << false << 0;
    QTest::newRow("999") << 999 << false << false << 999;
    QTest::newRow("1000") << 1000 << true << false << 1000;
    QTest::newRow("1001") << 1001 << false << true << 0;
    QTest::newRow("40000") << 40000 << false << true << 0;
}

void TestHighscore::grenzen()
{
    QFETCH(int, anzahl);
    QFETCH(bool, warnen);
    QFETCH(bool, leeren);
    QFETCH(int, texte);
    const auto liste = Highscore::baueListe(Highscore::zerlege(zeilenBytes(anzahl)));
    QCOMPARE(liste.warnen, warnen);
    QCOMPARE(liste.leeren, leeren);
    QCOMPARE(liste.texte.size(), texte);
}

void TestHighscore::anhaengen_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("ascii") << "Anna";
    QTest::newRow("umlauts") << QString::fromUtf8("Jürgen Größe");
    QTest::newRow("euro") << QString::fromUtf8("€-Max");
    QTest::newRow("polish") << QString::fromUtf8("Łukasz");
    QTest::newRow("cyrillic") << QString::fromUtf8("Иван");
    QTest::newRow("greek and umlaut") << QString::fromUtf8("Ωmega Ü");
    QTest::newRow("empty") << "";
}

void TestHighscore::anhaengen()
{
    QFETCH(QString, name);
    TestUmgebung umgebung;
    const QString pfad = AppInfo::highscoredatei();
    umgebung.schreibeDatei(QStringLiteral("highscore.dtt"), "alt | 3\r\n");
    QVERIFY(!Highscore::anhaengen(pfad, name, 12).isError());
    QCOMPARE(umgebung.liesDatei(QStringLiteral("highscore.dtt")),
             QByteArray("alt | 3\r\n") + Highscore::kodiereZeile(name, 12));
    const Highscore::Lesung lesung = Highscore::lies(pfad);
    QVERIFY(!lesung.fehler.isError());
    QCOMPARE(lesung.eintraege, (QVector<Eintrag>{{QStringLiteral("alt"), 3}, {name, 12}}));
}

void TestHighscore::anhaengenNachZeileOhneEnde()
{
    TestUmgebung umgebung;
    umgebung.schreibeDatei(QStringLiteral("highscore.dtt"), "alt | 3");
    QVERIFY(!Highscore::anhaengen(AppInfo::highscoredatei(), QStringLiteral("neu"), 4).isError());
    QCOMPARE(umgebung.liesDatei(QStringLiteral("highscore.dtt")), QByteArray("alt | 3\r\nneu | 4\r\n"));
    // A new file gets no empty line in front.
    QFile::remove(AppInfo::highscoredatei());
    QVERIFY(!Highscore::anhaengen(AppInfo::highscoredatei(), QStringLiteral("neu"), 4).isError());
    QCOMPARE(umgebung.liesDatei(QStringLiteral("highscore.dtt")), QByteArray("neu | 4\r\n"));
}

void TestHighscore::liesFehlendeDatei()
{
    TestUmgebung umgebung;
    const QString pfad = AppInfo::highscoredatei();
    QVERIFY(!QFile::exists(pfad));
    const Highscore::Lesung lesung = Highscore::lies(pfad);
    QVERIFY(!lesung.fehler.isError());
    QVERIFY(lesung.eintraege.isEmpty());
    QVERIFY(QFile::exists(pfad));
    QCOMPARE(QFile(pfad).size(), 0);
}

void TestHighscore::unlesbareZeilenBleiben()
{
    TestUmgebung umgebung;
    const QByteArray inhalt("a | 5\r\nvon Hand | dazu\r\n\r\nb | b | 2\r\n");
    umgebung.schreibeDatei(QStringLiteral("highscore.dtt"), inhalt);
    const Highscore::Lesung lesung = Highscore::lies(AppInfo::highscoredatei());
    QCOMPARE(lesung.eintraege, (QVector<Eintrag>{{QStringLiteral("a"), 5}, {QStringLiteral("b | b"), 2}}));
    QCOMPARE(umgebung.liesDatei(QStringLiteral("highscore.dtt")), inhalt);
}

void TestHighscore::schreibschutz()
{
    TestUmgebung umgebung;
    const QString pfad = AppInfo::highscoredatei();
    {
        SchreibschutzOrdner schutz(umgebung.verzeichnis());
        if (!schutz.aktiv())
            QSKIP("cannot make a folder read-only here");
        const Highscore::Lesung lesung = Highscore::lies(pfad);
        QVERIFY(lesung.fehler.isError());
        QVERIFY(lesung.fehler.text().contains(QLatin1String("highscore.dtt")));
        const StoreError e = Highscore::anhaengen(pfad, QStringLiteral("x"), 3);
        QVERIFY(e.isError());
        QVERIFY(e.text().contains(QLatin1String("highscore.dtt")));
    }
    QVERIFY(!QFile::exists(pfad));

    umgebung.schreibeDatei(QStringLiteral("highscore.dtt"), zeilenBytes(1001));
    QFile::setPermissions(pfad, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    {
        SchreibschutzOrdner schutz(umgebung.verzeichnis());
        QVERIFY(schutz.aktiv());
        QCOMPARE(Highscore::lies(pfad).eintraege.size(), 1001);
        QVERIFY(Highscore::leere(pfad).isError());
        QVERIFY(Highscore::anhaengen(pfad, QStringLiteral("x"), 3).isError());
    }
    QFile::setPermissions(pfad, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(umgebung.liesDatei(QStringLiteral("highscore.dtt")), zeilenBytes(1001));
}

void TestHighscore::ordnerStattDatei()
{
    TestUmgebung umgebung;
    QVERIFY(QDir(umgebung.verzeichnis()).mkdir(QStringLiteral("highscore.dtt")));
    const Highscore::Lesung lesung = Highscore::lies(AppInfo::highscoredatei());
    QVERIFY(lesung.fehler.isError());
    QVERIFY(Highscore::anhaengen(AppInfo::highscoredatei(), QStringLiteral("x"), 1).isError());
}

void TestHighscore::anhaengenOhneNeueDatei()
{
    TestUmgebung umgebung;
    umgebung.schreibeDatei(QStringLiteral("highscore.dtt"), "alt | 3\r\n");
    const QString ordner = umgebung.verzeichnis();
    // An administrator passes over folder permissions; the immutable mark holds him too.
    const bool gesperrt = ::geteuid() == 0 ? QProcess::execute(QStringLiteral("chattr"), {"+i", ordner}) == 0
                                           : QFile::setPermissions(ordner, QFile::ReadOwner | QFile::ExeOwner);
    if (!gesperrt)
        QSKIP("cannot keep new files out of a folder here");
    const bool neueDateiMoeglich = QFile(ordner + QStringLiteral("/probe")).open(QIODevice::WriteOnly);
    const StoreError e = Highscore::anhaengen(AppInfo::highscoredatei(), QStringLiteral("neu"), 4);
    if (::geteuid() == 0)
        QProcess::execute(QStringLiteral("chattr"), {"-i", ordner});
    else
        QFile::setPermissions(ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!neueDateiMoeglich);
    QVERIFY2(!e.isError(), qPrintable(e.text()));
    QCOMPARE(umgebung.liesDatei(QStringLiteral("highscore.dtt")), QByteArray("alt | 3\r\nneu | 4\r\n"));
}

void TestHighscore::gleichzeitigAnhaengen()
{
    TestUmgebung umgebung;
    const int schreiber = 4, jeSchreiber = 50;
    const QString pfad = AppInfo::highscoredatei();
    std::vector<std::unique_ptr<QThread>> faeden;
    for (int s = 0; s < schreiber; ++s) {
        faeden.emplace_back(QThread::create([s, pfad] {
            for (int i = 0; i < jeSchreiber; ++i)
                Highscore::anhaengen(pfad, QStringLiteral("S%1N%2").arg(s).arg(i), i % 16);
        }));
        faeden.back()->start();
    }
    for (auto &faden : faeden)
        QVERIFY(faden->wait(60000));
    const QVector<Eintrag> eintraege = Highscore::lies(pfad).eintraege;
    QSet<QString> namen;
    for (const Eintrag &e : eintraege)
        namen.insert(e.name);
    QCOMPARE(eintraege.size(), schreiber * jeSchreiber);
    QCOMPARE(namen.size(), schreiber * jeSchreiber);
}

QTEST_GUILESS_MAIN(TestHighscore)
#include "tst_highscore.moc"
