// Bad input in every file the program reads, through the real windows: each
// row is one file with one content and the way the program meets it; it ends
// in the program's fallback or one clear message, never in a crash, a hang or
// a silent end, and no file changes where the program must not write.

#include "store/jetleser.h"
#include "testservices.h"

#include <QRandomGenerator>

#include <sqlite3.h>
#include <sys/stat.h>

#include <functional>
#include <optional>

namespace {
using Schutz = std::optional<SchreibschutzOrdner>;
using Vorbereitung = std::function<void(TestUmgebung &, Schutz &)>;
const QString kLadefehler = QStringLiteral("Die Datei Fragen.mdb exisitiert nicht im Anwendungsverzeichnis!");
const QString kLegacy = QStringLiteral(KREIDOLIN_TEST_DATA "/legacy/fragen_jet4.mdb");
const QString kTabelle = QStringLiteral("CREATE TABLE fragen (Frage TEXT, Loesung TEXT, Antwort1 TEXT, Antwort2 TEXT, "
                                        "Stufe INTEGER, ID INTEGER PRIMARY KEY AUTOINCREMENT)");

// Bytes without a pattern, the same every run; the bytes in "ohne" never occur.
QByteArray zufallsBytes(int anzahl, quint32 saat, const QByteArray &ohne = QByteArray())
{
    QByteArray out(anzahl / 4 * 4, 0);
    QRandomGenerator(saat).fillRange(reinterpret_cast<quint32 *>(out.data()), anzahl / 4);
    for (const char c : ohne)
        out.replace(c, 'x');
    return out;
}

// What stands at a path, to compare before and after.
QByteArray zustand(const QString &pfad)
{
    struct stat st;
    if (::lstat(QFile::encodeName(pfad).constData(), &st) != 0)
        return "fehlt";
    if (S_ISDIR(st.st_mode))
        return "ordner " + QDir(pfad).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).join(QLatin1Char(' ')).toUtf8();
    return S_ISREG(st.st_mode) ? "datei " + liesBytes(pfad) : QByteArray("anderes");
}

// n rows numbered i = 0..n-1; the expressions may use i.
QString zeilen(int n, const QString &werte, const QString &tabelle = QStringLiteral("fragen"))
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                          "INSERT INTO %2 SELECT %3 FROM n").arg(n - 1).arg(tabelle, werte);
}
const QString kJeStufe = QStringLiteral("'F' || i, 'L' || i, 'A' || i, 'B' || i, ");

// Every cell of table fragen as column=type:bytes, row by row; empty when
// the table cannot be read to its end.
QStringList zellen(const QString &pfad)
{
    QStringList out;
    sqlite3 *db = nullptr;
    sqlite3_stmt *st = nullptr;
    int rc = zustand(pfad).startsWith("datei ")
        ? sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, SQLITE_OPEN_READONLY, nullptr) : SQLITE_ERROR;
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, "SELECT * FROM fragen", -1, &st, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(st); ++i, rc = SQLITE_OK)
            out << QString::fromUtf8(sqlite3_column_name(st, i)).toLower() + '=' + QString::number(sqlite3_column_type(st, i))
                    + ':' + QByteArray(static_cast<const char *>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i)).toHex();
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rc == SQLITE_DONE ? out : QStringList();
}

Vorbereitung datei(const QString &name, const QByteArray &bytes)
{
    return [=](TestUmgebung &u, Schutz &) { u.schreibeDatei(name, bytes); };
}
Vorbereitung sql(const QStringList &befehle)
{
    return [=](TestUmgebung &u, Schutz &) { sqlDatei(u.datei(QStringLiteral("Fragen.mdb")), befehle); };
}
Vorbereitung ordner(const QString &name)
{
    return [=](TestUmgebung &u, Schutz &) {
        QFile::remove(u.datei(name));
        QDir(u.verzeichnis()).mkpath(name + QStringLiteral("/inhalt"));
    };
}
Vorbereitung fifo(const QString &name)
{
    return [=](TestUmgebung &u, Schutz &) { ::mkfifo(QFile::encodeName(u.datei(name)).constData(), 0600); };
}
// The folder, or one file in it, read-only; the case is skipped where that cannot be done.
Vorbereitung schreibgeschuetzt(const QString &name, const Vorbereitung &vorher = {})
{
    return [=](TestUmgebung &u, Schutz &s) {
        if (vorher)
            vorher(u, s);
        s.emplace(name.isEmpty() ? u.verzeichnis() : u.datei(name));
    };
}
Vorbereitung ini(const std::function<QByteArray(TestUmgebung &)> &zeile)
{
    return [=](TestUmgebung &u, Schutz &) { u.schreibeDatei(QStringLiteral("Kreidolin.ini"), zeile(u)); };
}
}

Q_DECLARE_METATYPE(Vorbereitung)

class TestEingaben : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        schliesseAlleFenster();
        m_schutz.reset();
    }
    // File x content x the way the program meets it -> the outcome, the one message, the file afterwards.
    void eingabe_data()
    {
        QTest::addColumn<QString>("datei");         // the file prepared
        QTest::addColumn<Vorbereitung>("bereite");
        QTest::addColumn<QString>("weg");           // spiel: a game starts; editor (on a database: an unedited and an
                                                    // edited question taken over, a new one begun); liste: the main window's list;
                                                    // eintrag: a game given up at level 1
        QTest::addColumn<QString>("ergebnis");      // spiel: "spielt" or the load message; editor: "geladen" or not;
                                                    // liste: the first item
        QTest::addColumn<QString>("meldung");       // the beginning of the one other box, or none
        QTest::addColumn<QByteArray>("nachher");    // "=": unchanged; "<std>": the default path; else the bytes

        const QString I = QStringLiteral("Kreidolin.ini"), H = QStringLiteral("highscore.dtt"),
                      D = QStringLiteral("Fragen.mdb");
        const QString L = kLadefehler, S = QStringLiteral("spielt"), G = QStringLiteral("geladen"),
                      N = QStringLiteral("nicht geladen"), K = Highscore::keineEintraege();
        const auto nichts = [](TestUmgebung &, Schutz &) {};
        const QByteArray gleich("="), standard("<std>");
        // A settings file or a database is met by a game's start and by the editor.
        const auto beide = [&](const char *name, const QString &d, const Vorbereitung &v, const QString &spiel,
                               const QByteArray &nachSpiel, const QString &editor, const QByteArray &nachEditor,
                               const QString &meldung = QString()) {
            QTest::addRow("%s: %s, game", qPrintable(d), name) << d << v << "spiel" << spiel << meldung << nachSpiel;
            QTest::addRow("%s: %s, editor", qPrintable(d), name) << d << v << "editor" << editor << meldung << nachEditor;
        };
        beide("missing", I, nichts, S, standard, G, standard);
        beide("zero bytes", I, datei(I, ""), S, standard, G, standard);
        beide("only CR LF", I, datei(I, "\r\n"), S, standard, N, gleich);
        beide("blanks", I, datei(I, "   \r\n"), L, gleich, N, gleich);
        beide("1 MB line", I, datei(I, QByteArray(1 << 20, 'a')), L, gleich, N, gleich);
        beide("a FIFO in its place", I, fifo(I), S, standard, G, standard);
        beide("naming /dev/zero", I, datei(I, "/dev/zero\r\n"), L, gleich, N, gleich);
        beide("naming the application folder", I, ini([](TestUmgebung &u) { return QFile::encodeName(u.verzeichnis()); }),
              L, gleich, N, gleich);
        const QString nichtGespeichert = QStringLiteral("Die Einstellung konnte nicht gespeichert werden.");
        beide("a folder in its place", I, ordner(I), S, gleich, G, gleich, nichtGespeichert);
        QTest::newRow("Kreidolin.ini: missing in a read-only folder, game")
            << I << schreibgeschuetzt(QString()) << "spiel" << S << nichtGespeichert << QByteArray("fehlt");

        const auto liste = [&](const char *name, const Vorbereitung &v, const QString &erstes, const QString &meldung,
                               const QByteArray &nachher) {
            QTest::addRow("highscore.dtt: %s, list", name) << H << v << "liste" << erstes << meldung << nachher;
        };
        liste("missing", nichts, K, QString(), QByteArray());
        liste("binary bytes between entries", datei(H, QByteArray("An\0na | 5\r\n", 11) + zufallsBytes(20000, 13, "|\n") + "\r\nBen | 3"),
              QStringLiteral("1 : An") + QChar(0) + QStringLiteral("na  -  5 Punkte"), QString(), gleich);
        liste("1,000 lines: the warning", datei(H, highscoreZeilen(1000)), "1 : S15  -  15 Punkte", Highscore::warnText(), gleich);
        liste("1,001 lines: emptied", datei(H, highscoreZeilen(1001)), K, QString(), QByteArray());
        liste("10 MB in one line", datei(H, QByteArray(10 << 20, 'x')), K, QString(), gleich);
        liste("a folder in its place", ordner(H), K, "Die Highscoreliste kann nicht angezeigt werden.", gleich);
        liste("read-only with 1,001 lines", schreibgeschuetzt(H, datei(H, highscoreZeilen(1001))), "1 : S15  -  15 Punkte",
              "Die Highscoreliste konnte nicht gelöscht werden.", gleich);

        const QString fehlt = QStringLiteral("Der Eintrag für die Highscore konnte nicht gespeichert werden.");
        const auto eintrag = [&](const char *name, const Vorbereitung &v, const QString &meldung, const QByteArray &nachher) {
            QTest::addRow("highscore.dtt: %s, entry", name) << H << v << "eintrag" << QString() << meldung << nachher;
        };
        eintrag("missing", nichts, QString(), "Anna | 0\r\n");
        eintrag("no final CR LF", datei(H, "Ben | 9"), QString(), "Ben | 9\r\nAnna | 0\r\n");
        eintrag("lone LF", datei(H, "Ben | 9\n"), QString(), "Ben | 9\nAnna | 0\r\n");
        eintrag("a folder in its place", ordner(H), fehlt, gleich);
        eintrag("read-only", schreibgeschuetzt(H, datei(H, "Ben | 9\r\n")), fehlt, gleich);
        eintrag("read-only folder", schreibgeschuetzt(QString()), fehlt, QByteArray("fehlt"));

        const auto db = [&](const char *name, const Vorbereitung &v, const QString &spiel, const QString &editor) {
            beide(name, D, v, spiel, gleich, editor, gleich);
        };
        db("missing", [](TestUmgebung &u, Schutz &) { QFile::remove(u.datei(QStringLiteral("Fragen.mdb"))); }, L, N);
        db("zero bytes", datei(D, ""), L, N);
        db("random bytes behind the SQLite header", datei(D, QByteArray("SQLite format 3\0", 16) + zufallsBytes(8192, 5)),
           L, N);
        db("a folder in its place", ordner(D), L, N);
        db("no table fragen", sql({QStringLiteral("CREATE TABLE andere (x)")}), L, N);
        db("fragen is a view", sql({QString(kTabelle).replace("fragen", "q"), zeilen(15, kJeStufe + "i + 1, NULL", "q"),
                                    QStringLiteral("CREATE VIEW fragen AS SELECT * FROM q")}), S, G);
        db("no column Stufe", sql({QStringLiteral("CREATE TABLE fragen (Frage, Loesung, Antwort1, Antwort2, Sonstiges, ID)"),
                                   zeilen(15, kJeStufe + "i + 1, i")}), L, G);
        db("five columns", sql({QStringLiteral("CREATE TABLE fragen (Frage, Loesung, Antwort1, Antwort2, Stufe)"),
                                zeilen(15, kJeStufe + "i + 1")}), S, G);
        db("columns in another order", sql({QStringLiteral("CREATE TABLE fragen (ID INTEGER PRIMARY KEY, Stufe, Antwort2, "
                                                           "Antwort1, Loesung, Frage)"),
                                            zeilen(15, "NULL, i + 1, 'B', 'A', 'L', 'F'")}), S, G);
        db("nulls in the texts", sql({kTabelle, zeilen(15, "NULL, NULL, NULL, NULL, i + 1, NULL")}), S, G);
        db("levels as words", sql({kTabelle, zeilen(15, kJeStufe + "'Stufe ' || (i + 1), NULL")}), L, G);
        db("levels as whole reals", sql({QString(kTabelle).replace("Stufe INTEGER", "Stufe REAL"),
                                         zeilen(15, kJeStufe + "i + 1.0, NULL")}), S, G);
        db("levels out of range", sql({kTabelle, zeilen(15, kJeStufe + "(i - 7) * 65537, NULL")}), L, G);
        db("texts of 100,000 characters", sql({kTabelle, zeilen(15, "printf('%.*c', 100000, 'F'), printf('%.*c', 100000, 'L'), "
                                                                    "printf('%.*c', 100000, 'A'), 'B', i + 1, NULL")}), S, G);
        db("32,767 rows", sql({kTabelle, zeilen(32767, kJeStufe + "i % 15 + 1, NULL")}), S, G);
        db("32,768 rows", sql({kTabelle, zeilen(32768, kJeStufe + "i % 15 + 1, NULL")}), L, G);
        db("texts as blobs and invalid UTF-8", sql({kTabelle, zeilen(15, "x'00ff', randomblob(300), CAST(x'c3' AS TEXT), "
                                                                         "CAST(x'eda080' AS TEXT), i + 1, NULL")}), S, G);
        db("write-ahead log", sql({QStringLiteral("PRAGMA journal_mode = WAL"), kTabelle, zeilen(15, kJeStufe + "i + 1, NULL")}),
           S, G);
        db("an empty table", sql({kTabelle}), L, N);
        db("read-only", schreibgeschuetzt(D), S, G);
        db("Access file", datei(D, liesBytes(kLegacy)), S, G);
        db("Access file cut to its first page", datei(D, liesBytes(kLegacy).left(4096)), L, N);
        db("Access 2007 file", datei(D, liesBytes(kLegacy).replace(4, 15, "Standard ACE DB")), L, N);
    }
    void eingabe()
    {
        QFETCH(QString, datei);
        QFETCH(Vorbereitung, bereite);
        QFETCH(QString, weg);
        QFETCH(QString, ergebnis);
        QFETCH(QString, meldung);
        QFETCH(QByteArray, nachher);
        TestUmgebung u;
        JetLeser::setZeitlimit(5000);
        u.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(1));
        bereite(u, m_schutz);
        if (m_schutz && !m_schutz->aktiv())
            QSKIP("cannot make a file read-only here");
        const QString pfad = u.datei(datei);
        const QByteArray vorher = zustand(pfad);
        const QByteArray fragenVorher = zustand(u.datei(QStringLiteral("Fragen.mdb")));
        bool gespeichert = false;
        if (weg == QLatin1String("spiel") || weg == QLatin1String("eintrag")) {
            // The load message comes while the game window is hidden and before the editor opens.
            bool verborgen = true;
            u.meldungen.beimZeigen = [&](const Meldung &m) {
                if (m.text == kLadefehler)
                    verborgen = Fenster::offen<Form2>() && !Fenster::offen<Form2>()->isVisible() && !Fenster::offen<Form3>();
            };
            Form2 *spiel = starteSpiel();
            QVERIFY(verborgen);
            if (weg == QLatin1String("eintrag")) {
                QVERIFY(spiel);
                u.meldungen.gezeigt.clear();
                klicke(spiel->cmdGiveUp);
                QVERIFY(u.meldungen.gezeigt.takeFirst().text.startsWith(QStringLiteral("Sie haben entschlossen")));
            } else if (ergebnis == QLatin1String("spielt")) {
                QVERIFY(spiel && spiel->isVisible());
                QCOMPARE(spiel->stufe(), 1);
            } else {
                QVERIFY(!Fenster::offen<Form2>() && Fenster::offen<Form3>()->isVisible());
                QCOMPARE(u.meldungen.titel().value(0), AppInfo::titel());
            }
            QVERIFY(Fenster::offen<Form1>() || Fenster::offen<Form2>() || Fenster::offen<Form3>());
        } else if (weg == QLatin1String("editor")) {
            Form3 *editor = Fenster::zeige<Form3>();
            QVERIFY(editor->isVisible());
            QCOMPARE(editor->datenbankGeladen(), ergebnis == QLatin1String("geladen"));
            if (!editor->datenbankGeladen()) {
                QCOMPARE(editor->findChild<QLabel *>(QStringLiteral("lblstat"))->text(), QStringLiteral("Keine Datenbank geladen!"));
                klicke(editor->findChild<QPushButton *>(QStringLiteral("cmdNavigation(0)")));
                QCOMPARE(editor->findChild<QLabel *>(QStringLiteral("lblNavi"))->text(), QString());
            }
            if (datei == QLatin1String("Fragen.mdb")) {
                const qsizetype anfang = u.meldungen.gezeigt.size();
                const auto knopf = [&](const char *name) { // the texts of the boxes the click brings
                    const qsizetype bisher = u.meldungen.gezeigt.size();
                    klicke(editor->findChild<QPushButton *>(QLatin1String(name)));
                    return u.meldungen.texte().mid(bisher).join(QLatin1Char('|'));
                };
                // Unedited fields taken over write nothing; an edited question
                // reaches its one cell by name, or a message comes and nothing changes.
                QCOMPARE(knopf("cmdUebernehmen").isEmpty(), editor->datenbankGeladen());
                QCOMPARE(zustand(pfad), vorher);
                const QStringList zellenVorher = zellen(pfad);
                editor->findChild<QLineEdit *>(QStringLiteral("txtFrage"))->setText(QStringLiteral("Neu"));
                gespeichert = knopf("cmdUebernehmen").isEmpty();
                QStringList anders = zellen(pfad);
                for (int i = 0; i < anders.size() && anders.size() == zellenVorher.size(); ++i)
                    anders[i] = anders[i] == zellenVorher[i] ? QString() : anders[i];
                anders.removeAll(QString());
                if (!gespeichert)
                    QCOMPARE(zustand(pfad), vorher);
                else if (!zellenVorher.isEmpty())
                    QCOMPARE(anders, QStringList{QStringLiteral("frage=3:") + QByteArray("Neu").toHex()});
                // No new question beyond what the game can load.
                QCOMPARE(knopf("cmdNeu").contains(QStringLiteral("höchstens 32767 Fragen")),
                         editor->datenbankGeladen() && editor->recordset()->recordCount() >= Recordset::kMaxRows);
                u.meldungen.gezeigt.resize(anfang);
            }
        } else {
            Form1 *haupt = Fenster::zeige<Form1>();
            QTRY_VERIFY(haupt->lstHighscore->count() > 0); // built one turn after the activation
            QCOMPARE(haupt->lstHighscore->item(0)->text(), ergebnis);
        }
        const QStringList texte = u.meldungen.texte();
        QStringList erwartet;
        if (ergebnis == kLadefehler)
            erwartet << kLadefehler;
        if (!meldung.isEmpty())
            erwartet << meldung;
        QCOMPARE(texte.size(), erwartet.size());
        for (int i = 0; i < texte.size(); ++i)
            QVERIFY2(texte[i].startsWith(erwartet[i]), qPrintable(texte[i]));
        cleanup();
        const QByteArray ini = "datei " + SettingsFile::kodiere(AppInfo::standardDatenbank()) + "\r\n";
        if (!gespeichert)
            QCOMPARE(zustand(pfad), nachher == "=" ? vorher : nachher == "<std>" ? ini
                                                  : nachher == "fehlt" ? nachher : "datei " + nachher);
        if (datei != QLatin1String("Fragen.mdb"))
            QCOMPARE(zustand(u.datei(QStringLiteral("Fragen.mdb"))), fragenVorher);
    }

private:
    Schutz m_schutz;
};

QTEST_MAIN(TestEingaben)
#include "tst_eingaben.moc"
