#include "store/fragenquelle.h"

#include "store/connection.h"
#include "store/fragentabelle.h"
#include "store/recordset.h"

#include <memory>

namespace Fragenquelle {

StoreError oeffne(Recordset &rec, const QString &pfad, Zugriff zugriff)
{
    auto verbindung = std::make_shared<Connection>();
    verbindung->setConnectionString(Connection::connectionStringFor(pfad));
    if (const StoreError e = verbindung->open()) {
        rec.close();
        return e;
    }
    const bool spielen = zugriff == Zugriff::Spielen;
    return rec.open(std::move(verbindung), Fragentabelle::tabelle(),
                    spielen ? Recordset::LockType::ReadOnly : Recordset::LockType::Optimistic,
                    spielen ? Recordset::kMaxRows : Recordset::kUnbegrenzt);
}
}
