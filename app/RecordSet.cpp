#include "app/RecordSet.h"

#include "platform/RuntimeError.h"

namespace {
const QString& noCurrentRecord() {
    static const QString text = QStringLiteral(
        "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record.");
    return text;
}
const QString& noSuchItem() {
    static const QString text =
        QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal.");
    return text;
}
}  // namespace

RecordSet RecordSet::failure(const QString& error) {
    RecordSet rs;
    rs.m_error = error.isEmpty() ? QStringLiteral("Error: -1 - failed") : error;
    return rs;
}

int RecordSet::fieldIndex(const QString& name) const {
    // Callers mostly spell the name as the schema does; no two names differ only in case, so an
    // exact match is the one match.
    const qsizetype exact = m_fields.indexOf(name);
    if (exact >= 0) return int(exact);
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int RecordSet::checkedIndex(const QString& name) const {
    const int i = fieldIndex(name);
    if (i < 0) throw RuntimeError(noSuchItem(), 3265);
    return i;
}

// Not written through the const one: the non-const index detaches shared cells first.
QVariant& RecordSet::cell(int column) {
    checkCell(column);
    return m_cells[qsizetype(m_pos) * m_fields.size() + column];
}

void RecordSet::checkCell(int column) const {
    if (column < 0 || column >= m_fields.size()) throw RuntimeError(noSuchItem(), 3265);
    if (isEOF()) throw RuntimeError(noCurrentRecord(), 3021);
}

const QVariant& RecordSet::cell(int column) const {
    checkCell(column);
    return m_cells[qsizetype(m_pos) * m_fields.size() + column];
}

QVariant& RecordSet::Fields(const QString& name) { return cell(checkedIndex(name)); }
const QVariant& RecordSet::Fields(const QString& name) const { return cell(checkedIndex(name)); }
QVariant& RecordSet::Fields(int index) { return cell(index); }
const QVariant& RecordSet::Fields(int index) const { return cell(index); }

QVariant RecordSet::value(int row, int column) const {
    if (row < 0 || row >= RecordCount() || column < 0 || column >= m_fields.size()) return {};
    return m_cells[qsizetype(row) * m_fields.size() + column];
}

bool RecordSet::appendField(const QString& name) {
    if (name.isEmpty() || RecordCount() > 0 || fieldIndex(name) >= 0) return false;
    m_fields.append(name);
    return true;
}

void RecordSet::addRow() {
    if (m_fields.isEmpty()) return;
    m_cells.resize(m_cells.size() + m_fields.size());
    m_pos = RecordCount() - 1;
}

void RecordSet::reserveRows(int rows) {
    if (rows > 0) m_cells.reserve(qsizetype(rows) * m_fields.size());
}
