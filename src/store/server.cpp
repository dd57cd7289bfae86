#include "store/server.h"

#include "store/connection.h"
#include "store/serverwache.h"
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
#include <QThread>

#include <libpq-fe.h>
#include <poll.h>

#include <functional>
#include <vector>

namespace {
const QString kIdSpalte = QStringLiteral("ID");

// A connection is made within kVerbindenFrist, a statement answered within
// kAntwortFrist or given up; the server itself ends a statement after
// kServerFrist (a held lock), so that its own reason arrives first.
constexpr int kVerbindenFrist = 3000;
constexpr int kServerFrist = 4000;
constexpr int kAntwortFrist = 6000;

// Set at every connection, so that nothing a login carries (ALTER ROLE …
// SET, which a pupil may do to the room's shared login) reaches the
// program: the start-up packet's settings override the login's.
const QString kEinstellungen =
    QStringLiteral("-c default_transaction_read_only=off -c search_path=public -c statement_timeout=%1 "
                   "-c lock_timeout=0 -c idle_session_timeout=0 -c idle_in_transaction_session_timeout=0")
        .arg(kServerFrist);

// The last statement on this thread was given up by the client's watch.
thread_local bool t_zeitUm = false;

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

// The server's own words, a line under the program's German sentence.
QString detail(const QString &grund)
{
    return grund.isEmpty() ? QString() : QStringLiteral("\r\nMeldung des Servers: ") + grund;
}

StoreError keineAntwort(const ServerAdresse &a)
{
    return StoreError(QStringLiteral("Der Server %1 hat nicht innerhalb von %2 Sekunden geantwortet. Bitte versuchen "
                                     "Sie es später noch einmal; antwortet er weiter nicht, verständigen Sie den "
                                     "Administrator.")
                          .arg(Serveradresse::kurz(a))
                          .arg(kAntwortFrist / 1000),
                      StoreError::Art::Verbindung);
}

// libpq's own short connection answers one statement in time. Qt's driver
// sends its first statements right after connecting and waits for them
// without a limit; a server that completes the start-up but answers
// nothing would hold the window there. A refused login or a closed port is
// left to the driver, which reports it.
bool antwortet(const ServerAdresse &a, const QString &passwort)
{
    const QByteArray host = a.host.toUtf8(), port = QByteArray::number(a.port), db = a.datenbank.toUtf8(),
                     user = a.benutzer.toUtf8(), pw = passwort.toUtf8(),
                     frist = QByteArray::number(kVerbindenFrist / 1000), optionen = kEinstellungen.toUtf8();
    std::vector<const char *> namen{"host", "port", "dbname", "connect_timeout", "options"};
    std::vector<const char *> werte{host.constData(), port.constData(), db.constData(), frist.constData(),
                                    optionen.constData()};
    if (!user.isEmpty()) {
        namen.push_back("user");
        werte.push_back(user.constData());
    }
    if (!pw.isEmpty()) {
        namen.push_back("password");
        werte.push_back(pw.constData());
    }
    namen.push_back(nullptr);
    werte.push_back(nullptr);
    PGconn *c = PQconnectStartParams(namen.data(), werte.data(), 0);
    const QDeadlineTimer ende(kVerbindenFrist);
    bool zeitUm = false;
    const auto warte = [&](bool schreiben) {
        pollfd p{PQsocket(c), static_cast<short>(schreiben ? POLLOUT : POLLIN), 0};
        zeitUm = ::poll(&p, 1, static_cast<int>(ende.remainingTime())) == 0;
        return !zeitUm;
    };
    bool ok = c && PQstatus(c) != CONNECTION_BAD;
    PostgresPollingStatusType s = PGRES_POLLING_WRITING;
    while (ok && s != PGRES_POLLING_OK && s != PGRES_POLLING_FAILED) {
        ok = warte(s == PGRES_POLLING_WRITING);
        if (ok)
            s = PQconnectPoll(c);
    }
    if (!ok || s == PGRES_POLLING_FAILED) {
        PQfinish(c);
        return !zeitUm;
    }
    ok = PQsendQuery(c, "SELECT 1") == 1;
    while (ok) {
        if (PQisBusy(c)) {
            ok = warte(false) && PQconsumeInput(c) == 1;
            continue;
        }
        PGresult *r = PQgetResult(c);
        if (!r)
            break;
        PQclear(r);
    }
    PQfinish(c);
    return !zeitUm;
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
    db.setConnectOptions(QStringLiteral("connect_timeout=%1;application_name=Kreidolin;").arg(kVerbindenFrist / 1000)
                         + QStringLiteral("options='%1'").arg(kEinstellungen));
    const QString schluessel = Serveradresse::text(a);
    QString passwort;
    bool bekannt = false;
    {
        QMutexLocker lock(&g_sperre);
        bekannt = g_passwoerter.contains(schluessel);
        passwort = g_passwoerter.value(schluessel);
    }
    db.setPassword(passwort);
    if (!antwortet(a, passwort))
        return keineAntwort(a);
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
                if (!antwortet(a, *neu))
                    return keineAntwort(a);
                if (db.open()) {
                    QMutexLocker lock(&g_sperre);
                    g_passwoerter.insert(schluessel, *neu);
                    return {};
                }
                grund = grundVon(db.lastError());
            }
        }
        return StoreError(QStringLiteral("Die Anmeldung am Server %1 ist fehlgeschlagen. Bitte prüfen Sie Benutzer "
                                         "und Passwort.").arg(Serveradresse::kurz(a))
                          + detail(grund));
    }
    return StoreError(QStringLiteral("Der Server %1 ist nicht erreichbar. Bitte prüfen Sie, ob er läuft und ob dieser "
                                     "PC ihn im Netz erreicht.").arg(Serveradresse::kurz(a))
                          + detail(grund),
                      StoreError::Art::Verbindung);
}

StoreError pruefe(const ServerAdresse &a)
{
    const QString name = QStringLiteral("kreidolin-pruefung");
    StoreError e = verbinde(name, a);
    if (!e) {
        QSqlQuery q;
        e = fuehreAus(q, name, a, QStringLiteral("SELECT count(*) FROM fragen"), {}, QStringLiteral("Fragen zu lesen"),
                      true);
        q = QSqlQuery();
    }
    QSqlDatabase::removeDatabase(name);
    return e;
}

QString grund(const QSqlError &e) { return grundVon(e); }

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
    if (e.nativeErrorCode() == QLatin1String("57014"))
        return StoreError(QStringLiteral("Der Server %1 hat die Anfrage nach %2 Sekunden abgebrochen, weil sie nicht "
                                         "fertig wurde (etwa weil jemand die Tabelle gesperrt hält). Bitte versuchen "
                                         "Sie es später noch einmal.")
                              .arg(Serveradresse::kurz(a))
                              .arg(kServerFrist / 1000));
    if (verbindungWeg(e))
        return StoreError(QStringLiteral("Die Verbindung zum Server %1 ist unterbrochen. Bitte versuchen Sie es gleich "
                                         "noch einmal.").arg(Serveradresse::kurz(a))
                              + detail(grundVon(e)),
                          StoreError::Art::Verbindung);
    return StoreError(QStringLiteral("Der Server %1 lehnte es ab, %2.").arg(Serveradresse::kurz(a), was)
                      + detail(grundVon(e)));
}

StoreError fuehreAus(QSqlQuery &query, const QString &name, const ServerAdresse &a, const QString &sql,
                     const QVector<QVariant> &werte, const QString &was, bool wiederholbar)
{
    // One limit for the whole call, a second attempt included.
    ServerWache wache(kAntwortFrist);
    t_zeitUm = false;
    for (int versuch = 0;; ++versuch) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        wache.beobachte(db);
        query = QSqlQuery(db);
        query.setForwardOnly(true);
        bool ok = true;
        if (werte.isEmpty()) {
            ok = query.exec(sql);
        } else if ((ok = query.prepare(sql))) {
            for (const QVariant &w : werte)
                query.addBindValue(w);
            ok = query.exec();
        }
        if (ok)
            return {};
        if (wache.abgelaufen()) {
            t_zeitUm = true;
            query = QSqlQuery();
            db.close();
            return keineAntwort(a);
        }
        const StoreError e = fehler(query.lastError(), a, was);
        if (e.art() != StoreError::Art::Verbindung || versuch > 0 || !wiederholbar)
            return e;
        query = QSqlQuery();
        db.close();
        if (const StoreError neu = verbinde(name, a))
            return neu;
    }
}

// A change to the collection in a transaction of its own whose number is
// read first: nimm takes the statement's result before the commit, and
// nachgeprueft says the outcome was learnt from the server after a reconnect.
static StoreError schreibe(const QString &name, const ServerAdresse &a, const QString &sql, const QVector<QVariant> &werte,
                    const QString &was, const std::function<void(QSqlQuery &)> &nimm, bool &nachgeprueft)
{
    nachgeprueft = false;
    for (int versuch = 0;; ++versuch) {
        QSqlQuery q;
        const auto schritt = [&](const QString &s, const QVector<QVariant> &w) {
            return fuehreAus(q, name, a, s, w, was, false);
        };
        QString nummer;
        bool beimCommit = false;
        StoreError e = schritt(QStringLiteral("BEGIN"), {});
        if (!e && !(e = schritt(QStringLiteral("SELECT txid_current()"), {})) && q.next())
            nummer = q.value(0).toString();
        if (!e)
            e = schritt(sql, werte);
        if (!e) {
            nimm(q);
            beimCommit = true;
            e = schritt(QStringLiteral("COMMIT"), {});
        }
        if (!e)
            return {};
        if (e.art() != StoreError::Art::Verbindung) {
            QSqlQuery zurueck;
            fuehreAus(zurueck, name, a, QStringLiteral("ROLLBACK"), {}, was);
            return e;
        }
        const bool zeitUm = t_zeitUm;
        if (!beimCommit) {
            // Nothing was committed: the server rolls back what it had.
            if (zeitUm || versuch > 0)
                return e;
            q = QSqlQuery();
            if (const StoreError neu = verbinde(name, a))
                return neu;
            continue;
        }
        // The commit's answer did not arrive: the server knows whether it
        // committed, and only a refused transaction is run again.
        const QString ungewiss = QStringLiteral("Die Verbindung zum Server %1 brach beim Speichern ab; ob es "
                                                "gelang, %2, ließ sich nicht feststellen. Bitte prüfen Sie nach dem "
                                                "Öffnen der Sammlung, ob die Frage so dasteht, bevor Sie noch einmal "
                                                "speichern.")
                                     .arg(Serveradresse::kurz(a), was);
        q = QSqlQuery();
        if (zeitUm || nummer.isEmpty() || verbinde(name, a))
            return StoreError(ungewiss + detail(e.text()), StoreError::Art::Verbindung);
        QString stand;
        for (int frage = 0; frage < 10; ++frage) {
            if (schritt(QStringLiteral("SELECT txid_status(?)"), {nummer.toLongLong()}) || !q.next()) {
                stand.clear();
                break;
            }
            stand = q.value(0).toString();
            if (stand != QLatin1String("in progress"))
                break;
            QThread::msleep(200);
        }
        if (stand == QLatin1String("committed")) {
            nachgeprueft = true;
            return {};
        }
        if (stand != QLatin1String("aborted") || versuch > 0)
            return StoreError(ungewiss, StoreError::Art::Verbindung);
    }
}

StoreError liesTabelle(const QString &name, const ServerAdresse &a, const QString &tabelle, TableData &out,
                       Zeilenspeicher *zeilen, int maxRows)
{
    const QString lesen = QStringLiteral("Fragen zu lesen");
    QSqlQuery q;
    const QString alle = QStringLiteral("SELECT * FROM %1").arg(tabellenName(tabelle));
    StoreError e =
        fuehreAus(q, name, a, alle + QStringLiteral(" ORDER BY ") + bezeichner(kIdSpalte), {}, lesen, true);
    // Without the key column the table is read in the server's order and
    // cannot be changed from here.
    if (e && q.lastError().nativeErrorCode() == QLatin1String("42703"))
        e = fuehreAus(q, name, a, alle, {}, lesen, true);
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
    // The rows arrive one by one while they are taken.
    ServerWache wache(kAntwortFrist);
    wache.beobachte(QSqlDatabase::database(name, false));
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
    if (wache.abgelaufen())
        return keineAntwort(a);
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
                                       {id}, QStringLiteral("Fragen zu lesen"), true))
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
    const QString was = QStringLiteral("Fragen hinzuzufügen");
    bool da = false;
    bool nachgeprueft = false;
    if (const StoreError e = schreibe(name, a,
                                      QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING *")
                                          .arg(tabellenName(tabelle), namen.join(QLatin1Char(',')),
                                               marken.join(QLatin1Char(','))),
                                      werte, was,
                                      [&](QSqlQuery &q) {
                                          if ((da = q.next()))
                                              fuelle(q, gespeichert);
                                      },
                                      nachgeprueft))
        return e;
    // After a reconnect the row is shown as the server holds it.
    if (da && nachgeprueft)
        liesZeile(name, a, tabelle, gespeichert.rowId, gespeichert, da);
    if (!da)
        return StoreError(QStringLiteral("Der Server %1 hat die neue Frage nicht zurückgegeben.").arg(Serveradresse::kurz(a)));
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
    int betroffen = 0;
    bool nachgeprueft = false;
    if (const StoreError e = schreibe(name, a,
                                      QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                          .arg(tabellenName(tabelle), setzen.join(QLatin1Char(',')), bedingung),
                                      alle, QStringLiteral("Fragen zu ändern"),
                                      [&](QSqlQuery &q) { betroffen = q.numRowsAffected(); }, nachgeprueft))
        return e;
    if (betroffen != 1)
        return konflikt(QStringLiteral("Ihre Änderung wurde nicht gespeichert."));
    return {};
}

StoreError loesche(const QString &name, const ServerAdresse &a, const QString &tabelle, qint64 id,
                   const QStringList &vorherSpalten, const QVector<QVariant> &vorher)
{
    QVector<QVariant> werte{id};
    const QString bedingung = wieVorher(vorherSpalten, vorher, werte);
    int betroffen = 0;
    bool nachgeprueft = false;
    if (const StoreError e = schreibe(name, a,
                                      QStringLiteral("DELETE FROM %1 WHERE %2").arg(tabellenName(tabelle), bedingung),
                                      werte, QStringLiteral("Fragen zu löschen"),
                                      [&](QSqlQuery &q) { betroffen = q.numRowsAffected(); }, nachgeprueft))
        return e;
    if (betroffen != 1)
        return konflikt(QStringLiteral("sie wurde nicht gelöscht."));
    return {};
}
}
