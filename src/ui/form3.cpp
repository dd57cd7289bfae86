#include "ui/form3.h"

#include "basis/appinfo.h"
#include "basis/farben.h"
#include "basis/fensterwahl.h"
#include "basis/services.h"
#include "basis/twips.h"
#include "store/fragenquelle.h"
#include "store/fragentabelle.h"
#include "store/questiongridmodel.h"
#include "store/recordset.h"
#include "store/settingsfile.h"
#include "store/vorgabe.h"
#include "ui/austauschleiste.h"
#include "ui/dateifilter.h"
#include "ui/serverdialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>

namespace {
const QString kKeineDatenbank = QStringLiteral("Keine Datenbank geladen!");
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

void Form3::Form_Load()
{
    setFixedSize(Twips::innenGroesse(800, 600));
    if (const QScreen *bildschirm = screen()) {
        const QRect frei = bildschirm->availableGeometry();
        move(frei.center() - QPoint(width() / 2, height() / 2));
    }
    wendeLayoutAn(true);

    if (const std::optional<QString> zeile = SettingsFile::lies(AppInfo::einstellungsdatei())) {
        txt_pfad->setText(*zeile);
        DatenbankOeffnen(*zeile);
        return;
    }
    // No settings file, or nothing in it: the default collection, remembered
    // for the next start. If the file cannot be written the editor still
    // opens the default; the next start falls back the same way.
    const QString standard = AppInfo::standardDatenbank();
    if (const StoreError e = SettingsFile::schreibe(AppInfo::einstellungsdatei(), standard)) {
        if (!meldung(QStringLiteral("Die Einstellung konnte nicht gespeichert werden.\r\n") + e.text()
                     + QStringLiteral("\r\nDer Editor zeigt die Fragen aus %1.").arg(standard)))
            return;
    }
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
    if (const StoreError e = Fragenquelle::oeffne(*rec, pfad, Fragenquelle::Zugriff::Bearbeiten))
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
    // Columns are found by name; a column that is none of the five is hidden
    // (a table of only the five has nothing to hide). A shorter table, or one
    // of five that lacks a named column, is not a question table.
    constexpr int n = Fragentabelle::kSpaltenzahl;
    int position[n];
    for (int i = 0; i < n; ++i)
        position[i] = rec->fieldIndex(spalte(i));
    if (m_gridModel->columnCount() <= n && std::find(position, position + n, -1) != position + n)
        return StoreError(QStringLiteral("Der Tabelle %1 fehlen Spalten.").arg(Fragentabelle::tabelle()));
    for (int c = 0; c < m_gridModel->columnCount(); ++c)
        DataGrid1->setColumnHidden(c, std::find(position, position + n, c) == position + n);
    // Stufe keeps its field name as the table spells it.
    for (int i = 0; i < n; ++i) {
        if (position[i] >= 0 && i != static_cast<int>(Fragentabelle::Spalte::Stufe))
            m_gridModel->setHeaderData(position[i], Qt::Horizontal,
                                       Fragentabelle::titel(static_cast<Fragentabelle::Spalte>(i)));
    }
    // Stufe is 500 twips wide unless its caption needs more.
    const int stufe = position[static_cast<int>(Fragentabelle::Spalte::Stufe)];
    if (stufe >= 0)
        DataGrid1->setColumnWidth(stufe, qMax(Twips::zuPixelX(500), DataGrid1->horizontalHeader()->sectionSizeHint(stufe)));
    // The question takes what the row numbers, the scroll bar and the other
    // columns leave, so that no column lies beyond the grid's right edge.
    if (position[0] >= 0) {
        int frei = DataGrid1->width() - 2 * DataGrid1->frameWidth() - DataGrid1->verticalHeader()->sizeHint().width()
                   - DataGrid1->verticalScrollBar()->sizeHint().width();
        for (int c = 0; c < m_gridModel->columnCount(); ++c) {
            if (c != position[0] && !DataGrid1->isColumnHidden(c))
                frei -= DataGrid1->columnWidth(c);
        }
        DataGrid1->setColumnWidth(position[0], qMax(frei, DataGrid1->horizontalHeader()->sectionSizeHint(position[0])));
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
    if (const std::optional<QString> fest = Vorgabe::festgelegtText()) {
        meldung(*fest);
        return;
    }
    if (!aenderungenKlaeren())
        return;
    const QPointer<Form3> lebt(this);
    const QString name = Services::fileDialogs().openFileName(this, AppInfo::anwendungsverzeichnis(),
                                                              DateiFilter::zuQt(datenbankFilter()));
    // Cancelled: the database and the remembered choice stay as they are.
    if (name.isEmpty() || !lebt)
        return;
    if (const StoreError e = SettingsFile::schreibe(AppInfo::einstellungsdatei(), name)) {
        meldung(QStringLiteral("Die Auswahl der Datenbank kann nicht gespeichert werden.\r\n") + e.text());
        return;
    }
    txt_pfad->setText(name);
    DatenbankOeffnen(txt_pfad->text());
}

void Form3::cmd_server_Click()
{
    if (const std::optional<QString> fest = Vorgabe::festgelegtText()) {
        meldung(*fest);
        return;
    }
    ServerAdresse vorgabe;
    vorgabe.datenbank = QStringLiteral("kreidolin");
    if (const std::optional<ServerAdresse> offen = Serveradresse::zerlege(m_offenerPfad))
        vorgabe = *offen;
    if (!aenderungenKlaeren())
        return;
    const QPointer<Form3> lebt(this);
    const QPointer<ServerDialog> dialog = new ServerDialog(vorgabe, this);
    const bool gewaehlt = dialog->exec() == QDialog::Accepted;
    if (!dialog || !lebt)
        return;
    const QString zeile = Serveradresse::text(dialog->adresse());
    delete dialog.data();
    if (!gewaehlt)
        return;
    if (const StoreError e = SettingsFile::schreibe(AppInfo::einstellungsdatei(), zeile)) {
        meldung(QStringLiteral("Die Auswahl des Servers kann nicht gespeichert werden.\r\n") + e.text());
        return;
    }
    txt_pfad->setText(zeile);
    DatenbankOeffnen(zeile);
}

void Form3::cmdNavigation_Click(int Index)
{
    if (!verlasseStufenfeld(cmdNavigation.value(Index)))
        return;
    if (m_geladen && rec->recordCount() > 0) {
        const int position = rec->absolutePosition();
        int ziel = -1;
        switch (Index) {
        case 0:
            ziel = 0;
            break;
        case 1:
            if (position > 1)
                ziel = position - 2;
            break;
        case 2:
            if (position >= 1 && position < rec->recordCount())
                ziel = position;
            break;
        case 3:
            ziel = rec->recordCount() - 1;
            break;
        default:
            break;
        }
        const QPointer<Form3> lebt(this);
        if (ziel >= 0 && ziel != rec->currentIndex()) {
            if (!aenderungenKlaeren()) {
                if (lebt)
                    lblNavi->setText(positionsText());
                return;
            }
            // A begun question declined is gone: the last row is one less.
            ziel = qMin(ziel, rec->recordCount() - 1);
            const QScopedValueRollback<bool> schritt(m_synchron, true);
            rec->setCurrentIndex(Index == 3 ? rec->recordCount() - 1 : ziel);
        }
    }
    lblNavi->setText(positionsText());
}

void Form3::rec_MoveComplete()
{
    if (rec->hasCurrent()) {
        const QVector<QLineEdit *> felder = eingabefelder();
        for (int i = 0; i < felder.size(); ++i) {
            StoreError fehler;
            const QVariant wert = rec->value(spalte(i), &fehler);
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
    int zeile = current.row();
    const int vorher = rec->recordCount();
    const QPointer<Form3> lebt(this);
    if (!aenderungenKlaeren()) {
        // Staying: the grid goes back to the question shown.
        if (lebt)
            QMetaObject::invokeMethod(this, &Form3::zeigeZeileImGrid, Qt::QueuedConnection);
        return;
    }
    // A begun question declined took its row with it; rows after it moved up.
    if (rec->recordCount() < vorher && zeile >= rec->recordCount())
        zeile = rec->recordCount() - 1;
    const QScopedValueRollback<bool> schritt(m_synchron, true);
    rec->setCurrentIndex(zeile);
}


QString Form3::spalte(int i)
{
    return Fragentabelle::spalten().at(i);
}

QVector<QLineEdit *> Form3::eingabefelder() const
{
    return {txtFrage, txtLoesung, txtAntwort1, txtAntwort2, txtStufe};
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
    const QPointer<Form3> lebt(this);
    knopf->setFocus(Qt::ShortcutFocusReason);
    return lebt && !txtStufe->hasFocus();
}

bool Form3::meldung(const QString &text)
{
    const QPointer<Form3> lebt(this);
    Services::meldung(this, AppInfo::titel(), text);
    return !lebt.isNull();
}

void Form3::closeEvent(QCloseEvent *event)
{
    if (!aenderungenKlaeren()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool Form3::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate) {
        // Where the focus went decides where it comes back: from the editor's
        // own boxes and dialogs, and from another program, to where the user
        // left it; from another window of the program, into the question.
        const QWidget *neu = QApplication::activeWindow();
        m_fokusBleibt = !neu;
        for (const QWidget *w = neu; w; w = w->parentWidget())
            m_fokusBleibt = m_fokusBleibt || w == this;
    } else if (event->type() == QEvent::WindowActivate) {
        const bool ergebnis = QWidget::event(event);
        if (!m_fokusBleibt)
            Form_Activate();
        m_fokusBleibt = false;
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
        if (!m_schliesst && grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason) {
            // The check's message may outlive the window: touch nothing after it.
            txtStufe_LostFocus();
            return false;
        }
    } else if (DataGrid1 && watched == DataGrid1->viewport() && event->type() == QEvent::MouseButtonPress) {
        DataGrid1_MouseDown();
    }
    return QWidget::eventFilter(watched, event);
}
