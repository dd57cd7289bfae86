#include "basis/realservices.h"
#include "testservices.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray hash(const QString &pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

bool wartetAuf(const QString &pfad, int ms)
{
    for (int t = 0; t < ms; t += 50) {
        if (QFileInfo::exists(pfad))
            return true;
        QTest::qWait(50);
    }
    return false;
}
}

class TestInstall : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    // The installed tree: program, collection and helper in one folder, launcher, menu entry, icons, metainfo.
    void installierterBaum();
    // Menu entry and AppStream description pass their validators.
    void validatoren();
    // A writable program folder is the application directory.
    void beschreibbarerProgrammordner();
    // An unwritable program folder: the per-user folder, with the default collection copied once.
    void gestartetOhneSchreibrecht();

private:
    QTemporaryDir m_prefix;
    QString m_appDir;
};

void TestInstall::initTestCase()
{
    QProcess install;
    install.start(QStringLiteral("cmake"), {QStringLiteral("--install"), QStringLiteral(KREIDOLIN_BUILD_DIR),
                                            QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
    m_appDir = m_prefix.filePath(QStringLiteral("lib/kreidolin"));
}

void TestInstall::installierterBaum()
{
    const QFileInfo launcher(m_prefix.filePath(QStringLiteral("bin/kreidolin")));
    QVERIFY(launcher.isSymLink());
    QCOMPARE(launcher.canonicalFilePath(), QFileInfo(m_appDir + QStringLiteral("/kreidolin")).canonicalFilePath());
    QVERIFY(QFileInfo(m_appDir + QStringLiteral("/kreidolin")).isExecutable());
    QCOMPARE(hash(m_appDir + QStringLiteral("/Fragen.mdb")), hash(QStringLiteral(KREIDOLIN_BUILT_FRAGEN)));
    if (QFileInfo::exists(QStringLiteral(KREIDOLIN_BUILD_DIR "/kreidolin-mdb")))
        QVERIFY(QFileInfo(m_appDir + QStringLiteral("/kreidolin-mdb")).isExecutable());
    for (const char *datei : {"share/applications/kreidolin.desktop",
                              "share/metainfo/example.kreidolin.Kreidolin.metainfo.xml",
                              "share/icons/hicolor/scalable/apps/kreidolin.svg",
                              "share/icons/hicolor/16x16/apps/kreidolin.png",
                              "share/icons/hicolor/48x48/apps/kreidolin.png",
                              "share/icons/hicolor/256x256/apps/kreidolin.png"})
        QVERIFY2(QFileInfo(m_prefix.filePath(QString::fromLatin1(datei))).size() > 0, datei);
}

void TestInstall::validatoren()
{
    for (const auto &[programm, argumente] :
         {std::pair{QStringLiteral("desktop-file-validate"),
                    QStringList{m_prefix.filePath(QStringLiteral("share/applications/kreidolin.desktop"))}},
          std::pair{QStringLiteral("appstreamcli"),
                    QStringList{QStringLiteral("validate"), QStringLiteral("--no-net"),
                                m_prefix.filePath(QStringLiteral(
                                    "share/metainfo/example.kreidolin.Kreidolin.metainfo.xml"))}}}) {
        if (QStandardPaths::findExecutable(programm).isEmpty())
            QSKIP("validator not installed");
        QProcess p;
        p.start(programm, argumente);
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, (p.readAllStandardOutput() + p.readAllStandardError()).constData());
    }
}

void TestInstall::beschreibbarerProgrammordner()
{
    QTemporaryDir ordner;
    QCOMPARE(RealAppDirectory(ordner.path()).path(), ordner.path());
}

void TestInstall::gestartetOhneSchreibrecht()
{
    SchreibschutzOrdner schutz(m_appDir);
    if (!schutz.aktiv())
        QSKIP("cannot make a folder read-only here");
    QTemporaryDir home;
    const QString daten = home.filePath(QStringLiteral("daten"));
    const QString kopie = daten + QStringLiteral("/kreidolin/Fragen.mdb");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), daten);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    auto starte = [&](const QString &warteAuf) {
        QProcess programm;
        programm.setProcessEnvironment(env);
        programm.start(m_prefix.filePath(QStringLiteral("bin/kreidolin")), {});
        QVERIFY(programm.waitForStarted());
        const bool da = wartetAuf(warteAuf, 10000);
        QTest::qWait(300);
        QCOMPARE(programm.state(), QProcess::Running); // started and waiting for the pupil
        programm.kill();
        programm.waitForFinished();
        QVERIFY(da);
    };
    starte(kopie);
    QCOMPARE(hash(kopie), hash(m_appDir + QStringLiteral("/Fragen.mdb")));
    QVERIFY(QFileInfo(kopie).isWritable());

    // A teacher's changes to the copy survive the next start.
    QFile f(kopie);
    QVERIFY(f.open(QIODevice::Append));
    f.write("x");
    f.close();
    const QByteArray geaendert = hash(kopie);
    starte(kopie);
    QCOMPARE(hash(kopie), geaendert);
    QVERIFY(!QFileInfo::exists(m_appDir + QStringLiteral("/highscore.dtt")));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
