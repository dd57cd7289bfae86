#include "store/recordset.h"

Recordset::Recordset(QObject *parent)
    : QObject(parent)
{
}

Recordset::~Recordset() = default;

StoreError Recordset::open(std::shared_ptr<Connection> connection, const QString &table, LockType lockType,
                           int maxRows)
{
    close();
    m_connection = std::move(connection);
    m_table = table;
    m_lockType = lockType;
    if (!m_connection || !m_connection->isOpen())
        return StoreError(QStringLiteral("Die Verbindung zur Datenbank ist nicht geöffnet."));
    return load(maxRows);
}

void Recordset::close()
{
    const bool warOffen = m_open;
    m_open = false;
    m_rows.clear();
    m_columns.clear();
    m_declaredTypes.clear();
    m_pos = -1;
    m_newRow = -1;
    m_pending.clear();
    if (warOffen)
        Q_EMIT reset();
}

StoreError Recordset::load(int maxRows)
{
    TableData data;
    const StoreError e = m_connection->readTable(m_table, data, m_rows, maxRows);
    if (e) {
        m_rows.clear();
        Q_EMIT reset();
        return e;
    }
    m_columns = data.columns;
    m_declaredTypes = data.declaredTypes;
    m_writable = data.writable;
    m_open = true;
    m_pos = m_rows.isEmpty() ? -1 : 0;
    Q_EMIT reset();
    if (hasCurrent())
        afterMove();
    return {};
}

StoreError Recordset::notOpen() const
{
    return StoreError(QStringLiteral("Es ist keine Datenbank geladen."));
}

StoreError Recordset::aenderbar() const
{
    if (!m_open)
        return notOpen();
    if (isReadOnly() || !m_writable)
        return readOnly();
    if (!hasCurrent())
        return StoreError(QStringLiteral("Kein aktueller Datensatz."));
    return {};
}

StoreError Recordset::readOnly() const
{
    return StoreError(QStringLiteral("Diese Fragensammlung kann hier nicht geändert werden."));
}

void Recordset::discardNewRow()
{
    m_pending.clear();
    if (m_newRow < 0)
        return;
    const int index = m_newRow;
    m_newRow = -1;
    m_rows.remove(index);
    if (m_pos > index || m_pos >= m_rows.size())
        m_pos = m_rows.isEmpty() ? -1 : qMin(m_pos, static_cast<int>(m_rows.size()) - 1);
    Q_EMIT rowRemoved(index);
}

void Recordset::afterMove()
{
    if (hasCurrent()) {
        for (const Binding &b : std::as_const(m_bindings)) {
            if (b.target)
                b.target->setProperty(b.property.constData(), value(b.column).toString());
        }
    }
    Q_EMIT moveComplete();
}

StoreError Recordset::moveTo(int index)
{
    if (!m_open)
        return notOpen();
    // A new question that was begun and not taken over is left behind.
    if (m_newRow >= 0 && index != m_newRow) {
        if (index > m_newRow)
            --index;
        discardNewRow();
    } else if (index != m_pos) {
        m_pending.clear();
    }
    const int size = static_cast<int>(m_rows.size());
    if (index < -1 || index > size)
        return StoreError(QStringLiteral("Es gibt keinen Datensatz an dieser Stelle."));
    m_pos = index;
    afterMove();
    if (!hasCurrent())
        return StoreError(QStringLiteral("Kein aktueller Datensatz."));
    return {};
}

StoreError Recordset::moveFirst()
{
    if (m_open && m_rows.isEmpty())
        return StoreError(QStringLiteral("Die Tabelle %1 enthält keine Fragen.").arg(m_table));
    return moveTo(0);
}

StoreError Recordset::moveLast()
{
    if (m_open && m_rows.isEmpty())
        return StoreError(QStringLiteral("Die Tabelle %1 enthält keine Fragen.").arg(m_table));
    return moveTo(static_cast<int>(m_rows.size()) - 1);
}

StoreError Recordset::moveNext()
{
    if (m_open && m_pos >= m_rows.size())
        return StoreError(QStringLiteral("Hinter dem letzten Datensatz."));
    return moveTo(m_pos + 1);
}

StoreError Recordset::movePrevious()
{
    if (m_open && m_pos < 0)
        return StoreError(QStringLiteral("Vor dem ersten Datensatz."));
    return moveTo(m_pos - 1);
}

StoreError Recordset::move(int n)
{
    if (!hasCurrent())
        return m_open ? StoreError(QStringLiteral("Kein aktueller Datensatz.")) : notOpen();
    const qint64 target = static_cast<qint64>(m_pos) + n;
    if (target < 0 || target >= m_rows.size())
        return StoreError(QStringLiteral("Es gibt keinen Datensatz an dieser Stelle."));
    return moveTo(static_cast<int>(target));
}

StoreError Recordset::setCurrentIndex(int index)
{
    if (index < 0 || index >= m_rows.size())
        return StoreError(QStringLiteral("Es gibt keinen Datensatz an dieser Stelle."));
    return moveTo(index);
}

int Recordset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Recordset::value(const QString &name, StoreError *error) const
{
    const int position = fieldIndex(name);
    if (position < 0) {
        if (error)
            *error = StoreError(QStringLiteral("Die Spalte %1 fehlt in der Tabelle %2.").arg(name, m_table));
        return {};
    }
    return value(position, error);
}

QVariant Recordset::value(int position, StoreError *error) const
{
    if (!hasCurrent() || position < 0 || position >= m_columns.size()) {
        if (error)
            *error = m_open ? StoreError(QStringLiteral("Kein aktueller Datensatz oder keine solche Spalte."))
                            : notOpen();
        return {};
    }
    for (const auto &p : m_pending) {
        if (p.first == position)
            return p.second;
    }
    return m_rows.value(m_pos, position);
}

QVariant Recordset::valueAt(int row, int position) const
{
    return m_rows.value(row, position);
}

StoreError Recordset::setValue(const QString &name, const QVariant &value)
{
    if (const StoreError e = aenderbar())
        return e;
    const int position = fieldIndex(name);
    if (position < 0)
        return StoreError(QStringLiteral("Die Spalte %1 fehlt in der Tabelle %2.").arg(name, m_table));
    for (auto &p : m_pending) {
        if (p.first == position) {
            p.second = value;
            return {};
        }
    }
    m_pending.append({position, value});
    return {};
}

StoreError Recordset::addNew()
{
    if (!m_open)
        return notOpen();
    if (isReadOnly() || !m_writable)
        return readOnly();
    discardNewRow();
    // One more would make every later game start fail.
    if (m_rows.size() >= kMaxRows)
        return StoreError(QStringLiteral("Das Spiel kann höchstens %1 Fragen laden, und die Fragensammlung "
                                         "enthält schon %2. Es kann keine weitere Frage hinzugefügt werden.")
                              .arg(kMaxRows)
                              .arg(m_rows.size()));
    TableRow row;
    row.values.resize(m_columns.size());
    m_rows.append(row);
    m_newRow = static_cast<int>(m_rows.size()) - 1;
    Q_EMIT rowInserted(m_newRow);
    m_pos = m_newRow;
    afterMove();
    return {};
}

StoreError Recordset::update()
{
    if (!m_open)
        return notOpen();
    if (!hasCurrent())
        return StoreError(QStringLiteral("Kein aktueller Datensatz: die Frage wurde gelöscht."));
    if (m_pending.isEmpty() && m_newRow < 0)
        return {};
    if (isReadOnly() || !m_writable) {
        m_pending.clear();
        return readOnly();
    }
    QStringList columns;
    QVector<QVariant> values;
    for (const auto &p : std::as_const(m_pending)) {
        columns << m_columns[p.first];
        values << p.second;
    }
    const auto pending = m_pending;
    m_pending.clear();
    if (m_pos == m_newRow) {
        TableRow stored;
        if (const StoreError e = m_connection->insertRow(m_table, columns, values, stored))
            return e;
        stored.values.resize(m_columns.size());
        m_rows.replace(m_pos, stored);
        m_newRow = -1;
    } else {
        if (const StoreError e = m_connection->updateRow(m_table, m_rows.rowId(m_pos), columns, values, vorher()))
            return ladeNeu(e);
        for (const auto &p : pending) {
            // Read back as the column keeps it: a whole number stays a number.
            QVariant v = p.second;
            if (m_declaredTypes.value(p.first).contains(QLatin1String("INT"), Qt::CaseInsensitive))
                v = QVariant(v.toLongLong());
            m_rows.setValue(m_pos, p.first, v);
        }
    }
    Q_EMIT rowChanged(m_pos);
    afterMove();
    return {};
}

void Recordset::cancelUpdate()
{
    if (m_newRow >= 0) {
        discardNewRow();
        afterMove();
        return;
    }
    m_pending.clear();
}

StoreError Recordset::deleteCurrent()
{
    if (const StoreError e = aenderbar())
        return e;
    if (m_pos == m_newRow) {
        discardNewRow();
        afterMove();
        return {};
    }
    if (const StoreError e = m_connection->deleteRow(m_table, m_rows.rowId(m_pos), vorher()))
        return ladeNeu(e);
    m_pending.clear();
    entferne(m_pos);
    afterMove();
    return {};
}

void Recordset::entferne(int index)
{
    m_rows.remove(index);
    if (m_newRow > index)
        --m_newRow;
    Q_EMIT rowRemoved(index);
    // The neighbour that took the removed row's place becomes current.
    m_pos = m_rows.isEmpty() ? -1 : qMin(index, static_cast<int>(m_rows.size()) - 1);
}

Vorher Recordset::vorher() const
{
    return {m_columns, m_rows.row(m_pos).values};
}

StoreError Recordset::ladeNeu(const StoreError &e)
{
    if (e.art() != StoreError::Art::Konflikt)
        return e;
    // Someone else changed or deleted the row meanwhile: it is shown as it
    // is stored now, and the change asked for is not made.
    m_pending.clear();
    const int index = m_pos;
    TableRow zeile;
    bool da = false;
    if (const StoreError lesen = m_connection->readRow(m_table, m_rows.rowId(index), zeile, da))
        return StoreError(e.text() + QStringLiteral("\r\n") + lesen.text(), e.art());
    if (da) {
        zeile.values.resize(m_columns.size());
        m_rows.replace(index, zeile);
        Q_EMIT rowChanged(index);
    } else {
        entferne(index);
    }
    afterMove();
    return e;
}

StoreError Recordset::bind(QObject *target, const QString &column, const char *property)
{
    const int position = fieldIndex(column);
    if (position < 0)
        return StoreError(QStringLiteral("Die Spalte %1 fehlt in der Tabelle %2.").arg(column, m_table));
    m_bindings.append({target, QByteArray(property), position});
    if (hasCurrent())
        target->setProperty(property, value(position).toString());
    return {};
}
