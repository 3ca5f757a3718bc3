#pragma once
// The tabular result of a web-service query, read the way the old data-access record set was:
//   rs.MoveFirst(); while (!rs.isEOF()) { use(rs.Fields("Name").toString()); rs.MoveNext(); }
// (isEOF() because EOF is a macro.) A value class: copies are cheap and independent.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class RecordSet {
public:
    RecordSet() = default;
    // An empty record set that stands for a failed exchange; error is "Error: <n> - <text>".
    static RecordSet failure(const QString& error);

    // Cursor. A fresh result stands on its last row; with no rows it stands at the end.
    void MoveFirst() { m_pos = 0; }
    void MoveNext() {
        if (m_pos < RecordCount()) ++m_pos;
    }
    bool isEOF() const { return m_pos >= RecordCount(); }
    int RecordCount() const { return m_fields.isEmpty() ? 0 : int(m_cells.size() / m_fields.size()); }
    int AbsolutePosition() const { return m_pos; }

    // The value of a field on the current row, the field named without regard to case. A null
    // value (invalid QVariant) reads as "" and 0. Throws RuntimeError when no field has the name
    // or the cursor stands at the end, as the old record set raised a run-time error there.
    QVariant& Fields(const QString& name);
    const QVariant& Fields(const QString& name) const;
    QVariant& Fields(int index);
    const QVariant& Fields(int index) const;

    int FieldCount() const { return int(m_fields.size()); }
    const QStringList& fieldNames() const { return m_fields; }
    // -1 when no field has the name (case ignored).
    int fieldIndex(const QString& name) const;
    // Any cell, for views; out of range gives a null value.
    QVariant value(int row, int column) const;

    // True when the exchange behind it failed (no connection, a timeout, an HTTP error status,
    // a reply that is not well-formed XML). Such a set has no fields and no rows.
    bool failed() const { return !m_error.isEmpty(); }
    const QString& error() const { return m_error; }

    // Building (the reply reader, tests). A field is added only while there are no rows;
    // a name already present (case ignored) or an empty name is refused: returns false.
    bool appendField(const QString& name);
    // Adds a row of null values and stands on it; a set without fields takes no rows.
    void addRow();
    // A cell by position, unchecked: row < RecordCount(), column < FieldCount().
    QVariant& at(int row, int column) { return m_cells[qsizetype(row) * m_fields.size() + column]; }
    void reserveRows(int rows);

private:
    QVariant& cell(int column);
    const QVariant& cell(int column) const;
    int checkedIndex(const QString& name) const;
    void checkCell(int column) const;

    QStringList m_fields;
    QVector<QVariant> m_cells;  // row-major
    int m_pos = 0;
    QString m_error;
};
