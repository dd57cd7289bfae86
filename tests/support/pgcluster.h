#pragma once

#include <QString>
#include <QTemporaryDir>

class QProcess;

// A throwaway PostgreSQL cluster (tests/support/pgcluster.sh) in a temporary
// folder, started for one test program or benchmark and stopped at its end.
// The password file libpq reads is one of its own, empty at first.
class PgCluster {
public:
    // sicher: every commit reaches the disk (the benchmark); the tests run without.
    explicit PgCluster(bool sicher = false);
    ~PgCluster();

    // Empty when the cluster runs; otherwise why not.
    QString grund() const { return m_grund; }
    int port() const { return m_port; }
    // "postgresql://127.0.0.1:<port>/kreidolin?user=<benutzer>"
    QString adresse(const QString &benutzer) const;
    QString pgpass() const { return m_dir.filePath(QStringLiteral("pgpass")); }

    bool starte() { return skript(QStringLiteral("start")); }
    bool stoppe() { return skript(QStringLiteral("stop")); }
    // Runs SQL as postgres in database kreidolin; the output without
    // headers, fields split by "|".
    bool psql(const QString &sql, QString *ausgabe = nullptr) const;
    QString psqlProgramm() const;
    // A proxy in front of the cluster (pgproxy.py: cuts the connection at a mark, or falls silent) running
    // while p lives; its port, 0 when it did not start.
    int proxy(QProcess &p, const QByteArray &vomProgramm, const QByteArray &vomServer, bool schweigen) const;

private:
    bool skript(const QString &befehl);

    QTemporaryDir m_dir;
    QString m_grund;
    int m_port = 0;
    bool m_sicher = false;
};
