#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QVector>

class Recordset;

// The editor's grid over its recordset: one row per record, one column per
// table column in table order. The grid and the recordset share the current
// row; the view keeps its selection in step through currentIndex().
class QuestionGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QuestionGridModel(Recordset *recordset, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;

private:
    QPointer<Recordset> m_recordset;
    QVector<QString> m_captions;
};
