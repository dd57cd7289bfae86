// kreidolin-fragen: question collections in and out of spreadsheets and
// Moodle, and the check of a collection, from the command line. Installed
// beside the program; the game itself takes no command line.
//
// Exit status 0: done (pruefen: the collection can be played through);
// 1: failed, rows refused, or (pruefen) not playable; 2: wrong call.

#include "austausch/abgleich.h"
#include "austausch/formate.h"
#include "store/fragentabelle.h"
#include "austausch/pruefung.h"
#include "austausch/sammlung.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

namespace {
QString hilfe()
{
    return QStringLiteral(
               "Aufruf:\n"
               "  kreidolin-fragen import [--trotzdem] QUELLE ZIEL.mdb\n"
               "  kreidolin-fragen import --abgleichen [--entfernen] QUELLE SAMMLUNG\n"
               "  kreidolin-fragen export QUELLE.mdb ZIEL\n"
               "  kreidolin-fragen pruefen DATEI.mdb\n"
               "  kreidolin-fragen --help\n"
               "\n"
               "Überträgt Fragen zwischen einer Kreidolin-Fragensammlung (.mdb) und Dateien anderer\n"
               "Programme und prüft Sammlungen. Das Format folgt der Dateiendung:\n")
           + Formate::hilfe()
           + QStringLiteral(
               "CSV und XLSX: die erste Zeile nennt die Spalten %3 (in beliebiger\n"
               "Reihenfolge); Stufe ist eine ganze Zahl von %4 bis %5.\n"
               "Gelesen werden nur gewöhnliche Dateien bis %1 MB mit höchstens %2 Zeilen.\n"
               "\n"
               "import   fügt die Fragen aus QUELLE der Sammlung ZIEL.mdb hinzu (legt sie an, wenn es\n"
               "         sie noch nicht gibt): alle oder keine. Abgelehnte Zeilen werden mit Nummer und\n"
               "         Grund genannt; dann wird nichts übernommen, es sei denn mit --trotzdem.\n"
               "import --abgleichen\n"
               "         macht die SAMMLUNG (Datei .mdb oder postgresql://server/datenbank?user=name)\n"
               "         der Datei gleich, in einem Schritt: Zeilen werden über die Spalte ID zugeordnet,\n"
               "         wo es sie gibt, sonst über den Fragetext; neue kommen hinzu, geänderte werden\n"
               "         geändert; Fragen, die in der Datei fehlen, löscht nur --entfernen.\n"
               "         Eine abgelehnte Zeile ändert nichts.\n"
               "export   schreibt alle Fragen der Sammlung in die Datei ZIEL (ersetzt sie als Ganzes,\n"
               "         erst wenn die neue Datei vollständig geschrieben und wieder gelesen ist).\n"
               "pruefen  nennt die Fragen je Stufe und alles, was ein Spiel verhindert oder auffällt.\n"
               "\n"
               "Rückgabewert: 0 erledigt (pruefen: spielbar), 1 Fehler, abgelehnte Zeilen oder nicht\n"
               "spielbar, 2 falscher Aufruf.\n")
               .arg(Austausch::kMaxBytes / (1024 * 1024))
               .arg(Austausch::zahl(Austausch::kMaxZeilen))
               .arg(Fragentabelle::spalten().join(QStringLiteral(", ")))
               .arg(Fragentabelle::kErsteStufe)
               .arg(Fragentabelle::kLetzteStufe);
}

void aus(FILE *ziel, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), ziel);
    std::fflush(ziel);
}

int falsch(const QString &grund)
{
    aus(stderr, QStringLiteral("kreidolin-fragen: %1\n„kreidolin-fragen --help“ zeigt den Aufruf.\n").arg(grund));
    return 2;
}

int fehler(const StoreError &e)
{
    aus(stderr, QStringLiteral("kreidolin-fragen: %1\n").arg(e.text()));
    return 1;
}

// A bar on the terminal while a long file is read or written; nothing when
// the output goes elsewhere.
class Balken {
public:
    Balken() : m_an(::isatty(STDERR_FILENO)) {}
    ~Balken() { schliesse(); }
    void operator()(const QString &schritt, qint64 getan, qint64 gesamt)
    {
        if (!m_an || gesamt <= 0)
            return;
        const int prozent = static_cast<int>(qBound<qint64>(qint64(0), getan * 100 / gesamt, qint64(100)));
        if (prozent == m_prozent && schritt == m_schritt)
            return;
        m_prozent = prozent;
        m_schritt = schritt;
        const int voll = prozent * 30 / 100;
        aus(stderr, QStringLiteral("\r%1 [%2%3] %4 %").arg(schritt, -10).arg(QString(voll, QLatin1Char('#')),
                                                                            QString(30 - voll, QLatin1Char('.')))
                        .arg(prozent, 3));
        m_sichtbar = true;
    }
    void schliesse()
    {
        if (m_sichtbar)
            aus(stderr, QStringLiteral("\r\033[K"));
        m_sichtbar = false;
    }

private:
    bool m_an;
    bool m_sichtbar = false;
    int m_prozent = -1;
    QString m_schritt;
};

int importiere(const QString &quelle, const QString &ziel, bool trotzdem)
{
    Balken balken;
    const Austausch::Fortschritt f = [&balken](const QString &s, qint64 a, qint64 b) { balken(s, a, b); };
    Austausch::Einlesen e;
    if (const StoreError err = Sammlung::vorschau(quelle, ziel, e, f))
        return balken.schliesse(), fehler(err);
    balken.schliesse();
    aus(stdout, Austausch::vorschauText(e));
    if (e.angenommen.isEmpty()) {
        aus(stderr, QStringLiteral("kreidolin-fragen: keine Frage zu übernehmen; die Sammlung bleibt, wie sie ist.%1\n")
                        .arg(e.abgelehnt.isEmpty() ? QString()
                                                   : QStringLiteral(" Geänderte Fragen übernimmt „import --abgleichen“.")));
        return 1;
    }
    if (!e.abgelehnt.isEmpty() && !trotzdem) {
        aus(stderr, QStringLiteral("kreidolin-fragen: %1 Zeilen abgelehnt; es wurde nichts übernommen. Mit "
                                   "--trotzdem werden die übrigen %2 Fragen übernommen.\n")
                        .arg(Austausch::zahl(e.abgelehnt.size())).arg(Austausch::zahl(e.angenommen.size())));
        return 1;
    }
    if (const StoreError err = Sammlung::fuegeEin(ziel, e.angenommen, f))
        return balken.schliesse(), fehler(err);
    balken.schliesse();
    aus(stdout, QStringLiteral("%1 Fragen in %2 übernommen.\n").arg(Austausch::zahl(e.angenommen.size())).arg(ziel));
    return 0;
}

// Makes the collection equal to the file: one line of summary, or the
// refused rows and nothing changed.
int gleicheAb(const QString &quelle, const QString &sammlung, bool entfernen)
{
    Abgleich::Plan plan;
    if (const StoreError err = Abgleich::gleiche(quelle, sammlung, entfernen, false, plan))
        return fehler(err);
    if (!plan.abgelehnt.isEmpty()) {
        for (const Austausch::Abgelehnt &a : plan.abgelehnt)
            aus(stderr, QStringLiteral("Zeile %1: %2\n").arg(a.zeile).arg(a.grund));
        aus(stderr, QStringLiteral("kreidolin-fragen: %1 Zeilen abgelehnt; die Sammlung wurde nicht geändert.\n")
                        .arg(Austausch::zahl(plan.abgelehnt.size())));
        return 1;
    }
    aus(stdout, Abgleich::zusammenfassung(plan)
                    + (plan.fehlend > 0 ? QStringLiteral(" (löschen mit --entfernen)\n") : QStringLiteral("\n")));
    return 0;
}
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        aus(stdout, hilfe());
        return 0;
    }
    const QString befehl = args.value(0);
    args = args.mid(1);
    if (befehl == QLatin1String("import")) {
        const bool trotzdem = args.removeAll(QStringLiteral("--trotzdem")) > 0;
        const bool abgleichen = args.removeAll(QStringLiteral("--abgleichen")) > 0;
        const bool entfernen = args.removeAll(QStringLiteral("--entfernen")) > 0;
        if (abgleichen && trotzdem)
            return falsch(QStringLiteral("--abgleichen ändert nur, wenn jede Zeile passt; --trotzdem gilt dafür nicht."));
        if (entfernen && !abgleichen)
            return falsch(QStringLiteral("--entfernen gilt nur mit --abgleichen."));
        if (abgleichen) {
            if (args.size() != 2)
                return falsch(QStringLiteral("import --abgleichen braucht QUELLE und SAMMLUNG."));
            return gleicheAb(args[0], args[1], entfernen);
        }
        if (args.size() != 2)
            return falsch(QStringLiteral("import braucht QUELLE und ZIEL.mdb."));
        return importiere(args[0], args[1], trotzdem);
    }
    if (befehl == QLatin1String("export")) {
        if (args.size() != 2)
            return falsch(QStringLiteral("export braucht QUELLE.mdb und ZIEL."));
        int anzahl = 0;
        if (const StoreError e = Sammlung::exportiere(args[0], args[1], &anzahl))
            return fehler(e);
        aus(stdout, QStringLiteral("%1 Fragen nach %2 geschrieben.\n").arg(Austausch::zahl(anzahl)).arg(args[1]));
        return 0;
    }
    if (befehl == QLatin1String("pruefen")) {
        if (args.size() != 1)
            return falsch(QStringLiteral("pruefen braucht genau eine DATEI."));
        Pruefung::Ergebnis ergebnis;
        if (const StoreError e = Pruefung::pruefeDatei(args[0], ergebnis))
            return fehler(e);
        aus(stdout, ergebnis.bericht());
        return ergebnis.spielbar() ? 0 : 1;
    }
    if (befehl.isEmpty())
        return falsch(QStringLiteral("Es fehlt der Befehl (import, export oder pruefen)."));
    return falsch(QStringLiteral("Unbekannter Befehl „%1“.").arg(befehl));
}
