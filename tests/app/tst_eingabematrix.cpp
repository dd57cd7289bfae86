// Bad input in every file the program reads, through the real windows: each
// case ends in the program's fallback or a clear message, never in a crash, a
// hang or a silent exit, and no file is changed where the program must not
// write.

#include "basis/appinfo.h"
#include "start/fenster.h"
#include "basis/modvariablen.h"
#include "ui/form2.h"
#include "highscore/highscore.h"
#include "store/jetleser.h"
#include "store/recordset.h"
#include "store/settingsfile.h"
#include "testservices.h"
#include "ui/form1.h"
#include "ui/form3.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <sqlite3.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>

namespace {
const QString kLadefehler = QStringLiteral("Die Datei Fragen.mdb exisitiert nicht im Anwendungsverzeichnis!");
const QString kNichtGeladen = QStringLiteral("Keine Datenbank geladen!");
const QString kKeine = QStringLiteral("Keine Einträge vorhanden...");
const QString kEinstellungHinweis = QStringLiteral("Die Einstellung konnte nicht gespeichert werden.");
const QString kListeFehlt = QStringLiteral("Die Highscoreliste kann nicht angezeigt werden.");
const QString kListeBleibt = QStringLiteral("Die Highscoreliste konnte nicht gelöscht werden.");
const QString kEintragFehlt = QStringLiteral("Der Eintrag für die Highscore konnte nicht gespeichert werden.");
const QString kLegacy = QStringLiteral(KREIDOLIN_TEST_DATA "/legacy/");

void aufraeumen()
{
    // Closing the game or the editor brings a main window back.
    for (int runde = 0; runde < 3; ++runde)
        schliesseAlleFenster();
    Verbindung.reset();
}

// Bytes without a pattern, the same every run; the bytes in "ohne" never occur.
QByteArray zufallsBytes(int anzahl, quint32 saat, const QByteArray &ohne = QByteArray())
{
    QByteArray out;
    out.reserve(anzahl);
    quint32 x = saat | 1u;
    while (out.size() < anzahl) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const char c = static_cast<char>(x >> 24);
        if (!ohne.contains(c))
            out.append(c);
    }
    return out;
}

QByteArray liesBytes(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What stands at a path: kind and content, to compare before and after.
QByteArray zustand(const QString &pfad)
{
    struct stat st;
    const QByteArray name = QFile::encodeName(pfad);
    if (::lstat(name.constData(), &st) != 0)
        return "fehlt";
    if (S_ISDIR(st.st_mode)) {
        QByteArray out = "ordner";
        for (const QString &e : QDir(pfad).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            out += ' ' + e.toUtf8() + '=' + QCryptographicHash::hash(liesBytes(pfad + '/' + e), QCryptographicHash::Sha1).toHex();
        return out;
    }
    if (S_ISFIFO(st.st_mode))
        return "fifo";
    if (S_ISLNK(st.st_mode))
        return "link " + QFile::symLinkTarget(pfad).toUtf8();
    if (S_ISREG(st.st_mode))
        return "datei " + QCryptographicHash::hash(liesBytes(pfad), QCryptographicHash::Sha256).toHex();
    return "anderes";
}

QByteArray dateiZustand(const QByteArray &inhalt)
{
    return "datei " + QCryptographicHash::hash(inhalt, QCryptographicHash::Sha256).toHex();
}

void legeOrdnerAn(const QString &pfad)
{
    if (!QDir().mkdir(pfad))
        qFatal("cannot make the folder %s", qPrintable(pfad));
    QFile f(pfad + QStringLiteral("/inhalt.txt"));
    if (!f.open(QIODevice::WriteOnly) || f.write("bleibt\r\n") != 8)
        qFatal("cannot fill the folder");
}

void legeFifoAn(const QString &pfad)
{
    if (::mkfifo(QFile::encodeName(pfad).constData(), 0600) != 0)
        qFatal("cannot make the FIFO %s", qPrintable(pfad));
}

// Runs SQL on a new SQLite file (an existing one is replaced).
void sqlDatei(const QString &pfad, const QStringList &befehle)
{
    QFile::remove(pfad);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK)
        qFatal("cannot create %s", qPrintable(pfad));
    for (const QString &befehl : befehle) {
        char *fehler = nullptr;
        if (sqlite3_exec(db, befehl.toUtf8().constData(), nullptr, nullptr, &fehler) != SQLITE_OK)
            qFatal("%s: %s", qPrintable(befehl), fehler);
    }
    sqlite3_close(db);
}

const QString kTabelle = QStringLiteral("CREATE TABLE fragen (Frage TEXT, Loesung TEXT, Antwort1 TEXT, Antwort2 TEXT, "
                                        "Stufe INTEGER, ID INTEGER PRIMARY KEY AUTOINCREMENT)");

// n rows numbered i = 0..n-1; the expressions may use i.
QString zeilen(int n, const QString &werte, const QString &tabelle = QStringLiteral("fragen"))
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                          "INSERT INTO %2 SELECT %3 FROM n")
        .arg(n - 1)
        .arg(tabelle, werte);
}

// One question per level with texts that name the level, in the standard table.
const QString kJeStufe = QStringLiteral("'Frage ' || (i % 15 + 1), 'Lösung ' || (i % 15 + 1), 'Falsch1', 'Falsch2', "
                                        "i % 15 + 1, NULL");

void standardSammlung(const QString &pfad, int proStufe = 1)
{
    sqlDatei(pfad, {kTabelle, zeilen(15 * proStufe, kJeStufe)});
}

QString fragenPfad() { return AppInfo::standardDatenbank(); }

void kopiereLegacy(const QString &name, int laenge = -1, const std::function<void(QByteArray &)> &aendere = {})
{
    QByteArray d = liesBytes(kLegacy + name);
    if (d.isEmpty())
        qFatal("missing test file %s", qPrintable(name));
    if (laenge >= 0)
        d.truncate(laenge);
    if (aendere)
        aendere(d);
    QFile::remove(fragenPfad());
    QFile f(fragenPfad());
    if (!f.open(QIODevice::WriteOnly) || f.write(d) != d.size())
        qFatal("cannot write the collection");
}

QByteArray standardZeile() { return SettingsFile::kodiere(AppInfo::standardDatenbank()) + "\r\n"; }

QStringList listenEintraege(const QListWidget *liste)
{
    QStringList out;
    for (int i = 0; i < liste->count(); ++i)
        out << liste->item(i)->text();
    return out;
}

QByteArray eintragsZeilen(int anzahl)
{
    QByteArray bytes;
    for (int i = 0; i < anzahl; ++i)
        bytes += Highscore::kodiereZeile(QStringLiteral("S%1").arg(i), i % 16);
    return bytes;
}

QByteArray zehnMegabyteEintraege()
{
    QByteArray bytes;
    const QByteArray zeile = Highscore::kodiereZeile(QStringLiteral("Schülerin mit langem Namen"), 7);
    bytes.reserve(10 << 20);
    while (bytes.size() + zeile.size() <= (10 << 20))
        bytes += zeile;
    return bytes;
}

// Every cell of table fragen (column, type, bytes), row by row; empty when
// the table cannot be read to its end.
QStringList zellen(const QString &pfad)
{
    QStringList out;
    sqlite3 *db = nullptr;
    sqlite3_stmt *st = nullptr;
    int rc = zustand(pfad).startsWith("datei") // a FIFO would block
        ? sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, SQLITE_OPEN_READONLY, nullptr) : SQLITE_ERROR;
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, "SELECT * FROM fragen", -1, &st, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(st); ++i, rc = SQLITE_OK)
            out << QString::fromUtf8(sqlite3_column_name(st, i)).toLower() + '=' + QString::number(sqlite3_column_type(st, i))
                    + ':' + QByteArray(static_cast<const char *>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i)).toHex();
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rc == SQLITE_DONE ? out : QStringList();
}

// Holds the other writer's connection with its lock until the end of a case.
struct FremdeSperre {
    sqlite3 *db = nullptr;
    FremdeSperre(const QString &pfad, const char *beginn)
    {
        if (sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            qFatal("cannot open %s", qPrintable(pfad));
        for (const char *befehl : {beginn, "UPDATE fragen SET Frage = Frage WHERE rowid = 1"}) {
            char *fehler = nullptr;
            if (sqlite3_exec(db, befehl, nullptr, nullptr, &fehler) != SQLITE_OK)
                qFatal("%s: %s", befehl, fehler);
        }
    }
    ~FremdeSperre()
    {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

enum class Spiel { Spielt, SpieltMitHinweis, Ladefehler, Egal };
enum class Inhalt { Gleich, Standard, Leer };
}

Q_DECLARE_METATYPE(Spiel)
Q_DECLARE_METATYPE(Inhalt)

// Root may read any file. For as long as the object lives, this thread
// reaches files as the unprivileged user "nobody" instead, whose rights a
// file's mode does limit; the folder is opened to everyone for it.
class FremderNutzer {
public:
    explicit FremderNutzer(const QString &ordner)
    {
        if (::geteuid() != 0) {
            m_aktiv = true; // an ordinary user is bound by the mode already
            return;
        }
        ::chmod(QFile::encodeName(ordner).constData(), 0777);
        ::setfsgid(kNobody);
        ::setfsuid(kNobody);
        m_gewechselt = true;
        m_aktiv = ::setfsuid(kNobody) == static_cast<int>(kNobody);
    }
    ~FremderNutzer()
    {
        if (m_gewechselt) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    bool aktiv() const { return m_aktiv; }

private:
    static constexpr uid_t kNobody = 65534;
    bool m_aktiv = false;
    bool m_gewechselt = false;
};

// Each case prepares the application folder; what may hold on to something
// until the case ends (a read-only mount, another writer's lock, another
// user's rights) goes here.
struct Halter {
    std::unique_ptr<FremderNutzer> nutzer;
    std::unique_ptr<SchreibschutzOrdner> schutz;
    std::unique_ptr<FremdeSperre> sperre;
    bool uebersprungen = false;
    QString grund;
};

using Vorbereitung = std::function<void(TestUmgebung &, Halter &)>;

class TestEingabematrix : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    // The settings file at a game start: fallback to the default (rewritten), or the loader's one message.
    void einstellungenSpiel_data();
    void einstellungenSpiel();
    // The settings file when the editor opens: the default (rewritten), or the not-loaded state; no box.
    void einstellungenEditor_data();
    void einstellungenEditor();
    // The highscore file as the main window lists it: entries, the reset rule, or one clear message.
    void highscoreListe_data();
    void highscoreListe();
    // The highscore file when a game ends: one whole line appended, or a message saying it was not saved.
    void highscoreEintrag_data();
    void highscoreEintrag();
    // The question database at a game start: the game runs, or the one load message and the editor.
    void datenbankSpiel_data();
    void datenbankSpiel();
    // The question database in the editor: loaded or not loaded, every button harmless, only an edit is stored.
    void datenbankEditor_data();
    void datenbankEditor();
    // Stores the database refuses (read-only, locked, view, Access file): message, file unchanged.
    void editorSpeichertNicht_data();
    void editorSpeichertNicht();
    // Settings and highscore files reached through a symbolic link are written through it; the link stays.
    void verknuepfungenBleiben();

private:
    bool vorbereiten(const Vorbereitung &v);
    int m_faelle = 0;
    std::unique_ptr<TestUmgebung> m_u;
    Halter m_halter;
};

Q_DECLARE_METATYPE(Vorbereitung)

void TestEingabematrix::initTestCase()
{
    // A damaged Access file may stall its reader; the cases need not wait long.
    JetLeser::setZeitlimit(5000);
}

void TestEingabematrix::init()
{
    m_u = std::make_unique<TestUmgebung>();
    JetLeser::setZeitlimit(5000);
    standardSammlung(fragenPfad());
}

void TestEingabematrix::cleanup()
{
    aufraeumen();
    m_halter.nutzer.reset();
    m_halter.sperre.reset();
    m_halter.schutz.reset();
    m_halter = Halter();
    m_u.reset();
}

void TestEingabematrix::cleanupTestCase()
{
    qInfo("bad-input cases tried: %d", m_faelle);
}

bool TestEingabematrix::vorbereiten(const Vorbereitung &v)
{
    v(*m_u, m_halter);
    ++m_faelle;
    return !m_halter.uebersprungen;
}

// ---------------------------------------------------------------- settings

namespace {
void ini(TestUmgebung &u, const QByteArray &bytes) { u.schreibeDatei(QStringLiteral("Kreidolin.ini"), bytes); }

struct EinstellungsFall {
    const char *name;
    Vorbereitung bereite;
    Spiel spiel;
    Inhalt nachSpiel;
    bool editorGeladen;
    Inhalt editorPfad; // Standard: the default path; Gleich: the first line; Leer
    Inhalt nachEditor;
};

QString ordnerPfad(TestUmgebung &u) { return u.verzeichnis(); }

QVector<EinstellungsFall> einstellungsFaelle()
{
    const auto mitBytes = [](QByteArray b) { return [b](TestUmgebung &u, Halter &) { ini(u, b); }; };
    const auto mitPfad = [](std::function<QByteArray(TestUmgebung &)> f) {
        return [f](TestUmgebung &u, Halter &) { ini(u, f(u)); };
    };
    const auto standard = [](TestUmgebung &) { return SettingsFile::kodiere(AppInfo::standardDatenbank()); };
    // A collection whose file name is given as Windows-1252 bytes in the settings file.
    const auto sammlungMitName = [](QByteArray name1252, QByteArray vorspann = QByteArray()) {
        return [name1252, vorspann](TestUmgebung &u, Halter &) {
            const QByteArray zeile = vorspann + QFile::encodeName(u.verzeichnis()) + '/' + name1252;
            const QString pfad = SettingsFile::ersteZeile(zeile).value_or(QString());
            standardSammlung(pfad);
            ini(u, zeile + "\r\n");
        };
    };
    const Spiel S = Spiel::Spielt, H = Spiel::SpieltMitHinweis, F = Spiel::Ladefehler;
    const Inhalt G = Inhalt::Gleich, D = Inhalt::Standard, L = Inhalt::Leer;
    return {
        {"missing", [](TestUmgebung &, Halter &) {}, S, D, true, D, D},
        {"zero bytes", mitBytes(""), S, D, true, D, D},
        {"only CR LF", mitBytes("\r\n"), S, D, false, L, G},
        {"LF only", mitBytes("\n"), S, D, false, L, G},
        {"CR only", mitBytes("\r"), S, D, false, L, G},
        {"blanks", mitBytes("   \r\n"), F, G, false, L, G},
        {"blanks without line end", mitBytes("   "), F, G, false, L, G},
        {"blanks before the default path", mitPfad([=](TestUmgebung &u) { return "  " + standard(u) + "\r\n"; }), F, G,
         false, L, G},
        {"default path without line end", mitPfad(standard), S, G, true, G, G},
        {"default path ended by LF", mitPfad([=](TestUmgebung &u) { return standard(u) + "\n"; }), S, G, true, G, G},
        {"empty first line, a path in the second",
         mitPfad([=](TestUmgebung &u) { return "\r\n" + standard(u) + "\r\n"; }), S, D, false, L, G},
        {"1 MB line", mitBytes(QByteArray(1 << 20, 'a') + "\r\n"), F, G, false, L, G},
        {"1 MB line without line end", mitBytes(QByteArray(1 << 20, 'a')), F, G, false, L, G},
        {"1 MB of line ends", mitBytes(QByteArray("\r\n").repeated(1 << 19)), S, D, false, L, G},
        {"binary bytes", mitBytes("\x01" + zufallsBytes(4096, 7)), F, G, false, L, G},
        {"NUL bytes", mitBytes(QByteArray("\0\0\0\r\n", 5)), F, G, false, L, G},
        {"default path cut by a NUL byte",
         mitPfad([=](TestUmgebung &u) { return standard(u) + QByteArray("\0.alt\r\n", 7); }), F, G, false, L, G},
        {"bytes invalid in Windows-1252", mitBytes("\x81\x8d\x8f\x90\x9d\r\n"), F, G, false, L, G},
        {"Windows-1252 gaps naming an existing collection", sammlungMitName("Fr\x81\x9dgen.mdb"), S, G, true, G, G},
        {"Windows-1252 umlauts naming an existing collection", sammlungMitName("\xdc" "bung \x80.mdb"), S, G, true, G,
         G},
        {"UTF-8 behind a byte order mark naming an existing collection",
         sammlungMitName("\xce\xa9-Fragen.mdb", "\xef\xbb\xbf"), S, G, true, G, G},
        {"a directory in its place",
         [](TestUmgebung &u, Halter &) { legeOrdnerAn(u.datei(QStringLiteral("Kreidolin.ini"))); }, H, G, true, D, G},
        {"a FIFO in its place", [](TestUmgebung &u, Halter &) { legeFifoAn(u.datei(QStringLiteral("Kreidolin.ini"))); },
         S, D, true, D, D},
        {"a symbolic link to itself",
         [](TestUmgebung &u, Halter &) {
             QFile::link(u.datei(QStringLiteral("Kreidolin.ini")), u.datei(QStringLiteral("Kreidolin.ini")));
         },
         S, D, true, D, D},
        {"no read permission",
         [](TestUmgebung &u, Halter &h) {
             ini(u, SettingsFile::kodiere(u.datei(QStringLiteral("anders.mdb"))) + "\r\n");
             QFile::setPermissions(u.datei(QStringLiteral("Kreidolin.ini")),
                                   QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther);
             h.nutzer = std::make_unique<FremderNutzer>(u.verzeichnis());
             if (!h.nutzer->aktiv()) {
                 h.uebersprungen = true;
                 h.grund = QStringLiteral("cannot take away the right to read here");
             }
         },
         S, D, true, D, D},
        {"naming the application folder", mitPfad([](TestUmgebung &u) { return QFile::encodeName(ordnerPfad(u)) + "\r\n"; }),
         F, G, false, L, G},
        {"naming a FIFO",
         [](TestUmgebung &u, Halter &) {
             legeFifoAn(u.datei(QStringLiteral("rohr.mdb")));
             ini(u, QFile::encodeName(u.datei(QStringLiteral("rohr.mdb"))) + "\r\n");
         },
         F, G, false, L, G},
        {"naming /dev/zero", mitBytes("/dev/zero\r\n"), F, G, false, L, G},
        {"naming a path longer than the system allows",
         mitPfad([](TestUmgebung &u) { return QFile::encodeName(u.verzeichnis()) + '/' + QByteArray(5000, 'x') + "\r\n"; }),
         F, G, false, L, G},
    };
}

QByteArray erwarteteIni(Inhalt inhalt, const QByteArray &vorher)
{
    switch (inhalt) {
    case Inhalt::Standard:
        return dateiZustand(standardZeile());
    case Inhalt::Leer:
        return dateiZustand(QByteArray());
    case Inhalt::Gleich:
        break;
    }
    return vorher;
}
}

void TestEingabematrix::einstellungenSpiel_data()
{
    QTest::addColumn<Vorbereitung>("bereite");
    QTest::addColumn<Spiel>("spiel");
    QTest::addColumn<Inhalt>("nachher");
    for (const EinstellungsFall &f : einstellungsFaelle())
        QTest::newRow(f.name) << f.bereite << f.spiel << f.nachSpiel;
}

void TestEingabematrix::einstellungenSpiel()
{
    QFETCH(Vorbereitung, bereite);
    QFETCH(Spiel, spiel);
    QFETCH(Inhalt, nachher);
    if (!vorbereiten(bereite))
        QSKIP(qPrintable(m_halter.grund));
    const QString iniPfad = AppInfo::einstellungsdatei();
    const QByteArray vorher = zustand(iniPfad);
    const QByteArray fragenVorher = zustand(fragenPfad());

    Form1 *haupt = Fenster::zeige<Form1>();
    haupt->txt_name->setText(QStringLiteral("Anna"));
    QTest::mouseClick(haupt->cmd_start, Qt::LeftButton);

    Form2 *form2 = Fenster::offen<Form2>();
    const QStringList texte = m_u->meldungen.texte();
    switch (spiel) {
    case Spiel::Spielt:
        QVERIFY2(texte.isEmpty(), qPrintable(texte.join(QLatin1Char('|'))));
        QVERIFY(form2 && form2->isVisible());
        QCOMPARE(form2->stufe(), 1);
        break;
    case Spiel::SpieltMitHinweis:
        QCOMPARE(texte.size(), 1);
        QVERIFY2(texte[0].startsWith(kEinstellungHinweis), qPrintable(texte[0]));
        QVERIFY(form2 && form2->isVisible());
        break;
    case Spiel::Ladefehler:
        QCOMPARE(texte, QStringList{kLadefehler});
        QVERIFY(!form2);
        QVERIFY(Fenster::offen<Form3>() && Fenster::offen<Form3>()->isVisible());
        break;
    case Spiel::Egal:
        break;
    }
    m_halter.nutzer.reset();
    QCOMPARE(zustand(iniPfad), erwarteteIni(nachher, vorher));
    QCOMPARE(zustand(fragenPfad()), fragenVorher);
}

void TestEingabematrix::einstellungenEditor_data()
{
    QTest::addColumn<Vorbereitung>("bereite");
    QTest::addColumn<bool>("geladen");
    QTest::addColumn<Inhalt>("pfadfeld");
    QTest::addColumn<Inhalt>("nachher");
    for (const EinstellungsFall &f : einstellungsFaelle())
        QTest::newRow(f.name) << f.bereite << f.editorGeladen << f.editorPfad << f.nachEditor;
}

void TestEingabematrix::einstellungenEditor()
{
    QFETCH(Vorbereitung, bereite);
    QFETCH(bool, geladen);
    QFETCH(Inhalt, pfadfeld);
    QFETCH(Inhalt, nachher);
    if (!vorbereiten(bereite))
        QSKIP(qPrintable(m_halter.grund));
    const QString iniPfad = AppInfo::einstellungsdatei();
    const QByteArray vorher = zustand(iniPfad);
    const QByteArray fragenVorher = zustand(fragenPfad());
    const std::optional<QString> ersteZeile = SettingsFile::lies(iniPfad);

    Form3 *editor = Fenster::zeige<Form3>();
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->datenbankGeladen(), geladen);
    const auto *lblstat = editor->findChild<QLabel *>(QStringLiteral("lblstat"));
    const auto *txtPfad = editor->findChild<QLineEdit *>(QStringLiteral("txt_pfad"));
    QCOMPARE(lblstat->text(), geladen ? QStringLiteral("Es befinden sich 15 Fragen in der Datenbank") : kNichtGeladen);
    switch (pfadfeld) {
    case Inhalt::Standard:
        QCOMPARE(txtPfad->text(), AppInfo::standardDatenbank());
        break;
    case Inhalt::Gleich:
        QVERIFY(ersteZeile.has_value());
        QCOMPARE(txtPfad->text(), *ersteZeile);
        break;
    case Inhalt::Leer:
        QCOMPARE(txtPfad->text(), QString());
        break;
    }
    // Only a settings file the fallback cannot write is told of.
    for (const QString &text : m_u->meldungen.texte())
        QVERIFY2(text.startsWith(QStringLiteral("Die Einstellung konnte nicht gespeichert")), qPrintable(text));
    m_halter.nutzer.reset();
    QCOMPARE(zustand(iniPfad), erwarteteIni(nachher, vorher));
    QCOMPARE(zustand(fragenPfad()), fragenVorher);
}

// --------------------------------------------------------------- highscore

namespace {
QString hs(TestUmgebung &u) { return u.datei(QStringLiteral("highscore.dtt")); }

struct ListenFall {
    const char *name;
    Vorbereitung bereite;
    QStringList liste;      // the items, or only the first few when anzahl is set
    int anzahl;             // -1: exactly liste
    QStringList meldungen;  // the beginnings of the boxes shown
    Inhalt nachher;
};

Vorbereitung highscoreMit(const QByteArray &bytes)
{
    return [bytes](TestUmgebung &u, Halter &) { u.schreibeDatei(QStringLiteral("highscore.dtt"), bytes); };
}

Vorbereitung schreibgeschuetzt(const QByteArray &bytes)
{
    return [bytes](TestUmgebung &u, Halter &h) {
        u.schreibeDatei(QStringLiteral("highscore.dtt"), bytes);
        h.schutz = std::make_unique<SchreibschutzOrdner>(hs(u));
        if (!h.schutz->aktiv()) {
            h.uebersprungen = true;
            h.grund = QStringLiteral("cannot make a file read-only here");
        }
    };
}

QVector<ListenFall> listenFaelle()
{
    const QStringList keine{kKeine};
    const Inhalt G = Inhalt::Gleich, L = Inhalt::Leer;
    const QString s15 = QStringLiteral("1 : S15  -  15 Punkte");
    return {
        {"missing", [](TestUmgebung &, Halter &) {}, keine, -1, {}, L},
        {"empty", highscoreMit(""), keine, -1, {}, G},
        {"only line ends", highscoreMit("\r\n\r\n\n"), keine, -1, {}, G},
        {"lines without \" | \"", highscoreMit("Anna 5\r\nBen|7\r\nCarl  |  4\r\nDora | 3\r\n"),
         {"1 : Dora  -  3 Punkte"}, -1, {}, G},
        {"lines without a number",
         highscoreMit("Anna | \r\nBen | sieben\r\nCarl | -3\r\nDora | 3.5\r\nEva | 4\r\nFritz | 1234567890\r\n"),
         {"1 : Eva  -  4 Punkte"}, -1, {}, G},
        {"\" | \" in the name", highscoreMit("a | b | 7\r\nx | 5 | y\r\n | 2\r\n"),
         {"1 : a | b  -  7 Punkte", "2 : x  -  5 Punkte", "3 :   -  2 Punkte"}, -1, {}, G},
        {"no final CR LF", highscoreMit("Anna | 5\r\nBen | 9"), {"1 : Ben  -  9 Punkte", "2 : Anna  -  5 Punkte"}, -1,
         {}, G},
        {"lone LF line ends", highscoreMit("Anna | 5\nBen | 9\n"), {"1 : Ben  -  9 Punkte", "2 : Anna  -  5 Punkte"},
         -1, {}, G},
        {"NUL bytes in a name", highscoreMit(QByteArray("An\0na | 5\r\n", 11)),
         {QStringLiteral("1 : An") + QChar(0) + QStringLiteral("na  -  5 Punkte")}, -1, {}, G},
        {"bytes invalid in Windows-1252", highscoreMit("\x81\x9d | 3\r\n"),
         {QStringLiteral("1 : \u0081\u009d  -  3 Punkte")}, -1, {}, G},
        {"binary bytes", highscoreMit(zufallsBytes(65536, 11, "|")), keine, -1, {}, G},
        {"binary bytes between entries",
         highscoreMit("Anna | 5\r\n" + zufallsBytes(20000, 13, "|\n") + "\r\nBen | 3\r\n"),
         {"1 : Anna  -  5 Punkte", "2 : Ben  -  3 Punkte"}, -1, {}, G},
        {"1,000 lines: the warning", highscoreMit(eintragsZeilen(1000)), {s15}, 1000, {Highscore::warnText()}, G},
        {"1,001 lines: emptied", highscoreMit(eintragsZeilen(1001)), keine, -1, {}, L},
        {"32,768 lines", highscoreMit(eintragsZeilen(32768)), keine, -1, {}, L},
        {"40,000 lines", highscoreMit(eintragsZeilen(40000)), keine, -1, {}, L},
        {"70,000 lines", highscoreMit(eintragsZeilen(70000)), keine, -1, {}, L},
        {"10 MB of entries", highscoreMit(zehnMegabyteEintraege()), keine, -1, {}, L},
        {"10 MB in one line", highscoreMit(QByteArray(10 << 20, 'x')), keine, -1, {}, G},
        {"a directory in its place", [](TestUmgebung &u, Halter &) { legeOrdnerAn(hs(u)); }, keine, -1, {kListeFehlt},
         G},
        {"a FIFO in its place", [](TestUmgebung &u, Halter &) { legeFifoAn(hs(u)); }, keine, -1, {kListeFehlt}, G},
        {"read-only", schreibgeschuetzt("Anna | 5\r\n"), {"1 : Anna  -  5 Punkte"}, -1, {}, G},
        {"read-only with 1,001 lines", schreibgeschuetzt(eintragsZeilen(1001)), {s15}, 1001, {kListeBleibt}, G},
        {"read-only with 32,768 lines", schreibgeschuetzt(eintragsZeilen(32768)), {s15}, 32768, {kListeBleibt}, G},
        {"read-only with 10 MB of entries", schreibgeschuetzt(zehnMegabyteEintraege()),
         {"1 : Schülerin mit langem Namen  -  7 Punkte"}, static_cast<int>(zehnMegabyteEintraege().count('\n')), {kListeBleibt}, G},
    };
}
}

void TestEingabematrix::highscoreListe_data()
{
    QTest::addColumn<Vorbereitung>("bereite");
    QTest::addColumn<QStringList>("liste");
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<QStringList>("meldungen");
    QTest::addColumn<Inhalt>("nachher");
    for (const ListenFall &f : listenFaelle())
        QTest::newRow(f.name) << f.bereite << f.liste << f.anzahl << f.meldungen << f.nachher;
}

void TestEingabematrix::highscoreListe()
{
    QFETCH(Vorbereitung, bereite);
    QFETCH(QStringList, liste);
    QFETCH(int, anzahl);
    QFETCH(QStringList, meldungen);
    QFETCH(Inhalt, nachher);
    if (!vorbereiten(bereite))
        QSKIP(qPrintable(m_halter.grund));
    const QString pfad = hs(*m_u);
    const QByteArray vorher = zustand(pfad);

    // Activation rebuilds the list, and so does "Akt&ualisieren".
    Form1 *haupt = Fenster::zeige<Form1>();
    QCoreApplication::processEvents();
    haupt->menuHighscore->trigger();

    const QStringList gezeigt = listenEintraege(haupt->lstHighscore);
    if (anzahl < 0) {
        QCOMPARE(gezeigt, liste);
    } else {
        QCOMPARE(gezeigt.size(), anzahl);
        QCOMPARE(gezeigt.mid(0, liste.size()), liste);
    }
    // Every box is one of those expected, and each expected one came.
    const QStringList texte = m_u->meldungen.texte();
    for (const QString &t : texte) {
        bool erwartet = false;
        for (const QString &m : meldungen)
            erwartet = erwartet || t.startsWith(m);
        QVERIFY2(erwartet, qPrintable(t));
    }
    for (const QString &m : meldungen)
        QVERIFY2(std::any_of(texte.cbegin(), texte.cend(), [&](const QString &t) { return t.startsWith(m); }),
                 qPrintable(m));
    m_halter.schutz.reset();
    const QByteArray erwartet = nachher == Inhalt::Leer ? dateiZustand(QByteArray()) : vorher;
    QCOMPARE(zustand(pfad), erwartet);
}

namespace {
struct EintragsFall {
    const char *name;
    Vorbereitung bereite;
    QByteArray nachher; // the file's bytes after the game; empty: unchanged
    bool meldung;       // the player is told that the entry was not saved
};

QVector<EintragsFall> eintragsFaelle()
{
    const QByteArray zeile("Anna | 0\r\n");
    const QByteArray muell = zufallsBytes(5000, 17, "\n");
    const QByteArray gross(10 << 20, 'x');
    return {
        {"missing", [](TestUmgebung &, Halter &) {}, zeile, false},
        {"empty", highscoreMit(""), zeile, false},
        {"no final CR LF", highscoreMit("Ben | 9"), "Ben | 9\r\n" + zeile, false},
        {"lone LF line end", highscoreMit("Ben | 9\n"), "Ben | 9\n" + zeile, false},
        {"binary bytes", highscoreMit(muell), muell + "\r\n" + zeile, false},
        {"10 MB in one line", highscoreMit(gross), gross + "\r\n" + zeile, false},
        {"a directory in its place", [](TestUmgebung &u, Halter &) { legeOrdnerAn(hs(u)); }, {}, true},
        {"a FIFO in its place", [](TestUmgebung &u, Halter &) { legeFifoAn(hs(u)); }, {}, true},
        {"read-only", schreibgeschuetzt("Ben | 9\r\n"), {}, true},
    };
}
}

void TestEingabematrix::highscoreEintrag_data()
{
    QTest::addColumn<Vorbereitung>("bereite");
    QTest::addColumn<QByteArray>("nachher");
    QTest::addColumn<bool>("meldung");
    for (const EintragsFall &f : eintragsFaelle())
        QTest::newRow(f.name) << f.bereite << f.nachher << f.meldung;
}

void TestEingabematrix::highscoreEintrag()
{
    QFETCH(Vorbereitung, bereite);
    QFETCH(QByteArray, nachher);
    QFETCH(bool, meldung);
    if (!vorbereiten(bereite))
        QSKIP(qPrintable(m_halter.grund));
    const QString pfad = hs(*m_u);
    const QByteArray vorher = zustand(pfad);

    Form1 *haupt = Fenster::zeige<Form1>();
    haupt->txt_name->setText(QStringLiteral("Anna"));
    QTest::mouseClick(haupt->cmd_start, Qt::LeftButton);
    Form2 *spiel = Fenster::offen<Form2>();
    QVERIFY(spiel);
    m_u->meldungen.gezeigt.clear();
    // The file is looked at before the new main window's list may empty it.
    QByteArray gleichDanach;
    m_u->meldungen.beimZeigen = [&](const Meldung &m) {
        if (m.text.startsWith(kEintragFehlt))
            gleichDanach = zustand(pfad);
    };
    QTest::mouseClick(spiel->cmdGiveUp, Qt::LeftButton);
    QVERIFY(!Fenster::offen<Form2>());
    QVERIFY(Fenster::offen<Form1>() && Fenster::offen<Form1>()->isVisible());
    const QStringList texte = m_u->meldungen.texte();
    QVERIFY(!texte.isEmpty());
    QVERIFY(texte[0].startsWith(QStringLiteral("Sie haben entschlossen")));
    const bool gemeldet = std::any_of(texte.cbegin(), texte.cend(),
                                      [](const QString &t) { return t.startsWith(kEintragFehlt); });
    QCOMPARE(gemeldet, meldung);
    m_halter.schutz.reset();
    if (nachher.isEmpty()) {
        QCOMPARE(gleichDanach, vorher);
        QCOMPARE(zustand(pfad), vorher);
    } else {
        QCOMPARE(liesBytes(pfad).size(), nachher.size());
        QVERIFY(liesBytes(pfad) == nachher);
    }
}

// ---------------------------------------------------------------- database

namespace {
struct DatenbankFall {
    const char *name;
    Vorbereitung bereite;
    Spiel spiel;
    int editor; // 1 loaded, 0 not loaded, -1 either
    int fragen; // the count the editor shows when loaded, -1: any
};

Vorbereitung sql(const QStringList &befehle)
{
    return [befehle](TestUmgebung &, Halter &) { sqlDatei(fragenPfad(), befehle); };
}

Vorbereitung bytes(const QByteArray &b)
{
    return [b](TestUmgebung &u, Halter &) {
        QFile::remove(fragenPfad());
        u.schreibeDatei(QStringLiteral("Fragen.mdb"), b);
    };
}

// A collection of 750 questions, cut or damaged.
Vorbereitung beschaedigt(const std::function<void(QByteArray &)> &aendere)
{
    return [aendere](TestUmgebung &u, Halter &) {
        standardSammlung(fragenPfad(), 50);
        QByteArray d = liesBytes(fragenPfad());
        aendere(d);
        QFile::remove(fragenPfad());
        u.schreibeDatei(QStringLiteral("Fragen.mdb"), d);
    };
}

Vorbereitung legacy(const QString &name, int laenge = -1, const std::function<void(QByteArray &)> &aendere = {})
{
    return [=](TestUmgebung &, Halter &) { kopiereLegacy(name, laenge, aendere); };
}

// Flips every bit of n bytes spread over the file, the same ones every run.
std::function<void(QByteArray &)> kippe(int n, quint32 saat)
{
    return [n, saat](QByteArray &d) {
        const QByteArray orte = zufallsBytes(4 * n, saat);
        for (int i = 0; i < n; ++i) {
            quint32 o;
            memcpy(&o, orte.constData() + 4 * i, 4);
            const int stelle = static_cast<int>(o % static_cast<quint32>(d.size()));
            d[stelle] = static_cast<char>(~d[stelle]);
        }
    };
}

QVector<DatenbankFall> datenbankFaelle()
{
    const Spiel S = Spiel::Spielt, F = Spiel::Ladefehler, E = Spiel::Egal;
    const QString stufen = QStringLiteral("'F' || i, 'L' || i, 'A' || i, 'B' || i, ");
    const QString sqlite = QStringLiteral("SQLite format 3");
    return {
        {"missing", [](TestUmgebung &, Halter &) { QFile::remove(fragenPfad()); }, F, 0, 0},
        {"zero bytes", bytes(""), F, 0, 0},
        {"text", bytes("Frage;Loesung;Antwort1;Antwort2;Stufe\r\nWas?;Das;Dies;Jenes;1\r\n"), F, 0, 0},
        {"random bytes", bytes(zufallsBytes(65536, 3)), F, 0, 0},
        {"random bytes behind the SQLite header", bytes(QByteArray("SQLite format 3\0", 16) + zufallsBytes(8192, 5)),
         F, 0, 0},
        {"SQLite cut to its first page", beschaedigt([](QByteArray &d) { d.truncate(4096); }), F, 0, 0},
        {"SQLite cut in half", beschaedigt([](QByteArray &d) { d.truncate(d.size() / 2 / 4096 * 4096); }), F, 0, 0},
        {"SQLite cut inside a page", beschaedigt([](QByteArray &d) { d.truncate(d.size() - 1000); }), F, 0, 0},
        {"SQLite with a page of ones", beschaedigt([](QByteArray &d) { d.replace(4096 * 3, 4096, QByteArray(4096, '\xff')); }),
         F, 0, 0},
        {"SQLite with bytes flipped", beschaedigt(kippe(40, 23)), E, -1, -1},
        {"SQLite without tables", sql({QStringLiteral("PRAGMA user_version = 1")}), F, 0, 0},
        {"SQLite without fragen",
         sql({QString(kTabelle).replace(QStringLiteral("fragen"), QStringLiteral("questions")),
              zeilen(15, kJeStufe, QStringLiteral("questions"))}),
         F, 0, 0},
        {"fragen is a view",
         sql({QString(kTabelle).replace(QStringLiteral("fragen"), QStringLiteral("q")), zeilen(15, kJeStufe, "q"),
              QStringLiteral("CREATE VIEW fragen AS SELECT * FROM q")}),
         S, 1, 15},
        {"wrong columns",
         sql({QStringLiteral("CREATE TABLE fragen (a, b, c, d, e, f)"), zeilen(15, kJeStufe)}), F, 1, 15},
        {"two columns only",
         sql({QStringLiteral("CREATE TABLE fragen (Frage TEXT, Loesung TEXT)"), zeilen(15, "'F', 'L'")}), F, 0, 0},
        {"six columns without Stufe",
         sql({QStringLiteral("CREATE TABLE fragen (Frage, Loesung, Antwort1, Antwort2, Sonstiges, ID)"),
              zeilen(15, kJeStufe)}),
         F, 1, 15},
        {"five columns without the sixth",
         sql({QStringLiteral("CREATE TABLE fragen (Frage TEXT, Loesung TEXT, Antwort1 TEXT, Antwort2 TEXT, Stufe INTEGER)"),
              zeilen(15, stufen + QStringLiteral("i % 15 + 1"))}),
         S, 1, 15},
        {"column names in capitals",
         sql({kTabelle.toUpper().replace(QStringLiteral("FRAGEN ("), QStringLiteral("fragen (")), zeilen(15, kJeStufe)}),
         S, 1, 15},
        {"columns in another order",
         sql({QStringLiteral("CREATE TABLE fragen (ID INTEGER PRIMARY KEY, Stufe INTEGER, Antwort2 TEXT, "
                             "Antwort1 TEXT, Loesung TEXT, Frage TEXT)"),
              zeilen(15, "NULL, i % 15 + 1, 'B', 'A', 'L', 'F'")}),
         S, 1, 15},
        {"nulls in every column", sql({kTabelle, zeilen(15, "NULL, NULL, NULL, NULL, NULL, NULL")}), F, 1, 15},
        {"nulls in the text columns", sql({kTabelle, zeilen(15, "NULL, NULL, NULL, NULL, i % 15 + 1, NULL")}), S, 1, 15},
        {"Stufe as words", sql({kTabelle, zeilen(15, stufen + "'Stufe ' || (i + 1), NULL")}), F, 1, 15},
        {"Stufe as digits in a text column",
         sql({QString(kTabelle).replace(QStringLiteral("Stufe INTEGER"), QStringLiteral("Stufe TEXT")),
              zeilen(15, stufen + "CAST(i % 15 + 1 AS TEXT), NULL")}),
         S, 1, 15},
        {"Stufe as text with a leading zero or blank",
         sql({QString(kTabelle).replace(QStringLiteral("Stufe INTEGER"), QStringLiteral("Stufe TEXT")),
              zeilen(15, stufen + "printf(CASE i % 2 WHEN 1 THEN '%02d' ELSE ' %d.00' END, i % 15 + 1), NULL")}),
         S, 1, 15},
        {"Stufe as a fraction", sql({kTabelle, zeilen(15, stufen + "i + 1.5, NULL")}), F, 1, 15},
        {"Stufe as whole reals",
         sql({QString(kTabelle).replace(QStringLiteral("Stufe INTEGER"), QStringLiteral("Stufe REAL")),
              zeilen(15, stufen + "i % 15 + 1.0, NULL")}),
         S, 1, 15},
        {"Stufe out of range only",
         sql({kTabelle, QStringLiteral("INSERT INTO fragen (Frage, Loesung, Antwort1, Antwort2, Stufe) VALUES "
                                       "('F', 'L', 'A', 'B', 0), ('F', 'L', 'A', 'B', 16), ('F', 'L', 'A', 'B', -1), "
                                       "('F', 'L', 'A', 'B', 32767), ('F', 'L', 'A', 'B', 32768), "
                                       "('F', 'L', 'A', 'B', 65537), ('F', 'L', 'A', 'B', 2147483648), "
                                       "('F', 'L', 'A', 'B', 1099511627776), ('F', 'L', 'A', 'B', -9223372036854775808), "
                                       "('F', 'L', 'A', 'B', 1e300), ('F', 'L', 'A', 'B', -1e300)")}),
         F, 1, 11},
        {"Stufe as a blob", sql({kTabelle, zeilen(15, stufen + "x'01', NULL")}), F, 1, 15},
        {"32,767 rows", sql({kTabelle, zeilen(32767, stufen + "i % 15 + 1, NULL")}), S, 1, 32767},
        {"32,768 rows", sql({kTabelle, zeilen(32768, stufen + "i % 15 + 1, NULL")}), F, 1, 32768},
        {"texts of 100,000 characters",
         sql({kTabelle, zeilen(15, "printf('%.*c', 100000, 'F'), printf('%.*c', 100000, 'L'), "
                                   "printf('%.*c', 100000, 'A'), printf('%.*c', 100000, 'B'), i % 15 + 1, NULL")}),
         S, 1, 15},
        {"texts as blobs", sql({kTabelle, zeilen(15, "x'00ff', x'', randomblob(300), zeroblob(10), i % 15 + 1, NULL")}),
         S, 1, 15},
        {"texts of invalid UTF-8",
         sql({kTabelle, zeilen(15, "CAST(x'c3' AS TEXT), CAST(x'fffe' AS TEXT), CAST(x'eda080' AS TEXT), "
                                   "CAST(x'f888808080' AS TEXT), i % 15 + 1, NULL")}),
         S, 1, 15},
        {"an empty table", sql({kTabelle}), F, 0, 0},
        {"a directory in its place",
         [](TestUmgebung &, Halter &) {
             QFile::remove(fragenPfad());
             legeOrdnerAn(fragenPfad());
         },
         F, 0, 0},
        {"a FIFO in its place",
         [](TestUmgebung &, Halter &) {
             QFile::remove(fragenPfad());
             legeFifoAn(fragenPfad());
         },
         F, 0, 0},
        {"read-only",
         [](TestUmgebung &, Halter &h) {
             h.schutz = std::make_unique<SchreibschutzOrdner>(fragenPfad());
             if (!h.schutz->aktiv()) {
                 h.uebersprungen = true;
                 h.grund = QStringLiteral("cannot make a file read-only here");
             }
         },
         S, 1, 15},
        {"another writer's pending change",
         [](TestUmgebung &, Halter &h) { h.sperre = std::make_unique<FremdeSperre>(fragenPfad(), "BEGIN IMMEDIATE"); },
         S, 1, 15},
        {"locked by another writer",
         [](TestUmgebung &, Halter &h) { h.sperre = std::make_unique<FremdeSperre>(fragenPfad(), "BEGIN EXCLUSIVE"); },
         F, 0, 0},
        {"write-ahead log mode", sql({QStringLiteral("PRAGMA journal_mode = WAL"), kTabelle, zeilen(15, kJeStufe)}), S, 1,
         15},
        {"Access file", legacy(QStringLiteral("fragen_jet4.mdb")), S, 1, 45},
        {"Access file cut to its first page", legacy(QStringLiteral("fragen_jet4.mdb"), 4096), F, 0, 0},
        {"Access file cut in half", legacy(QStringLiteral("fragen_jet4.mdb"), 118784 / 2), E, -1, -1},
        {"Access file cut inside a page", legacy(QStringLiteral("fragen_jet4.mdb"), 110000), E, -1, -1},
        {"Access file, table head zeroed",
         legacy(QStringLiteral("fragen_jet4.mdb"), -1, [](QByteArray &d) { d.replace(24 * 4096, 4096, QByteArray(4096, '\0')); }),
         E, -1, -1},
        {"Access file, bytes flipped", legacy(QStringLiteral("fragen_jet4.mdb"), -1, kippe(64, 29)), E, -1, -1},
        {"Access file, data pages flipped",
         legacy(QStringLiteral("fragen_jet4.mdb"), -1,
                [](QByteArray &d) {
                    for (int i = 26 * 4096; i < 28 * 4096; i += 7)
                        d[i] = static_cast<char>(~d[i]);
                }),
         E, -1, -1},
        {"Access 2007 file", legacy(QStringLiteral("fragen_jet4.mdb"), -1,
                                    [](QByteArray &d) { d.replace(4, 15, "Standard ACE DB"); }),
         F, 0, 0},
        {"Access header only", bytes(liesBytes(kLegacy + QStringLiteral("fragen_jet4.mdb")).left(64)), F, 0, 0},
        {"Access header, then random bytes",
         bytes(liesBytes(kLegacy + QStringLiteral("fragen_jet4.mdb")).left(4096) + zufallsBytes(65536, 31)), F, 0, 0},
    };
}
}

void TestEingabematrix::datenbankSpiel_data()
{
    QTest::addColumn<Vorbereitung>("bereite");
    QTest::addColumn<Spiel>("spiel");
    for (const DatenbankFall &f : datenbankFaelle())
        QTest::newRow(f.name) << f.bereite << f.spiel;
}

void TestEingabematrix::datenbankSpiel()
{
    QFETCH(Vorbereitung, bereite);
    QFETCH(Spiel, spiel);
    if (!vorbereiten(bereite))
        QSKIP(qPrintable(m_halter.grund));
    const QByteArray vorher = zustand(fragenPfad());

    Form1 *haupt = Fenster::zeige<Form1>();
    haupt->txt_name->setText(QStringLiteral("Anna"));
    QTest::mouseClick(haupt->cmd_start, Qt::LeftButton);
    Form2 *form2 = Fenster::offen<Form2>();
    const QStringList texte = m_u->meldungen.texte();
    const bool spielt = form2 && form2->isVisible() && texte.isEmpty();
    const bool ladefehler = !form2 && texte.size() == 1 && texte[0].startsWith(kLadefehler) && Fenster::offen<Form3>()
        && Fenster::offen<Form3>()->isVisible();
    QVERIFY2(spielt || ladefehler, qPrintable(texte.join(QLatin1Char('|'))));
    if (spiel != Spiel::Egal)
        QCOMPARE(spielt, spiel == Spiel::Spielt);
    if (spielt) {
        // A question of level 1 is on show, whatever its texts.
        QCOMPARE(form2->stufe(), 1);
        QVERIFY(form2->lblFrage->text() != QStringLiteral("frage wird geladen")
                || form2->fragen()->value(QStringLiteral("Frage")).isNull());
        // Confirming the right answer moves on or ends the game cleanly.
        QTest::mouseClick(form2->lblLoesung, Qt::LeftButton);
        QTest::mouseClick(form2->cmdOK, Qt::LeftButton);
        QVERIFY(Fenster::offen<Form2>() || Fenster::offen<Form1>());
        if (Form2 *weiter = Fenster::offen<Form2>())
            QTest::mouseClick(weiter->cmdEnd, Qt::LeftButton);
        QVERIFY(Fenster::offen<Form1>());
    }
    // Nothing may hold the file open when the read-only mount is released.
    aufraeumen();
    m_halter.sperre.reset();
    m_halter.schutz.reset();
    QCOMPARE(zustand(fragenPfad()), vorher);
}

void TestEingabematrix::datenbankEditor_data()
{
    QTest::addColumn<Vorbereitung>("bereite");
    QTest::addColumn<int>("geladen");
    QTest::addColumn<int>("fragen");
    for (const DatenbankFall &f : datenbankFaelle())
        QTest::newRow(f.name) << f.bereite << f.editor << f.fragen;
}

void TestEingabematrix::datenbankEditor()
{
    QFETCH(Vorbereitung, bereite);
    QFETCH(int, geladen);
    QFETCH(int, fragen);
    if (!vorbereiten(bereite))
        QSKIP(qPrintable(m_halter.grund));
    const QByteArray vorher = zustand(fragenPfad());

    Form3 *editor = Fenster::zeige<Form3>();
    const auto *lblstat = editor->findChild<QLabel *>(QStringLiteral("lblstat"));
    const auto *lblNavi = editor->findChild<QLabel *>(QStringLiteral("lblNavi"));
    const auto *txtPfad = editor->findChild<QLineEdit *>(QStringLiteral("txt_pfad"));
    if (geladen >= 0)
        QCOMPARE(editor->datenbankGeladen(), geladen == 1);
    // Without a settings file the editor opens the default collection and
    // names it in the path box, whether it could be opened or not.
    QCOMPARE(txtPfad->text(), fragenPfad());
    if (editor->datenbankGeladen()) {
        if (fragen >= 0) {
            QCOMPARE(lblstat->text(), QStringLiteral("Es befinden sich %1 Fragen in der Datenbank").arg(fragen));
            QCOMPARE(lblNavi->text(), QStringLiteral("Frage 1 von %1").arg(fragen));
        }
    } else {
        QCOMPARE(lblstat->text(), kNichtGeladen);
    }
    QVERIFY2(m_u->meldungen.gezeigt.isEmpty(), qPrintable(m_u->meldungen.texte().join(QLatin1Char('|'))));

    // Every way of moving, and "Ak&tualisieren", leave the file alone.
    for (int i : {3, 1, 2, 0, 2})
        QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdNavigation(%1)").arg(i)), Qt::LeftButton);
    auto *grid = editor->findChild<QTableView *>(QStringLiteral("DataGrid1"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 30));
    QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdRefresh")), Qt::LeftButton);
    // The delete question is answered No: nothing happens.
    QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdLoeschen")), Qt::LeftButton);
    if (editor->datenbankGeladen() && editor->recordset()->hasCurrent())
        QVERIFY(lblNavi->text().startsWith(QStringLiteral("Frage ")));
    QCOMPARE(zustand(fragenPfad()), vorher);

    // Taking over fields nobody edited writes nothing; a new question text
    // reaches its one cell by name, or is refused with a message.
    m_u->meldungen.gezeigt.clear();
    QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdUebernehmen")), Qt::LeftButton);
    QCOMPARE(m_u->meldungen.gezeigt.isEmpty(), editor->datenbankGeladen());
    QCOMPARE(zustand(fragenPfad()), vorher);
    const QStringList zellenVorher = zellen(fragenPfad());
    m_u->meldungen.gezeigt.clear();
    editor->findChild<QLineEdit *>(QStringLiteral("txtFrage"))->setText(QStringLiteral("Neu"));
    QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdUebernehmen")), Qt::LeftButton);
    if (!m_u->meldungen.gezeigt.isEmpty()) {
        QCOMPARE(zustand(fragenPfad()), vorher);
    } else if (!zellenVorher.isEmpty()) {
        const QStringList zellenNachher = zellen(fragenPfad());
        QCOMPARE(zellenNachher.size(), zellenVorher.size());
        QStringList anders;
        for (int i = 0; i < zellenVorher.size(); ++i) {
            if (zellenNachher[i] != zellenVorher[i])
                anders << zellenNachher[i];
        }
        QCOMPARE(anders, QStringList{QStringLiteral("frage=3:") + QByteArray("Neu").toHex()});
    }
    const bool gespeichert = m_u->meldungen.gezeigt.isEmpty();
    // A new question is refused once the game could not load one more.
    m_u->meldungen.gezeigt.clear();
    QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdNeu")), Qt::LeftButton);
    QCOMPARE(m_u->meldungen.texte().join(QLatin1Char('|')).contains(QStringLiteral("höchstens 32767 Fragen")),
             editor->datenbankGeladen() && editor->recordset()->recordCount() >= 32767);
    editor->close();
    QVERIFY(Fenster::offen<Form1>());
    // Nothing may hold the file open when the read-only mount is released.
    aufraeumen();
    m_halter.sperre.reset();
    m_halter.schutz.reset();
    if (!gespeichert)
        QCOMPARE(zustand(fragenPfad()), vorher);
}

void TestEingabematrix::editorSpeichertNicht_data()
{
    QTest::addColumn<Vorbereitung>("bereite");
    QTest::addColumn<QString>("grund"); // a piece of the message
    QTest::newRow("read-only") << Vorbereitung([](TestUmgebung &, Halter &h) {
        h.schutz = std::make_unique<SchreibschutzOrdner>(fragenPfad());
        if (!h.schutz->aktiv()) {
            h.uebersprungen = true;
            h.grund = QStringLiteral("cannot make a file read-only here");
        }
    }) << "readonly";
    QTest::newRow("locked by another writer") << Vorbereitung([](TestUmgebung &, Halter &) {})
                                              << "locked";
    QTest::newRow("fragen is a view")
        << sql({QString(kTabelle).replace(QStringLiteral("fragen"), QStringLiteral("q")), zeilen(15, kJeStufe, "q"),
                QStringLiteral("CREATE VIEW fragen AS SELECT * FROM q")})
        << "view";
    // An Access file asks to be converted first; tst_form3_jet covers it.
}

void TestEingabematrix::editorSpeichertNicht()
{
    QFETCH(Vorbereitung, bereite);
    QFETCH(QString, grund);
    if (!vorbereiten(bereite))
        QSKIP(qPrintable(m_halter.grund));
    Form3 *editor = Fenster::zeige<Form3>();
    QVERIFY(editor->datenbankGeladen());
    if (grund == QLatin1String("locked"))
        m_halter.sperre = std::make_unique<FremdeSperre>(fragenPfad(), "BEGIN EXCLUSIVE");
    const QByteArray vorher = zustand(fragenPfad());
    const int anzahl = editor->recordset()->recordCount();
    auto *txtFrage = editor->findChild<QLineEdit *>(QStringLiteral("txtFrage"));
    const auto knopf = [&](const char *name) {
        QTest::mouseClick(editor->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
    };

    // A change of the question shown.
    txtFrage->setText(QStringLiteral("Geändert"));
    knopf("cmdUebernehmen");
    // A new question.
    knopf("cmdNeu");
    for (const char *feld : {"txtFrage", "txtLoesung", "txtAntwort1", "txtAntwort2", "txtStufe"})
        editor->findChild<QLineEdit *>(QLatin1String(feld))->setText(QStringLiteral("7"));
    knopf("cmdUebernehmen");
    // Deleting the first question.
    knopf("cmdNavigation(0)");
    m_u->meldungen.antworten = {QMessageBox::Yes};
    knopf("cmdLoeschen");

    const QStringList texte = m_u->meldungen.texte();
    QCOMPARE(texte.size(), 4);
    QVERIFY2(texte[0].startsWith(QStringLiteral("Die Frage wurde nicht gespeichert.")), qPrintable(texte[0]));
    QVERIFY2(texte[1].startsWith(QStringLiteral("Die Frage wurde nicht gespeichert.")), qPrintable(texte[1]));
    QCOMPARE(texte[2], QStringLiteral("Wollen Sie den aktuellen Datensatz wirklich löschen?"));
    QVERIFY2(texte[3].startsWith(QStringLiteral("Die Frage wurde nicht gelöscht.")), qPrintable(texte[3]));
    for (int i : {0, 1, 3})
        QVERIFY2(texte[i].contains(grund, Qt::CaseInsensitive), qPrintable(texte[i]));
    QCOMPARE(editor->recordset()->recordCount(), anzahl);
    QCOMPARE(zustand(fragenPfad()), vorher);

    // Once the other writer lets go, the same store goes through.
    if (m_halter.sperre) {
        m_halter.sperre.reset();
        m_u->meldungen.gezeigt.clear();
        knopf("cmdNavigation(0)");
        txtFrage->setText(QStringLiteral("Geändert"));
        knopf("cmdUebernehmen");
        QVERIFY2(m_u->meldungen.gezeigt.isEmpty(), qPrintable(m_u->meldungen.texte().join(QLatin1Char('|'))));
        QVERIFY(zustand(fragenPfad()) != vorher);
    }
}

void TestEingabematrix::verknuepfungenBleiben()
{
    m_faelle += 2;
    m_u->schreibeDatei(QStringLiteral("geteilt.ini"), "\r\n");
    m_u->schreibeDatei(QStringLiteral("geteilt.dtt"), "Ben | 9\r\n");
    QVERIFY(QFile::link(m_u->datei(QStringLiteral("geteilt.ini")), AppInfo::einstellungsdatei()));
    QVERIFY(QFile::link(m_u->datei(QStringLiteral("geteilt.dtt")), AppInfo::highscoredatei()));

    Form1 *haupt = Fenster::zeige<Form1>();
    haupt->txt_name->setText(QStringLiteral("Anna"));
    QTest::mouseClick(haupt->cmd_start, Qt::LeftButton);
    Form2 *spiel = Fenster::offen<Form2>();
    QVERIFY(spiel);
    QTest::mouseClick(spiel->cmdGiveUp, Qt::LeftButton);

    QVERIFY(QFileInfo(AppInfo::einstellungsdatei()).isSymLink());
    QVERIFY(QFileInfo(AppInfo::highscoredatei()).isSymLink());
    QCOMPARE(m_u->liesDatei(QStringLiteral("geteilt.ini")), standardZeile());
    QCOMPARE(m_u->liesDatei(QStringLiteral("geteilt.dtt")), QByteArray("Ben | 9\r\nAnna | 0\r\n"));
}

QTEST_MAIN(TestEingabematrix)
#include "tst_eingabematrix.moc"
