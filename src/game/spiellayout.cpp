#include "game/spiellayout.h"

SpielLayout berechneSpielLayout(double innenBreite, double label1Breite, double lblFrageNrBreite,
                                double label2Breite, double lblPlayerBreite)
{
    SpielLayout l;
    l.innenBreite = innenBreite;

    // Design-time geometry; what depends on the window's width follows below.
    l.frame3 = {0, 420, 0, 3975};
    l.lblFrage = {120, 180, 11295, 1665};
    l.frame2 = {0, 4500, 2295, 3975};
    l.label4 = {120, 240, 195, 3615};
    static const double label3Oben[15] = {3645, 3420, 3165, 2925, 2685, 2445, 2205, 1965,
                                          1740, 1485, 1245, 1005, 720,  480,  240};
    for (int i = 0; i < 15; ++i)
        l.label3[i] = {420, label3Oben[i], 1695, 195};
    l.frame4 = {0, 0, 6795, 2535};
    l.cmdOK = {300, 480, 6255, 675};
    l.frame1 = {180, 1260, 4815, 975};
    // The jokers share the frame evenly: 120 twips on either side, 105 between.
    const double jokerBreite = (l.frame1.breite - 240 - 105 * (kJoker.size() - 1)) / kJoker.size();
    for (size_t i = 0; i < kJoker.size(); ++i)
        l.joker[i] = {120 + i * (jokerBreite + 105), 360, jokerBreite, 495};
    l.cmdGiveUp = {5220, 1380, 1335, 375};
    l.cmdEnd = {5220, 1860, 1335, 375};

    l.frame2.links = innenBreite - l.frame2.breite - 100;
    // All level names share the width and right edge of the top one.
    for (int i = 0; i < 14; ++i) {
        l.label3[i].breite = l.label3[14].breite;
        l.label3[i].links = l.label3[14].links;
    }
    l.frame3.breite = innenBreite - 200;
    l.frame3.links = 100;
    l.frame4.oben = l.frame2.oben;
    l.frame4.links = (innenBreite - l.frame4.breite) / 2;
    for (int i = 0; i < 3; ++i) {
        TwipsRechteck &slot = l.label5[i];
        slot.hoehe = l.frame3.hoehe / 2 - 200;
        slot.breite = (l.frame3.breite - 800) / 3;
        slot.links = (slot.breite + 200) * i + 200;
        slot.oben = l.lblFrage.hoehe + 200;
        l.shape1[i] = {slot.links - 50, l.lblFrage.hoehe + 150, slot.breite + 100, slot.hoehe + 100};
    }
    l.antwort = {l.label5[0].links, l.label5[0].oben, l.label5[0].breite, l.label5[0].hoehe};

    l.label1 = {100, 60, label1Breite, 240};
    l.lblFrageNr = {l.label1.links + l.label1.breite, 60, lblFrageNrBreite, 240};
    l.label2 = {innenBreite - label2Breite - lblPlayerBreite - 100, 60, label2Breite, 240};
    l.lblPlayer = {innenBreite - lblPlayerBreite - 100, 60, lblPlayerBreite, 240};
    return l;
}
