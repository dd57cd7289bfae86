#include "ui/form2.h"

#include "ui/antwortfeld.h"
#include "ui/fragenfeld.h"
#include "ui/klassenanzeige.h"
#include "ui/spielwidgets.h"
#include "ui/stufenuebersicht.h"

#include "basis/appinfo.h"
#include "basis/farben.h"
#include "basis/fensterwahl.h"
#include "basis/services.h"
#include "basis/twips.h"
#include "basis/vorlieben.h"
#include "game/joker.h"
#include "store/connection.h"
#include "store/fragenquelle.h"
#include "store/fragentabelle.h"
#include "store/recordset.h"
#include "store/serveradresse.h"
#include "store/settingsfile.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

using namespace Spielwidgets;

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// Qt reads "[*]" in a window title as the place of the modified mark; a
// doubled one shows as written, so a name keeps its brackets.
QString titelWieGeschrieben(QString titel)
{
    return titel.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

}

Form2::Form2(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form2"));
    m_spiel = new Spiel(this);
    baueFenster();
}

Form2::~Form2() = default;

void Form2::baueFenster()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QString());
    setFont(fensterSchrift());
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Farben::desktop());
    setPalette(p);

    Label1 = neuesLabel(this, QStringLiteral("Label1"), QStringLiteral("Frage "));
    lblFrageNr = neuesLabel(this, QStringLiteral("lblFrageNr"), QStringLiteral("1"));
    Label2 = neuesLabel(this, QStringLiteral("Label2"), QStringLiteral("Name: "));
    lblPlayer = neuesLabel(this, QStringLiteral("lblPlayer"), QStringLiteral("Player"));
    for (QLabel *oben : {Label1, lblFrageNr, Label2, lblPlayer})
        oben->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame3 = new Fragenfeld(this);
    lblFrage = Frame3->lblFrage;
    Label5 = Frame3->Label5;
    lblLoesung = Frame3->lblLoesung;
    lblAntwort1 = Frame3->lblAntwort1;
    lblAntwort2 = Frame3->lblAntwort2;
    connect(Frame3, &Fragenfeld::angeklickt, this, [this](int antwort) {
        antwort == Spiel::Loesung ? lblLoesung_Click() : antwort == Spiel::Antwort1 ? lblAntwort1_Click()
                                                                                    : lblAntwort2_Click();
    });
    Frame2 = new Stufenuebersicht(this);

    // Control area.
    Frame4 = neuerRahmen(this, QStringLiteral("Frame4"), QString());
    cmdOK = neuerKnopf(Frame4, QStringLiteral("cmdOK"), QStringLiteral(":: &Bestätigen ::"));
    cmdOK->setEnabled(false);
    Frame1 = neuerRahmen(Frame4, QStringLiteral("Frame1"), QStringLiteral("Joker"));
    Frame1->setFont(Schriften::schrift(QStringLiteral("Verdana"), 9.75, true));
    setzeTextfarbe(Frame1, QColor(128, 255, 255));
    for (const Joker &joker : kJoker) {
        QPushButton *knopf = neuerKnopf(Frame1, QLatin1String(joker.knopf), QString::fromUtf8(joker.beschriftung));
        knopf->setFont(fensterSchrift());
        knopf->setShortcut(QKeySequence(joker.taste));
        beschreibe(knopf, QString::fromUtf8(joker.name), QString::fromUtf8(joker.beschreibung));
        connect(knopf, &QPushButton::clicked, this, [this, i = cmdJoker.size()] { cmdJoker_Click(i); });
        cmdJoker.append(knopf);
    }
    cmdGiveUp = neuerKnopf(Frame4, QStringLiteral("cmdGiveUp"), QStringLiteral("&Aufgeben"));
    cmdEnd = neuerKnopf(Frame4, QStringLiteral("cmdEnd"), QStringLiteral("B&eenden"));
    for (QPushButton *knopf : {cmdGiveUp, cmdEnd})
        knopf->setFont(Schriften::schrift(QStringLiteral("Verdana"), 8.25));

    beschreibeSteuerung();
    baueKlassenmenue();
    m_massstab.merkeSchriften(this);

    connect(cmdOK, &QPushButton::clicked, this, &Form2::cmdOK_Click);
    connect(cmdGiveUp, &QPushButton::clicked, this, &Form2::cmdGiveUp_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &Form2::cmdEnd_Click);
}

void Form2::ordneAn()
{
    // The window is 800 x 600 pixels with its border; everything else
    // follows from the width of its client area.
    m_innen = Twips::innenGroesse(800, 600);
    if (!m_projektor)
        setzeFesteGroesse();
    const auto breite = [this](QLabel *l) { return Twips::ausPixelX(l->sizeHint().width()) / m_massstab.faktor(); };
    m_layout = berechneSpielLayout(Twips::ausPixelX(m_innen.width()), breite(Label1), breite(lblFrageNr),
                                   breite(Label2), breite(lblPlayer));
    stelleAuf();
}

void Form2::setzeFesteGroesse()
{
    setFixedSize(m_innen);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect frei = screen->availableGeometry();
        move(frei.x() + (frei.width() - 800) / 2, frei.y() + (frei.height() - 600) / 2);
    }
}

void Form2::stelleAuf()
{
    const SpielLayout &l = m_layout;
    m_massstab.platziere(Label1, l.label1);
    m_massstab.platziere(lblFrageNr, l.lblFrageNr);
    m_massstab.platziere(Label2, l.label2);
    m_massstab.platziere(lblPlayer, l.lblPlayer);
    for (QLabel *text : {lblFrageNr, lblPlayer})
        text->resize(text->sizeHint().width(), text->height());
    Frame3->stelleAuf(l, m_massstab);
    Frame2->stelleAuf(l, m_massstab);
    m_massstab.platziere(Frame4, l.frame4);
    m_massstab.platziere(cmdOK, l.cmdOK);
    m_massstab.platziere(Frame1, l.frame1);
    for (int i = 0; i < cmdJoker.size(); ++i)
        m_massstab.platziere(cmdJoker[i], l.joker[i]);
    m_massstab.platziere(cmdGiveUp, l.cmdGiveUp);
    m_massstab.platziere(cmdEnd, l.cmdEnd);
    stelleKlasseAuf();
}

void Form2::Form_Load()
{
    m_vorlesen = Vorlieben::vorlesen();
    menuVorlesen->setChecked(m_vorlesen);
    if (Vorlieben::projektor())
        setzeProjektor(true);
    ordneAn();
    const QPointer<Form2> fenster(this);
    const SettingsFile::SpielPfad datenbank = SettingsFile::spielDatenbank();
    if (datenbank.schreibFehler) {
        // A read-only folder: play anyway from the default collection.
        meldung(AppInfo::titel(), QStringLiteral("Die Einstellung konnte nicht gespeichert werden.") + kCrLf
                                      + datenbank.schreibFehler.text() + kCrLf
                                      + QStringLiteral("Das Spiel verwendet die Fragen aus %1.").arg(datenbank.pfad));
        if (!fenster)
            return;
    }
    if (!FragenLaden(datenbank.pfad)) {
        QString text = QStringLiteral("Die Datei Fragen.mdb exisitiert nicht im Anwendungsverzeichnis!");
        // A server says itself what went wrong: which one, and why.
        if (Serveradresse::istServer(datenbank.pfad) && m_ladefehler)
            text = QStringLiteral("Die Fragen können nicht vom Server geladen werden.") + kCrLf + m_ladefehler.text();
        if (m_ladung == Spiel::Ladung::KeineErsteStufe)
            text += kCrLf + Spiel::keineFrageText(Spielregeln::kErsteStufe);
        meldung(AppInfo::titel(), text);
        Fensterwahl::zeige(Fensterart::Editor);
        if (fenster)
            close();
        return;
    }
    Anzeige();
    if (m_vorlesen)
        liesVor();
}

bool Form2::FragenLaden(const QString &pfad)
{
    Recordset fragen;
    QVector<FrageZeile> zeilen;
    if ((m_ladefehler = Fragenquelle::oeffne(fragen, pfad, Fragenquelle::Zugriff::Spielen))
        || (m_ladefehler = Spiel::liesFragen(fragen, zeilen)))
        return false;
    m_ladung = m_spiel->lade(zeilen);
    return m_ladung == Spiel::Ladung::Geladen;
}

void Form2::Anzeige()
{
    const Spiel &s = *m_spiel;
    Frame3->zeige(s);
    Frame2->zeigeStufe(s.stufe());
    cmdOK->setEnabled(s.gewaehlt() >= 0);
    for (int i = 0; i < cmdJoker.size(); ++i)
        cmdJoker[i]->setEnabled(s.jokerFrei(i));
    setWindowTitle(titelWieGeschrieben(Spielregeln::fensterTitel(s.spieler(), Spielregeln::stufenName(s.stufe()))));
    lblFrageNr->setText(QString::number(s.stufe()));
    lblFrageNr->resize(lblFrageNr->sizeHint().width(), lblFrageNr->height());
    benenne();
}

void Form2::lblAntwort1_Click() { m_spiel->waehle(Spiel::Antwort1), Anzeige(); }
void Form2::lblLoesung_Click() { m_spiel->waehle(Spiel::Loesung), Anzeige(); }
void Form2::lblAntwort2_Click() { m_spiel->waehle(Spiel::Antwort2), Anzeige(); }

void Form2::cmdOK_Click()
{
    Services::sprache().stopp();
    const Spiel::Urteil urteil = m_spiel->bestaetige();
    if (!urteil.gueltig)
        return;
    // While its message is open the verdict shows on the answers.
    Anzeige();
    if (urteil.ende) {
        beende(*urteil.ende);
        return;
    }
    const QPointer<Form2> fenster(this);
    meldung(urteil.titel, urteil.text);
    if (!fenster)
        return;
    if (const std::optional<Spiel::Abschluss> ende = m_spiel->weiter()) {
        beende(*ende);
        return;
    }
    Anzeige();
    if (m_vorlesen)
        liesVor();
}

void Form2::setzeSpieler(const QString &name)
{
    m_spiel->setzeSpieler(name);
    // The name ends at the window's right edge and keeps to the right half
    // of the row; a longer one is shortened, and whole in its tooltip.
    const int platz = qRound(Twips::innenGroesse(800, 600).width() * m_massstab.faktor() / 2);
    lblPlayer->setText(lblPlayer->fontMetrics().elidedText(name, Qt::ElideMiddle, platz));
    lblPlayer->setToolTip(name);
    ordneAn();
    Anzeige();
}

void Form2::beende(const Spiel::Abschluss &ende)
{
    const QPointer<Form2> fenster(this);
    if (!ende.text.isEmpty())
        meldung(ende.titel, ende.text);
    if (ende.hauptfensterZuerst)
        Fensterwahl::zeige(Fensterart::Haupt);
    // The window may have gone while the message was open; the entry is booked all the same.
    const QString hinweis = Spiel::buche(ende);
    if (!hinweis.isEmpty() && fenster)
        fenster->meldung(AppInfo::titel(), hinweis);
    else if (!hinweis.isEmpty())
        Services::meldung(nullptr, AppInfo::titel(), hinweis);
    if (!ende.hauptfensterZuerst)
        Fensterwahl::zeige(Fensterart::Haupt);
    if (fenster)
        close();
}

void Form2::meldung(const QString &titel, const QString &text)
{
    Meldung m;
    m.titel = titel;
    m.text = text;
    m.massstab = m_massstab.faktor();
    Services::messages().zeige(this, m);
}

void Form2::cmdGiveUp_Click() { beende(m_spiel->gibAuf()); }
void Form2::cmdEnd_Click() { beende(m_spiel->verlasse()); }

void Form2::cmdJoker_Click(int joker)
{
    const Spiel::Jokerzug zug = m_spiel->setzeEin(joker);
    const QPointer<Form2> fenster(this);
    if (!zug.text.isEmpty())
        meldung(zug.titel, zug.text);
    if (fenster)
        Anzeige();
}

void Form2::closeEvent(QCloseEvent *event)
{
    Services::sprache().stopp();
    // The class's server ends with the game, not when the window is deleted later.
    delete m_klasse;
    m_klasse = nullptr;
    Form_Unload();
    event->accept();
}

void Form2::Form_Unload()
{
    Fensterwahl::zeige(Fensterart::Haupt);
}
