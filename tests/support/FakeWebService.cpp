#include "tests/support/FakeWebService.h"

#include "tools/dataset/DataSetXml.h"

#include <QHash>
#include <QHostAddress>
#include <QMutex>
#include <QMutexLocker>
#include <QStringDecoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <optional>
#include <variant>

namespace {
// Facts of the real service, kept here on their own so that the fake checks the client
// rather than repeating it.
const QString kNamespace = QStringLiteral("http://corvadex.net/webservices/");
const QString kServicePath = QStringLiteral("/RookfellWebService/RookfellWebService.asmx");
const QString kVersionPath = QStringLiteral("/programs/updater/version.txt");
constexpr qsizetype kMaxHeaderBytes = 64 * 1024;
constexpr qsizetype kMaxBodyBytes = 16 * 1024 * 1024;

QString decodeBase64Ansi(const QString& text) {
    const QByteArray bytes = QByteArray::fromBase64(text.trimmed().toLatin1());
    QStringDecoder dec("windows-1252");
    if (!dec.isValid()) return QString::fromLatin1(bytes);
    return dec.decode(bytes);
}

using DataSetXml::httpReply;
using DataSetXml::soapFault;

struct Answer {
    enum class Match { Exact, Prefix, Pattern } match;
    QString text;
    QRegularExpression pattern;
    std::variant<FakeWebService::Reply, QByteArray> reply;

    bool matches(const QString& command) const {
        switch (match) {
        case Match::Exact:
            return command == text;
        case Match::Prefix:
            return command.startsWith(text);
        case Match::Pattern:
            return pattern.match(command).hasMatch();
        }
        return false;
    }
};

struct Parsed {
    QString method, path;
    QMap<QString, QString> headers;
    QByteArray body;
};

// A whole request from the front of buf (removed from it); nothing while it is incomplete.
// bad is set for a request that cannot be read.
std::optional<Parsed> takeRequest(QByteArray& buf, bool& bad) {
    const qsizetype end = buf.indexOf("\r\n\r\n");
    if (end < 0) {
        bad = buf.size() > kMaxHeaderBytes;
        return std::nullopt;
    }
    Parsed p;
    const QList<QByteArray> lines = buf.left(end).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    if (first.size() != 3) {
        bad = true;
        return std::nullopt;
    }
    p.method = QString::fromLatin1(first[0]);
    p.path = QString::fromLatin1(first[1]);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon <= 0) continue;
        p.headers.insert(QString::fromLatin1(lines[i].left(colon)).trimmed().toLower(),
                         QString::fromLatin1(lines[i].mid(colon + 1)).trimmed());
    }
    bool ok = true;
    const qsizetype length = p.headers.value(QStringLiteral("content-length"), QStringLiteral("0")).toLongLong(&ok);
    if (!ok || length < 0 || length > kMaxBodyBytes) {
        bad = true;
        return std::nullopt;
    }
    if (buf.size() < end + 4 + length) return std::nullopt;
    p.body = buf.mid(end + 4, length);
    buf.remove(0, end + 4 + length);
    return p;
}

// sCommand and sKey of a GetData envelope; false when the envelope is not one.
bool readEnvelope(const QByteArray& body, QString& command64, QString& key64) {
    QXmlStreamReader xml(body);
    bool inGetData = false, haveCommand = false, haveKey = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == u"GetData" && xml.namespaceUri() == kNamespace) {
                inGetData = true;
            } else if (inGetData && xml.name() == u"sCommand") {
                command64 = xml.readElementText();
                haveCommand = true;
            } else if (inGetData && xml.name() == u"sKey") {
                key64 = xml.readElementText();
                haveKey = true;
            }
        } else if (xml.isEndElement() && xml.name() == u"GetData") {
            inGetData = false;
        }
    }
    return !xml.hasError() && haveCommand && haveKey;
}
}  // namespace

class FakeWebService::Impl {
public:
    // Shared between the test's thread and the server's thread.
    mutable QMutex mutex;
    QList<Answer> answers;
    Layout layout = Layout::Compact;
    Mode mode = Mode::Normal;
    std::optional<QByteArray> versionRecord;
    QList<Request> requests;
    int versionRequests = 0;

    QThread thread;
    QObject* worker = nullptr;  // lives in thread
    QTcpServer* server = nullptr;
    QHash<QTcpSocket*, QByteArray> buffers;
    quint16 port = 0;

    // Runs fn in the server's thread and waits for it.
    template <class F>
    void inThread(F&& fn) {
        QMetaObject::invokeMethod(worker, std::forward<F>(fn), Qt::BlockingQueuedConnection);
    }

    void listen() {
        if (server->isListening()) return;
        if (!server->listen(QHostAddress::LocalHost, port)) qWarning("FakeWebService: cannot listen: %s", qPrintable(server->errorString()));
        port = server->serverPort();
    }

    void accept() {
        while (QTcpSocket* s = server->nextPendingConnection()) {
            s->setParent(worker);
            buffers.insert(s, {});
            QObject::connect(s, &QTcpSocket::readyRead, worker, [this, s] { onRead(s); });
            QObject::connect(s, &QTcpSocket::disconnected, worker, [this, s] {
                buffers.remove(s);
                s->deleteLater();
            });
        }
    }

    void onRead(QTcpSocket* s) {
        if (!buffers.contains(s)) return;
        QByteArray& buf = buffers[s];
        buf += s->readAll();
        bool bad = false;
        const std::optional<Parsed> p = takeRequest(buf, bad);
        if (bad) {
            send(s, httpReply(400, "Bad Request", "text/plain", "bad request"));
            return;
        }
        if (!p) return;
        const std::optional<QByteArray> reply = respond(*p);
        if (reply)
            send(s, *reply);
        else if (currentMode() != Mode::Stall)
            s->abort();
        // Stalled: the socket stays open with no answer until the client gives up.
    }

    void send(QTcpSocket* s, const QByteArray& reply) {
        buffers.remove(s);
        s->write(reply);
        s->disconnectFromHost();
    }

    Mode currentMode() const {
        QMutexLocker lock(&mutex);
        return mode;
    }

    std::optional<QByteArray> respond(const Parsed& p) {
        QMutexLocker lock(&mutex);
        if (p.method == u"GET" && p.path == kVersionPath) ++versionRequests;
        Request rec;
        const bool soap = p.method == u"POST";
        if (soap) {
            rec.method = p.method;
            rec.path = p.path;
            rec.headers = p.headers;
            rec.body = p.body;
            QString c64, k64;
            if (readEnvelope(p.body, c64, k64)) {
                rec.command = decodeBase64Ansi(c64);
                rec.key = decodeBase64Ansi(k64);
            }
            requests.append(rec);
        }
        switch (mode) {
        case Mode::Stall:
        case Mode::Drop:
        case Mode::Refuse:  // a connection accepted just before the server closed
            return std::nullopt;
        case Mode::Error500:
            return soapFault(QStringLiteral("Server was unable to process request."));
        case Mode::Garbage:
            return httpReply(200, "OK", "text/xml; charset=utf-8", QByteArray("<<garbage \x01\x02 not xml", 20));
        case Mode::Normal:
            break;
        }
        if (p.method == u"GET") {
            if (p.path == kVersionPath && versionRecord) return httpReply(200, "OK", "text/plain", *versionRecord);
            return httpReply(404, "Not Found", "text/plain", "not found");
        }
        if (!soap) return httpReply(405, "Method Not Allowed", "text/plain", "");
        if (p.path != kServicePath) return httpReply(404, "Not Found", "text/plain", "not found");
        const QString type = p.headers.value(QStringLiteral("content-type")).toLower().remove(u' ');
        if (type != u"text/xml;charset=utf-8" && type != u"text/xml")
            return httpReply(415, "Unsupported Media Type", "text/plain", "");
        QString action = p.headers.value(QStringLiteral("soapaction"));
        if (action.size() >= 2 && action.startsWith(u'"') && action.endsWith(u'"')) action = action.mid(1, action.size() - 2);
        if (action != kNamespace + QStringLiteral("GetData"))
            return soapFault(QStringLiteral("Server did not recognize the value of HTTP Header SOAPAction: %1.").arg(action));
        QString c64, k64;
        if (!readEnvelope(p.body, c64, k64)) return soapFault(QStringLiteral("Bad request envelope."));
        for (const Answer& a : answers) {
            if (!a.matches(rec.command)) continue;
            if (const auto* raw = std::get_if<QByteArray>(&a.reply)) return httpReply(200, "OK", "text/xml; charset=utf-8", *raw);
            return httpReply(200, "OK", "text/xml; charset=utf-8", dataSetXml(std::get<Reply>(a.reply), layout));
        }
        return soapFault(QStringLiteral("No answer for the command: %1").arg(rec.command));
    }
};

FakeWebService::FakeWebService() : d(std::make_unique<Impl>()) {
    d->thread.setObjectName(QStringLiteral("FakeWebService"));
    d->thread.start();
    d->worker = new QObject;
    d->worker->moveToThread(&d->thread);
    Impl* impl = d.get();
    d->inThread([impl] {
        impl->server = new QTcpServer(impl->worker);
        QObject::connect(impl->server, &QTcpServer::newConnection, impl->worker, [impl] { impl->accept(); });
        impl->listen();
    });
}

FakeWebService::~FakeWebService() {
    Impl* impl = d.get();
    d->inThread([impl] {
        delete impl->worker;  // with it the server and every open connection
        impl->worker = nullptr;
    });
    d->thread.quit();
    d->thread.wait();
}

quint16 FakeWebService::port() const { return d->port; }
QString FakeWebService::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(d->port); }
QString FakeWebService::url() const { return baseUrl() + kServicePath; }

void FakeWebService::answer(const QString& command, const Reply& reply) {
    QMutexLocker lock(&d->mutex);
    d->answers.append({Answer::Match::Exact, command, {}, reply});
}

void FakeWebService::answerPrefix(const QString& prefix, const Reply& reply) {
    QMutexLocker lock(&d->mutex);
    d->answers.append({Answer::Match::Prefix, prefix, {}, reply});
}

void FakeWebService::answerMatch(const QRegularExpression& pattern, const Reply& reply) {
    QMutexLocker lock(&d->mutex);
    d->answers.append({Answer::Match::Pattern, {}, pattern, reply});
}

void FakeWebService::answerRaw(const QString& command, const QByteArray& body) {
    QMutexLocker lock(&d->mutex);
    d->answers.append({Answer::Match::Exact, command, {}, body});
}

void FakeWebService::answerRawPrefix(const QString& prefix, const QByteArray& body) {
    QMutexLocker lock(&d->mutex);
    d->answers.append({Answer::Match::Prefix, prefix, {}, body});
}

void FakeWebService::clearAnswers() {
    QMutexLocker lock(&d->mutex);
    d->answers.clear();
}

void FakeWebService::setLayout(Layout layout) {
    QMutexLocker lock(&d->mutex);
    d->layout = layout;
}

void FakeWebService::setMode(Mode mode) {
    {
        QMutexLocker lock(&d->mutex);
        d->mode = mode;
    }
    Impl* impl = d.get();
    d->inThread([impl, mode] {
        if (mode == Mode::Refuse)
            impl->server->close();
        else
            impl->listen();
    });
}

void FakeWebService::setVersionRecord(const QByteArray& text) {
    QMutexLocker lock(&d->mutex);
    d->versionRecord = text;
}

QStringList FakeWebService::commands() const {
    QMutexLocker lock(&d->mutex);
    QStringList out;
    for (const Request& r : d->requests) out.append(r.command);
    return out;
}

QList<FakeWebService::Request> FakeWebService::requests() const {
    QMutexLocker lock(&d->mutex);
    return d->requests;
}

int FakeWebService::versionRequests() const {
    QMutexLocker lock(&d->mutex);
    return d->versionRequests;
}

void FakeWebService::clearRecords() {
    QMutexLocker lock(&d->mutex);
    d->requests.clear();
    d->versionRequests = 0;
}

QByteArray FakeWebService::dataSetXml(const Reply& reply, Layout layout) {
    QList<DataSetXml::Column> columns;
    for (const Column& c : reply.columns) columns.append({c.name, c.type});
    return DataSetXml::reply(columns, reply.rows, layout == Layout::Indented);
}
