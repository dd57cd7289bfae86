#include "pgcluster.h"

#include "store/server.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// A port no one listens on right now, chosen by the kernel.
int freierPort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0
        && ::getsockname(s, reinterpret_cast<sockaddr *>(&a), &n) == 0)
        port = ntohs(a.sin_port);
    ::close(s);
    return port;
}
}

PgCluster::PgCluster(bool sicher)
    : m_sicher(sicher)
{
    for (const QString &v : QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFileInfo(QStringLiteral("/usr/lib/postgresql/%1/bin/initdb").arg(v)).isExecutable())
            m_bin = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(v);
    }
    if (m_bin.isEmpty()) {
        m_grund = QStringLiteral("PostgreSQL is not installed (scripts/setup test installs it)");
        return;
    }
    m_root = ::geteuid() == 0;
    // The tests must not find the user's own passwords.
    qputenv("PGPASSFILE", QFile::encodeName(m_dir.filePath(QStringLiteral("pgpass"))));
    Server::vergissPasswoerter();
    if (m_root && !laufe({QStringLiteral("chown"), QStringLiteral("nobody"), m_dir.path()}, nullptr)) {
        m_grund = QStringLiteral("cannot hand the cluster folder to nobody");
        return;
    }
    if (!laufe({m_bin + QStringLiteral("initdb"), QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")),
                QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                QStringLiteral("--locale=C")})) {
        m_grund = QStringLiteral("initdb failed");
        return;
    }
    QFile hba(m_dir.filePath(QStringLiteral("data/pg_hba.conf")));
    hba.open(QIODevice::WriteOnly | QIODevice::Truncate);
    hba.write("local all all trust\nhost all postgres 127.0.0.1/32 trust\nhost all all 127.0.0.1/32 scram-sha-256\n");
    hba.close();
    m_port = freierPort();
    if (!starte()) {
        m_grund = QStringLiteral("pg_ctl start failed: ") + QString::fromLocal8Bit(
                      [this] { QFile l(m_dir.filePath(QStringLiteral("log"))); l.open(QIODevice::ReadOnly); return l.readAll(); }());
        return;
    }
    QFile schema(QStringLiteral(KREIDOLIN_SOURCE_DIR "/data/server.sql"));
    schema.open(QIODevice::ReadOnly);
    QProcess::execute(psqlProgramm(), {QStringLiteral("-qX"), QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                                       QStringLiteral("-p"), QString::number(m_port), QStringLiteral("-U"),
                                       QStringLiteral("postgres"), QStringLiteral("-c"),
                                       QStringLiteral("CREATE DATABASE kreidolin")});
    if (!psql(QString::fromUtf8(schema.readAll()))
        || !psql(QStringLiteral("CREATE ROLE lehrer LOGIN PASSWORD 'geheim' IN ROLE kreidolin_lehrer;"
                                "CREATE ROLE schueler LOGIN PASSWORD 'geheim' IN ROLE kreidolin_schueler;")))
        m_grund = QStringLiteral("the schema could not be created");
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

bool PgCluster::starte()
{
    return laufe({m_bin + QStringLiteral("pg_ctl"), QStringLiteral("start"), QStringLiteral("-w"), QStringLiteral("-D"),
                  m_dir.filePath(QStringLiteral("data")), QStringLiteral("-l"), m_dir.filePath(QStringLiteral("log")),
                  QStringLiteral("-o"),
                  QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=%3")
                      .arg(m_port)
                      .arg(m_dir.path(), m_sicher ? QStringLiteral("on") : QStringLiteral("off"))});
}

bool PgCluster::stoppe()
{
    return laufe({m_bin + QStringLiteral("pg_ctl"), QStringLiteral("stop"), QStringLiteral("-w"), QStringLiteral("-m"),
                  QStringLiteral("fast"), QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data"))});
}

QString PgCluster::psqlProgramm() const { return m_bin + QStringLiteral("psql"); }

bool PgCluster::psql(const QString &sql, QString *ausgabe) const
{
    QProcess p;
    p.start(psqlProgramm(), {QStringLiteral("-qXAt"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                             QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                             QString::number(m_port), QStringLiteral("-U"), QStringLiteral("postgres"),
                             QStringLiteral("-d"), QStringLiteral("kreidolin")});
    p.write(sql.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(60000);
    if (ausgabe)
        *ausgabe = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool PgCluster::laufe(const QStringList &befehl, QString *ausgabe) const
{
    QStringList argumente = befehl;
    QString programm = argumente.takeFirst();
    // The server's own programs run as nobody under root; chown itself not.
    if (m_root && programm.startsWith(m_bin)) {
        argumente.prepend(programm);
        argumente = QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--")} + argumente;
        programm = QStringLiteral("runuser");
    }
    QProcess p;
    p.setWorkingDirectory(m_dir.path());
    p.start(programm, argumente);
    p.waitForFinished(120000);
    if (ausgabe)
        *ausgabe = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
