#pragma once

#include "store/connection.h"
#include "store/storeerror.h"
#include "store/zeilenspeicher.h"

#include <QObject>
#include <QPointer>

#include <memory>

// The rows of the question table with one current row, after the manner of
// a database cursor. All rows are held in memory once opened (packed, see
// Zeilenspeicher), so moves and reads cost the same whatever the table's
// size; writes go straight to the file through the connection.
class Recordset : public QObject {
    Q_OBJECT
public:
    enum class LockType { ReadOnly, Optimistic };

    // The game cannot count more rows than this.
    static constexpr int kMaxRows = 32767;
    // Where a table is read for editing or converting, only memory limits it.
    static constexpr int kUnbegrenzt = 1 << 30;

    explicit Recordset(QObject *parent = nullptr);
    ~Recordset() override;

    // Reads the whole table over an open connection; more than maxRows rows
    // is an error. Fragenquelle::oeffne is the program's way to call it.
    StoreError open(std::shared_ptr<Connection> connection, const QString &table, LockType lockType,
                    int maxRows = kUnbegrenzt);
    // Back to no table at all: nothing to read, nothing current.
    void close();

    bool isOpen() const { return m_open; }
    const std::shared_ptr<Connection> &activeConnection() const { return m_connection; }
    QString tableName() const { return m_table; }
    bool isReadOnly() const { return m_lockType == LockType::ReadOnly; }

    int recordCount() const { return m_open ? static_cast<int>(m_rows.size()) : 0; }
    // 1-based position of the current row; below 1 when there is none.
    int absolutePosition() const { return hasCurrent() ? m_pos + 1 : -1; }
    bool hasCurrent() const { return m_open && m_pos >= 0 && m_pos < m_rows.size(); }
    bool isBof() const { return !m_open || m_pos < 0 || m_rows.isEmpty(); }
    bool isEof() const { return !m_open || m_pos >= m_rows.size() || m_rows.isEmpty(); }

    StoreError moveFirst();
    StoreError moveLast();
    StoreError moveNext();
    StoreError movePrevious();
    // n rows on from the current row.
    StoreError move(int n);
    // Makes the row with the 0-based index current (the grid's way).
    StoreError setCurrentIndex(int index);
    int currentIndex() const { return hasCurrent() ? m_pos : -1; }

    int fieldCount() const { return static_cast<int>(m_columns.size()); }
    QString fieldName(int position) const { return m_columns.value(position); }
    // Without regard to case; -1 when there is no such column.
    int fieldIndex(const QString &name) const;
    QVariant value(const QString &name, StoreError *error = nullptr) const;
    QVariant value(int position, StoreError *error = nullptr) const;
    // The stored value of any row, for the grid.
    QVariant valueAt(int row, int position) const;

    // Editing: values are held for the current row until update().
    StoreError setValue(const QString &name, const QVariant &value);
    StoreError addNew();
    StoreError update();
    void cancelUpdate();
    StoreError deleteCurrent();
    bool isNewRecord() const { return m_newRow >= 0; }
    bool hasPendingChanges() const { return !m_pending.isEmpty(); }

    // The property of target (a label's "text") always shows the column of
    // the current row.
    StoreError bind(QObject *target, const QString &column, const char *property = "text");

Q_SIGNALS:
    // After every change of the current row: open, moves, addNew, delete.
    void moveComplete();
    void reset();
    void rowInserted(int index);
    void rowRemoved(int index);
    void rowChanged(int index);

private:
    StoreError load(int maxRows);
    StoreError moveTo(int index);
    StoreError notOpen() const;
    StoreError readOnly() const;
    // The current row of an open, writable table, or why there is none.
    StoreError aenderbar() const;
    void discardNewRow();
    Vorher vorher() const;
    // After a refused write: a row someone else changed meanwhile is read anew.
    StoreError ladeNeu(const StoreError &e);
    // Drops a row from memory; its neighbour becomes current.
    void entferne(int index);
    void afterMove();

    struct Binding {
        QPointer<QObject> target;
        QByteArray property;
        int column;
    };

    std::shared_ptr<Connection> m_connection;
    LockType m_lockType = LockType::ReadOnly;
    QString m_table;
    bool m_open = false;
    bool m_writable = false;

    QStringList m_columns;
    QStringList m_declaredTypes;
    Zeilenspeicher m_rows;
    int m_pos = -1;
    int m_newRow = -1;
    QVector<QPair<int, QVariant>> m_pending;
    QVector<Binding> m_bindings;
};
