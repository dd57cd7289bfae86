// The class's page and its round: what the server lets through and what it
// refuses, the vote and its shares, answering along, and the game window
// with devices joined, each device a real WebSocket client on 127.0.0.1.

#include "testservices.h"

#include "basis/vorlieben.h"
#include "klasse/klassennachricht.h"
#include "klasse/klassenrunde.h"
#include "ui/klassenanzeige.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTimer>
#include <QWebSocket>

#include <memory>

namespace {
// One pupil's device: everything the server sent, newest last.
class Geraet {
public:
    explicit Geraet(const QString &adresse)
    {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString &text) {
            post << QJsonDocument::fromJson(text.toUtf8()).object();
        });
        socket.open(QUrl(adresse));
    }
    bool verbunden() { return QTest::qWaitFor([this] { return !post.isEmpty(); }, 5000); }
    QJsonObject letzte(const QString &art) const
    {
        for (auto it = post.crbegin(); it != post.crend(); ++it) {
            if (it->value(QLatin1String("art")).toString() == art)
                return *it;
        }
        return {};
    }
    bool bekommt(const QString &art) { return QTest::qWaitFor([&] { return !letzte(art).isEmpty(); }, 5000); }
    void waehle(int frage, int feld)
    {
        socket.sendTextMessage(QStringLiteral("{\"art\":\"wahl\",\"frage\":%1,\"feld\":%2}").arg(frage).arg(feld));
    }
    QWebSocket socket;
    QList<QJsonObject> post;
};

Klassenfrage frage()
{
    // On screen: wrong 2 left, the solution in the middle, wrong 1 right.
    Klassenfrage f;
    f.text = QStringLiteral("<b>Hauptstadt</b> von Frankreich?");
    f.felder = {QStringLiteral("Lyon"), QStringLiteral("Paris"), QStringLiteral("<script>x()</script>")};
    f.antwort = {2, 0, 1};
    return f;
}

// The body; the status and, when asked, the headers that keep other sites out, joined by "|".
QByteArray hole(const QUrl &url, int *status, QByteArray *koepfe = nullptr)
{
    QNetworkAccessManager netz;
    std::unique_ptr<QNetworkReply> antwort(netz.get(QNetworkRequest(url)));
    if (!QTest::qWaitFor([&] { return antwort->isFinished(); }, 5000))
        return {};
    *status = antwort->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (koepfe)
        *koepfe = antwort->rawHeader("Content-Security-Policy") + '|' + antwort->rawHeader("X-Content-Type-Options") + '|'
            + antwort->rawHeader("X-Frame-Options");
    return antwort->readAll();
}
}

class TestKlasse : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Klassenrunde> m_runde;
    std::unique_ptr<TestUmgebung> m_u;
    QString ws() const { return QStringLiteral("ws") + m_runde->adresse().mid(4) + QStringLiteral("ws"); }
    bool starte(int geraete = 60)
    {
        m_runde = std::make_unique<Klassenrunde>();
        Klassenrunde::Einstellung e;
        e.adresse = QHostAddress(QHostAddress::LocalHost);
        e.port = 0;
        e.geraete = geraete;
        return m_runde->einschalten(e);
    }

private Q_SLOTS:
    void init() { m_u = std::make_unique<TestUmgebung>(); }
    void cleanup()
    {
        schliesseAlleFenster();
        m_runde.reset();
        m_u.reset();
    }
    // Shares add up to 100, the largest remainders rounded up first.
    void anteile_data()
    {
        QTest::addColumn<QVector<int>>("stimmen");
        QTest::addColumn<QVector<int>>("anteile");
        QTest::newRow("nobody") << QVector<int>{0, 0, 0} << QVector<int>{0, 0, 0};
        QTest::newRow("one each") << QVector<int>{1, 1, 1} << QVector<int>{34, 33, 33};
        QTest::newRow("last largest") << QVector<int>{3, 3, 5} << QVector<int>{27, 27, 46};
    }
    void anteile()
    {
        QFETCH(QVector<int>, stimmen);
        QFETCH(QVector<int>, anteile);
        const std::array<int, 3> a = Klassennachricht::anteile({stimmen[0], stimmen[1], stimmen[2]});
        QCOMPARE((QVector<int>{a[0], a[1], a[2]}), anteile);
    }
    // Only a well-formed pick is one; the fuzz corpus holds the odd bytes.
    void wahl_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("feld"); // -1: refused
        QTest::newRow("pick") << QByteArray(R"({"art":"wahl","frage":3,"feld":2})") << 2;
        QTest::newRow("slot 3") << QByteArray(R"({"art":"wahl","frage":3,"feld":3})") << -1;
        QTest::newRow("half a slot") << QByteArray(R"({"art":"wahl","frage":3,"feld":0.5})") << -1;
        QTest::newRow("slot as text") << QByteArray(R"({"art":"wahl","frage":3,"feld":"1"})") << -1;
        QTest::newRow("question 0") << QByteArray(R"({"art":"wahl","frage":0,"feld":1})") << -1;
        QTest::newRow("extra key") << QByteArray(R"({"art":"wahl","frage":3,"feld":1,"x":1})") << -1;
        QTest::newRow("other kind") << QByteArray(R"({"art":"wahI","frage":3,"feld":1})") << -1;
        QTest::newRow("too long") << QByteArray(R"({"art":"wahl","frage":3,"feld":1)") + QByteArray(300, ' ') + "}"
                                  << -1;
    }
    void wahl()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, feld);
        const Klassennachricht::Wahl w = Klassennachricht::liesWahl(text);
        QCOMPARE(w.gueltig ? w.feld : -1, feld);
    }
    // Page, script and style only below the join code, each with the headers
    // that keep other sites out; a wrong code gets a German refusal.
    void seiten()
    {
        QVERIFY(starte());
        const QUrl seite(m_runde->adresse());
        QVERIFY(seite.toString().startsWith(QLatin1String("http://127.0.0.1:")));
        int status = 0;
        QByteArray csp;
        const QByteArray html = hole(seite, &status, &csp);
        QCOMPARE(status, 200);
        QVERIFY(html.contains("seite.js"));
        QVERIFY(html.size() + hole(seite.resolved(QUrl("seite.js")), &status).size()
                    + hole(seite.resolved(QUrl("seite.css")), &status).size()
                < 30 * 1024);
        QCOMPARE(status, 200);
        QVERIFY(csp.contains("default-src 'none'") && csp.contains("frame-ancestors 'none'") && csp.endsWith("|nosniff|DENY"));
        const QByteArray falsch = hole(QUrl(seite.toString().replace(m_runde->adresse().section('/', 3, 3), "AAAAAA")),
                                       &status, &csp);
        QCOMPARE(status, 403);
        QVERIFY(falsch.contains("Falscher Code"));
        QVERIFY(csp.endsWith("|nosniff|DENY"));
        hole(seite.resolved(QUrl("/")), &status);
        QCOMPARE(status, 403);
        hole(seite.resolved(QUrl("../etc/passwd")), &status);
        QVERIFY(status == 403 || status == 404);
    }
    // A WebSocket with a wrong code, beyond the cap, or from another site's page is closed.
    void abgewiesen()
    {
        QVERIFY(starte(2));
        Geraet falsch(ws().replace(m_runde->adresse().section('/', 3, 3), "AAAAAA"));
        QVERIFY(QTest::qWaitFor([&] { return falsch.socket.closeReason() == QLatin1String("Falscher Code"); }, 5000));
        Geraet a(ws()), b(ws());
        QVERIFY(a.verbunden() && b.verbunden());
        Geraet c(ws());
        QVERIFY(QTest::qWaitFor([&] { return c.socket.closeReason() == QLatin1String("Die Klasse ist voll."); }, 5000));
        QCOMPARE(m_runde->geraete(), 2);
        QWebSocket fremd;
        QNetworkRequest anfrage{QUrl(ws())};
        anfrage.setRawHeader("Origin", "http://boese.example");
        fremd.open(anfrage);
        QVERIFY(QTest::qWaitFor([&] { return fremd.closeReason() == QLatin1String("Fremde Seite"); }, 5000));
        // Too long a message ends that device's connection, not the others'.
        a.socket.sendTextMessage(QString(1000, QLatin1Char('x')));
        QVERIFY(QTest::qWaitFor([&] { return a.socket.state() == QAbstractSocket::UnconnectedState; }, 5000));
        QTRY_COMPARE(m_runde->geraete(), 1);
    }
    // The pages get the projector's order with struck answers left out, never
    // which answer is right; the vote maps slots back to the poll's order.
    void abstimmung()
    {
        QVERIFY(starte());
        Geraet a(ws()), b(ws()), c(ws());
        QVERIFY(a.verbunden() && b.verbunden() && c.verbunden());
        QTRY_COMPARE(m_runde->geraete(), 3);
        m_runde->frageZeigen(frage());
        m_runde->streiche(2);
        QVERIFY(a.bekommt("frage"));
        QTRY_COMPARE(a.letzte("frage").value("felder").toArray(), (QJsonArray{"Lyon", "Paris", QJsonValue()}));
        QVERIFY(!QJsonDocument(a.letzte("frage")).toJson().contains("antwort"));
        QSignalSpy ende(m_runde.get(), &Klassenrunde::abstimmungBeendet);
        QSignalSpy stimmen(m_runde.get(), &Klassenrunde::stimmenGeaendert);
        const int nr = a.letzte("frage").value("frage").toInt();
        m_runde->abstimmungStarten(20);
        a.waehle(nr, 1);
        QVERIFY(a.bekommt("angekommen"));
        a.waehle(nr, 0); // one vote per device
        QVERIFY(a.bekommt("abgelehnt"));
        b.waehle(nr + 1, 0); // a question that is not shown
        QVERIFY(b.bekommt("abgelehnt"));
        b.post.clear();
        b.waehle(nr, 2); // struck
        QVERIFY(b.bekommt("abgelehnt"));
        b.waehle(nr, 0);
        QVERIFY(b.bekommt("angekommen"));
        QCOMPARE(ende.count(), 0);
        QTRY_COMPARE(stimmen.count(), 3);
        c.waehle(nr, 1); // the last device votes: the vote closes
        QTRY_COMPARE(ende.count(), 1);
        const auto e = ende.at(0).at(0).value<Klassenergebnis>();
        QCOMPARE(e.stimmen, (std::array<int, 3>{2, 0, 1}));
        QCOMPARE(e.anteile, (std::array<int, 3>{67, 0, 33}));
        QVERIFY(a.bekommt("ergebnis"));
        QCOMPARE(a.letzte("ergebnis").value("anteile").toArray(), (QJsonArray{33, 67, 0}));
        // Answering along: each device hears its own verdict.
        QSignalSpy mit(m_runde.get(), &Klassenrunde::mitgeantwortet);
        m_runde->verdikt();
        QCOMPARE(mit.at(0), (QList<QVariant>{2, 3}));
        QVERIFY(a.bekommt("urteil") && b.bekommt("urteil"));
        QCOMPARE(a.letzte("urteil").value("richtig").toBool(), true);
        QCOMPARE(b.letzte("urteil").value("richtig").toBool(), false);
        // After the verdict no pick is taken any more.
        Geraet spaet(ws());
        QVERIFY(spaet.bekommt("frage"));
        spaet.waehle(nr, 1);
        QVERIFY(spaet.bekommt("abgelehnt"));
    }
    // The countdown closes the vote as it reaches 0, also when nobody voted.
    void zeitAbgelaufen()
    {
        QVERIFY(starte());
        m_runde->frageZeigen(frage());
        QSignalSpy ende(m_runde.get(), &Klassenrunde::abstimmungBeendet);
        QSignalSpy uhr(m_runde.get(), &Klassenrunde::countdownGeaendert);
        m_runde->abstimmungStarten(1);
        QTRY_COMPARE(ende.count(), 1);
        QCOMPARE(uhr.count(), 2);
        QCOMPARE(uhr.last().at(0).toInt(), 0);
        QCOMPARE(ende.at(0).at(0).value<Klassenergebnis>().summe(), 0);
    }
    // A device flooding the server is slowed down; its flood counts once.
    void flut()
    {
        QVERIFY(starte());
        Geraet a(ws());
        QVERIFY(a.verbunden());
        m_runde->frageZeigen(frage());
        QVERIFY(a.bekommt("frage"));
        for (int i = 0; i < 40; ++i)
            a.waehle(1, 1);
        QVERIFY(a.bekommt("langsam"));
        QSignalSpy mit(m_runde.get(), &Klassenrunde::mitgeantwortet);
        m_runde->verdikt();
        QCOMPARE(mit.at(0), (QList<QVariant>{1, 1}));
        QCOMPARE(a.socket.state(), QAbstractSocket::ConnectedState);
    }
    // The game window: the poll joker becomes the class's vote while devices
    // are joined; a vote nobody takes keeps the joker; the verdict counts
    // who was right; closing the window ends the server.
    void spielfenster()
    {
        QSettings ini(Vorlieben::datei(), QSettings::IniFormat);
        ini.setValue("Klasse/Port", 0);
        ini.setValue("Klasse/Adresse", "127.0.0.1");
        ini.setValue("Klasse/Sekunden", 5);
        ini.sync();
        m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(1));
        Form2 *spiel = starteSpiel();
        QVERIFY(spiel);
        QTest::keyClick(spiel, Qt::Key_K);
        QVERIFY(spiel->menuKlasseAbstimmen->isChecked());
        const QPointer<KlassenAnzeige> anzeige = spiel->klasse();
        QVERIFY(anzeige && anzeige->isVisible());
        QVERIFY(anzeige->lblAdresse->text().contains(anzeige->runde()->adresse().mid(7)));
        QVERIFY(!anzeige->lblQr->pixmap().isNull());
        const QString adresse = QStringLiteral("ws") + anzeige->runde()->adresse().mid(4) + QStringLiteral("ws");

        Geraet a(adresse), b(adresse);
        QVERIFY(a.bekommt("frage") && b.bekommt("frage"));
        QTRY_COMPARE(anzeige->lblGeraete->text(), QStringLiteral("2 Geräte dabei"));
        // The solution's slot as the projector shows it.
        const int loesung = spiel->reihenfolge()[0];
        const int falsch1 = spiel->reihenfolge()[1];
        QCOMPARE(a.letzte("frage").value("felder").toArray().at(loesung).toString(), spiel->lblLoesung->text());
        const int nr = a.letzte("frage").value("frage").toInt();
        QPushButton *cmdRnd = spiel->findChild<QPushButton *>(QStringLiteral("cmdRnd"));
        // The vote holds the window until it closes: Enter closes it with no vote, the joker stays usable.
        QString waehrend;
        QTimer::singleShot(0, spiel, [&] {
            waehrend = anzeige->lblAbstimmung->text();
            QTest::keyClick(spiel, Qt::Key_Return);
        });
        klicke(cmdRnd);
        QVERIFY(waehrend.contains(QStringLiteral("0 von 2")));
        QCOMPARE(m_u->meldungen.gezeigt.size(), 1);
        QVERIFY(m_u->meldungen.texte().at(0).startsWith(QStringLiteral("Niemand hat abgestimmt")));
        QVERIFY(cmdRnd->isEnabled());

        QTimer::singleShot(0, spiel, [&] {
            a.waehle(nr, falsch1);
            b.waehle(nr, loesung);
        });
        klicke(cmdRnd);
        QCOMPARE(m_u->meldungen.gezeigt.size(), 2);
        QCOMPARE(m_u->meldungen.titel().at(1), QStringLiteral("Kreidolin-Message"));
        QCOMPARE(m_u->meldungen.texte().at(1),
                 QStringLiteral("Das Publikum hat wie folgt gestimmt: \r\n%1 = 50%\r\n%2 = 50%\r\n%3 = 0%")
                     .arg(spiel->lblLoesung->text(), spiel->lblAntwort1->text(), spiel->lblAntwort2->text()));
        QVERIFY(!cmdRnd->isEnabled());

        spiel->waehleFeld(loesung);
        klicke(spiel->cmdOK);
        QCOMPARE(anzeige->lblMitgeantwortet->text(), QStringLiteral("1 von 2 hätten richtig geantwortet"));
        QTRY_VERIFY(a.letzte("frage").value("frage").toInt() == nr + 1);

        spiel->close();
        QVERIFY(!anzeige); // the server goes when the window closes, not with the program
        QTRY_COMPARE(a.socket.state(), QAbstractSocket::UnconnectedState);
    }
    // Without devices the joker is the computed poll; a taken port is said
    // in German and the game goes on.
    void ohneGeraete()
    {
        QTcpServer belegt;
        QVERIFY(belegt.listen(QHostAddress::LocalHost));
        QSettings ini(Vorlieben::datei(), QSettings::IniFormat);
        ini.setValue("Klasse/Port", belegt.serverPort());
        ini.setValue("Klasse/Adresse", "127.0.0.1");
        ini.sync();
        m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(1));
        Form2 *spiel = starteSpiel();
        QVERIFY(spiel);
        spiel->setzeKlasse(true);
        QVERIFY(!spiel->klasse() && !spiel->menuKlasseAbstimmen->isChecked());
        const QString grund = m_u->meldungen.texte().value(0);
        QVERIFY(grund.contains(QStringLiteral("ist schon belegt")) && grund.contains(QStringLiteral("ohne sie weiter")));
        ini.setValue("Klasse/Port", 0);
        ini.sync();
        spiel->setzeKlasse(true);
        QVERIFY(spiel->klasse());
        m_u->zufall.werte = {0.73f, 0.41f};
        QPushButton *cmdRnd = spiel->findChild<QPushButton *>(QStringLiteral("cmdRnd"));
        klicke(cmdRnd);
        QVERIFY(m_u->meldungen.texte().value(1).endsWith(QStringLiteral(" = 16%")));
        QVERIFY(!cmdRnd->isEnabled());
    }
};

QTEST_MAIN(TestKlasse)
#include "tst_klasse.moc"
