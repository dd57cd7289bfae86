#include "basis/appinfo.h"
#include "start/fenster.h"
#include "basis/modvariablen.h"
#include "basis/twips.h"
#include "store/connection.h"
#include "store/recordset.h"
#include "store/settingsfile.h"
#include "testservices.h"
#include "ui/dateifilter.h"
#include "ui/form1.h"
#include "ui/form3.h"
#include "ui/form3layout.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

namespace {
const QString kFelderLeer = QStringLiteral("Sie müssen alle Felder ausfüllen!");
const QString kStufeBereich = QStringLiteral("Bitte geben Sie nur Zahlen im Wert von 1-15 ein!");
const QString kKeineDatenbank = QStringLiteral("Keine Datenbank geladen!");

// The rows of table fragen as they stand in the file, read past the program's
// own store: Frage, Loesung, Antwort1, Antwort2, Stufe ("<null>" for a null).
QVector<QStringList> zeilenInDatei(const QString &pfad)
{
    static int zaehler = 0;
    const QString name = QStringLiteral("tst_form3_lesen_%1").arg(++zaehler);
    QVector<QStringList> zeilen;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT Frage, Loesung, Antwort1, Antwort2, Stufe FROM fragen ORDER BY rowid"));
            while (q.next()) {
                QStringList z;
                for (int i = 0; i < 5; ++i)
                    z << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
                zeilen << z;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return zeilen;
}

// Runs SQL on a database file past the program's own store.
bool fuehreSqlAus(const QString &pfad, const QStringList &befehle)
{
    static int zaehler = 0;
    const QString name = QStringLiteral("tst_form3_sql_%1").arg(++zaehler);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        ok = db.open();
        for (const QString &befehl : befehle) {
            QSqlQuery q(db);
            if (ok && !q.exec(befehl)) {
                qWarning("%s: %s", qPrintable(befehl), qPrintable(q.lastError().text()));
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QVector<FrageZeile> ersteFragen(int anzahl)
{
    return TestUmgebung::fragenJeStufe().mid(0, anzahl);
}

void schreibeEinstellung(TestUmgebung &env, const QString &pfad)
{
    env.schreibeDatei(QStringLiteral("Kreidolin.ini"), SettingsFile::kodiere(pfad) + "\r\n");
}

// Closes the windows and lets go of the database before a read-only folder
// is given back: an open file would keep it protected.
struct SchliesseVorher {
    ~SchliesseVorher()
    {
        schliesseAlleFenster();
        Verbindung.reset();
    }
};

template <class T>
T *kind(QWidget *w, const QString &name)
{
    return w ? w->findChild<T *>(name) : nullptr;
}

QLineEdit *feld(QWidget *w, const char *name) { return kind<QLineEdit>(w, QLatin1String(name)); }
QLabel *label(QWidget *w, const char *name) { return kind<QLabel>(w, QLatin1String(name)); }
QPushButton *knopf(QWidget *w, const char *name) { return kind<QPushButton>(w, QLatin1String(name)); }
QPushButton *navi(QWidget *w, int i) { return kind<QPushButton>(w, QStringLiteral("cmdNavigation(%1)").arg(i)); }
QTableView *grid(QWidget *w) { return kind<QTableView>(w, QStringLiteral("DataGrid1")); }

// Rows the grid shows; a grid without a model shows none.
int zeilenImGrid(QWidget *w)
{
    QTableView *g = grid(w);
    return g && g->model() ? g->model()->rowCount() : 0;
}

void klick(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

QStringList felderText(QWidget *w)
{
    QStringList texte;
    for (const char *name : {"txtFrage", "txtLoesung", "txtAntwort1", "txtAntwort2", "txtStufe"})
        texte << feld(w, name)->text();
    return texte;
}

// Types into a field as a user does: select all, then the new text.
void tippe(QLineEdit *f, const QString &text)
{
    f->setFocus(Qt::MouseFocusReason);
    f->selectAll();
    QTest::keyClick(f, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, f, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void fuelleFelder(QWidget *w, const QStringList &werte)
{
    const char *namen[] = {"txtFrage", "txtLoesung", "txtAntwort1", "txtAntwort2", "txtStufe"};
    for (int i = 0; i < werte.size(); ++i)
        tippe(feld(w, namen[i]), werte[i]);
}

void klickeZeile(QTableView *g, int zeile)
{
    const QRect r = g->visualRect(g->model()->index(zeile, 1));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

QStringList erwartet(const FrageZeile &z)
{
    return {z.frage.toString(), z.loesung.toString(), z.antwort1.toString(), z.antwort2.toString(),
            z.stufe.toString()};
}
}

class TestForm3 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    // The window as designed: caption, every control by name with its text, design-time status.
    void entwurf_data();
    void entwurf();
    // The window is 800 x 600 pixels outside, fixed, without minimise and maximise box.
    void fenstergroesse();
    // The load-time layout follows its formulas for any window width.
    void layoutFormeln_data();
    void layoutFormeln();
    // The loaded window places every control where the layout says.
    void layoutImFenster();
    // Tab goes through the controls in the designed order.
    void tabReihenfolge();
    void fokusBeiAktivierung();
    // The navigation buttons show the project's pictures and no text.
    void navigationsBilder();

    // Loading reads the settings file with the editor's fallback; failures show no box.
    void laden_data();
    void laden();
    // Opening replaces Verbindung with a client-side connection and sets up the grid columns.
    void oeffnenUndSpalten();
    // No sixth column, an empty table, a missing file: the not-loaded state, and every button is harmless.
    void nichtGeladen_data();
    void nichtGeladen();
    void fuenfSpalten();
    void standardNichtSchreibbar();

    // The four buttons move the one current row, with guards at both ends.
    void navigation();
    // Grid clicks and keys move the recordset, and moves of the recordset move the grid.
    void gridUndRecordset();

    // A new question is begun empty and stored once all five fields are filled.
    void neueFrage();
    // A missing field is refused with the message; blanks count as content.
    void vollstaendigkeit();
    // A change of the shown question reaches the file at once and a new editor shows it.
    void aendern();
    // Only a whole level 1..15 is stored; other texts are refused with a message.
    void stufeNurGanzeZahl_data();
    void stufeNurGanzeZahl();
    // Leaving the level field: out of range gives the message, "1" and the focus back.
    void stufeVerlassen_data();
    void stufeVerlassen();
    // Switching windows or closing does not run the level check; an access key does, once.
    void stufeVerlassenSonderfaelle();
    // "Ak&tualisieren" stores nothing when nothing changed and never stores a begun question.
    void aktualisieren();

    // The delete question, No changes nothing and is the default.
    void loeschenNein();
    // Yes deletes the question from the file and a neighbour becomes current.
    void loeschenJa();
    // With the last question deleted the editor shows its empty state and can start afresh.
    void letzteFrageLoeschen();
    // A question begun and then left, by a move, a grid click or closing, is never stored.
    void neueFrageVerlassen();
    void fensterWegUnterMeldung_data();
    void fensterWegUnterMeldung();

    // Stores the database refuses give a clear message; the editor keeps working.
    void speicherFehlerNurLesen();
    void speicherFehlerSpalteLehntAb();
    void speicherFehlerZeileWeg();

    // Choosing a file: filter, start folder, settings file, open; DatenbankPfad unchanged.
    void dateiAuswahl();
    // Cancelling the dialog changes nothing at all.
    void dateiAuswahlAbbrechen();
    // A chosen file that is no question database is remembered and shows the not-loaded state.
    void dateiAuswahlUnbrauchbar();
    // A settings file that cannot be written is reported and nothing is opened.
    void dateiAuswahlSchreibfehler();
    // The program's filter text becomes the form Qt's dialog takes.
    void filterUmwandlung_data();
    void filterUmwandlung();

    // Closing the editor shows the main window.
    void schliessenZeigtHauptfenster();
    // A question stored in the editor is seen by a game opened afterwards, while an older game runs on.
    void nebenEinemSpiel();
};

void TestForm3::cleanup()
{
    schliesseAlleFenster();
}

void TestForm3::entwurf_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("Label6") << "Label6" << "Datenbankpfad:";
    QTest::newRow("cmd_browse") << "cmd_browse" << "Datenbank &auswählen";
    QTest::newRow("Label1") << "Label1" << "Frage:";
    QTest::newRow("Label2") << "Label2" << "Lösung";
    QTest::newRow("Label3") << "Label3" << "Antwort1";
    QTest::newRow("Label4") << "Label4" << "Antwort 2";
    QTest::newRow("Label5") << "Label5" << "Stufe ";
    QTest::newRow("cmdNeu") << "cmdNeu" << "&Neue Frage";
    QTest::newRow("cmdUebernehmen") << "cmdUebernehmen" << "Änd&erungen übernehmen";
    QTest::newRow("cmdLoeschen") << "cmdLoeschen" << "Frage &löschen";
    QTest::newRow("cmdRefresh") << "cmdRefresh" << "Ak&tualisieren";
    QTest::newRow("lblstat") << "lblstat" << "Keine Datenbank geladen";
    QTest::newRow("lblNavi") << "lblNavi" << "";
    QTest::newRow("txt_pfad") << "txt_pfad" << "";
    for (const char *name : {"txtFrage", "txtLoesung", "txtAntwort1", "txtAntwort2", "txtStufe"})
        QTest::newRow(name) << name << "";
    for (int i = 0; i < 4; ++i)
        QTest::newRow(qPrintable(QStringLiteral("cmdNavigation(%1)").arg(i)))
            << QStringLiteral("cmdNavigation(%1)").arg(i) << "";
}

void TestForm3::entwurf()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    TestUmgebung env;
    Form3 f; // not loaded: the design state
    QCOMPARE(f.objectName(), QStringLiteral("Form3"));
    QCOMPARE(f.windowTitle(), QStringLiteral("Datenbank"));
    QWidget *w = f.findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    if (auto *l = qobject_cast<QLabel *>(w))
        QCOMPARE(l->text(), text);
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        QCOMPARE(e->text(), text);
    else if (auto *b = qobject_cast<QPushButton *>(w))
        QCOMPARE(b->text(), text);
    else
        QFAIL("unexpected kind of control");
    auto *frame = f.findChild<QGroupBox *>(QStringLiteral("Frame1"));
    QVERIFY(frame);
    QCOMPARE(frame->title(), QStringLiteral("Frage hinzufügen"));
    QVERIFY(f.findChild<QTableView *>(QStringLiteral("DataGrid1")));
    // The edit fields and their buttons live in the frame.
    QCOMPARE(feld(&f, "txtStufe")->parentWidget(), frame);
    QCOMPARE(knopf(&f, "cmdRefresh")->parentWidget(), frame);
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
}

void TestForm3::fenstergroesse()
{
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    QCOMPARE(f->size(), Twips::innenGroesse(800, 600));
    QCOMPARE(f->minimumSize(), f->maximumSize());
    QVERIFY(!(f->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f->windowFlags() & Qt::WindowMaximizeButtonHint));
    // 12000 x 9000 twips outside at 15 twips per pixel.
    QCOMPARE(f->width() + 2 * Twips::kRahmenPx, 800);
    QCOMPARE(f->height() + 2 * Twips::kRahmenPx + Twips::kTitelPx, 600);
}

void TestForm3::layoutFormeln_data()
{
    QTest::addColumn<double>("breite");
    QTest::addColumn<double>("label1");
    QTest::newRow("800 pixels at 96 dpi") << 11910.0 << 390.0;
    QTest::newRow("narrow") << 9000.0 << 600.0;
    QTest::newRow("wide") << 15000.0 << 450.0;
}

void TestForm3::layoutFormeln()
{
    QFETCH(double, breite);
    QFETCH(double, label1);
    Form3Layout::Plan entwurf = Form3Layout::entwurf();
    entwurf[QStringLiteral("Label1")].width = label1;
    entwurf[QStringLiteral("Label5")].width = 400;
    const Form3Layout::Plan p = Form3Layout::beimLaden(entwurf, breite);
    auto r = [&p](const char *name) { return p.value(QLatin1String(name)); };

    QCOMPARE(r("DataGrid1").left, 100.0);
    QCOMPARE(r("DataGrid1").width, breite - 200);
    QCOMPARE(r("Frame1").left, 100.0);
    QCOMPARE(r("Frame1").width, breite - 200);
    const double F = r("Frame1").width;

    // The navigation row: four buttons and the label, edge to edge, exactly as wide as the frame.
    QCOMPARE(r("cmdNavigation(0)").left, r("Frame1").left);
    QCOMPARE(r("cmdNavigation(1)").left, r("cmdNavigation(0)").rechts());
    QCOMPARE(r("lblNavi").left, r("cmdNavigation(1)").rechts());
    QCOMPARE(r("cmdNavigation(2)").left, r("lblNavi").rechts());
    QCOMPARE(r("cmdNavigation(3)").left, r("cmdNavigation(2)").rechts());
    QCOMPARE(r("cmdNavigation(3)").rechts(), r("Frame1").rechts());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(p.value(QStringLiteral("cmdNavigation(%1)").arg(i)).width, 375.0);

    // Text boxes: margin 100, gaps 100, end 100 before the frame's right edge; level box keeps its width.
    QCOMPARE(r("txtLoesung").left, 100.0);
    QCOMPARE(r("txtAntwort1").left, r("txtLoesung").rechts() + 100);
    QCOMPARE(r("txtAntwort2").left, r("txtAntwort1").rechts() + 100);
    QCOMPARE(r("txtStufe").left, r("txtAntwort2").rechts() + 100);
    QCOMPARE(r("txtStufe").width, 495.0);
    QCOMPARE(r("txtStufe").rechts(), F - 100);
    QCOMPARE(r("txtLoesung").width, r("txtAntwort1").width);
    QCOMPARE(r("txtAntwort1").width, r("txtAntwort2").width);
    QCOMPARE(r("Label2").left, r("txtLoesung").left);
    QCOMPARE(r("Label3").left, r("txtAntwort1").left);
    QCOMPARE(r("Label4").left, r("txtAntwort2").left);
    QCOMPARE(r("Label5").left, r("txtStufe").left);

    // Buttons: "Neue Frage" first, four equal widths, margins and gaps 100.
    QCOMPARE(r("cmdNeu").left, 100.0);
    QCOMPARE(r("cmdUebernehmen").left, r("cmdNeu").rechts() + 100);
    QCOMPARE(r("cmdLoeschen").left, r("cmdUebernehmen").rechts() + 100);
    QCOMPARE(r("cmdRefresh").left, r("cmdLoeschen").rechts() + 100);
    QCOMPARE(r("cmdRefresh").rechts(), F - 100);
    QCOMPARE(r("cmdNeu").width, (F - 500) / 4);

    // The question line: label at 100, box right behind it up to 100 before the edge.
    QCOMPARE(r("Label1").left, 100.0);
    QCOMPARE(r("txtFrage").left, 100 + label1);
    QCOMPARE(r("txtFrage").rechts(), F - 100);

    // Tops and heights stay as designed, and so do the path line and the status line.
    for (auto it = entwurf.cbegin(); it != entwurf.cend(); ++it) {
        QCOMPARE(p.value(it.key()).top, it->top);
        QCOMPARE(p.value(it.key()).height, it->height);
    }
    for (const char *name : {"Label6", "txt_pfad", "cmd_browse", "lblstat"}) {
        QCOMPARE(r(name).left, entwurf.value(QLatin1String(name)).left);
        QCOMPARE(r(name).width, entwurf.value(QLatin1String(name)).width);
    }
}

void TestForm3::layoutImFenster()
{
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    Form3Layout::Plan entwurf = Form3Layout::entwurf();
    for (const char *name : {"Label1", "Label5"}) {
        const QSize s = label(f, name)->sizeHint();
        entwurf[QLatin1String(name)].width = Twips::ausPixelX(s.width());
        entwurf[QLatin1String(name)].height = Twips::ausPixelY(s.height());
    }
    const Form3Layout::Plan plan = Form3Layout::beimLaden(entwurf, Twips::ausPixelX(f->width()));
    for (auto it = plan.cbegin(); it != plan.cend(); ++it) {
        QWidget *w = f->findChild<QWidget *>(it.key());
        QVERIFY2(w, qPrintable(it.key()));
        QCOMPARE(w->geometry(), Twips::rechteck(it->left, it->top, it->width, it->height));
    }
    // In pixels too, the navigation row closes flush with the frame on both sides.
    QWidget *frame = f->findChild<QWidget *>(QStringLiteral("Frame1"));
    QCOMPARE(navi(f, 0)->x(), frame->x());
    QCOMPARE(navi(f, 3)->geometry().right(), frame->geometry().right());
    QCOMPARE(label(f, "lblNavi")->x(), navi(f, 1)->geometry().right() + 1);
    QCOMPARE(navi(f, 2)->x(), label(f, "lblNavi")->geometry().right() + 1);
}

void TestForm3::tabReihenfolge()
{
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    const QStringList reihe = {"txt_pfad",         "cmd_browse",       "txtFrage",         "txtLoesung",
                               "txtAntwort1",      "txtAntwort2",      "txtStufe",         "cmdUebernehmen",
                               "cmdNeu",           "cmdLoeschen",      "cmdNavigation(0)", "cmdNavigation(1)",
                               "cmdNavigation(2)", "cmdNavigation(3)", "DataGrid1",        "cmdRefresh"};
    QStringList gefunden;
    QWidget *w = feld(f, "txt_pfad");
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(f) && !w->objectName().isEmpty())
            gefunden << w->objectName();
        w = w->nextInFocusChain();
    } while (w != feld(f, "txt_pfad") && gefunden.size() < 40);
    QCOMPARE(gefunden, reihe);

    // Tab leaves the grid without changing the question; the arrow keys move in it.
    QVERIFY(QTest::qWaitForWindowActive(f));
    grid(f)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(grid(f), Qt::Key_Tab);
    QVERIFY(knopf(f, "cmdRefresh")->hasFocus());
    QCOMPARE(f->recordset()->absolutePosition(), 1);
    QTest::keyClick(grid(f), Qt::Key_Down);
    QCOMPARE(f->recordset()->absolutePosition(), 2);
}

// Coming from another window of the program puts the cursor into the
// question; coming back from one of the editor's own boxes leaves it.
void TestForm3::fokusBeiAktivierung()
{
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(QTest::qWaitForWindowActive(f));
    QWidget eigenes(f, Qt::Dialog);
    QWidget anderes;
    for (QWidget *w : {&eigenes, &anderes}) {
        feld(f, "txtLoesung")->setFocus(Qt::MouseFocusReason);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        QCOMPARE(feld(f, "txtFrage")->hasFocus(), w == &anderes);
        w->hide();
    }
}

void TestForm3::navigationsBilder()
{
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    const char *bilder[] = {"first", "previous", "next", "last"};
    for (int i = 0; i < 4; ++i) {
        QPushButton *b = navi(f, i);
        QVERIFY(b);
        QVERIFY(b->text().isEmpty());
        QVERIFY(!b->icon().isNull());
        const QImage bild(QStringLiteral(":/res/nav/%1.png").arg(QLatin1String(bilder[i])));
        QCOMPARE(bild.size(), QSize(16, 16));
        QCOMPARE(b->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
                 bild.convertToFormat(QImage::Format_ARGB32));
    }
}

void TestForm3::laden_data()
{
    QTest::addColumn<QString>("fall");
    QTest::addColumn<bool>("geladen");
    QTest::addColumn<QString>("pfadAnzeige"); // "<default>" for the default path
    QTest::addColumn<QString>("einstellung"); // expected settings line afterwards, "<default>"
    QTest::addColumn<QString>("datenbankPfad");
    QTest::newRow("no settings file") << "keine" << true << "<default>" << "<default>" << "";
    QTest::newRow("zero bytes") << "nullbytes" << true << "<default>" << "<default>" << "";
    QTest::newRow("empty first line") << "leerezeile" << false << "" << "" << "";
    QTest::newRow("names a missing file") << "fehlt" << false << "" << "/nirgends/Fragen.mdb"
                                          << "/nirgends/Fragen.mdb";
    QTest::newRow("names another collection") << "andere" << true << "<andere>" << "<andere>" << "<andere>";
    QTest::newRow("default missing in fallback") << "standardfehlt" << false << "<default>" << "<default>" << "";
    QTest::newRow("text file") << "text" << false << "" << "<text>" << "<text>";
    QTest::newRow("Access file") << "access" << false << "" << "<access>" << "<access>";
}

void TestForm3::laden()
{
    QFETCH(QString, fall);
    QFETCH(bool, geladen);
    QFETCH(QString, pfadAnzeige);
    QFETCH(QString, einstellung);
    QFETCH(QString, datenbankPfad);
    TestUmgebung env;
    if (fall != QLatin1String("standardfehlt"))
        env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    const QString andere = env.erzeugeFragen(QStringLiteral("andere.mdb"), ersteFragen(7));
    env.schreibeDatei(QStringLiteral("text.mdb"), "Frage;Loesung\r\n");
    env.schreibeDatei(QStringLiteral("access.mdb"), QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(2000, '\0'));
    QByteArray vorher;
    if (fall == QLatin1String("nullbytes"))
        vorher = "";
    else if (fall == QLatin1String("leerezeile"))
        vorher = "\r\n" + SettingsFile::kodiere(andere) + "\r\n";
    else if (fall == QLatin1String("fehlt"))
        vorher = "/nirgends/Fragen.mdb\r\n";
    else if (fall == QLatin1String("andere"))
        vorher = SettingsFile::kodiere(andere) + "\r\n";
    else if (fall == QLatin1String("text"))
        vorher = SettingsFile::kodiere(env.datei(QStringLiteral("text.mdb"))) + "\r\n";
    else if (fall == QLatin1String("access"))
        vorher = SettingsFile::kodiere(env.datei(QStringLiteral("access.mdb"))) + "\r\n";
    if (fall != QLatin1String("keine") && fall != QLatin1String("standardfehlt"))
        env.schreibeDatei(QStringLiteral("Kreidolin.ini"), vorher);

    auto ersetze = [&](QString s) {
        s.replace(QStringLiteral("<default>"), AppInfo::standardDatenbank());
        s.replace(QStringLiteral("<andere>"), andere);
        s.replace(QStringLiteral("<text>"), env.datei(QStringLiteral("text.mdb")));
        s.replace(QStringLiteral("<access>"), env.datei(QStringLiteral("access.mdb")));
        return s;
    };

    Form3 *f = Fenster::zeige<Form3>();
    QCOMPARE(f->datenbankGeladen(), geladen);
    QCOMPARE(feld(f, "txt_pfad")->text(), ersetze(pfadAnzeige));
    QCOMPARE(DatenbankPfad, ersetze(datenbankPfad));
    const std::optional<QString> zeile = SettingsFile::lies(AppInfo::einstellungsdatei());
    QVERIFY(zeile.has_value());
    QCOMPARE(*zeile, ersetze(einstellung));
    if (fall == QLatin1String("leerezeile"))
        QCOMPARE(env.liesDatei(QStringLiteral("Kreidolin.ini")), vorher); // not rewritten
    if (geladen) {
        const int anzahl = fall == QLatin1String("andere") ? 7 : 15;
        QCOMPARE(label(f, "lblstat")->text(),
                 QStringLiteral("Es befinden sich %1 Fragen in der Datenbank").arg(anzahl));
        QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 1 von %1").arg(anzahl));
        QCOMPARE(zeilenImGrid(f), anzahl);
    } else {
        QCOMPARE(label(f, "lblstat")->text(), kKeineDatenbank);
        QCOMPARE(zeilenImGrid(f), 0);
    }
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
}

void TestForm3::oeffnenUndSpalten()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Verbindung.reset();
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(Verbindung);
    QCOMPARE(Verbindung->cursorLocation(), Connection::CursorLocation::Client);
    QCOMPARE(Verbindung->connectionString(),
             QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + pfad
                 + QStringLiteral(";Persist Security Info=False"));
    Recordset *rec = f->recordset();
    QVERIFY(rec && rec->isOpen());
    QVERIFY(!rec->isReadOnly());
    QCOMPARE(rec->activeConnection(), Verbindung);
    QCOMPARE(rec->absolutePosition(), 1);
    QCOMPARE(felderText(f), zeilenInDatei(pfad).first());

    QTableView *g = grid(f);
    QAbstractItemModel *m = g->model();
    QCOMPARE(m->columnCount(), 6);
    QCOMPARE(m->rowCount(), 15);
    const QStringList titel = {"Frage", "Lösung", "Antwort 1", "Antwort 2", "Stufe"};
    for (int i = 0; i < titel.size(); ++i)
        QCOMPARE(m->headerData(i, Qt::Horizontal).toString(), titel[i]);
    QVERIFY(g->isColumnHidden(5));
    for (int i = 0; i < 5; ++i)
        QVERIFY(!g->isColumnHidden(i));
    QCOMPARE(g->columnWidth(4), Twips::zuPixelX(500));
    int summe = 0;
    for (int i = 0; i < 5; ++i)
        summe += g->columnWidth(i);
    QVERIFY2(qAbs(summe - (g->width() - Twips::zuPixelX(550))) <= 1,
             qPrintable(QStringLiteral("%1 vs %2").arg(summe).arg(g->width())));
    QCOMPARE(g->selectionModel()->currentIndex().row(), 0);
}

void TestForm3::nichtGeladen_data()
{
    QTest::addColumn<QString>("fall");
    QTest::addColumn<int>("gridZeilen");
    QTest::addColumn<int>("dateiZeilen");
    QTest::newRow("empty table") << "leer" << 0 << 0;
    QTest::newRow("missing file") << "fehlt" << 0 << -1;
}

void TestForm3::nichtGeladen()
{
    QFETCH(QString, fall);
    QFETCH(int, gridZeilen);
    QFETCH(int, dateiZeilen);
    TestUmgebung env;
    const QString pfad = env.datei(QStringLiteral("fragen.mdb"));
    if (fall == QLatin1String("fuenf"))
        QVERIFY(fuehreSqlAus(pfad, {"CREATE TABLE fragen (Frage TEXT, Loesung TEXT, Antwort1 TEXT, Antwort2 TEXT, "
                                    "Stufe INTEGER)",
                                    "INSERT INTO fragen VALUES ('F1','L1','A1','B1',1)",
                                    "INSERT INTO fragen VALUES ('F2','L2','A2','B2',2)"}));
    else if (fall == QLatin1String("leer"))
        env.erzeugeFragen(QStringLiteral("fragen.mdb"), {});
    schreibeEinstellung(env, pfad);

    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(!f->datenbankGeladen());
    QCOMPARE(zeilenImGrid(f), gridZeilen); // a table without its sixth column was bound before it failed
    QCOMPARE(feld(f, "txt_pfad")->text(), QString());
    QCOMPARE(label(f, "lblstat")->text(), kKeineDatenbank);
    QCOMPARE(env.meldungen.gezeigt.size(), 0);

    // Every button, move and grid click: harmless, and nothing reaches a database the editor calls not loaded.
    for (int i = 0; i < 4; ++i)
        klick(navi(f, i));
    QCOMPARE(label(f, "lblNavi")->text(), QString());
    if (gridZeilen > 0)
        klickeZeile(grid(f), 1);
    QTest::mouseClick(grid(f)->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    klick(knopf(f, "cmdNeu")); // still empties the fields
    QCOMPARE(felderText(f), QStringList(5, QString()));
    fuelleFelder(f, {"F", "L", "A", "B", "3"});
    klick(knopf(f, "cmdUebernehmen"));
    feld(f, "txtLoesung")->setFocus();
    env.meldungen.antworten << QMessageBox::Yes;
    klick(knopf(f, "cmdLoeschen")); // asks first, then says why nothing goes
    QCOMPARE(f->focusWidget(), feld(f, "txtFrage"));
    klick(knopf(f, "cmdRefresh"));
    const QString text = QStringLiteral("Es ist keine Datenbank geladen. Bitte wählen Sie zuerst eine Datenbank aus.");
    QCOMPARE(env.meldungen.texte(),
             (QStringList{text, QStringLiteral("Wollen Sie den aktuellen Datensatz wirklich löschen?"), text}));
    QCOMPARE(env.meldungen.titel(), (QStringList{"Kreidolin", "Achtung!", "Kreidolin"}));
    if (dateiZeilen < 0)
        QVERIFY(!QFile::exists(pfad));
    else
        QCOMPARE(zeilenInDatei(pfad).size(), dateiZeilen);
    QCOMPARE(label(f, "lblstat")->text(), kKeineDatenbank);
    QCOMPARE(label(f, "lblNavi")->text(), QString());
    QVERIFY(Fenster::offen<Form3>());
}

// A table of only the five named columns works like any other.
void TestForm3::fuenfSpalten()
{
    TestUmgebung env;
    const QString pfad = env.datei(QStringLiteral("fragen.mdb"));
    QVERIFY(fuehreSqlAus(pfad, {"CREATE TABLE fragen (Frage TEXT, Loesung TEXT, Antwort1 TEXT, Antwort2 TEXT, "
                                "Stufe INTEGER)",
                                "INSERT INTO fragen VALUES ('F1','L1','A1','B1',1)",
                                "INSERT INTO fragen VALUES ('F2','L2','A2','B2',2)"}));
    schreibeEinstellung(env, pfad);
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(f->datenbankGeladen());
    QCOMPARE(grid(f)->model()->columnCount(), 5);
    for (int i = 0; i < 5; ++i)
        QVERIFY(!grid(f)->isColumnHidden(i));
    klick(navi(f, 2));
    QCOMPARE(felderText(f), (QStringList{"F2", "L2", "A2", "B2", "2"}));
    tippe(feld(f, "txtFrage"), QStringLiteral("F2 neu"));
    klick(knopf(f, "cmdUebernehmen"));
    klick(knopf(f, "cmdNeu"));
    fuelleFelder(f, {"F3", "L3", "A3", "B3", "3"});
    klick(knopf(f, "cmdUebernehmen"));
    klick(navi(f, 0));
    env.meldungen.antworten << QMessageBox::Yes;
    klick(knopf(f, "cmdLoeschen"));
    QCOMPARE(zeilenInDatei(pfad),
             (QVector<QStringList>{{"F2 neu", "L2", "A2", "B2", "2"}, {"F3", "L3", "A3", "B3", "3"}}));
    QCOMPARE(env.meldungen.gezeigt.size(), 1); // the delete question only
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 1 von 2"));
}

// The settings file cannot be written in the fallback: the editor says so
// and shows the default collection all the same.
void TestForm3::standardNichtSchreibbar()
{
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    QVERIFY(QDir(env.verzeichnis()).mkdir(QStringLiteral("Kreidolin.ini")));
    Form3 *f = Fenster::zeige<Form3>();
    QCOMPARE(env.meldungen.gezeigt.size(), 1);
    QVERIFY(env.meldungen.texte().first().startsWith(QStringLiteral("Die Einstellung konnte nicht gespeichert werden.")));
    QVERIFY(f->datenbankGeladen());
    QCOMPARE(feld(f, "txt_pfad")->text(), AppInfo::standardDatenbank());
}

void TestForm3::navigation()
{
    TestUmgebung env;
    const QVector<FrageZeile> fragen = ersteFragen(7);
    schreibeEinstellung(env, env.erzeugeFragen(QStringLiteral("sieben.mdb"), fragen));
    Form3 *f = Fenster::zeige<Form3>();
    QLabel *navText = label(f, "lblNavi");
    Recordset *rec = f->recordset();
    const QString status = QStringLiteral("Es befinden sich 7 Fragen in der Datenbank");

    QCOMPARE(navText->text(), QStringLiteral("Frage 1 von 7"));
    QCOMPARE(felderText(f), erwartet(fragen[0]));

    klick(navi(f, 1)); // previous on the first: stays
    QCOMPARE(rec->absolutePosition(), 1);
    QCOMPARE(navText->text(), QStringLiteral("Frage 1 von 7"));

    klick(navi(f, 2));
    QCOMPARE(navText->text(), QStringLiteral("Frage 2 von 7"));
    QCOMPARE(felderText(f), erwartet(fragen[1]));
    QCOMPARE(label(f, "lblstat")->text(), status);

    klick(navi(f, 3));
    QCOMPARE(navText->text(), QStringLiteral("Frage 7 von 7"));
    QCOMPARE(felderText(f), erwartet(fragen[6]));

    feld(f, "txtFrage")->setText(QStringLiteral("getippt"));
    klick(navi(f, 2)); // next on the last: stays, fields untouched
    QCOMPARE(rec->absolutePosition(), 7);
    QCOMPARE(feld(f, "txtFrage")->text(), QStringLiteral("getippt"));
    QCOMPARE(navText->text(), QStringLiteral("Frage 7 von 7"));

    klick(navi(f, 1));
    QCOMPARE(navText->text(), QStringLiteral("Frage 6 von 7"));
    QCOMPARE(felderText(f), erwartet(fragen[5]));

    klick(navi(f, 0));
    QCOMPARE(navText->text(), QStringLiteral("Frage 1 von 7"));
    QCOMPARE(felderText(f), erwartet(fragen[0]));
    QCOMPARE(label(f, "lblstat")->text(), status);
    QCOMPARE(grid(f)->selectionModel()->currentIndex().row(), 0);
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
}

void TestForm3::gridUndRecordset()
{
    TestUmgebung env;
    const QVector<FrageZeile> fragen = ersteFragen(7);
    schreibeEinstellung(env, env.erzeugeFragen(QStringLiteral("sieben.mdb"), fragen));
    Form3 *f = Fenster::zeige<Form3>();
    QTableView *g = grid(f);
    Recordset *rec = f->recordset();

    klickeZeile(g, 3);
    QCOMPARE(rec->absolutePosition(), 4);
    QCOMPARE(felderText(f), erwartet(fragen[3]));
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 4 von 7"));

    g->setFocus();
    QTest::keyClick(g, Qt::Key_Down);
    QCOMPARE(rec->absolutePosition(), 5);
    QCOMPARE(felderText(f), erwartet(fragen[4]));
    QTest::keyClick(g, Qt::Key_Up);
    QTest::keyClick(g, Qt::Key_Up);
    QCOMPARE(rec->absolutePosition(), 3);
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 3 von 7"));

    // The other way round: a button moves the grid's current row along.
    klick(navi(f, 3));
    QCOMPARE(g->selectionModel()->currentIndex().row(), 6);
    QVERIFY(g->selectionModel()->isRowSelected(6, QModelIndex()));
    klick(navi(f, 1));
    QCOMPARE(g->selectionModel()->currentIndex().row(), 5);
    QCOMPARE(rec->absolutePosition(), 6);
}

void TestForm3::neueFrage()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(QTest::qWaitForWindowActive(f));
    klick(knopf(f, "cmdNeu"));
    QCOMPARE(felderText(f), QStringList(5, QString()));
    QVERIFY(feld(f, "txtFrage")->hasFocus());
    QVERIFY(f->recordset()->isNewRecord());
    QCOMPARE(zeilenImGrid(f), 16);
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 16 von 16"));
    QCOMPARE(zeilenInDatei(pfad).size(), 15); // nothing in the file yet

    const QStringList neu = {"Wie heißt die Hauptstadt von Österreich?", "Wien", "Graz", "Linz", "9"};
    fuelleFelder(f, neu);
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
    const QVector<QStringList> zeilen = zeilenInDatei(pfad);
    QCOMPARE(zeilen.size(), 16);
    QCOMPARE(zeilen.last(), neu);
    QVERIFY(!f->recordset()->isNewRecord());
    QVERIFY(feld(f, "txtFrage")->hasFocus());
    QCOMPARE(grid(f)->model()->index(15, 1).data().toString(), QStringLiteral("Wien"));
    QCOMPARE(label(f, "lblstat")->text(), QStringLiteral("Es befinden sich 16 Fragen in der Datenbank"));
}

void TestForm3::vollstaendigkeit()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(QTest::qWaitForWindowActive(f));
    QVERIFY(feld(f, "txtFrage")->hasFocus()); // where the window puts the cursor when it comes up
    klick(knopf(f, "cmdNeu"));
    fuelleFelder(f, {"Frage ohne Stufe", "L", "A", "B"});
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.texte(), QStringList{kFelderLeer});
    QCOMPARE(env.meldungen.gezeigt.first().titel, QStringLiteral("Kreidolin"));
    QCOMPARE(env.meldungen.gezeigt.first().knoepfe, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(feld(f, "txtFrage")->hasFocus());
    QCOMPARE(zeilenInDatei(pfad).size(), 15);

    // Blanks are content: a field of blanks passes and is stored as it stands.
    tippe(feld(f, "txtStufe"), QStringLiteral("4"));
    tippe(feld(f, "txtAntwort2"), QStringLiteral("   "));
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 1);
    const QVector<QStringList> zeilen = zeilenInDatei(pfad);
    QCOMPARE(zeilen.size(), 16);
    QCOMPARE(zeilen.last(), (QStringList{"Frage ohne Stufe", "L", "A", "   ", "4"}));
}

void TestForm3::aendern()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(QTest::qWaitForWindowActive(f));
    klick(navi(f, 2));
    tippe(feld(f, "txtFrage"), QStringLiteral("Was ergibt 2 · 2?"));
    tippe(feld(f, "txtStufe"), QStringLiteral("12"));
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
    const QVector<QStringList> zeilen = zeilenInDatei(pfad);
    QCOMPARE(zeilen.size(), 15);
    QCOMPARE(zeilen[1][0], QStringLiteral("Was ergibt 2 · 2?"));
    QCOMPARE(zeilen[1][4], QStringLiteral("12"));
    QCOMPARE(grid(f)->model()->index(1, 0).data().toString(), QStringLiteral("Was ergibt 2 · 2?"));
    QCOMPARE(f->recordset()->absolutePosition(), 2);

    // A new editor (as after a new program start) reads it from the file.
    f->close();
    schliesseAlleFenster();
    Verbindung.reset();
    Form3 *neu = Fenster::zeige<Form3>();
    QVERIFY(neu != nullptr);
    klick(navi(neu, 2));
    QCOMPARE(feld(neu, "txtFrage")->text(), QStringLiteral("Was ergibt 2 · 2?"));
    QCOMPARE(feld(neu, "txtStufe")->text(), QStringLiteral("12"));
}

void TestForm3::stufeNurGanzeZahl_data()
{
    QTest::addColumn<QString>("stufe");
    QTest::addColumn<bool>("neu");
    for (const bool neu : {false, true}) {
        const QString art = neu ? QStringLiteral(" (new)") : QStringLiteral(" (change)");
        for (const char *text : {"2.5", "3abc", " 1 2", "2,5", "16", "0", "&HF"})
            QTest::newRow(qPrintable(QLatin1String(text) + art)) << QString::fromLatin1(text) << neu;
    }
}

void TestForm3::stufeNurGanzeZahl()
{
    QFETCH(QString, stufe);
    QFETCH(bool, neu);
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    const QVector<QStringList> vorher = zeilenInDatei(pfad);
    Form3 *f = Fenster::zeige<Form3>();
    if (neu) {
        klick(knopf(f, "cmdNeu"));
        fuelleFelder(f, {"F", "L", "A", "B"});
    }
    feld(f, "txtStufe")->setText(stufe);
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.texte(), QStringList{QStringLiteral("Die Stufe muss eine ganze Zahl von 1 bis 15 sein.\r\n"
                                                               "Die Frage wurde nicht gespeichert.")});
    QCOMPARE(env.meldungen.titel(), QStringList{QStringLiteral("Kreidolin")});
    QCOMPARE(zeilenInDatei(pfad), vorher);
    QCOMPARE(feld(f, "txtStufe")->text(), stufe); // nothing the user typed is lost
}

void TestForm3::stufeVerlassen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("meldung");
    QTest::newRow("0") << "0" << true;
    QTest::newRow("16") << "16" << true;
    QTest::newRow("-3") << "-3" << true;
    QTest::newRow("abc") << "abc" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("1") << "1" << false;
    QTest::newRow("15") << "15" << false;
    QTest::newRow("7") << "7" << false;
    QTest::newRow("2.5") << "2.5" << false;
    QTest::newRow("3abc") << "3abc" << false;
    QTest::newRow("blank 1 blank 2") << " 1 2" << false;
    QTest::newRow("2,5") << "2,5" << false;
}

void TestForm3::stufeVerlassen()
{
    QFETCH(QString, text);
    QFETCH(bool, meldung);
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(QTest::qWaitForWindowActive(f));
    QLineEdit *stufe = feld(f, "txtStufe");
    stufe->setFocus(Qt::TabFocusReason);
    QVERIFY(stufe->hasFocus());
    stufe->setText(text);
    QTest::keyClick(stufe, Qt::Key_Tab); // on to "Änderungen übernehmen"
    if (meldung) {
        QCOMPARE(env.meldungen.texte(), QStringList{kStufeBereich});
        QCOMPARE(env.meldungen.titel(), QStringList{QStringLiteral("Kreidolin")});
        QCOMPARE(stufe->text(), QStringLiteral("1"));
        QVERIFY(stufe->hasFocus());
    } else {
        QCOMPARE(env.meldungen.gezeigt.size(), 0);
        QCOMPARE(stufe->text(), text);
        QVERIFY(knopf(f, "cmdUebernehmen")->hasFocus());
    }
}

void TestForm3::stufeVerlassenSonderfaelle()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(QTest::qWaitForWindowActive(f));
    QLineEdit *stufe = feld(f, "txtStufe");

    // Another window becoming active is no leaving of the field.
    stufe->setFocus(Qt::TabFocusReason);
    stufe->setText(QStringLiteral("0"));
    QFocusEvent weg(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(stufe, &weg);
    QCOMPARE(env.meldungen.gezeigt.size(), 0);

    // The access key of "Neue Frage": the check runs once, and the button waits for a valid level.
    stufe->setFocus(Qt::TabFocusReason);
    QVERIFY(stufe->hasFocus());
    QTest::keyClick(f, Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(env.meldungen.gezeigt.size(), 1);
    QTest::qWait(250);
    QCOMPARE(env.meldungen.texte(), QStringList{kStufeBereich});
    QCOMPARE(stufe->text(), QStringLiteral("1"));
    QVERIFY(!f->recordset()->isNewRecord());
    // Now the level is valid: the same key begins a new question.
    QTest::keyClick(f, Qt::Key_N, Qt::AltModifier);
    QTRY_VERIFY(f->recordset()->isNewRecord());
    QCOMPARE(env.meldungen.gezeigt.size(), 1);
    QCOMPARE(felderText(f), QStringList(5, QString()));

    // Closing with an out-of-range level in the field shows nothing.
    tippe(stufe, QStringLiteral("99"));
    f->close();
    QCOMPARE(env.meldungen.gezeigt.size(), 1);
    QCOMPARE(zeilenInDatei(pfad).size(), 15);
}

void TestForm3::aktualisieren()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    const QVector<QStringList> vorher = zeilenInDatei(pfad);
    Form3 *f = Fenster::zeige<Form3>();
    feld(f, "txtFrage")->setText(QStringLiteral("nur getippt"));
    klick(knopf(f, "cmdRefresh"));
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
    QCOMPARE(zeilenInDatei(pfad), vorher); // typed text reaches the file only through "übernehmen"
    klick(knopf(f, "cmdNeu"));
    fuelleFelder(f, {"halb", "fertig"});
    klick(knopf(f, "cmdRefresh")); // says why a new question is not stored here
    QCOMPARE(env.meldungen.gezeigt.size(), 1);
    QVERIFY(env.meldungen.texte().first().contains(QStringLiteral("\"Änderungen übernehmen\"")));
    QCOMPARE(zeilenInDatei(pfad), vorher);
    QVERIFY(f->recordset()->isNewRecord());
}

void TestForm3::loeschenNein()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    const QVector<QStringList> vorher = zeilenInDatei(pfad);
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(QTest::qWaitForWindowActive(f));
    klick(navi(f, 2));
    const QStringList felder = felderText(f);
    klick(knopf(f, "cmdLoeschen")); // the fake answers with the default button
    QCOMPARE(env.meldungen.gezeigt.size(), 1);
    const Meldung m = env.meldungen.gezeigt.first();
    QCOMPARE(m.text, QStringLiteral("Wollen Sie den aktuellen Datensatz wirklich löschen?"));
    QCOMPARE(m.titel, QStringLiteral("Achtung!"));
    QCOMPARE(m.knoepfe, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(m.vorgabe, QMessageBox::No);
    QCOMPARE(m.symbol, QMessageBox::Warning);
    QCOMPARE(zeilenInDatei(pfad), vorher);
    QCOMPARE(felderText(f), felder);
    QCOMPARE(f->recordset()->absolutePosition(), 2);
    QVERIFY(feld(f, "txtFrage")->hasFocus());
}

void TestForm3::loeschenJa()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    const QVector<QStringList> vorher = zeilenInDatei(pfad);
    Form3 *f = Fenster::zeige<Form3>();
    klick(navi(f, 2));
    klick(navi(f, 2)); // third question
    env.meldungen.antworten << QMessageBox::Yes;
    klick(knopf(f, "cmdLoeschen"));
    QVector<QStringList> nachher = vorher;
    nachher.remove(2);
    QCOMPARE(zeilenInDatei(pfad), nachher);
    QCOMPARE(f->recordset()->absolutePosition(), 3); // the former fourth took its place
    QCOMPARE(felderText(f), nachher[2]);
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 3 von 14"));
    QCOMPARE(label(f, "lblstat")->text(), QStringLiteral("Es befinden sich 14 Fragen in der Datenbank"));
    QCOMPARE(zeilenImGrid(f), 14);
    QCOMPARE(grid(f)->selectionModel()->currentIndex().row(), 2);

    // Deleting the last question makes the one before it current.
    klick(navi(f, 3));
    env.meldungen.antworten << QMessageBox::Yes;
    klick(knopf(f, "cmdLoeschen"));
    nachher.removeLast();
    QCOMPARE(zeilenInDatei(pfad), nachher);
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 13 von 13"));
    QCOMPARE(felderText(f), nachher.last());
    QCOMPARE(env.meldungen.gezeigt.size(), 2);
}

void TestForm3::letzteFrageLoeschen()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("eine.mdb"), ersteFragen(1));
    schreibeEinstellung(env, pfad);
    Form3 *f = Fenster::zeige<Form3>();
    env.meldungen.antworten << QMessageBox::Yes;
    klick(knopf(f, "cmdLoeschen"));
    QCOMPARE(zeilenInDatei(pfad).size(), 0);
    QCOMPARE(felderText(f), QStringList(5, QString()));
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Keine Frage ausgewählt"));
    QCOMPARE(label(f, "lblstat")->text(), QStringLiteral("Es befinden sich 0 Fragen in der Datenbank"));
    QCOMPARE(zeilenImGrid(f), 0);

    // Nothing harmful in the empty state.
    for (int i = 0; i < 4; ++i)
        klick(navi(f, i));
    QTest::mouseClick(grid(f)->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    klick(knopf(f, "cmdRefresh"));
    fuelleFelder(f, {"F", "L", "A", "B", "2"});
    klick(knopf(f, "cmdUebernehmen"));
    env.meldungen.antworten << QMessageBox::Yes;
    klick(knopf(f, "cmdLoeschen"));
    QCOMPARE(env.meldungen.texte().mid(1),
             (QStringList{QStringLiteral("Es ist keine Frage ausgewählt. "
                                         "Mit \"Neue Frage\" beginnen Sie eine neue Frage."),
                          QStringLiteral("Wollen Sie den aktuellen Datensatz wirklich löschen?"),
                          QStringLiteral("Es ist keine Frage ausgewählt, die gelöscht werden könnte.")}));
    QCOMPARE(zeilenInDatei(pfad).size(), 0);

    // A new question fills the empty table again.
    klick(knopf(f, "cmdNeu"));
    fuelleFelder(f, {"F", "L", "A", "B", "2"});
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(zeilenInDatei(pfad), (QVector<QStringList>{{"F", "L", "A", "B", "2"}}));
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 1 von 1"));
}

void TestForm3::neueFrageVerlassen()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    const QVector<QStringList> vorher = zeilenInDatei(pfad);
    Form3 *f = Fenster::zeige<Form3>();

    // Left by a navigation button.
    klick(knopf(f, "cmdNeu"));
    fuelleFelder(f, {"halb", "fertig", "x"});
    klick(navi(f, 0));
    QVERIFY(!f->recordset()->isNewRecord());
    QCOMPARE(f->recordset()->recordCount(), 15);
    QCOMPARE(zeilenImGrid(f), 15);
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 1 von 15"));

    // Left by a click into the grid.
    klick(knopf(f, "cmdNeu"));
    klickeZeile(grid(f), 4);
    QVERIFY(!f->recordset()->isNewRecord());
    QCOMPARE(f->recordset()->absolutePosition(), 5);
    QCOMPARE(zeilenImGrid(f), 15);
    QCOMPARE(felderText(f), vorher[4]);
    QCOMPARE(zeilenInDatei(pfad), vorher);

    // Left by closing the window, even with all fields filled.
    klick(knopf(f, "cmdNeu"));
    fuelleFelder(f, {"F", "L", "A", "B", "3"});
    f->close();
    QCOMPARE(zeilenInDatei(pfad), vorher);
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
}

void TestForm3::fensterWegUnterMeldung_data()
{
    QTest::addColumn<QString>("knopf");
    QTest::newRow("delete question") << "cmdLoeschen";
    QTest::newRow("incomplete new question") << "cmdUebernehmen";
    QTest::newRow("refresh a new question") << "cmdRefresh";
}

// The editor goes away while one of its messages is open: nothing touches it afterwards.
void TestForm3::fensterWegUnterMeldung()
{
    QFETCH(QString, knopf);
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(QTest::qWaitForWindowActive(f));
    if (knopf != QLatin1String("cmdLoeschen"))
        klick(::knopf(f, "cmdNeu"));
    QPointer<Form3> lebt(f);
    env.meldungen.beimZeigen = [&](const Meldung &) { delete lebt.data(); };
    klick(::knopf(f, qPrintable(knopf)));
    QVERIFY(!lebt);
    QCOMPARE(env.meldungen.gezeigt.size(), 1);
}

void TestForm3::speicherFehlerNurLesen()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    schreibeEinstellung(env, pfad);
    const QVector<QStringList> vorher = zeilenInDatei(pfad);
    SchreibschutzOrdner schutz(env.verzeichnis());
    if (!schutz.aktiv())
        QSKIP("the folder cannot be made read-only here");
    SchliesseVorher schliesseVorher;
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(f->datenbankGeladen());
    tippe(feld(f, "txtFrage"), QStringLiteral("geändert"));
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 1);
    QVERIFY(env.meldungen.texte().first().startsWith(QStringLiteral("Die Frage wurde nicht gespeichert.\r\n")));
    QCOMPARE(feld(f, "txtFrage")->text(), QStringLiteral("geändert")); // nothing typed is lost

    env.meldungen.antworten << QMessageBox::Yes;
    klick(knopf(f, "cmdLoeschen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 3);
    QVERIFY(env.meldungen.texte().last().startsWith(QStringLiteral("Die Frage wurde nicht gelöscht.\r\n")));

    klick(knopf(f, "cmdNeu"));
    fuelleFelder(f, {"F", "L", "A", "B", "3"});
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 4);
    QCOMPARE(zeilenInDatei(pfad), vorher);

    // The editor goes on working; the refused new question is left behind on the first move.
    klick(navi(f, 0));
    klick(navi(f, 3));
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 15 von 15"));
    QVERIFY(Fenster::offen<Form3>());
}

void TestForm3::speicherFehlerSpalteLehntAb()
{
    TestUmgebung env;
    const QString pfad = env.datei(QStringLiteral("kurz.mdb"));
    QVERIFY(fuehreSqlAus(pfad, {"CREATE TABLE fragen (Frage TEXT CHECK (length(Frage) <= 10), Loesung TEXT, "
                                "Antwort1 TEXT, Antwort2 TEXT, Stufe INTEGER, ID INTEGER PRIMARY KEY)",
                                "INSERT INTO fragen (Frage, Loesung, Antwort1, Antwort2, Stufe) "
                                "VALUES ('kurz', 'L', 'A', 'B', 1)"}));
    schreibeEinstellung(env, pfad);
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(f->datenbankGeladen());

    // A change the column refuses: message, file untouched, the fields keep what was typed.
    tippe(feld(f, "txtFrage"), QStringLiteral("eine viel zu lange Frage"));
    tippe(feld(f, "txtLoesung"), QStringLiteral("neu"));
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 1);
    QVERIFY(env.meldungen.texte().first().startsWith(QStringLiteral("Die Frage wurde nicht gespeichert.\r\n")));
    QCOMPARE(zeilenInDatei(pfad), (QVector<QStringList>{{"kurz", "L", "A", "B", "1"}}));
    QCOMPARE(feld(f, "txtLoesung")->text(), QStringLiteral("neu"));

    // A refused new question stays begun; once corrected it is stored.
    klick(knopf(f, "cmdNeu"));
    fuelleFelder(f, {"noch viel zu lang", "L2", "A2", "B2", "2"});
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 2);
    QCOMPARE(zeilenInDatei(pfad).size(), 1);
    QVERIFY(f->recordset()->isNewRecord());
    tippe(feld(f, "txtFrage"), QStringLiteral("kurz 2"));
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 2);
    QCOMPARE(zeilenInDatei(pfad).last(), (QStringList{"kurz 2", "L2", "A2", "B2", "2"}));
}

void TestForm3::speicherFehlerZeileWeg()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    klick(navi(f, 2));
    // Someone else deletes the question shown.
    QVERIFY(fuehreSqlAus(pfad, {"DELETE FROM fragen WHERE rowid = (SELECT rowid FROM fragen ORDER BY rowid "
                                "LIMIT 1 OFFSET 1)"}));
    tippe(feld(f, "txtFrage"), QStringLiteral("geändert"));
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 1);
    QVERIFY(env.meldungen.texte().first().startsWith(QStringLiteral("Die Frage wurde nicht gespeichert.\r\n")));
    QCOMPARE(zeilenInDatei(pfad).size(), 14);
    for (const QStringList &z : zeilenInDatei(pfad))
        QVERIFY(z.first() != QStringLiteral("geändert"));
    klick(navi(f, 0));
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 1 von 15"));
}

void TestForm3::dateiAuswahl()
{
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    schreibeEinstellung(env, AppInfo::standardDatenbank());
    const QString andere = env.erzeugeFragen(QStringLiteral("Klasse 5 Erdkunde.mdb"), ersteFragen(7));
    Form3 *f = Fenster::zeige<Form3>();
    QCOMPARE(DatenbankPfad, AppInfo::standardDatenbank());
    Recordset *alt = f->recordset();
    env.dateiDialoge.antworten << andere;
    klick(knopf(f, "cmd_browse"));

    QCOMPARE(Form3::datenbankFilter(), QStringLiteral("*.Access-Datenbanken (*.mdb)|*.mdb"));
    QCOMPARE(env.dateiDialoge.filter, QStringList{QStringLiteral("*.Access-Datenbanken (*.mdb)")});
    QCOMPARE(env.dateiDialoge.verzeichnisse, QStringList{AppInfo::anwendungsverzeichnis()});
    QCOMPARE(env.liesDatei(QStringLiteral("Kreidolin.ini")), SettingsFile::kodiere(andere) + "\r\n");
    QCOMPARE(feld(f, "txt_pfad")->text(), andere);
    QVERIFY(f->recordset() != alt);
    QCOMPARE(Verbindung->connectionString(), Connection::connectionStringFor(andere));
    QCOMPARE(label(f, "lblstat")->text(), QStringLiteral("Es befinden sich 7 Fragen in der Datenbank"));
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 1 von 7"));
    QCOMPARE(zeilenImGrid(f), 7);
    QCOMPARE(grid(f)->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Lösung"));
    QCOMPARE(DatenbankPfad, AppInfo::standardDatenbank()); // the choice counts from the next start
    QCOMPARE(env.meldungen.gezeigt.size(), 0);

    // The next opening of the editor reads the choice.
    f->close();
    Form3 *neu = Fenster::zeige<Form3>();
    QCOMPARE(feld(neu, "txt_pfad")->text(), andere);
    QCOMPARE(DatenbankPfad, andere);
}

void TestForm3::dateiAuswahlAbbrechen()
{
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    klick(navi(f, 2));
    const QByteArray einstellung = env.liesDatei(QStringLiteral("Kreidolin.ini"));
    Recordset *rec = f->recordset();
    const std::shared_ptr<Connection> verbindung = Verbindung;
    const QStringList felder = felderText(f);
    klick(knopf(f, "cmd_browse")); // the fake cancels
    QCOMPARE(env.dateiDialoge.filter.size(), 1);
    QCOMPARE(env.liesDatei(QStringLiteral("Kreidolin.ini")), einstellung);
    QCOMPARE(feld(f, "txt_pfad")->text(), AppInfo::standardDatenbank());
    QCOMPARE(f->recordset(), rec);
    QCOMPARE(Verbindung, verbindung);
    QCOMPARE(rec->absolutePosition(), 2);
    QCOMPARE(felderText(f), felder);
    QVERIFY(f->datenbankGeladen());
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
}

void TestForm3::dateiAuswahlUnbrauchbar()
{
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    env.schreibeDatei(QStringLiteral("notizen.mdb"), "keine Datenbank");
    Form3 *f = Fenster::zeige<Form3>();
    env.dateiDialoge.antworten << env.datei(QStringLiteral("notizen.mdb"));
    klick(knopf(f, "cmd_browse"));
    QCOMPARE(*SettingsFile::lies(AppInfo::einstellungsdatei()), env.datei(QStringLiteral("notizen.mdb")));
    QVERIFY(!f->datenbankGeladen());
    QCOMPARE(feld(f, "txt_pfad")->text(), QString());
    QCOMPARE(label(f, "lblstat")->text(), kKeineDatenbank);
    QCOMPARE(label(f, "lblNavi")->text(), QString());
    QCOMPARE(zeilenImGrid(f), 0);
    QCOMPARE(env.meldungen.gezeigt.size(), 0);

    // Choosing a good file afterwards opens it.
    env.dateiDialoge.antworten << AppInfo::standardDatenbank();
    klick(knopf(f, "cmd_browse"));
    QVERIFY(f->datenbankGeladen());
    QCOMPARE(zeilenImGrid(f), 15);
}

void TestForm3::dateiAuswahlSchreibfehler()
{
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    const QString andere = env.erzeugeFragen(QStringLiteral("andere.mdb"), ersteFragen(7));
    Form3 *f = Fenster::zeige<Form3>();
    const QByteArray einstellung = env.liesDatei(QStringLiteral("Kreidolin.ini"));
    Recordset *rec = f->recordset();
    SchreibschutzOrdner schutz(env.verzeichnis());
    if (!schutz.aktiv())
        QSKIP("the folder cannot be made read-only here");
    SchliesseVorher schliesseVorher;
    env.dateiDialoge.antworten << andere;
    klick(knopf(f, "cmd_browse"));
    QCOMPARE(env.meldungen.gezeigt.size(), 1);
    QVERIFY(env.meldungen.texte().first().startsWith(
        QStringLiteral("Die Auswahl der Datenbank kann nicht gespeichert werden.\r\n")));
    QCOMPARE(env.meldungen.titel().first(), QStringLiteral("Kreidolin"));
    QCOMPARE(env.liesDatei(QStringLiteral("Kreidolin.ini")), einstellung);
    QCOMPARE(feld(f, "txt_pfad")->text(), AppInfo::standardDatenbank());
    QCOMPARE(f->recordset(), rec);
    QVERIFY(f->datenbankGeladen());
}

void TestForm3::filterUmwandlung_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("the editor's filter") << "*.Access-Datenbanken (*.mdb)|*.mdb" << "*.Access-Datenbanken (*.mdb)";
    QTest::newRow("pattern added") << "Fragen|*.mdb" << "Fragen (*.mdb)";
    QTest::newRow("two entries") << "Fragen (*.mdb)|*.mdb|Alle Dateien|*.*"
                                 << "Fragen (*.mdb);;Alle Dateien (*.*)";
    QTest::newRow("several patterns") << "Datenbanken|*.mdb;*.accdb" << "Datenbanken (*.mdb *.accdb)";
    QTest::newRow("description only") << "Alles" << "Alles";
    QTest::newRow("empty") << "" << "";
}

void TestForm3::filterUmwandlung()
{
    QFETCH(QString, filter);
    QFETCH(QString, qt);
    QCOMPARE(DateiFilter::zuQt(filter), qt);
}

void TestForm3::schliessenZeigtHauptfenster()
{
    TestUmgebung env;
    env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(!Fenster::offen<Form1>());
    f->close();
    QVERIFY(!Fenster::offen<Form3>());
    Form1 *haupt = Fenster::offen<Form1>();
    QVERIFY(haupt);
    QVERIFY(haupt->isVisible());
}

void TestForm3::nebenEinemSpiel()
{
    TestUmgebung env;
    const QString pfad = env.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());
    auto spielOeffnen = [&pfad](Recordset &rs) {
        auto verbindung = std::make_shared<Connection>();
        verbindung->setConnectionString(Connection::connectionStringFor(pfad));
        Verbindung = verbindung;
        if (verbindung->open())
            return false;
        rs.setActiveConnection(verbindung);
        rs.setCursorType(Recordset::CursorType::Keyset);
        rs.setSource(QStringLiteral("select * from fragen"));
        return !rs.open();
    };

    Form3 *f = Fenster::zeige<Form3>();
    Recordset laufendesSpiel; // a game started while the editor is open
    QVERIFY(spielOeffnen(laufendesSpiel));
    QVERIFY(laufendesSpiel.isReadOnly());
    QCOMPARE(laufendesSpiel.recordCount(), 15);

    klick(knopf(f, "cmdNeu"));
    fuelleFelder(f, {"Neue Frage im Editor", "ja", "nein", "vielleicht", "15"});
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 0);

    Recordset naechstesSpiel;
    QVERIFY(spielOeffnen(naechstesSpiel));
    QCOMPARE(naechstesSpiel.recordCount(), 16);
    QVERIFY(!naechstesSpiel.moveLast());
    QCOMPARE(naechstesSpiel.value(QStringLiteral("frage")).toString(), QStringLiteral("Neue Frage im Editor"));
    QCOMPARE(naechstesSpiel.value(QStringLiteral("Stufe")).toInt(), 15);

    // The running game goes on with what it read, and the editor goes on working.
    QVERIFY(!laufendesSpiel.moveFirst());
    QVERIFY(!laufendesSpiel.move(14));
    klick(navi(f, 0));
    tippe(feld(f, "txtLoesung"), QStringLiteral("zwei"));
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(zeilenInDatei(pfad).first()[1], QStringLiteral("zwei"));
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
}

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
