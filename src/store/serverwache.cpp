#include "store/serverwache.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <libpq-fe.h>
#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace {
using Uhr = std::chrono::steady_clock;

struct Wache {
    int socket = -1;
    Uhr::time_point frist;
    bool abgelaufen = false;
};

// One thread for all connections of the program (the benchmark's clients
// each hold one); it sleeps until the nearest deadline.
class Waechter {
public:
    ~Waechter()
    {
        {
            std::lock_guard<std::mutex> lock(m_sperre);
            m_ende = true;
        }
        m_wecker.notify_all();
        if (m_faden.joinable())
            m_faden.join();
    }

    quint64 melde(Uhr::time_point frist)
    {
        std::lock_guard<std::mutex> lock(m_sperre);
        if (!m_faden.joinable())
            m_faden = std::thread([this] { wache(); });
        m_wachen[++m_zaehler] = Wache{-1, frist, false};
        m_wecker.notify_all();
        return m_zaehler;
    }
    void setzeSocket(quint64 nummer, int socket)
    {
        std::lock_guard<std::mutex> lock(m_sperre);
        Wache &w = m_wachen[nummer];
        w.socket = socket;
        if (w.abgelaufen && socket >= 0)
            ::shutdown(socket, SHUT_RDWR);
    }
    void entlasse(quint64 nummer)
    {
        std::lock_guard<std::mutex> lock(m_sperre);
        m_wachen.erase(nummer);
    }
    const Wache wie(quint64 nummer)
    {
        std::lock_guard<std::mutex> lock(m_sperre);
        return m_wachen[nummer];
    }

private:
    void wache()
    {
        std::unique_lock<std::mutex> lock(m_sperre);
        while (!m_ende) {
            const Uhr::time_point jetzt = Uhr::now();
            Uhr::time_point naechste = Uhr::time_point::max();
            for (auto &[nummer, w] : m_wachen) {
                if (w.abgelaufen)
                    continue;
                if (w.frist <= jetzt) {
                    w.abgelaufen = true;
                    // Only shut down, never closed: the descriptor stays
                    // libpq's until the connection is closed on its thread.
                    if (w.socket >= 0)
                        ::shutdown(w.socket, SHUT_RDWR);
                } else if (w.frist < naechste) {
                    naechste = w.frist;
                }
            }
            if (naechste == Uhr::time_point::max())
                m_wecker.wait(lock);
            else
                m_wecker.wait_until(lock, naechste);
        }
    }

    std::mutex m_sperre;
    std::condition_variable m_wecker;
    std::map<quint64, Wache> m_wachen;
    quint64 m_zaehler = 0;
    bool m_ende = false;
    std::thread m_faden;
};

Waechter &waechter()
{
    static Waechter w;
    return w;
}
}

ServerWache::ServerWache(int millisekunden)
    : m_nummer(waechter().melde(Uhr::now() + std::chrono::milliseconds(millisekunden)))
{
}

ServerWache::~ServerWache() { waechter().entlasse(m_nummer); }

void ServerWache::beobachte(const QSqlDatabase &db)
{
    int socket = -1;
    const QVariant griff = db.driver() ? db.driver()->handle() : QVariant();
    // Qt's driver hands out libpq's connection; its type name is the
    // struct's as the compiler normalised it.
    if (griff.isValid() && (qstrcmp(griff.typeName(), "PGconn*") == 0 || qstrcmp(griff.typeName(), "pg_conn*") == 0)) {
        if (PGconn *verbindung = *static_cast<PGconn *const *>(griff.constData()))
            socket = PQsocket(verbindung);
    }
    waechter().setzeSocket(m_nummer, socket);
}

bool ServerWache::abgelaufen() const { return waechter().wie(m_nummer).abgelaufen; }

int ServerWache::rest() const
{
    const auto bleibt = waechter().wie(m_nummer).frist - Uhr::now();
    return qMax<qint64>(0, std::chrono::duration_cast<std::chrono::milliseconds>(bleibt).count());
}
