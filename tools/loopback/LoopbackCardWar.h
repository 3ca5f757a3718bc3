#pragma once
// The card war of the loopback server: one client at the blue seat against a resident. Each
// round both play a card of their hand of five, shown face up a moment before the next round;
// the loopback's own little rule deals the damage, the statuses, a combo now and then and an
// element, until one life reaches 0 or a request or surrender ends the game with a result line.
#include "tools/loopback/LoopbackLater.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QTcpSocket;

class LoopbackCardWar : public QObject {
    Q_OBJECT
public:
    using Send = std::function<void(QTcpSocket*, const QString&)>;
    explicit LoopbackCardWar(Send send, QObject* parent = nullptr);

    void start(QTcpSocket* client, const QString& nick, const QString& opponent, int table);
    // A line of the client's game; false when it is none.
    bool handle(QTcpSocket* s, const QString& line);
    void leave(QTcpSocket* s);

signals:
    void finished(int table);

private:
    void deal();
    // Both cards of the round face up and the strike; the next round (or the end) a moment later.
    void round(int slot);
    void nextRound(bool clientStruck);
    void end(bool clientWins, bool stalemate);
    QString draw();

    Send m_send;
    QPointer<QTcpSocket> m_client;
    QString m_nick, m_opponent;
    QStringList m_hand;
    int m_table = 0;
    int m_serial = 0;
    int m_round = 0;
    int m_life[2] = {1000, 1000};
    int m_gameId = 7100;
    bool m_running = false;
    bool m_open = false;     // a round waits for the client's card
    bool m_decided = false;  // a stalemate is agreed; the close comes a moment later
    LoopbackLater m_later{this};
};
