#pragma once
// The memory, dice and coin-board games of the loopback server: the client at seat 1 against a
// resident who plays by a script. The rules are the loopback's own, only to give the client
// every line its windows show; each game is played to a winner and ends, as a real server's
// does, with its close line and the "MATCH" result line the lobby prints.
#include "tools/loopback/LoopbackLater.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <array>
#include <functional>

class QTcpSocket;

class LoopbackDuels : public QObject {
    Q_OBJECT
public:
    using Send = std::function<void(QTcpSocket*, const QString&)>;
    explicit LoopbackDuels(Send send, QObject* parent = nullptr);

    // A game of `kind` ("cvm", "chinchin" or "ob") for the client against the resident;
    // rules are the coin board's "time maxscore maxturns".
    void start(QTcpSocket* client, const QString& nick, const QString& resident, const QString& kind, const QString& rules, int table);
    // A line of the client's game; false when it is none.
    bool handle(QTcpSocket* s, const QString& line);
    // The client left: its game ends without a word.
    void leave(QTcpSocket* s);

signals:
    void finished(int table);

private:
    void send(const QString& line);
    // A turn line of memory or dice ("MEMORYTURN", "CHINCHINTURN") for that seat.
    void turn(const QString& keyword, int seat);
    // The game is over: its close line, then the result line of its game type; the winner is
    // the higher score unless given (a surrender).
    void finish(const QString& closeLine, int gameType, int clientScore, int residentScore, int winnerSeat = 0);

    void memoryPick(int spot, int pick, int seat);
    void memoryJudge(int seat);
    void memoryResident();
    void diceRoll(int seat);
    void orboltDeal();
    void orboltComplete(const QStringList& fields);
    void orboltTurnOver(int gained);

    Send m_send;
    QPointer<QTcpSocket> m_client;
    QString m_nick, m_resident, m_kind;
    int m_table = 0;
    LoopbackLater m_later{this};
    int m_gameId = 3100;
    bool m_running = false;
    // Memory: the 24 cards, the pairs found, the picks of this turn, the scores.
    QStringList m_cards;
    std::array<bool, 24> m_found{};
    QVector<int> m_picks;
    std::array<int, 3> m_score{};
    // Memory and dice: the seat whose turn it is (0 while a roll is being told).
    int m_mover = 0;
    // Dice: rounds rolled by each seat.
    int m_rounds = 0;
    // Coin board: this turn's coins (core 1..4, border 1..12), the border coins spent this turn
    // (they break at the next deal), multiplier, turn, whether the client may still play it, and
    // the table's rules.
    std::array<int, 5> m_core{};
    std::array<int, 13> m_border{};
    std::array<bool, 13> m_spent{};
    int m_multi = 1, m_turn = 0, m_time = 60, m_maxScore = 75, m_maxTurns = 20;
    bool m_turnOpen = false;
};
