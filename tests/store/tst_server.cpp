// The collection and the highscore list on a real PostgreSQL server started
// for this program: the address, the two roles, the editor, two teachers on
// one question, the outbox, an unreachable server and the password.

#include "pgcluster.h"
#include "testservices.h"

#include "highscore/ablage.h"
#include "store/server.h"
#include "ui/serverdialog.h"

namespace {
PgCluster *g_pg = nullptr;
const char *const kAmAnfang = "Frage S1N1";
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
        QVERIFY(g_pg->psql(QStringLiteral("TRUNCATE fragen RESTART IDENTITY; TRUNCATE highscore; INSERT INTO fragen "
                                          "(\"Frage\", \"Loesung\", \"Antwort1\", \"Antwort2\", \"Stufe\") SELECT "
                                          "'Frage S' || s || 'N1', 'L', 'A', 'B', s FROM generate_series(1, 15) s")));
        u.schreibeDatei(QStringLiteral("Kreidolin.ini"), g_pg->adresse(benutzer).toUtf8() + "\r\n");
    }
    QString frage(int id)
    {
        QString f;
        g_pg->psql(QStringLiteral("SELECT \"Frage\" FROM fragen WHERE \"ID\" = %1").arg(id), &f);
        return f;
    }

private Q_SLOTS:
    void cleanupTestCase() { delete g_pg; }
    void cleanup() { schliesseAlleFenster(); }

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
        QTest::newRow("password parameter") << "postgresql://srv/db?user=a&password=x" << "Passwort";
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
        QTest::addColumn<bool>("erlaubt");
        for (const char *wer : {"schueler", "lehrer"}) {
            const bool lehrer = QByteArray(wer) == "lehrer";
            QTest::addRow("%s reads questions", wer) << wer << "SELECT count(*) FROM fragen" << true;
            QTest::addRow("%s adds a score", wer) << wer << "INSERT INTO highscore (name, punkte, schluessel) "
                                                             "VALUES ('a', 1, gen_random_uuid())" << true;
            QTest::addRow("%s applies the emptying rule", wer) << wer << "SELECT highscore_leeren()" << true;
            QTest::addRow("%s changes a question", wer) << wer << "UPDATE fragen SET \"Frage\" = 'x'" << lehrer;
            QTest::addRow("%s adds a question", wer) << wer << "INSERT INTO fragen (\"Frage\") VALUES ('x')" << lehrer;
            QTest::addRow("%s deletes a question", wer) << wer << "DELETE FROM fragen" << lehrer;
            QTest::addRow("%s empties the list", wer) << wer << "DELETE FROM highscore" << lehrer;
            QTest::addRow("%s changes a score", wer) << wer << "UPDATE highscore SET punkte = 15" << false;
        }
    }
    void rollen()
    {
        QFETCH(QString, benutzer);
        QFETCH(QString, sql);
        QFETCH(bool, erlaubt);
        CLUSTER();
        const ServerAdresse a = *Serveradresse::zerlege(g_pg->adresse(benutzer));
        QSqlQuery q;
        StoreError e = Server::verbinde(QStringLiteral("rolle"), a);
        if (!e)
            e = Server::fuehreAus(q, QStringLiteral("rolle"), a, sql, {}, QStringLiteral("das zu tun"));
        QVERIFY2(!e == erlaubt, qPrintable(e.text()));
        QVERIFY(erlaubt
                || (e.text().startsWith(QStringLiteral("Keine Berechtigung: ")) && e.text().contains(benutzer)));
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
        QCOMPARE(f->recordset()->recordCount(), 15);
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
        QTest::addColumn<bool>("andereLoescht");
        QTest::addColumn<bool>("ichLoesche");
        QTest::addColumn<QString>("danach"); // the question I see afterwards
        QTest::newRow("changed, I change") << false << false << "von B";
        QTest::newRow("changed, I delete") << false << true << "von B";
        QTest::newRow("deleted, I change") << true << false << "Frage S2N1";
        QTest::newRow("deleted, I delete") << true << true << "Frage S2N1";
    }
    void konflikt()
    {
        QFETCH(bool, andereLoescht);
        QFETCH(bool, ichLoesche);
        QFETCH(QString, danach);
        CLUSTER();
        aufServer(u, QStringLiteral("lehrer"));
        Recordset ich, andere;
        QVERIFY(!oeffne(ich, g_pg->adresse(QStringLiteral("lehrer")), true));
        QVERIFY(!oeffne(andere, g_pg->adresse(QStringLiteral("lehrer")), true));
        andere.setValue(QStringLiteral("Frage"), QStringLiteral("von B"));
        QVERIFY(!(andereLoescht ? andere.deleteCurrent() : andere.update()));
        ich.setValue(QStringLiteral("Frage"), QStringLiteral("von A"));
        QCOMPARE((ichLoesche ? ich.deleteCurrent() : ich.update()).art(), StoreError::Art::Konflikt);
        QCOMPARE(ich.recordCount(), andereLoescht ? 14 : 15);
        QCOMPARE(ich.value(QStringLiteral("Frage")).toString(), danach);
        QCOMPARE(frage(1), andereLoescht ? QString() : QStringLiteral("von B"));
        // Read anew, the row takes the next change.
        ich.setValue(QStringLiteral("Frage"), QStringLiteral("von A"));
        QVERIFY(!ich.update());
        QCOMPARE(frage(andereLoescht ? 2 : 1), QStringLiteral("von A"));
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

    // A server that is not there: the game says which and why, and the editor opens.
    void unerreichbar()
    {
        CLUSTER();
        u.schreibeDatei(QStringLiteral("Kreidolin.ini"), "postgresql://127.0.0.1:1/kreidolin?user=schueler\r\n");
        QVERIFY(!starteSpiel());
        QVERIFY(u.meldungen.texte().value(0).contains(
            QStringLiteral("Der Server 127.0.0.1:1/kreidolin ist nicht erreichbar: ")));
        QVERIFY(Fenster::offen<Form3>());
    }

    // The editor's server choice closes only once the connection works.
    void serverWahl_data()
    {
        QTest::addColumn<bool>("erreichbar");
        QTest::newRow("server found") << true;
        QTest::newRow("nobody on the port") << false;
    }
    void serverWahl()
    {
        QFETCH(bool, erreichbar);
        CLUSTER();
        aufServer(u, QStringLiteral("lehrer"));
        ServerAdresse a = *Serveradresse::zerlege(g_pg->adresse(QStringLiteral("lehrer")));
        a.port = erreichbar ? a.port : 1;
        ServerDialog d(a);
        d.accept();
        QCOMPARE(d.result(), erreichbar ? QDialog::Accepted : QDialog::Rejected);
        QCOMPARE(d.adresse(), a);
        QCOMPARE(u.meldungen.texte().size(), erreichbar ? 0 : 1);
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
