#pragma once

// Shared by the exchange-format targets: the questions a file gives, as
// rows to write again, and the check that a second reading gives them back.

#include "austausch/austausch.h"
#include "pruefe.h"

inline Austausch::Tabelle alsTabelle(const QVector<Austausch::Frage> &fragen)
{
    Austausch::Tabelle t;
    for (const Austausch::Frage &f : fragen)
        t << QStringList{f.frage, f.loesung, f.antwort1, f.antwort2, QString::number(f.stufe)};
    return t;
}

inline void gleich(const QVector<Austausch::Frage> &a, const QVector<Austausch::Frage> &b, bool leerzeichenEgal)
{
    auto norm = [leerzeichenEgal](const QString &s) { return leerzeichenEgal ? s.simplified() : s; };
    pruefe(a.size() == b.size());
    for (int i = 0; i < a.size(); ++i) {
        pruefe(norm(a[i].frage) == norm(b[i].frage) && norm(a[i].loesung) == norm(b[i].loesung)
               && norm(a[i].antwort1) == norm(b[i].antwort1) && norm(a[i].antwort2) == norm(b[i].antwort2)
               && a[i].stufe == b[i].stufe);
    }
}
