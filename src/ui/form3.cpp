#include "ui/form3.h"

#include "basis/appinfo.h"
#include "basis/farben.h"
#include "basis/fensterwahl.h"
#include "basis/modvariablen.h"
#include "basis/services.h"
#include "basis/twips.h"
#include "store/connection.h"
#include "store/jetkonvertierung.h"
#include "store/questiongridmodel.h"
#include "store/recordset.h"
#include "store/settingsfile.h"
#include "ui/austauschleiste.h"
#include "ui/dateifilter.h"
#include "ui/form3layout.h"
#include "ui/stufenwert.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTableView>

#include <algorithm>
#include <limits>

namespace {
const QString kKeineDatenbank = QStringLiteral("Keine Datenbank geladen!");
const QString kNichtGeladen =
    QStringLiteral("Es ist keine Datenbank geladen. Bitte wählen Sie zuerst eine Datenbank aus.");
const QString kFelderLeer = QStringLiteral("Sie müssen alle Felder ausfüllen!");
const QString kStufeUngueltig = QStringLiteral("Die Stufe muss eine ganze Zahl von 1 bis 15 sein.\r\n"
                                               "Die Frage wurde nicht gespeichert.");
const QString kStufeBereich = QStringLiteral("Bitte geben Sie nur Zahlen im Wert von 1-15 ein!");
const QString kLoeschenFrage = QStringLiteral("Wollen Sie den aktuellen Datensatz wirklich löschen?");
const QString kKeineFrage = QStringLiteral("Es ist keine Frage ausgewählt. "
                                           "Mit \"Neue Frage\" beginnen Sie eine neue Frage.");

QString umwandlungsFrage(const QString &sicherung)
{
    return QStringLiteral("Diese Fragensammlung ist eine Access-Datei, die Kreidolin nur lesen kann.\r\n"
                          "Soll sie in das Format von Kreidolin umgewandelt werden? Das Original bleibt "
                          "unverändert als „%1“ daneben erhalten.")
        .arg(sicherung);
}

// The columns of table fragen the edit fields show and are stored into, by
// name: a table may hold them in any order.
const char *const kSpalten[] = {"Frage", "Loesung", "Antwort1", "Antwort2", "Stufe"};
// The grid's captions for them ("Stufe" keeps its column name).
const char *const kTitel[] = {"Frage", "Lösung", "Antwort 1", "Antwort 2"};

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

Form3::Form3(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Datenbank"));
    setFont(Schriften::schrift(QStringLiteral("MS Sans Serif"), 8.25));
    QPalette p = palette();
    p.setColor(QPalette::Window, Farben::desktop());
    setPalette(p);
    setAutoFillBackground(true);

    erzeugeSteuerelemente();
    m_austausch = new Austauschleiste(this, [this] { return m_offenerPfad; });
    connect(m_austausch, &Austauschleiste::sammlungGeaendert, this, [this] { DatenbankOeffnen(m_offenerPfad); });
    setzeTabReihenfolge();
    resize(Twips::zuPixelX(11910), Twips::zuPixelY(8625));
    wendeLayoutAn(false);
}

Form3::~Form3()
{
    // The grid's model reads the recordset; let go of it before the recordset goes.
    DataGrid1->setModel(nullptr);
    delete m_gridModel;
    m_gridModel = nullptr;
}

QString Form3::datenbankFilter()
{
    return QStringLiteral("*.Access-Datenbanken (*.mdb)|*.mdb");
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

    DataGrid1 = new QTableView(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid1->setWordWrap(false);
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
    const QVector<QWidget *> reihe = {txt_pfad,         cmd_browse,       txtFrage,         txtLoesung,
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
    if (beimLaden)
        plan = Form3Layout::beimLaden(plan, Twips::ausPixelX(width()));
    for (auto it = plan.cbegin(); it != plan.cend(); ++it) {
        auto *w = findChild<QWidget *>(it.key());
        if (w)
            Twips::setzeGeometrie(w, it->left, it->top, it->width, it->height);
    }
    m_austausch->platziere(Twips::ausPixelX(width()));
}

void Form3::Form_Load()
{
    setFixedSize(Twips::innenGroesse(800, 600));
    if (const QScreen *bildschirm = screen()) {
        const QRect frei = bildschirm->availableGeometry();
        move(frei.center() - QPoint(width() / 2, height() / 2));
    }
    wendeLayoutAn(true);

    if (const std::optional<QString> zeile = SettingsFile::lies(AppInfo::einstellungsdatei())) {
        DatenbankPfad = *zeile;
        txt_pfad->setText(DatenbankPfad);
        DatenbankOeffnen(DatenbankPfad);
        return;
    }
    // No settings file, or nothing in it: the default collection, remembered
    // for the next start. If the file cannot be written the editor still
    // opens the default; the next start falls back the same way.
    const QString standard = AppInfo::standardDatenbank();
    SettingsFile::schreibe(AppInfo::einstellungsdatei(), standard);
    DatenbankOeffnen(standard);
    txt_pfad->setText(standard);
}

StoreError Form3::DatenbankOeffnen(const QString &pfad)
{
    m_geladen = false;
    // The grid never shows a recordset other than rec; a question begun in
    // the old one and not taken over goes with it.
    QItemSelectionModel *alteAuswahl = DataGrid1->selectionModel();
    DataGrid1->setModel(nullptr);
    delete alteAuswahl;
    delete m_gridModel;
    m_gridModel = nullptr;
    rec = std::make_unique<Recordset>();
    connect(rec.get(), &Recordset::moveComplete, this, &Form3::rec_MoveComplete);
    m_offenerPfad = pfad;

    const StoreError fehler = oeffneSchritte(pfad);
    if (fehler) {
        txt_pfad->clear();
        lblstat->setText(kKeineDatenbank);
        lblNavi->clear();
        return fehler;
    }
    m_geladen = true;
    lblNavi->setText(positionsText());
    return {};
}

StoreError Form3::oeffneSchritte(const QString &pfad)
{
    auto verbindung = std::make_shared<Connection>();
    Verbindung = verbindung;
    verbindung->setCursorLocation(Connection::CursorLocation::Client);
    verbindung->setConnectionString(Connection::connectionStringFor(pfad));
    if (const StoreError e = verbindung->open())
        return e;
    if (const StoreError e = rec->open(QStringLiteral("select *from fragen"), Verbindung,
                                       Recordset::CursorType::Static, Recordset::LockType::Optimistic))
        return e;
    if (const StoreError e = rec->moveFirst())
        return e;
    bindeGrid();
    if (const StoreError e = richteSpaltenEin())
        return e;
    zeigeZeileImGrid();
    return {};
}

void Form3::bindeGrid()
{
    m_gridModel = new QuestionGridModel(rec.get(), this);
    QItemSelectionModel *alteAuswahl = DataGrid1->selectionModel();
    DataGrid1->setModel(m_gridModel);
    delete alteAuswahl;
    connect(DataGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current, const QModelIndex &) { DataGrid1_RowColChange(current); });
}

StoreError Form3::richteSpaltenEin()
{
    if (m_gridModel->columnCount() < 6)
        return StoreError(QStringLiteral("Die Tabelle fragen hat keine sechste Spalte."));
    // Columns are found by name; a column that is none of the five is hidden.
    int spalte[5];
    for (int i = 0; i < 5; ++i)
        spalte[i] = rec->fieldIndex(QLatin1String(kSpalten[i]));
    for (int c = 0; c < m_gridModel->columnCount(); ++c)
        DataGrid1->setColumnHidden(c, std::find(spalte, spalte + 5, c) == spalte + 5);
    for (int i = 0; i < 4; ++i) {
        if (spalte[i] >= 0)
            m_gridModel->setHeaderData(spalte[i], Qt::Horizontal, QString::fromUtf8(kTitel[i]));
    }
    if (spalte[4] >= 0)
        DataGrid1->setColumnWidth(spalte[4], Twips::zuPixelX(500));
    if (spalte[0] >= 0) {
        double andere = 0;
        for (int i = 1; i < 5; ++i) {
            if (spalte[i] >= 0)
                andere += Twips::ausPixelX(DataGrid1->columnWidth(spalte[i]));
        }
        DataGrid1->setColumnWidth(spalte[0], Twips::zuPixelX(Twips::ausPixelX(DataGrid1->width()) - andere - 550));
    }
    return {};
}

// Makes the grid show rec's current row as its own.
void Form3::zeigeZeileImGrid()
{
    if (!m_gridModel || !rec || !DataGrid1->selectionModel())
        return;
    const QScopedValueRollback<bool> schritt(m_synchron, true);
    const int zeile = rec->currentIndex();
    if (zeile < 0 || zeile >= m_gridModel->rowCount()) {
        DataGrid1->selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_gridModel->index(zeile, 0);
    DataGrid1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                                            | QItemSelectionModel::Rows);
    DataGrid1->scrollTo(index);
}

void Form3::Form_Activate()
{
    txtFrage->setFocus(Qt::ActiveWindowFocusReason);
}

void Form3::Form_Unload()
{
    m_schliesst = true;
    // A new question that was begun and not taken over is dropped, never
    // stored half-filled.
    if (rec && rec->isNewRecord()) {
        const QScopedValueRollback<bool> schritt(m_synchron, true);
        rec->cancelUpdate();
    }
    Fensterwahl::zeige(Fensterart::Haupt);
}

void Form3::cmd_browse_Click()
{
    const QString name = Services::fileDialogs().openFileName(this, AppInfo::anwendungsverzeichnis(),
                                                              DateiFilter::zuQt(datenbankFilter()));
    // Cancelled: the database and the remembered choice stay as they are.
    if (name.isEmpty())
        return;
    if (const StoreError e = SettingsFile::schreibe(AppInfo::einstellungsdatei(), name)) {
        meldung(QStringLiteral("Die Auswahl der Datenbank kann nicht gespeichert werden.\r\n") + e.text());
        return;
    }
    txt_pfad->setText(name);
    DatenbankOeffnen(txt_pfad->text());
}

void Form3::cmdNavigation_Click(int Index)
{
    if (!verlasseStufenfeld(cmdNavigation.value(Index)))
        return;
    if (m_geladen && rec->recordCount() > 0) {
        const QScopedValueRollback<bool> schritt(m_synchron, true);
        const int position = rec->absolutePosition();
        switch (Index) {
        case 0:
            rec->moveFirst();
            break;
        case 1:
            if (position > 1)
                rec->movePrevious();
            break;
        case 2:
            if (position >= 1 && position < rec->recordCount())
                rec->moveNext();
            break;
        case 3:
            rec->moveLast();
            break;
        default:
            break;
        }
    }
    lblNavi->setText(positionsText());
}

void Form3::rec_MoveComplete()
{
    if (rec->hasCurrent()) {
        const QVector<QLineEdit *> felder = {txtFrage, txtLoesung, txtAntwort1, txtAntwort2, txtStufe};
        for (int i = 0; i < felder.size(); ++i) {
            StoreError fehler;
            const QVariant wert = rec->value(QLatin1String(kSpalten[i]), &fehler);
            // A database null shows as an empty box (never the text of the
            // question shown before); a missing column leaves the box alone.
            if (!fehler)
                felder[i]->setText(wert.isNull() ? QString() : wert.toString());
            m_angezeigt[i] = felder[i]->text();
        }
    }
    lblstat->setText(QStringLiteral("Es befinden sich %1 Fragen in der Datenbank").arg(rec->recordCount()));
    lblNavi->setText(positionsText());
    zeigeZeileImGrid();
}

void Form3::DataGrid1_MouseDown()
{
    lblNavi->setText(positionsText());
}

void Form3::DataGrid1_RowColChange(const QModelIndex &current)
{
    if (m_synchron || !m_geladen || !current.isValid() || current.row() == rec->currentIndex())
        return;
    const QScopedValueRollback<bool> schritt(m_synchron, true);
    rec->setCurrentIndex(current.row());
}

void Form3::cmdRefresh_Click()
{
    if (!verlasseStufenfeld(cmdRefresh))
        return;
    // Stores what is pending for the current question; a new question is
    // stored only through "Änderungen übernehmen" with all fields filled.
    if (m_geladen && !rec->isNewRecord())
        rec->update();
}

void Form3::cmdNeu_Click()
{
    if (!verlasseStufenfeld(cmdNeu))
        return;
    if (m_geladen) {
        // Declined or failed: no new question, the fields stay as they are.
        if (!bereitZumAendern())
            return;
        const QScopedValueRollback<bool> schritt(m_synchron, true);
        if (const StoreError e = rec->addNew()) {
            meldung(QStringLiteral("Es wurde keine neue Frage begonnen.\r\n") + e.text());
            return;
        }
    }
    txtAntwort1->clear();
    txtAntwort2->clear();
    txtLoesung->clear();
    txtStufe->clear();
    txtFrage->clear();
    m_angezeigt.fill(QString());
    txtFrage->setFocus(Qt::OtherFocusReason);
}

void Form3::cmdUebernehmen_Click()
{
    if (!verlasseStufenfeld(cmdUebernehmen))
        return;
    const QVector<QLineEdit *> felder = {txtFrage, txtLoesung, txtAntwort1, txtAntwort2, txtStufe};
    // Only what the teacher changed is stored; a new question is stored
    // whole. A box left as shown (a null shown empty, a text the box could
    // not show as stored) leaves its column as it is.
    const bool neu = m_geladen && rec->isNewRecord();
    QVector<int> geaendert;
    for (int i = 0; i < felder.size(); ++i) {
        if (neu || felder[i]->text() != m_angezeigt[i])
            geaendert << i;
    }
    for (int i : std::as_const(geaendert)) {
        if (felder[i]->text().isEmpty()) {
            meldung(kFelderLeer);
            txtFrage->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    if (!m_geladen) {
        meldung(kNichtGeladen);
        txtFrage->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (geaendert.isEmpty()) {
        txtFrage->setFocus(Qt::OtherFocusReason);
        return;
    }
    std::optional<int> stufe;
    if (geaendert.contains(4) && !(stufe = Stufenwert::ganzeStufe(txtStufe->text()))) {
        meldung(kStufeUngueltig);
        txtStufe->setFocus(Qt::OtherFocusReason);
        txtStufe->selectAll();
        return;
    }
    if (!rec->hasCurrent()) {
        meldung(kKeineFrage);
        txtFrage->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Every column is checked before the first is set, so that a refused
    // store leaves nothing half-set behind in the recordset.
    for (int i : std::as_const(geaendert)) {
        if (rec->fieldIndex(QLatin1String(kSpalten[i])) < 0) {
            meldung(QStringLiteral("Die Frage wurde nicht gespeichert.\r\nDie Spalte %1 fehlt in der Tabelle %2.")
                        .arg(QLatin1String(kSpalten[i]), rec->tableName()));
            txtFrage->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    if (!bereitZumAendern()) {
        txtFrage->setFocus(Qt::OtherFocusReason);
        return;
    }
    StoreError fehler;
    {
        const QScopedValueRollback<bool> schritt(m_synchron, true);
        for (int i : std::as_const(geaendert)) {
            if (!fehler)
                fehler = rec->setValue(QLatin1String(kSpalten[i]), i == 4 ? QString::number(*stufe) : felder[i]->text());
        }
        if (!fehler)
            fehler = rec->update();
    }
    if (fehler)
        meldung(QStringLiteral("Die Frage wurde nicht gespeichert.\r\n") + fehler.text());
    txtFrage->setFocus(Qt::OtherFocusReason);
}

void Form3::cmdLoeschen_Click()
{
    if (!verlasseStufenfeld(cmdLoeschen))
        return;
    if (!m_geladen) {
        meldung(kNichtGeladen);
        return;
    }
    if (!rec->hasCurrent()) {
        meldung(QStringLiteral("Es ist keine Frage ausgewählt, die gelöscht werden könnte."));
        return;
    }
    if (!bereitZumAendern()) {
        txtFrage->setFocus(Qt::OtherFocusReason);
        return;
    }
    Meldung frage;
    frage.titel = QStringLiteral("Achtung!");
    frage.text = kLoeschenFrage;
    frage.knoepfe = QMessageBox::Yes | QMessageBox::No;
    frage.vorgabe = QMessageBox::No;
    frage.symbol = QMessageBox::Warning;
    if (Services::messages().zeige(this, frage) == QMessageBox::Yes) {
        StoreError fehler;
        {
            const QScopedValueRollback<bool> schritt(m_synchron, true);
            fehler = rec->deleteCurrent();
        }
        if (fehler) {
            meldung(QStringLiteral("Die Frage wurde nicht gelöscht.\r\n") + fehler.text());
        } else if (!rec->hasCurrent()) {
            // The last question is gone: nothing left to show.
            for (QLineEdit *feld : {txtFrage, txtLoesung, txtAntwort1, txtAntwort2, txtStufe})
                feld->clear();
            m_angezeigt.fill(QString());
        }
    }
    txtFrage->setFocus(Qt::OtherFocusReason);
}

void Form3::txtStufe_LostFocus()
{
    if (Stufenwert::imBereich(txtStufe->text()))
        return;
    meldung(kStufeBereich);
    txtStufe->setText(QStringLiteral("1"));
    txtStufe->setFocus(Qt::OtherFocusReason);
}

// An Access file is only ever read. Before its first change the user is
// asked whether to turn it into the program's own format; the original stays
// beside it. True when the change may go ahead: on the collection as it was,
// or on the converted one, reopened on the same question with the fields as
// the user left them.
bool Form3::bereitZumAendern()
{
    if (!rec || !rec->activeConnection() || rec->activeConnection()->kind() != Connection::Kind::Jet)
        return true;
    const QString pfad = m_offenerPfad;
    Meldung frage;
    frage.titel = AppInfo::titel();
    frage.text = umwandlungsFrage(QFileInfo(JetKonvertierung::freieSicherung(pfad)).fileName());
    frage.knoepfe = QMessageBox::Yes | QMessageBox::No;
    frage.vorgabe = QMessageBox::No;
    frage.symbol = QMessageBox::Question;
    if (Services::messages().zeige(this, frage) != QMessageBox::Yes)
        return false;

    QString sicherung;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const StoreError fehler = JetKonvertierung::konvertiere(pfad, &sicherung);
    QGuiApplication::restoreOverrideCursor();
    if (fehler) {
        meldung(QStringLiteral("Die Fragensammlung wurde nicht umgewandelt und die Änderung nicht "
                               "ausgeführt.\r\n")
                + fehler.text());
        return false;
    }

    const QVector<QLineEdit *> felder = {txtFrage, txtLoesung, txtAntwort1, txtAntwort2, txtStufe};
    QStringList texte;
    for (const QLineEdit *feld : felder)
        texte << feld->text();
    const int zeile = rec->currentIndex();
    const QString gesichert = QStringLiteral("Die Fragensammlung wurde umgewandelt, das Original liegt als „%1“ "
                                             "daneben. ")
                                  .arg(QFileInfo(sicherung).fileName());
    StoreError e = DatenbankOeffnen(pfad);
    if (!e && zeile > 0) {
        const QScopedValueRollback<bool> schritt(m_synchron, true);
        e = rec->setCurrentIndex(zeile);
    }
    // Whatever the reopening showed, nothing the user typed is lost.
    for (int i = 0; i < felder.size(); ++i)
        felder[i]->setText(texte[i]);
    if (e) {
        meldung(gesichert + QStringLiteral("Die Änderung wurde nicht ausgeführt.\r\n") + e.text());
        return false;
    }
    return true;
}

QString Form3::positionsText() const
{
    if (!m_geladen || !rec || !rec->isOpen())
        return QString();
    if (!rec->hasCurrent())
        return QStringLiteral("Keine Frage ausgewählt");
    return QStringLiteral("Frage %1 von %2").arg(rec->absolutePosition()).arg(rec->recordCount());
}

// A button pressed by its access key leaves the focus where it was; the
// level check has to run before the button acts, as it does when the button
// is clicked. False when the check sent the focus back to the level field:
// the user has to see to the level first.
bool Form3::verlasseStufenfeld(QWidget *knopf)
{
    if (!txtStufe->hasFocus() || !knopf)
        return true;
    knopf->setFocus(Qt::ShortcutFocusReason);
    return !txtStufe->hasFocus();
}

void Form3::meldung(const QString &text)
{
    Services::meldung(this, AppInfo::titel(), text);
}

void Form3::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

bool Form3::event(QEvent *event)
{
    // Only the first activation puts the cursor into the question field;
    // coming back from another program leaves it where the user left it.
    if (event->type() == QEvent::WindowActivate && !m_aktiviert) {
        m_aktiviert = true;
        const bool ergebnis = QWidget::event(event);
        Form_Activate();
        return ergebnis;
    }
    return QWidget::event(event);
}

bool Form3::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtStufe && event->type() == QEvent::FocusOut) {
        // Switching to another window or opening a menu does not leave the
        // field; neither does closing the editor.
        const Qt::FocusReason grund = static_cast<QFocusEvent *>(event)->reason();
        if (!m_schliesst && grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason)
            txtStufe_LostFocus();
    } else if (DataGrid1 && watched == DataGrid1->viewport() && event->type() == QEvent::MouseButtonPress) {
        DataGrid1_MouseDown();
    }
    return QWidget::eventFilter(watched, event);
}
