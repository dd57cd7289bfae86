// The game window in front of the class: the projector view, play by keys,
// reading aloud, and the names screen readers read.

#include "ui/form2.h"

#include "ui/antwortfeld.h"
#include "ui/klassenanzeige.h"
#include "ui/zahlenspalte.h"

#include "klasse/klassenrunde.h"

#include "basis/appinfo.h"
#include "basis/services.h"
#include "basis/twips.h"
#include "basis/vorlieben.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {
void beschreibe(QWidget *w, const QString &name, const QString &beschreibung)
{
    w->setAccessibleName(name);
    w->setAccessibleDescription(beschreibung);
}
}

void Form2::beschreibeSteuerung()
{
    beschreibe(this, QStringLiteral("Spiel"),
               QStringLiteral("Tasten: 1, 2, 3 oder A, B, C wählen eine Antwort, die Eingabetaste bestätigt, "
                              "V liest vor, F11 schaltet die Projektoransicht um, K lässt die Klasse abstimmen."));
    beschreibe(Label1, QStringLiteral("Frage"), QStringLiteral("Überschrift vor der Nummer der Frage"));
    beschreibe(Label2, QStringLiteral("Name"), QStringLiteral("Überschrift vor dem Namen"));
    beschreibe(Frame3, QStringLiteral("Frage und Antworten"), QStringLiteral("Die Frage und ihre drei Antworten"));
    for (int i = 0; i < 3; ++i) {
        beschreibe(Label5[i], QStringLiteral("Feld %1").arg(i + 1),
                   QStringLiteral("Rotes Feld unter Antwort %1, sichtbar, wenn sie gestrichen ist").arg(i + 1));
        beschreibe(Shape1[i], QStringLiteral("Rahmen %1").arg(i + 1),
                   QStringLiteral("Rahmen um Antwort %1").arg(i + 1));
    }
    beschreibe(Label4, QStringLiteral("Stufennummern"), QStringLiteral("Die Nummern der Stufen von 15 bis 1"));
    beschreibe(Frame4, QStringLiteral("Steuerung"), QStringLiteral("Bestätigen, Joker, Aufgeben und Beenden"));
    beschreibe(cmdOK, QStringLiteral("Bestätigen"),
               QStringLiteral("Bestätigt die gewählte Antwort (Eingabetaste oder Alt+B)"));
    beschreibe(Frame1, QStringLiteral("Joker"), QStringLiteral("Jeder Joker hilft einmal im Spiel"));
    beschreibe(cmdFifty, QStringLiteral("Erster 50:50-Joker"),
               QStringLiteral("Streicht eine falsche Antwort (Alt+5)"));
    beschreibe(cmdRnd, QStringLiteral("Lehrer-Joker"),
               QStringLiteral("Zeigt, wie das Lehrerzimmer abstimmt (Alt+L)"));
    beschreibe(cmdFifty2, QStringLiteral("Zweiter 50:50-Joker"),
               QStringLiteral("Streicht die andere falsche Antwort (Alt+0)"));
    beschreibe(cmdGiveUp, QStringLiteral("Aufgeben"),
               QStringLiteral("Beendet das Spiel, jede richtige Antwort zählt einen Punkt (Alt+A)"));
    beschreibe(cmdEnd, QStringLiteral("Beenden"),
               QStringLiteral("Beendet das Spiel ohne Eintrag in die Highscore (Alt+E)"));
}

void Form2::baueKlassenmenue()
{
    menuKlasse = new QMenu(this);
    menuKlasse->setObjectName(QStringLiteral("menuKlasse"));
    menuKlasse->setToolTipsVisible(true);
    beschreibe(menuKlasse, QStringLiteral("Klassenzimmer"), QStringLiteral("Projektoransicht und Vorlesen"));
    menuProjektor = menuKlasse->addAction(QStringLiteral("Projektoransicht"));
    menuProjektor->setObjectName(QStringLiteral("menuProjektor"));
    menuProjektor->setCheckable(true);
    menuProjektor->setShortcut(QKeySequence(Qt::Key_F11));
    menuVorlesen = menuKlasse->addAction(QStringLiteral("Vorlesen"));
    menuVorlesen->setObjectName(QStringLiteral("menuVorlesen"));
    menuVorlesen->setCheckable(true);
    menuKlasseAbstimmen = menuKlasse->addAction(QStringLiteral("Klasse abstimmen lassen"));
    menuKlasseAbstimmen->setObjectName(QStringLiteral("menuKlasseAbstimmen"));
    menuKlasseAbstimmen->setCheckable(true);
    menuKlasseAbstimmen->setShortcut(QKeySequence(Qt::Key_K));
    menuKlasseAbstimmen->setToolTip(QStringLiteral("Die Klasse stimmt mit eigenen Geräten ab (Taste K)"));
    connect(menuKlasseAbstimmen, &QAction::triggered, this, &Form2::setzeKlasse);
    connect(menuProjektor, &QAction::triggered, this, &Form2::setzeProjektor);
    connect(menuVorlesen, &QAction::triggered, this, &Form2::setzeVorlesen);
    // Whether an engine can speak German is known only once it has started.
    connect(menuKlasse, &QMenu::aboutToShow, this, [this] {
        Sprachausgabe &sprache = Services::sprache();
        const bool kann = sprache.verfuegbar();
        menuVorlesen->setEnabled(kann);
        menuVorlesen->setToolTip(kann ? QStringLiteral("Liest Frage und Antworten vor (Taste V: noch einmal)")
                                      : sprache.grund());
    });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &wo) { menuKlasse->popup(mapToGlobal(wo)); });
}

// The projector view fills the screen with the window's drawing, enlarged
// evenly and centred; otherwise the window keeps its own size.
void Form2::passeAn()
{
    const Twips::Einpassung e = m_projektor ? Twips::passeEin(m_innen, size()) : Twips::Einpassung{};
    if (qFuzzyCompare(e.faktor, m_massstab) && e.versatz == m_versatz)
        return;
    m_massstab = e.faktor;
    m_versatz = e.versatz;
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
    QStringList antworten;
    for (int feld = 0; feld < 3; ++feld) {
        for (Antwortfeld *antwort : {lblLoesung, lblAntwort1, lblAntwort2}) {
            const int i = antwort == lblLoesung ? 0 : antwort == lblAntwort1 ? 1 : 2;
            if (Reihenfolge[i] == feld)
                antworten << (antwort->isHidden() ? QString() : antwort->text());
        }
    }
    sprache.sage(Spielregeln::vorlesetext(lblFrage->text(), antworten));
}

void Form2::waehleFeld(int feld)
{
    if (Reihenfolge[0] == feld && !lblLoesung->isHidden())
        lblLoesung_Click();
    else if (Reihenfolge[1] == feld && !lblAntwort1->isHidden())
        lblAntwort1_Click();
    else if (Reihenfolge[2] == feld && !lblAntwort2->isHidden())
        lblAntwort2_Click();
}

void Form2::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_1:
    case Qt::Key_A:
        waehleFeld(0);
        break;
    case Qt::Key_2:
    case Qt::Key_B:
        waehleFeld(1);
        break;
    case Qt::Key_3:
    case Qt::Key_C:
        waehleFeld(2);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // While the class votes, Enter closes the vote.
        if (m_klasse && m_klasse->runde()->abstimmungLaeuft())
            m_klasse->runde()->abstimmungSchliessen();
        else
            cmdOK->click();
        break;
    case Qt::Key_K:
        setzeKlasse(!menuKlasseAbstimmen->isChecked());
        break;
    case Qt::Key_V:
        liesVor();
        break;
    case Qt::Key_F11:
        setzeProjektor(!m_projektor);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Form2::benenne()
{
    const QString stufe = Spielregeln::stufenName(Stufe);
    beschreibe(lblFrageNr, QStringLiteral("Frage %1 von 15").arg(Stufe), QStringLiteral("Nummer der Frage"));
    beschreibe(lblPlayer, QStringLiteral("Spieler: ") + lblPlayer->text(), QStringLiteral("Name des Spielers"));
    beschreibe(lblFrage, QStringLiteral("Frage: ") + lblFrage->text(),
               QStringLiteral("Die Frage der Stufe %1, %2").arg(Stufe).arg(stufe));
    Antwortfeld *antworten[3] = {lblLoesung, lblAntwort1, lblAntwort2};
    for (int i = 0; i < 3; ++i) {
        const int feld = Reihenfolge[i];
        QStringList zustand{QStringLiteral("Taste %1 oder %2").arg(feld + 1).arg(QChar(u'A' + feld))};
        if (antworten[i]->isHidden())
            zustand << QStringLiteral("gestrichen");
        if (antworten[i]->markierung() != Antwortfeld::Markierung::Keine)
            zustand << Antwortfeld::wort(antworten[i]->markierung());
        beschreibe(antworten[i], QStringLiteral("Antwort %1: %2").arg(feld + 1).arg(antworten[i]->text()),
                   zustand.join(QStringLiteral(", ")));
    }
    beschreibe(Frame2, QStringLiteral("Übersicht: Stufe %1, %2").arg(Stufe).arg(stufe),
               QStringLiteral("Erreichte Stufen sind grün, die Stufen 5 und 10 orange"));
    for (int i = 0; i < Label3.size(); ++i) {
        const QString stand = i + 1 < Stufe ? QStringLiteral(", erreicht")
            : i + 1 == Stufe               ? QStringLiteral(", aktuelle Stufe")
                                           : QString();
        beschreibe(Label3[i], Label3[i]->text(), QStringLiteral("Stufe %1").arg(i + 1) + stand);
    }
}

// While the verdict's message is open the answers say it by a symbol too:
// the solution ticked, a wrong choice crossed.
void Form2::zeigeUrteil()
{
    if (m_gewaehlt && m_gewaehlt != lblLoesung)
        m_gewaehlt->setzeMarkierung(Antwortfeld::Markierung::Falsch);
    lblLoesung->setzeMarkierung(Antwortfeld::Markierung::Richtig);
    benenne();
}

void Form2::setzeKlasse(bool an)
{
    menuKlasseAbstimmen->setChecked(false);
    if (!an) {
        // A vote still open ends with its box, so that the joker's state is clear.
        if (m_klasse)
            m_klasse->runde()->abstimmungSchliessen();
        delete m_klasse;
        m_klasse = nullptr;
        return;
    }
    if (!m_klasse) {
        m_klasse = new KlassenAnzeige(this);
        // The box opens from the event loop, not inside the round that
        // counted the last vote: the window may close while it is open.
        connect(m_klasse->runde(), &Klassenrunde::abstimmungBeendet, this, [this](const Klassenergebnis &e) {
            QTimer::singleShot(0, this, [this, e] { klasseHatGestimmt(e); });
        });
    }
    Klassenrunde::Einstellung e;
    e.port = quint16(Vorlieben::klassePort());
    e.geraete = Vorlieben::klasseGeraete();
    const QString adresse = Vorlieben::klasseAdresse();
    if (!adresse.isEmpty())
        e.adresse = QHostAddress(adresse);
    if (e.adresse.isNull() || !m_klasse->runde()->einschalten(e)) {
        const QString grund = e.adresse.isNull()
            ? QStringLiteral("Die Adresse %1 aus den Einstellungen des Klassenzimmers ist keine.").arg(adresse)
            : m_klasse->runde()->fehler();
        delete m_klasse;
        m_klasse = nullptr;
        Services::meldung(this, AppInfo::titel(),
                          QStringLiteral("Die Klasse kann nicht abstimmen. ") + grund
                              + QStringLiteral(" Das Spiel geht ohne sie weiter."));
        return;
    }
    menuKlasseAbstimmen->setChecked(true);
    m_klasse->zeigeAdresse();
    m_klasse->show();
    stelleKlasseAuf();
    Befehl = QStringLiteral("mischen");
    klasseFolgt();
    Befehl.clear();
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

void Form2::klasseFolgt()
{
    if (!m_klasse)
        return;
    Klassenrunde *runde = m_klasse->runde();
    if (Befehl == QLatin1String("mischen")) {
        Klassenfrage f;
        f.text = lblFrage->text();
        const Antwortfeld *antworten[3] = {lblLoesung, lblAntwort1, lblAntwort2};
        for (int i = 0; i < 3; ++i) {
            const int feld = Reihenfolge[i];
            f.felder[feld] = antworten[i]->text();
            f.antwort[feld] = i;
            f.gestrichen[feld] = antworten[i]->isHidden();
        }
        runde->frageZeigen(f);
    } else if (Befehl == QLatin1String("kill")) {
        runde->streiche(Reihenfolge[2]);
    } else if (Befehl == QLatin1String("kill2")) {
        runde->streiche(Reihenfolge[1]);
    }
}

bool Form2::klasseStimmtAb()
{
    if (!m_klasse || m_klasse->runde()->geraete() == 0)
        return false;
    if (!m_klasse->runde()->abstimmungLaeuft()) {
        cmdRnd->setEnabled(false);
        m_klasse->runde()->abstimmungStarten(Vorlieben::klasseSekunden());
    }
    return true;
}

// The poll's box with the class's real shares; a vote nobody took part in
// leaves the joker to be used again.
void Form2::klasseHatGestimmt(const Klassenergebnis &ergebnis)
{
    const QPointer<Form2> fenster(this);
    if (ergebnis.summe() == 0) {
        cmdRnd->setEnabled(true);
        Services::meldung(this, AppInfo::spielMeldungTitel(),
                          QStringLiteral("Niemand aus der Klasse hat abgestimmt. Der Lehrer-Joker bleibt erhalten."));
        return;
    }
    const auto zeile = [](const QLabel *antwort, int anteil) {
        return antwort->text() + QStringLiteral(" = ") + QString::number(anteil) + QStringLiteral("%");
    };
    const QString crlf = QStringLiteral("\r\n");
    Services::meldung(this, AppInfo::spielMeldungTitel(),
                      QStringLiteral("Das Publikum hat wie folgt gestimmt: ") + crlf
                          + zeile(lblLoesung, ergebnis.anteile[0]) + crlf + zeile(lblAntwort1, ergebnis.anteile[1])
                          + crlf + zeile(lblAntwort2, ergebnis.anteile[2]));
    if (fenster)
        cmdRnd->setEnabled(false);
}
