#pragma once

#include "store/storeerror.h"

#include <QVector>
#include <QWidget>

#include <memory>

class Austauschleiste;
class QGroupBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;
class QuestionGridModel;
class Recordset;

// The question editor "Datenbank": a teacher browses, adds, changes and
// deletes the questions of the question database and chooses which database
// file the program uses. The grid, the navigation bar and the edit fields
// share one recordset and so one current question.
class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(QWidget *parent = nullptr);
    ~Form3() override;

    // Sizes and lays out the window, reads the settings file and opens the
    // database it names. Called by the window registry right after creation.
    void Form_Load();

    // The filter of the database dialog as the program has always written it.
    static QString datenbankFilter();

    // The editor's recordset (null before the first open) and whether the
    // last open succeeded; for tests and for the windows that look on.
    Recordset *recordset() const { return rec.get(); }
    bool datenbankGeladen() const { return m_geladen; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void erzeugeSteuerelemente();
    void setzeTabReihenfolge();
    void wendeLayoutAn(bool beimLaden);

    StoreError DatenbankOeffnen(const QString &pfad);
    StoreError oeffneSchritte(const QString &pfad);
    void bindeGrid();
    StoreError richteSpaltenEin();
    void zeigeZeileImGrid();

    void Form_Activate();
    void Form_Unload();
    void cmd_browse_Click();
    void cmd_server_Click();
    void cmdNavigation_Click(int Index);
    void rec_MoveComplete();
    void DataGrid1_MouseDown();
    void DataGrid1_RowColChange(const QModelIndex &current);
    void cmdRefresh_Click();
    void cmdNeu_Click();
    void cmdUebernehmen_Click();
    void cmdLoeschen_Click();
    void txtStufe_LostFocus();

    bool bereitZumAendern();
    // The fields differ from the stored question, or a new one was begun.
    bool hatAenderungen() const;
    // Before the question shown is left: "Änderungen übernehmen?" when there
    // are changes. True when the editor may go on (stored, declined, or
    // nothing to ask); false to stay, also when storing was refused.
    bool aenderungenKlaeren();
    // "Änderungen übernehmen" without the focus step; true when stored or
    // nothing needed storing.
    bool uebernehmen();
    QString positionsText() const;
    // The column the i-th edit field shows and is stored into, by name: a
    // table may hold them in any order.
    static QString spalte(int i);
    // Question, solution, the two wrong answers and the level, in column order.
    QVector<QLineEdit *> eingabefelder() const;
    bool verlasseStufenfeld(QWidget *knopf);
    // Shows a message; false when the window went away while it was open.
    bool meldung(const QString &text);

    QLabel *Label6 = nullptr;
    QLineEdit *txt_pfad = nullptr;
    QPushButton *cmd_browse = nullptr;
    QPushButton *cmd_server = nullptr;
    QTableView *DataGrid1 = nullptr;
    QVector<QPushButton *> cmdNavigation;
    QLabel *lblNavi = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtFrage = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtLoesung = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtAntwort1 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *txtAntwort2 = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *txtStufe = nullptr;
    QPushButton *cmdNeu = nullptr;
    QPushButton *cmdUebernehmen = nullptr;
    QPushButton *cmdLoeschen = nullptr;
    QPushButton *cmdRefresh = nullptr;
    QLabel *lblstat = nullptr;

    std::unique_ptr<Recordset> rec;
    // The texts the moved notification put into the five boxes: a box that
    // still shows its text is not stored.
    QVector<QString> m_angezeigt = QVector<QString>(5);
    // The path the last open was asked for; txt_pfad may have been typed
    // into since.
    QString m_offenerPfad;
    QuestionGridModel *m_gridModel = nullptr;
    Austauschleiste *m_austausch = nullptr;
    // The last open got as far as a usable table; only then do the buttons
    // and the grid act on rec.
    bool m_geladen = false;
    // Set while the grid and rec bring each other into step, so that the
    // one's move does not start the other's again.
    bool m_synchron = false;
    bool m_schliesst = false;
    // The editor lost the activation to one of its own boxes or dialogs or
    // to another program: coming back leaves the focus where it was.
    bool m_fokusBleibt = false;
};
