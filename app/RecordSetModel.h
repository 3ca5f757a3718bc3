#pragma once
// A grid's view of a RecordSet: one column per field, one row per record. Binding takes a copy,
// so later changes to the caller's set show after the next binding, as with the old bound grid.
#include "app/RecordSet.h"

#include <QAbstractTableModel>
#include <QVector>

class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordSetModel(QObject* parent = nullptr);

    // Shows rs in its own row order with plain headers (any earlier sort is forgotten).
    void setRecordSet(const RecordSet& rs);
    const RecordSet& recordSet() const { return m_rs; }
    // The record behind a view row (after sorting), -1 when out of range.
    int recordRow(int viewRow) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // DisplayRole: the value's text; EditRole: the value itself.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The field name; the sorted column's name is marked "> " (ascending) or "< " (descending).
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Stable; numbers (or texts that read as numbers) compare by value, other texts without
    // regard to case.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

private:
    RecordSet m_rs;
    QVector<int> m_order;  // view row -> record row
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
