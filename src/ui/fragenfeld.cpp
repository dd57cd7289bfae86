#include "ui/fragenfeld.h"

#include "ui/antwortfeld.h"
#include "ui/massstab.h"
#include "ui/spielwidgets.h"

#include "basis/farben.h"
#include "game/spiel.h"

#include <QFrame>
#include <algorithm>
#include <QLabel>
#include <QMouseEvent>

using namespace Spielwidgets;

namespace {
const QColor kGruen(0, 255, 0);
// Darker than the slots' red, so a wrong choice is not taken for a struck answer.
const QColor kRotUrteil(200, 0, 0);
}

Fragenfeld::Fragenfeld(QWidget *parent)
    : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame3"));
    setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25, true));
    lblFrage = neuesLabel(this, QStringLiteral("lblFrage"), QStringLiteral("frage wird geladen"));
    lblFrage->setFont(fensterSchrift());
    lblFrage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblFrage->setWordWrap(true);
    setzeTextfarbe(lblFrage, Farben::hervorhebung());
    // The outlines lie under the red slots, the slots under the answers.
    for (int i = 0; i < 3; ++i) {
        auto *shape = new QFrame(this);
        shape->setObjectName(QStringLiteral("Shape1(%1)").arg(i));
        shape->setFrameShape(QFrame::Box);
        shape->setFrameShadow(QFrame::Plain);
        setzeTextfarbe(shape, Qt::black);
        beschreibe(shape, QStringLiteral("Rahmen %1").arg(i + 1), QStringLiteral("Rahmen um Antwort %1").arg(i + 1));
        Shape1.append(shape);
    }
    for (int i = 0; i < 3; ++i) {
        QLabel *slot = neuesLabel(this, QStringLiteral("Label5(%1)").arg(i), QString());
        slot->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25));
        setzeHintergrund(slot, QColor(255, 0, 0));
        beschreibe(slot, QStringLiteral("Feld %1").arg(i + 1),
                   QStringLiteral("Rotes Feld unter Antwort %1, sichtbar, wenn sie gestrichen ist").arg(i + 1));
        Label5.append(slot);
    }
    lblLoesung = new Antwortfeld(QStringLiteral("Label6"), this);
    lblAntwort1 = new Antwortfeld(QStringLiteral("Label1"), this);
    lblAntwort2 = new Antwortfeld(QStringLiteral("Label1"), this);
    lblLoesung->setObjectName(QStringLiteral("lblLoesung"));
    lblAntwort1->setObjectName(QStringLiteral("lblAntwort1"));
    lblAntwort2->setObjectName(QStringLiteral("lblAntwort2"));
    for (Antwortfeld *antwort : antworten()) {
        antwort->setTextFormat(Qt::PlainText);
        antwort->setFont(fensterSchrift());
        antwort->setAlignment(Qt::AlignCenter);
        antwort->setWordWrap(true);
        antwort->setMargin(4);
        setzeTextfarbe(antwort, Qt::black);
        setzeHintergrund(antwort, Farben::schaltflaeche());
        antwort->installEventFilter(this);
    }
    beschreibe(this, QStringLiteral("Frage und Antworten"), QStringLiteral("Die Frage und ihre drei Antworten"));
}

void Fragenfeld::stelleAuf(const SpielLayout &l, const Massstab &massstab)
{
    m_layout = l;
    m_massstab = &massstab;
    massstab.platziere(this, l.frame3);
    massstab.platziere(lblFrage, l.lblFrage);
    for (int i = 0; i < 3; ++i) {
        massstab.platziere(Label5[i], l.label5[i]);
        massstab.platziere(Shape1[i], l.shape1[i]);
        Shape1[i]->setLineWidth(qMax(1, qRound(massstab.faktor())));
    }
    legeAntwortenAb();
}

void Fragenfeld::legeAntwortenAb()
{
    if (!m_massstab)
        return;
    const TwipsRechteck &a = m_layout.antwort;
    for (int i = 0; i < 3; ++i) {
        const double links = Spielregeln::slotLinks(m_layout.label5[i].breite, m_reihenfolge[i]);
        m_massstab->platziere(antworten()[i], {links, a.oben, a.breite, a.hoehe});
    }
}

void Fragenfeld::zeige(const Spiel &spiel)
{
    lblFrage->setText(spiel.frage());
    m_reihenfolge = spiel.reihenfolge();
    for (int a = 0; a < 3; ++a) {
        Antwortfeld *antwort = antworten()[a];
        auto markierung = Antwortfeld::Markierung::Keine;
        if (spiel.urteil() && a == Spiel::Loesung)
            markierung = Antwortfeld::Markierung::Richtig;
        else if (a == spiel.gewaehlt())
            markierung = spiel.urteil() ? Antwortfeld::Markierung::Falsch : Antwortfeld::Markierung::Gewaehlt;
        const bool falsch = markierung == Antwortfeld::Markierung::Falsch;
        antwort->setText(spiel.antwort(Spiel::Antwort(a)));
        antwort->setVisible(!spiel.gestrichen(Spiel::Antwort(a)));
        antwort->setzeMarkierung(markierung);
        setzeTextfarbe(antwort, falsch ? Qt::white : Qt::black);
        setzeHintergrund(antwort, falsch ? kRotUrteil
                             : markierung == Antwortfeld::Markierung::Keine ? Farben::schaltflaeche()
                                                                          : kGruen);
        const int feld = m_reihenfolge[a];
        QStringList zustand{Spiel::tastenText(feld)};
        if (antwort->isHidden())
            zustand << QStringLiteral("gestrichen");
        if (markierung != Antwortfeld::Markierung::Keine)
            zustand << Antwortfeld::wort(markierung);
        beschreibe(antwort, QStringLiteral("Antwort %1: %2").arg(feld + 1).arg(antwort->text()),
                   zustand.join(QStringLiteral(", ")));
    }
    legeAntwortenAb();
    beschreibe(lblFrage, QStringLiteral("Frage: ") + lblFrage->text(),
               QStringLiteral("Die Frage der Stufe %1, %2").arg(spiel.stufe()).arg(Spielregeln::stufenName(spiel.stufe())));
}

bool Fragenfeld::eventFilter(QObject *watched, QEvent *event)
{
    auto *label = qobject_cast<QLabel *>(watched);
    const auto felder = antworten();
    const int antwort = int(std::find(felder.begin(), felder.end(), label) - felder.begin());
    if (!label || antwort > 2)
        return QGroupBox::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_gedrueckt = label;
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *maus = static_cast<QMouseEvent *>(event);
        // A click is a press and a release on the same visible answer.
        const bool klick = maus->button() == Qt::LeftButton && m_gedrueckt == label
            && label->rect().contains(maus->position().toPoint()) && label->isVisible();
        m_gedrueckt = nullptr;
        if (klick)
            Q_EMIT angeklickt(antwort);
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}
