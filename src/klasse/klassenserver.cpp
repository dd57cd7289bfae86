#include "klasse/klassenserver.h"

#include "klasse/klassennachricht.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QUrlQuery>
#include <QWebSocket>

namespace {
using Teil = Klassennachricht::Teil;

QByteArray datei(const char *name)
{
    QFile f(QLatin1String(":/res/klasse/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The page may load only itself and talk only to its own server; no other
// site may frame it, and no browser may guess another type for it.
void antworte(QHttpServerResponder &&antwort, const QByteArray &inhalt, const QByteArray &art,
              QHttpServerResponder::StatusCode status)
{
    antwort.write(inhalt,
                  {{"Content-Type", art},
                   {"Content-Security-Policy",
                    "default-src 'none'; script-src 'self'; style-src 'self'; connect-src 'self'; "
                    "img-src data:; base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
                   {"X-Content-Type-Options", "nosniff"},
                   {"X-Frame-Options", "DENY"},
                   {"Referrer-Policy", "no-referrer"},
                   {"Cache-Control", "no-store"}},
                  status);
}

QByteArray ablehnung()
{
    return QByteArrayLiteral("<!DOCTYPE html><html lang=\"de\"><head><meta charset=\"utf-8\">"
                             "<meta name=\"viewport\" content=\"width=device-width\"><title>Kreidolin</title></head>"
                             "<body><h1>Falscher Code</h1><p>Diese Adresse gehört zu keiner laufenden Abstimmung. "
                             "Scanne den QR-Code an der Tafel noch einmal.</p></body></html>");
}

constexpr int kBurst = 8;
}

KlassenServer::KlassenServer(const Grenzen &grenzen, QObject *parent)
    : QAbstractHttpServer(parent), m_grenzen(grenzen), m_code(Klassennachricht::neuerCode())
{
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, &KlassenServer::nimmVerbindungen);
}

KlassenServer::~KlassenServer()
{
    // The devices learn the lesson's end instead of waiting on a dead line.
    for (QWebSocket *s : std::as_const(m_sockets)) {
        s->disconnect(this);
        s->close(QWebSocketProtocol::CloseCodeGoingAway, QStringLiteral("Die Abstimmung ist beendet."));
        delete s;
    }
}

bool KlassenServer::starte(const QHostAddress &adresse, quint16 port)
{
    m_tcp = new QTcpServer(this);
    if (!m_tcp->listen(adresse, port)) {
        m_fehler = m_tcp->serverError() == QAbstractSocket::AddressInUseError
            ? QStringLiteral("Der Port %1 ist schon belegt. Wähle in den Einstellungen des Klassenzimmers einen "
                             "anderen oder beende das Programm, das ihn benutzt.")
                  .arg(port)
            : QStringLiteral("Die Abstimmung kann nicht starten: %1").arg(m_tcp->errorString());
        delete m_tcp;
        m_tcp = nullptr;
        return false;
    }
    bind(m_tcp);
    return true;
}

quint16 KlassenServer::port() const { return m_tcp ? m_tcp->serverPort() : 0; }

bool KlassenServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    // A WebSocket upgrade is taken as handled without an answer: the
    // server's own handshake follows, and the code is checked on the socket.
    if (request.value(QByteArrayLiteral("upgrade")).compare("websocket", Qt::CaseInsensitive) == 0)
        return true;
    if (request.method() != QHttpServerRequest::Method::Get)
        return false;
    QHttpServerResponder antwort = makeResponder(request, socket);
    using S = QHttpServerResponder::StatusCode;
    switch (Klassennachricht::liesPfad(request.url().path(), m_code)) {
    case Teil::Seite:
        antworte(std::move(antwort), datei("seite.html"), "text/html; charset=utf-8", S::Ok);
        break;
    case Teil::Skript:
        antworte(std::move(antwort), datei("seite.js"), "text/javascript; charset=utf-8", S::Ok);
        break;
    case Teil::Stil:
        antworte(std::move(antwort), datei("seite.css"), "text/css; charset=utf-8", S::Ok);
        break;
    case Teil::FalscherCode:
        antworte(std::move(antwort), ablehnung(), "text/html; charset=utf-8", S::Forbidden);
        break;
    case Teil::Verbindung:
    case Teil::Unbekannt:
        antworte(std::move(antwort), QByteArrayLiteral("Nicht gefunden"), "text/plain; charset=utf-8",
                 S::NotFound);
        break;
    }
    return true;
}

void KlassenServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    antworte(makeResponder(request, socket), QByteArrayLiteral("Nicht erlaubt"), "text/plain; charset=utf-8",
             QHttpServerResponder::StatusCode::MethodNotAllowed);
}

void KlassenServer::nimmVerbindungen()
{
    while (hasPendingWebSocketConnections()) {
        std::unique_ptr<QWebSocket> s = nextPendingWebSocketConnection();
        if (s)
            nimm(s.release());
    }
}

void KlassenServer::nimm(QWebSocket *socket)
{
    socket->setParent(this);
    socket->setMaxAllowedIncomingFrameSize(Klassennachricht::kGroesste);
    socket->setMaxAllowedIncomingMessageSize(Klassennachricht::kGroesste);
    const QUrl url = socket->requestUrl();
    const auto schliesse = [socket](QWebSocketProtocol::CloseCode grund, const QString &text) {
        socket->close(grund, text);
        socket->deleteLater();
    };
    if (Klassennachricht::liesPfad(url.path(), m_code) != Teil::Verbindung) {
        schliesse(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("Falscher Code"));
        return;
    }
    // Another site's page in a pupil's browser must not vote in the class's name.
    const QUrl herkunft(socket->origin());
    if (!socket->origin().isEmpty() && (herkunft.host() != url.host() || herkunft.port(80) != url.port(80))) {
        schliesse(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("Fremde Seite"));
        return;
    }
    if (m_sockets.size() >= m_grenzen.geraete) {
        schliesse(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("Die Klasse ist voll."));
        return;
    }
    QString geraet = Klassennachricht::liesToken(QUrlQuery(url).queryItemValue(QStringLiteral("geraet")));
    if (geraet.isEmpty() || !m_bekannt.contains(geraet) || m_sockets.contains(geraet))
        geraet = Klassennachricht::neuesToken();
    // Devices coming and going without end must not fill the memory.
    if (m_bekannt.size() >= 10 * m_grenzen.geraete) {
        const QList<QString> da = m_sockets.keys();
        m_bekannt = QSet<QString>(da.begin(), da.end());
    }
    m_bekannt.insert(geraet);
    m_sockets.insert(geraet, socket);
    Takt &takt = m_takt[geraet];
    takt.guthaben = kBurst;
    takt.uhr.start();
    connect(socket, &QWebSocket::textMessageReceived, this,
            [this, socket, geraet](const QString &text) { empfange(socket, geraet, text); });
    connect(socket, &QWebSocket::binaryMessageReceived, socket, [socket] {
        socket->close(QWebSocketProtocol::CloseCodeDatatypeNotSupported);
    });
    connect(socket, &QWebSocket::disconnected, this, [this, socket, geraet] { weg(socket, geraet); });
    sende(geraet, QJsonObject{{QStringLiteral("art"), QStringLiteral("willkommen")},
                              {QStringLiteral("geraet"), geraet}});
    Q_EMIT geraetDa(geraet);
}

void KlassenServer::empfange(QWebSocket *socket, const QString &geraet, const QString &text)
{
    Takt &takt = m_takt[geraet];
    takt.guthaben = std::min<double>(kBurst, takt.guthaben + takt.uhr.restart() * m_grenzen.nachrichtenJeSekunde / 1000.0);
    if (takt.guthaben < 1) {
        socket->sendTextMessage(QStringLiteral("{\"art\":\"langsam\"}"));
        return;
    }
    takt.guthaben -= 1;
    const Klassennachricht::Wahl w = Klassennachricht::liesWahl(text.toUtf8());
    if (!w.gueltig) {
        socket->sendTextMessage(QStringLiteral("{\"art\":\"unverstanden\"}"));
        return;
    }
    Q_EMIT wahl(geraet, w.frage, w.feld);
}

void KlassenServer::weg(QWebSocket *socket, const QString &geraet)
{
    if (m_sockets.value(geraet) == socket) {
        m_sockets.remove(geraet);
        m_takt.remove(geraet);
        Q_EMIT geraetWeg(geraet);
    }
    socket->deleteLater();
}

void KlassenServer::sende(const QString &geraet, const QJsonObject &nachricht)
{
    if (QWebSocket *s = m_sockets.value(geraet))
        s->sendTextMessage(QString::fromUtf8(QJsonDocument(nachricht).toJson(QJsonDocument::Compact)));
}

void KlassenServer::sendeAllen(const QJsonObject &nachricht)
{
    const QString text = QString::fromUtf8(QJsonDocument(nachricht).toJson(QJsonDocument::Compact));
    for (QWebSocket *s : std::as_const(m_sockets))
        s->sendTextMessage(text);
}
