#pragma once

#include "game/spielregeln.h"
#include "store/questionfile.h"
#include "store/storeerror.h"

#include <QObject>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

class Recordset;

// One game from the level-1 question to its ending, without a window: the
// player, the level, the question on show and which answer sits in which
// slot, the choice, the jokers and the ending with its message and score.
// A view calls the steps and shows what they return and what the getters
// say; other views (a page for the class) follow the signals. Answers are
// named as the collection's columns name them; a slot (Feld) is where one
// is shown, 0 left to 2 right.
class Spiel : public QObject {
    Q_OBJECT
public:
    enum Antwort { Loesung = 0, Antwort1 = 1, Antwort2 = 2 };
    enum class Ende { Falsch, Abitur, Aufgegeben, KeineFrage, Verlassen };
    Q_ENUM(Ende)
    enum class Ladung { Geladen, KeineFragen, KeineErsteStufe };

    // How a game ended. The view shows the message (none when text is
    // empty), brings the main window back and books the entry: a win books
    // before the main window comes back, the other endings after it.
    struct Abschluss {
        Ende art = Ende::Verlassen;
        QString titel;
        QString text;
        QString spieler;
        int punkte = 0;
        bool bucht = false;
        bool hauptfensterZuerst = true;
    };
    // What confirming came to. Below the last level a right answer shows
    // its message, then weiter() brings the next question.
    struct Urteil {
        bool gueltig = false; // false: nothing chosen, nothing happened
        bool richtig = false;
        int richtigesFeld = -1;
        int gewaehltesFeld = -1;
        QString titel;
        QString text;
        std::optional<Abschluss> ende;
    };
    // What using a joker came to: a message to show (the poll), and whether
    // the joker is used up.
    struct Jokerzug {
        bool eingesetzt = false;
        QString titel;
        QString text;
    };
    // Where the poll's shares come from; nothing when nobody voted, and the
    // joker then stays usable. It may take its time (a class voting).
    using Umfragequelle = std::function<std::optional<Spielregeln::Umfrage>()>;

    explicit Spiel(QObject *parent = nullptr);

    // The rows of an open question table, as the game plays them.
    static StoreError liesFragen(const Recordset &fragen, QVector<FrageZeile> &zeilen);
    // A new game on these rows: level 1, a question drawn and its answers
    // shuffled, all jokers usable; the random numbers seeded from the clock.
    Ladung lade(const QVector<FrageZeile> &zeilen);
    void setzeSpieler(const QString &name) { m_spieler = name; }
    void setzeUmfragequelle(Umfragequelle quelle) { m_umfragequelle = std::move(quelle); }
    // The computed poll: two draws of the game's random numbers.
    static Spielregeln::Umfrage berechneteUmfrage();

    const QString &spieler() const { return m_spieler; }
    int stufe() const { return m_stufe; }
    bool laeuft() const { return m_phase != Phase::Beendet; }
    QString frage() const { return m_frage.frage; }
    QString antwort(Antwort a) const { return m_frage.antworten[a]; }
    // The slot of the solution, of wrong answer 1 and of wrong answer 2.
    const Spielregeln::Reihenfolge &reihenfolge() const { return m_reihenfolge; }
    QStringList antwortenImFeld() const;
    QVector<bool> gestricheneFelder() const;
    bool gestrichen(Antwort a) const { return m_gestrichen[a]; }
    // The chosen answer, or -1.
    int gewaehlt() const { return m_gewaehlt; }
    bool loesungGewaehlt() const { return m_gewaehlt == Loesung; }
    bool kannBestaetigen() const { return m_phase == Phase::Waehlen && m_gewaehlt >= 0; }
    bool jokerFrei(int joker) const { return !m_jokerBenutzt.value(joker, true); }
    // From a confirmation until the next question.
    const std::optional<Urteil> &urteil() const { return m_urteil; }

    // A struck answer cannot be chosen; choosing again changes nothing.
    void waehle(Antwort a);
    void waehleFeld(int feld);
    Urteil bestaetige();
    // The next level's question after a right answer, or the ending when
    // the collection has none for it.
    std::optional<Abschluss> weiter();
    Jokerzug setzeEin(int joker);
    Abschluss gibAuf();
    Abschluss verlasse();

    // Books an ending's entry; what to tell the player when the line was not
    // stored, or was kept for later (empty: booked).
    static QString buche(const Abschluss &ende);

    // The slot a key chooses (1, 2, 3 or A, B, C), or -1; and the words that
    // name a slot's keys.
    static int feldZurTaste(int taste);
    static QString tastenText(int feld);
    static QString keineFrageText(int stufe);

Q_SIGNALS:
    // A new question, or one of its answers struck: the answers in slot
    // order, and which slots are struck.
    void frageGezeigt(const QString &frage, const QStringList &antworten, const QVector<bool> &gestrichen);
    void auswahlGeaendert(int feld);
    void beantwortet(int richtigesFeld, int gewaehltesFeld);
    void jokerEingesetzt(int joker);
    void beendet(Spiel::Ende art, int punkte);

private:
    enum class Phase { Waehlen, Urteil, Beendet };
    struct Frage {
        QString frage;
        std::array<QString, 3> antworten;
    };
    bool waehleFrage();
    void zeigeFrage();
    Abschluss schliesse(Ende art, const QString &titel, const QString &text, int punkte);
    Abschluss mitStufe(Ende art, const QString &text, int punkte);

    QString m_spieler;
    int m_stufe = Spielregeln::kErsteStufe;
    Phase m_phase = Phase::Beendet;
    QVector<Frage> m_fragen;
    QVector<QVector<int>> m_zeilenJeStufe;
    Frage m_frage;
    Spielregeln::Reihenfolge m_reihenfolge{0, 1, 2};
    std::array<bool, 3> m_gestrichen{};
    int m_gewaehlt = -1;
    QVector<bool> m_jokerBenutzt;
    std::optional<Urteil> m_urteil;
    Umfragequelle m_umfragequelle;
};
