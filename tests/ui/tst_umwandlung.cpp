#include "store/connection.h"
#include "store/recordset.h"
#include "testservices.h"
#include "ui/umwandlung.h"

#include <QPointer>

// The steps that turn an Access collection into the program's own format
// before its first change, without the editor: asked, backed up, converted,
// reopened; a No, a failed conversion or a vanished window loses nothing.
namespace {
std::unique_ptr<Recordset> oeffneFuerEditor(const QString &pfad)
{
    auto rec = std::make_unique<Recordset>();
    return oeffne(*rec, pfad, true) ? nullptr : std::move(rec);
}
}

class TestUmwandlung : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void schritte_data();
    void schritte();
};

void TestUmwandlung::schritte_data()
{
    QTest::addColumn<bool>("access");
    QTest::addColumn<QString>("fall");
    QTest::addColumn<bool>("weiter");
    QTest::addColumn<bool>("umgewandelt"); // the original beside it, the file reopened
    QTest::addColumn<QString>("letzte");   // how the last message begins
    const QString frage = QStringLiteral("Diese Fragensammlung ist eine Access-Datei");
    QTest::newRow("own format: nothing asked") << false << "ja" << true << false << "";
    QTest::newRow("conversion fails") << true << "kurz" << false << false
                                      << "Die Fragensammlung wurde nicht umgewandelt";
    QTest::newRow("reopening fails") << true << "wiederFehlt" << false << true
                                     << "Die Fragensammlung wurde umgewandelt, das Original liegt als "
                                        "„Fragen.mdb.jet.bak“";
    QTest::newRow("window gone under the question") << true << "fensterWeg" << false << false << frage;
}

void TestUmwandlung::schritte()
{
    QFETCH(bool, access);
    QFETCH(QString, fall);
    QFETCH(bool, weiter);
    QFETCH(bool, umgewandelt);
    QFETCH(QString, letzte);
    TestUmgebung env;
    const QString name = QStringLiteral("Fragen.mdb");
    const QString pfad = access ? env.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), name)
                                : env.erzeugeFragen(name, TestUmgebung::fragenJeStufe());
    const std::unique_ptr<Recordset> rec = oeffneFuerEditor(pfad);
    QVERIFY(rec);
    if (fall == QLatin1String("kurz"))
        env.schreibeDatei(name, liesBytes(pfad).left(4096));
    const QByteArray original = liesBytes(pfad);

    QPointer<QWidget> fenster = new QWidget;
    env.meldungen.antworten << QMessageBox::Yes;
    if (fall == QLatin1String("fensterWeg"))
        env.meldungen.beimZeigen = [&](const Meldung &) { delete fenster.data(); };
    int geoeffnet = 0;
    const bool ergebnis = Umwandlung::bereitZumAendern(fenster, rec.get(), pfad, [&] {
        ++geoeffnet;
        const std::unique_ptr<Recordset> neu = oeffneFuerEditor(pfad);
        if (fall == QLatin1String("wiederFehlt") || !neu || neu->activeConnection()->kind() != Connection::Kind::Sqlite)
            return StoreError(QStringLiteral("nicht wieder geöffnet"));
        return StoreError();
    });
    delete fenster.data();

    QCOMPARE(ergebnis, weiter);
    QCOMPARE(geoeffnet, umgewandelt ? 1 : 0);
    const QStringList sicherungen = QDir(env.verzeichnis()).entryList({QStringLiteral("*.bak")}, QDir::Files);
    if (umgewandelt) {
        QCOMPARE(sicherungen, QStringList{QStringLiteral("Fragen.mdb.jet.bak")});
        QCOMPARE(liesBytes(env.datei(sicherungen.first())), original);
    } else {
        QCOMPARE(sicherungen, QStringList());
        QCOMPARE(liesBytes(pfad), original);
    }
    QCOMPARE(env.meldungen.gezeigt.isEmpty(), letzte.isEmpty());
    if (!letzte.isEmpty())
        QVERIFY2(env.meldungen.texte().last().startsWith(letzte), qPrintable(env.meldungen.texte().last()));
}

QTEST_MAIN(TestUmwandlung)
#include "tst_umwandlung.moc"
