#include "pgcluster.h"

#include "store/server.h"

#include <QDir>
#include <QProcess>
#include <QTcpServer>

PgCluster::PgCluster(bool sicher)
    : m_sicher(sicher)
{
    // A port no one listens on right now, chosen by the kernel, and free again for the cluster.
    QTcpServer frei;
    if (frei.listen(QHostAddress::LocalHost))
        m_port = frei.serverPort();
    frei.close();
    // The tests must not find the user's own passwords.
    qputenv("PGPASSFILE", QFile::encodeName(pgpass()));
    Server::vergissPasswoerter();
    if (!skript(QStringLiteral("init")))
        m_port = 0;
}

PgCluster::~PgCluster()
{
    if (m_port)
        stoppe();
}

QString PgCluster::adresse(const QString &benutzer) const
{
    return QStringLiteral("postgresql://127.0.0.1:%1/kreidolin?user=%2").arg(m_port).arg(benutzer);
}

bool PgCluster::skript(const QString &befehl)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("bash"), {QStringLiteral(KREIDOLIN_SOURCE_DIR "/tests/support/pgcluster.sh"), befehl,
                                     m_dir.path(), QString::number(m_port),
                                     m_sicher ? QStringLiteral("on") : QStringLiteral("off")});
    p.waitForFinished(120000);
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    m_grund = QString::fromLocal8Bit(p.readAll()).trimmed();
    return false;
}

QString PgCluster::psqlProgramm() const
{
    const QStringList versionen =
        QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return QStringLiteral("/usr/lib/postgresql/%1/bin/psql").arg(versionen.value(versionen.size() - 1));
}

bool PgCluster::psql(const QString &sql, QString *ausgabe) const
{
    QProcess p;
    p.start(psqlProgramm(), {QStringLiteral("-qXAt"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                             QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                             QString::number(m_port), QStringLiteral("-U"), QStringLiteral("postgres"),
                             QStringLiteral("-d"), QStringLiteral("kreidolin"), QStringLiteral("-c"), sql});
    p.waitForFinished(60000);
    if (ausgabe)
        *ausgabe = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

int PgCluster::proxy(QProcess &p, const QByteArray &vomProgramm, const QByteArray &vomServer, bool schweigen) const
{
    p.start(QStringLiteral("python3"),
            {QStringLiteral(KREIDOLIN_SOURCE_DIR "/tests/support/pgproxy.py"), QString::number(m_port),
             QString::fromLatin1(vomProgramm.toHex()), QString::fromLatin1(vomServer.toHex()),
             schweigen ? QStringLiteral("schweigen") : QStringLiteral("trennen")});
    return p.waitForReadyRead(10000) ? p.readLine().trimmed().toInt() : 0;
}
