#pragma once

#include <QString>
#include <QTemporaryDir>

// A throwaway PostgreSQL cluster in a temporary folder, for one test
// program: initdb, pg_ctl start on a free port of 127.0.0.1, stopped and
// removed at the end. PostgreSQL refuses to run as root, so under root the
// server runs as "nobody" in a folder given to it. The superuser "postgres"
// logs in without a password; the logins "lehrer" and "schueler" (teacher
// and pupil role of data/server.sql) with the password "geheim", which
// only the program's password question supplies.
class PgCluster {
public:
    // sicher: every commit reaches the disk (the benchmark); the tests run without.
    explicit PgCluster(bool sicher = false);
    ~PgCluster();

    // Empty when the cluster runs; otherwise why not (binaries missing ...).
    QString grund() const { return m_grund; }
    int port() const { return m_port; }
    // "postgresql://127.0.0.1:<port>/kreidolin?user=<benutzer>"
    QString adresse(const QString &benutzer) const;

    bool starte();
    bool stoppe();
    // Runs SQL as "postgres" in database kreidolin through psql; false when
    // psql failed. The output comes without headers, fields split by "|".
    bool psql(const QString &sql, QString *ausgabe = nullptr) const;
    QString psqlProgramm() const;

private:
    bool laufe(const QStringList &befehl, QString *ausgabe = nullptr) const;

    QTemporaryDir m_dir;
    QString m_bin;
    QString m_grund;
    int m_port = 0;
    bool m_root = false;
    bool m_sicher = false;
};
