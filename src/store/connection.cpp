#include "store/connection.h"

#include "store/jetleser.h"
#include "store/server.h"
#include "store/zeilenspeicher.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlDriver>
#include <QUrl>

#include <sqlite3.h>
#include <sys/stat.h>

#include <functional>
#include <memory>

namespace {
const QString kPrefix = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=");
const QString kSuffix = QStringLiteral(";Persist Security Info=False");

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString nichtLesbar(const QString &path)
{
    return QStringLiteral("Die Datei %1 ist keine Fragendatenbank.").arg(path);
}

// The column's declared type decides how a text is stored: a whole-number
// column takes only whole numbers.
StoreError convert(const QString &column, const QString &declaredType, const QVariant &value, QVariant &out)
{
    out = value;
    if (!declaredType.contains(QLatin1String("INT"), Qt::CaseInsensitive) || value.isNull()
        || value.typeId() != QMetaType::QString)
        return {};
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]{1,18}$"));
    const QString text = value.toString();
    if (!whole.match(text).hasMatch())
        return StoreError(QStringLiteral("Der Wert \"%1\" passt nicht in die Spalte %2: erwartet wird eine ganze Zahl.")
                              .arg(text, column));
    out = QVariant(text.toLongLong());
    return {};
}
}

Connection::Connection() = default;

Connection::~Connection()
{
    if (!m_sqlName.isEmpty()) {
        QSqlDatabase::database(m_sqlName, false).close();
        QSqlDatabase::removeDatabase(m_sqlName);
    }
}

QString Connection::connectionStringFor(const QString &path)
{
    return kPrefix + path + kSuffix;
}

QString Connection::dataSource(const QString &connectionString)
{
    static const QString key = QStringLiteral("Data Source=");
    const qsizetype start = connectionString.indexOf(key, 0, Qt::CaseInsensitive);
    if (start < 0)
        return {};
    const qsizetype from = start + key.size();
    // The path is put in unquoted, so it may itself hold ";": the known tail
    // is cut off first, and only otherwise the text up to the last ";".
    if (connectionString.endsWith(kSuffix, Qt::CaseInsensitive) && from <= connectionString.size() - kSuffix.size())
        return connectionString.mid(from, connectionString.size() - kSuffix.size() - from);
    const qsizetype end = connectionString.lastIndexOf(QLatin1Char(';'));
    return end > from ? connectionString.mid(from, end - from) : connectionString.mid(from);
}

Connection::Kind Connection::kindOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Kind::Unknown;
    const QByteArray head = file.read(32);
    if (head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return Kind::Sqlite;
    // Access 97 (Jet 3, version 0) and 2000-2003 (Jet 4, version 1); the
    // later formats say "Standard ACE DB" and are not read.
    if (head.size() >= 21 && head.mid(4, 15) == QByteArray("Standard Jet DB")
        && (head.at(20) == 0 || head.at(20) == 1))
        return Kind::Jet;
    return Kind::Unknown;
}

StoreError Connection::open()
{
    m_open = false;
    m_path = dataSource(m_connectionString);
    static QAtomicInt counter;
    if (Serveradresse::istServer(m_path)) {
        QString grund;
        const std::optional<ServerAdresse> adresse = Serveradresse::zerlege(m_path, &grund);
        if (!adresse)
            return StoreError(QStringLiteral("Die Serveradresse %1 ist ungültig: %2").arg(m_path, grund));
        m_adresse = *adresse;
        m_kind = Kind::Server;
        if (m_sqlName.isEmpty())
            m_sqlName = QStringLiteral("kreidolin-%1").arg(counter.fetchAndAddRelaxed(1));
        if (const StoreError e = Server::verbinde(m_sqlName, m_adresse))
            return e;
        m_open = true;
        return {};
    }
    const QFileInfo info(m_path);
    if (m_path.isEmpty() || !info.exists())
        return StoreError(QStringLiteral("Die Datei %1 existiert nicht.").arg(m_path));
    if (!info.isFile())
        return StoreError(nichtLesbar(m_path));
    m_kind = kindOf(m_path);
    if (m_kind == Kind::Unknown)
        return StoreError(nichtLesbar(m_path));
    if (m_kind == Kind::Jet) {
        // Read only, and only by the child process, table by table: nothing
        // stays open here.
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return StoreError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                                  .arg(m_path, file.errorString()));
        m_open = true;
        return {};
    }

    m_sqlName = QStringLiteral("kreidolin-%1").arg(counter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_sqlName);
    if (!db.isValid())
        return StoreError(QStringLiteral("Der SQLite-Treiber fehlt."));
    // mode=rw: an existing file only, never a new one.
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open())
        return StoreError(QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden: %2")
                              .arg(m_path, db.lastError().text()));
    // A file cut short reads its missing rows as empty ones without a word;
    // its header still says how long it should be. Only once SQLite has
    // looked (and rolled back what a crash left half done) does the header
    // count; in write-ahead mode the newest pages live beside the file.
    // This first look also tells a file that is locked or no database at
    // all, after one wait for the lock instead of one per statement.
    QSqlQuery kopf(db);
    if (!kopf.exec(QStringLiteral("PRAGMA page_count")) || !kopf.next())
        return StoreError(QStringLiteral("Die Datenbank %1 kann nicht gelesen werden: %2")
                              .arg(m_path, kopf.lastError().databaseText()));
    const qint64 seiten = kopf.value(0).toLongLong();
    if (kopf.exec(QStringLiteral("PRAGMA journal_mode")) && kopf.next()
        && kopf.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0
        && kopf.exec(QStringLiteral("PRAGMA page_size")) && kopf.next()
        && QFileInfo(m_path).size() < seiten * kopf.value(0).toLongLong())
        return StoreError(QStringLiteral("Die Datenbank %1 ist beschädigt: die Datei ist kürzer, als sie sein "
                                         "müsste.").arg(m_path));
    struct stat st;
    if (::stat(QFile::encodeName(m_path).constData(), &st) == 0) {
        m_geraet = static_cast<quint64>(st.st_dev);
        m_inode = static_cast<quint64>(st.st_ino);
    }
    m_open = true;
    return {};
}

StoreError Connection::pruefeDatei() const
{
    if (m_kind == Kind::Server)
        return {};
    struct stat st;
    if (::stat(QFile::encodeName(m_path).constData(), &st) != 0)
        return StoreError(QStringLiteral("Die Datenbank %1 ist nicht mehr da; sie wurde entfernt, während sie "
                                         "geöffnet war. Die Änderung wurde nicht gespeichert.").arg(m_path));
    if (static_cast<quint64>(st.st_dev) != m_geraet || static_cast<quint64>(st.st_ino) != m_inode)
        return StoreError(QStringLiteral("Die Datenbank %1 wurde durch eine andere Datei ersetzt, während sie "
                                         "geöffnet war. Die Änderung wurde nicht gespeichert; bitte öffnen Sie die "
                                         "Datenbank neu.").arg(m_path));
    return {};
}

namespace {
QVariant columnValue(sqlite3_stmt *stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, i)),
                                   sqlite3_column_bytes(stmt, i)));
    default:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                                          sqlite3_column_bytes(stmt, i)));
    }
}

QString sqliteFehler(sqlite3 *handle)
{
    return QString::fromUtf8(sqlite3_errmsg(handle));
}
}

namespace {
// Steps through the whole table with SQLite's own interface, handing each
// row to zeile: a game start reads every row, and the Qt driver's generic
// path costs twice as much for the 32,767 rows the game allows.
StoreError liesSqlite(const QString &sqlName, const QString &path, const QString &table, TableData &out, int maxRows,
                      const std::function<void(sqlite3_stmt *, int)> &zeile)
{
    QSqlDatabase db = QSqlDatabase::database(sqlName, false);
    const QVariant h = db.driver()->handle();
    sqlite3 *handle = h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0 ? *static_cast<sqlite3 *const *>(h.data())
                                                                            : nullptr;
    if (!handle)
        return StoreError(QStringLiteral("Die Datenbank %1 ist nicht geöffnet.").arg(path));

    sqlite3_stmt *stmt = nullptr;
    const QByteArray name = quoteIdentifier(table).toUtf8();
    out.writable = sqlite3_prepare_v2(handle, "SELECT rowid, * FROM " + name, -1, &stmt, nullptr) == SQLITE_OK;
    if (!out.writable && sqlite3_prepare_v2(handle, "SELECT NULL, * FROM " + name, -1, &stmt, nullptr) != SQLITE_OK) {
        const QString reason = sqliteFehler(handle);
        if (reason.contains(QLatin1String("no such table"), Qt::CaseInsensitive))
            return StoreError(QStringLiteral("Die Datenbank %1 enthält keine Tabelle %2.").arg(path, table));
        return StoreError(QStringLiteral("Die Tabelle %1 in %2 kann nicht gelesen werden: %3")
                              .arg(table, path, reason));
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(stmt, sqlite3_finalize);
    const int columnCount = sqlite3_column_count(stmt) - 1;
    for (int i = 1; i <= columnCount; ++i) {
        out.columns << QString::fromUtf8(sqlite3_column_name(stmt, i));
        out.declaredTypes << QString::fromUtf8(sqlite3_column_decltype(stmt, i));
    }

    int rc;
    qint64 count = 0;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (count >= maxRows)
            return StoreError(QStringLiteral("Die Tabelle %1 hat mehr als %2 Zeilen.").arg(table).arg(maxRows));
        zeile(stmt, columnCount);
        ++count;
    }
    if (rc != SQLITE_DONE)
        return StoreError(QStringLiteral("Die Tabelle %1 in %2 kann nicht gelesen werden: %3")
                              .arg(table, path, sqliteFehler(handle)));
    // The rows are in memory now; the pages read for them need not stay in
    // this connection's cache for as long as the connection lives.
    sqlite3_db_release_memory(handle);
    return {};
}
}

StoreError Connection::readTable(const QString &table, TableData &out, int maxRows) const
{
    out = TableData();
    if (!m_open)
        return StoreError(QStringLiteral("Keine Datenbank geöffnet."));
    if (m_kind == Kind::Jet)
        return JetLeser::lies(m_path, table, out, maxRows);
    if (m_kind == Kind::Server)
        return Server::liesTabelle(m_sqlName, m_adresse, table, out, nullptr, maxRows);
    return liesSqlite(m_sqlName, m_path, table, out, maxRows, [&out](sqlite3_stmt *stmt, int columnCount) {
        TableRow row;
        row.rowId = sqlite3_column_int64(stmt, 0);
        row.values.reserve(columnCount);
        for (int i = 1; i <= columnCount; ++i)
            row.values.append(columnValue(stmt, i));
        out.rows.append(std::move(row));
    });
}

StoreError Connection::readTable(const QString &table, TableData &out, Zeilenspeicher &rows, int maxRows) const
{
    out = TableData();
    rows.clear();
    if (!m_open)
        return StoreError(QStringLiteral("Keine Datenbank geöffnet."));
    if (m_kind == Kind::Jet) {
        const StoreError e = JetLeser::lies(m_path, table, out, maxRows);
        if (!e) {
            rows.reserve(out.rows.size());
            // Each row is let go of once packed, so the table is not held twice.
            for (TableRow &row : out.rows) {
                const TableRow genommen = std::move(row);
                rows.append(genommen);
            }
        }
        out.rows.clear();
        return e;
    }
    if (m_kind == Kind::Server)
        return Server::liesTabelle(m_sqlName, m_adresse, table, out, &rows, maxRows);
    Zeilenspeicher::Bauer bauer;
    // Packed straight from SQLite's values, the same values columnValue() makes.
    return liesSqlite(m_sqlName, m_path, table, out, maxRows, [&](sqlite3_stmt *stmt, int columnCount) {
        for (int i = 1; i <= columnCount; ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_INTEGER:
                bauer.ganzzahl(sqlite3_column_int64(stmt, i));
                break;
            case SQLITE_FLOAT:
                bauer.kommazahl(sqlite3_column_double(stmt, i));
                break;
            case SQLITE_NULL:
                bauer.ungueltig();
                break;
            case SQLITE_BLOB: {
                const auto *blob = static_cast<const char *>(sqlite3_column_blob(stmt, i));
                if (blob)
                    bauer.bytes(blob, sqlite3_column_bytes(stmt, i));
                else
                    bauer.wert(QVariant(QByteArray()));
                break;
            }
            default: {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
                bauer.utf8(text, sqlite3_column_bytes(stmt, i));
                break;
            }
            }
        }
        rows.append(sqlite3_column_int64(stmt, 0), bauer.fertig());
    });
}

namespace {
StoreError convertAll(const Connection &connection, const QString &table, const QStringList &columns,
                      const QVector<QVariant> &values, const QSqlDatabase &db, QVector<QVariant> &out)
{
    QStringList names, types;
    QSqlQuery info(db);
    // A locked file is reported here, after one wait for the lock.
    if (!info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(table))))
        return StoreError(QStringLiteral("Die Datenbank %1 hat die Änderung abgelehnt: %2")
                              .arg(connection.path(), info.lastError().text()));
    while (info.next()) {
        names << info.value(1).toString();
        types << info.value(2).toString();
    }
    out.resize(values.size());
    for (int i = 0; i < values.size(); ++i) {
        QString type;
        for (int c = 0; c < names.size(); ++c) {
            if (names[c].compare(columns[i], Qt::CaseInsensitive) == 0)
                type = types[c];
        }
        if (const StoreError e = convert(columns[i], type, values[i], out[i]))
            return e;
    }
    return {};
}

StoreError accessNurLesen(const QString &path)
{
    return StoreError(QStringLiteral("Die Access-Datei %1 wird nur gelesen; Änderungen werden nicht in sie "
                                     "geschrieben.").arg(path));
}

StoreError writeError(const QString &path, const QSqlQuery &query)
{
    return StoreError(QStringLiteral("Die Datenbank %1 hat die Änderung abgelehnt: %2")
                          .arg(path, query.lastError().text()));
}
}

StoreError Connection::schreibbar() const
{
    if (!m_open)
        return StoreError(QStringLiteral("Keine Datenbank geöffnet."));
    if (m_kind == Kind::Jet)
        return accessNurLesen(m_path);
    return {};
}

StoreError Connection::vorbereite(const QString &table, const QStringList &columns, const QVector<QVariant> &values,
                                  const QSqlDatabase &db, QVector<QVariant> &converted) const
{
    if (const StoreError e = pruefeDatei())
        return e;
    return convertAll(*this, table, columns, values, db, converted);
}

StoreError Connection::insertRow(const QString &table, const QStringList &columns, const QVector<QVariant> &values,
                                 TableRow &stored) const
{
    if (const StoreError e = schreibbar())
        return e;
    if (m_kind == Kind::Server)
        return Server::fuegeEin(m_sqlName, m_adresse, table, columns, values, stored);
    QSqlDatabase db = QSqlDatabase::database(m_sqlName, false);
    QVector<QVariant> converted;
    if (const StoreError e = vorbereite(table, columns, values, db, converted))
        return e;
    QStringList quoted, marks;
    for (const QString &c : columns) {
        quoted << quoteIdentifier(c);
        marks << QStringLiteral("?");
    }
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(quoteIdentifier(table), quoted.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))))
        return writeError(m_path, query);
    for (const QVariant &v : converted)
        query.addBindValue(v);
    if (!query.exec())
        return writeError(m_path, query);
    const qint64 rowId = query.lastInsertId().toLongLong();
    QSqlQuery reread(db);
    reread.prepare(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(quoteIdentifier(table)));
    reread.addBindValue(rowId);
    if (!reread.exec() || !reread.next())
        return writeError(m_path, reread);
    stored.rowId = rowId;
    stored.values.clear();
    for (int i = 0; i < reread.record().count(); ++i)
        stored.values.append(reread.value(i));
    return {};
}

StoreError Connection::updateRow(const QString &table, qint64 rowId, const QStringList &columns,
                                 const QVector<QVariant> &values, const Vorher &vorher) const
{
    if (const StoreError e = schreibbar())
        return e;
    if (m_kind == Kind::Server)
        return Server::aendere(m_sqlName, m_adresse, table, rowId, columns, values, vorher.spalten, vorher.werte);
    QSqlDatabase db = QSqlDatabase::database(m_sqlName, false);
    QVector<QVariant> converted;
    if (const StoreError e = vorbereite(table, columns, values, db, converted))
        return e;
    QStringList sets;
    for (const QString &c : columns)
        sets << quoteIdentifier(c) + QStringLiteral(" = ?");
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                           .arg(quoteIdentifier(table), sets.join(QLatin1Char(',')))))
        return writeError(m_path, query);
    for (const QVariant &v : converted)
        query.addBindValue(v);
    query.addBindValue(rowId);
    if (!query.exec())
        return writeError(m_path, query);
    if (query.numRowsAffected() != 1)
        return StoreError(QStringLiteral("Die Frage steht nicht mehr in der Datenbank %1; "
                                         "sie wurde inzwischen gelöscht.").arg(m_path));
    return {};
}

StoreError Connection::deleteRow(const QString &table, qint64 rowId, const Vorher &vorher) const
{
    if (const StoreError e = schreibbar())
        return e;
    if (m_kind == Kind::Server)
        return Server::loesche(m_sqlName, m_adresse, table, rowId, vorher.spalten, vorher.werte);
    if (const StoreError e = pruefeDatei())
        return e;
    QSqlQuery query(QSqlDatabase::database(m_sqlName, false));
    if (!query.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteIdentifier(table))))
        return writeError(m_path, query);
    query.addBindValue(rowId);
    if (!query.exec())
        return writeError(m_path, query);
    return {};
}

StoreError Connection::readRow(const QString &table, qint64 rowId, TableRow &row, bool &found) const
{
    found = false;
    if (!m_open)
        return StoreError(QStringLiteral("Keine Datenbank geöffnet."));
    if (m_kind == Kind::Server)
        return Server::liesZeile(m_sqlName, m_adresse, table, rowId, row, found);
    // Only a server has rows that change under the program's feet.
    return StoreError(QStringLiteral("Die Frage kann nicht neu gelesen werden."));
}
