#pragma once
// The grid every economy window shows a record set in, addressed the way the old flex grid was:
// row 0 is the header row (the field names), column 0 the fixed row-mark column, and record
// field f stands in column f + 1. Widths are kept in twips; a width of 0 hides a column. A click
// on a header sorts by that column (numbers as numbers), marking it "> " or "< ".
#include "app/RecordSet.h"
#include "app/RecordSetModel.h"

#include <QTableView>
#include <QVector>
#include <functional>

class RecordSetGrid : public QTableView {
    Q_OBJECT
public:
    // owner: the window whose font measures the cells (its TextWidth).
    RecordSetGrid(QWidget* owner, const char* name);

    // Binds the grid to a copy of rs; no row is current afterwards. The sort state stays.
    void bind(const RecordSet& rs);
    // Empties the grid (no fields, no rows).
    void clear();
    const RecordSet& recordSet() const { return m_model->recordSet(); }

    int Rows() const { return m_model->rowCount() + 1; }
    int Cols() const { return m_model->columnCount() + 1; }
    // The cell's text: the header's text (with its marker) in row 0, "" in column 0 and outside.
    QString TextMatrix(int row, int col) const;
    // The current row's cell; "" while no record row is chosen (never the header's text).
    QString CurrentText(int col) const { return Row() > 0 ? TextMatrix(Row(), col) : QString(); }
    // The current row: 0 while no record row is chosen.
    int Row() const;
    void Row(int row);

    int ColWidth(int col) const;
    void ColWidth(int col, int twipsWidth);
    // Every column as wide as its widest cell (header included) plus 240 twips.
    void AutoSizeGrid();
    // The measure of a text in twips; unset, the owner window's font measures it.
    std::function<double(const QString&)> textWidth;

    // A click on the header of col: the same column again turns the order round, another column
    // sorts ascending; then the rows are sorted and the widths fitted again.
    void sortByHeader(int col);
    // The column sorted last, -1 before the first header click.
    int SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_sortAscending; }

signals:
    // A click or double click at grid coordinates (row 0: the header row).
    void cellClicked(int row, int col);
    void cellDoubleClicked(int row, int col);

private:
    void applyWidth(int col);

    RecordSetModel* m_model;
    QVector<int> m_widths;  // twips, by grid column
    int m_sortColumn = -1;
    bool m_sortAscending = false;
};
