#include "austausch/pruefung.h"

#include "austausch/sammlung.h"
#include "store/fragentabelle.h"

#include <QHash>
#include <QMap>

namespace Pruefung {
namespace {
using namespace Austausch;

QString zeilenText(const QVector<int> &zeilen)
{
    QStringList t;
    for (const int z : zeilen)
        t << QString::number(z);
    return t.join(QStringLiteral(", "));
}
}

bool Ergebnis::spielbar() const
{
    for (const Befund &b : befunde) {
        if (b.art == Art::LeereStufe || b.art == Art::ZuVieleZeilen)
            return false;
    }
    return true;
}

QString Ergebnis::bericht() const
{
    QString t = QStringLiteral("Die Sammlung hat %1 Fragen.\n\nFragen je Stufe:\n").arg(zahl(zeilen));
    for (int s = Fragentabelle::kErsteStufe; s <= Fragentabelle::kLetzteStufe; ++s)
        t += QStringLiteral("  Stufe %1: %2%3\n").arg(s, 2).arg(zahl(jeStufe[s])).arg(jeStufe[s] ? QString()
                                                                                               : QStringLiteral("  ← fehlt"));
    t += spielbar() ? QStringLiteral("\nEin Spiel kann mit dieser Sammlung bis zum Ende gespielt werden.\n")
                    : QStringLiteral("\nMit dieser Sammlung kann kein Spiel bis zum Ende gespielt werden.\n");
    if (befunde.isEmpty())
        return t + QStringLiteral("\nKeine Fehler gefunden.\n");
    t += QStringLiteral("\nGefunden:\n");
    for (const Befund &b : befunde) {
        t += QStringLiteral("• ") + b.text;
        if (!b.zeilen.isEmpty())
            t += QStringLiteral(" — Datensatz %1").arg(zeilenText(b.zeilen));
        t += QLatin1Char('\n');
    }
    return t;
}

Ergebnis pruefe(const Tabelle &tabelle)
{
    Ergebnis e;
    e.zeilen = tabelle.size();
    QVector<int> leer, gleich, ausserhalb;
    QHash<QString, QVector<int>> fragen;
    QStringList reihenfolge;
    for (int i = 0; i < tabelle.size(); ++i) {
        const QStringList &z = tabelle[i];
        const int nr = i + 1;
        bool luecke = false;
        for (int f = 0; f < 4; ++f)
            luecke = luecke || z.value(f).trimmed().isEmpty();
        if (luecke)
            leer << nr;
        if (!luecke && (gleichLautend(z.value(1), z.value(2)) || gleichLautend(z.value(1), z.value(3))
                        || gleichLautend(z.value(2), z.value(3))))
            gleich << nr;
        const int stufe = Fragentabelle::stufe(z.value(4));
        if (stufe)
            ++e.jeStufe[stufe];
        else
            ausserhalb << nr;
        const QString k = schluessel(z.value(0));
        if (k.isEmpty())
            continue;
        QVector<int> &wo = fragen[k];
        if (wo.size() == 1)
            reihenfolge << k;
        wo << nr;
    }
    QVector<int> fehlend;
    for (int s = Fragentabelle::kErsteStufe; s <= Fragentabelle::kLetzteStufe; ++s) {
        if (!e.jeStufe[s])
            fehlend << s;
    }
    if (!fehlend.isEmpty())
        e.befunde.append({Art::LeereStufe,
                          QStringLiteral("Keine Frage für Stufe %1: ein Spiel kommt über diese Stufe nicht hinaus")
                              .arg(zeilenText(fehlend)),
                          {}});
    if (tabelle.size() > kMaxZeilen)
        e.befunde.append({Art::ZuVieleZeilen,
                          QStringLiteral("Mehr als %1 Fragen (%2): so viele kann ein Spiel nicht laden")
                              .arg(zahl(kMaxZeilen)).arg(zahl(tabelle.size())),
                          {}});
    if (!ausserhalb.isEmpty())
        e.befunde.append({Art::StufeAusserhalb,
                          QStringLiteral("%1 Fragen mit einer Stufe, die keine ganze Zahl von %2 bis %3 ist; sie "
                                         "kommen im Spiel nie vor")
                              .arg(zahl(ausserhalb.size()))
                              .arg(Fragentabelle::kErsteStufe)
                              .arg(Fragentabelle::kLetzteStufe),
                          ausserhalb});
    if (!leer.isEmpty())
        e.befunde.append({Art::LeeresFeld,
                          QStringLiteral("%1 Fragen mit leerer Frage oder Antwort").arg(zahl(leer.size())), leer});
    if (!gleich.isEmpty())
        e.befunde.append({Art::GleicheAntworten,
                          QStringLiteral("%1 Fragen mit zwei gleichen Antworten").arg(zahl(gleich.size())), gleich});
    for (const QString &k : reihenfolge) {
        const QVector<int> &wo = fragen.value(k);
        e.befunde.append({Art::DoppelteFrage,
                          QStringLiteral("Die Frage „%1“ steht %2-mal in der Sammlung")
                              .arg(tabelle[wo[0] - 1].value(0).simplified().left(80))
                              .arg(wo.size()),
                          wo});
    }
    return e;
}

StoreError pruefeDatei(const QString &mdb, Ergebnis &ergebnis)
{
    Tabelle tabelle;
    if (const StoreError e = Sammlung::lies(mdb, tabelle))
        return e;
    ergebnis = pruefe(tabelle);
    return {};
}
}
