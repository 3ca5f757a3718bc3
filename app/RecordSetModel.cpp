#include "app/RecordSetModel.h"

#include "platform/VbCompat.h"

#include <algorithm>
#include <numeric>

namespace {
bool isNumber(const QVariant& v, double& out) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        out = v.toDouble();
        return true;
    case QMetaType::QString:
        if (!vbIsNumeric(v.toString())) return false;
        out = vbVal(v.toString());
        return true;
    default:
        return false;
    }
}

// <0, 0, >0 as a sorts before, with or after b.
int compareValues(const QVariant& a, const QVariant& b) {
    double x = 0, y = 0;
    if (isNumber(a, x) && isNumber(b, y)) return x < y ? -1 : (y < x ? 1 : 0);
    return a.toString().compare(b.toString(), Qt::CaseInsensitive);
}
}  // namespace

RecordSetModel::RecordSetModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordSetModel::setRecordSet(const RecordSet& rs) {
    beginResetModel();
    m_rs = rs;
    m_order.resize(m_rs.RecordCount());
    std::iota(m_order.begin(), m_order.end(), 0);
    m_sortColumn = -1;
    m_sortOrder = Qt::AscendingOrder;
    endResetModel();
}

int RecordSetModel::recordRow(int viewRow) const {
    return viewRow >= 0 && viewRow < m_order.size() ? m_order[viewRow] : -1;
}

int RecordSetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_order.size()); }

int RecordSetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rs.FieldCount(); }

QVariant RecordSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const QVariant v = m_rs.value(recordRow(index.row()), index.column());
    if (role == Qt::DisplayRole) return v.toString();
    if (role == Qt::EditRole) return v;
    return {};
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= m_rs.FieldCount()) return {};
    const QString name = m_rs.fieldNames().at(section);
    if (section != m_sortColumn) return name;
    return (m_sortOrder == Qt::AscendingOrder ? QStringLiteral("> ") : QStringLiteral("< ")) + name;
}

void RecordSetModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= m_rs.FieldCount()) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QVector<int> oldOrder = m_order;
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        const int c = compareValues(m_rs.value(a, column), m_rs.value(b, column));
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    // Persistent indexes (a view's current cell) follow their records.
    QVector<int> newRowOf(m_order.size());
    for (int i = 0; i < m_order.size(); ++i) newRowOf[m_order[i]] = i;
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before) after.append(index(newRowOf[oldOrder[i.row()]], i.column()));
    changePersistentIndexList(before, after);
    m_sortColumn = column;
    m_sortOrder = order;
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit headerDataChanged(Qt::Horizontal, 0, m_rs.FieldCount() - 1);
}
