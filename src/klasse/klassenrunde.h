#pragma once

#include <QHash>
#include <QHostAddress>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <memory>

class KlassenServer;
class QJsonObject;

// A question as the projector shows it: the slots left to right, which
// answer stands in each (0 the solution, 1 the first wrong, 2 the second
// wrong answer) and which are struck.
struct Klassenfrage {
    QString text;
    std::array<QString, 3> felder;
    std::array<int, 3> antwort{0, 1, 2};
    std::array<bool, 3> gestrichen{false, false, false};
};

// What the class voted: votes and shares per answer in the poll's order
// (solution, first wrong, second wrong); no votes, no shares.
struct Klassenergebnis {
    std::array<int, 3> stimmen{0, 0, 0};
    std::array<int, 3> anteile{0, 0, 0};
    int summe() const { return stimmen[0] + stimmen[1] + stimmen[2]; }
};

// The class in the room beside the game: while it runs, every joined device
// sees the current question, may answer along, and votes when the poll
// opens. It knows nothing of the game's window; the game tells it what is
// shown and hears the vote's result. Nothing here touches score or highscore.
class Klassenrunde : public QObject {
    Q_OBJECT
public:
    struct Einstellung {
        QHostAddress adresse = QHostAddress::Any;
        quint16 port = 8080;
        int geraete = 60;
    };
    explicit Klassenrunde(QObject *parent = nullptr);
    ~Klassenrunde() override;

    // Starts the server with a fresh join code; false with a German reason
    // in fehler() when the port cannot be had.
    bool einschalten(const Einstellung &einstellung);
    void ausschalten();
    bool an() const { return m_server != nullptr; }
    QString fehler() const { return m_fehler; }

    // The page's address with the join code, for the address in words and
    // the QR code; the host is the address given, or this computer's first
    // address on the network.
    QString adresse() const;
    quint16 port() const;
    int geraete() const;
    int stimmen() const { return int(m_stimme.size()); }
    bool abstimmungLaeuft() const { return m_uhr.isActive(); }
    int restSekunden() const { return m_rest; }

public Q_SLOTS:
    // A new question: the answers picked along so far are forgotten.
    void frageZeigen(const Klassenfrage &frage);
    // An answer struck by a 50:50 joker disappears from the pages.
    void streiche(int feld);
    // Opens the vote on the current question for so many seconds.
    void abstimmungStarten(int sekunden);
    // Closes it early (the teacher's Enter); abstimmungBeendet follows.
    void abstimmungSchliessen();
    // After the player's answer was judged: each device learns whether its
    // own pick was right, and mitgeantwortet says how many were.
    void verdikt();
    // The game is over; the pages wait.
    void ruhe();

Q_SIGNALS:
    void geraeteGeaendert(int geraete);
    void stimmenGeaendert(int stimmen, int geraete);
    void countdownGeaendert(int sekunden);
    void abstimmungBeendet(const Klassenergebnis &ergebnis);
    void mitgeantwortet(int richtig, int gesamt);

private:
    void neuesGeraet(const QString &geraet);
    void geraetWeg(const QString &geraet);
    void waehle(const QString &geraet, int frage, int feld);
    void tick();
    void pruefeEnde();
    void beende();
    QJsonObject frageNachricht() const;

    std::unique_ptr<KlassenServer> m_server;
    QString m_fehler;
    QHostAddress m_adresse;
    Klassenfrage m_frage;
    bool m_frageDa = false;
    bool m_entschieden = false;
    int m_nummer = 0;
    // Per device: its pick on this question (a slot) and its vote.
    QHash<QString, int> m_wahl;
    QHash<QString, int> m_stimme;
    QTimer m_uhr;
    int m_rest = 0;
};
