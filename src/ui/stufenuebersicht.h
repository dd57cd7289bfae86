#pragma once

#include <QGroupBox>
#include <QVector>

class Massstab;
class QLabel;
class Zahlenspalte;
struct SpielLayout;

// The game window's level overview "Übersicht": one row per level, level 15
// at the top, the levels reached marked.
class Stufenuebersicht : public QGroupBox {
    Q_OBJECT
public:
    explicit Stufenuebersicht(QWidget *parent = nullptr);

    QVector<QLabel *> Label3; // the level names, index level - 1
    Zahlenspalte *Label4 = nullptr;

    void stelleAuf(const SpielLayout &layout, const Massstab &massstab);
    // Every level up to this one green, 5 and 10 orange once reached.
    void zeigeStufe(int stufe);
};
