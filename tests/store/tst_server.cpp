// The collection and the highscore list on a real PostgreSQL server started
// for this program: the settings line's address, the two roles, two
// teachers on one question, the outbox of a game whose server went away,
// an unreachable server and the password asked once.

#include "pgcluster.h"
#include "testservices.h"

#include "highscore/ablage.h"
#include "store/server.h"
#include "ui/serverdialog.h"

#include <QTimer>

#include <QSqlDatabase>

namespace {
PgCluster *g_pg = nullptr;
}

class TestServer : public QObject {
    Q_OBJECT
private:
    // The cluster, started on first use; skips the test where none can run.
    bool cluster();
    // The settings line names the server as benutzer; the collection holds one question per level.
    void aufServer(TestUmgebung &u, const QString &benutzer);
    QString frageAufServer(int id) const;

private Q_SLOTS:
    void cleanupTestCase() { delete g_pg; }
    void cleanup() { schliesseAlleFenster(); }
    // An address read into its parts and written back the same, or refused with a reason.
    void adresse_data();
    void adresse();
    // What each role may do is decided by the server, whatever the window allows.
    void rollen_data();
    void rollen();
    // The editor stores as a teacher; a pupil and a stopped server get a message, the text stays.
    void editor_data();
    void editor();
    // A question another teacher changed or deleted meanwhile is not overwritten but read anew.
    void konflikt_data();
    void konflikt();
    // A game whose server went away keeps its score on the PC until the next connection, once.
    void ausgang_data();
    void ausgang();
    // The list's emptying rule applies with a pupil's login, but only above the limit.
    void leerenRegel_data();
    void leerenRegel();
    // A server that is not there: the game says which and why, and the editor opens.
    void unerreichbar();
    // The editor's server choice is stored only once the connection works.
    void serverWahl_data();
    void serverWahl();
    // The password: from the password file, or asked once per run.
    void passwort_data();
    void passwort();
};

bool TestServer::cluster()
{
    if (!g_pg)
        g_pg = new PgCluster;
    return g_pg->grund().isEmpty();
}

void TestServer::aufServer(TestUmgebung &u, const QString &benutzer)
{
    QString werte;
    for (int stufe = 1; stufe <= 15; ++stufe)
        werte += QStringLiteral("%1('Frage S%2N1','Lösung S%2N1','Falsch1 S%2N1','Falsch2 S%2N1',%2)")
                     .arg(stufe > 1 ? "," : "").arg(stufe);
    QVERIFY(g_pg->psql(QStringLiteral("TRUNCATE fragen RESTART IDENTITY; TRUNCATE highscore;"
                                      "INSERT INTO fragen (\"Frage\",\"Loesung\",\"Antwort1\",\"Antwort2\",\"Stufe\") VALUES ")
                       + werte));
    u.schreibeDatei(QStringLiteral("Kreidolin.ini"), g_pg->adresse(benutzer).toUtf8() + "\r\n");
}

QString TestServer::frageAufServer(int id) const
{
    QString frage;
    g_pg->psql(QStringLiteral("SELECT \"Frage\" FROM fragen WHERE \"ID\" = %1").arg(id), &frage);
    return frage;
}

void TestServer::adresse_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QStringList>("teile"); // host, port, database, user; empty: refused
    QTest::addColumn<QString>("grund");     // a word of the reason
    QTest::newRow("usual") << "postgresql://schule-srv/kreidolin?user=klasse7a"
                           << QStringList{"schule-srv", "5432", "kreidolin", "klasse7a"} << "";
    QTest::newRow("short scheme, port") << "POSTGRES://10.0.0.5:6543/quiz" << QStringList{"10.0.0.5", "6543", "quiz", ""} << "";
    QTest::newRow("user before host, IPv6") << "postgresql://lehrer@[::1]:5433/k"
                                            << QStringList{"::1", "5433", "k", "lehrer"} << "";
    QTest::newRow("socket folder, encoded") << "postgresql://%2Fvar%2Frun%2Fpostgresql/k%C3%A4se?user=m%C3%BCller"
                                            << QStringList{"/var/run/postgresql", "5432", "käse", "müller"} << "";
    QTest::newRow("password in user") << "postgresql://u:pw@srv/db" << QStringList() << "Passwort";
    QTest::newRow("password parameter") << "postgresql://srv/db?password=x" << QStringList() << "Passwort";
    QTest::newRow("other parameter") << "postgresql://srv/db?sslmode=require" << QStringList() << "unbekannt";
    QTest::newRow("port 0") << "postgresql://srv:0/db" << QStringList() << "Portnummer";
    QTest::newRow("port too large") << "postgresql://srv:65536/db" << QStringList() << "Portnummer";
    QTest::newRow("port empty") << "postgresql://srv:/db" << QStringList() << "Portnummer";
    QTest::newRow("no database") << "postgresql://srv" << QStringList() << "Datenbank";
    QTest::newRow("no host") << "postgresql:///db" << QStringList() << "Server";
    QTest::newRow("line end") << "postgresql://srv/db%0A" << QStringList() << "Steuerzeichen";
    QTest::newRow("Windows path") << "C:\\Kreidolin\\Fragen.mdb" << QStringList() << "postgresql://";
}

void TestServer::adresse()
{
    QFETCH(QString, zeile);
    QFETCH(QStringList, teile);
    QFETCH(QString, grund);
    QString warum;
    const std::optional<ServerAdresse> a = Serveradresse::zerlege(zeile, &warum);
    QCOMPARE(a.has_value(), !teile.isEmpty());
    if (!a) {
        QVERIFY2(warum.contains(grund), qPrintable(warum));
        return;
    }
    QCOMPARE((QStringList{a->host, QString::number(a->port), a->datenbank, a->benutzer}), teile);
    QVERIFY(Serveradresse::istServer(Serveradresse::text(*a)));
    QCOMPARE(Serveradresse::zerlege(Serveradresse::text(*a)), a);
}

void TestServer::rollen_data()
{
    QTest::addColumn<QString>("benutzer");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("erlaubt");
    const QString eintrag = QStringLiteral("INSERT INTO highscore (name, punkte, schluessel) VALUES ('a', 1, gen_random_uuid())");
    for (const char *wer : {"schueler", "lehrer"}) {
        const bool lehrer = QByteArray(wer) == "lehrer";
        QTest::addRow("%s reads questions", wer) << wer << "SELECT count(*) FROM fragen" << true;
        QTest::addRow("%s reads the list", wer) << wer << "SELECT count(*) FROM highscore" << true;
        QTest::addRow("%s adds to the list", wer) << wer << eintrag << true;
        QTest::addRow("%s changes a question", wer) << wer << "UPDATE fragen SET \"Frage\" = 'x'" << lehrer;
        QTest::addRow("%s adds a question", wer) << wer << "INSERT INTO fragen (\"Frage\") VALUES ('x')" << lehrer;
        QTest::addRow("%s deletes a question", wer) << wer << "DELETE FROM fragen" << lehrer;
        QTest::addRow("%s empties the list", wer) << wer << "DELETE FROM highscore" << lehrer;
        QTest::addRow("%s changes a score", wer) << wer << "UPDATE highscore SET punkte = 15" << false;
    }
}

void TestServer::rollen()
{
    QFETCH(QString, benutzer);
    QFETCH(QString, sql);
    QFETCH(bool, erlaubt);
    if (!cluster())
        QSKIP(qPrintable(g_pg->grund()));
    TestUmgebung u;
    const ServerAdresse a = *Serveradresse::zerlege(g_pg->adresse(benutzer));
    QVERIFY(!Server::verbinde(QStringLiteral("rolle"), a));
    QSqlQuery q;
    const StoreError e = Server::fuehreAus(q, QStringLiteral("rolle"), a, sql, {}, QStringLiteral("das zu tun"));
    q = QSqlQuery();
    QSqlDatabase::removeDatabase(QStringLiteral("rolle"));
    QVERIFY2(!e == erlaubt, qPrintable(e.text()));
    if (e) {
        QVERIFY2(e.text().startsWith(QStringLiteral("Keine Berechtigung")), qPrintable(e.text()));
        QVERIFY(e.text().contains(benutzer));
    }
}

void TestServer::editor_data()
{
    QTest::addColumn<QString>("benutzer");
    QTest::addColumn<bool>("gestoppt");
    QTest::addColumn<QString>("meldung"); // beginning of the reason; empty: stored
    QTest::newRow("teacher") << "lehrer" << false << "";
    QTest::newRow("pupil") << "schueler" << false << "Keine Berechtigung";
    QTest::newRow("server stopped") << "lehrer" << true << "Der Server 127.0.0.1";
}

void TestServer::editor()
{
    QFETCH(QString, benutzer);
    QFETCH(bool, gestoppt);
    QFETCH(QString, meldung);
    if (!cluster())
        QSKIP(qPrintable(g_pg->grund()));
    TestUmgebung u;
    aufServer(u, benutzer);
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(f->datenbankGeladen());
    QCOMPARE(f->recordset()->recordCount(), 15);
    if (gestoppt)
        QVERIFY(g_pg->stoppe());
    auto *frage = f->findChild<QLineEdit *>(QStringLiteral("txtFrage"));
    frage->setText(QStringLiteral("Neu 'x'; DROP TABLE fragen"));
    klicke(f->findChild<QPushButton *>(QStringLiteral("cmdUebernehmen")));
    if (gestoppt)
        QVERIFY(g_pg->starte());
    QCOMPARE(frageAufServer(1), meldung.isEmpty() ? frage->text() : QStringLiteral("Frage S1N1"));
    QCOMPARE(frage->text(), QStringLiteral("Neu 'x'; DROP TABLE fragen"));
    if (meldung.isEmpty()) {
        QVERIFY(u.meldungen.texte().isEmpty());
        return;
    }
    QCOMPARE(u.meldungen.texte().size(), 1);
    QVERIFY2(u.meldungen.texte().first().startsWith(QStringLiteral("Die Frage wurde nicht gespeichert.\r\n") + meldung),
             qPrintable(u.meldungen.texte().first()));
}

void TestServer::konflikt_data()
{
    QTest::addColumn<bool>("andereLoescht"); // the other teacher deletes rather than changes
    QTest::addColumn<bool>("ichLoesche");
    QTest::addColumn<int>("anzahl"); // rows I see afterwards
    QTest::addColumn<QString>("frage"); // the first row's question I see afterwards
    QTest::newRow("changed, I change") << false << false << 15 << "von B";
    QTest::newRow("changed, I delete") << false << true << 15 << "von B";
    QTest::newRow("deleted, I change") << true << false << 14 << "Frage S2N1";
    QTest::newRow("deleted, I delete") << true << true << 14 << "Frage S2N1";
}

void TestServer::konflikt()
{
    QFETCH(bool, andereLoescht);
    QFETCH(bool, ichLoesche);
    QFETCH(int, anzahl);
    QFETCH(QString, frage);
    if (!cluster())
        QSKIP(qPrintable(g_pg->grund()));
    TestUmgebung u;
    aufServer(u, QStringLiteral("lehrer"));
    Recordset ich, andere;
    QVERIFY(!oeffne(ich, g_pg->adresse(QStringLiteral("lehrer")), true));
    QVERIFY(!oeffne(andere, g_pg->adresse(QStringLiteral("lehrer")), true));
    QVERIFY(!(andereLoescht ? andere.deleteCurrent()
                            : (andere.setValue(QStringLiteral("Frage"), QStringLiteral("von B")), andere.update())));
    StoreError e;
    if (ichLoesche) {
        e = ich.deleteCurrent();
    } else {
        ich.setValue(QStringLiteral("Frage"), QStringLiteral("von A"));
        e = ich.update();
    }
    QCOMPARE(e.art(), StoreError::Art::Konflikt);
    QCOMPARE(ich.recordCount(), anzahl);
    QCOMPARE(ich.value(QStringLiteral("Frage")).toString(), frage);
    QCOMPARE(frageAufServer(1), andereLoescht ? QString() : QStringLiteral("von B"));
    // Read anew, the row takes the next change.
    if (!ichLoesche) {
        ich.setValue(QStringLiteral("Frage"), QStringLiteral("von A"));
        QVERIFY(!ich.update());
        QCOMPARE(frageAufServer(andereLoescht ? 2 : 1), QStringLiteral("von A"));
    }
}

void TestServer::ausgang_data()
{
    QTest::addColumn<bool>("schonDa"); // the line arrived before the PC went down, the outbox was not rewritten
    QTest::newRow("not delivered") << false;
    QTest::newRow("delivered, outbox kept") << true;
}

void TestServer::ausgang()
{
    QFETCH(bool, schonDa);
    if (!cluster())
        QSKIP(qPrintable(g_pg->grund()));
    TestUmgebung u;
    aufServer(u, QStringLiteral("schueler"));
    Form2 *spiel = starteSpiel(QStringLiteral("Zoë"));
    QVERIFY(spiel);
    QVERIFY(g_pg->stoppe());
    klicke(spiel->findChild<QPushButton *>(QStringLiteral("cmdGiveUp")));
    QVERIFY2(u.meldungen.texte().last().contains(QStringLiteral("aufbewahrt")), qPrintable(u.meldungen.texte().join('|')));
    const QList<QByteArray> zeilen = u.liesDatei(QStringLiteral("highscore-ausgang.dtt")).split('\n');
    QCOMPARE(zeilen.size(), 2);
    const std::optional<HighscoreAblage::Zeile> zeile = HighscoreAblage::zerlege(zeilen[0]);
    QVERIFY(zeile && zeile->name == QStringLiteral("Zoë") && zeile->punkte == 0);
    QVERIFY(g_pg->starte());
    if (schonDa)
        QVERIFY(g_pg->psql(QStringLiteral("INSERT INTO highscore (name, punkte, schluessel) VALUES ('Zoë', 0, '%1')")
                               .arg(zeile->schluessel)));
    for (int mal = 0; mal < 2; ++mal) {
        const Highscore::Lesung l = HighscoreAblage::lies();
        QVERIFY2(!l.fehler, qPrintable(l.fehler.text()));
        QCOMPARE(l.eintraege, (QVector<Highscore::Eintrag>{{QStringLiteral("Zoë"), 0}}));
    }
    QVERIFY(!QFile::exists(u.datei(QStringLiteral("highscore-ausgang.dtt"))));
}

void TestServer::leerenRegel_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<int>("bleiben");
    QTest::newRow("at the limit") << 1000 << 1000;
    QTest::newRow("above") << 1001 << 0;
}

void TestServer::leerenRegel()
{
    QFETCH(int, anzahl);
    QFETCH(int, bleiben);
    if (!cluster())
        QSKIP(qPrintable(g_pg->grund()));
    TestUmgebung u;
    aufServer(u, QStringLiteral("schueler"));
    QVERIFY(g_pg->psql(QStringLiteral("INSERT INTO highscore (name, punkte, schluessel) "
                                      "SELECT 'n' || i, i % 16, gen_random_uuid() FROM generate_series(1, %1) i")
                           .arg(anzahl)));
    QVERIFY(!HighscoreAblage::leere());
    QCOMPARE(HighscoreAblage::lies().eintraege.size(), bleiben);
}

void TestServer::unerreichbar()
{
    if (!cluster())
        QSKIP(qPrintable(g_pg->grund()));
    TestUmgebung u;
    u.schreibeDatei(QStringLiteral("Kreidolin.ini"), "postgresql://127.0.0.1:1/kreidolin?user=schueler\r\n");
    QVERIFY(!starteSpiel());
    const QString text = u.meldungen.texte().value(0);
    QVERIFY2(text.contains(QStringLiteral("127.0.0.1:1")) && text.contains(QStringLiteral("nicht erreichbar")),
             qPrintable(text));
    QVERIFY(Fenster::offen<Form3>());
}

void TestServer::serverWahl_data()
{
    QTest::addColumn<bool>("erreichbar");
    QTest::newRow("server found") << true;
    QTest::newRow("nobody on the port") << false;
}

void TestServer::serverWahl()
{
    QFETCH(bool, erreichbar);
    if (!cluster())
        QSKIP(qPrintable(g_pg->grund()));
    TestUmgebung u;
    aufServer(u, QStringLiteral("lehrer"));
    const QString datei = u.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(2));
    u.schreibeDatei(QStringLiteral("Kreidolin.ini"), datei.toUtf8() + "\r\n");
    Form3 *f = Fenster::zeige<Form3>();
    QTimer::singleShot(0, f, [&] {
        auto *d = f->findChild<ServerDialog *>();
        const QStringList werte{"127.0.0.1", QString::number(erreichbar ? g_pg->port() : 1), "kreidolin", "lehrer"};
        const QStringList namen{"txtHost", "txtPort", "txtDatenbank", "txtBenutzer"};
        for (int i = 0; i < namen.size(); ++i)
            d->findChild<QLineEdit *>(namen[i])->setText(werte[i]);
        d->accept();
        if (d->isVisible())
            d->reject();
    });
    klicke(f->findChild<QPushButton *>(QStringLiteral("cmd_server")));
    QCOMPARE(SettingsFile::lies(u.datei(QStringLiteral("Kreidolin.ini"))),
             erreichbar ? g_pg->adresse(QStringLiteral("lehrer")) : datei);
    QCOMPARE(f->recordset()->recordCount(), erreichbar ? 15 : 30);
    QCOMPARE(u.meldungen.texte().size(), erreichbar ? 0 : 1);
}

void TestServer::passwort_data()
{
    QTest::addColumn<QByteArray>("pgpass"); // the password file's line
    QTest::addColumn<bool>("antwort");      // the question is answered, not cancelled
    QTest::addColumn<int>("gefragt");
    QTest::addColumn<bool>("verbunden");
    QTest::newRow("asked once") << QByteArray() << true << 1 << true;
    QTest::newRow("cancelled, not asked again") << QByteArray() << false << 1 << false;
    QTest::newRow("password file") << QByteArray("127.0.0.1:*:kreidolin:lehrer:geheim\n") << true << 0 << true;
}

void TestServer::passwort()
{
    QFETCH(QByteArray, pgpass);
    QFETCH(bool, antwort);
    QFETCH(int, gefragt);
    QFETCH(bool, verbunden);
    if (!cluster())
        QSKIP(qPrintable(g_pg->grund()));
    TestUmgebung u;
    Server::vergissPasswoerter();
    QFile datei(QString::fromLocal8Bit(qgetenv("PGPASSFILE")));
    QVERIFY(datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
    datei.write(pgpass);
    datei.close();
    datei.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    if (!antwort)
        u.passwoerter.antwort.reset();
    for (int mal = 0; mal < 2; ++mal) {
        Connection c;
        c.setConnectionString(Connection::connectionStringFor(g_pg->adresse(QStringLiteral("lehrer"))));
        const StoreError e = c.open();
        QVERIFY2(!e == verbunden, qPrintable(e.text()));
    }
    QCOMPARE(u.passwoerter.gefragt.size(), gefragt);
    Server::vergissPasswoerter();
    QVERIFY(datei.remove());
}

QTEST_MAIN(TestServer)
#include "tst_server.moc"
