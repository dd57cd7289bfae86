#include "ui/form5.h"

#include "basis/farben.h"
#include "basis/hersteller.h"
#include "basis/twips.h"
#include "ui/anleitung.h"
#include "ui/mailmorlon.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

AnleitungLage anleitungLage(double innenBreite, double titelBreite)
{
    return {100, innenBreite - 200, (innenBreite - titelBreite) / 2};
}

Form5::Form5(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Anleitung"));
    setWindowIcon(QIcon(QStringLiteral(":/res/icons/kreidolin.svg")));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips::rechteck(0, 0, 11880, 8595).size());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Farben::menueleiste());
    setPalette(pal);
    setAutoFillBackground(true);

    Label3 = new QLabel(QStringLiteral("Kreidolin"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(Schriften::schrift(QStringLiteral("Times New Roman"), 36, true, true));
    QPalette weiss = Label3->palette();
    weiss.setColor(QPalette::WindowText, Qt::white);
    Label3->setPalette(weiss);
    Label3->move(Twips::zuPixelX(3960), Twips::zuPixelY(-60));
    Label3->adjustSize();

    // Created from the bottom of the stack up: the view, its button, the
    // mail link.
    RichTextBox1 = new QTextEdit(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setFont(Schriften::schrift(QStringLiteral("Arial"), 9.75));
    // The rules are there to be read; changes would never be kept anyway.
    RichTextBox1->setReadOnly(true);
    RichTextBox1->setLineWrapMode(QTextEdit::WidgetWidth);
    Twips::setzeGeometrie(RichTextBox1, 120, 900, 11685, 7635);
    Anleitung::fuelle(RichTextBox1->document());

    cmdOK = new QPushButton(QStringLiteral("Fenster schließen"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    // The small button was made for the classic dialog font.
    cmdOK->setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25));
    Twips::setzeGeometrie(cmdOK, 10140, 7980, 1455, 315);
    connect(cmdOK, &QPushButton::clicked, this, &Form5::cmdOK_Click);

    MailMorlon1 = new MailMorlon(this);
    MailMorlon1->setObjectName(QStringLiteral("MailMorlon1"));
    Twips::setzeGeometrie(MailMorlon1, 3900, 6420, 3015, 255);
    // On the white page the link's own grey would stand out as a box.
    QPalette grund = MailMorlon1->palette();
    grund.setColor(QPalette::Window, RichTextBox1->palette().color(QPalette::Base));
    MailMorlon1->setPalette(grund);
    connect(RichTextBox1->document()->documentLayout(),
            &QAbstractTextDocumentLayout::documentSizeChanged, this, &Form5::legeMailLinkAufAdresse);
    connect(RichTextBox1->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &Form5::legeMailLinkAufAdresse);
}

void Form5::Form_Load()
{
    // 800 x 600 pixels with frame and title bar, whatever the pixel density.
    setFixedSize(Twips::innenGroesse(800, 600));
    const AnleitungLage lage = anleitungLage(Twips::ausPixelX(width()), Twips::ausPixelX(Label3->width()));
    Twips::setzeGeometrie(RichTextBox1, lage.RichTextBox1Left, 900, lage.RichTextBox1Width, 7635);
    Twips::setzeLinks(Label3, lage.Label3Left);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Form5::cmdOK_Click() { close(); }

void Form5::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Only now has the view laid out its text at its final width.
    legeMailLinkAufAdresse();
}

// The mail link covers the address where item 7 names it, so the address
// reads as a link in the text. Where the text lies depends on the fonts and
// the view's width, so the link follows it, also when the view scrolls, and
// hides while the address is scrolled out of sight.
void Form5::legeMailLinkAufAdresse()
{
    QTextDocument *dokument = RichTextBox1->document();
    const QTextCursor fund = dokument->find(Hersteller::eMail());
    if (fund.isNull()) {
        MailMorlon1->hide();
        return;
    }
    QTextCursor anfang(dokument);
    anfang.setPosition(fund.selectionStart());
    QTextCursor ende(dokument);
    ende.setPosition(fund.selectionEnd());
    const QRect vorne = RichTextBox1->cursorRect(anfang);
    const QRect hinten = RichTextBox1->cursorRect(ende);
    const QRect adresse(vorne.topLeft(), QPoint(hinten.left(), vorne.bottom()));
    const QPoint oben = RichTextBox1->viewport()->mapTo(this, adresse.topLeft());
    MailMorlon1->setGeometry(QRect(oben, adresse.size()));
    MailMorlon1->setVisible(RichTextBox1->viewport()->rect().contains(adresse));
}
