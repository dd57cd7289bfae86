// The game window in front of the class: the projector view, play by keys,
// reading aloud, and the names screen readers read.

#include "ui/form2.h"

#include "ui/fragenfeld.h"
#include "ui/klassenanzeige.h"
#include "ui/klassenmenue.h"
#include "ui/stufenuebersicht.h"

#include "ui/spielwidgets.h"

#include "basis/appinfo.h"
#include "basis/services.h"
#include "basis/twips.h"
#include "basis/vorlieben.h"
#include "game/joker.h"
#include "klasse/klassenrunde.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

using Spielwidgets::beschreibe;

void Form2::beschreibeSteuerung()
{
    beschreibe(this, QStringLiteral("Spiel"),
               QStringLiteral("Tasten: 1, 2, 3 oder A, B, C wählen eine Antwort, die Eingabetaste bestätigt, "
                              "V liest vor, F11 schaltet die Projektoransicht um, K lässt die Klasse abstimmen."));
    beschreibe(Label1, QStringLiteral("Frage"), QStringLiteral("Überschrift vor der Nummer der Frage"));
    beschreibe(Label2, QStringLiteral("Name"), QStringLiteral("Überschrift vor dem Namen"));
    beschreibe(Frame4, QStringLiteral("Steuerung"), QStringLiteral("Bestätigen, Joker, Aufgeben und Beenden"));
    beschreibe(cmdOK, QStringLiteral("Bestätigen"),
               QStringLiteral("Bestätigt die gewählte Antwort (Eingabetaste oder Alt+B)"));
    beschreibe(Frame1, QStringLiteral("Joker"), QStringLiteral("Jeder Joker hilft einmal im Spiel"));
    beschreibe(cmdGiveUp, QStringLiteral("Aufgeben"),
               QStringLiteral("Beendet das Spiel, jede richtige Antwort zählt einen Punkt (Alt+A)"));
    beschreibe(cmdEnd, QStringLiteral("Beenden"),
               QStringLiteral("Beendet das Spiel ohne Eintrag in die Highscore (Alt+E)"));
}

void Form2::baueKlassenmenue()
{
    auto *menue = new Klassenmenue(this);
    menuKlasse = menue;
    menuProjektor = menue->projektor;
    menuVorlesen = menue->vorlesen;
    menuKlasseAbstimmen = menue->abstimmen;
    connect(menuKlasseAbstimmen, &QAction::triggered, this, &Form2::setzeKlasse);
    connect(menuProjektor, &QAction::triggered, this, &Form2::setzeProjektor);
    connect(menuVorlesen, &QAction::triggered, this, &Form2::setzeVorlesen);
}

// The projector view fills the screen with the window's drawing, enlarged
// evenly and centred; otherwise the window keeps its own size.
void Form2::passeAn()
{
    const Twips::Einpassung e = m_projektor ? Twips::passeEin(m_innen, size()) : Twips::Einpassung{};
    if (m_massstab.setze(e.faktor, e.versatz))
        stelleAuf();
}

void Form2::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_layout.innenBreite > 0)
        passeAn();
}

void Form2::setzeProjektor(bool an)
{
    m_projektor = an;
    menuProjektor->setChecked(an);
    Vorlieben::setzeProjektor(an);
    if (an) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        // The screen's size also where no window manager makes it full screen.
        setGeometry(screen()->geometry());
        setWindowState(windowState() | Qt::WindowFullScreen);
    } else {
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        if (!m_innen.isEmpty())
            setzeFesteGroesse();
    }
    if (m_layout.innenBreite > 0)
        passeAn();
}

void Form2::setzeVorlesen(bool an)
{
    m_vorlesen = an;
    menuVorlesen->setChecked(an);
    Vorlieben::setzeVorlesen(an);
    if (an)
        liesVor();
    else
        Services::sprache().stopp();
}

void Form2::liesVor()
{
    Sprachausgabe &sprache = Services::sprache();
    if (!sprache.verfuegbar())
        return;
    QStringList antworten = m_spiel->antwortenImFeld();
    const QVector<bool> gestrichen = m_spiel->gestricheneFelder();
    for (int feld = 0; feld < 3; ++feld) {
        if (gestrichen[feld])
            antworten[feld].clear();
    }
    sprache.sage(Spielregeln::vorlesetext(m_spiel->frage(), antworten));
}

void Form2::waehleFeld(int feld)
{
    m_spiel->waehleFeld(feld);
    Anzeige();
}

void Form2::keyPressEvent(QKeyEvent *event)
{
    const int feld = Spiel::feldZurTaste(event->key());
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QWidget::keyPressEvent(event);
    } else if (feld >= 0) {
        waehleFeld(feld);
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // While the class votes, Enter closes the vote.
        if (m_klasse && m_klasse->runde()->abstimmungLaeuft())
            m_klasse->runde()->abstimmungSchliessen();
        else
            cmdOK->click();
    } else if (event->key() == Qt::Key_K) {
        setzeKlasse(!menuKlasseAbstimmen->isChecked());
    } else if (event->key() == Qt::Key_V) {
        liesVor();
    } else if (event->key() == Qt::Key_F11) {
        setzeProjektor(!m_projektor);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void Form2::benenne()
{
    const int stufe = m_spiel->stufe();
    beschreibe(lblFrageNr, QStringLiteral("Frage %1 von 15").arg(stufe), QStringLiteral("Nummer der Frage"));
    beschreibe(lblPlayer, QStringLiteral("Spieler: ") + m_spiel->spieler(), QStringLiteral("Name des Spielers"));
}

void Form2::setzeKlasse(bool an)
{
    menuKlasseAbstimmen->setChecked(false);
    if (!an) {
        // A vote still open ends first, so that the joker's state is clear.
        if (m_klasse)
            m_klasse->runde()->abstimmungSchliessen();
        delete m_klasse;
        m_klasse = nullptr;
        return;
    }
    if (!m_klasse) {
        m_klasse = new KlassenAnzeige(this);
        m_klasse->folge(m_spiel);
        m_spiel->setzeUmfragequelle([this] { return klassenUmfrage(); });
    }
    if (const QString grund = m_klasse->schalteEin(); !grund.isEmpty()) {
        delete m_klasse;
        m_klasse = nullptr;
        meldung(AppInfo::titel(), QStringLiteral("Die Klasse kann nicht abstimmen. ") + grund
                                      + QStringLiteral(" Das Spiel geht ohne sie weiter."));
        return;
    }
    menuKlasseAbstimmen->setChecked(true);
    m_klasse->show();
    stelleKlasseAuf();
}

// The corner below the question, left of the buttons, is free in both views.
void Form2::stelleKlasseAuf()
{
    if (!m_klasse)
        return;
    const int luft = qMax(4, Frame3->height() / 40);
    const QRect r(QPoint(Frame3->x(), Frame3->geometry().bottom() + luft),
                  QPoint(Frame4->x() - luft, Frame2->geometry().bottom()));
    m_klasse->setGeometry(r);
    m_klasse->raise();
}

// Without devices the computed poll; otherwise the class votes while the
// window waits, its buttons held, until the vote closes.
std::optional<Spielregeln::Umfrage> Form2::klassenUmfrage()
{
    if (!m_klasse || m_klasse->runde()->geraete() == 0)
        return Spiel::berechneteUmfrage();
    for (QPushButton *knopf : cmdJoker)
        knopf->setEnabled(false);
    cmdOK->setEnabled(false);
    return m_klasse->abstimmen();
}
