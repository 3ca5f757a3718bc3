#pragma once
// Builds a RecordSet from the events of a streaming XML parser reading a data-set reply: the
// columns from the first xs:sequence of the schema, one row per row element inside NewDataSet.
// Names and texts arrive as UTF-8 bytes; element names without their prefix, the namespace
// resolved by the parser.
#include "app/RecordSet.h"

#include <QHash>

#include <string>
#include <string_view>
#include <vector>

class DataSetBuilder {
public:
    // inputSize: the reply's length, which bounds how many cells the set may take.
    explicit DataSetBuilder(qsizetype inputSize);

    // attr(name) gives the unprefixed attribute's value, empty when there is none; it is called
    // only for schema elements. offset: the reading's place in the input at the element, which
    // grows through the reply.
    // Returns false when the set would be too large: the reading must stop (see tooLarge()).
    template <class AttrLookup>
    bool startElement(bool xsd, std::string_view local, AttrLookup&& attr, qint64 offset) {
        if (m_skip > 0) {
            ++m_skip;
            return true;
        }
        if (m_state == State::Top && xsd && (local == "element" || (!m_haveSchema && local == "sequence")))
            return schemaStart(local == "element", attr("name"), attr("type"));
        if (m_state == State::Columns && xsd && local == "element")
            return schemaStart(true, attr("name"), attr("type"));
        return start(xsd, local, offset);
    }
    // xsdElement: the element that ends is an xs:element.
    void endElement(bool xsdElement);
    void characters(const char* text, qsizetype length) {
        if (m_state == State::Cell && m_skip == 0) m_text.append(text, size_t(length));
    }

    bool tooLarge() const { return m_tooLarge; }
    // The set built, standing on its last row.
    RecordSet take() { return std::move(m_rs); }

private:
    enum class State { Top, Columns, Rows, Row, Cell };
    struct Column {
        std::string xmlName;  // as the rows spell it
        int kind;
    };

    bool schemaStart(bool element, std::string_view name, std::string_view type);
    bool start(bool xsd, std::string_view local, qint64 offset);
    int columnOf(std::string_view name) const;

    const qsizetype m_inputSize;
    const qsizetype m_cellBudget;
    State m_state = State::Top;
    int m_skip = 0;  // depth inside an element whose content is not read
    bool m_haveSchema = false;
    bool m_haveRows = false;
    bool m_tooLarge = false;
    std::vector<std::string> m_openElements;  // names of the open xs:element declarations
    std::string m_tableName = "Table";
    std::vector<Column> m_columns;
    QHash<QByteArray, int> m_byName;
    int m_width = 0;     // columns when the rows began
    int m_row = -1;
    int m_column = -1;   // the cell being read
    int m_expected = 0;  // the column after the last one read: the usual next one
    qint64 m_firstRowStart = -1;
    std::string m_text;
    RecordSet m_rs;
};
