#pragma once

#include "game/spiellayout.h"

#include <QFont>
#include <QHash>
#include <QPointF>

class QWidget;

// A window's drawing at one scale: each control placed from its twips,
// enlarged evenly and moved by an offset (the projector view centres the
// drawing), and every font that was set enlarged with it.
class Massstab {
public:
    // The fonts as designed: the window's and those of controls with a font of their own.
    void merkeSchriften(QWidget *fenster);
    // Whether anything changed; the fonts follow at once.
    bool setze(double faktor, const QPointF &versatz);
    double faktor() const { return m_faktor; }
    // The offset moves only the window's own children; deeper controls move with their frame.
    void platziere(QWidget *w, const TwipsRechteck &r) const;

private:
    QWidget *m_fenster = nullptr;
    double m_faktor = 1.0;
    QPointF m_versatz;
    QHash<QWidget *, QFont> m_schriften;
};
