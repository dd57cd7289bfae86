// The program killed in the middle of its writes: the settings file, the
// highscore file and the question database are each whole afterwards. The
// kills hit a copy of this test program that runs one writer in a loop.

#include "testservices.h"

#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

#include <cstdio>

namespace {
// Version k of a text: its length varies, so that writes often cross a page.
QString version(const QString &art, qint64 k)
{
    return art + QString::number(k) + QLatin1Char('-') + QString(int(k * 397 % 1500), QLatin1Char('x'));
}

// The writer under test: one write after another until it is killed.
int schreibschleife(char **argv)
{
    const QString art = QString::fromLocal8Bit(argv[2]);
    const QString ordner = QString::fromLocal8Bit(argv[3]);
    const qint64 start = QByteArray(argv[4]).toLongLong();
    Recordset rs;
    if (art == QLatin1String("editor") && oeffne(rs, ordner + QStringLiteral("/Fragen.mdb"), true))
        return 3;
    for (qint64 k = start;; ++k) {
        StoreError e;
        if (art == QLatin1String("einstellungen")) {
            e = SettingsFile::schreibe(ordner + QStringLiteral("/Kreidolin.ini"), version(QStringLiteral("/a"), k % 2));
        } else if (art == QLatin1String("highscore")) {
            e = Highscore::anhaengen(ordner + QStringLiteral("/highscore.dtt"), version(QStringLiteral("S"), k), 7);
        } else {
            // By turns the first question changed and a new one, all five fields of one version.
            e = k % 2 ? rs.addNew() : rs.moveFirst();
            for (const char *spalte : {"Frage", "Loesung", "Antwort1", "Antwort2"})
                e = e ? e : rs.setValue(QLatin1String(spalte), version(QStringLiteral("v"), k));
            e = e ? e : rs.setValue(QStringLiteral("Stufe"), k % 15 + 1);
            e = e ? e : rs.update();
        }
        if (e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.text()));
            return 3;
        }
        if (k == start) {
            std::fputs("bereit\n", stdout);
            std::fflush(stdout);
        }
    }
}
}

class TestAbbruch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // After every kill the file holds one whole version, and at most "<file>.neu" lies beside it.
    void toeten_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<int>("anzahl");
        QTest::newRow("settings file") << "einstellungen" << 60;
        QTest::newRow("highscore file") << "highscore" << 60;
        QTest::newRow("editor's store") << "editor" << 25;
    }
    void toeten()
    {
        QFETCH(QString, art);
        QFETCH(int, anzahl);
        TestUmgebung u;
        const QString fragen = u.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(1));
        QRandomGenerator zufall(4711);
        int zeilenVorher = 0;
        for (int n = 0; n < anzahl; ++n) {
            QProcess p;
            p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--schreibschleife"), art, u.verzeichnis(),
                                                              QString::number(qint64(n + 1) * 1000000)});
            QByteArray aus;
            while (!aus.contains("bereit") && p.waitForReadyRead(20000))
                aus += p.readAllStandardOutput();
            QVERIFY2(aus.contains("bereit"), p.readAllStandardError().constData());
            QThread::usleep(zufall.bounded(art == QLatin1String("editor") ? 40000 : 15000));
            p.kill();
            QVERIFY(p.waitForFinished(10000) && p.exitStatus() == QProcess::CrashExit);

            static const QRegularExpression erlaubt(QStringLiteral("^(Fragen\\.mdb|Kreidolin\\.ini|highscore\\.dtt)(\\.neu|-journal|\\.lock)?$"));
            for (const QString &d : QDir(u.verzeichnis()).entryList(QDir::Files))
                QVERIFY2(erlaubt.match(d).hasMatch(), qPrintable(d));
            QStringList texte; // every whole value read back, to be each one whole version
            if (art == QLatin1String("einstellungen")) {
                texte << SettingsFile::lies(AppInfo::einstellungsdatei()).value_or(QString());
            } else if (art == QLatin1String("highscore")) {
                // A line the kill broke off is not read; the next writer cut the one before.
                for (const Highscore::Eintrag &e : Highscore::lies(u.datei(QStringLiteral("highscore.dtt"))).eintraege)
                    texte << e.name;
                QCOMPARE(texte.size(), u.liesDatei(QStringLiteral("highscore.dtt")).count('\n'));
                QVERIFY(texte.size() > zeilenVorher);
                zeilenVorher = texte.size();
            } else {
                Recordset rs;
                QVERIFY(!oeffne(rs, fragen, false));
                QVERIFY(rs.recordCount() >= zeilenVorher);
                zeilenVorher = rs.recordCount();
                for (int z = 0; z < rs.recordCount(); ++z) {
                    rs.setCurrentIndex(z);
                    const QString frage = rs.value(0).toString();
                    if (frage.startsWith(QLatin1String("Frage S")))
                        continue;
                    for (int i = 1; i < 4; ++i)
                        QCOMPARE(rs.value(i).toString(), frage);
                    texte << frage;
                }
            }
            static const QRegularExpression ganz(QStringLiteral("^(/a|S|v)(\\d+)-(x*)$"));
            for (const QString &t : std::as_const(texte)) {
                const auto m = ganz.match(t);
                QVERIFY2(m.hasMatch() && t == version(m.captured(1), m.captured(2).toLongLong()), qPrintable(t.left(40)));
            }
        }
    }
    // An append broken off in its line: the list never shows the rest, and the next append cuts it away.
    void abgebrochen()
    {
        TestUmgebung u;
        const QString pfad = u.datei(QStringLiteral("highscore.dtt"));
        u.schreibeDatei(QStringLiteral("highscore.dtt"), "Anna | 15\r\nBerta | 1");
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--sperre"), pfad});
        QVERIFY(p.waitForReadyRead(20000));
        p.kill();
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(Highscore::lies(pfad).eintraege, (QVector<Highscore::Eintrag>{{"Anna", 15}}));
        QVERIFY(!Highscore::anhaengen(pfad, QStringLiteral("Clara"), 3));
        QCOMPARE(u.liesDatei(QStringLiteral("highscore.dtt")), QByteArray("Anna | 15\r\nClara | 3\r\n"));
    }
    // Several PCs appending to one highscore file at once: every line arrives once, whole.
    void gleichzeitig()
    {
        constexpr int kProzesse = 8, kZeilen = 40;
        TestUmgebung u;
        std::vector<std::unique_ptr<QProcess>> prozesse;
        for (int i = 0; i < kProzesse; ++i) {
            prozesse.push_back(std::make_unique<QProcess>());
            prozesse.back()->start(QCoreApplication::applicationFilePath(),
                                   {QStringLiteral("--anhaengen"), u.verzeichnis(), QString::number(i), QString::number(kZeilen)});
        }
        for (const auto &p : prozesse)
            QVERIFY2(p->waitForFinished(60000) && p->exitCode() == 0, p->readAllStandardError().constData());
        const QByteArray bytes = u.liesDatei(QStringLiteral("highscore.dtt"));
        QSet<QString> namen;
        for (const Highscore::Eintrag &e : Highscore::zerlege(bytes))
            namen.insert(e.name);
        QCOMPARE(bytes.count('\n'), kProzesse * kZeilen);
        QCOMPARE(namen.size(), kProzesse * kZeilen);
        for (int i = 0; i < kProzesse; ++i)
            QVERIFY(namen.contains(QStringLiteral("P%1-%2").arg(i).arg(kZeilen - 1)));
    }
};

int main(int argc, char **argv)
{
    if (argc == 5 && qstrcmp(argv[1], "--schreibschleife") == 0) {
        QCoreApplication app(argc, argv);
        return schreibschleife(argv);
    }
    if (argc == 5 && qstrcmp(argv[1], "--anhaengen") == 0) {
        QCoreApplication app(argc, argv);
        const QString pfad = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/highscore.dtt");
        for (int k = 0; k < QByteArray(argv[4]).toInt(); ++k) {
            if (Highscore::anhaengen(pfad, QStringLiteral("P%1-%2").arg(QLatin1String(argv[3])).arg(k), k % 16))
                return 3;
        }
        return 0;
    }
    if (argc == 3 && qstrcmp(argv[1], "--sperre") == 0) { // holds the lock until it is killed
        QCoreApplication app(argc, argv);
        QLockFile sperre(QString::fromLocal8Bit(argv[2]) + QStringLiteral(".lock"));
        std::puts(sperre.lock() ? "bereit" : "keine Sperre");
        std::fflush(stdout);
        QThread::sleep(60);
        return 0;
    }
    QApplication app(argc, argv);
    TestAbbruch tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_abbruch.moc"
