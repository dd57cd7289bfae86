#pragma once

#include "store/serveradresse.h"
#include "store/storeerror.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class QSqlDatabase;
class Zeilenspeicher;

// One row of a table as the program holds it in memory. rowId addresses the
// row in the file (0 for a row that is not stored yet).
struct TableRow {
    qint64 rowId = 0;
    QVector<QVariant> values;
};

struct TableData {
    QStringList columns;       // in table order
    QStringList declaredTypes; // as the table declares them, may be empty
    QVector<TableRow> rows;
    bool writable = false;     // rows can be addressed for update and delete
};

// The row as it was read. A server refuses to change or delete a row that
// differs from it there: another teacher changed it meanwhile. A file,
// edited by one PC at a time, does not need it.
struct Vorher {
    QStringList spalten;
    QVector<QVariant> werte;
};

// A connection to one question database, named by a connection string of the
// form "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>;Persist Security
// Info=False". The file's kind is told by its bytes, not its name; a data
// source "postgresql://…" is a collection on a PostgreSQL server.
class Connection {
public:
    enum class Kind { Unknown, Sqlite, Jet, Server };

    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    static QString connectionStringFor(const QString &path);
    // The path between "Data Source=" and the string's last ";".
    static QString dataSource(const QString &connectionString);
    static Kind kindOf(const QString &path);

    void setConnectionString(const QString &connectionString) { m_connectionString = connectionString; }
    QString connectionString() const { return m_connectionString; }

    // Opens the database the connection string names. Never creates a file.
    StoreError open();
    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }
    Kind kind() const { return m_kind; }

    // Reads a whole table. More than maxRows rows is an error.
    StoreError readTable(const QString &table, TableData &out, int maxRows) const;
    // The same with the rows packed into rows as they are read (out.rows
    // stays empty), so that the table is never held in two forms at once.
    StoreError readTable(const QString &table, TableData &out, Zeilenspeicher &rows, int maxRows) const;
    // Writes go to the file at once. values are the columns to set, by name.
    StoreError insertRow(const QString &table, const QStringList &columns, const QVector<QVariant> &values,
                         TableRow &stored) const;
    StoreError updateRow(const QString &table, qint64 rowId, const QStringList &columns,
                         const QVector<QVariant> &values, const Vorher &vorher = {}) const;
    StoreError deleteRow(const QString &table, qint64 rowId, const Vorher &vorher = {}) const;
    // One row as it is stored now; found is false when it is gone.
    StoreError readRow(const QString &table, qint64 rowId, TableRow &row, bool &found) const;

private:
    // Writes reach the file that was opened; refused when another file has
    // taken its place or it was removed meanwhile.
    StoreError pruefeDatei() const;
    // A change needs an open collection that is not a Windows-era Access file.
    StoreError schreibbar() const;
    // The file checked and the values turned into the columns' types.
    StoreError vorbereite(const QString &table, const QStringList &columns, const QVector<QVariant> &values,
                          const QSqlDatabase &db, QVector<QVariant> &converted) const;

    QString m_connectionString;
    QString m_path;
    QString m_sqlName;
    ServerAdresse m_adresse;
    Kind m_kind = Kind::Unknown;
    bool m_open = false;
    // The file as it was opened (device and inode number).
    quint64 m_geraet = 0;
    quint64 m_inode = 0;
};
