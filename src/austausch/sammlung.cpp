#include "austausch/sammlung.h"

#include "austausch/dateizugang.h"
#include "austausch/formate.h"
#include "store/connection.h"
#include "store/fragentabelle.h"
#include "store/questionfile.h"
#include "store/sqlitegrund.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

#include <sqlite3.h>

#include <memory>

namespace {
using namespace Austausch;

// Rows read for an export or a check: well beyond what a game can load, so
// that an oversized collection can still be looked at and saved elsewhere.
constexpr int kMaxLesen = 1'000'000;

QString text(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

// A statement that runs this long is read from something that never ends
// (a view that calls itself); it is stopped.
constexpr int kMaxSekunden = 60;

StoreError sqlFehler(const QString &pfad, sqlite3 *db)
{
    return StoreError(QStringLiteral("Die Sammlung %1 hat den Import abgelehnt: %2 Es wurde nichts übernommen.")
                          .arg(pfad, sqliteGrund(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)))));
}

int zuLange(void *frist)
{
    return static_cast<QDeadlineTimer *>(frist)->hasExpired() ? 1 : 0;
}

using Datenbank = std::unique_ptr<sqlite3, int (*)(sqlite3 *)>;
using Anweisung = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

StoreError oeffne(const QString &pfad, Datenbank &db, QDeadlineTimer &frist)
{
    if (const StoreError e = Dateizugang::nurDatei(pfad))
        return e;
    if (Connection::kindOf(pfad) == Connection::Kind::Jet)
        return StoreError(QStringLiteral("Die Sammlung %1 ist eine Access-Datei, die Kreidolin nur liest. Öffnen "
                                         "Sie sie im Editor und wandeln Sie sie um, dann kann sie Fragen aufnehmen.")
                              .arg(pfad));
    if (Connection::kindOf(pfad) != Connection::Kind::Sqlite)
        return StoreError(QStringLiteral("Die Datei %1 ist keine Fragendatenbank.").arg(pfad));
    sqlite3 *h = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(pfad).constData(), &h, SQLITE_OPEN_READWRITE, nullptr);
    db.reset(h);
    if (rc != SQLITE_OK)
        return sqlFehler(pfad, h);
    sqlite3_busy_timeout(h, 2000);
    sqlite3_progress_handler(h, 10000, zuLange, &frist);
    return {};
}

// The keys of the questions in the collection.
StoreError vorhandene(const QString &pfad, sqlite3 *db, QSet<QString> &keys, int &anzahl)
{
    sqlite3_stmt *s = nullptr;
    // One row beyond what a game can load is enough to say "full"; more is
    // never read (the table may be a view without end).
    const QByteArray sql = QStringLiteral("SELECT \"%1\" FROM \"%2\" LIMIT %3")
                               .arg(Fragentabelle::name(Fragentabelle::Spalte::Frage), Fragentabelle::tabelle())
                               .arg(kMaxZeilen + 1)
                               .toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr) != SQLITE_OK)
        return sqlFehler(pfad, db);
    static_assert(kMaxZeilen + 1 == 32768);
    const Anweisung guard(s, sqlite3_finalize);
    int rc;
    anzahl = 0;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        ++anzahl;
        keys.insert(schluessel(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)),
                                                 sqlite3_column_bytes(s, 0))));
    }
    return rc == SQLITE_DONE ? StoreError() : sqlFehler(pfad, db);
}

// The first field no file of the format can hold, as "Datensatz 7, Feld Frage: …".
QString unhaltbar(const Tabelle &tabelle)
{
    for (int r = 0; r < tabelle.size(); ++r) {
        for (int s = 0; s < tabelle[r].size(); ++s) {
            const QString z = fremdesZeichen(tabelle[r][s]);
            if (!z.isEmpty())
                return QStringLiteral("Datensatz %1, Feld %2: das Zeichen %3").arg(r + 1).arg(Fragentabelle::spalten().value(s), z);
        }
    }
    return {};
}
}

namespace Sammlung {
StoreError liesDatei(const QString &pfad, QVector<Rohzeile> &zeilen, QString &format, const Fortschritt &f,
                     QByteArray *roh)
{
    const Formate::Format *art = Formate::fuer(pfad);
    if (!art)
        return StoreError(QStringLiteral("Das Format der Datei %1 ist unbekannt; gelesen werden %2.")
                              .arg(pfad, Formate::endungen()));
    QByteArray bytes;
    if (const StoreError e = Dateizugang::lies(pfad, kMaxBytes, bytes))
        return e;
    if (roh)
        *roh = bytes;
    return art->lies(std::move(bytes), zeilen, &format, f);
}


StoreError lies(const QString &mdb, Tabelle &tabelle)
{
    tabelle.clear();
    if (const StoreError e = Dateizugang::nurDatei(mdb))
        return e;
    Connection c;
    c.setConnectionString(Connection::connectionStringFor(mdb));
    if (const StoreError e = c.open())
        return e;
    TableData daten;
    if (const StoreError e = c.readTable(Fragentabelle::tabelle(), daten, kMaxLesen))
        return e;
    QVector<int> position;
    if (const StoreError e = ordneKopf(daten.columns, position))
        return StoreError(QStringLiteral("Die Tabelle fragen in %1 passt nicht: %2").arg(mdb, e.text()));
    tabelle.reserve(daten.rows.size());
    for (const TableRow &r : daten.rows) {
        QStringList z;
        for (const int p : position)
            z << text(r.values.value(p));
        tabelle.append(z);
    }
    return {};
}

StoreError vorschau(const QString &quelle, const QString &ziel, Einlesen &ergebnis, const Fortschritt &fortschritt)
{
    ergebnis = Einlesen();
    QVector<Rohzeile> zeilen;
    QString format;
    if (const StoreError e = liesDatei(quelle, zeilen, format, fortschritt))
        return e;
    QSet<QString> keys;
    int anzahl = 0;
    if (QFileInfo::exists(ziel)) {
        Datenbank db(nullptr, sqlite3_close);
        QDeadlineTimer frist(kMaxSekunden * 1000);
        if (const StoreError e = oeffne(ziel, db, frist))
            return e;
        if (const StoreError e = vorhandene(ziel, db.get(), keys, anzahl))
            return e;
    }
    ergebnis = pruefeZeilen(zeilen, keys, qMax(0, kMaxZeilen - anzahl));
    ergebnis.format = format;
    return {};
}

StoreError fuegeEin(const QString &ziel, const QVector<Frage> &fragen, const Fortschritt &fortschritt)
{
    if (!QFileInfo::exists(ziel)) {
        QVector<FrageZeile> zeilen;
        zeilen.reserve(fragen.size());
        for (const Frage &f : fragen)
            zeilen.append({f.frage, f.loesung, f.antwort1, f.antwort2, f.stufe, QVariant()});
        return QuestionFile::erzeuge(ziel, zeilen);
    }
    Datenbank db(nullptr, sqlite3_close);
    QDeadlineTimer frist(kMaxSekunden * 1000);
    if (const StoreError e = oeffne(ziel, db, frist))
        return e;
    // A whole collection's new pages stay in memory until the commit instead
    // of being spilled into the file (and the journal synced) on the way.
    sqlite3_exec(db.get(), "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    // Taken before anything is read, so that no one writes between the look
    // for duplicates and the last row.
    if (sqlite3_exec(db.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return sqlFehler(ziel, db.get());
    auto zurueck = [&](StoreError e) {
        sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        return e;
    };
    QSet<QString> keys;
    int anzahl = 0;
    if (const StoreError e = vorhandene(ziel, db.get(), keys, anzahl))
        return zurueck(e);
    if (anzahl + fragen.size() > kMaxZeilen)
        return zurueck(StoreError(QStringLiteral("Die Sammlung %1 hätte danach mehr als %2 Fragen. Es wurde nichts "
                                                 "übernommen.").arg(ziel).arg(zahl(kMaxZeilen))));
    // Into an empty collection nothing can be there twice.
    for (qsizetype i = 0; !keys.isEmpty() && i < fragen.size(); ++i) {
        if (keys.contains(schluessel(fragen[i].frage)))
            return zurueck(StoreError(QStringLiteral("Die Frage aus Zeile %1 steht inzwischen schon in der Sammlung. "
                                                     "Es wurde nichts übernommen; bitte lesen Sie die Datei neu ein.")
                                          .arg(fragen[i].zeile)));
    }
    sqlite3_stmt *s = nullptr;
    const QByteArray einfuegenSql = QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (?, ?, ?, ?, ?)")
                                        .arg(Fragentabelle::tabelle(),
                                             Fragentabelle::spalten().join(QStringLiteral("\", \"")))
                                        .toUtf8();
    if (sqlite3_prepare_v2(db.get(), einfuegenSql.constData(), -1, &s, nullptr) != SQLITE_OK)
        return zurueck(sqlFehler(ziel, db.get()));
    Anweisung einfuegen(s, sqlite3_finalize);
    // The texts go in as the UTF-8 the file stores, encoded by Qt into one
    // buffer used for every row: SQLite would otherwise convert each UTF-16
    // value into a memory block of its own.
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray puffer;
    for (int i = 0; i < fragen.size(); ++i) {
        const Frage &f = fragen[i];
        const QString *texte[] = {&f.frage, &f.loesung, &f.antwort1, &f.antwort2};
        qsizetype noetig = 0;
        for (const QString *t : texte)
            noetig += utf8.requiredSpace(t->size());
        if (puffer.size() < noetig)
            puffer.resize(noetig);
        char *p = puffer.data();
        for (int t = 0; t < 4; ++t) {
            char *ende = utf8.appendToBuffer(p, *texte[t]);
            sqlite3_bind_text(s, t + 1, p, static_cast<int>(ende - p), SQLITE_STATIC);
            p = ende;
        }
        sqlite3_bind_int(s, 5, f.stufe);
        if (sqlite3_step(s) != SQLITE_DONE)
            return zurueck(sqlFehler(ziel, db.get()));
        sqlite3_reset(s);
        if (fortschritt && (i + 1) % 1024 == 0)
            fortschritt(QStringLiteral("Schreiben"), i + 1, fragen.size());
    }
    einfuegen.reset();
    if (sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return zurueck(sqlFehler(ziel, db.get()));
    return {};
}

StoreError exportiere(const QString &mdb, const QString &ziel, int *anzahl)
{
    const Formate::Format *art = Formate::fuer(ziel);
    if (!art)
        return StoreError(QStringLiteral("Das Format der Datei %1 ist unbekannt; geschrieben werden %2.")
                              .arg(ziel, Formate::endungen()));
    Tabelle tabelle;
    if (const StoreError e = lies(mdb, tabelle))
        return e;
    if (art->xml) {
        if (const QString wo = unhaltbar(tabelle); !wo.isEmpty())
            return StoreError(QStringLiteral("Die Datei %1 wurde nicht geschrieben: %2 kann in einer Datei im Format "
                                             "%3 nicht stehen. Bitte ändern Sie den Text im Editor.")
                                  .arg(ziel, wo, art->name));
    }
    QByteArray bytes;
    if (const StoreError e = art->schreibe(tabelle, bytes))
        return StoreError(QStringLiteral("Die Datei %1 wurde nicht geschrieben: %2").arg(ziel, e.text()));
    const int zeilen = tabelle.size();
    tabelle.clear();
    bytes.squeeze();
    const StoreError e = Dateizugang::schreibe(ziel, bytes, art->oeffnet);
    if (!e && anzahl)
        *anzahl = zeilen;
    return e;
}
}
