#include "ui/form2.h"

#include "ui/antwortfeld.h"
#include "ui/klassenanzeige.h"
#include "ui/zahlenspalte.h"

#include "basis/appinfo.h"
#include "basis/farben.h"
#include "basis/fensterwahl.h"
#include "basis/modvariablen.h"
#include "basis/services.h"
#include "basis/twips.h"
#include "basis/vorlieben.h"
#include "highscore/highscore.h"
#include "highscore/ablage.h"
#include "klasse/klassenrunde.h"
#include "store/connection.h"
#include "store/recordset.h"
#include "store/serveradresse.h"
#include "store/settingsfile.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kVermerkt = QStringLiteral("Sie wurden in der Highscore vermerkt!");

const QColor kGruenAuswahl(0, 255, 0);
const QColor kGruenStufe(0, 192, 0);
const QColor kOrangeStufe(192, 64, 0);
const QColor kRot(255, 0, 0);
const QColor kHellcyan(128, 255, 255);

QFont fensterSchrift() { return Schriften::schrift(QStringLiteral("MS Sans Serif"), 9.75, true); }

void setzeTextfarbe(QWidget *w, const QColor &farbe)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, farbe);
    w->setPalette(p);
}

// Qt reads "[*]" in a window title as the place of the modified mark; a
// doubled one shows as written, so a name keeps its brackets.
QString titelWieGeschrieben(QString titel)
{
    return titel.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

QString keineFrageText(int stufe)
{
    return QStringLiteral("In der Fragendatenbank gibt es keine Frage für die Stufe %1 (%2).")
        .arg(stufe)
        .arg(Spielregeln::stufenName(stufe));
}

QLabel *neuesLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    // Questions, answers and the player's name are shown as written, never
    // read as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton *neuerKnopf(QWidget *parent, const QString &name, const QString &text)
{
    auto *knopf = new QPushButton(text, parent);
    knopf->setObjectName(name);
    knopf->setAutoDefault(false);
    return knopf;
}

QGroupBox *neuerRahmen(QWidget *parent, const QString &name, const QString &titel)
{
    auto *rahmen = new QGroupBox(titel, parent);
    rahmen->setObjectName(name);
    return rahmen;
}

// Twips of an auto-size label's width, as it stands now.
double breiteInTwips(QLabel *label)
{
    label->adjustSize();
    return Twips::ausPixelX(label->width());
}
}

Form2::Form2(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form2"));
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

    // Question area. The outlines lie under the red slots, the slots under
    // the answer labels, so a slot shows only where its answer is struck.
    Frame3 = neuerRahmen(this, QStringLiteral("Frame3"), QString());
    Frame3->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25, true));
    lblFrage = neuesLabel(Frame3, QStringLiteral("lblFrage"), QStringLiteral("frage wird geladen"));
    lblFrage->setFont(fensterSchrift());
    lblFrage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblFrage->setWordWrap(true);
    setzeTextfarbe(lblFrage, Farben::hervorhebung());
    for (int i = 0; i < 3; ++i) {
        auto *shape = new QFrame(Frame3);
        shape->setObjectName(QStringLiteral("Shape1(%1)").arg(i));
        shape->setFrameShape(QFrame::Box);
        shape->setFrameShadow(QFrame::Plain);
        shape->setLineWidth(1);
        setzeTextfarbe(shape, Qt::black);
        Shape1.append(shape);
    }
    for (int i = 0; i < 3; ++i) {
        QLabel *slot = neuesLabel(Frame3, QStringLiteral("Label5(%1)").arg(i), QString());
        slot->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25));
        setzeHintergrund(slot, kRot);
        Label5.append(slot);
    }
    lblLoesung = new Antwortfeld(QStringLiteral("Label6"), Frame3);
    lblAntwort1 = new Antwortfeld(QStringLiteral("Label1"), Frame3);
    lblAntwort2 = new Antwortfeld(QStringLiteral("Label1"), Frame3);
    lblLoesung->setObjectName(QStringLiteral("lblLoesung"));
    lblAntwort1->setObjectName(QStringLiteral("lblAntwort1"));
    lblAntwort2->setObjectName(QStringLiteral("lblAntwort2"));
    for (Antwortfeld *antwort : {lblLoesung, lblAntwort1, lblAntwort2}) {
        antwort->setTextFormat(Qt::PlainText);
        antwort->setFont(fensterSchrift());
        antwort->setAlignment(Qt::AlignCenter);
        antwort->setWordWrap(true);
        antwort->setMargin(4);
        setzeTextfarbe(antwort, Qt::black);
        setzeHintergrund(antwort, Farben::schaltflaeche());
        antwort->installEventFilter(this);
    }

    // Level overview: one row per level, level 15 at the top.
    Frame2 = neuerRahmen(this, QStringLiteral("Frame2"), QStringLiteral("Übersicht"));
    Frame2->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25, true));
    setzeTextfarbe(Frame2, QColor(255, 255, 255));
    for (int i = 0; i < 15; ++i) {
        QLabel *stufe = neuesLabel(Frame2, QStringLiteral("Label3(%1)").arg(i), Spielregeln::stufenName(i + 1));
        stufe->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25));
        stufe->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setzeTextfarbe(stufe, Farben::hervorhebung());
        setzeHintergrund(stufe, Farben::desktop());
        Label3.append(stufe);
    }
    Label4 = new Zahlenspalte(QStringLiteral("15 14 13 12 11 10 9  8 7 6 5 4 3 2 1"), Frame2);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 9.75));
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setzeTextfarbe(Label4, Farben::hervorhebung());

    // Control area.
    Frame4 = neuerRahmen(this, QStringLiteral("Frame4"), QString());
    cmdOK = neuerKnopf(Frame4, QStringLiteral("cmdOK"), QStringLiteral(":: &Bestätigen ::"));
    cmdOK->setEnabled(false);
    Frame1 = neuerRahmen(Frame4, QStringLiteral("Frame1"), QStringLiteral("Joker"));
    Frame1->setFont(Schriften::schrift(QStringLiteral("Verdana"), 9.75, true));
    setzeTextfarbe(Frame1, kHellcyan);
    cmdFifty = neuerKnopf(Frame1, QStringLiteral("cmdFifty"), QStringLiteral("50:50"));
    cmdRnd = neuerKnopf(Frame1, QStringLiteral("cmdRnd"), QStringLiteral("Lehrer"));
    cmdFifty2 = neuerKnopf(Frame1, QStringLiteral("cmdFifty2"), QStringLiteral("50:50"));
    for (QPushButton *joker : {cmdFifty, cmdRnd, cmdFifty2})
        joker->setFont(fensterSchrift());
    cmdGiveUp = neuerKnopf(Frame4, QStringLiteral("cmdGiveUp"), QStringLiteral("&Aufgeben"));
    cmdEnd = neuerKnopf(Frame4, QStringLiteral("cmdEnd"), QStringLiteral("B&eenden"));
    for (QPushButton *knopf : {cmdGiveUp, cmdEnd})
        knopf->setFont(Schriften::schrift(QStringLiteral("Verdana"), 8.25));

    // The jokers have no letter in their captions; these keys stand in for it.
    cmdFifty->setShortcut(QKeySequence(Qt::ALT | Qt::Key_5));
    cmdFifty2->setShortcut(QKeySequence(Qt::ALT | Qt::Key_0));
    cmdRnd->setShortcut(QKeySequence(Qt::ALT | Qt::Key_L));

    beschreibeSteuerung();
    baueKlassenmenue();

    // Everything with a font of its own, as designed, for the projector view.
    m_grundschriften.insert(this, font());
    for (QWidget *w : findChildren<QWidget *>()) {
        if (w->testAttribute(Qt::WA_SetFont))
            m_grundschriften.insert(w, w->font());
    }

    connect(cmdOK, &QPushButton::clicked, this, &Form2::cmdOK_Click);
    connect(cmdFifty, &QPushButton::clicked, this, &Form2::cmdFifty_Click);
    connect(cmdRnd, &QPushButton::clicked, this, &Form2::cmdRnd_Click);
    connect(cmdFifty2, &QPushButton::clicked, this, &Form2::cmdFifty2_Click);
    connect(cmdGiveUp, &QPushButton::clicked, this, &Form2::cmdGiveUp_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &Form2::cmdEnd_Click);
}

void Form2::setzeHintergrund(QLabel *label, const QColor &farbe)
{
    QPalette p = label->palette();
    p.setColor(QPalette::Window, farbe);
    label->setPalette(p);
    label->setAutoFillBackground(true);
}

void Form2::setzeGeometrie(QWidget *w, const TwipsRechteck &r)
{
    QRect g = Twips::rechteck(r.links, r.oben, r.breite, r.hoehe, m_massstab);
    if (w->parentWidget() == this)
        g.translate(m_versatz.toPoint());
    w->setGeometry(g);
}

void Form2::ordneAn()
{
    // The window is 800 x 600 pixels with its border; everything else
    // follows from the width of its client area.
    m_innen = Twips::innenGroesse(800, 600);
    if (!m_projektor)
        setzeFesteGroesse();
    m_layout = berechneSpielLayout(Twips::ausPixelX(m_innen.width()), breiteInTwips(Label1),
                                   breiteInTwips(lblFrageNr), breiteInTwips(Label2), breiteInTwips(lblPlayer));
    stelleAuf();
    // Until the first shuffle every answer sits on the left slot.
    for (QLabel *antwort : {lblLoesung, lblAntwort1, lblAntwort2})
        setzeGeometrie(antwort, m_layout.antwort);
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
    for (auto it = m_grundschriften.cbegin(); it != m_grundschriften.cend(); ++it) {
        QFont schrift = it.value();
        schrift.setPointSizeF(schrift.pointSizeF() * m_massstab);
        it.key()->setFont(schrift);
    }
    const SpielLayout &l = m_layout;
    setzeGeometrie(Label1, l.label1);
    setzeGeometrie(lblFrageNr, l.lblFrageNr);
    setzeGeometrie(Label2, l.label2);
    setzeGeometrie(lblPlayer, l.lblPlayer);
    for (QLabel *text : {lblFrageNr, lblPlayer})
        text->resize(text->sizeHint().width(), text->height());
    setzeGeometrie(Frame3, l.frame3);
    setzeGeometrie(lblFrage, l.lblFrage);
    for (int i = 0; i < 3; ++i) {
        setzeGeometrie(Label5[i], l.label5[i]);
        setzeGeometrie(Shape1[i], l.shape1[i]);
        Shape1[i]->setLineWidth(qMax(1, qRound(m_massstab)));
    }
    legeAntwortenAb();
    setzeGeometrie(Frame2, l.frame2);
    for (int i = 0; i < 15; ++i)
        setzeGeometrie(Label3[i], l.label3[i]);
    setzeGeometrie(Label4, l.label4);
    // Enlarged, two-digit numbers come out a little wider than the column.
    if (m_massstab > 1.0)
        Label4->resize(qMax(Label4->width(), Label4->fontMetrics().horizontalAdvance(QStringLiteral("15")) + 2),
                       Label4->height());
    QVector<QRect> zeilen;
    for (int i = 14; i >= 0; --i)
        zeilen.append(Label3[i]->geometry().translated(-Label4->pos()));
    for (QRect &zeile : zeilen) {
        zeile.setLeft(0);
        zeile.setWidth(Label4->width());
    }
    Label4->setzeZeilen(zeilen);
    setzeGeometrie(Frame4, l.frame4);
    setzeGeometrie(cmdOK, l.cmdOK);
    setzeGeometrie(Frame1, l.frame1);
    setzeGeometrie(cmdFifty, l.cmdFifty);
    setzeGeometrie(cmdRnd, l.cmdRnd);
    setzeGeometrie(cmdFifty2, l.cmdFifty2);
    setzeGeometrie(cmdGiveUp, l.cmdGiveUp);
    setzeGeometrie(cmdEnd, l.cmdEnd);
    stelleKlasseAuf();
}

void Form2::legeAntwortenAb()
{
    const TwipsRechteck &a = m_layout.antwort;
    Antwortfeld *antworten[3] = {lblLoesung, lblAntwort1, lblAntwort2};
    for (int i = 0; i < 3; ++i)
        setzeGeometrie(antworten[i], {double(Spielregeln::slotLinks(m_layout.label5[i].breite, Reihenfolge[i])),
                                      a.oben, a.breite, a.hoehe});
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
        Services::meldung(this, AppInfo::titel(),
                          QStringLiteral("Die Einstellung konnte nicht gespeichert werden.") + kCrLf
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
        if (m_ohneErsteStufe)
            text += kCrLf + keineFrageText(Spielregeln::kErsteStufe);
        Services::meldung(this, AppInfo::titel(), text);
        Fensterwahl::zeige(Fensterart::Editor);
        if (fenster)
            close();
    } else if (m_vorlesen) {
        liesVor();
    }
}

bool Form2::FragenLaden(const QString &pfad)
{
    m_ohneErsteStufe = false;
    Verbindung = std::make_shared<Connection>();
    Verbindung->setConnectionString(Connection::connectionStringFor(pfad));
    if ((m_ladefehler = Verbindung->open()))
        return false;

    delete rsFragen;
    rsFragen = new Recordset(this);
    rsFragen->setActiveConnection(Verbindung);
    rsFragen->setCursorType(Recordset::CursorType::Keyset);
    rsFragen->setSource(QStringLiteral("select * from fragen"));
    // The game counts its rows in 16 bits; a larger table is not a question
    // collection it can play.
    rsFragen->setMaxRecords(Recordset::kMaxRows);
    if ((m_ladefehler = rsFragen->open()))
        return false;
    if (rsFragen->bind(lblFrage, QStringLiteral("frage")) || rsFragen->bind(lblLoesung, QStringLiteral("loesung"))
        || rsFragen->bind(lblAntwort1, QStringLiteral("Antwort1"))
        || rsFragen->bind(lblAntwort2, QStringLiteral("Antwort2")))
        return false;
    const int stufeSpalte = rsFragen->fieldIndex(QStringLiteral("Stufe"));
    if (stufeSpalte < 0)
        return false;

    Services::random().seedFromClock();
    Stufe = 1;
    AnzahlFragen = rsFragen->recordCount();
    // Which rows belong to which level is known once, so that choosing a
    // question is a single draw and a level without questions is noticed.
    QVector<QVariant> stufen;
    stufen.reserve(AnzahlFragen);
    for (int zeile = 0; zeile < AnzahlFragen; ++zeile)
        stufen.append(rsFragen->valueAt(zeile, stufeSpalte));
    m_zeilenJeStufe = Spielregeln::zeilenJeStufe(stufen);
    m_ohneErsteStufe = AnzahlFragen > 0 && m_zeilenJeStufe.value(Stufe).isEmpty();

    if (rsFragen->moveFirst() || !FrageWaehlen())
        return false;
    Befehl = QStringLiteral("uebersicht");
    Anzeige();
    Befehl = QStringLiteral("mischen");
    Anzeige();
    return true;
}

bool Form2::FrageWaehlen()
{
    const QVector<int> zeilen = m_zeilenJeStufe.value(Stufe);
    if (zeilen.isEmpty())
        return false;
    const int zeile = Spielregeln::waehleZeile(zeilen, Services::random().next());
    return !rsFragen->moveFirst() && !rsFragen->move(zeile);
}

void Form2::fuehreAus(const QString &befehl)
{
    Befehl = befehl;
    Anzeige();
}

void Form2::Anzeige()
{
    const auto waehle = [this](Antwortfeld *gewaehlt) {
        for (Antwortfeld *antwort : {lblAntwort1, lblLoesung, lblAntwort2}) {
            setzeHintergrund(antwort, antwort == gewaehlt ? kGruenAuswahl : Farben::schaltflaeche());
            antwort->setzeMarkierung(antwort == gewaehlt ? Antwortfeld::Markierung::Gewaehlt
                                                         : Antwortfeld::Markierung::Keine);
        }
        cmdOK->setEnabled(gewaehlt != nullptr);
        LoesungGewaehlt = gewaehlt == lblLoesung;
        m_gewaehlt = gewaehlt;
    };

    if (Befehl == QLatin1String("mischen")) {
        Reihenfolge = Spielregeln::mische([] { return Services::random().next(); });
        Zaehler = 3;
        legeAntwortenAb();
    }
    if (Befehl == QLatin1String("antwort1"))
        waehle(lblAntwort1);
    if (Befehl == QLatin1String("loesung"))
        waehle(lblLoesung);
    if (Befehl == QLatin1String("antwort2"))
        waehle(lblAntwort2);
    if (Befehl == QLatin1String("refresh"))
        waehle(nullptr);
    if (Befehl == QLatin1String("uebersicht")) {
        QLabel *stufe = Label3.value(Stufe - 1);
        if (stufe) {
            setWindowTitle(titelWieGeschrieben(Spielregeln::fensterTitel(lblPlayer->text(), stufe->text())));
            setzeHintergrund(stufe, Stufe == 5 || Stufe == 10 ? kOrangeStufe : kGruenStufe);
        }
    }
    if (Befehl == QLatin1String("kill"))
        lblAntwort2->setVisible(false);
    if (Befehl == QLatin1String("kill2"))
        lblAntwort1->setVisible(false);
    if (Befehl == QLatin1String("visible")) {
        lblAntwort1->setVisible(true);
        lblAntwort2->setVisible(true);
    }
    lblFrageNr->setText(QString::number(Stufe));
    lblFrageNr->resize(lblFrageNr->sizeHint().width(), lblFrageNr->height());
    benenne();
    klasseFolgt();
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    auto *label = qobject_cast<QLabel *>(watched);
    if (!label || (label != lblLoesung && label != lblAntwort1 && label != lblAntwort2))
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_gedrueckt = label;
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *maus = static_cast<QMouseEvent *>(event);
        const bool klick = maus->button() == Qt::LeftButton && m_gedrueckt == label
            && label->rect().contains(maus->position().toPoint()) && label->isVisible();
        m_gedrueckt = nullptr;
        if (klick) {
            if (label == lblLoesung)
                lblLoesung_Click();
            else if (label == lblAntwort1)
                lblAntwort1_Click();
            else
                lblAntwort2_Click();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form2::lblAntwort1_Click() { fuehreAus(QStringLiteral("antwort1")); }
void Form2::lblLoesung_Click() { fuehreAus(QStringLiteral("loesung")); }
void Form2::lblAntwort2_Click() { fuehreAus(QStringLiteral("antwort2")); }

void Form2::cmdOK_Click()
{
    Services::sprache().stopp();
    zeigeUrteil();
    if (m_klasse)
        m_klasse->runde()->verdikt();
    if (LoesungGewaehlt)
        RichtigBeantwortet();
    else
        FalschBeantwortet();
}

void Form2::RichtigBeantwortet()
{
    if (Stufe == Spielregeln::kLetzteStufe) {
        AbiturBestanden();
        return;
    }
    const QPointer<Form2> fenster(this);
    Services::meldung(this, AppInfo::spielMeldungTitel(), QStringLiteral("Richtig!"));
    if (!fenster)
        return;
    ++Stufe;
    if (!FrageWaehlen()) {
        KeineFrage();
        return;
    }
    for (const char *befehl : {"refresh", "uebersicht", "mischen", "visible"})
        fuehreAus(QLatin1String(befehl));
    if (m_vorlesen)
        liesVor();
}

void Form2::setzeSpieler(const QString &name)
{
    setWindowTitle(titelWieGeschrieben(Spielregeln::fensterTitel(name, Label3.at(0)->text())));
    lblPlayer->setText(name);
    lblPlayer->resize(lblPlayer->sizeHint().width(), lblPlayer->height());
    benenne();
}

QString Form2::spielerName() const { return lblPlayer->text(); }

void Form2::eintragen(const QPointer<Form2> &fenster, const QString &name, int punkte)
{
    const HighscoreAblage::Ergebnis ergebnis = HighscoreAblage::anhaengen(name, punkte);
    if (ergebnis.fehler) {
        Services::meldung(fenster, AppInfo::titel(),
                          QStringLiteral("Der Eintrag für die Highscore konnte nicht gespeichert werden.") + kCrLf
                              + ergebnis.fehler.text());
    } else if (!ergebnis.hinweis.isEmpty()) {
        Services::meldung(fenster, AppInfo::titel(), ergebnis.hinweis);
    }
}

void Form2::FalschBeantwortet()
{
    const QString text = Spielregeln::falschText(Stufe);
    Stufe = Spielregeln::sicherheitsstufe(Stufe);
    beende(text, Stufe);
}

// An ending that books a score: its message with the level kept, the main
// window, the entry, also when the window went away while the message was open.
void Form2::beende(const QString &text, int punkte)
{
    const QString name = spielerName();
    const QPointer<Form2> fenster(this);
    Services::meldung(this, AppInfo::spielMeldungTitel(),
                      text + kCrLf + QStringLiteral("Stufe: ") + QString::number(punkte) + kCrLf + kVermerkt);
    Fensterwahl::zeige(Fensterart::Haupt);
    eintragen(fenster, name, punkte);
    if (fenster)
        close();
}

void Form2::AbiturBestanden()
{
    const QString name = spielerName();
    const QPointer<Form2> fenster(this);
    Services::meldung(this, QStringLiteral("Kreidolin Message"),
                      QStringLiteral("Gratuliere! Du hast das Abitur bestanden!!!") + kCrLf
                          + QStringLiteral("Folgende Daten werden in der Highscore gespeichert:") + kCrLf
                          + QStringLiteral("Spieler: ") + spielerName() + kCrLf + QStringLiteral("15 Punkte"));
    eintragen(fenster, name, Spielregeln::kLetzteStufe);
    if (!fenster) {
        Fensterwahl::zeige(Fensterart::Haupt);
        return;
    }
    rsFragen->moveFirst();
    Fensterwahl::zeige(Fensterart::Haupt);
    close();
}

void Form2::KeineFrage()
{
    // The collection lacks this level: the game ends as if given up here.
    beende(keineFrageText(Stufe) + QStringLiteral(" Das Spiel endet hier."), Stufe - 1);
}

void Form2::cmdGiveUp_Click()
{
    beende(QStringLiteral("Sie haben entschlossen, die Schule abzubrechen. Wenn Sie mögen, starten Sie "
                          "das Spiel erneut...!"),
           Stufe - 1);
}

void Form2::cmdEnd_Click()
{
    Fensterwahl::zeige(Fensterart::Haupt);
    close();
}

void Form2::cmdFifty_Click()
{
    cmdFifty->setEnabled(false);
    fuehreAus(QStringLiteral("kill"));
}

void Form2::cmdFifty2_Click()
{
    cmdFifty2->setEnabled(false);
    fuehreAus(QStringLiteral("kill2"));
}

void Form2::cmdRnd_Click()
{
    if (klasseStimmtAb())
        return;
    const float r1 = Services::random().next();
    const float r2 = Services::random().next();
    const Spielregeln::Umfrage u = Spielregeln::umfrage(r1, r2);
    const auto zeile = [](const QLabel *antwort, int anteil) {
        return antwort->text() + QStringLiteral(" = ") + QString::number(anteil) + QStringLiteral("%");
    };
    const QPointer<Form2> fenster(this);
    Services::meldung(this, AppInfo::spielMeldungTitel(),
                      QStringLiteral("Das Publikum hat wie folgt gestimmt: ") + kCrLf + zeile(lblLoesung, u.loesung)
                          + kCrLf + zeile(lblAntwort1, u.antwort1) + kCrLf + zeile(lblAntwort2, u.antwort2));
    if (fenster)
        cmdRnd->setEnabled(false);
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
