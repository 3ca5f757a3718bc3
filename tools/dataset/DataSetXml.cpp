#include "tools/dataset/DataSetXml.h"

#include <QXmlStreamWriter>

namespace DataSetXml {
QString serviceNamespace() { return QStringLiteral("http://corvadex.net/webservices/"); }

QByteArray httpReply(int status, const QByteArray& reason, const QByteArray& type, const QByteArray& body) {
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

QByteArray soapFault(const QString& text) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("soap:Envelope"));
    w.writeAttribute(QStringLiteral("xmlns:soap"), QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/"));
    w.writeStartElement(QStringLiteral("soap:Body"));
    w.writeStartElement(QStringLiteral("soap:Fault"));
    w.writeTextElement(QStringLiteral("faultcode"), QStringLiteral("soap:Server"));
    w.writeTextElement(QStringLiteral("faultstring"), text);
    w.writeEndDocument();
    return httpReply(500, "Internal Server Error", "text/xml; charset=utf-8", out);
}

QByteArray reply(const QList<Column>& columns, const QList<QStringList>& rows, bool indented) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(indented);
    w.setAutoFormattingIndent(2);
    const QString xs = QStringLiteral("http://www.w3.org/2001/XMLSchema");
    const QString msdata = QStringLiteral("urn:schemas-microsoft-com:xml-msdata");
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("soap:Envelope"));
    w.writeAttribute(QStringLiteral("xmlns:soap"), QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/"));
    w.writeAttribute(QStringLiteral("xmlns:xsi"), QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"));
    w.writeAttribute(QStringLiteral("xmlns:xsd"), xs);
    w.writeStartElement(QStringLiteral("soap:Body"));
    w.writeStartElement(QStringLiteral("GetDataResponse"));
    w.writeAttribute(QStringLiteral("xmlns"), serviceNamespace());
    w.writeStartElement(QStringLiteral("GetDataResult"));

    w.writeStartElement(QStringLiteral("xs:schema"));
    w.writeAttribute(QStringLiteral("id"), QStringLiteral("NewDataSet"));
    w.writeAttribute(QStringLiteral("xmlns"), QString());
    w.writeAttribute(QStringLiteral("xmlns:xs"), xs);
    w.writeAttribute(QStringLiteral("xmlns:msdata"), msdata);
    w.writeStartElement(QStringLiteral("xs:element"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("NewDataSet"));
    w.writeAttribute(QStringLiteral("msdata:IsDataSet"), QStringLiteral("true"));
    w.writeAttribute(QStringLiteral("msdata:UseCurrentLocale"), QStringLiteral("true"));
    w.writeStartElement(QStringLiteral("xs:complexType"));
    w.writeStartElement(QStringLiteral("xs:choice"));
    w.writeAttribute(QStringLiteral("minOccurs"), QStringLiteral("0"));
    w.writeAttribute(QStringLiteral("maxOccurs"), QStringLiteral("unbounded"));
    if (!columns.isEmpty()) {
        w.writeStartElement(QStringLiteral("xs:element"));
        w.writeAttribute(QStringLiteral("name"), QStringLiteral("Table"));
        w.writeStartElement(QStringLiteral("xs:complexType"));
        w.writeStartElement(QStringLiteral("xs:sequence"));
        for (const Column& c : columns) {
            w.writeEmptyElement(QStringLiteral("xs:element"));
            w.writeAttribute(QStringLiteral("name"), c.name);
            w.writeAttribute(QStringLiteral("type"), QStringLiteral("xs:") + c.type);
            w.writeAttribute(QStringLiteral("minOccurs"), QStringLiteral("0"));
        }
        w.writeEndElement();  // xs:sequence
        w.writeEndElement();  // xs:complexType
        w.writeEndElement();  // xs:element Table
    }
    w.writeEndElement();  // xs:choice
    w.writeEndElement();  // xs:complexType
    w.writeEndElement();  // xs:element NewDataSet
    w.writeEndElement();  // xs:schema

    w.writeStartElement(QStringLiteral("diffgr:diffgram"));
    w.writeAttribute(QStringLiteral("xmlns:msdata"), msdata);
    w.writeAttribute(QStringLiteral("xmlns:diffgr"), QStringLiteral("urn:schemas-microsoft-com:xml-diffgram-v1"));
    if (!rows.isEmpty()) {
        w.writeStartElement(QStringLiteral("NewDataSet"));
        w.writeAttribute(QStringLiteral("xmlns"), QString());
        for (qsizetype r = 0; r < rows.size(); ++r) {
            w.writeStartElement(QStringLiteral("Table"));
            w.writeAttribute(QStringLiteral("diffgr:id"), QStringLiteral("Table%1").arg(r + 1));
            w.writeAttribute(QStringLiteral("msdata:rowOrder"), QString::number(r));
            const QStringList& row = rows[r];
            for (qsizetype c = 0; c < columns.size() && c < row.size(); ++c) {
                if (row[c].isNull()) continue;
                w.writeTextElement(columns[c].name, row[c]);
            }
            w.writeEndElement();
        }
        w.writeEndElement();  // NewDataSet
    }
    w.writeEndDocument();
    return out;
}
}  // namespace DataSetXml
