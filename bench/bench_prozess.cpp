// Whole processes: the program's start up to its splash window, and the peak
// memory of a session, next to a process that only shows a bare Qt window.
// All of them are this benchmark started anew, so they load the same
// libraries as the program.

#include "bench.h"
#include "kind.h"

#include <QDir>
#include <QFile>

namespace {
using namespace Bench;

Ergebnis startZumSplash(Kontext &)
{
    QVector<double> start, leer, text, startGanz, leerGanz;
    for (int i = 0; i < 11; ++i) {
        const KindErgebnis s = starteKind({QStringLiteral("start")});
        const KindErgebnis l = starteKind({QStringLiteral("leer")});
        const KindErgebnis t = starteKind({QStringLiteral("text")});
        start.append(s.gezeigtMs);
        leer.append(l.gezeigtMs);
        text.append(t.gezeigtMs);
        startGanz.append(s.gesamtMs);
        leerGanz.append(l.gesamtMs);
    }
    Ergebnis e;
    e.zielFaktor = 1.3;
    e.wert = median(start);
    e.boden = median(leer);
    Ergebnis ganz;
    ganz.wert = median(startGanz);
    ganz.boden = median(leerGanz);
    e.weitere.push_back({QStringLiteral("whole process: start, window shown, closed, ended"), ganz});
    Ergebnis mitText;
    mitText.wert = e.wert;
    mitText.boden = median(text);
    e.weitere.push_back({QStringLiteral("floor with one line of text (font system started)"), mitText});
    return e;
}

// The application directory of a session: the default collection copied
// in, or a settings file naming the database.
QString sitzungsordner(Kontext &k, const QString &name, const QString &datenbank)
{
    const QString ordner = k.ordner() + QStringLiteral("/sitzung_") + name;
    QDir().mkpath(ordner);
    if (datenbank.isEmpty()) {
        QFile::remove(ordner + QStringLiteral("/Fragen.mdb"));
        if (!QFile::copy(QStringLiteral(KREIDOLIN_BUILT_FRAGEN), ordner + QStringLiteral("/Fragen.mdb")))
            qFatal("cannot copy the built Fragen.mdb");
        QFile::setPermissions(ordner + QStringLiteral("/Fragen.mdb"), QFile::ReadOwner | QFile::WriteOwner);
    } else {
        QFile ini(ordner + QStringLiteral("/Kreidolin.ini"));
        if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(ini.fileName()));
        ini.write(datenbank.toUtf8() + "\r\n");
    }
    return ordner;
}

Ergebnis spitzenspeicher(Kontext &k, const QString &name, const QString &datenbank, const QString &art)
{
    const QString ordner = sitzungsordner(k, name, datenbank);
    Ergebnis e;
    e.einheit = QStringLiteral("MB");
    imWechsel(
        3, e, [&] { return starteKind({QStringLiteral("sitzung"), ordner, art}).spitzeMb; },
        [] { return starteKind({QStringLiteral("leer")}).spitzeMb; });
    return e;
}

const Anmeldung a1(QStringLiteral("start: program start to splash shown (floor: bare window process)"),
                   startZumSplash);
const Anmeldung a2(QStringLiteral("memory: peak, game then editor, default collection (floor: bare window)"),
                   [](Kontext &k) {
                       return spitzenspeicher(k, QStringLiteral("standard"), QString(),
                                              QStringLiteral("nacheinander"));
                   });
const Anmeldung a3(QStringLiteral("memory: peak, game then editor, 32,767 rows (floor: bare window)"),
                   [](Kontext &k) {
                       Ergebnis e = spitzenspeicher(k, QStringLiteral("gross"), k.fragen(32767),
                                                    QStringLiteral("nacheinander"));
                       e.zielFaktor = 1.5;
                       return e;
                   });
const Anmeldung a4(QStringLiteral("memory: peak, editor open during the game, 32,767 rows (floor: bare window)"),
                   [](Kontext &k) {
                       Ergebnis e = spitzenspeicher(k, QStringLiteral("gross_neben"), k.fragen(32767),
                                                    QStringLiteral("nebeneinander"));
                       e.zielFaktor = 1.5;
                       return e;
                   });
}
