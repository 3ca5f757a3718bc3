#pragma once
// The operators' half of the loopback game server: a configured pass key grants a level, the
// operators' chat and quick calls go round among them, handled requests leave every queue, and
// warnings, kicks and bans are told to everyone. A fresh operator is sent an end-game request
// and a quick call, so the administrator window can be tried by hand.
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>

class QTcpSocket;

class LoopbackAdmin : public QObject {
    Q_OBJECT
public:
    using Send = std::function<void(QTcpSocket*, const QString&)>;
    using Broadcast = std::function<void(const QString&)>;
    LoopbackAdmin(Send send, Broadcast toLoggedIn, QObject* parent = nullptr);

    void configure(const QString& passKey, const QString& level);
    // True when the line was an operator's line this half serves.
    bool handle(QTcpSocket* s, const QString& nick, const QString& line);
    void leave(QTcpSocket* s) { m_operators.remove(s); }
    // Sends every operator a new request and quick call from a resident player.
    void sampleRequests();

private:
    void toOperators(const QString& line);

    Send m_send;
    Broadcast m_toLoggedIn;
    QString m_passKey;
    QString m_level;
    QSet<QTcpSocket*> m_operators;
    int m_samples = 0;
};
