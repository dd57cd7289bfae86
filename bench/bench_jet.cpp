// Genuine Access collections: opening one through the child process, as the
// game does at its start, next to mdb-export reading the same table.

#include "bench.h"

#include "store/fragenquelle.h"
#include "store/connection.h"
#include "store/jetkonvertierung.h"
#include "store/jetleser.h"
#include "store/recordset.h"

#include <QFile>
#include <QProcess>

namespace {
using namespace Bench;

const QString kDaten = QStringLiteral(KREIDOLIN_JET_DATA "/");

StoreError oeffneSpiel(Recordset &rs, const QString &pfad)
{
    return Fragenquelle::oeffne(rs, pfad, Fragenquelle::Zugriff::Spielen);
}

// The floor: mdb-export reading the same table, whole process.
double mdbExportBoden(const QString &pfad)
{
    return median(9, [&] {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(QStringLiteral("mdb-export"), {pfad, QStringLiteral("fragen")});
        p.waitForFinished();
    });
}

Ergebnis oeffnen(const QString &datei, bool ersteFrage)
{
    JetLeser::setProgramm(QStringLiteral(KREIDOLIN_MDB_PROGRAMM));
    const QString pfad = kDaten + datei;
    Ergebnis e;
    quint32 zustand = 1;
    e.wert = median(9, [&] {
        Recordset rs;
        if (const StoreError f = oeffneSpiel(rs, pfad))
            qFatal("%s", qPrintable(f.text()));
        if (!ersteFrage)
            return;
        // The first question as the game chooses it: to the first row, k rows
        // on, until the row is of level 1.
        const int n = rs.recordCount();
        do {
            zustand = zustand * 1103515245u + 12345u;
            rs.moveFirst();
            rs.move(static_cast<int>((zustand >> 8) % static_cast<quint32>(n)));
        } while (rs.value(QStringLiteral("Stufe")).toInt() != 1);
    });
    e.boden = mdbExportBoden(pfad);
    return e;
}

Ergebnis konvertieren(Kontext &k)
{
    JetLeser::setProgramm(QStringLiteral(KREIDOLIN_MDB_PROGRAMM));
    const QString pfad = k.ordner() + QStringLiteral("/konvertiert.mdb");
    Ergebnis e;
    e.wert = median(5, [&] {
        QFile::remove(pfad);
        QFile::remove(pfad + QStringLiteral(".jet.bak"));
        QFile::copy(kDaten + QStringLiteral("fragen_jet4_big.mdb"), pfad);
        QFile::setPermissions(pfad, QFile::ReadOwner | QFile::WriteOwner);
        if (const StoreError f = JetKonvertierung::konvertiere(pfad))
            qFatal("%s", qPrintable(f.text()));
    });
    return e;
}

const Anmeldung a1(QStringLiteral("jet: open 45 rows via child (floor: mdb-export)"),
                   [](Kontext &) { return oeffnen(QStringLiteral("fragen_jet4.mdb"), false); });
const Anmeldung a2(QStringLiteral("jet: open 32,767 rows via child (floor: mdb-export)"),
                   [](Kontext &) { return oeffnen(QStringLiteral("fragen_jet4_big.mdb"), false); });
const Anmeldung a3(QStringLiteral("jet: open 32,767 rows + 1st question (floor: mdb-export)"),
                   [](Kontext &) { return oeffnen(QStringLiteral("fragen_jet4_big.mdb"), true); });
const Anmeldung a4(QStringLiteral("jet: convert 32,767 rows with backup"), konvertieren);
}
