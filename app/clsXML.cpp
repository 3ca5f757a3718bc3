#include "app/clsXML.h"

#include "app/Deployment.h"
#include "app/storedvars.h"
#include "platform/VbCompat.h"

#include <QHash>
#include <QXmlStreamReader>

#include <cmath>

namespace {
const QString kXsd = QStringLiteral("http://www.w3.org/2001/XMLSchema");
const QString kServicePath = QStringLiteral("/RookfellWebService/RookfellWebService.asmx");

enum class Kind { Text, Integer, Decimal, Byte };

Kind kindOf(QStringView schemaType) {
    const qsizetype colon = schemaType.indexOf(u':');
    const QStringView t = colon >= 0 ? schemaType.mid(colon + 1) : schemaType;
    if (t == u"integer") return Kind::Integer;
    if (t == u"decimal") return Kind::Decimal;
    if (t == u"unsignedByte") return Kind::Byte;
    return Kind::Text;  // "string", "unsignedLong" and every other type keep the text
}

// Plain digits, the usual form, directly; anything else the way the client reads numbers.
bool readInt32(const QString& text, int32_t& v) {
    bool ok = false;
    const int plain = text.toInt(&ok);
    if (ok) v = plain;
    return ok || tryInt32(text, v);
}

// A value the column's type cannot hold stays null rather than ending the reading.
QVariant typed(Kind kind, const QString& text) {
    int32_t v = 0;
    switch (kind) {
    case Kind::Text:
        return text;
    case Kind::Integer:
        return readInt32(text, v) ? QVariant(int(v)) : QVariant();
    case Kind::Byte:
        return readInt32(text, v) && v >= 0 && v <= 255 ? QVariant(int(v)) : QVariant();
    case Kind::Decimal: {
        bool ok = false;
        double d = text.toDouble(&ok);
        if (!ok) {
            if (!vbIsNumeric(text)) return {};
            d = vbVal(text);
        }
        return std::isfinite(d) ? QVariant(d) : QVariant();
    }
    }
    return {};
}

struct Column {
    QString xmlName;  // as the rows spell it
    Kind kind;
};

class DataSetReader {
public:
    DataSetReader(QXmlStreamReader& xml, qsizetype inputSize)
        : m_xml(xml), m_inputSize(inputSize), m_cellBudget(qMin<qsizetype>(2 * inputSize + 4096, kMaxCells)) {}

    RecordSet read() {
        QStringList openElements;  // names of the open xs:element declarations
        bool haveSchema = false;
        bool haveRows = false;
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::StartElement) {
                const bool xsd = m_xml.namespaceUri() == kXsd;
                if (xsd && m_xml.name() == u"element") {
                    openElements.append(m_xml.attributes().value(QLatin1StringView("name")).toString());
                } else if (xsd && !haveSchema && m_xml.name() == u"sequence") {
                    // The row element is the declaration around the column sequence.
                    if (!openElements.isEmpty() && !openElements.last().isEmpty()) m_tableName = openElements.last();
                    readColumns();
                    haveSchema = true;
                } else if (!xsd && !haveRows && m_xml.name() == u"NewDataSet") {
                    if (!readRows()) return RecordSet::failure(QStringLiteral("Error: -3 - The data set is too large"));
                    haveRows = true;
                }
            } else if (token == QXmlStreamReader::EndElement) {
                if (m_xml.namespaceUri() == kXsd && m_xml.name() == u"element" && !openElements.isEmpty())
                    openElements.removeLast();
            }
        }
        if (m_xml.hasError())
            return RecordSet::failure(QStringLiteral("Error: -2 - %1 (line %2)")
                                          .arg(m_xml.errorString())
                                          .arg(m_xml.lineNumber()));
        return std::move(m_rs);
    }

private:
    // The most cells one reply may make, whatever its size (a cell costs some 32 bytes).
    static constexpr qsizetype kMaxCells = 4 * 1024 * 1024;

    void readColumns() {
        while (m_xml.readNextStartElement()) {
            if (m_xml.namespaceUri() == kXsd && m_xml.name() == u"element") {
                const QXmlStreamAttributes a = m_xml.attributes();
                const QString xmlName = a.value(QLatin1StringView("name")).toString();
                QString name = xmlName;
                name.replace(QStringLiteral("_x0020_"), QStringLiteral(" "));
                // A nameless or repeated column is stepped over; its values are not read.
                if (m_rs.appendField(name)) {
                    m_byName.insert(xmlName, int(m_columns.size()));
                    m_columns.append({xmlName, kindOf(a.value(QLatin1StringView("type")))});
                }
            }
            m_xml.skipCurrentElement();
        }
    }

    // The column of a value element; the columns usually come in schema order, so the one
    // after the last match is tried first.
    int columnOf(QStringView name, int expected) const {
        if (expected < m_columns.size() && m_columns[expected].xmlName == name) return expected;
        return m_byName.value(name.toString(), -1);
    }

    bool readRows() {
        const int width = int(m_columns.size());
        while (m_xml.readNextStartElement()) {
            if (width == 0 || m_xml.name() != m_tableName) {
                m_xml.skipCurrentElement();
                continue;
            }
            if (qsizetype(m_rs.RecordCount() + 1) * width > m_cellBudget) return false;
            const qint64 rowStart = m_xml.characterOffset();
            m_rs.addRow();
            const int row = m_rs.RecordCount() - 1;
            int expected = 0;
            while (m_xml.readNextStartElement()) {
                const int c = columnOf(m_xml.name(), expected);
                if (c < 0) {
                    m_xml.skipCurrentElement();
                    continue;
                }
                const QString text = m_xml.readElementText(QXmlStreamReader::SkipChildElements);
                QVariant& cell = m_rs.at(row, c);
                if (!cell.isValid()) cell = typed(m_columns[c].kind, text);
                expected = c + 1;
            }
            if (row == 0) {
                // Room for as many rows as the reply can hold if they are like the first.
                const qint64 rowChars = qMax<qint64>(m_xml.characterOffset() - rowStart, 8);
                const qint64 guess = qMin<qint64>(m_inputSize / rowChars + 1, m_cellBudget / width);
                m_rs.reserveRows(int(guess));
            }
        }
        return true;
    }

    QXmlStreamReader& m_xml;
    const qsizetype m_inputSize;
    const qsizetype m_cellBudget;
    QString m_tableName = QStringLiteral("Table");
    QVector<Column> m_columns;
    QHash<QString, int> m_byName;
    RecordSet m_rs;
};
}  // namespace

RecordSet ParseDataSetReply(const QByteArray& reply) {
    QXmlStreamReader xml(reply);
    return DataSetReader(xml, reply.size()).read();
}

RecordSet ParseDataSetText(const QString& reply) {
    QXmlStreamReader xml(reply);
    return DataSetReader(xml, reply.size()).read();
}

QString GetDataRequest(const QString& command64, const QString& key64) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                          "<soap:Envelope xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                          " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
                          " xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                          "<soap:Body>") +
           QStringLiteral("<GetData xmlns=\"") + Deployment::serviceNamespace() + QStringLiteral("\">") +
           QStringLiteral("<sCommand>") + command64 + QStringLiteral("</sCommand>") + QStringLiteral("<sKey>") + key64 +
           QStringLiteral("</sKey>") + QStringLiteral("</GetData></soap:Body></soap:Envelope>");
}

void clsXML::RookfellWebService(QString& command, QString& key, RecordSet& rs) {
    command = Crypt().Encode(command);
    key = Crypt().Encode(key);
    const QString url = ServiceURL();
    const QString request = GetDataRequest(command, key);
    const HttpResponse reply = PostSoap(url, Deployment::serviceNamespace() + QStringLiteral("GetData"), request);
    rs = reply.ok() ? ParseDataSet(reply.body) : RecordSet::failure(reply.error);
}

QString clsXML::ServiceURL() {
    clsClientConfig& config = ClientConfig();
    const QString defaultHost = Deployment::serverHost();
    if (config.IP().isEmpty()) config.IP(defaultHost);
    const QString override = Deployment::webServiceOverride();
    if (!override.isEmpty()) return override;

    QString host;
    if (config.Username() == Deployment::developerNickname() && config.IP() == defaultHost)
        host = Deployment::developmentServiceHost();
    else if (config.IP() == defaultHost && config.Port() != QStringLiteral("1300"))
        host = Deployment::publicServiceHost();
    else
        host = Deployment::developmentServiceHost();
    return QStringLiteral("http://") + host + QStringLiteral(":3310") + kServicePath;
}

HttpResponse clsXML::PostSoap(const QString& url, const QString& action, const QString& request) {
    return HttpClient::post(url,
                            {QStringLiteral("Content-Type: text/xml; charset=utf-8"), QStringLiteral("SOAPAction: ") + action},
                            request.toUtf8());
}

RecordSet clsXML::ParseDataSet(const QByteArray& reply) { return ParseDataSetReply(reply); }
