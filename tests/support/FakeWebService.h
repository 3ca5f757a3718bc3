#pragma once
// The web service and the web site for tests: HTTP/1.1 on 127.0.0.1, served from a thread of its
// own because the client's exchanges block the thread that makes them. It checks the GetData
// request as the real service would (path, SOAPAction, content type, envelope), records the
// decoded commands, and answers from the replies the test gives, in the .NET data-set form.
// It also serves the version record at "/programs/updater/version.txt".
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <memory>

class FakeWebService {
public:
    struct Column {
        QString name;  // as it stands in the XML ("Deck_x0020_Name")
        QString type;  // schema type without prefix: "string", "integer", "decimal", ...
    };
    struct Reply {
        // No columns: a reply without schema.
        QList<Column> columns;
        // One text per column; a null QString leaves the element out (a null value).
        QList<QStringList> rows;
    };
    // One GetData request as it arrived.
    struct Request {
        QString method;
        QString path;
        QMap<QString, QString> headers;  // names in lower case
        QByteArray body;
        QString command;  // sCommand decoded; "" when it could not be read
        QString key;      // sKey decoded
    };
    enum class Mode {
        Normal,
        Refuse,    // not listening: connections are refused
        Error500,  // every request answers 500 with a SOAP fault
        Garbage,   // every request answers 200 with a body that is not XML
        Drop,      // the connection is closed without an answer
        Stall,     // the request is read and never answered
    };
    enum class Layout { Compact, Indented };

    FakeWebService();
    ~FakeWebService();
    FakeWebService(const FakeWebService&) = delete;
    FakeWebService& operator=(const FakeWebService&) = delete;

    quint16 port() const;
    // The SOAP endpoint, for CORVADEX_WEBSERVICE.
    QString url() const;
    // The web site, for CORVADEX_WEBSITE.
    QString baseUrl() const;

    // Answers for a command; the first entry that matches wins, in the order they were given.
    // A command that nothing matches gets a 500 SOAP fault.
    void answer(const QString& command, const Reply& reply);
    void answerPrefix(const QString& prefix, const Reply& reply);
    void answerMatch(const QRegularExpression& pattern, const Reply& reply);
    // A body sent as it is (200, text/xml) for a command.
    void answerRaw(const QString& command, const QByteArray& body);
    // A body sent as it is for every command beginning with prefix ("" for all).
    void answerRawPrefix(const QString& prefix, const QByteArray& body);
    void clearAnswers();
    void setLayout(Layout layout);
    void setMode(Mode mode);
    // The version record's text; until set, the path answers 404.
    void setVersionRecord(const QByteArray& text);

    QStringList commands() const;
    QList<Request> requests() const;
    int versionRequests() const;
    void clearRecords();

    // A reply in the data-set form, as the fake sends it.
    static QByteArray dataSetXml(const Reply& reply, Layout layout = Layout::Compact);

    class Impl;

private:
    std::unique_ptr<Impl> d;
};
