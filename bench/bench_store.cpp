// The question store: opening the table and drawing rows as the game does.

#include "bench.h"

#include "store/fragenquelle.h"
#include "store/connection.h"
#include "store/recordset.h"

#include <QRandomGenerator>

namespace {
using namespace Bench;

void oeffne(Recordset &rs, const QString &pfad)
{
    Fragenquelle::oeffne(rs, pfad, Fragenquelle::Zugriff::Spielen);
}

Ergebnis oeffnen(Kontext &k, int n)
{
    const QString pfad = k.fragen(n);
    Ergebnis e;
    imWechsel(9, e, [&] { return dauer([&] {
                              Recordset rs;
                              oeffne(rs, pfad);
                          }); },
              [&] { return sqliteLesen(pfad); });
    return e;
}

Ergebnis ziehen(Kontext &k, int n)
{
    Recordset rs;
    oeffne(rs, k.fragen(n));
    const int zuege = 100000;
    Ergebnis e;
    e.einheit = QStringLiteral("us");
    QRandomGenerator zufall(42);
    // One draw as the game makes it: to the first row, k rows on, read the level.
    e.wert = median(5, [&] {
                 int summe = 0;
                 for (int i = 0; i < zuege; ++i) {
                     rs.moveFirst();
                     rs.move(static_cast<int>(zufall.bounded(n)));
                     summe += rs.value(QStringLiteral("Stufe")).toInt();
                 }
                 if (summe < 0)
                     std::abort();
             })
        * 1000.0 / zuege;
    return e;
}

const Anmeldung a1(QStringLiteral("store: open table, 15 rows (floor: sqlite3 reads it)"),
                   [](Kontext &k) { return oeffnen(k, 15); });
const Anmeldung a2(QStringLiteral("store: open table, 1,000 rows (floor: sqlite3 reads it)"),
                   [](Kontext &k) { return oeffnen(k, 1000); });
const Anmeldung a3(QStringLiteral("store: open table, 32,767 rows (floor: sqlite3 reads it)"),
                   [](Kontext &k) { return oeffnen(k, 32767); });
const Anmeldung a4(QStringLiteral("store: one random row drawn and read, 15 rows"),
                   [](Kontext &k) { return ziehen(k, 15); });
const Anmeldung a5(QStringLiteral("store: one random row drawn and read, 1,000 rows"),
                   [](Kontext &k) { return ziehen(k, 1000); });
const Anmeldung a6(QStringLiteral("store: one random row drawn and read, 32,767 rows"),
                   [](Kontext &k) { return ziehen(k, 32767); });
}
