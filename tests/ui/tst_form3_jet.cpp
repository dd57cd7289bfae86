#include "basis/appinfo.h"
#include "start/fenster.h"
#include "basis/modvariablen.h"
#include "jetexport.h"
#include "store/connection.h"
#include "store/recordset.h"
#include "store/settingsfile.h"
#include "testservices.h"
#include "ui/form3.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>

// The editor over question collections kept in genuine Access files: shown
// as any other collection, never written, and turned into the program's own
// format only when the user agrees to it before the first change.

namespace {
const QString kKeineDatenbank = QStringLiteral("Keine Datenbank geladen!");
const QString kNichtUmgewandelt = QStringLiteral("Die Fragensammlung wurde nicht umgewandelt und die "
                                                 "Änderung nicht ausgeführt.\r\n");

QString umwandlungsFrage(const QString &sicherung)
{
    return QStringLiteral("Diese Fragensammlung ist eine Access-Datei, die Kreidolin nur lesen kann.\r\n"
                          "Soll sie in das Format von Kreidolin umgewandelt werden? Das Original bleibt "
                          "unverändert als „%1“ daneben erhalten.")
        .arg(sicherung);
}

QString fixture(const QString &name)
{
    return QStringLiteral(KREIDOLIN_TEST_DATA "/legacy/") + name;
}

QByteArray bytes(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Copies an Access fixture into the application folder as Fragen.mdb, named
// by the settings file.
QString sammlung(TestUmgebung &env, const QString &name)
{
    const QString pfad = env.kopiereTestdatei(QStringLiteral("legacy/") + name, QStringLiteral("Fragen.mdb"));
    env.schreibeDatei(QStringLiteral("Kreidolin.ini"), SettingsFile::kodiere(pfad) + "\r\n");
    return pfad;
}

QStringList sicherungen(const TestUmgebung &env)
{
    return QDir(env.verzeichnis()).entryList({QStringLiteral("*.bak")}, QDir::Files, QDir::Name);
}

// Table fragen of a file in the program's own format, read past the program's
// store: every column in table order, a null as a null.
QVector<JetExport::Zeile> tabelleInDatei(const QString &pfad, int *spalten = nullptr)
{
    static int zaehler = 0;
    const QString name = QStringLiteral("tst_form3_jet_%1").arg(++zaehler);
    QVector<JetExport::Zeile> zeilen;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(pfad);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT * FROM fragen ORDER BY rowid"));
            if (spalten)
                *spalten = q.record().count();
            while (q.next()) {
                JetExport::Zeile z;
                for (int i = 0; i < q.record().count(); ++i)
                    z << (q.value(i).isNull() ? QVariant() : QVariant(q.value(i).toString()));
                zeilen << z;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return zeilen;
}

// The expected rows with every value as text, as tabelleInDatei gives them.
QVector<JetExport::Zeile> alsText(QVector<JetExport::Zeile> zeilen)
{
    for (JetExport::Zeile &z : zeilen) {
        for (QVariant &v : z) {
            if (!v.isNull())
                v = v.toString();
        }
    }
    return zeilen;
}

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

QStringList felderAus(const JetExport::Zeile &z)
{
    QStringList texte;
    for (int i = 0; i < 5; ++i)
        texte << JetExport::text(z[i]);
    return texte;
}

// Types as a user does, one key per character (umlauts, „“ and € included).
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

void zurFrage(Form3 *f, int position)
{
    klick(navi(f, 0));
    for (int i = 1; i < position; ++i)
        klick(navi(f, 2));
}

Connection::Kind artDerSammlung(Form3 *f)
{
    Recordset *rec = f->recordset();
    return rec && rec->activeConnection() ? rec->activeConnection()->kind() : Connection::Kind::Unknown;
}

// Closes the windows and lets go of the database before a read-only folder
// is given back.
struct SchliesseVorher {
    ~SchliesseVorher()
    {
        schliesseAlleFenster();
        Verbindung.reset();
    }
};
}

class TestForm3Jet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    // Each Access fixture opens into the state a native collection of that shape gives, and shows no box.
    void anzeigen_data();
    void anzeigen();
    // Every question reaches fields and grid text for text; the null shows an empty box.
    void alleFragen_data();
    void alleFragen();
    // Browsing, grid clicks, "Aktualisieren" and closing never write the Access file.
    void nurLesen();

    // Declining the conversion stores nothing and leaves file, fields and position as they were.
    void umwandelnNein_data();
    void umwandelnNein();
    // Yes keeps the original as the backup, converts every row and field, reopens on the same question
    // and carries the change out; a second editor finds the own format and asks no more.
    void umwandelnJa_data();
    void umwandelnJa();
    // An existing backup is never touched: the question names the next free name, and the original goes there.
    void vorhandeneSicherung_data();
    void vorhandeneSicherung();
    // A read-only folder: a clear message, file and typed fields as they were, no backup, the editor goes on.
    void schreibgeschuetzt();
    // A file that went missing or broke after it was opened: the message, nothing written, no backup.
    void umwandlungScheitert_data();
    void umwandlungScheitert();
    // The file the editor opened is converted, not whatever was typed into the path box since.
    void pfadFeldGetippt();
};

void TestForm3Jet::cleanup()
{
    schliesseAlleFenster();
    Verbindung.reset();
}

void TestForm3Jet::anzeigen_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<bool>("geladen");
    QTest::addColumn<int>("gridZeilen");
    QTest::newRow("main fixture") << "fragen_jet4.mdb" << true << 45;
    QTest::newRow("without Unicode compression") << "fragen_jet4_uncompressed.mdb" << true << 45;
    QTest::newRow("Access 2002/2003") << "fragen_jet4_v2003.mdb" << true << 45;
    // Bound to the grid before the missing sixth column fails the open.
    QTest::newRow("five columns") << "fragen_jet4_fivecols.mdb" << true << 15;
    QTest::newRow("empty table") << "fragen_jet4_empty.mdb" << false << 0;
    QTest::newRow("no table fragen") << "jet4_no_fragen.mdb" << false << 0;
}

void TestForm3Jet::anzeigen()
{
    QFETCH(QString, datei);
    QFETCH(bool, geladen);
    QFETCH(int, gridZeilen);
    TestUmgebung env;
    const QString pfad = sammlung(env, datei);
    Form3 *f = Fenster::zeige<Form3>();
    QCOMPARE(f->datenbankGeladen(), geladen);
    QCOMPARE(zeilenImGrid(f), gridZeilen);
    QCOMPARE(Verbindung->kind(), Connection::Kind::Jet);
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
    const QVector<JetExport::Zeile> erwartet = JetExport::fragenJet4();
    if (geladen) {
        QCOMPARE(feld(f, "txt_pfad")->text(), pfad);
        QCOMPARE(label(f, "lblstat")->text(), QStringLiteral("Es befinden sich %1 Fragen in der Datenbank").arg(gridZeilen));
        QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 1 von %1").arg(gridZeilen));
        QCOMPARE(felderText(f), felderAus(erwartet.first()));
        QTableView *g = grid(f);
        const int spalten = gridZeilen == 15 ? 5 : 6; // the five-column table has nothing to hide
        QCOMPARE(g->model()->columnCount(), spalten);
        const QStringList titel = {"Frage", "Lösung", "Antwort 1", "Antwort 2", "Stufe"};
        for (int i = 0; i < titel.size(); ++i) {
            QCOMPARE(g->model()->headerData(i, Qt::Horizontal).toString(), titel[i]);
            QVERIFY(!g->isColumnHidden(i));
        }
        QVERIFY(spalten == 5 || g->isColumnHidden(5));
        QCOMPARE(g->selectionModel()->currentIndex().row(), 0);
    } else {
        QCOMPARE(feld(f, "txt_pfad")->text(), QString());
        QCOMPARE(label(f, "lblstat")->text(), kKeineDatenbank);
        QCOMPARE(label(f, "lblNavi")->text(), QString());
    }
    if (gridZeilen == 15) {
        // The five-column table: the rows are the first question of each level.
        for (int i = 0; i < 15; ++i)
            QCOMPARE(grid(f)->model()->index(i, 0).data().toString(), erwartet[3 * i][0].toString());
    }
    // Nothing offers a change of a collection that is not loaded, and nothing is written.
    if (!geladen) {
        klick(knopf(f, "cmdNeu"));
        fuelleFelder(f, {"F", "L", "A", "B", "3"});
        klick(knopf(f, "cmdUebernehmen"));
        klick(knopf(f, "cmdLoeschen"));
        for (const Meldung &m : env.meldungen.gezeigt)
            QVERIFY(!m.text.contains(QStringLiteral("Access-Datei")));
    }
    f->close();
    QCOMPARE(bytes(pfad), bytes(fixture(datei)));
    QCOMPARE(sicherungen(env), QStringList());
}

void TestForm3Jet::alleFragen_data()
{
    QTest::addColumn<QString>("datei");
    QTest::newRow("main fixture") << "fragen_jet4.mdb";
    QTest::newRow("without Unicode compression") << "fragen_jet4_uncompressed.mdb";
    QTest::newRow("Access 2002/2003") << "fragen_jet4_v2003.mdb";
}

void TestForm3Jet::alleFragen()
{
    QFETCH(QString, datei);
    TestUmgebung env;
    sammlung(env, datei);
    const QVector<JetExport::Zeile> erwartet = JetExport::fragenJet4();
    QCOMPARE(erwartet.size(), 45);
    Form3 *f = Fenster::zeige<Form3>();
    QAbstractItemModel *m = grid(f)->model();
    for (int i = 0; i < erwartet.size(); ++i) {
        if (i > 0)
            klick(navi(f, 2));
        QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage %1 von 45").arg(i + 1));
        for (int c = 0; c < 5; ++c)
            QCOMPARE(m->index(i, c).data().toString(), JetExport::text(erwartet[i][c]));
        QCOMPARE(felderText(f), felderAus(erwartet[i]));
        QCOMPARE(m->index(i, 5).data().toLongLong(), erwartet[i][5].toLongLong());
    }
    // The one null: Antwort2 of ID 12 shows empty, not "Hamburg" from ID 11.
    QVERIFY(erwartet[11][3].isNull());
    klick(navi(f, 0));
    grid(f)->selectRow(10);
    grid(f)->selectRow(11);
    QCOMPARE(f->recordset()->absolutePosition(), 12);
    QCOMPARE(feld(f, "txtAntwort2")->text(), QString());
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
}

void TestForm3Jet::nurLesen()
{
    TestUmgebung env;
    const QString pfad = sammlung(env, QStringLiteral("fragen_jet4.mdb"));
    Form3 *f = Fenster::zeige<Form3>();
    for (int i = 0; i < 4; ++i)
        klick(navi(f, i));
    QTableView *g = grid(f);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, g->visualRect(g->model()->index(3, 1)).center());
    QCOMPARE(f->recordset()->absolutePosition(), 4);
    tippe(feld(f, "txtFrage"), QStringLiteral("nur getippt"));
    klick(knopf(f, "cmdRefresh"));
    QCOMPARE(env.meldungen.gezeigt.size(), 0);
    f->close();
    // A second editor reads the collection as it was.
    Form3 *zweiter = Fenster::zeige<Form3>();
    QCOMPARE(feld(zweiter, "txtFrage")->text(), JetExport::fragenJet4().first()[0].toString());
    zweiter->close();
    QCOMPARE(bytes(pfad), bytes(fixture(QStringLiteral("fragen_jet4.mdb"))));
    QCOMPARE(sicherungen(env), QStringList());
}

void TestForm3Jet::umwandelnNein_data()
{
    QTest::addColumn<QString>("aktion");
    QTest::addColumn<bool>("vorgabe"); // answered with the box's default button (Enter) instead of No
    for (const char *aktion : {"cmdNeu", "cmdUebernehmen", "cmdLoeschen"}) {
        QTest::newRow(qPrintable(QLatin1String(aktion) + QStringLiteral(", No"))) << aktion << false;
        QTest::newRow(qPrintable(QLatin1String(aktion) + QStringLiteral(", default"))) << aktion << true;
    }
}

void TestForm3Jet::umwandelnNein()
{
    QFETCH(QString, aktion);
    QFETCH(bool, vorgabe);
    TestUmgebung env;
    const QString pfad = sammlung(env, QStringLiteral("fragen_jet4.mdb"));
    const QVector<JetExport::Zeile> erwartet = JetExport::fragenJet4();
    Form3 *f = Fenster::zeige<Form3>();
    zurFrage(f, 5);
    QStringList felder = felderAus(erwartet[4]);
    if (aktion == QLatin1String("cmdUebernehmen")) {
        tippe(feld(f, "txtFrage"), QStringLiteral("Welches Tier macht „Mäh“?"));
        felder[0] = QStringLiteral("Welches Tier macht „Mäh“?");
    }
    QCOMPARE(felderText(f), felder);
    Recordset *rec = f->recordset();
    for (int runde = 1; runde <= 2; ++runde) {
        if (!vorgabe)
            env.meldungen.antworten << QMessageBox::No;
        klick(knopf(f, qPrintable(aktion)));
        // Asked each time, and only this: no delete question follows a declined conversion.
        QCOMPARE(env.meldungen.gezeigt.size(), runde);
        const Meldung m = env.meldungen.gezeigt.last();
        QCOMPARE(m.titel, QStringLiteral("Kreidolin"));
        QCOMPARE(m.text, umwandlungsFrage(QStringLiteral("Fragen.mdb.jet.bak")));
        QCOMPARE(m.knoepfe, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(m.vorgabe, QMessageBox::No);
        QCOMPARE(m.symbol, QMessageBox::Question);

        QCOMPARE(bytes(pfad), bytes(fixture(QStringLiteral("fragen_jet4.mdb"))));
        QCOMPARE(sicherungen(env), QStringList());
        QCOMPARE(f->recordset(), rec);
        QCOMPARE(artDerSammlung(f), Connection::Kind::Jet);
        QVERIFY(!rec->isNewRecord());
        QVERIFY(!rec->hasPendingChanges());
        QCOMPARE(rec->recordCount(), 45);
        QCOMPARE(rec->absolutePosition(), 5);
        QCOMPARE(zeilenImGrid(f), 45);
        QCOMPARE(felderText(f), felder);
        QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 5 von 45"));
    }
}

void TestForm3Jet::umwandelnJa_data()
{
    QTest::addColumn<QString>("aktion");
    QTest::newRow("new question") << "cmdNeu";
    QTest::newRow("take over a change") << "cmdUebernehmen";
    QTest::newRow("delete a question") << "cmdLoeschen";
}

void TestForm3Jet::umwandelnJa()
{
    QFETCH(QString, aktion);
    TestUmgebung env;
    const QString pfad = sammlung(env, QStringLiteral("fragen_jet4.mdb"));
    const QByteArray original = bytes(pfad);
    QVector<JetExport::Zeile> soll = alsText(JetExport::fragenJet4());
    Form3 *f = Fenster::zeige<Form3>();
    zurFrage(f, 5);
    const QString geaendert = QStringLiteral("Welches Tier macht „Mäh“? (5 € Einsatz, ß)");
    if (aktion == QLatin1String("cmdUebernehmen"))
        tippe(feld(f, "txtFrage"), geaendert);
    const QStringList felderVorher = felderText(f);
    env.meldungen.antworten << QMessageBox::Yes << QMessageBox::Yes;
    klick(knopf(f, qPrintable(aktion)));

    // The original, byte for byte, beside the converted collection.
    const QString sicherung = pfad + QStringLiteral(".jet.bak");
    QCOMPARE(sicherungen(env), QStringList{QStringLiteral("Fragen.mdb.jet.bak")});
    QCOMPARE(bytes(sicherung), original);
    QCOMPARE(Connection::kindOf(pfad), Connection::Kind::Sqlite);
    QCOMPARE(artDerSammlung(f), Connection::Kind::Sqlite);
    QCOMPARE(Verbindung->kind(), Connection::Kind::Sqlite);
    QCOMPARE(Verbindung->path(), pfad);
    QVERIFY(f->datenbankGeladen());
    QCOMPARE(feld(f, "txt_pfad")->text(), pfad);
    QCOMPARE(env.meldungen.gezeigt.first().text, umwandlungsFrage(QStringLiteral("Fragen.mdb.jet.bak")));

    Recordset *rec = f->recordset();
    int spalten = 0;
    if (aktion == QLatin1String("cmdNeu")) {
        QCOMPARE(env.meldungen.gezeigt.size(), 1);
        QVERIFY(rec->isNewRecord());
        QCOMPARE(felderText(f), QStringList(5, QString()));
        QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 46 von 46"));
        QCOMPARE(tabelleInDatei(pfad, &spalten), soll); // every row and field, the null and the IDs included
        QCOMPARE(spalten, 6);
        const QStringList neu = {"Was kostet ein Brötchen?", "0,45 €", "4,50 €", "„gratis“", "3"};
        fuelleFelder(f, neu);
        klick(knopf(f, "cmdUebernehmen"));
        soll.append({neu[0], neu[1], neu[2], neu[3], neu[4], QStringLiteral("46")});
    } else if (aktion == QLatin1String("cmdUebernehmen")) {
        QCOMPARE(env.meldungen.gezeigt.size(), 1);
        soll[4][0] = geaendert;
        QCOMPARE(rec->absolutePosition(), 5);
        QCOMPARE(felderText(f), felderVorher);
        QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 5 von 45"));
    } else {
        QCOMPARE(env.meldungen.titel(), (QStringList{"Kreidolin", "Achtung!"}));
        soll.remove(4);
        QCOMPARE(rec->absolutePosition(), 5);
        QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 5 von 44"));
        QCOMPARE(label(f, "lblstat")->text(), QStringLiteral("Es befinden sich 44 Fragen in der Datenbank"));
    }
    QCOMPARE(env.meldungen.gezeigt.size(), aktion == QLatin1String("cmdLoeschen") ? 2 : 1);
    QCOMPARE(tabelleInDatei(pfad, &spalten), soll);
    QCOMPARE(spalten, 6);
    QCOMPARE(zeilenImGrid(f), soll.size());

    // A second editor opens the collection in the program's own format and changes it without asking.
    f->close();
    schliesseAlleFenster();
    Verbindung.reset();
    Form3 *zweiter = Fenster::zeige<Form3>();
    QCOMPARE(artDerSammlung(zweiter), Connection::Kind::Sqlite);
    QCOMPARE(label(zweiter, "lblstat")->text(),
             QStringLiteral("Es befinden sich %1 Fragen in der Datenbank").arg(soll.size()));
    const int gezeigt = env.meldungen.gezeigt.size();
    tippe(feld(zweiter, "txtLoesung"), QStringLiteral("Vier"));
    klick(knopf(zweiter, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), gezeigt);
    soll[0][1] = QStringLiteral("Vier");
    QCOMPARE(tabelleInDatei(pfad), soll);
    QCOMPARE(bytes(sicherung), original);
    QCOMPARE(sicherungen(env).size(), 1);
}

void TestForm3Jet::vorhandeneSicherung_data()
{
    QTest::addColumn<QStringList>("vorhanden");
    QTest::addColumn<QString>("frei");
    QTest::newRow(".jet.bak taken") << QStringList{"Fragen.mdb.jet.bak"} << "Fragen.mdb.jet.1.bak";
    QTest::newRow(".jet.bak and .jet.1.bak taken")
        << QStringList{"Fragen.mdb.jet.bak", "Fragen.mdb.jet.1.bak"} << "Fragen.mdb.jet.2.bak";
}

void TestForm3Jet::vorhandeneSicherung()
{
    QFETCH(QStringList, vorhanden);
    QFETCH(QString, frei);
    TestUmgebung env;
    const QString pfad = sammlung(env, QStringLiteral("fragen_jet4.mdb"));
    const QByteArray original = bytes(pfad);
    for (const QString &name : vorhanden)
        env.schreibeDatei(name, "eine ältere Sicherung: " + name.toUtf8());
    Form3 *f = Fenster::zeige<Form3>();
    env.meldungen.antworten << QMessageBox::Yes;
    tippe(feld(f, "txtAntwort1"), QStringLiteral("Fünf"));
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.texte(), QStringList{umwandlungsFrage(frei)});
    for (const QString &name : vorhanden)
        QCOMPARE(env.liesDatei(name), "eine ältere Sicherung: " + name.toUtf8());
    QCOMPARE(env.liesDatei(frei), original);
    QCOMPARE(sicherungen(env).size(), vorhanden.size() + 1);
    QCOMPARE(tabelleInDatei(pfad).first()[2].toString(), QStringLiteral("Fünf"));
}

void TestForm3Jet::schreibgeschuetzt()
{
    TestUmgebung env;
    const QString pfad = sammlung(env, QStringLiteral("fragen_jet4.mdb"));
    const QByteArray original = bytes(pfad);
    SchreibschutzOrdner schutz(env.verzeichnis());
    if (!schutz.aktiv())
        QSKIP("the folder cannot be made read-only here");
    SchliesseVorher schliesseVorher;
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(f->datenbankGeladen());
    zurFrage(f, 3);
    tippe(feld(f, "txtFrage"), QStringLiteral("Was ist 2 + 4?"));
    const QStringList felder = felderText(f);
    env.meldungen.antworten << QMessageBox::Yes;
    klick(knopf(f, "cmdUebernehmen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 2);
    QCOMPARE(env.meldungen.titel(), (QStringList{"Kreidolin", "Kreidolin"}));
    QVERIFY2(env.meldungen.texte().last().startsWith(kNichtUmgewandelt), qPrintable(env.meldungen.texte().last()));
    QCOMPARE(env.meldungen.gezeigt.last().knoepfe, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(bytes(pfad), original);
    QCOMPARE(sicherungen(env), QStringList());
    QCOMPARE(felderText(f), felder);
    QCOMPARE(artDerSammlung(f), Connection::Kind::Jet);
    QCOMPARE(f->recordset()->absolutePosition(), 3);

    // The editor goes on: moving shows the questions as they were; a new question is declined the same way.
    klick(navi(f, 3));
    QCOMPARE(label(f, "lblNavi")->text(), QStringLiteral("Frage 45 von 45"));
    env.meldungen.antworten << QMessageBox::Yes;
    klick(knopf(f, "cmdNeu"));
    QCOMPARE(env.meldungen.gezeigt.size(), 4);
    QVERIFY(!f->recordset()->isNewRecord());
    QCOMPARE(bytes(pfad), original);
}

void TestForm3Jet::umwandlungScheitert_data()
{
    QTest::addColumn<QString>("fall");
    QTest::newRow("file removed") << "weg";
    QTest::newRow("file cut short") << "kurz";
}

void TestForm3Jet::umwandlungScheitert()
{
    QFETCH(QString, fall);
    TestUmgebung env;
    const QString pfad = sammlung(env, QStringLiteral("fragen_jet4.mdb"));
    Form3 *f = Fenster::zeige<Form3>();
    QVERIFY(f->datenbankGeladen());
    const QByteArray kurz = bytes(pfad).left(4096);
    if (fall == QLatin1String("weg"))
        QVERIFY(QFile::remove(pfad));
    else
        env.schreibeDatei(QStringLiteral("Fragen.mdb"), kurz);
    zurFrage(f, 2);
    env.meldungen.antworten << QMessageBox::Yes << QMessageBox::Yes;
    klick(knopf(f, "cmdLoeschen"));
    QCOMPARE(env.meldungen.gezeigt.size(), 2); // no delete question after the failed conversion
    QVERIFY2(env.meldungen.texte().last().startsWith(kNichtUmgewandelt), qPrintable(env.meldungen.texte().last()));
    QVERIFY(env.meldungen.texte().last().contains(pfad));
    if (fall == QLatin1String("weg"))
        QVERIFY(!QFile::exists(pfad));
    else
        QCOMPARE(bytes(pfad), kurz);
    QCOMPARE(sicherungen(env), QStringList());
    QCOMPARE(f->recordset()->recordCount(), 45);
    QCOMPARE(f->recordset()->absolutePosition(), 2);
    QCOMPARE(felderText(f), felderAus(JetExport::fragenJet4()[1]));
}

void TestForm3Jet::pfadFeldGetippt()
{
    TestUmgebung env;
    const QString pfad = sammlung(env, QStringLiteral("fragen_jet4.mdb"));
    const QString andere = env.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4_v2003.mdb"),
                                                QStringLiteral("andere.mdb"));
    const QByteArray andereVorher = bytes(andere);
    Form3 *f = Fenster::zeige<Form3>();
    tippe(feld(f, "txt_pfad"), andere);
    env.meldungen.antworten << QMessageBox::Yes;
    klick(knopf(f, "cmdNeu"));
    QCOMPARE(env.meldungen.texte(), QStringList{umwandlungsFrage(QStringLiteral("Fragen.mdb.jet.bak"))});
    QCOMPARE(Connection::kindOf(pfad), Connection::Kind::Sqlite);
    QCOMPARE(bytes(andere), andereVorher);
    QVERIFY(f->recordset()->isNewRecord());
}

QTEST_MAIN(TestForm3Jet)
#include "tst_form3_jet.moc"
