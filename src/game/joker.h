#pragma once

#include <QKeyCombination>

#include <array>

// The jokers of a game, left to right in the game window's frame "Joker".
// Each helps once per game. Another joker is one row here and its effect in
// Spiel::setzeEin; the window builds its button, key and description from
// the row.
struct Joker {
    enum class Wirkung { StreicheAntwort1, StreicheAntwort2, Umfrage };

    const char *knopf;        // the button's objectName
    const char *beschriftung; // its caption
    // The captions have no letter to mark, so each joker has a key of its own.
    QKeyCombination taste;
    const char *name; // what a screen reader calls the button
    const char *beschreibung;
    Wirkung wirkung;
};

inline constexpr std::array<Joker, 3> kJoker{{
    {"cmdFifty", "50:50", Qt::ALT | Qt::Key_5, "Erster 50:50-Joker", "Streicht eine falsche Antwort (Alt+5)",
     Joker::Wirkung::StreicheAntwort2},
    {"cmdRnd", "Lehrer", Qt::ALT | Qt::Key_L, "Lehrer-Joker", "Zeigt, wie das Lehrerzimmer abstimmt (Alt+L)",
     Joker::Wirkung::Umfrage},
    {"cmdFifty2", "50:50", Qt::ALT | Qt::Key_0, "Zweiter 50:50-Joker", "Streicht die andere falsche Antwort (Alt+0)",
     Joker::Wirkung::StreicheAntwort1},
}};
