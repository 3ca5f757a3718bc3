#pragma once
// The web service's replies: GetData's SOAP envelope around a .NET data set whose schema names
// the columns and whose diffgram holds the rows, and the SOAP fault of a failed call.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace DataSetXml {
struct Column {
    QString name;  // as it stands in the XML ("Deck_x0020_Name")
    QString type;  // schema type without prefix: "string", "integer", "decimal", ...
};

// The service's namespace, in which GetData and its reply live.
QString serviceNamespace();

// No columns: a reply without schema. One text per column and row; a null QString leaves the
// element out (a null value). Indented writes one element per line.
QByteArray reply(const QList<Column>& columns, const QList<QStringList>& rows, bool indented = false);

// A whole HTTP/1.1 reply that closes the connection after it.
QByteArray httpReply(int status, const QByteArray& reason, const QByteArray& type, const QByteArray& body);
// The service's answer to a call it cannot serve: 500 with a SOAP fault.
QByteArray soapFault(const QString& text);
}  // namespace DataSetXml
