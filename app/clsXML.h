#pragma once
// The web-service client: sends a stored-procedure call to the service's one SOAP operation,
// GetData, and reads the .NET data-set reply into a RecordSet.
#include "app/HttpClient.h"
#include "app/RecordSet.h"

#include <QByteArray>
#include <QString>

class clsXML {
public:
    // Replaces command and key by their Base64 forms, posts the request and fills rs with the
    // reply (a failed exchange gives an empty set with failed() true). Shows no message.
    void RookfellWebService(QString& command, QString& key, RecordSet& rs);

private:
    friend class TestWebService;
    // The endpoint: CORVADEX_WEBSERVICE when set, else chosen from the login's server address.
    // Sets the configuration's IP to the default game-server host when it is empty.
    QString ServiceURL();
    HttpResponse PostSoap(const QString& url, const QString& action, const QString& request);
    RecordSet ParseDataSet(const QByteArray& reply);
};

// The SOAP request of GetData for Base64 command and key texts.
QString GetDataRequest(const QString& command64, const QString& key64);

// Reads a data-set reply: the columns from the first xs:sequence of its schema (xs:element name
// and type; "_x0020_" in a name becomes a blank), one row per row element inside NewDataSet.
// Values are typed by the column's type ("integer" 32-bit, "decimal" double, "unsignedByte"
// 0..255, any other the text); a value that does not convert, or is missing, stays null.
// A reply that is not well-formed XML 1.0, or would need too much memory, gives a failed empty set
// (its error worded as QXmlStreamReader words it). The result stands on its last row. The reply
// is read in one streaming pass of libxml2, with namespaces resolved.
RecordSet ParseDataSetReply(const QByteArray& reply);
RecordSet ParseDataSetText(const QString& reply);
