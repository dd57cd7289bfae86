#include "ui/form1.h"

#include "basis/appinfo.h"
#include "basis/farben.h"
#include "basis/fensterwahl.h"
#include "basis/services.h"
#include "basis/twips.h"
#include "highscore/ablage.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QPushButton>
#include <QScreen>

namespace {
void setzeTextfarbe(QWidget *w, const QColor &farbe)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, farbe);
    w->setPalette(p);
}
}

Form1::Form1(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    baueFenster();
    baueMenue();
}

void Form1::baueFenster()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(AppInfo::titel());
    setWindowIcon(QIcon(QStringLiteral(":/res/icons/kreidolin.svg")));
    // Controls without a font of their own use the classic default.
    setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25));

    auto *innen = new QWidget(this);
    innen->setObjectName(QStringLiteral("Form1_innen"));
    innen->setAutoFillBackground(true);
    QPalette p = innen->palette();
    p.setColor(QPalette::Window, Farben::desktop());
    innen->setPalette(p);
    innen->setFixedSize(Twips::zuPixelX(3150), Twips::zuPixelY(6225));
    setCentralWidget(innen);

    Label1 = new QLabel(QStringLiteral("Bitte Name eingeben:"), innen);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(Schriften::schrift(QStringLiteral("Verdana"), 9.75, true));
    setzeTextfarbe(Label1, QColor(255, 255, 255));
    Twips::setzeGeometrie(Label1, 120, 240, 2415, 375);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    txt_name = new QLineEdit(innen);
    txt_name->setObjectName(QStringLiteral("txt_name"));
    Twips::setzeGeometrie(txt_name, 120, 480, 2955, 285);

    cmd_start = new QPushButton(QStringLiteral("Spiel &beginnen"), innen);
    cmd_start->setObjectName(QStringLiteral("cmd_start"));
    cmd_start->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 9.75));
    cmd_start->setEnabled(false);
    cmd_start->setAutoDefault(false);
    QPalette gruen = cmd_start->palette();
    gruen.setColor(QPalette::Button, QColor(0, 128, 0));
    cmd_start->setPalette(gruen);
    Twips::setzeGeometrie(cmd_start, 120, 840, 2955, 375);

    Label2 = new QLabel(QStringLiteral("Highscore"), innen);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(Schriften::schrift(QStringLiteral("Verdana"), 9.75, true));
    setzeTextfarbe(Label2, QColor(128, 255, 255));
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::setzeGeometrie(Label2, 60, 1440, 3015, 375);

    lstHighscore = new QListWidget(innen);
    lstHighscore->setObjectName(QStringLiteral("lstHighscore"));
    lstHighscore->setSortingEnabled(false);
    lstHighscore->setUniformItemSizes(true);
    {
        // Latin entries drawn without OpenType shaping (so without kerning)
        // paint in half the time: the list is redrawn at every activation.
        QFont schrift = lstHighscore->font();
        schrift.setStyleStrategy(QFont::PreferNoShaping);
        lstHighscore->setFont(schrift);
    }
    Twips::setzeGeometrie(lstHighscore, 60, 1800, 3015, 3570);

    Command1 = new QPushButton(QStringLiteral("Spiel b&eenden"), innen);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 9.75));
    Command1->setAutoDefault(false);
    Twips::setzeGeometrie(Command1, 120, 5580, 2895, 435);

    setTabOrder(txt_name, cmd_start);
    setTabOrder(cmd_start, lstHighscore);
    setTabOrder(lstHighscore, Command1);
    txt_name->setFocus();

    connect(txt_name, &QLineEdit::textChanged, this, &Form1::txt_name_Change);
    connect(txt_name, &QLineEdit::returnPressed, this, &Form1::txt_name_KeyPress);
    connect(cmd_start, &QPushButton::clicked, this, &Form1::cmd_start_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
}

void Form1::baueMenue()
{
    QMenuBar *leiste = menuBar();
    leiste->setObjectName(QStringLiteral("Form1_menue"));
    // The menu font of the classic desktop keeps all four entries in the
    // narrow window's one menu row.
    leiste->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25));
    menuDatei = leiste->addMenu(QStringLiteral("&Datei"));
    menuDatei->setObjectName(QStringLiteral("menuDatei"));
    menuDatei->menuAction()->setObjectName(QStringLiteral("menuDatei"));
    menuFragen = menuDatei->addAction(QStringLiteral("Fragen einfügen"));
    menuFragen->setObjectName(QStringLiteral("menuFragen"));
    menuEnd = menuDatei->addAction(QStringLiteral("B&eenden"));
    menuEnd->setObjectName(QStringLiteral("menuEnd"));
    menuHighscore = leiste->addAction(QStringLiteral("Akt&ualisieren"));
    menuHighscore->setObjectName(QStringLiteral("menuHighscore"));
    menuInfo = leiste->addAction(QStringLiteral("&Info"));
    menuInfo->setObjectName(QStringLiteral("menuInfo"));
    menuAnleitung = leiste->addAction(QStringLiteral("&Anleitung"));
    menuAnleitung->setObjectName(QStringLiteral("menuAnleitung"));

    connect(menuFragen, &QAction::triggered, this, &Form1::menuFragen_Click);
    connect(menuEnd, &QAction::triggered, this, &Form1::menuEnd_Click);
    connect(menuHighscore, &QAction::triggered, this, &Form1::menuHighscore_Click);
    connect(menuInfo, &QAction::triggered, this, &Form1::menuInfo_Click);
    connect(menuAnleitung, &QAction::triggered, this, &Form1::menuAnleitung_Click);

    // The client area keeps its size; the menu bar comes on top of it.
    const QSize innen = centralWidget()->size();
    const int leistenHoehe = qMax(leiste->sizeHint().height(), leiste->heightForWidth(innen.width()));
    setFixedSize(innen.width(), innen.height() + leistenHoehe);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect frei = screen->availableGeometry();
        move(frei.x() + (frei.width() - width()) / 2, frei.y() + (frei.height() - height()) / 2);
    }
}

bool Form1::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate) {
        const QWidget *aktiv = QApplication::activeWindow();
        m_zurueckVonMeldung = aktiv && aktiv != this && aktiv->parentWidget() == this
            && qobject_cast<const QDialog *>(aktiv) && aktiv->isModal();
    } else if (event->type() == QEvent::WindowActivate) {
        // The list is rebuilt once Qt's own activation is through: a message
        // box the rebuild shows runs a loop of its own, in which this window
        // may be closed and deleted. A window that is closing, or that a
        // newer main window has replaced, opens no message box any more.
        if (m_zurueckVonMeldung)
            m_zurueckVonMeldung = false;
        else
            QTimer::singleShot(0, this, [this] {
                if (Fensterwahl::offen(Fensterart::Haupt) == this)
                    Form_Activate();
            });
    }
    return QMainWindow::event(event);
}

void Form1::Form_Activate()
{
    menuHighscore_Click();
}

bool Form1::meldeFehler(const QString &text)
{
    const QPointer<Form1> lebt(this);
    Services::meldung(this, AppInfo::titel(), text);
    return !lebt.isNull();
}

void Form1::menuHighscore_Click()
{
    lstHighscore->clear();
    lstHighscore->addItem(Highscore::keineEintraege());

    const Highscore::Lesung lesung = HighscoreAblage::lies();
    // Told once per window: the list is rebuilt at every activation.
    if (lesung.fehler && !m_lesefehlerGemeldet) {
        m_lesefehlerGemeldet = true;
        if (!meldeFehler(QStringLiteral("Die Highscoreliste kann nicht angezeigt werden.\r\n") + lesung.fehler.text()))
            return;
    }
    const Highscore::Liste liste = Highscore::baueListe(lesung.eintraege);
    if (liste.warnen && !meldeFehler(Highscore::warnText()))
        return;
    if (liste.leeren) {
        const StoreError e = HighscoreAblage::leere();
        if (!e)
            return;
        if (!meldeFehler(QStringLiteral("Die Highscoreliste konnte nicht gelöscht werden.\r\n") + e.text()))
            return;
        // Nothing was deleted, so the entries are still shown.
        QVector<Highscore::Eintrag> alle = lesung.eintraege;
        Highscore::ordne(alle);
        QStringList texte;
        texte.reserve(alle.size());
        for (int i = 0; i < alle.size(); ++i)
            texte << Highscore::listenText(i + 1, alle[i]);
        zeigeEintraege(texte);
        return;
    }
    if (liste.texte.isEmpty())
        return;
    zeigeEintraege(liste.texte);
}

// A list box lays out every item to learn its size, shaping each text anew;
// for a full list of 1000 entries that was most of a rebuild. Every entry is
// one line of the list's font, so all take one size (uniform item sizes),
// which the list reads from its last item: as high as a line, as wide as the
// widest entry, summed from the widths of its characters.
void Form1::zeigeEintraege(const QStringList &texte)
{
    lstHighscore->clear();
    lstHighscore->addItems(texte);
    if (texte.isEmpty())
        return;
    const QFontMetrics fm(lstHighscore->font());
    QHash<QChar, int> zeichen;
    const auto breite = [&](const QString &text) {
        int summe = 0;
        for (const QChar c : text) {
            auto it = zeichen.constFind(c);
            if (it == zeichen.cend())
                it = zeichen.insert(c, fm.horizontalAdvance(c));
            summe += *it;
        }
        return summe;
    };
    QListWidgetItem *letzte = lstHighscore->item(lstHighscore->count() - 1);
    const QSize eigen = lstHighscore->sizeHintForIndex(lstHighscore->model()->index(lstHighscore->count() - 1, 0));
    const int rand = eigen.width() - breite(letzte->text());
    int breiteste = eigen.width();
    for (const QString &text : texte)
        breiteste = qMax(breiteste, breite(text) + rand);
    letzte->setSizeHint(QSize(breiteste, eigen.height()));
}

void Form1::txt_name_Change()
{
    // One game at a time: while one runs (the main window is back because
    // the editor was closed), no other is offered until it ends.
    QWidget *spiel = Fensterwahl::offen(Fensterart::Spiel);
    cmd_start->setEnabled(!txt_name->text().isEmpty() && !spiel);
    if (spiel && m_laufendesSpiel != spiel) {
        m_laufendesSpiel = spiel;
        connect(spiel, &QObject::destroyed, this, [this] { cmd_start->setEnabled(!txt_name->text().isEmpty()); });
    }
}

void Form1::txt_name_KeyPress()
{
    // Enter starts a game whatever the button's state, also with no name.
    cmd_start_Click();
}

void Form1::cmd_start_Click()
{
    // The running game keeps its player, its level and its score; Enter
    // brings it to the front instead of renaming it.
    if (Fensterwahl::offen(Fensterart::Spiel)) {
        Fensterwahl::zeige(Fensterart::Spiel);
        return;
    }
    const QString name = txt_name->text();
    QWidget *spiel = Fensterwahl::hole(Fensterart::Spiel);
    if (Fensterwahl::offen(Fensterart::Spiel) != spiel) {
        // The game window could not load its questions and has closed
        // itself, leaving the editor open.
        close();
        return;
    }
    if (auto *fuerSpieler = dynamic_cast<Spielfenster *>(spiel))
        fuerSpieler->setzeSpieler(name);
    Fensterwahl::zeige(Fensterart::Spiel);
    close();
}

void Form1::Command1_Click() { close(); }
void Form1::menuEnd_Click() { close(); }
void Form1::menuFragen_Click() { Fensterwahl::zeige(Fensterart::Editor); }
void Form1::menuInfo_Click() { Fensterwahl::zeige(Fensterart::Info); }
void Form1::menuAnleitung_Click() { Fensterwahl::zeige(Fensterart::Anleitung); }
