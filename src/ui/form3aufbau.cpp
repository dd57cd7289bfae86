#include "ui/form3.h"

#include "basis/farben.h"
#include "basis/twips.h"
#include "ui/austauschleiste.h"
#include "ui/form3layout.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <limits>

// The editor's controls as they were designed: their names, captions, fonts
// and colours, the tab order and the placing by the layout plan.

namespace {
QLabel *neuesLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit *neuesTextfeld(QWidget *parent, const char *name)
{
    auto *feld = new QLineEdit(parent);
    feld->setObjectName(QLatin1String(name));
    // A box would cut a longer stored text at its default of 32,767
    // characters; the database takes any length.
    feld->setMaxLength(std::numeric_limits<int>::max());
    return feld;
}

QPushButton *neuerKnopf(QWidget *parent, const char *name, const QString &text)
{
    auto *knopf = new QPushButton(text, parent);
    knopf->setObjectName(QLatin1String(name));
    knopf->setAutoDefault(false);
    return knopf;
}

void setzeTextfarbe(QWidget *w, const QColor &farbe)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, farbe);
    w->setPalette(p);
}
}

void Form3::erzeugeSteuerelemente()
{
    const QFont normal = font();
    const QFont gross = Schriften::schrift(QStringLiteral("MS Sans Serif"), 9.75);
    const QFont grossFett = Schriften::schrift(QStringLiteral("MS Sans Serif"), 9.75, true);
    QFont fett = normal;
    fett.setBold(true);

    Label6 = neuesLabel(this, "Label6", QStringLiteral("Datenbankpfad:"));
    Label6->setFont(grossFett);
    txt_pfad = neuesTextfeld(this, "txt_pfad");
    txt_pfad->setFont(gross);
    cmd_browse = neuerKnopf(this, "cmd_browse", QStringLiteral("Datenbank &auswählen"));
    connect(cmd_browse, &QPushButton::clicked, this, &Form3::cmd_browse_Click);
    cmd_server = neuerKnopf(this, "cmd_server", QStringLiteral("&Server auswählen"));
    connect(cmd_server, &QPushButton::clicked, this, &Form3::cmd_server_Click);

    DataGrid1 = new QTableView(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid1->setWordWrap(false);
    // Tab leaves the grid for the next control; the arrow keys move in it.
    DataGrid1->setTabKeyNavigation(false);
    {
        // Every scroll step draws a screenful of cells anew. Their Latin text
        // set without OpenType shaping (so without kerning) takes half the
        // time, which keeps paging through 32,767 questions within a frame.
        QFont schrift = DataGrid1->font();
        schrift.setStyleStrategy(QFont::PreferNoShaping);
        DataGrid1->setFont(schrift);
    }
    DataGrid1->horizontalHeader()->setHighlightSections(false);
    DataGrid1->horizontalHeader()->setDefaultSectionSize(Twips::zuPixelX(1500));
    DataGrid1->verticalHeader()->setHighlightSections(true);
    DataGrid1->verticalHeader()->setDefaultSectionSize(DataGrid1->fontMetrics().height() + 4);
    DataGrid1->viewport()->installEventFilter(this);

    static const char *const bilder[] = {"first", "previous", "next", "last"};
    static const char *const tipps[] = {"Erste Frage", "Vorige Frage", "Nächste Frage", "Letzte Frage"};
    for (int i = 0; i < 4; ++i) {
        auto *knopf = new QPushButton(this);
        knopf->setObjectName(QStringLiteral("cmdNavigation(%1)").arg(i));
        knopf->setAutoDefault(false);
        knopf->setIcon(QIcon(QStringLiteral(":/res/nav/%1.png").arg(QLatin1String(bilder[i]))));
        knopf->setIconSize(QSize(16, 16));
        knopf->setToolTip(QString::fromUtf8(tipps[i]));
        connect(knopf, &QPushButton::clicked, this, [this, i] { cmdNavigation_Click(i); });
        cmdNavigation.append(knopf);
    }

    lblNavi = neuesLabel(this, "lblNavi", QString());
    lblNavi->setFont(gross);
    lblNavi->setAlignment(Qt::AlignCenter);
    lblNavi->setFrameShape(QFrame::Box);
    lblNavi->setLineWidth(1);
    lblNavi->setAutoFillBackground(true);
    {
        QPalette lp = lblNavi->palette();
        lp.setColor(QPalette::Window, Qt::white);
        lp.setColor(QPalette::WindowText, Qt::black);
        lblNavi->setPalette(lp);
    }

    Frame1 = new QGroupBox(QStringLiteral("Frage hinzufügen"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFont(fett);
    setzeTextfarbe(Frame1, Farben::hervorhebung());

    Label1 = neuesLabel(Frame1, "Label1", QStringLiteral("Frage:"));
    txtFrage = neuesTextfeld(Frame1, "txtFrage");
    Label2 = neuesLabel(Frame1, "Label2", QStringLiteral("Lösung"));
    txtLoesung = neuesTextfeld(Frame1, "txtLoesung");
    Label3 = neuesLabel(Frame1, "Label3", QStringLiteral("Antwort1"));
    txtAntwort1 = neuesTextfeld(Frame1, "txtAntwort1");
    Label4 = neuesLabel(Frame1, "Label4", QStringLiteral("Antwort 2"));
    txtAntwort2 = neuesTextfeld(Frame1, "txtAntwort2");
    Label5 = neuesLabel(Frame1, "Label5", QStringLiteral("Stufe "));
    txtStufe = neuesTextfeld(Frame1, "txtStufe");
    txtStufe->installEventFilter(this);
    cmdNeu = neuerKnopf(Frame1, "cmdNeu", QStringLiteral("&Neue Frage"));
    cmdUebernehmen = neuerKnopf(Frame1, "cmdUebernehmen", QStringLiteral("Änd&erungen übernehmen"));
    cmdLoeschen = neuerKnopf(Frame1, "cmdLoeschen", QStringLiteral("Frage &löschen"));
    cmdRefresh = neuerKnopf(Frame1, "cmdRefresh", QStringLiteral("Ak&tualisieren"));
    connect(cmdNeu, &QPushButton::clicked, this, &Form3::cmdNeu_Click);
    connect(cmdUebernehmen, &QPushButton::clicked, this, &Form3::cmdUebernehmen_Click);
    connect(cmdLoeschen, &QPushButton::clicked, this, &Form3::cmdLoeschen_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &Form3::cmdRefresh_Click);

    // The frame's bold caption would pass on to everything in it; only its
    // labels are bold.
    for (QLabel *label : {Label1, Label2, Label3, Label4, Label5, Label6}) {
        setzeTextfarbe(label, Farben::hervorhebung());
        // Captions sit at the top of their labels, so that labels of
        // different heights on one line read level.
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    for (QWidget *w : std::initializer_list<QWidget *>{txtFrage, txtLoesung, txtAntwort1, txtAntwort2, txtStufe,
                                                        cmdNeu, cmdUebernehmen, cmdLoeschen, cmdRefresh})
        w->setFont(normal);

    lblstat = neuesLabel(this, "lblstat", QStringLiteral("Keine Datenbank geladen"));
    lblstat->setFont(Schriften::schrift(QStringLiteral("Verdana"), 9.75, true));
    setzeTextfarbe(lblstat, QColor(255, 255, 128));
}

void Form3::setzeTabReihenfolge()
{
    const QVector<QWidget *> reihe = {txt_pfad,         cmd_server,       cmd_browse,       txtFrage,         txtLoesung,
                                      txtAntwort1,      txtAntwort2,      txtStufe,         cmdUebernehmen,
                                      cmdNeu,           cmdLoeschen,      cmdNavigation[0], cmdNavigation[1],
                                      cmdNavigation[2], cmdNavigation[3], DataGrid1,        cmdRefresh};
    for (int i = 1; i < reihe.size(); ++i)
        QWidget::setTabOrder(reihe[i - 1], reihe[i]);
}

// Places every control by the plan; the labels that size themselves are
// measured first.
void Form3::wendeLayoutAn(bool beimLaden)
{
    Form3Layout::Plan plan = Form3Layout::entwurf();
    for (QLabel *label : {Label1, Label5}) {
        Form3Layout::Rechteck &r = plan[label->objectName()];
        r.width = Twips::ausPixelX(label->sizeHint().width());
        r.height = Twips::ausPixelY(label->sizeHint().height());
    }
    // The path's caption keeps its whole text; the path box begins after it.
    {
        Form3Layout::Rechteck &caption = plan[Label6->objectName()];
        Form3Layout::Rechteck &pfad = plan[txt_pfad->objectName()];
        caption.width = qMax(caption.width, Twips::ausPixelX(Label6->sizeHint().width()));
        const double schieben = qMax(0.0, caption.rechts() + 105 - pfad.left);
        pfad.left += schieben;
        pfad.width -= schieben;
    }
    if (beimLaden)
        plan = Form3Layout::beimLaden(plan, Twips::ausPixelX(width()));
    for (auto it = plan.cbegin(); it != plan.cend(); ++it) {
        auto *w = findChild<QWidget *>(it.key());
        if (w)
            Twips::setzeGeometrie(w, it->left, it->top, it->width, it->height);
    }
    m_austausch->platziere(Twips::ausPixelX(width()));
}
