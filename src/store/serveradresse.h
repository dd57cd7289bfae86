#pragma once

#include <QString>

#include <optional>

// Where a question collection lives on a PostgreSQL server, as the settings
// line names it: "postgresql://host[:port]/dbname?user=name". A password is
// never part of it; it comes from the user's password file or is asked.
struct ServerAdresse {
    QString host;
    int port = 5432;
    QString datenbank;
    QString benutzer;
    bool operator==(const ServerAdresse &o) const
    {
        return host == o.host && port == o.port && datenbank == o.datenbank && benutzer == o.benutzer;
    }
};

namespace Serveradresse {
// The settings line names a server, not a file. A path never starts with the
// scheme, so every settings file of before reads as a path still.
bool istServer(const QString &zeile);
// The parts of the line; nothing, and the reason in German, when the line is
// no address the program can use.
std::optional<ServerAdresse> zerlege(const QString &zeile, QString *grund = nullptr);
// The line for the parts; zerlege() reads it back to the same parts.
QString text(const ServerAdresse &adresse);
// "host:port/datenbank", for messages.
QString kurz(const ServerAdresse &adresse);
}
