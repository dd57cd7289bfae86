// The collection and the highscore list on a real PostgreSQL server started
// for this program: the address, the two roles and what a pupil's login
// tries against the room, the editor, two teachers on one question, writes
// whose connection breaks, the outbox, the list's bounds, servers that do
// not answer and the password.

#include "pgcluster.h"
#include "testservices.h"

#include "highscore/ablage.h"
#include "store/server.h"
#include "ui/serverdialog.h"

#include <QProcess>

namespace {
PgCluster *g_pg = nullptr;
const char *const kAmAnfang = "Frage S1N1";
// README, "In a computer room": a teacher puts the lines of one emptying back.
const char *const kZurueck = "WITH z AS (DELETE FROM highscore_archiv WHERE geleert = (SELECT max(geleert) FROM "
                             "highscore_archiv) RETURNING *) INSERT INTO highscore (schluessel, name, punkte, wann, pc) "
                             "SELECT schluessel, name, punkte, wann, pc FROM z ORDER BY nr";
}

// Skips the test where no cluster can run (PostgreSQL not installed).
#define CLUSTER()                                                                                                     \
    if (!(g_pg = g_pg ? g_pg : new PgCluster)->grund().isEmpty())                                                     \
        QSKIP(qPrintable(g_pg->grund()));                                                                             \
    TestUmgebung u;

class TestServer : public QObject {
    Q_OBJECT
    // The settings line names the server as benutzer; one question per level, no scores.
    void aufServer(TestUmgebung &u, const QString &benutzer)
    {
        QVERIFY(g_pg->psql(QStringLiteral("TRUNCATE fragen RESTART IDENTITY; TRUNCATE highscore, highscore_archiv; INSERT INTO fragen "
                                          "(\"Frage\", \"Loesung\", \"Antwort1\", \"Antwort2\", \"Stufe\") SELECT "
                                          "'Frage S' || s || 'N1', 'L', 'A', 'B', s FROM generate_series(1, 15) s")));
        u.schreibeDatei(QStringLiteral("Kreidolin.ini"), g_pg->adresse(benutzer).toUtf8() + "\r\n");
    }
    QString frage(int id) { return wert(QStringLiteral("SELECT \"Frage\" FROM fragen WHERE \"ID\" = %1").arg(id)); }
    QString wert(const QString &sql)
    {
        QString f;
        g_pg->psql(sql, &f);
        return f;
    }
    // sql as the login benutzer, through the program's own path.
    StoreError als(const QString &benutzer, const QString &sql)
    {
        const ServerAdresse a = *Serveradresse::zerlege(g_pg->adresse(benutzer));
        QSqlQuery q;
        StoreError e = Server::verbinde(benutzer, a);
        return e ? e : Server::fuehreAus(q, benutzer, a, sql, {}, QStringLiteral("das zu tun"));
    }
    int zeilen(TestUmgebung &u, const char *datei) { return u.liesDatei(QLatin1String(datei)).count('\n'); }

private Q_SLOTS:
    void cleanupTestCase() { delete g_pg; }
    void cleanup()
    {
        schliesseAlleFenster();
        HighscoreAblage::schliesse();
        if (g_pg && g_pg->grund().isEmpty())
            g_pg->psql(QStringLiteral("ALTER ROLE schueler RESET ALL; ALTER ROLE lehrer RESET ALL"));
    }

    // An address read into its parts and written back the same, or refused with a reason.
    void adresse_data()
    {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QString>("teile"); // host|port|database|user, or a word of the reason
        QTest::newRow("usual") << "postgresql://srv/kreidolin?user=7a" << "srv|5432|kreidolin|7a";
        QTest::newRow("short scheme, port") << "POSTGRES://10.0.0.5:6543/quiz" << "10.0.0.5|6543|quiz|";
        QTest::newRow("user@, IPv6") << "postgresql://lehrer@[::1]:5433/k" << "::1|5433|k|lehrer";
        QTest::newRow("socket, encoded") << "postgresql://%2Frun%2Fpg/k%C3%A4se?user=m%C3%BC"
                                         << "/run/pg|5432|käse|mü";
        QTest::newRow("password in user") << "postgresql://u:pw@srv/db" << "Passwort";
        QTest::newRow("other parameter") << "postgresql://srv/db?sslmode=require" << "unbekannt";
        QTest::newRow("port 0") << "postgresql://srv:0/db" << "Portnummer";
        QTest::newRow("no database") << "postgresql://srv" << "Datenbank";
        QTest::newRow("no host") << "postgresql:///db" << "Server";
        QTest::newRow("line end") << "postgresql://srv/db%0A" << "Steuerzeichen";
        QTest::newRow("Windows path") << "C:\\Kreidolin\\Fragen.mdb" << "postgresql://";
    }
    void adresse()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, teile);
        QString grund;
        const std::optional<ServerAdresse> a = Serveradresse::zerlege(zeile, &grund);
        const QStringList gelesen =
            a ? QStringList{a->host, QString::number(a->port), a->datenbank, a->benutzer} : QStringList{teile};
        QCOMPARE(gelesen.join('|'), teile);
        QVERIFY(a || grund.contains(teile));
        QVERIFY(!a || Serveradresse::zerlege(Serveradresse::text(*a)) == a);
    }

    // What each role may do is decided by the server, whatever the window allows.
    void rollen_data()
    {
        QTest::addColumn<QString>("benutzer");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("antwort"); // empty: allowed; else a word of the refusal
        const QString nein = QStringLiteral("Keine Berechtigung");
        for (const char *wer : {"schueler", "lehrer"}) {
            const QString lehrer = QByteArray(wer) == "lehrer" ? QString() : nein;
            QTest::addRow("%s adds a score through the door", wer)
                << wer << "SELECT highscore_eintragen(gen_random_uuid(), 'a', 1)" << "";
            QTest::addRow("%s: 16 points at the door", wer)
                << wer << "SELECT highscore_eintragen(gen_random_uuid(), 'a', 16)" << "zwischen 0 und 15";
            QTest::addRow("%s changes a question", wer) << wer << "UPDATE fragen SET \"Frage\" = 'x'" << lehrer;
            QTest::addRow("%s adds a question", wer) << wer << "INSERT INTO fragen (\"Frage\") VALUES ('x')" << lehrer;
            QTest::addRow("%s deletes a question", wer) << wer << "DELETE FROM fragen" << lehrer;
            QTest::addRow("%s adds to the list directly", wer)
                << wer << "INSERT INTO highscore (name, punkte, schluessel) VALUES ('a', 1, gen_random_uuid())" << lehrer;
            QTest::addRow("%s squats the next keys", wer)
                << wer << "INSERT INTO highscore (nr, name, punkte, schluessel) OVERRIDING SYSTEM VALUE "
                          "VALUES (900, 'a', 1, gen_random_uuid())" << nein;
            QTest::addRow("%s empties the list", wer) << wer << "DELETE FROM highscore" << nein;
            QTest::addRow("%s reads the archive", wer) << wer << "SELECT count(*) FROM highscore_archiv" << lehrer;
            QTest::addRow("%s changes a score", wer) << wer << "UPDATE highscore SET punkte = 15" << nein;
            QTest::addRow("%s creates a table", wer) << wer << "CREATE TABLE public.x (a int)" << nein;
            QTest::addRow("%s creates a temporary table", wer) << wer << "CREATE TEMP TABLE x (a int)" << nein;
        }
    }
    void rollen()
    {
        QFETCH(QString, benutzer);
        QFETCH(QString, sql);
        QFETCH(QString, antwort);
        CLUSTER();
        const StoreError e = als(benutzer, sql);
        QVERIFY2(!e == antwort.isEmpty(), qPrintable(e.text()));
        QVERIFY(antwort.isEmpty() || e.text().contains(antwort));
    }

    // What a pupil's login tries against the room, and lines the list cannot take: each game's line ends up
    // on the server, in the outbox or, with the reason told, in the rejected-lines file; never lost.
    void eintrag_data()
    {
        QTest::addColumn<QString>("vorher"); // as the pupil's login; "postgres:" as the superuser
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("punkte");
        QTest::addColumn<QByteArray>("ausgang"); // the outbox before
        QTest::addColumn<QString>("ergebnis"); // the name's lines on the server, in the outbox, set aside
        QTest::addColumn<QString>("meldung"); // a word of what the player is told; empty: nothing
        const QString ada = QStringLiteral("Ada");
        QTest::newRow("login made read-only") << "ALTER ROLE schueler SET default_transaction_read_only = on" << ada
                                              << 5 << QByteArray() << "1 0 0" << "";
        QTest::newRow("login's search_path and timeouts")
            << "ALTER ROLE schueler SET search_path = pg_temp; ALTER ROLE schueler SET idle_session_timeout = 1"
            << ada << 5 << QByteArray() << "1 0 0" << "";
        QTest::newRow("flood from one PC") << "postgres:INSERT INTO highscore (name, punkte, pc, schluessel) SELECT "
                                              "'x', 1, '127.0.0.1', gen_random_uuid() FROM generate_series(1, 6)"
                                           << ada << 5 << QByteArray() << "0 1 0" << "aufbewahrt";
        QTest::newRow("NUL in the name") << "" << QStringLiteral("A") + QChar(0) + QStringLiteral("da") << 5
                                         << QByteArray() << "0 0 1" << "Steuerzeichen";
        QTest::newRow("256 characters") << "" << QString(256, QLatin1Char('x')) << 5 << QByteArray() << "0 0 1"
                                        << "länger als 255";
        QTest::newRow("16 points") << "" << ada << 16 << QByteArray() << "0 0 1" << "zwischen 0 und 15";
        QTest::newRow("NUL line in the outbox")
            << "" << ada << 5
            << HighscoreAblage::kodiere(HighscoreAblage::neueZeile(QStringLiteral("B") + QChar(0), 1)) + '\n'
            << "1 0 1" << "";
    }
    void eintrag()
    {
        QFETCH(QString, vorher);
        QFETCH(QString, name);
        QFETCH(int, punkte);
        QFETCH(QByteArray, ausgang);
        QFETCH(QString, ergebnis);
        QFETCH(QString, meldung);
        CLUSTER();
        aufServer(u, QStringLiteral("schueler"));
        u.schreibeDatei(QStringLiteral("highscore-ausgang.dtt"), ausgang);
        QVERIFY(vorher.isEmpty()
                || (vorher.startsWith(QStringLiteral("postgres:")) ? g_pg->psql(vorher.mid(9))
                                                                   : !als(QStringLiteral("schueler"), vorher)));
        const HighscoreAblage::Ergebnis e = HighscoreAblage::anhaengen(name, punkte);
        const QString gesagt = e.fehler.text() + e.hinweis;
        QVERIFY2(meldung.isEmpty() ? gesagt.isEmpty() : gesagt.contains(meldung), qPrintable(gesagt));
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM highscore WHERE name = 'Ada'")) + ' '
                     + QString::number(zeilen(u, "highscore-ausgang.dtt")) + ' '
                     + QString::number(zeilen(u, "highscore-abgelehnt.dtt")),
                 ergebnis);
    }

    // The list reads no more than it shows, names cut on the server; the emptying rule archives what it takes.
    void liste_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("gelesen");
        QTest::addColumn<int>("laengster");
        QTest::addColumn<int>("archiviert");
        const QString zeilen = QStringLiteral("INSERT INTO highscore (name, punkte, schluessel) SELECT %1, 3, "
                                              "gen_random_uuid() FROM generate_series(1, %2)");
        QTest::newRow("40 real, 961 padding, emptied")
            << zeilen.arg("'echt'").arg(40) + ';' + zeilen.arg("'Müll'").arg(961) << 1001 << 4 << 1001;
        QTest::newRow("a 100 MB name") << zeilen.arg("repeat('x', 100000000)").arg(1) << 1 << 255 << 0;
    }
    void liste()
    {
        QFETCH(QString, sql);
        QFETCH(int, gelesen);
        QFETCH(int, laengster);
        QFETCH(int, archiviert);
        CLUSTER();
        aufServer(u, QStringLiteral("schueler"));
        QVERIFY(g_pg->psql(sql));
        const Highscore::Lesung l = HighscoreAblage::lies();
        QVERIFY2(!l.fehler, qPrintable(l.fehler.text()));
        QCOMPARE(l.eintraege.size(), gelesen);
        int n = 0;
        for (const Highscore::Eintrag &e : l.eintraege)
            n = qMax(n, static_cast<int>(e.name.size()));
        QCOMPARE(n, laengster);
        QVERIFY(!HighscoreAblage::leere());
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM highscore_archiv")).toInt(), archiviert);
        QVERIFY(!als(QStringLiteral("lehrer"), QLatin1String(kZurueck)));
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM highscore")).toInt(), gelesen == 1 ? 1 : archiviert);
    }

    // The editor stores as a teacher; a pupil and a stopped server get a message, the text stays.
    void editor_data()
    {
        QTest::addColumn<QString>("benutzer");
        QTest::addColumn<QString>("meldung"); // beginning of the reason; empty: stored
        QTest::newRow("teacher") << "lehrer" << "";
        QTest::newRow("pupil") << "schueler" << "Keine Berechtigung";
        QTest::newRow("server stopped") << "lehrer" << "Der Server 127.0.0.1";
    }
    void editor()
    {
        QFETCH(QString, benutzer);
        QFETCH(QString, meldung);
        CLUSTER();
        aufServer(u, benutzer);
        Form3 *f = Fenster::zeige<Form3>();
        const bool stoppen = meldung.startsWith(QStringLiteral("Der Server"));
        QVERIFY(!stoppen || g_pg->stoppe());
        const QString text = QStringLiteral("Neu 'x'; DROP TABLE fragen");
        f->findChild<QLineEdit *>(QStringLiteral("txtFrage"))->setText(text);
        klicke(f->findChild<QPushButton *>(QStringLiteral("cmdUebernehmen")));
        QVERIFY(!stoppen || g_pg->starte());
        QCOMPARE(frage(1), meldung.isEmpty() ? text : kAmAnfang);
        QCOMPARE(f->findChild<QLineEdit *>(QStringLiteral("txtFrage"))->text(), text);
        QCOMPARE(u.meldungen.texte().size(), meldung.isEmpty() ? 0 : 1);
        QVERIFY(meldung.isEmpty()
                || u.meldungen.texte()[0].startsWith(QStringLiteral("Die Frage wurde nicht gespeichert.\r\n")
                                                     + meldung));
    }

    // A question another teacher changed or deleted meanwhile is not overwritten but read anew.
    void konflikt_data()
    {
        QTest::addColumn<bool>("loeschen"); // the other teacher deletes it, then I try to; else both change it
        QTest::addColumn<QString>("danach"); // the question I see afterwards
        QTest::newRow("changed, I change") << false << "von B";
        QTest::newRow("deleted, I delete") << true << "Frage S2N1";
    }
    void konflikt()
    {
        QFETCH(bool, loeschen);
        QFETCH(QString, danach);
        CLUSTER();
        aufServer(u, QStringLiteral("lehrer"));
        Recordset ich, andere;
        QVERIFY(!oeffne(ich, g_pg->adresse(QStringLiteral("lehrer")), true));
        QVERIFY(!oeffne(andere, g_pg->adresse(QStringLiteral("lehrer")), true));
        andere.setValue(QStringLiteral("Frage"), QStringLiteral("von B"));
        QVERIFY(!(loeschen ? andere.deleteCurrent() : andere.update()));
        ich.setValue(QStringLiteral("Frage"), QStringLiteral("von A"));
        QCOMPARE((loeschen ? ich.deleteCurrent() : ich.update()).art(), StoreError::Art::Konflikt);
        QCOMPARE(ich.recordCount(), loeschen ? 14 : 15);
        QCOMPARE(ich.value(QStringLiteral("Frage")).toString(), danach);
        QCOMPARE(frage(1), loeschen ? QString() : QStringLiteral("von B"));
        // Read anew, the row takes the next change.
        ich.setValue(QStringLiteral("Frage"), QStringLiteral("von A"));
        QVERIFY(!ich.update());
        QCOMPARE(frage(loeschen ? 2 : 1), QStringLiteral("von A"));
    }

    // A game whose server went away keeps its score on the PC until the next connection, once.
    void ausgang_data()
    {
        QTest::addColumn<bool>("schonDa"); // it arrived before the PC went down, the outbox was not rewritten
        QTest::addColumn<QByteArray>("vorher"); // what the outbox held
        QTest::newRow("not delivered") << false << QByteArray();
        QTest::newRow("delivered, outbox kept") << true << QByteArray();
        QTest::newRow("after a line a crash broke off") << false << QByteArray("abgebrochene Zei");
    }
    void ausgang()
    {
        QFETCH(bool, schonDa);
        QFETCH(QByteArray, vorher);
        CLUSTER();
        aufServer(u, QStringLiteral("schueler"));
        if (!vorher.isEmpty())
            u.schreibeDatei(QStringLiteral("highscore-ausgang.dtt"), vorher);
        Form2 *spiel = starteSpiel(QStringLiteral("Zoë"));
        QVERIFY(spiel && g_pg->stoppe());
        klicke(spiel->findChild<QPushButton *>(QStringLiteral("cmdGiveUp")));
        QVERIFY(u.meldungen.texte().last().contains(QStringLiteral("aufbewahrt")));
        const auto zeile = HighscoreAblage::zerlege(u.liesDatei(QStringLiteral("highscore-ausgang.dtt")).chopped(1));
        QVERIFY(zeile && zeile->name == QStringLiteral("Zoë") && zeile->punkte == 0);
        QVERIFY(g_pg->starte());
        QVERIFY(!schonDa || g_pg->psql(QStringLiteral("INSERT INTO highscore (name, punkte, schluessel) "
                                                      "VALUES ('Zoë', 0, '%1')").arg(zeile->schluessel)));
        for (int mal = 0; mal < 2; ++mal)
            QCOMPARE(HighscoreAblage::lies().eintraege, (QVector<Highscore::Eintrag>{{QStringLiteral("Zoë"), 0}}));
        QVERIFY(!QFile::exists(u.datei(QStringLiteral("highscore-ausgang.dtt"))));
    }

    // A write whose connection breaks before the request or loses the commit's answer: one effect, no message.
    void bruch_data()
    {
        QTest::addColumn<int>("was"); // 0 new question, 1 change, 2 delete
        QTest::addColumn<QByteArray>("vomProgramm");
        QTest::addColumn<QByteArray>("vomServer");
        const QByteArray commit("COMMIT\0", 7);
        QTest::newRow("new, cut before the request") << 0 << QByteArray("INSERT INTO") << QByteArray();
        QTest::newRow("new, commit's answer lost") << 0 << QByteArray() << commit;
        QTest::newRow("delete, commit's answer lost") << 2 << QByteArray() << commit;
    }
    void bruch()
    {
        QFETCH(int, was);
        QFETCH(QByteArray, vomProgramm);
        QFETCH(QByteArray, vomServer);
        CLUSTER();
        aufServer(u, QStringLiteral("lehrer"));
        QProcess proxy;
        const int port = g_pg->proxy(proxy, vomProgramm, vomServer, false);
        Recordset rs;
        QVERIFY(port && !oeffne(rs, g_pg->adresse(QStringLiteral("lehrer")).replace(QString::number(g_pg->port()),
                                                                                    QString::number(port)), true));
        if (was == 0)
            QVERIFY(!rs.addNew());
        StoreError e = was == 2 ? rs.deleteCurrent() : rs.setValue(QStringLiteral("Frage"), QStringLiteral("Neu"));
        if (!e && was < 2)
            e = rs.update();
        QVERIFY2(!e, qPrintable(e.text()));
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM fragen WHERE \"Frage\" = 'Neu'")).toInt(), was < 2 ? 1 : 0);
        QCOMPARE(wert(QStringLiteral("SELECT count(*) FROM fragen")).toInt(), rs.recordCount());
        QCOMPARE(rs.recordCount(), 15 + (was == 0) - (was == 2));
    }

    // The editor's server choice closes only once the connection works; a server that is not there, holds a
    // lock or answers nothing is given up with a German sentence instead of waiting, whatever the login carries.
    void serverWahl_data()
    {
        QTest::addColumn<int>("port"); // 0: the cluster's, -1: through a proxy falling silent at the mark
        QTest::addColumn<QByteArray>("marke"); // "LOCK": another session holds a lock on the questions
        QTest::addColumn<QString>("meldung"); // empty: accepted
        QTest::newRow("server found") << 0 << QByteArray() << "";
        QTest::newRow("nobody on the port") << 1 << QByteArray() << "ist nicht erreichbar. Bitte";
        QTest::newRow("a held LOCK TABLE") << 0 << QByteArray("LOCK") << "nach 4 Sekunden";
        QTest::newRow("silent after the start-up") << -1 << QByteArray("fragen") << "nicht innerhalb von 6 Sekunden";
        QTest::newRow("silent from the first statement") << -1 << QByteArray("SELECT 1") << "nicht innerhalb von 6";
        QTest::newRow("no database named") << 0 << QByteArray("ohne Datenbank")
                                           << "Bitte geben Sie Server, Port und Datenbank an.";
    }
    void serverWahl()
    {
        QFETCH(int, port);
        QFETCH(QByteArray, marke);
        QFETCH(QString, meldung);
        CLUSTER();
        aufServer(u, QStringLiteral("lehrer"));
        QVERIFY(g_pg->psql(QStringLiteral("ALTER ROLE lehrer SET statement_timeout = 0")));
        QProcess proxy, sperre;
        const int ueber = g_pg->proxy(proxy, marke, {}, true);
        if (marke == "LOCK") {
            sperre.start(g_pg->psqlProgramm(), QStringLiteral("-h127.0.0.1 -p%1 -Upostgres -dkreidolin").arg(g_pg->port()).split(' ')
                                                   << QStringLiteral("-cBEGIN; LOCK fragen; SELECT pg_sleep(60)"));
            QTRY_COMPARE(wert(QStringLiteral("SELECT count(*) FROM pg_locks WHERE mode = 'AccessExclusiveLock' AND "
                                             "relation = 'fragen'::regclass")), QStringLiteral("1"));
        }
        ServerAdresse a = *Serveradresse::zerlege(g_pg->adresse(QStringLiteral("lehrer")));
        a.port = port == 0 ? a.port : port > 0 ? port : ueber;
        if (marke == "ohne Datenbank")
            a.datenbank.clear();
        ServerDialog d(a);
        d.accept();
        sperre.kill();
        sperre.waitForFinished();
        QCOMPARE(d.result(), meldung.isEmpty() ? QDialog::Accepted : QDialog::Rejected);
        QCOMPARE(d.adresse(), a);
        const QString text = u.meldungen.texte().value(0);
        QVERIFY2(meldung.isEmpty() ? text.isEmpty()
                                   : (meldung.startsWith(QStringLiteral("Bitte"))
                                      || text.startsWith(QStringLiteral("Die Verbindung kam nicht zustande.\r\nDer Server ")))
                         && text.contains(meldung),
                 qPrintable(text));
    }

    // A server that is not there: the game says which and why in German, libpq's words below, and the editor opens.
    void unerreichbar()
    {
        CLUSTER();
        u.schreibeDatei(QStringLiteral("Kreidolin.ini"), "postgresql://127.0.0.1:1/kreidolin?user=schueler\r\n");
        QVERIFY(!starteSpiel());
        const QString text = u.meldungen.texte().value(0);
        QVERIFY2(text.contains(QStringLiteral("Der Server 127.0.0.1:1/kreidolin ist nicht erreichbar. Bitte prüfen Sie"))
                     && text.contains(QStringLiteral("\r\nMeldung des Servers: ")),
                 qPrintable(text));
        QVERIFY(Fenster::offen<Form3>());
    }

    // The password: from the password file, or asked once per run.
    void passwort_data()
    {
        QTest::addColumn<QByteArray>("pgpass");
        QTest::addColumn<bool>("antwort"); // the question is answered, not cancelled
        QTest::addColumn<int>("gefragt");
        QTest::newRow("asked once") << QByteArray() << true << 1;
        QTest::newRow("cancelled, not asked again") << QByteArray() << false << 1;
        QTest::newRow("password file") << QByteArray("127.0.0.1:*:kreidolin:lehrer:geheim\n") << true << 0;
    }
    void passwort()
    {
        QFETCH(QByteArray, pgpass);
        QFETCH(bool, antwort);
        QFETCH(int, gefragt);
        CLUSTER();
        Server::vergissPasswoerter();
        QFile datei(g_pg->pgpass());
        QVERIFY(datei.open(QIODevice::WriteOnly | QIODevice::Truncate) && datei.write(pgpass) == pgpass.size());
        datei.close();
        datei.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        if (!antwort)
            u.passwoerter.antwort.reset();
        for (int mal = 0; mal < 2; ++mal) {
            Connection c;
            c.setConnectionString(Connection::connectionStringFor(g_pg->adresse(QStringLiteral("lehrer"))));
            QCOMPARE(c.open().isError(), !antwort);
        }
        QCOMPARE(u.passwoerter.gefragt.size(), gefragt);
        Server::vergissPasswoerter();
        datei.remove();
    }
};

QTEST_MAIN(TestServer)
#include "tst_server.moc"
