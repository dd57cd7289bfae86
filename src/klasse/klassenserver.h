#pragma once

#include <QAbstractHttpServer>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QSet>
#include <QString>

class QJsonObject;
class QTcpServer;
class QWebSocket;

// Serves the class's page, its script and style, and a WebSocket per device,
// each only below the lesson's join code. Nothing is written anywhere; a
// device is known by a random token for as long as the server runs.
// Stopping the server is deleting it.
class KlassenServer : public QAbstractHttpServer {
    Q_OBJECT
public:
    struct Grenzen {
        int geraete = 60;
        // Messages a device may send per second, averaged over a burst of this many.
        int nachrichtenJeSekunde = 4;
    };

    explicit KlassenServer(const Grenzen &grenzen, QObject *parent = nullptr);
    ~KlassenServer() override;

    // Listens on the address and port (0: any free port). False with a
    // German reason in fehler() when it cannot.
    bool starte(const QHostAddress &adresse, quint16 port);
    QString fehler() const { return m_fehler; }
    quint16 port() const;
    QString code() const { return m_code; }
    int geraete() const { return int(m_sockets.size()); }
    QList<QString> geraeteListe() const { return m_sockets.keys(); }

    void sende(const QString &geraet, const QJsonObject &nachricht);
    void sendeAllen(const QJsonObject &nachricht);

Q_SIGNALS:
    // A device joined with this token (a new one, or its own again after a
    // lost connection) or left.
    void geraetDa(const QString &geraet);
    void geraetWeg(const QString &geraet);
    void wahl(const QString &geraet, int frage, int feld);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    struct Takt {
        double guthaben = 0;
        QElapsedTimer uhr;
    };
    void nimmVerbindungen();
    void nimm(QWebSocket *socket);
    void empfange(QWebSocket *socket, const QString &geraet, const QString &text);
    void weg(QWebSocket *socket, const QString &geraet);

    Grenzen m_grenzen;
    QString m_code;
    QString m_fehler;
    QTcpServer *m_tcp = nullptr;
    QHash<QString, QWebSocket *> m_sockets;
    QHash<QString, Takt> m_takt;
    // Tokens handed out in this lesson, so that a device that lost its
    // connection comes back as itself and keeps its one vote.
    QSet<QString> m_bekannt;
};
