#include "ui/massstab.h"

#include "basis/twips.h"

#include <QWidget>

void Massstab::merkeSchriften(QWidget *fenster)
{
    m_fenster = fenster;
    m_schriften.insert(fenster, fenster->font());
    for (QWidget *w : fenster->findChildren<QWidget *>()) {
        if (w->testAttribute(Qt::WA_SetFont))
            m_schriften.insert(w, w->font());
    }
}

bool Massstab::setze(double faktor, const QPointF &versatz)
{
    if (qFuzzyCompare(faktor, m_faktor) && versatz == m_versatz)
        return false;
    m_faktor = faktor;
    m_versatz = versatz;
    for (auto it = m_schriften.cbegin(); it != m_schriften.cend(); ++it) {
        QFont schrift = it.value();
        schrift.setPointSizeF(schrift.pointSizeF() * m_faktor);
        it.key()->setFont(schrift);
    }
    return true;
}

void Massstab::platziere(QWidget *w, const TwipsRechteck &r) const
{
    QRect g = Twips::rechteck(r.links, r.oben, r.breite, r.hoehe, m_faktor);
    if (m_fenster && w->parentWidget() == m_fenster)
        g.translate(m_versatz.toPoint());
    w->setGeometry(g);
}
