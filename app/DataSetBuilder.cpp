#include "app/DataSetBuilder.h"

#include "platform/VbCompat.h"

#include <charconv>
#include <cmath>

namespace {
enum Kind { Text, Integer, Decimal, Byte };

int kindOf(std::string_view schemaType) {
    const size_t colon = schemaType.find(':');
    const std::string_view t = colon != std::string_view::npos ? schemaType.substr(colon + 1) : schemaType;
    if (t == "integer") return Integer;
    if (t == "decimal") return Decimal;
    if (t == "unsignedByte") return Byte;
    return Text;  // "string", "unsignedLong" and every other type keep the text
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "-?[0-9]+", the form the service writes, read straight from the bytes.
bool plainInteger(std::string_view s) {
    size_t i = !s.empty() && s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i)
        if (!isDigit(s[i])) return false;
    return true;
}

// "-?[0-9]+(\.[0-9]+)?": any correctly rounded reading gives the same double.
bool plainDecimal(std::string_view s) {
    size_t i = !s.empty() && s[0] == '-' ? 1 : 0;
    const size_t intStart = i;
    while (i < s.size() && isDigit(s[i])) ++i;
    if (i == intStart) return false;
    if (i == s.size()) return true;
    if (s[i] != '.' || ++i == s.size()) return false;
    for (; i < s.size(); ++i)
        if (!isDigit(s[i])) return false;
    return true;
}

// Plain digits, the usual form, directly; anything else the way the client reads numbers.
bool readInt32(std::string_view bytes, int32_t& v) {
    if (plainInteger(bytes)) {
        const auto r = std::from_chars(bytes.data(), bytes.data() + bytes.size(), v);
        if (r.ec == std::errc()) return true;
    }
    const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    bool ok = false;
    const int plain = text.toInt(&ok);
    if (ok) v = plain;
    return ok || tryInt32(text, v);
}

// A value the column's type cannot hold stays null rather than ending the reading.
QVariant typed(int kind, std::string_view bytes) {
    int32_t v = 0;
    switch (kind) {
    case Integer:
        return readInt32(bytes, v) ? QVariant(int(v)) : QVariant();
    case Byte:
        return readInt32(bytes, v) && v >= 0 && v <= 255 ? QVariant(int(v)) : QVariant();
    case Decimal: {
        double d = 0;
        if (plainDecimal(bytes) && std::from_chars(bytes.data(), bytes.data() + bytes.size(), d).ec == std::errc())
            return std::isfinite(d) ? QVariant(d) : QVariant();
        const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        bool ok = false;
        d = text.toDouble(&ok);
        if (!ok) {
            if (!vbIsNumeric(text)) return {};
            d = vbVal(text);
        }
        return std::isfinite(d) ? QVariant(d) : QVariant();
    }
    default:
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    }
}

// The most cells one reply may make, whatever its size (a cell costs some 32 bytes).
constexpr qsizetype kMaxCells = 4 * 1024 * 1024;
}  // namespace

DataSetBuilder::DataSetBuilder(qsizetype inputSize)
    : m_inputSize(inputSize), m_cellBudget(qMin<qsizetype>(2 * inputSize + 4096, kMaxCells)) {}

bool DataSetBuilder::schemaStart(bool element, std::string_view name, std::string_view type) {
    if (m_state == State::Columns) {
        const std::string xmlName(name);
        QString field = QString::fromStdString(xmlName);
        field.replace(QStringLiteral("_x0020_"), QStringLiteral(" "));
        // A nameless or repeated column is stepped over; its values are not read.
        if (m_rs.appendField(field)) {
            m_byName.insert(QByteArray::fromStdString(xmlName), int(m_columns.size()));
            m_columns.push_back({xmlName, kindOf(type)});
        }
        m_skip = 1;
    } else if (element) {
        m_openElements.emplace_back(name);
    } else {
        // The row element is the declaration around the column sequence.
        if (!m_openElements.empty() && !m_openElements.back().empty()) m_tableName = m_openElements.back();
        m_haveSchema = true;
        m_state = State::Columns;
    }
    return true;
}

bool DataSetBuilder::start(bool xsd, std::string_view local, qint64 offset) {
    switch (m_state) {
    case State::Top:
        if (!xsd && !m_haveRows && local == "NewDataSet") {
            m_haveRows = true;
            m_width = int(m_columns.size());
            m_state = State::Rows;
        }
        return true;
    case State::Rows:
        if (m_width == 0 || local != m_tableName) break;
        if (qsizetype(m_rs.RecordCount() + 1) * m_width > m_cellBudget) {
            m_tooLarge = true;
            return false;
        }
        m_rs.addRow();
        m_row = m_rs.RecordCount() - 1;
        if (m_row == 0) {
            m_firstRowStart = offset;
        } else if (m_row == 1 && m_firstRowStart >= 0) {
            // Room for as many rows as the reply can hold if they are like the first.
            const qint64 rowBytes = qMax<qint64>(offset - m_firstRowStart, 8);
            m_rs.reserveRows(int(qMin<qint64>(m_inputSize / rowBytes + 1, m_cellBudget / m_width)));
        }
        m_expected = 0;
        m_state = State::Row;
        return true;
    case State::Row:
        m_column = columnOf(local);
        if (m_column < 0) break;
        m_text.clear();
        m_state = State::Cell;
        return true;
    case State::Columns:
    case State::Cell:
        break;
    }
    m_skip = 1;
    return true;
}

void DataSetBuilder::endElement(bool xsdElement) {
    if (m_skip > 0) {
        --m_skip;
        return;
    }
    switch (m_state) {
    case State::Top:
        if (xsdElement && !m_openElements.empty()) m_openElements.pop_back();
        break;
    case State::Columns:
    case State::Rows:
        m_state = State::Top;
        break;
    case State::Row:
        m_state = State::Rows;
        break;
    case State::Cell: {
        QVariant& cell = m_rs.at(m_row, m_column);
        if (!cell.isValid()) cell = typed(m_columns[size_t(m_column)].kind, m_text);
        m_expected = m_column + 1;
        m_state = State::Row;
        break;
    }
    }
}

// The columns usually come in schema order, so the one after the last match is tried first.
int DataSetBuilder::columnOf(std::string_view name) const {
    if (m_expected < int(m_columns.size()) && m_columns[size_t(m_expected)].xmlName == name) return m_expected;
    return m_byName.value(QByteArray::fromRawData(name.data(), qsizetype(name.size())), -1);
}
