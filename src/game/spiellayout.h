#pragma once

#include "game/joker.h"

#include <array>

// The game window's positions in twips, relative to each control's
// container, as the window lays itself out when it loads.
struct TwipsRechteck {
    double links = 0;
    double oben = 0;
    double breite = 0;
    double hoehe = 0;
};

struct SpielLayout {
    double innenBreite = 0;
    TwipsRechteck label1, lblFrageNr, label2, lblPlayer;
    TwipsRechteck frame3, lblFrage;
    std::array<TwipsRechteck, 3> label5; // the answer slots
    std::array<TwipsRechteck, 3> shape1; // the outline around each slot
    TwipsRechteck antwort;               // size and top of each answer label; its left is the shuffle's
    TwipsRechteck frame2, label4;
    std::array<TwipsRechteck, 15> label3; // level names, index = level - 1
    TwipsRechteck frame4, cmdOK, frame1, cmdGiveUp, cmdEnd;
    std::array<TwipsRechteck, kJoker.size()> joker; // the jokers' buttons, left to right
};

// The layout for a client area innenBreite twips wide. The widths of the
// four auto-size labels at the top are those of their design-time captions.
SpielLayout berechneSpielLayout(double innenBreite, double label1Breite, double lblFrageNrBreite,
                                double label2Breite, double lblPlayerBreite);
