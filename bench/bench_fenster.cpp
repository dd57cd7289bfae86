// The windows as a pupil or teacher meets them: from a click to the next
// window painted, with the real windows on the offscreen platform.

#include "bench.h"
#include "buehne.h"

#include "start/fenster.h"
#include "ui/frmsplash.h"
#include "ui/form2.h"
#include "game/spielregeln.h"
#include "highscore/highscore.h"
#include "store/connection.h"
#include "store/recordset.h"
#include "ui/form1.h"
#include "ui/form3.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace {
using namespace Bench;

// The toolkit floor: a bare Qt window made, shown and painted; closed
// outside the time.
double leeresFenster()
{
    QWidget *fenster = nullptr;
    merkeMalen();
    const double t = dauer([&] {
        fenster = new QWidget;
        fenster->resize(640, 480);
        fenster->show();
        warteGezeigt([&] { return fenster; });
    });
    fenster->close();
    delete fenster;
    QCoreApplication::processEvents();
    return t;
}

QString buehnenOrdner(Kontext &k, const QString &name)
{
    return k.ordner() + QStringLiteral("/app_") + name;
}

Ergebnis splashZumHauptfenster(Kontext &k)
{
    Buehne buehne(buehnenOrdner(k, QStringLiteral("splash")));
    // At exactly this many entries every rebuild warns first; the bench
    // answers the box at once.
    buehne.schreibeHighscore(Highscore::kWarnGrenze);
    Ergebnis e;
    imWechsel(
        9, e,
        [&] {
            merkeMalen();
            frmSplash *splash = Fenster::zeige<frmSplash>();
            warteGezeigt([] { return Fenster::offen<frmSplash>(); });
            auto *titel = splash->findChild<QLabel *>(QStringLiteral("lblTitel"));
            merkeMalen();
            const double t = dauer([&] {
                klick(titel);
                warteGezeigt([] { return Fenster::offen<Form1>(); },
                             [] {
                                 const Form1 *haupt = Fenster::offen<Form1>();
                                 return haupt && haupt->lstHighscore->count() == Highscore::kWarnGrenze
                                     && !Fenster::offen<frmSplash>();
                             });
            });
            schliesseAlles();
            return t;
        },
        leeresFenster);
    return e;
}

Ergebnis highscoreNeuAufbauen(Kontext &k)
{
    Buehne buehne(buehnenOrdner(k, QStringLiteral("highscore")));
    buehne.schreibeHighscore(Highscore::kWarnGrenze);
    Form1 *haupt = zeigeHauptfenster(Highscore::kWarnGrenze);
    Ergebnis e;
    e.zielWert = 5;
    // The menu entry "Aktualisieren": file read, list ordered, list box
    // filled and painted.
    e.wert = medianVon(21, [&] {
        haupt->lstHighscore->clear();
        QCoreApplication::processEvents();
        return dauer([&] {
            haupt->menuHighscore->trigger();
            QCoreApplication::processEvents();
        });
    });
    if (haupt->lstHighscore->count() != Highscore::kWarnGrenze)
        qFatal("the highscore list was not rebuilt");
    Ergebnis regel;
    regel.wert = median(21, [&] {
        const Highscore::Lesung lesung = Highscore::lies(buehne.ordner() + QStringLiteral("/highscore.dtt"));
        const Highscore::Liste liste = Highscore::baueListe(lesung.eintraege);
        if (liste.texte.size() != Highscore::kWarnGrenze)
            qFatal("the highscore rule lost entries");
    });
    e.weitere.push_back({QStringLiteral("of which file read and list ordered (no window)"), regel});
    return e;
}

Ergebnis spielStart(Kontext &k, int n)
{
    const QString datenbank = k.fragen(n);
    Buehne buehne(buehnenOrdner(k, QStringLiteral("spiel%1").arg(n)));
    buehne.waehleDatenbank(datenbank);
    Ergebnis e;
    if (n == 32767)
        e.zielFaktor = 2;
    imWechsel(
        9, e,
        [&] {
            Form1 *haupt = zeigeHauptfenster();
            const double t = dauer([&] { starteSpiel(haupt); });
            schliesseAlles();
            return t;
        },
        [&] { return sqliteLesen(datenbank); });
    return e;
}

// The second question when a single row of the 32,767 has level 2: the
// draw goes straight to the level's rows, whatever their share.
Ergebnis schwersteWahl(Kontext &k)
{
    const int n = 32767;
    const QString datenbank = k.fragenEineDerStufe2(n);
    Ergebnis e;
    e.einheit = QStringLiteral("us");
    e.zielWert = 1000;
    {
        // The choice as the game window makes it: a draw among the level's
        // rows, then the recordset moved there with the four labels bound.
        auto verbindung = std::make_shared<Connection>();
        verbindung->setConnectionString(Connection::connectionStringFor(datenbank));
        Recordset rs;
        rs.setActiveConnection(verbindung);
        rs.setSource(QStringLiteral("select * from fragen"));
        rs.setMaxRecords(Recordset::kMaxRows);
        if (verbindung->open() || rs.open())
            qFatal("cannot open %s", qPrintable(datenbank));
        QLabel frage, loesung, antwort1, antwort2;
        rs.bind(&frage, QStringLiteral("frage"));
        rs.bind(&loesung, QStringLiteral("loesung"));
        rs.bind(&antwort1, QStringLiteral("Antwort1"));
        rs.bind(&antwort2, QStringLiteral("Antwort2"));
        const int spalte = rs.fieldIndex(QStringLiteral("Stufe"));
        QVector<QVariant> stufen;
        for (int zeile = 0; zeile < rs.recordCount(); ++zeile)
            stufen.append(rs.valueAt(zeile, spalte));
        const QVector<QVector<int>> jeStufe = Spielregeln::zeilenJeStufe(stufen);
        FesterZufall zufall;
        const int wahlen = 10000;
        e.wert = median(9, [&] {
                     for (int i = 0; i < wahlen; ++i) {
                         const QVector<int> zeilen = jeStufe.value(2);
                         const int zeile = Spielregeln::waehleZeile(zeilen, zufall.next());
                         rs.moveFirst();
                         rs.move(zeile);
                     }
                 })
            * 1000.0 / wahlen;
        if (rs.value(QStringLiteral("Stufe")).toInt() != 2)
            qFatal("the choice missed level 2");
    }

    // The same in the game window, from the click on "Bestätigen" to the
    // level-2 question painted.
    Buehne buehne(buehnenOrdner(k, QStringLiteral("wahl")));
    buehne.waehleDatenbank(datenbank);
    Ergebnis fenster;
    fenster.wert = medianVon(9, [&] {
        Form2 *spiel = starteSpiel(zeigeHauptfenster());
        spiel->lblLoesung_Click();
        QCoreApplication::processEvents();
        merkeMalen();
        const double t = dauer([&] {
            klick(spiel->cmdOK);
            warteGezeigt([] { return Fenster::offen<Form2>(); });
        });
        if (spiel->stufe() != 2 || !spiel->spiel()->frage().contains(QLatin1String(" der Stufe 2:")))
            qFatal("the game did not go on to level 2");
        schliesseAlles();
        return t;
    });
    e.weitere.push_back({QStringLiteral("click on Bestaetigen to that question painted (window)"), fenster});
    return e;
}

Ergebnis editorOeffnen(Kontext &k, int n)
{
    const QString datenbank = k.fragen(n);
    Buehne buehne(buehnenOrdner(k, QStringLiteral("editor%1").arg(n)));
    buehne.waehleDatenbank(datenbank);
    Form1 *haupt = zeigeHauptfenster();
    Ergebnis e;
    if (n == 32767)
        e.zielFaktor = 3;
    imWechsel(
        9, e,
        [&] {
            Form3 *editor = nullptr;
            const double t = dauer([&] { editor = oeffneEditor(haupt); });
            if (editor->recordset()->recordCount() != n)
                qFatal("the editor shows %d rows, not %d", editor->recordset()->recordCount(), n);
            editor->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            return t;
        },
        [&] { return sqliteLesen(datenbank); });
    return e;
}

// What a shared machine does to any code: the slowest of as many steps of
// plain arithmetic, each as long as a median page step. A step held up by
// another process shows here as well as in the grid.
double leerlaufSpitze(int schritte, double schrittMs)
{
    volatile double summe = 0;
    const auto rechne = [&summe](long runden) {
        for (long i = 0; i < runden; ++i)
            summe = summe + 0.5 * static_cast<double>(i);
    };
    long runden = 1000;
    while (dauer([&] { rechne(runden); }) < schrittMs / 4)
        runden *= 2;
    runden = static_cast<long>(runden * schrittMs / median(7, [&] { rechne(runden); }));
    double spitze = 0;
    for (int i = 0; i < schritte; ++i)
        spitze = std::max(spitze, dauer([&] { rechne(runden); }));
    return spitze;
}

Ergebnis editorBlaettern(Kontext &k, int n)
{
    const QString datenbank = k.fragen(n);
    Buehne buehne(buehnenOrdner(k, QStringLiteral("blaettern%1").arg(n)));
    buehne.waehleDatenbank(datenbank);
    Form3 *editor = oeffneEditor(zeigeHauptfenster());
    QVector<double> gesamt, langsamste, mitte, leerlauf;
    int schritte = 0;
    for (int lauf = 0; lauf < 3; ++lauf) {
        const QVector<double> t = blaettereGrid(editor);
        double summe = 0;
        for (double s : t)
            summe += s;
        gesamt.append(summe);
        langsamste.append(*std::max_element(t.begin(), t.end()));
        mitte.append(median(t));
        schritte = static_cast<int>(t.size());
        leerlauf.append(leerlaufSpitze(schritte, mitte.last()));
    }
    Ergebnis e;
    e.wert = median(gesamt);
    Ergebnis schritt;
    schritt.wert = median(mitte);
    Ergebnis spitze;
    spitze.wert = median(langsamste);
    spitze.boden = median(leerlauf);
    spitze.zielWert = 16;
    e.weitere.push_back({QStringLiteral("one page step (median of %1 steps)").arg(schritte), schritt});
    e.weitere.push_back(
        {QStringLiteral("slowest page step, median of 3 passes (floor: as long plain arithmetic)"), spitze});
    return e;
}

const Anmeldung a1(QStringLiteral("main window: splash click to main window, 1000 entries (floor: bare window)"),
                   splashZumHauptfenster);
const Anmeldung a2(QStringLiteral("highscore: rebuild with 1000 entries (Aktualisieren)"), highscoreNeuAufbauen);
const Anmeldung a3(QStringLiteral("game: start click to 1st question, 15 rows (floor: sqlite3)"),
                   [](Kontext &k) { return spielStart(k, 15); });
const Anmeldung a4(QStringLiteral("game: start click to 1st question, 1,000 rows (floor: sqlite3)"),
                   [](Kontext &k) { return spielStart(k, 1000); });
const Anmeldung a5(QStringLiteral("game: start click to 1st question, 32,767 rows (floor: sqlite3)"),
                   [](Kontext &k) { return spielStart(k, 32767); });
const Anmeldung a6(QStringLiteral("game: worst-case choice, 1 row of the level among 32,767"), schwersteWahl);
const Anmeldung a7(QStringLiteral("editor: open, 15 rows (floor: sqlite3)"),
                   [](Kontext &k) { return editorOeffnen(k, 15); });
const Anmeldung a8(QStringLiteral("editor: open, 1,000 rows (floor: sqlite3)"),
                   [](Kontext &k) { return editorOeffnen(k, 1000); });
const Anmeldung a9(QStringLiteral("editor: open, 32,767 rows (floor: sqlite3)"),
                    [](Kontext &k) { return editorOeffnen(k, 32767); });
const Anmeldung a10(QStringLiteral("editor: grid paged top to bottom, 32,767 rows"),
                    [](Kontext &k) { return editorBlaettern(k, 32767); });
}
