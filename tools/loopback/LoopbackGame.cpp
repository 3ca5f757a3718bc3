#include "tools/loopback/LoopbackGame.h"

#include "app/modText.h"
#include "platform/Codec1252.h"
#include "tools/loopback/LoopbackCards.h"
#include "tools/loopback/LoopbackData.h"
#include "tools/loopback/LoopbackEconomy.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QTextStream>

#include <algorithm>

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

QString encoded(QString text) { return text.replace(u' ', QStringLiteral("%20")); }

// How long a resident takes to answer a private message, and how long it then leaves the same
// player unanswered.
constexpr int kReplyMs = 1000;
constexpr qint64 kReplyGapMs = 5000;

// The texts a client sends by itself in answer to a private message (the tournament helper's
// registration answers, an operator's refusals). A resident who answered them would be answered
// again, without end.
bool automatic(const QString& text) {
    static const QStringList starts = {
        QStringLiteral("You are already in the tournament"),
        QStringLiteral("You have been added to the tournament"),
        QStringLiteral("You could not be added to the tournament"),
        QStringLiteral("This administrator is running a tournament"),
        QStringLiteral("This administrator is not accepting private messages"),
    };
    return std::any_of(starts.begin(), starts.end(), [&](const QString& s) { return text.startsWith(s); });
}

// What a resident answers to a private message.
QString replyTo(const QString& resident, const QString& text) {
    const QString t = text.toLower();
    if (t.contains(QLatin1String("hello")) || t.contains(QLatin1String("hi")))
        return QStringLiteral("Hello! I am %1. Make a Corvada table and I will sit down to play.").arg(resident);
    if (t.contains(u'?')) return QStringLiteral("Good question! Ask me again over a game of Corvada.");
    return QStringLiteral("Thanks for the message. Shall we play? Make a Corvada table and I will join.");
}
}  // namespace

LoopbackGame::LoopbackGame(QObject* parent)
    : QObject(parent),
      m_rooms([this](QTcpSocket* s, const QString& line) { send(s, line); }, [this](const QString& line) { toLoggedIn(line); }),
      m_admin([this](QTcpSocket* s, const QString& line) { send(s, line); }, [this](const QString& line) { toLoggedIn(line); }),
      m_tourny([this](QTcpSocket* s, const QString& line) { send(s, line); }) {
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackGame::accept);
    m_clock.start();
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
        m_rooms.reconnected(s, f[1]);
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
        // The client's keep-alive; a PING back would be answered again, round and round.
    } else if (c.loggedIn && lobby(s, line)) {
    } else if (keyword == QLatin1String("QUIT")) {
        send(s, QStringLiteral("QUITOKAY"));
        if (c.loggedIn) {
            c.loggedIn = false;
            toLoggedIn(QStringLiteral("REMPLAYER ") + c.nick, s);
        }
    } else if (c.loggedIn && LoopbackEconomy::instance().handle(c.nick, line, [&](const QString& l) { send(s, l); })) {
        // An economy line: its answers went back.
    } else if (!(c.loggedIn && (m_admin.handle(s, c.nick, line) || m_rooms.handle(s, c.nick, line)))) {
        print(c.tag + QStringLiteral("    (the loopback server does not serve \"") + keyword + QStringLiteral("\")"));
    }
}

bool LoopbackGame::lobby(QTcpSocket* s, const QString& line) {
    Client& c = m_clients[s];
    const Fields f = Divide(line, QStringLiteral(" "));
    const QString& keyword = f[0];
    if (keyword == QLatin1String("PM")) {
        // "PM recipient text": to a player on line, or answered by a resident.
        const QString text = f[2];
        for (auto it = m_clients.begin(); it != m_clients.end(); ++it)
            if (it->loggedIn && it->nick == f[1]) send(it.key(), QStringLiteral("INPM ") + c.nick + u' ' + f[1] + u' ' + text);
        for (const LoopbackData::Player& p : LoopbackData::residents())
            if (p.nick == f[1]) residentReply(s, p.nick, QString(text).replace(QStringLiteral("%20"), QStringLiteral(" ")));
        return true;
    }
    if (keyword == QLatin1String("RANDOM")) {
        bool okLow = false, okHigh = false;
        const int low = f[1].toInt(&okLow), high = f[2].toInt(&okHigh);
        if (!okLow || !okHigh || low < 0 || high < low || high > 32000) return true;
        const int rolled = int(LoopbackCards::random().bounded(qint64(low), qint64(high) + 1));
        toLoggedIn(QStringLiteral("CHAT ") + c.nick + u' ' +
                   encoded(QStringLiteral("/random rolls %1 (%2 to %3)").arg(rolled).arg(low).arg(high)));
        return true;
    }
    if (keyword == QLatin1String("AWAY")) {
        const bool away = f[1] == QLatin1String("1");
        if (away == c.away) return true;
        c.away = away;
        toLoggedIn(QStringLiteral("CHATBLOCK ") + (away ? QStringLiteral("Away ") : QStringLiteral("Back ")) +
                       encoded(c.nick + (away ? QStringLiteral(" is away.") : QStringLiteral(" is back."))),
                   s);
        return true;
    }
    return false;
}

void LoopbackGame::residentReply(QTcpSocket* s, const QString& resident, const QString& text) {
    const Client& c = m_clients[s];
    // An away player's messages are his client's away answer; a person writes the others.
    if (c.away || automatic(text)) {
        print(c.tag + QStringLiteral("    (") + resident + QStringLiteral(" does not answer an automatic reply)"));
        return;
    }
    qint64& last = m_answered[resident + u'\n' + c.nick];
    if (last > 0 && m_clock.elapsed() - last < kReplyGapMs) {
        print(c.tag + QStringLiteral("    (") + resident + QStringLiteral(" answered ") + c.nick + QStringLiteral(" a moment ago)"));
        return;
    }
    last = std::max<qint64>(1, m_clock.elapsed());
    const QPointer<QTcpSocket> to = s;
    QTimer::singleShot(kReplyMs, this, [this, to, resident, nick = c.nick, reply = encoded(replyTo(resident, text))] {
        if (to) send(to, QStringLiteral("INPM ") + resident + u' ' + nick + u' ' + reply);
    });
}
