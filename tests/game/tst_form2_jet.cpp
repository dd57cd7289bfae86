#include "start/fenster.h"
#include "basis/modvariablen.h"
#include "ui/form2.h"
#include "game/spielregeln.h"
#include "jetexport.h"
#include "store/settingsfile.h"
#include "testservices.h"
#include "ui/form1.h"
#include "ui/form3.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <memory>

// A game played from question collections kept in genuine Access files,
// started through the main window as a player starts it. The fake random
// numbers choose which question of a level comes, so every text on screen
// can be checked against the fixture's known rows.

namespace {
const QString kSpielTitel = QStringLiteral("Kreidolin-Message");
const QString kLadefehler = QStringLiteral("Die Datei Fragen.mdb exisitiert nicht im Anwendungsverzeichnis!");

QByteArray bytes(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString fixture(const QString &name)
{
    return QStringLiteral(KREIDOLIN_TEST_DATA "/legacy/") + name;
}

// Which question of each level the game is to draw: its place among the rows
// of that level, in row order.
const int kAuswahlA[15] = {0, 1, 2, 2, 2, 2, 0, 2, 2, 0, 1, 0, 1, 0, 0};
const int kAuswahlB[15] = {2, 0, 1, 0, 1, 0, 2, 1, 0, 2, 0, 1, 2, 2, 2};

// The draw that makes the game pick the row at place j among n rows.
float ziehungFuer(int j, int n)
{
    return (static_cast<float>(j) + 0.5f) / static_cast<float>(n);
}

void aufraeumen()
{
    for (int runde = 0; runde < 3; ++runde)
        schliesseAlleFenster();
}
}

class TestForm2Jet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    // A whole game from an Access collection: every level shows the drawn row's texts exactly, then the win.
    void ganzesSpiel_data();
    void ganzesSpiel();
    // The teacher poll names the answers as the fixture holds them, the null as an empty text.
    void umfrageMitAccessTexten();
    // Collections the game cannot play end in the one load message and the editor; the file is untouched.
    void ladefehler_data();
    void ladefehler();
    // A collection without level 7 ends the game there with its message, scoring the six levels won.
    void stufenluecke();

private:
    Form2 *starte();
    void klicke(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }
    int slotVon(Form2 *spiel, QLabel *antwort) const;

    std::unique_ptr<TestUmgebung> m_u;
};

void TestForm2Jet::init()
{
    m_u = std::make_unique<TestUmgebung>();
}

void TestForm2Jet::cleanup()
{
    aufraeumen();
    m_u.reset();
}

Form2 *TestForm2Jet::starte()
{
    Form1 *haupt = Fenster::zeige<Form1>();
    haupt->txt_name->setText(QStringLiteral("Anna"));
    klicke(haupt->cmd_start);
    return Fenster::offen<Form2>();
}

int TestForm2Jet::slotVon(Form2 *spiel, QLabel *antwort) const
{
    for (int i = 0; i < 3; ++i) {
        if (spiel->Label5[i]->x() == antwort->x())
            return i;
    }
    return -1;
}

void TestForm2Jet::ganzesSpiel_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<bool>("ueberEinstellung"); // named by Kreidolin.ini, or copied as Fragen.mdb
    QTest::addColumn<QString>("auswahl");
    QTest::newRow("main fixture, named in the settings") << "fragen_jet4.mdb" << true << "A";
    QTest::newRow("main fixture as Fragen.mdb") << "fragen_jet4.mdb" << false << "B";
    QTest::newRow("without Unicode compression") << "fragen_jet4_uncompressed.mdb" << true << "B";
    QTest::newRow("Access 2002/2003") << "fragen_jet4_v2003.mdb" << false << "A";
    // The game needs no sixth column.
    QTest::newRow("five columns") << "fragen_jet4_fivecols.mdb" << true << "A";
    QTest::newRow("32,767 rows, the known ones") << "fragen_jet4_big.mdb" << true << "B";
    QTest::newRow("32,767 rows, the last of each level") << "fragen_jet4_big.mdb" << false << "letzte";
}

void TestForm2Jet::ganzesSpiel()
{
    QFETCH(QString, datei);
    QFETCH(bool, ueberEinstellung);
    QFETCH(QString, auswahl);
    const bool fuenfSpalten = datei == QLatin1String("fragen_jet4_fivecols.mdb");
    const bool gross = datei == QLatin1String("fragen_jet4_big.mdb");
    const auto zeilenDerStufe = [&](int stufe) { return fuenfSpalten ? 1 : gross ? (stufe <= 7 ? 2185 : 2184) : 3; };
    const auto platz = [&](int stufe) {
        if (auswahl == QLatin1String("letzte"))
            return zeilenDerStufe(stufe) - 1;
        return fuenfSpalten ? 0 : (auswahl == QLatin1String("A") ? kAuswahlA : kAuswahlB)[stufe - 1];
    };

    QString pfad;
    if (ueberEinstellung) {
        QVERIFY(QDir(m_u->verzeichnis()).mkdir(QStringLiteral("Sammlungen")));
        pfad = m_u->kopiereTestdatei(QStringLiteral("legacy/") + datei,
                                     QStringLiteral("Sammlungen/Klasse 7 (alt).mdb"));
        m_u->schreibeDatei(QStringLiteral("Kreidolin.ini"), SettingsFile::kodiere(pfad) + "\r\n");
    } else {
        pfad = m_u->kopiereTestdatei(QStringLiteral("legacy/") + datei, QStringLiteral("Fragen.mdb"));
    }

    // Per level: the question's draw, then the two slot draws, which alternate between two orders.
    for (int stufe = 1; stufe <= 15; ++stufe) {
        m_u->zufall.werte << ziehungFuer(platz(stufe), zeilenDerStufe(stufe));
        m_u->zufall.werte << (stufe % 2 ? 0.1f : 0.9f) << (stufe % 2 ? 0.5f : 0.1f);
    }
    Form2 *spiel = starte();
    QVERIFY(spiel);
    QCOMPARE(m_u->meldungen.gezeigt.size(), 0);
    QCOMPARE(spiel->anzahlFragen(), fuenfSpalten ? 15 : gross ? 32767 : 45);

    const QVector<JetExport::Zeile> erwartet = JetExport::fragenJet4();
    const QRegularExpression uebung(QStringLiteral("^Frage \\d+ \\(Stufe (\\d+)\\): Was ergibt (\\d+) \\+ (\\d+)\\? "
                                                   "\\(Übung\\)$"));
    for (int stufe = 1; stufe <= 15; ++stufe) {
        QCOMPARE(spiel->stufe(), stufe);
        QCOMPARE(spiel->lblFrageNr->text(), QString::number(stufe));
        const QStringList gezeigt = {spiel->lblFrage->text(), spiel->lblLoesung->text(), spiel->lblAntwort1->text(),
                                     spiel->lblAntwort2->text()};
        if (auswahl == QLatin1String("letzte")) {
            // A generated exercise far down the table: its texts agree with each other.
            const QRegularExpressionMatch m = uebung.match(gezeigt[0]);
            QVERIFY2(m.hasMatch(), qPrintable(gezeigt[0]));
            QCOMPARE(m.captured(1).toInt(), stufe);
            const int summe = m.captured(2).toInt() + m.captured(3).toInt();
            QCOMPARE(gezeigt.mid(1), (QStringList{QString::number(summe), QString::number(summe + 1),
                                                  QString::number(summe + 10)}));
        } else {
            const JetExport::Zeile &zeile = erwartet[3 * (stufe - 1) + platz(stufe)];
            QCOMPARE(zeile[4].toInt(), stufe);
            QStringList soll;
            for (int i = 0; i < 4; ++i)
                soll << JetExport::text(zeile[i]); // the null of ID 12 shows as empty text
            QCOMPARE(gezeigt, soll);
        }
        QCOMPARE(slotVon(spiel, spiel->lblLoesung), stufe % 2 ? 0 : 2);
        QCOMPARE(slotVon(spiel, spiel->lblAntwort1), stufe % 2 ? 1 : 0);
        klicke(spiel->lblLoesung);
        klicke(spiel->cmdOK);
    }
    const Meldung sieg = m_u->meldungen.gezeigt.last();
    QCOMPARE(sieg.titel, QStringLiteral("Kreidolin Message"));
    QVERIFY(sieg.text.startsWith(QStringLiteral("Gratuliere! Du hast das Abitur bestanden!!!")));
    QCOMPARE(m_u->meldungen.gezeigt.size(), 15);
    QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), QByteArray("Anna | 15\r\n"));
    QVERIFY(!Fenster::offen<Form2>());
    QVERIFY(Fenster::offen<Form1>());
    QCOMPARE(bytes(pfad), bytes(fixture(datei)));
    QCOMPARE(QDir(m_u->verzeichnis()).entryList({QStringLiteral("*.bak")}, QDir::Files), QStringList());
}

void TestForm2Jet::umfrageMitAccessTexten()
{
    m_u->kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("Fragen.mdb"));
    // Levels 1 to 3 first question, level 4 its third: ID 12, whose Antwort2 is null.
    for (int stufe = 1; stufe <= 4; ++stufe)
        m_u->zufall.werte << ziehungFuer(stufe < 4 ? 0 : 2, 3) << 0.1f << 0.5f;
    Form2 *spiel = starte();
    QVERIFY(spiel);
    for (int stufe = 1; stufe < 4; ++stufe) {
        klicke(spiel->lblLoesung);
        klicke(spiel->cmdOK);
    }
    QCOMPARE(spiel->stufe(), 4);
    QCOMPARE(spiel->lblFrage->text(), QStringLiteral("Woraus bauen Honigbienen ihre Waben?"));
    m_u->zufall.werte = {0.375f, 0.25f};
    klicke(spiel->cmdRnd);
    const Spielregeln::Umfrage u = Spielregeln::umfrage(0.375f, 0.25f);
    const Meldung m = m_u->meldungen.gezeigt.last();
    QCOMPARE(m.titel, kSpielTitel);
    QCOMPARE(m.text, QStringLiteral("Das Publikum hat wie folgt gestimmt: \r\n"
                                    "Aus Wachs = %1%\r\nAus Holz = %2%\r\n = %3%")
                         .arg(u.loesung)
                         .arg(u.antwort1)
                         .arg(u.antwort2));
}

void TestForm2Jet::ladefehler_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<int>("kuerzen"); // keep only this many bytes; 0 keeps all
    QTest::newRow("empty table") << "fragen_jet4_empty.mdb" << 0;
    QTest::newRow("no table fragen") << "jet4_no_fragen.mdb" << 0;
    QTest::newRow("file cut short") << "fragen_jet4.mdb" << 8192;
}

void TestForm2Jet::ladefehler()
{
    QFETCH(QString, datei);
    QFETCH(int, kuerzen);
    const QString pfad = m_u->kopiereTestdatei(QStringLiteral("legacy/") + datei, QStringLiteral("Fragen.mdb"));
    if (kuerzen > 0)
        m_u->schreibeDatei(QStringLiteral("Fragen.mdb"), bytes(fixture(datei)).left(kuerzen));
    const QByteArray vorher = bytes(pfad);
    bool unsichtbar = false;
    m_u->meldungen.beimZeigen = [&](const Meldung &) {
        Form2 *spiel = Fenster::offen<Form2>();
        unsichtbar = spiel && !spiel->isVisible();
    };
    Form1 *haupt = Fenster::zeige<Form1>();
    haupt->txt_name->setText(QStringLiteral("Anna"));
    klicke(haupt->cmd_start);
    QVERIFY(unsichtbar);
    QCOMPARE(m_u->meldungen.texte(), QStringList{kLadefehler});
    QCOMPARE(m_u->meldungen.titel(), QStringList{QStringLiteral("Kreidolin")});
    QVERIFY(!Fenster::offen<Form2>());
    QVERIFY(!Fenster::offen<Form1>());
    Form3 *editor = Fenster::offen<Form3>();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QVERIFY(!editor->datenbankGeladen());
    QCOMPARE(editor->findChild<QLabel *>(QStringLiteral("lblstat"))->text(),
             QStringLiteral("Keine Datenbank geladen!"));
    QCOMPARE(bytes(pfad), vorher);
    QVERIFY(!QFile::exists(m_u->datei(QStringLiteral("highscore.dtt"))));
}

void TestForm2Jet::stufenluecke()
{
    const QString pfad =
        m_u->kopiereTestdatei(QStringLiteral("legacy/fragen_jet4_levelgap.mdb"), QStringLiteral("Fragen.mdb"));
    const QVector<JetExport::Zeile> erwartet = JetExport::fragenJet4();
    for (int stufe = 1; stufe <= 6; ++stufe)
        m_u->zufall.werte << ziehungFuer(kAuswahlA[stufe - 1], 3) << 0.1f << 0.5f;
    Form2 *spiel = starte();
    QVERIFY(spiel);
    QCOMPARE(spiel->anzahlFragen(), 42);
    for (int stufe = 1; stufe <= 6; ++stufe) {
        QCOMPARE(spiel->stufe(), stufe);
        const JetExport::Zeile &zeile = erwartet[3 * (stufe - 1) + kAuswahlA[stufe - 1]];
        QCOMPARE(spiel->lblFrage->text(), zeile[0].toString());
        QCOMPARE(spiel->lblLoesung->text(), zeile[1].toString());
        klicke(spiel->lblLoesung);
        klicke(spiel->cmdOK);
    }
    QCOMPARE(m_u->meldungen.gezeigt.size(), 7);
    const Meldung ende = m_u->meldungen.gezeigt.last();
    QCOMPARE(ende.titel, kSpielTitel);
    QCOMPARE(ende.text, QStringLiteral("In der Fragendatenbank gibt es keine Frage für die Stufe 7 (7. Klasse). "
                                       "Das Spiel endet hier.\r\nStufe: 6\r\nSie wurden in der Highscore vermerkt!"));
    QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), QByteArray("Anna | 6\r\n"));
    QVERIFY(!Fenster::offen<Form2>());
    QVERIFY(Fenster::offen<Form1>());
    QCOMPARE(bytes(pfad), bytes(fixture(QStringLiteral("fragen_jet4_levelgap.mdb"))));
}

QTEST_MAIN(TestForm2Jet)
#include "tst_form2_jet.moc"
