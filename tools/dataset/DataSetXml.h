#pragma once
// Writes the web service's GetData reply: a SOAP envelope around a .NET data set whose schema
// names the columns and whose diffgram holds the rows.
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
}  // namespace DataSetXml
