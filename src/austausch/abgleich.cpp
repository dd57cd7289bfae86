#include "austausch/abgleich.h"

#include "austausch/csv.h"
#include "austausch/formate.h"
#include "austausch/moodle.h"
#include "austausch/sammlung.h"
#include "austausch/xlsx.h"
#include "store/connection.h"
#include "store/fragentabelle.h"
#include "store/server.h"
#include "store/serveradresse.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <memory>

namespace {
using namespace Austausch;
using Abgleich::Bestand;
using Abgleich::Plan;

// The statements of a matching import, built from the question table's one
// description; `zitat` quotes a name as the database wants it.
struct Anweisungen {
    QByteArray lesen, aendern, neu, entfernen;
};

Anweisungen anweisungen(const QString &zitat)
{
    QStringList spalten;
    QStringList gesetzt;
    for (const QString &name : Fragentabelle::spalten()) {
        spalten << zitat + name + zitat;
        gesetzt << zitat + name + zitat + QStringLiteral(" = ?");
    }
    const QString id = zitat + QStringLiteral("ID") + zitat;
    const QString tabelle = Fragentabelle::tabelle();
    const QString fragen = QStringLiteral("?, ").repeated(Fragentabelle::kSpaltenzahl - 1) + QStringLiteral("?");
    return {QStringLiteral("SELECT %1, %2 FROM %3").arg(id, spalten.join(QStringLiteral(", ")), tabelle).toUtf8(),
            QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?").arg(tabelle, gesetzt.join(QStringLiteral(", ")), id).toUtf8(),
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(tabelle, spalten.join(QStringLiteral(", ")), fragen)
                .toUtf8(),
            QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(tabelle, id).toUtf8()};
}

QVector<QString> texte(const Frage &f)
{
    return {f.frage, f.loesung, f.antwort1, f.antwort2};
}

bool gleich(const Frage &f, const Bestand &b)
{
    const QVector<QString> neu = texte(f);
    for (int i = 0; i < 4; ++i) {
        if (neu[i] != b.felder.value(i).trimmed())
            return false;
    }
    return Fragentabelle::stufe(b.felder.value(4)) == f.stufe;
}

// The IDs a CSV file gives its rows, by line; nothing for a file without the
// column. The other formats carry no ID and are matched by text.
QHash<int, qint64> csvIds(const QByteArray &bytes)
{
    QHash<int, qint64> ids;
    const QString text = Csv::dekodiere(bytes);
    QVector<Csv::Datensatz> saetze;
    if (Csv::zerlege(text, Csv::trenner(text), kMaxZeilen + 2, saetze) || saetze.isEmpty())
        return ids;
    qsizetype gefunden = -1;
    for (qsizetype i = 0; i < saetze[0].felder.size(); ++i) {
        if (saetze[0].felder[i].trimmed().compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            gefunden = i;
    }
    if (gefunden < 0)
        return ids;
    for (qsizetype i = 1; i < saetze.size(); ++i) {
        bool ok = false;
        const qint64 id = saetze[i].felder.value(gefunden).trimmed().toLongLong(&ok);
        if (ok && id > 0)
            ids.insert(saetze[i].zeile, id);
    }
    return ids;
}

StoreError liesQuelle(const QString &pfad, QVector<Rohzeile> &zeilen, QHash<int, qint64> &ids, QString &format)
{
    QByteArray bytes;
    if (const StoreError e = Sammlung::liesDatei(pfad, zeilen, format, {}, &bytes))
        return e;
    // Only the text table carries the rows' IDs.
    if (Formate::fuer(pfad) == Formate::fuer(QStringLiteral("ids.csv")))
        ids = csvIds(bytes);
    return {};
}

QVector<QVariant> werte(const Frage &f)
{
    return {f.frage, f.loesung, f.antwort1, f.antwort2, f.stufe};
}

StoreError zuViele(const QString &sammlung)
{
    return StoreError(QStringLiteral("Die Sammlung %1 hätte danach mehr als %2 Fragen. Es wurde nichts übernommen.")
                          .arg(sammlung, zahl(kMaxZeilen)));
}

int nachher(const QVector<Bestand> &bestand, const Plan &p)
{
    return static_cast<int>(bestand.size() - p.entfernt.size() + p.neu.size());
}

// The collection file: read and written under one write lock, so that no
// one changes it between the comparison and the last row.
StoreError gleicheDatei(const QString &pfad, const QVector<Rohzeile> &zeilen, const QHash<int, qint64> &ids,
                        bool entfernen, bool nurPlanen, Plan &plan)
{
    using Datenbank = std::unique_ptr<sqlite3, int (*)(sqlite3 *)>;
    if (Connection::kindOf(pfad) != Connection::Kind::Sqlite)
        return StoreError(QStringLiteral("Die Datei %1 ist keine Fragendatenbank, die Kreidolin schreiben kann.").arg(pfad));
    sqlite3 *h = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(pfad).constData(), &h, SQLITE_OPEN_READWRITE, nullptr);
    Datenbank db(h, sqlite3_close);
    const auto fehler = [&] {
        return StoreError(QStringLiteral("Die Sammlung %1 hat den Abgleich abgelehnt: %2. Es wurde nichts geändert.")
                              .arg(pfad, QString::fromUtf8(sqlite3_errmsg(h))));
    };
    if (rc != SQLITE_OK)
        return fehler();
    sqlite3_busy_timeout(h, 2000);
    if (sqlite3_exec(h, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return fehler();
    const auto zurueck = [&](StoreError e) {
        sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
        return e;
    };
    QVector<Bestand> bestand;
    sqlite3_stmt *s = nullptr;
    const Anweisungen sql = anweisungen(QString());
    if (sqlite3_prepare_v2(h, sql.lesen.constData(), -1, &s, nullptr) != SQLITE_OK)
        return zurueck(fehler());
    int schritt;
    while ((schritt = sqlite3_step(s)) == SQLITE_ROW) {
        Bestand b{sqlite3_column_int64(s, 0), {}};
        for (int i = 1; i <= 5; ++i)
            b.felder << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, i)),
                                          sqlite3_column_bytes(s, i));
        bestand.append(b);
    }
    sqlite3_finalize(s);
    if (schritt != SQLITE_DONE)
        return zurueck(fehler());
    const QString format = plan.format;
    plan = Abgleich::plane(zeilen, ids, bestand, entfernen);
    plan.format = format;
    if (!plan.abgelehnt.isEmpty() || nurPlanen || !plan.etwas())
        return zurueck({});
    if (nachher(bestand, plan) > kMaxZeilen)
        return zurueck(zuViele(pfad));
    const auto schreibe = [&](const char *sql, const Frage *f, qint64 id) {
        sqlite3_stmt *a = nullptr;
        if (sqlite3_prepare_v2(h, sql, -1, &a, nullptr) != SQLITE_OK)
            return false;
        int n = 1;
        if (f) {
            const QVector<QString> t = texte(*f);
            for (const QString &x : t) {
                const QByteArray u = x.toUtf8();
                sqlite3_bind_text(a, n++, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
            }
            sqlite3_bind_int(a, n++, f->stufe);
        }
        if (id)
            sqlite3_bind_int64(a, n, id);
        const bool ok = sqlite3_step(a) == SQLITE_DONE;
        sqlite3_finalize(a);
        return ok;
    };
    for (const auto &[id, f] : plan.geaendert) {
        if (!schreibe(sql.aendern.constData(), &f, id))
            return zurueck(fehler());
    }
    for (const Frage &f : plan.neu) {
        if (!schreibe(sql.neu.constData(), &f, 0))
            return zurueck(fehler());
    }
    for (const qint64 id : plan.entfernt) {
        if (!schreibe(sql.entfernen.constData(), nullptr, id))
            return zurueck(fehler());
    }
    if (sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return zurueck(fehler());
    return {};
}

// The server: one transaction with the table locked against other writers;
// a login without the right to change questions is refused by the server.
StoreError gleicheServer(const ServerAdresse &a, const QString &sammlung, const QVector<Rohzeile> &zeilen,
                         const QHash<int, qint64> &ids, bool entfernen, bool nurPlanen, Plan &plan)
{
    const QString name = QStringLiteral("kreidolin-abgleich");
    if (const StoreError e = Server::verbinde(name, a))
        return e;
    QSqlDatabase db = QSqlDatabase::database(name, false);
    const QString was = QStringLiteral("Fragen zu ändern");
    QSqlQuery q(db);
    if (!db.transaction())
        return Server::fehler(db.lastError(), a, was);
    const auto zurueck = [&](StoreError e) {
        db.rollback();
        return e;
    };
    const Anweisungen sql = anweisungen(QStringLiteral("\""));
    const auto fuehreAus = [&](const QByteArray &anweisung, const QVector<QVariant> &w) {
        if (!q.prepare(QString::fromUtf8(anweisung)))
            return false;
        for (const QVariant &v : w)
            q.addBindValue(v);
        return q.exec();
    };
    // Another editor's lock is waited for a while, never for ever.
    if (!q.exec(QStringLiteral("SET LOCAL lock_timeout = '10s'"))
        || !q.exec(QStringLiteral("LOCK TABLE %1 IN %2 MODE")
                       .arg(Fragentabelle::tabelle(),
                            nurPlanen ? QStringLiteral("ACCESS SHARE") : QStringLiteral("SHARE ROW EXCLUSIVE")))
        || !q.exec(QString::fromUtf8(sql.lesen)))
        return zurueck(Server::fehler(q.lastError(), a, nurPlanen ? QStringLiteral("Fragen zu lesen") : was));
    QVector<Bestand> bestand;
    while (q.next()) {
        Bestand b{q.value(0).toLongLong(), {}};
        for (int i = 1; i <= 5; ++i)
            b.felder << q.value(i).toString();
        bestand.append(b);
    }
    const QString format = plan.format;
    plan = Abgleich::plane(zeilen, ids, bestand, entfernen);
    plan.format = format;
    if (!plan.abgelehnt.isEmpty() || nurPlanen || !plan.etwas())
        return zurueck({});
    if (nachher(bestand, plan) > kMaxZeilen)
        return zurueck(zuViele(sammlung));
    for (const auto &[id, f] : plan.geaendert) {
        if (!fuehreAus(sql.aendern, werte(f) << id))
            return zurueck(Server::fehler(q.lastError(), a, was));
    }
    for (const Frage &f : plan.neu) {
        if (!fuehreAus(sql.neu, werte(f)))
            return zurueck(Server::fehler(q.lastError(), a, QStringLiteral("Fragen hinzuzufügen")));
    }
    for (const qint64 id : plan.entfernt) {
        if (!fuehreAus(sql.entfernen, {id}))
            return zurueck(Server::fehler(q.lastError(), a, QStringLiteral("Fragen zu löschen")));
    }
    if (!db.commit())
        return zurueck(Server::fehler(db.lastError(), a, was));
    return {};
}
}

namespace Abgleich {
Plan plane(const QVector<Rohzeile> &zeilen, const QHash<int, qint64> &ids, const QVector<Bestand> &bestand,
           bool entfernen)
{
    Plan p;
    // The file's own rules (empty fields, levels, a question twice); the
    // collection's questions are what the file is matched against, not
    // duplicates of it.
    const Einlesen e = pruefeZeilen(zeilen, {}, kMaxZeilen);
    p.abgelehnt = e.abgelehnt;
    QHash<qint64, int> nachId;
    QMultiHash<QString, int> nachText;
    for (int i = 0; i < bestand.size(); ++i) {
        nachId.insert(bestand[i].id, i);
        nachText.insert(schluessel(bestand[i].felder.value(0)), i);
    }
    QVector<bool> getroffen(bestand.size(), false);
    const auto frei = [&](int i) { return i >= 0 && !getroffen[i]; };
    for (const Frage &f : e.angenommen) {
        int treffer = -1;
        const auto id = ids.constFind(f.zeile);
        if (id != ids.constEnd())
            treffer = nachId.value(*id, -1);
        if (!frei(treffer)) {
            treffer = -1;
            const QList<int> kandidaten = nachText.values(schluessel(f.frage));
            for (auto k = kandidaten.crbegin(); k != kandidaten.crend() && treffer < 0; ++k) {
                if (frei(*k))
                    treffer = *k; // values() lists the last inserted first
            }
        }
        if (treffer < 0) {
            p.neu.append(f);
            continue;
        }
        getroffen[treffer] = true;
        if (gleich(f, bestand[treffer]))
            ++p.unveraendert;
        else
            p.geaendert.append({bestand[treffer].id, f});
    }
    for (int i = 0; i < bestand.size(); ++i) {
        if (getroffen[i])
            continue;
        if (entfernen)
            p.entfernt.append(bestand[i].id);
        else
            ++p.fehlend;
    }
    return p;
}

QString zusammenfassung(const Plan &p)
{
    QString text = QStringLiteral("%1 geändert, %2 neu, %3 entfernt, %4 unverändert")
                       .arg(zahl(p.geaendert.size()), zahl(p.neu.size()), zahl(p.entfernt.size()), zahl(p.unveraendert));
    if (p.fehlend > 0)
        text += QStringLiteral("; %1 Fragen der Sammlung fehlen in der Datei und bleiben erhalten")
                    .arg(zahl(p.fehlend));
    return text;
}

StoreError gleiche(const QString &quelle, const QString &sammlung, bool entfernen, bool nurPlanen, Plan &plan)
{
    plan = Plan();
    QVector<Rohzeile> zeilen;
    QHash<int, qint64> ids;
    if (const StoreError e = liesQuelle(quelle, zeilen, ids, plan.format))
        return e;
    if (Serveradresse::istServer(sammlung)) {
        QString grund;
        const std::optional<ServerAdresse> a = Serveradresse::zerlege(sammlung, &grund);
        if (!a)
            return StoreError(QStringLiteral("Die Serveradresse %1 ist ungültig: %2").arg(sammlung, grund));
        return gleicheServer(*a, sammlung, zeilen, ids, entfernen, nurPlanen, plan);
    }
    if (!QFileInfo::exists(sammlung))
        return StoreError(QStringLiteral("Die Sammlung %1 gibt es nicht; eine neue Sammlung legt „import“ ohne "
                                         "--abgleichen an.").arg(sammlung));
    return gleicheDatei(sammlung, zeilen, ids, entfernen, nurPlanen, plan);
}
}
