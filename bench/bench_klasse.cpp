// The class votes: sixty devices joined on loopback, each voting once, the
// time from a vote sent to the projector's count updated; the memory the
// devices cost; the bytes of the page.

#include "bench.h"

#include "klasse/klassenrunde.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QWebSocket>

#include <memory>

namespace {
using namespace Bench;

constexpr int kGeraete = 60;
constexpr int kRunden = 5;

long rssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &zeile : status.readAll().split('\n')) {
        if (zeile.startsWith("VmRSS:"))
            return zeile.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

template <class F>
bool warte(F &&bis)
{
    const double ende = jetztMs() + 10000;
    while (!bis()) {
        if (jetztMs() > ende)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// One device joined and gone first, so that the libraries' code and Qt's
// network set-up are in memory before the sixty are counted.
void aufwaermen()
{
    Klassenrunde runde;
    Klassenrunde::Einstellung e;
    e.adresse = QHostAddress(QHostAddress::LocalHost);
    e.port = 0;
    runde.einschalten(e);
    QWebSocket geraet;
    geraet.open(QUrl(QStringLiteral("ws") + runde.adresse().mid(4) + QStringLiteral("ws")));
    warte([&] { return runde.geraete() == 1; });
    QNetworkAccessManager netz;
    std::unique_ptr<QNetworkReply> antwort(netz.get(QNetworkRequest(QUrl(runde.adresse()))));
    warte([&] { return antwort->isFinished(); });
}

Ergebnis abstimmen(Kontext &)
{
    aufwaermen();
    const long vorher = rssKb();
    Klassenrunde runde;
    Klassenrunde::Einstellung e;
    e.adresse = QHostAddress(QHostAddress::LocalHost);
    e.port = 0;
    if (!runde.einschalten(e))
        qFatal("no class server: %s", qPrintable(runde.fehler()));
    int stimmen = 0;
    QObject::connect(&runde, &Klassenrunde::stimmenGeaendert, [&stimmen](int n, int) { stimmen = n; });

    std::vector<std::unique_ptr<QWebSocket>> geraete;
    for (int i = 0; i < kGeraete; ++i) {
        geraete.push_back(std::make_unique<QWebSocket>());
        geraete.back()->open(QUrl(QStringLiteral("ws") + runde.adresse().mid(4) + QStringLiteral("ws")));
    }
    if (!warte([&] { return runde.geraete() == kGeraete; }))
        qFatal("the devices did not join");

    Klassenfrage f;
    f.text = QStringLiteral("Eine Frage mit einem Text von ungefähr sechzig Zeichen Länge?");
    f.felder = {QStringLiteral("Lösung"), QStringLiteral("Falsch"), QStringLiteral("Anders")};
    QVector<double> zeiten;
    for (int r = 1; r <= kRunden; ++r) {
        runde.frageZeigen(f);
        runde.abstimmungStarten(600);
        stimmen = 0;
        for (int i = 0; i < kGeraete; ++i) {
            const QString wahl = QStringLiteral("{\"art\":\"wahl\",\"frage\":%1,\"feld\":%2}").arg(r).arg(i % 3);
            const double start = jetztMs();
            geraete[i]->sendTextMessage(wahl);
            if (!warte([&] { return stimmen == i + 1; }))
                qFatal("a vote was not counted");
            zeiten.append(jetztMs() - start);
        }
    }
    const long nachher = rssKb();

    QNetworkAccessManager netz;
    qint64 bytes = 0;
    for (const char *teil : {"", "seite.js", "seite.css"}) {
        std::unique_ptr<QNetworkReply> antwort(netz.get(QNetworkRequest(QUrl(runde.adresse() + QLatin1String(teil)))));
        warte([&] { return antwort->isFinished(); });
        bytes += antwort->readAll().size();
        for (const QNetworkReply::RawHeaderPair &kopf : antwort->rawHeaderPairs())
            bytes += kopf.first.size() + kopf.second.size() + 4;
    }

    std::sort(zeiten.begin(), zeiten.end());
    Ergebnis ergebnis;
    ergebnis.wert = median(zeiten);
    ergebnis.weitere.push_back(
        {QStringLiteral("  99th percentile, vote to count (target <= 50 ms)"),
         {zeiten[zeiten.size() * 99 / 100], 0, QStringLiteral("ms"), 0, 50}});
    ergebnis.weitere.push_back({QStringLiteral("  extra memory, server and 60 client sockets in one process (target <= 5 MB)"),
                                {(nachher - vorher) / 1024.0, 0, QStringLiteral("MB"), 0, 5}});
    ergebnis.weitere.push_back(
        {QStringLiteral("  page, script and style transferred, with headers"), {double(bytes), 0, QStringLiteral("bytes")}});
    return ergebnis;
}

const Anmeldung a1(QStringLiteral("class: 60 devices on loopback vote, one vote to the count updated (median)"), abstimmen);
}
