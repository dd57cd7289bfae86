#include "ui/stufenuebersicht.h"

#include "ui/massstab.h"
#include "ui/spielwidgets.h"
#include "ui/zahlenspalte.h"

#include "basis/farben.h"
#include "game/spielregeln.h"

#include <QLabel>

using namespace Spielwidgets;

Stufenuebersicht::Stufenuebersicht(QWidget *parent)
    : QGroupBox(QStringLiteral("Übersicht"), parent)
{
    setObjectName(QStringLiteral("Frame2"));
    setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25, true));
    setzeTextfarbe(this, QColor(255, 255, 255));
    for (int i = 0; i < Spielregeln::kLetzteStufe; ++i) {
        QLabel *stufe = neuesLabel(this, QStringLiteral("Label3(%1)").arg(i), Spielregeln::stufenName(i + 1));
        stufe->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25));
        stufe->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setzeTextfarbe(stufe, Farben::hervorhebung());
        setzeHintergrund(stufe, Farben::desktop());
        Label3.append(stufe);
    }
    Label4 = new Zahlenspalte(QStringLiteral("15 14 13 12 11 10 9  8 7 6 5 4 3 2 1"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 9.75));
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setzeTextfarbe(Label4, Farben::hervorhebung());
    beschreibe(Label4, QStringLiteral("Stufennummern"), QStringLiteral("Die Nummern der Stufen von 15 bis 1"));
}

void Stufenuebersicht::stelleAuf(const SpielLayout &l, const Massstab &massstab)
{
    massstab.platziere(this, l.frame2);
    for (int i = 0; i < Label3.size(); ++i) {
        massstab.platziere(Label3[i], l.label3[i]);
        // Enlarged, a font's line grows a pixel faster than the row; the row grows about its middle.
        const int fehlt = Label3[i]->fontMetrics().size(0, Label3[i]->text()).height() - Label3[i]->height();
        if (fehlt > 0)
            Label3[i]->setGeometry(Label3[i]->geometry().adjusted(0, -fehlt / 2, 0, fehlt - fehlt / 2));
    }
    massstab.platziere(Label4, l.label4);
    // Enlarged, two-digit numbers come out a little wider than the column.
    if (massstab.faktor() > 1.0)
        Label4->resize(qMax(Label4->width(), Label4->fontMetrics().horizontalAdvance(QStringLiteral("15")) + 2),
                       Label4->height());
    QVector<QRect> zeilen;
    for (int i = Label3.size() - 1; i >= 0; --i) {
        QRect zeile = Label3[i]->geometry().translated(-Label4->pos());
        zeile.setLeft(0);
        zeile.setWidth(Label4->width());
        zeilen.append(zeile);
    }
    Label4->setzeZeilen(zeilen);
}

void Stufenuebersicht::zeigeStufe(int stufe)
{
    static const QColor gruen(0, 192, 0);
    static const QColor orange(192, 64, 0);
    for (int i = 0; i < Label3.size(); ++i) {
        const int s = i + 1;
        setzeHintergrund(Label3[i], s > stufe ? Farben::desktop() : s == 5 || s == 10 ? orange : gruen);
        const QString stand = s < stufe ? QStringLiteral(", erreicht")
            : s == stufe                ? QStringLiteral(", aktuelle Stufe")
                                        : QString();
        beschreibe(Label3[i], Label3[i]->text(), QStringLiteral("Stufe %1").arg(s) + stand);
    }
    beschreibe(this, QStringLiteral("Übersicht: Stufe %1, %2").arg(stufe).arg(Spielregeln::stufenName(stufe)),
               QStringLiteral("Erreichte Stufen sind grün, die Stufen 5 und 10 orange"));
}
