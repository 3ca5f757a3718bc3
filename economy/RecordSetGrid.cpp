#include "economy/RecordSetGrid.h"

#include "platform/VbCompat.h"

#include <QFontMetricsF>
#include <QHash>
#include <QHeaderView>
#include <algorithm>
#include <array>
#include <cmath>

namespace {
// The fixed column shows row marks, not numbers.
class GridModel : public RecordSetModel {
public:
    using RecordSetModel::RecordSetModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
        return RecordSetModel::headerData(section, orientation, role);
    }
};

constexpr int kPaddingTwips = 240;
constexpr int kFixedColumnTwips = 240;
}  // namespace

RecordSetGrid::RecordSetGrid(QWidget* owner, const char* name) : QTableView(owner), m_model(new GridModel(this)) {
    setObjectName(QString::fromLatin1(name));
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setHighlightSections(false);
    setStyleSheet(QStringLiteral(
        "QTableView { background: rgba(12, 9, 18, 225); color: #f4e6c4; gridline-color: #4a3d2a;"
        " selection-background-color: #7a5c22; selection-color: #fff6dc; border: 1px solid #6b5a3a; }"
        "QHeaderView { background: #2a2036; border: none; }"
        "QHeaderView::section { background: #2a2036; color: #e2bc66; border: 1px solid #4a3d2a; padding: 0px 2px; }"
        "QTableCornerButton::section { background: #2a2036; border: 1px solid #4a3d2a; }"));
    m_widths.fill(kFixedColumnTwips, 1);
    applyWidth(0);

    connect(this, &QTableView::clicked, this, [this](const QModelIndex& at) { emit cellClicked(at.row() + 1, at.column() + 1); });
    connect(this, &QTableView::doubleClicked, this,
            [this](const QModelIndex& at) { emit cellDoubleClicked(at.row() + 1, at.column() + 1); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) { emit cellClicked(0, section + 1); });
    connect(verticalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        Row(section + 1);
        emit cellClicked(section + 1, 0);
    });
}

void RecordSetGrid::bind(const RecordSet& rs) {
    m_model->setRecordSet(rs);
    // A new binding starts with the default widths, as the bound grid did.
    m_widths = QVector<int>(Cols(), kFixedColumnTwips * 4);
    m_widths[0] = kFixedColumnTwips;
    for (int c = 0; c < Cols(); ++c) applyWidth(c);
}

void RecordSetGrid::clear() { bind(RecordSet()); }

QString RecordSetGrid::TextMatrix(int row, int col) const {
    if (col < 1 || col >= Cols() || row < 0 || row >= Rows()) return {};
    if (row == 0) return m_model->headerData(col - 1, Qt::Horizontal, Qt::DisplayRole).toString();
    return m_model->data(m_model->index(row - 1, col - 1), Qt::DisplayRole).toString();
}

int RecordSetGrid::Row() const {
    const QModelIndex at = currentIndex();
    return at.isValid() ? at.row() + 1 : 0;
}

void RecordSetGrid::Row(int row) {
    if (row < 1 || row >= Rows()) {
        setCurrentIndex(QModelIndex());
        clearSelection();
        return;
    }
    const int col = std::max(0, currentIndex().column());
    setCurrentIndex(m_model->index(row - 1, std::min(col, m_model->columnCount() - 1)));
}

int RecordSetGrid::ColWidth(int col) const { return col >= 0 && col < m_widths.size() ? m_widths[col] : 0; }

void RecordSetGrid::ColWidth(int col, int twipsWidth) {
    if (col < 0 || col >= Cols()) return;
    if (m_widths.size() < Cols()) m_widths.resize(Cols());
    m_widths[col] = std::max(0, twipsWidth);
    applyWidth(col);
}

void RecordSetGrid::applyWidth(int col) {
    const int pixels = int(std::lround(double(m_widths[col]) / kTwipsPerPixel));
    if (col == 0) {
        verticalHeader()->setVisible(pixels > 0);
        verticalHeader()->setFixedWidth(pixels);
        return;
    }
    setColumnHidden(col - 1, pixels == 0);
    if (pixels > 0) setColumnWidth(col - 1, pixels);
}

void RecordSetGrid::AutoSizeGrid() {
    const RecordSet& rs = m_model->recordSet();
    // The window's TextWidth: the sum of the letters' advances in its font, without kerning, as
    // the old text extent was. Each letter is measured once.
    const QFontMetricsF metrics(parentWidget() ? parentWidget()->font() : font());
    std::array<double, 256> latin;
    latin.fill(-1);
    QHash<char16_t, double> others;
    const auto advance = [&](QChar ch) {
        double& known = ch.unicode() < latin.size() ? latin[ch.unicode()] : others[ch.unicode()];
        if (ch.unicode() >= latin.size() || known < 0) known = metrics.horizontalAdvance(ch);
        return known;
    };
    const auto measure = [&](const QString& text) {
        if (textWidth) return float(textWidth(text));
        double sum = 0;
        for (QChar ch : text) sum += advance(ch);
        return float(sum * kTwipsPerPixel);
    };
    for (int c = 0; c < Cols(); ++c) {
        float widest = measure(TextMatrix(0, c));
        // The widest cell does not depend on the row order: the records are read as stored.
        if (c > 0)
            for (int r = 0; r < rs.RecordCount(); ++r) widest = std::max(widest, measure(rs.value(r, c - 1).toString()));
        ColWidth(c, int(std::lround(double(widest) + kPaddingTwips)));
    }
}

void RecordSetGrid::sortByHeader(int col) {
    // The fixed column holds no values to sort by.
    if (col < 1 || col >= Cols()) return;
    if (col == m_sortColumn) {
        m_sortAscending = !m_sortAscending;
    } else {
        m_sortColumn = col;
        m_sortAscending = true;
    }
    m_model->sort(col - 1, m_sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    // The fit after a sort keeps the columns the window hid (a description, an identifier) hidden.
    QVector<int> hidden;
    for (int c = 0; c < Cols(); ++c)
        if (ColWidth(c) == 0) hidden << c;
    AutoSizeGrid();
    for (int c : hidden) ColWidth(c, 0);
}
