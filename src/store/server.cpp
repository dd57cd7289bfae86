#include "store/server.h"

#include "store/connection.h"
#include "store/zeilenspeicher.h"

#include "basis/services.h"

#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace {
const QString kIdSpalte = QStringLiteral("ID");

QMutex g_sperre;
QHash<QString, QString> g_passwoerter;
QSet<QString> g_gefragt;

QString bezeichner(const QString &name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// Unquoted names fold to lower case on the server; the program names its
// tables without regard to case.
QString tabellenName(const QString &tabelle) { return bezeichner(tabelle.toLower()); }

// The server's first line without its severity ("ERROR:  ", "FEHLER:  ").
QString grundVon(const QSqlError &e)
{
    QString text = e.databaseText().trimmed();
    if (text.isEmpty())
        text = e.text().trimmed();
    text = text.section(QLatin1Char('\n'), 0, 0).trimmed();
    static const QRegularExpression stufe(QStringLiteral("^[A-ZÄÖÜ]+:\\s+"));
    return text.remove(stufe);
}

// libpq says so in English or, under a German locale, in German.
bool brauchtPasswort(const QString &grund)
{
    return grund.contains(QLatin1String("password"), Qt::CaseInsensitive)
        || grund.contains(QLatin1String("Passwort"), Qt::CaseInsensitive);
}

// A statement without a state of its own, or one of the classes the server
// uses for a connection it ends, means the connection is gone.
bool verbindungWeg(const QSqlError &e)
{
    const QString code = e.nativeErrorCode();
    return e.type() == QSqlError::ConnectionError || code.isEmpty() || code.startsWith(QLatin1String("08"))
        || code.startsWith(QLatin1String("57P"));
}

QString deklariert(const QMetaType &typ)
{
    switch (typ.id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return QStringLiteral("INTEGER");
    case QMetaType::Double:
        return QStringLiteral("REAL");
    default:
        return QStringLiteral("TEXT");
    }
}

// A whole number reads back as the file's do, as a 64-bit number; a null as
// no value at all.
QVariant wieDatei(const QVariant &v)
{
    if (v.isNull())
        return QVariant();
    if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::Short)
        return QVariant(v.toLongLong());
    return v;
}

int idSpalte(const QSqlRecord &r)
{
    for (int i = 0; i < r.count(); ++i) {
        if (r.fieldName(i).compare(kIdSpalte, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void fuelle(const QSqlQuery &q, TableRow &zeile)
{
    const QSqlRecord r = q.record();
    zeile.values.clear();
    for (int i = 0; i < r.count(); ++i)
        zeile.values.append(wieDatei(q.value(i)));
    const int id = idSpalte(r);
    zeile.rowId = id >= 0 ? q.value(id).toLongLong() : 0;
}

// The five columns as they were read, each compared null-safe: a row that
// differs in any of them was changed by someone else meanwhile.
QString wieVorher(const QStringList &spalten, const QVector<QVariant> &vorher, QVector<QVariant> &werte)
{
    QString bedingung = bezeichner(kIdSpalte) + QStringLiteral(" = ?");
    for (int i = 0; i < spalten.size() && i < vorher.size(); ++i) {
        if (spalten[i].compare(kIdSpalte, Qt::CaseInsensitive) == 0)
            continue;
        bedingung += QStringLiteral(" AND ") + bezeichner(spalten[i]) + QStringLiteral(" IS NOT DISTINCT FROM ?");
        werte << vorher[i];
    }
    return bedingung;
}

StoreError konflikt(const QString &was)
{
    return StoreError(QStringLiteral("Die Frage wurde inzwischen von jemand anderem geändert oder gelöscht; %1 "
                                     "Die Frage wird jetzt so angezeigt, wie sie auf dem Server steht.")
                          .arg(was),
                      StoreError::Art::Konflikt);
}
}

namespace Server {
StoreError verbinde(const QString &name, const ServerAdresse &a)
{
    QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                   : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    if (!db.isValid())
        return StoreError(QStringLiteral("Der PostgreSQL-Treiber von Qt fehlt (Paket libqt6sql6-psql)."));
    if (db.isOpen() && db.hostName() == a.host && db.port() == a.port && db.databaseName() == a.datenbank
        && db.userName() == a.benutzer)
        return {};
    db.close();
    db.setHostName(a.host);
    db.setPort(a.port);
    db.setDatabaseName(a.datenbank);
    db.setUserName(a.benutzer);
    // A server that does not answer is reported after a few seconds, not
    // after the system's minutes.
    db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=Kreidolin"));
    const QString schluessel = Serveradresse::text(a);
    QString passwort;
    bool bekannt = false;
    {
        QMutexLocker lock(&g_sperre);
        bekannt = g_passwoerter.contains(schluessel);
        passwort = g_passwoerter.value(schluessel);
    }
    db.setPassword(passwort);
    if (db.open())
        return {};
    QString grund = grundVon(db.lastError());
    if (brauchtPasswort(grund)) {
        bool fragen = false;
        {
            QMutexLocker lock(&g_sperre);
            g_passwoerter.remove(schluessel);
            fragen = !bekannt && !g_gefragt.contains(schluessel) && Services::passwoerter();
            g_gefragt.insert(schluessel);
        }
        const QString wer = a.benutzer.isEmpty() ? Serveradresse::kurz(a)
                                                 : a.benutzer + QStringLiteral(" auf ") + Serveradresse::kurz(a);
        if (fragen) {
            if (const std::optional<QString> neu = Services::passwoerter()->frage(wer)) {
                db.setPassword(*neu);
                if (db.open()) {
                    QMutexLocker lock(&g_sperre);
                    g_passwoerter.insert(schluessel, *neu);
                    return {};
                }
                grund = grundVon(db.lastError());
            }
        }
        return StoreError(QStringLiteral("Die Anmeldung am Server %1 ist fehlgeschlagen: %2")
                              .arg(Serveradresse::kurz(a), grund));
    }
    return StoreError(QStringLiteral("Der Server %1 ist nicht erreichbar: %2").arg(Serveradresse::kurz(a), grund),
                      StoreError::Art::Verbindung);
}

StoreError pruefe(const ServerAdresse &a)
{
    const QString name = QStringLiteral("kreidolin-pruefung");
    StoreError e = verbinde(name, a);
    if (!e) {
        QSqlQuery q;
        e = fuehreAus(q, name, a, QStringLiteral("SELECT count(*) FROM fragen"), {}, QStringLiteral("Fragen zu lesen"));
    }
    QSqlDatabase::removeDatabase(name);
    return e;
}

void vergissPasswoerter()
{
    QMutexLocker lock(&g_sperre);
    g_passwoerter.clear();
    g_gefragt.clear();
}

StoreError fehler(const QSqlError &e, const ServerAdresse &a, const QString &was)
{
    if (e.nativeErrorCode() == QLatin1String("42501"))
        return StoreError(QStringLiteral("Keine Berechtigung: Der Server %1 erlaubt dem Benutzer %2 nicht, %3.")
                              .arg(Serveradresse::kurz(a), a.benutzer, was));
    if (verbindungWeg(e))
        return StoreError(QStringLiteral("Die Verbindung zum Server %1 ist unterbrochen: %2")
                              .arg(Serveradresse::kurz(a), grundVon(e)),
                          StoreError::Art::Verbindung);
    return StoreError(
        QStringLiteral("Der Server %1 hat die Anfrage abgelehnt: %2").arg(Serveradresse::kurz(a), grundVon(e)));
}

StoreError fuehreAus(QSqlQuery &query, const QString &name, const ServerAdresse &a, const QString &sql,
                     const QVector<QVariant> &werte, const QString &was)
{
    for (int versuch = 0;; ++versuch) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        query = QSqlQuery(db);
        query.setForwardOnly(true);
        bool ok = query.prepare(sql);
        if (ok) {
            for (const QVariant &w : werte)
                query.addBindValue(w);
            ok = query.exec();
        }
        if (ok)
            return {};
        const StoreError e = fehler(query.lastError(), a, was);
        if (e.art() != StoreError::Art::Verbindung || versuch > 0)
            return e;
        query = QSqlQuery();
        db.close();
        if (const StoreError neu = verbinde(name, a))
            return neu;
    }
}

StoreError liesTabelle(const QString &name, const ServerAdresse &a, const QString &tabelle, TableData &out,
                       Zeilenspeicher *zeilen, int maxRows)
{
    const QString lesen = QStringLiteral("Fragen zu lesen");
    QSqlQuery q;
    const QString alle = QStringLiteral("SELECT * FROM %1").arg(tabellenName(tabelle));
    StoreError e = fuehreAus(q, name, a, alle + QStringLiteral(" ORDER BY ") + bezeichner(kIdSpalte), {}, lesen);
    // Without the key column the table is read in the server's order and
    // cannot be changed from here.
    if (e && q.lastError().nativeErrorCode() == QLatin1String("42703"))
        e = fuehreAus(q, name, a, alle, {}, lesen);
    if (e) {
        if (q.lastError().nativeErrorCode() == QLatin1String("42P01"))
            return StoreError(
                QStringLiteral("Die Datenbank %1 enthält keine Tabelle %2.").arg(Serveradresse::kurz(a), tabelle));
        return e;
    }
    const QSqlRecord r = q.record();
    for (int i = 0; i < r.count(); ++i) {
        out.columns << r.fieldName(i);
        out.declaredTypes << deklariert(r.field(i).metaType());
    }
    const int id = idSpalte(r);
    out.writable = id >= 0;
    Zeilenspeicher::Bauer bauer;
    qint64 anzahl = 0;
    while (q.next()) {
        if (anzahl++ >= maxRows)
            return StoreError(QStringLiteral("Die Tabelle %1 hat mehr als %2 Zeilen.").arg(tabelle).arg(maxRows));
        const qint64 rowId = id >= 0 ? q.value(id).toLongLong() : 0;
        if (!zeilen) {
            TableRow zeile;
            fuelle(q, zeile);
            out.rows.append(std::move(zeile));
            continue;
        }
        for (int i = 0; i < r.count(); ++i)
            bauer.wert(wieDatei(q.value(i)));
        zeilen->append(rowId, bauer.fertig());
    }
    if (q.lastError().isValid())
        return fehler(q.lastError(), a, lesen);
    return {};
}

StoreError liesZeile(const QString &name, const ServerAdresse &a, const QString &tabelle, qint64 id, TableRow &zeile,
                     bool &da)
{
    QSqlQuery q;
    if (const StoreError e = fuehreAus(q, name, a,
                                       QStringLiteral("SELECT * FROM %1 WHERE %2 = ?")
                                           .arg(tabellenName(tabelle), bezeichner(kIdSpalte)),
                                       {id}, QStringLiteral("Fragen zu lesen")))
        return e;
    da = q.next();
    if (da)
        fuelle(q, zeile);
    return {};
}

StoreError fuegeEin(const QString &name, const ServerAdresse &a, const QString &tabelle, const QStringList &spalten,
                    const QVector<QVariant> &werte, TableRow &gespeichert)
{
    QStringList namen, marken;
    for (const QString &s : spalten) {
        namen << bezeichner(s);
        marken << QStringLiteral("?");
    }
    QSqlQuery q;
    if (const StoreError e = fuehreAus(q, name, a,
                                       QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING *")
                                           .arg(tabellenName(tabelle), namen.join(QLatin1Char(',')),
                                                marken.join(QLatin1Char(','))),
                                       werte, QStringLiteral("Fragen hinzuzufügen")))
        return e;
    if (!q.next())
        return fehler(q.lastError(), a, QStringLiteral("Fragen hinzuzufügen"));
    fuelle(q, gespeichert);
    return {};
}

StoreError aendere(const QString &name, const ServerAdresse &a, const QString &tabelle, qint64 id,
                   const QStringList &spalten, const QVector<QVariant> &werte, const QStringList &vorherSpalten,
                   const QVector<QVariant> &vorher)
{
    QStringList setzen;
    for (const QString &s : spalten)
        setzen << bezeichner(s) + QStringLiteral(" = ?");
    QVector<QVariant> alle = werte;
    alle << id;
    const QString bedingung = wieVorher(vorherSpalten, vorher, alle);
    QSqlQuery q;
    if (const StoreError e = fuehreAus(q, name, a,
                                       QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                           .arg(tabellenName(tabelle), setzen.join(QLatin1Char(',')), bedingung),
                                       alle, QStringLiteral("Fragen zu ändern")))
        return e;
    if (q.numRowsAffected() != 1)
        return konflikt(QStringLiteral("Ihre Änderung wurde nicht gespeichert."));
    return {};
}

StoreError loesche(const QString &name, const ServerAdresse &a, const QString &tabelle, qint64 id,
                   const QStringList &vorherSpalten, const QVector<QVariant> &vorher)
{
    QVector<QVariant> werte{id};
    const QString bedingung = wieVorher(vorherSpalten, vorher, werte);
    QSqlQuery q;
    if (const StoreError e = fuehreAus(q, name, a,
                                       QStringLiteral("DELETE FROM %1 WHERE %2").arg(tabellenName(tabelle), bedingung),
                                       werte, QStringLiteral("Fragen zu löschen")))
        return e;
    if (q.numRowsAffected() != 1)
        return konflikt(QStringLiteral("sie wurde nicht gelöscht."));
    return {};
}
}
