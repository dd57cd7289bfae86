// The installed program: its tree (the commands on the PATH, manual pages,
// the server's schema), its menu entry and description, and a start from a
// program folder it cannot write to.

#include "basis/realservices.h"
#include "testservices.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

class TestInstall : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Program, collection and reader in one folder, the launcher, menu entry, icons and description
    // (which pass their validators where they are installed).
    void installierterBaum()
    {
        QProcess install;
        install.start(QStringLiteral("cmake"), {QStringLiteral("--install"), QStringLiteral(KREIDOLIN_BUILD_DIR),
                                                QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY(install.waitForFinished(120000) && install.exitCode() == 0);
        // The admin's file in /etc belongs to the package; an install into a prefix never writes there.
        QVERIFY(!install.readAll().contains("/etc/"));
        const QString ordner = m_prefix.filePath(QStringLiteral("lib/kreidolin/"));
        for (const char *befehl : {"kreidolin", "kreidolin-fragen"})
            QCOMPARE(QFileInfo(m_prefix.filePath(QStringLiteral("bin/") + QLatin1String(befehl))).canonicalFilePath(),
                     QFileInfo(ordner + QLatin1String(befehl)).canonicalFilePath());
        QCOMPARE(liesBytes(m_prefix.filePath(QStringLiteral("share/kreidolin/server.sql"))),
                 liesBytes(QStringLiteral(KREIDOLIN_SOURCE_DIR "/data/server.sql")));
        for (const char *seite : {"kreidolin.1.gz", "kreidolin-fragen.1.gz"})
            QVERIFY2(QFileInfo(m_prefix.filePath(QStringLiteral("share/man/man1/") + QLatin1String(seite))).size() > 0, seite);
        QVERIFY(QFileInfo(ordner + QStringLiteral("kreidolin-mdb")).isExecutable());
        QCOMPARE(liesBytes(ordner + QStringLiteral("Fragen.mdb")), liesBytes(QStringLiteral(KREIDOLIN_BUILT_FRAGEN)));
        const QString desktop = m_prefix.filePath(QStringLiteral("share/applications/kreidolin.desktop"));
        const QString metainfo = m_prefix.filePath(QStringLiteral("share/metainfo/example.kreidolin.Kreidolin.metainfo.xml"));
        for (const char *icon : {"scalable/apps/kreidolin.svg", "16x16/apps/kreidolin.png", "256x256/apps/kreidolin.png"})
            QVERIFY2(QFileInfo(m_prefix.filePath(QStringLiteral("share/icons/hicolor/") + QLatin1String(icon))).size() > 0, icon);
        for (const QStringList &pruefung : {QStringList{"desktop-file-validate", desktop},
                                            QStringList{"appstreamcli", "validate", "--no-net", metainfo}}) {
            if (QStandardPaths::findExecutable(pruefung[0]).isEmpty())
                continue;
            QProcess p;
            p.start(pruefung[0], pruefung.mid(1));
            QVERIFY2(p.waitForFinished(60000) && p.exitCode() == 0, p.readAll().constData());
        }
    }
    // A writable program folder is the application directory; an unwritable one leads to the per-user
    // folder, with the default collection and the admin's settings copied there once and the teacher's
    // changes kept.
    void ohneSchreibrecht()
    {
        QTemporaryDir beschreibbar;
        QCOMPARE(RealAppDirectory(beschreibbar.path()).path(), beschreibbar.path());
        const QString ordner = m_prefix.filePath(QStringLiteral("lib/kreidolin"));
        QFile ini(ordner + QStringLiteral("/Kreidolin.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("/schule/Fragen.mdb\r\n") > 0);
        ini.close();
        SchreibschutzOrdner schutz(ordner);
        if (!schutz.aktiv())
            QSKIP("cannot make a folder read-only here");
        QTemporaryDir home;
        const QString kopie = home.filePath(QStringLiteral("daten/kreidolin/Fragen.mdb"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("daten")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (const QByteArray &anhang : {QByteArray(), QByteArray("x")}) {
            if (!anhang.isEmpty()) { // a teacher's change to the copy survives the next start
                QFile f(kopie);
                QVERIFY(f.open(QIODevice::Append) && f.write(anhang) == 1);
            }
            const QByteArray vorher = anhang.isEmpty() ? liesBytes(ordner + QStringLiteral("/Fragen.mdb")) : liesBytes(kopie);
            QProcess programm;
            programm.setProcessEnvironment(env);
            programm.start(m_prefix.filePath(QStringLiteral("bin/kreidolin")), {});
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(kopie), 10000);
            QTest::qWait(300);
            QCOMPARE(programm.state(), QProcess::Running); // started and waiting for the pupil
            programm.kill();
            programm.waitForFinished();
            QCOMPARE(liesBytes(kopie), vorher);
            QCOMPARE(liesBytes(home.filePath(QStringLiteral("daten/kreidolin/Kreidolin.ini"))), QByteArray("/schule/Fragen.mdb\r\n"));
        }
        QVERIFY(!QFileInfo::exists(ordner + QStringLiteral("/highscore.dtt")));
    }

private:
    QTemporaryDir m_prefix;
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
