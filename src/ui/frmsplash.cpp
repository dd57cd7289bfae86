#include "ui/frmsplash.h"

#include "basis/appinfo.h"
#include "basis/farben.h"
#include "basis/fensterwahl.h"
#include "basis/hersteller.h"
#include "basis/services.h"
#include "ui/splashregeln.h"
#include "basis/twips.h"
#include "ui/linkamsel.h"
#include "ui/linkamsel2.h"
#include "ui/linklindenhain.h"
#include "ui/mailmorlon.h"
#include "ui/mausklick.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace {
// The splash texts break their lines with a lone CR, which a plain QLabel
// shows as a blank; this label breaks the line there.
class CrLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QString zeilen = text();
        zeilen.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        zeilen.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const int flags = int(alignment()) | (wordWrap() ? int(Qt::TextWordWrap) : 0);
        style()->drawItemText(&painter, contentsRect(), flags, palette(), isEnabled(), zeilen,
                              foregroundRole());
    }
};

// The class-project sentence. Its runs of blanks make room on the second
// line for the two name links, which lie over the label at fixed places. The
// runs were measured with blanks of 60 twips; a font's own blank is narrower,
// and Qt would also drop a whole run at a line end. So the label lays out
// its words itself, with blanks of that width (Splash::setze).
class AutorenLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        const QFontMetricsF fm(font());
        const auto zeilen = Splash::setze(text(), width(), 60.0 / Twips::proPixelX(),
                                          [&fm](const QString &wort) { return fm.horizontalAdvance(wort); });
        double y = fm.ascent();
        for (const Splash::Zeile &zeile : zeilen) {
            for (const Splash::Wort &wort : zeile)
                painter.drawText(QPointF(wort.x, y), wort.text);
            y += fm.lineSpacing();
        }
    }
};

QFont arial(double punkte) { return Schriften::schrift(QStringLiteral("Arial"), punkte); }

template <class L>
L *label(QWidget *parent, const char *name, const QString &text, double punkte, Qt::Alignment ausrichtung)
{
    auto *l = new L(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(arial(punkte));
    l->setAlignment(ausrichtung | Qt::AlignTop);
    l->setWordWrap(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(pal);
    return l;
}

// An opaque label in the window's colours rather than a transparent one.
void deckend(QLabel *l)
{
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, Farben::schaltflaeche());
    l->setPalette(pal);
    l->setAutoFillBackground(true);
}
}

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(AppInfo::titel());
    // No border, no title bar, no task bar entry.
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    // A splash screen does not keep a program running by itself; this one is
    // the program's only window until the main window follows, so a message
    // box closed meanwhile (a link that cannot be opened) must not end it.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(Twips::rechteck(0, 0, Splash::kInnenBreite, Splash::kInnenHoehe).size());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Farben::schaltflaeche());
    setPalette(pal);
    setAutoFillBackground(true);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Twips::setzeGeometrie(Frame1, 120, 120, 9615, 6855);

    lblTitel = label<CrLabel>(Frame1, "lblTitel", QStringLiteral("Titel"), 39.75, Qt::AlignHCenter);
    // 960 rather than 855 twips high, down to the next label: the title's
    // whole line, descent included, at any font the system gives for Arial.
    Twips::setzeGeometrie(lblTitel, 2160, 240, Splash::kTitelBreite, 960);
    lblErklaerung = label<CrLabel>(Frame1, "lblErklaerung", QStringLiteral("Erläuterungen"), 9.75,
                                   Qt::AlignHCenter);
    Twips::setzeGeometrie(lblErklaerung, 1440, 1200, Splash::kErklaerungBreite, 1215);
    lblversion = label<CrLabel>(Frame1, "lblversion", QStringLiteral("Version"), 20.25, Qt::AlignHCenter);
    Twips::setzeGeometrie(lblversion, 2760, 2400, Splash::kVersionBreite, 495);

    // 9135 rather than 8775 twips wide: the first line has to hold "…der
    // Klasse" and the class, so that "des" starts the second line right
    // before the maker's name link, as the sentence reads.
    lblAutoren = label<AutorenLabel>(Frame1, "lblAutoren", Splash::autorenSatz(Hersteller::klasse()), 9.75,
                                     Qt::AlignLeft);
    Twips::setzeGeometrie(lblAutoren, 240, 3000, 9135, 495);
    // The two school links end where the disclaimer begins (240 rather than
    // 255 and 315 twips high): lying over its first line, they would hide
    // the tops of its letters.
    LinkAmsel21 = new LinkAmsel2(Frame1);
    LinkAmsel21->setObjectName(QStringLiteral("LinkAmsel21"));
    Twips::setzeGeometrie(LinkAmsel21, 600, 3240, 2175, 240);
    LinkLindenhain1 = new LinkLindenhain(Frame1);
    LinkLindenhain1->setObjectName(QStringLiteral("LinkLindenhain1"));
    Twips::setzeGeometrie(LinkLindenhain1, 4860, 3240, 2475, 240);

    lblAmsel3 = label<CrLabel>(Frame1, "lblAmsel3",
                               QStringLiteral("Die Autoren haben nach bestem Wissen und Gewissen programmiert, "
                                              "übernehmen aber keine Gewähr für eventuelle Fehler. Anregungen "
                                              "und Verbesserungsvorschläge bitte an:"),
                               9.75, Qt::AlignLeft);
    Twips::setzeGeometrie(lblAmsel3, 240, 3480, 9135, 615);
    deckend(lblAmsel3);
    // The disclaimer takes its clicks without doing anything, so they do not
    // reach the frame below, which would close the window.
    lblAmsel3->setAttribute(Qt::WA_NoMousePropagation);

    LinkAmsel1 = new LinkAmsel(Frame1);
    LinkAmsel1->setObjectName(QStringLiteral("LinkAmsel1"));
    Twips::setzeGeometrie(LinkAmsel1, 2880, 4140, Splash::kLogoBreite, 1155);
    lblAmsel2 = label<CrLabel>(Frame1, "lblAmsel2", QStringLiteral("Label1"), 9.75, Qt::AlignLeft);
    Twips::setzeGeometrie(lblAmsel2, 2880, Splash::kAnschriftTop, 3615, Splash::kAnschriftHoehe);
    deckend(lblAmsel2);
    MailMorlon1 = new MailMorlon(Frame1);
    MailMorlon1->setObjectName(QStringLiteral("MailMorlon1"));
    Twips::setzeGeometrie(MailMorlon1, 2880, 5880, 3015, 495);

    // The link controls lie over the labels: a click anywhere on one stays
    // with the link, also where a label's box reaches under it. The logo's
    // surface has the frame's colour; left unpainted it lets the address
    // below show through where the two overlap.
    for (QWidget *link : {static_cast<QWidget *>(LinkAmsel21), static_cast<QWidget *>(LinkLindenhain1),
                          static_cast<QWidget *>(LinkAmsel1), static_cast<QWidget *>(MailMorlon1)})
        link->raise();
    LinkAmsel1->setAutoFillBackground(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(60000);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);

    Mausklick::verbinde(this, [this] { Form_Click(); });
    Mausklick::verbinde(Frame1, [this] { Frame1_Click(); });
    Mausklick::verbinde(lblTitel, [this] { lblTitel_Click(); });
    Mausklick::verbinde(lblErklaerung, [this] { lblErklaerung_Click(); });
    Mausklick::verbinde(lblversion, [this] { lblversion_Click(); });
    Mausklick::verbinde(lblAutoren, [this] { lblAutoren_Click(); });
    Mausklick::verbinde(lblAmsel2, [this] { lblAmsel2_Click(); });

    // A key press goes to whichever control has the focus; watching the
    // whole application sees it before any control can swallow it.
    qApp->installEventFilter(this);
}

void frmSplash::Form_Load()
{
    Timer1->setInterval(Services::splashIntervalMs());
    Timer1->start();

    const Splash::Lage lage = Splash::ladeLage(Twips::ausPixelX(width()));
    Twips::setzeLinks(lblTitel, lage.lblTitel);
    Twips::setzeLinks(lblErklaerung, lage.lblErklaerung);
    Twips::setzeLinks(LinkAmsel1, lage.LinkAmsel1);
    Twips::setzeLinks(lblAmsel2, lage.lblAmsel2);
    Twips::setzeLinks(lblversion, lage.lblversion);
    Twips::setzeGeometrie(MailMorlon1, lage.MailMorlon1Left, lage.MailMorlon1Top, 3015, 495);

    lblAmsel2->setText(Splash::anschrift(Hersteller::postanschrift()));
    lblTitel->setText(AppInfo::titel());
    lblErklaerung->setText(Splash::erklaerung());
    lblversion->setText(AppInfo::versionszeile());

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmSplash::Form_Click() { zumHauptfenster(); }
void frmSplash::Form_KeyPress() { zumHauptfenster(); }
void frmSplash::Frame1_Click() { zumHauptfenster(); }
void frmSplash::lblAutoren_Click() { zumHauptfenster(); }
void frmSplash::lblAmsel2_Click() { zumHauptfenster(); }
void frmSplash::lblErklaerung_Click() { zumHauptfenster(); }
void frmSplash::lblTitel_Click() { zumHauptfenster(); }
void frmSplash::lblversion_Click() { zumHauptfenster(); }
void frmSplash::Timer1_Timer() { zumHauptfenster(); }

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && !m_verlassen) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && (widget == this || isAncestorOf(widget))) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (Splash::ergibtZeichen(key->key(), key->text(), key->modifiers())) {
                Form_KeyPress();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The main window comes first, so the program never runs without a window.
void frmSplash::zumHauptfenster()
{
    // A click and the timer may both arrive before the window is gone.
    if (m_verlassen)
        return;
    m_verlassen = true;
    Fensterwahl::zeige(Fensterart::Haupt);
    Timer1->stop();
    close();
}
