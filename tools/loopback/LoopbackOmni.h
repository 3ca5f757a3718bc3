#pragma once
// The omni games of the loopback server: one client against a resident on the 5x5 board, or a
// client with a resident partner against two residents. The residents place cards on free
// cells, capture neighbours now and then, chat a little, and the game closes when the board is
// full or a request or surrender ends it. The rules are the loopback's own, only to give the
// client every line it shows.
#include "tools/loopback/LoopbackLater.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <array>
#include <functional>

class QTcpSocket;

class LoopbackOmni : public QObject {
    Q_OBJECT
public:
    using Send = std::function<void(QTcpSocket*, const QString&)>;
    explicit LoopbackOmni(Send send, QObject* parent = nullptr);

    // A game for the client at seat 1 (blue) against `opponents` (one name, or partner and two
    // opponents for the team game); blocks cells are blocked at random.
    void start(QTcpSocket* client, const QString& nick, const QStringList& others, bool team, int blocks, int table);
    // A line of the client's game; false when it is none.
    bool handle(QTcpSocket* s, const QString& line);
    // The client left: its game ends without a word.
    void leave(QTcpSocket* s);

signals:
    // The game at this table ended; the table is gone.
    void finished(int table);

private:
    struct Cell {
        QString card;
        QString colour;  // "blue", "red", "" free, "#" blocked
    };

    QString k(const char* omni, const char* team) const;
    void deal();
    void place(int cell, const QString& card, const QString& colour, int seat);
    void residentMove();
    void nextTurn();
    void clientTurn();
    void sendQueue(bool now);
    void end(const QString& why);
    int freeCell() const;
    QString drawCard();

    Send m_send;
    QPointer<QTcpSocket> m_client;
    QString m_nick;
    QStringList m_seats;  // seat names in turn order; the client is seat 0
    bool m_team = false;
    bool m_running = false;
    int m_table = 0;
    int m_turn = 0;  // index into m_seats
    int m_serial = 0;
    int m_gameId = 5100;
    QString m_current, m_next;
    std::array<Cell, 25> m_board{};
    LoopbackLater m_later{this};
};
