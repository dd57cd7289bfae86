#include "store/questiongridmodel.h"

#include "store/recordset.h"

QuestionGridModel::QuestionGridModel(Recordset *recordset, QObject *parent)
    : QAbstractTableModel(parent)
    , m_recordset(recordset)
{
    connect(recordset, &Recordset::reset, this, [this] {
        beginResetModel();
        m_captions.clear();
        endResetModel();
    });
    connect(recordset, &Recordset::rowInserted, this, [this](int row) {
        // The recordset has the row already; announce it after the fact.
        beginInsertRows(QModelIndex(), row, row);
        endInsertRows();
    });
    connect(recordset, &Recordset::rowRemoved, this, [this](int row) {
        beginRemoveRows(QModelIndex(), row, row);
        endRemoveRows();
    });
    connect(recordset, &Recordset::rowChanged, this, [this](int row) {
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

int QuestionGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_recordset ? 0 : m_recordset->recordCount();
}

int QuestionGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_recordset || !m_recordset->isOpen() ? 0 : m_recordset->fieldCount();
}

QVariant QuestionGridModel::data(const QModelIndex &index, int role) const
{
    if (!m_recordset || !index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const QVariant value = m_recordset->valueAt(index.row(), index.column());
    return value.isNull() ? QString() : value.toString();
}

QVariant QuestionGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_recordset)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < m_captions.size() && !m_captions[section].isNull())
        return m_captions[section];
    return m_recordset->fieldName(section);
}

bool QuestionGridModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || role != Qt::EditRole || section < 0 || section >= columnCount())
        return false;
    if (m_captions.size() <= section)
        m_captions.resize(section + 1);
    m_captions[section] = value.toString();
    Q_EMIT headerDataChanged(orientation, section, section);
    return true;
}
