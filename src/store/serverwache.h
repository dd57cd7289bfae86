#pragma once

#include <QtGlobal>

class QSqlDatabase;

// Bounds how long one server operation keeps the program waiting. Qt's
// driver waits on the server without a limit; when the time is up, the
// watching thread shuts the connection's socket down, and the call blocked
// in libpq returns as on a lost connection instead of waiting for a server
// that never answers.
class ServerWache {
public:
    explicit ServerWache(int millisekunden);
    ~ServerWache();
    ServerWache(const ServerWache &) = delete;
    ServerWache &operator=(const ServerWache &) = delete;

    // Watches the socket of db's connection (again after a reconnect).
    void beobachte(const QSqlDatabase &db);
    // The time ran out; the connection it watched is gone.
    bool abgelaufen() const;
    // Milliseconds left, at least 0.
    int rest() const;

private:
    quint64 m_nummer;
};
