#include "klasse/klassenrunde.h"

#include "klasse/klassennachricht.h"
#include "klasse/klassenserver.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkInterface>

namespace {
QJsonObject nachricht(const char *art) { return QJsonObject{{QStringLiteral("art"), QLatin1String(art)}}; }

// The computer's address the pupils' devices can reach: the first IPv4
// address of an interface that is up and not the loopback.
QHostAddress netzAdresse()
{
    for (const QNetworkInterface &n : QNetworkInterface::allInterfaces()) {
        const auto flags = n.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning)
            || (flags & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &e : n.addressEntries()) {
            if (e.ip().protocol() == QAbstractSocket::IPv4Protocol)
                return e.ip();
        }
    }
    return QHostAddress(QHostAddress::LocalHost);
}
}

Klassenrunde::Klassenrunde(QObject *parent) : QObject(parent)
{
    m_uhr.setInterval(1000);
    connect(&m_uhr, &QTimer::timeout, this, &Klassenrunde::tick);
}

Klassenrunde::~Klassenrunde() = default;

bool Klassenrunde::einschalten(const Einstellung &einstellung)
{
    ausschalten();
    auto server = std::make_unique<KlassenServer>(KlassenServer::Grenzen{einstellung.geraete, 4});
    if (!server->starte(einstellung.adresse, einstellung.port)) {
        m_fehler = server->fehler();
        return false;
    }
    m_fehler.clear();
    m_adresse = einstellung.adresse == QHostAddress(QHostAddress::Any)
            || einstellung.adresse == QHostAddress(QHostAddress::AnyIPv4)
        ? netzAdresse()
        : einstellung.adresse;
    m_server = std::move(server);
    connect(m_server.get(), &KlassenServer::geraetDa, this, &Klassenrunde::neuesGeraet);
    connect(m_server.get(), &KlassenServer::geraetWeg, this, &Klassenrunde::geraetWeg);
    connect(m_server.get(), &KlassenServer::wahl, this, &Klassenrunde::waehle);
    Q_EMIT geraeteGeaendert(0);
    return true;
}

void Klassenrunde::ausschalten()
{
    if (!m_server)
        return;
    m_uhr.stop();
    m_stimme.clear();
    m_wahl.clear();
    m_server.reset();
    Q_EMIT geraeteGeaendert(0);
}

QString Klassenrunde::adresse() const
{
    if (!m_server)
        return {};
    QString host = m_adresse.toString();
    if (m_adresse.protocol() == QAbstractSocket::IPv6Protocol)
        host = QLatin1Char('[') + host + QLatin1Char(']');
    return QStringLiteral("http://%1:%2/%3/").arg(host).arg(m_server->port()).arg(m_server->code());
}

quint16 Klassenrunde::port() const { return m_server ? m_server->port() : 0; }
int Klassenrunde::geraete() const { return m_server ? m_server->geraete() : 0; }

QJsonObject Klassenrunde::frageNachricht() const
{
    if (!m_frageDa)
        return nachricht("ruhe");
    QJsonArray felder;
    for (int feld = 0; feld < 3; ++feld)
        felder.append(m_frage.gestrichen[feld] ? QJsonValue() : QJsonValue(m_frage.felder[feld]));
    QJsonObject o = nachricht("frage");
    o.insert(QStringLiteral("frage"), m_nummer);
    o.insert(QStringLiteral("text"), m_frage.text);
    o.insert(QStringLiteral("felder"), felder);
    o.insert(QStringLiteral("abstimmung"), m_uhr.isActive());
    return o;
}

void Klassenrunde::frageZeigen(const Klassenfrage &frage)
{
    if (m_uhr.isActive())
        beende();
    m_frage = frage;
    m_frageDa = true;
    m_entschieden = false;
    ++m_nummer;
    m_wahl.clear();
    m_stimme.clear();
    if (m_server)
        m_server->sendeAllen(frageNachricht());
}

void Klassenrunde::streiche(int feld)
{
    if (feld < 0 || feld > 2 || !m_frageDa)
        return;
    m_frage.gestrichen[feld] = true;
    if (m_server)
        m_server->sendeAllen(frageNachricht());
}

void Klassenrunde::abstimmungStarten(int sekunden)
{
    if (!m_server || !m_frageDa)
        return;
    m_stimme.clear();
    m_rest = std::max(sekunden, 1);
    m_uhr.start();
    m_server->sendeAllen(frageNachricht());
    Q_EMIT countdownGeaendert(m_rest);
    Q_EMIT stimmenGeaendert(0, geraete());
}

void Klassenrunde::abstimmungSchliessen()
{
    if (m_uhr.isActive())
        beende();
}

void Klassenrunde::tick()
{
    --m_rest;
    Q_EMIT countdownGeaendert(m_rest);
    if (m_rest <= 0)
        beende();
}

void Klassenrunde::pruefeEnde()
{
    if (m_uhr.isActive() && geraete() > 0 && stimmen() >= geraete()) {
        // Every joined device has voted.
        bool alle = true;
        for (const QString &g : m_server->geraeteListe())
            alle = alle && m_stimme.contains(g);
        if (alle)
            beende();
    }
}

void Klassenrunde::beende()
{
    m_uhr.stop();
    m_rest = 0;
    Klassenergebnis e;
    for (const int feld : std::as_const(m_stimme))
        ++e.stimmen[m_frage.antwort[feld]];
    e.anteile = Klassennachricht::anteile(e.stimmen);
    if (m_server) {
        QJsonObject o = nachricht("ergebnis");
        o.insert(QStringLiteral("frage"), m_nummer);
        o.insert(QStringLiteral("stimmen"), e.summe());
        QJsonArray felder;
        for (int feld = 0; feld < 3; ++feld)
            felder.append(e.summe() ? e.anteile[m_frage.antwort[feld]] : 0);
        o.insert(QStringLiteral("anteile"), felder);
        m_server->sendeAllen(o);
    }
    Q_EMIT abstimmungBeendet(e);
}

void Klassenrunde::verdikt()
{
    if (m_uhr.isActive())
        beende();
    // A pick after the verdict would be hindsight.
    m_entschieden = true;
    int richtig = 0;
    for (auto it = m_wahl.cbegin(); it != m_wahl.cend(); ++it) {
        const bool r = m_frage.antwort[it.value()] == 0;
        richtig += r;
        if (m_server) {
            QJsonObject o = nachricht("urteil");
            o.insert(QStringLiteral("frage"), m_nummer);
            o.insert(QStringLiteral("richtig"), r);
            m_server->sende(it.key(), o);
        }
    }
    Q_EMIT mitgeantwortet(richtig, int(m_wahl.size()));
}

void Klassenrunde::ruhe()
{
    m_uhr.stop();
    m_frageDa = false;
    if (m_server)
        m_server->sendeAllen(nachricht("ruhe"));
}

void Klassenrunde::neuesGeraet(const QString &geraet)
{
    QJsonObject o = frageNachricht();
    // A device back after a lost connection sees its own pick again.
    if (m_wahl.contains(geraet))
        o.insert(QStringLiteral("gewaehlt"), m_wahl.value(geraet));
    if (m_stimme.contains(geraet))
        o.insert(QStringLiteral("gestimmt"), true);
    m_server->sende(geraet, o);
    Q_EMIT geraeteGeaendert(geraete());
    if (m_uhr.isActive())
        Q_EMIT stimmenGeaendert(stimmen(), geraete());
}

void Klassenrunde::geraetWeg(const QString &)
{
    Q_EMIT geraeteGeaendert(geraete());
    if (m_uhr.isActive()) {
        Q_EMIT stimmenGeaendert(stimmen(), geraete());
        pruefeEnde();
    }
}

void Klassenrunde::waehle(const QString &geraet, int frage, int feld)
{
    QJsonObject antwort = nachricht("abgelehnt");
    antwort.insert(QStringLiteral("frage"), frage);
    if (!m_frageDa || m_entschieden || frage != m_nummer || m_frage.gestrichen[feld]) {
        antwort.insert(QStringLiteral("grund"), QStringLiteral("Diese Frage ist nicht mehr offen."));
        m_server->sende(geraet, antwort);
        return;
    }
    const bool stimmt = m_uhr.isActive() && !m_stimme.contains(geraet);
    if (!stimmt && m_wahl.contains(geraet)) {
        antwort.insert(QStringLiteral("grund"), QStringLiteral("Du hast schon gewählt."));
        m_server->sende(geraet, antwort);
        return;
    }
    // The first pick is the device's answer along; a vote is also one.
    if (!m_wahl.contains(geraet))
        m_wahl.insert(geraet, feld);
    QJsonObject ok = nachricht("angekommen");
    ok.insert(QStringLiteral("frage"), frage);
    ok.insert(QStringLiteral("feld"), feld);
    m_server->sende(geraet, ok);
    if (stimmt) {
        m_stimme.insert(geraet, feld);
        Q_EMIT stimmenGeaendert(stimmen(), geraete());
        pruefeEnde();
    }
}
