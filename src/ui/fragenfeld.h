#pragma once

#include "game/spiellayout.h"
#include "game/spielregeln.h"

#include <QGroupBox>
#include <QVector>

#include <array>

class Antwortfeld;
class Massstab;
class QFrame;
class QLabel;
class Spiel;

// The game window's question area: the question, and its three answers over
// the three red slots, each slot framed. An answer label lies exactly over
// its slot, so a slot shows only where its answer is struck.
class Fragenfeld : public QGroupBox {
    Q_OBJECT
public:
    explicit Fragenfeld(QWidget *parent = nullptr);

    QLabel *lblFrage = nullptr;
    QVector<QLabel *> Label5;
    QVector<QFrame *> Shape1;
    Antwortfeld *lblLoesung = nullptr;
    Antwortfeld *lblAntwort1 = nullptr;
    Antwortfeld *lblAntwort2 = nullptr;
    // The labels in the order of Spiel::Antwort.
    std::array<Antwortfeld *, 3> antworten() const { return {lblLoesung, lblAntwort1, lblAntwort2}; }

    void stelleAuf(const SpielLayout &layout, const Massstab &massstab);
    // The question and its answers as the game stands: each in its slot,
    // struck ones hidden; while choosing the choice green, after confirming
    // the solution green and a wrong choice red.
    void zeige(const Spiel &spiel);

Q_SIGNALS:
    // A click on a visible answer, by its Spiel::Antwort.
    void angeklickt(int antwort);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void legeAntwortenAb();

    SpielLayout m_layout;
    const Massstab *m_massstab = nullptr;
    Spielregeln::Reihenfolge m_reihenfolge{0, 1, 2};
    QLabel *m_gedrueckt = nullptr;
};
