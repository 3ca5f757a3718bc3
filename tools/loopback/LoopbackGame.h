#pragma once
// The game-server half of the loopback: lines of text over TCP on 127.0.0.1, one carriage
// return after each, Windows-1252 bytes. It serves the login road, the player list, tables,
// chat, private messages, dice, away, operators, quitting and reconnects, and prints every line
// it receives and sends. The tables, rooms and games are LoopbackRooms'.
#include "tools/loopback/LoopbackAdmin.h"
#include "tools/loopback/LoopbackRooms.h"
#include "tools/loopback/LoopbackTourny.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

class LoopbackGame : public QObject {
    Q_OBJECT
public:
    explicit LoopbackGame(QObject* parent = nullptr);
    bool listen(quint16 port);
    quint16 port() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }
    // Nicknames logged in right now.
    QStringList online() const;
    // Closes every connection (to watch the client reconnect).
    void dropAll();
    // The operators' pass key and the level it grants.
    void operators(const QString& passKey, const QString& level) { m_admin.configure(passKey, level); }
    // A new end-game request and quick call for every operator.
    void sampleRequests() { m_admin.sampleRequests(); }

private:
    struct Client {
        QByteArray pending;
        QString nick;
        bool loggedIn = false;
        QString tag;  // for the log: the peer's port
        bool away = false;
    };

    void accept();
    void read(QTcpSocket* s);
    void handle(QTcpSocket* s, const QString& line);
    void send(QTcpSocket* s, const QString& line);
    void toLoggedIn(const QString& line, QTcpSocket* except = nullptr);
    void sendPlayerList(QTcpSocket* s);
    void logIn(QTcpSocket* s, const QString& nick);
    void gone(QTcpSocket* s);
    // Private messages, dice, away and the operator login; false when the line is none of them.
    bool lobby(QTcpSocket* s, const QString& line);
    // A resident's answer to a private message of the client: none to a client's automatic
    // text, and at most one to the same player within a few seconds.
    void residentReply(QTcpSocket* s, const QString& resident, const QString& text);

    QTcpServer m_server;
    QHash<QTcpSocket*, Client> m_clients;
    LoopbackRooms m_rooms;
    LoopbackAdmin m_admin;
    LoopbackTourny m_tourny;
    QElapsedTimer m_clock;
    QHash<QString, qint64> m_answered;  // by resident and player: when the resident last answered
};
