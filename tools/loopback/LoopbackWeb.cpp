#include "tools/loopback/LoopbackWeb.h"

#include "app/clsCrypt.h"
#include "tools/dataset/DataSetXml.h"
#include "tools/loopback/LoopbackCards.h"
#include "tools/loopback/LoopbackTourny.h"
#include "tools/loopback/LoopbackData.h"
#include "tools/loopback/LoopbackGuild.h"
#include "tools/loopback/LoopbackEconomy.h"
#include "tools/loopback/LoopbackRooms.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QTextStream>
#include <QXmlStreamReader>

namespace {
const QByteArray kServicePath = "/RookfellWebService/RookfellWebService.asmx";
const QByteArray kVersionPath = "/programs/updater/version.txt";
constexpr qsizetype kMaxRequest = 1024 * 1024;

void print(const QString& text) {
    static QTextStream out(stdout);
    out << text << Qt::endl;
}

using DataSetXml::httpReply;
using DataSetXml::soapFault;

// The stored-procedure call of a GetData envelope, decoded; "" when there is none.
QString commandOf(const QByteArray& body) {
    QXmlStreamReader xml(body);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"sCommand")
            return clsCrypt().Decode(xml.readElementText());
    return {};
}
}  // namespace

LoopbackWeb::LoopbackWeb(std::function<QStringList()> online, QObject* parent)
    : QObject(parent), m_online(std::move(online)) {
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackWeb::accept);
}

bool LoopbackWeb::listen(quint16 port) { return m_server.listen(QHostAddress::LocalHost, port); }
QString LoopbackWeb::siteUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port()); }
QString LoopbackWeb::serviceUrl() const { return siteUrl() + QString::fromLatin1(kServicePath); }

void LoopbackWeb::accept() {
    while (QTcpSocket* s = m_server.nextPendingConnection()) {
        m_buffers.insert(s, {});
        connect(s, &QTcpSocket::readyRead, this, [this, s] { read(s); });
        connect(s, &QTcpSocket::disconnected, this, [this, s] {
            m_buffers.remove(s);
            s->deleteLater();
        });
    }
}

void LoopbackWeb::read(QTcpSocket* s) {
    auto it = m_buffers.find(s);
    if (it == m_buffers.end()) return;
    QByteArray& buf = *it;
    buf += s->readAll();
    const auto answer = [&](const QByteArray& reply) {
        m_buffers.remove(s);
        s->write(reply);
        s->disconnectFromHost();
    };
    if (buf.size() > kMaxRequest) return answer(httpReply(413, "Payload Too Large", "text/plain", ""));
    const qsizetype end = buf.indexOf("\r\n\r\n");
    if (end < 0) return;
    const QList<QByteArray> head = buf.left(end).split('\n');
    const QList<QByteArray> request = head.value(0).trimmed().split(' ');
    if (request.size() != 3) return answer(httpReply(400, "Bad Request", "text/plain", ""));
    qsizetype length = 0;
    for (const QByteArray& h : head)
        if (h.toLower().startsWith("content-length:")) length = h.mid(15).trimmed().toLongLong();
    if (length < 0 || end + 4 + length > kMaxRequest) return answer(httpReply(413, "Payload Too Large", "text/plain", ""));
    if (buf.size() < end + 4 + length) return;
    answer(respond(request[0], request[1], buf.mid(end + 4, length)));
}

QByteArray LoopbackWeb::respond(const QByteArray& method, const QByteArray& path, const QByteArray& body) {
    if (method == "GET" && path == kVersionPath) {
        print(QStringLiteral("[web] version record"));
        return httpReply(200, "OK", "text/plain", LoopbackData::versionRecord());
    }
    if (method == "POST" && path == kServicePath) return getData(commandOf(body));
    print(QStringLiteral("[web] %1 %2: not found").arg(QString::fromLatin1(method), QString::fromLatin1(path)));
    return httpReply(404, "Not Found", "text/plain", "not found");
}

QByteArray LoopbackWeb::getData(const QString& command) {
    if (command == QLatin1String("CALL usp_FindDecks()")) return deckList(command);
    if (command == QLatin1String("call sps_GetAdminKeywords()")) {
        QList<QStringList> rows;
        for (const char* word : {"help", "scam", "bug", "language"}) rows << QStringList{QString::fromLatin1(word)};
        print(QStringLiteral("[web] GetData %1: %2 keywords").arg(command).arg(rows.size()));
        return httpReply(200, "OK", "text/xml; charset=utf-8", DataSetXml::reply({{QStringLiteral("keyword"), QStringLiteral("string")}}, rows));
    }
    if (command.startsWith(QLatin1String("call spt_MarryPlayer("))) {
        // The call carries the operator's pass key: the log names only the procedure.
        print(QStringLiteral("[web] GetData call spt_MarryPlayer(...): done"));
        return httpReply(200, "OK", "text/xml; charset=utf-8", DataSetXml::reply({{QStringLiteral("Result"), QStringLiteral("string")}}, {}));
    }
    if (const auto guild = LoopbackGuild::answer(command)) return httpReply(200, "OK", "text/xml; charset=utf-8", *guild);
    if (LoopbackEconomy::serves(command)) return LoopbackEconomy::instance().answer(command);
    if (command.startsWith(QLatin1String("call sps_CVCards("))) return collection(command);
    if (const auto row = LoopbackTourny::webReply(command)) {
        print(QStringLiteral("[web] GetData tournament procedure: done"));
        const QList<QStringList> rows = row->second.isEmpty() ? QList<QStringList>() : QList<QStringList>{{row->second}};
        return httpReply(200, "OK", "text/xml; charset=utf-8", DataSetXml::reply({{row->first, QStringLiteral("string")}}, rows));
    }
    if (command != QLatin1String("call sps_GetPlayers()")) {
        print(QStringLiteral("[web] GetData %1: not served").arg(command));
        return soapFault(QStringLiteral("The loopback service does not serve: ") + command);
    }
    QList<QStringList> rows;
    for (const LoopbackData::Player& p : LoopbackData::residents()) rows << QStringList{LoopbackData::listRecord(p)};
    for (const QString& nick : m_online()) rows << QStringList{LoopbackData::listRecord({nick, QStringLiteral("1"), {}})};
    print(QStringLiteral("[web] GetData %1: %2 players").arg(command).arg(rows.size()));
    return httpReply(200, "OK", "text/xml; charset=utf-8", DataSetXml::reply({{QStringLiteral("Player"), QStringLiteral("string")}}, rows));
}

QByteArray LoopbackWeb::deckList(const QString& command) {
    QList<QStringList> rows;
    for (const QString& deck : LoopbackRooms::decks()) rows << QStringList{deck};
    print(QStringLiteral("[web] GetData %1: %2 decks").arg(command).arg(rows.size()));
    return httpReply(200, "OK", "text/xml; charset=utf-8", DataSetXml::reply({{QStringLiteral("deck"), QStringLiteral("string")}}, rows));
}

QByteArray LoopbackWeb::collection(const QString& command) {
    // call sps_CVCards('nick', 'deck', min, max, tradeNone)
    static const QRegularExpression call(
        QStringLiteral("^call sps_CVCards\\('([^']*)', '([^']*)', (-?\\d+), (-?\\d+), ([01])\\)$"));
    const QRegularExpressionMatch m = call.match(command);
    if (!m.hasMatch()) {
        print(QStringLiteral("[web] GetData %1: not understood").arg(command));
        return soapFault(QStringLiteral("The loopback service does not understand: ") + command);
    }
    const int minLevel = m.captured(3).toInt(), maxLevel = m.captured(4).toInt();
    QList<QStringList> rows;
    for (const LoopbackCards::Card& c : LoopbackCards::all()) {
        if (m.captured(2) != QLatin1String("Standard") && c.deck != m.captured(2)) continue;
        if (c.level < minLevel || c.level > maxLevel) continue;
        // Everyone owns a few of the common cards and one of the rarer ones.
        rows << QStringList{c.name, QString::number(c.level), c.level <= 2 ? QStringLiteral("3") : QStringLiteral("1"),
                            c.special ? QStringLiteral("Yes") : QStringLiteral("No")};
    }
    print(QStringLiteral("[web] GetData %1: %2 cards").arg(command).arg(rows.size()));
    return httpReply(200, "OK", "text/xml; charset=utf-8",
                     DataSetXml::reply({{QStringLiteral("Card"), QStringLiteral("string")},
                                        {QStringLiteral("Level"), QStringLiteral("integer")},
                                        {QStringLiteral("Total"), QStringLiteral("integer")},
                                        {QStringLiteral("Special"), QStringLiteral("string")}},
                                       rows));
}
