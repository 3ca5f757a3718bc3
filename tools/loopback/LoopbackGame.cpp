#include "tools/loopback/LoopbackGame.h"

#include "app/modText.h"
#include "platform/Codec1252.h"
#include "tools/loopback/LoopbackData.h"

#include <QTcpSocket>
#include <QTextStream>

namespace {
// A peer that never ends its line cannot grow this server's memory without bound.
constexpr qsizetype kMaxLine = 64 * 1024;

void print(const QString& text) {
    static QTextStream out(stdout);
    out << text << Qt::endl;
}

// The log shows a login's password and an operator's pass key as stars.
QString shown(const QString& line) {
    const Fields f = Divide(line, QStringLiteral(" "));
    if (f[0] == QLatin1String("LOADGAME") || f[0] == QLatin1String("RECONNECT"))
        return f[0] + u' ' + f[1] + u' ' + QString(f[2].size(), u'*');
    if (f[0] == QLatin1String("ADMINLOGIN")) return f[0] + u' ' + QString(f[1].size(), u'*');
    return line;
}
}  // namespace

LoopbackGame::LoopbackGame(QObject* parent)
    : QObject(parent),
      m_rooms([this](QTcpSocket* s, const QString& line) { send(s, line); }, [this](const QString& line) { toLoggedIn(line); }),
      m_admin([this](QTcpSocket* s, const QString& line) { send(s, line); }, [this](const QString& line) { toLoggedIn(line); }),
      m_tourny([this](QTcpSocket* s, const QString& line) { send(s, line); }) {
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackGame::accept);
}

bool LoopbackGame::listen(quint16 port) { return m_server.listen(QHostAddress::LocalHost, port); }

QStringList LoopbackGame::online() const {
    QStringList out;
    for (const Client& c : m_clients)
        if (c.loggedIn) out << c.nick;
    return out;
}

void LoopbackGame::dropAll() {
    const QList<QTcpSocket*> sockets = m_clients.keys();
    print(QStringLiteral("[game] dropping %1 connection(s)").arg(sockets.size()));
    for (QTcpSocket* s : sockets) s->disconnectFromHost();
}

void LoopbackGame::accept() {
    while (QTcpSocket* s = m_server.nextPendingConnection()) {
        Client c;
        c.tag = QStringLiteral("[game %1]").arg(s->peerPort());
        m_clients.insert(s, c);
        print(c.tag + QStringLiteral(" connected"));
        connect(s, &QTcpSocket::readyRead, this, [this, s] { read(s); });
        connect(s, &QTcpSocket::disconnected, this, [this, s] { gone(s); });
    }
}

void LoopbackGame::gone(QTcpSocket* s) {
    auto it = m_clients.find(s);
    if (it == m_clients.end()) return;
    const Client c = *it;
    m_clients.erase(it);
    m_rooms.leave(s);
    m_admin.leave(s);
    s->deleteLater();
    print(c.tag + QStringLiteral(" disconnected"));
    if (c.loggedIn) toLoggedIn(QStringLiteral("REMPLAYER ") + c.nick);
}

void LoopbackGame::read(QTcpSocket* s) {
    auto it = m_clients.find(s);
    if (it == m_clients.end()) return;
    it->pending += s->readAll();
    qsizetype cr;
    while ((cr = it->pending.indexOf('\r')) >= 0) {
        const QString line = decode1252(it->pending.left(cr));
        it->pending.remove(0, cr + 1);
        handle(s, line);
        // The handler may have dropped the client.
        it = m_clients.find(s);
        if (it == m_clients.end()) return;
    }
    if (it->pending.size() > kMaxLine) {
        print(it->tag + QStringLiteral(" line too long, dropped"));
        it->pending.clear();
    }
}

void LoopbackGame::send(QTcpSocket* s, const QString& line) {
    auto it = m_clients.find(s);
    if (it == m_clients.end()) return;
    print(it->tag + QStringLiteral(" <- ") + line);
    s->write(encode1252(line) + '\r');
}

void LoopbackGame::toLoggedIn(const QString& line, QTcpSocket* except) {
    for (auto it = m_clients.begin(); it != m_clients.end(); ++it)
        if (it->loggedIn && it.key() != except) send(it.key(), line);
}

void LoopbackGame::sendPlayerList(QTcpSocket* s) {
    for (const LoopbackData::Player& p : LoopbackData::residents()) send(s, LoopbackData::playerLine(QStringLiteral("NEWPLAYER2"), p));
    for (const QString& nick : online()) send(s, LoopbackData::playerLine(QStringLiteral("NEWPLAYER2"), {nick, QStringLiteral("1"), {}}));
    send(s, QStringLiteral("PLAYERSLOADED"));
}

void LoopbackGame::logIn(QTcpSocket* s, const QString& nick) {
    Client& c = m_clients[s];
    const bool already = c.loggedIn;
    c.nick = nick;
    c.loggedIn = true;
    if (!already) toLoggedIn(LoopbackData::playerLine(QStringLiteral("NEWPLAYER"), {nick, QStringLiteral("1"), {}}), s);
}

void LoopbackGame::handle(QTcpSocket* s, const QString& line) {
    Client& c = m_clients[s];
    print(c.tag + QStringLiteral(" -> ") + shown(line));
    const Fields f = Divide(line, QStringLiteral(" "));
    const QString& keyword = f[0];
    if (keyword == QLatin1String("VERSION")) {
        send(s, QStringLiteral("SHOWMENU"));
    } else if (keyword == QLatin1String("LOADGAME")) {
        // Any nickname and password will do; the client has checked their characters.
        if (f[1].isEmpty()) {
            send(s, QStringLiteral("LOADGAME-NOSUCHNICK"));
            return;
        }
        logIn(s, f[1]);
        send(s, QStringLiteral("LOADGAME-OK"));
        send(s, LoopbackData::showMain());
        send(s, LoopbackData::motd());
        send(s, QStringLiteral("QUERYPLAYERS"));
    } else if (keyword == QLatin1String("RECONNECT")) {
        if (f[1].isEmpty()) return;
        logIn(s, f[1]);
        send(s, LoopbackData::showMain());
        send(s, QStringLiteral("QUERYRECONNECTPLAYERS"));
    } else if (keyword == QLatin1String("QUERYPLAYERS") || keyword == QLatin1String("QUERYRECONNECTPLAYERS")) {
        // The client could not reach the web service and asks for the list here.
        sendPlayerList(s);
    } else if (keyword == QLatin1String("TABLEQUERY")) {
        for (const QString& t : m_rooms.tableLines()) send(s, t);
    } else if (keyword == QLatin1String("CHAT")) {
        if (!c.loggedIn) return;
        QString text = line.mid(5);
        text.replace(u' ', QStringLiteral("%20"));
        toLoggedIn(QStringLiteral("CHAT ") + c.nick + u' ' + text);
        m_tourny.chat(s, c.nick, line.mid(5));
    } else if (keyword == QLatin1String("PING")) {
        send(s, QStringLiteral("PING"));
    } else if (keyword == QLatin1String("QUIT")) {
        send(s, QStringLiteral("QUITOKAY"));
        if (c.loggedIn) {
            c.loggedIn = false;
            toLoggedIn(QStringLiteral("REMPLAYER ") + c.nick, s);
        }
    } else if (!(c.loggedIn && (m_admin.handle(s, c.nick, line) || m_rooms.handle(s, c.nick, line)))) {
        print(c.tag + QStringLiteral("    (the loopback server does not serve \"") + keyword + QStringLiteral("\")"));
    }
}
