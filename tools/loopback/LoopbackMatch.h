#pragma once
// One standard game of the loopback server between a client and a resident: the picking or the
// dealt hand, the open cards, the elements, who starts, the moves of both sides with their
// captures (plain, Same, Plus, Combo), the points and turns, the game over, the trade and the
// result line, all as the lines the client's game handler reads. A resident answers the
// client's requests and in-game chat.
#include "tools/loopback/LoopbackCards.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <functional>

class LoopbackMatch : public QObject {
    Q_OBJECT
public:
    struct Setup {
        int table = 0;
        QString nick;            // the client
        QString resident;
        QString residentLevel;
        int clientSide = 1;      // 1 blue (the table's creator), 2 red
        QStringList rules;       // the table's 40 rule words
        QString decks;
    };
    using Send = std::function<void(const QString&)>;
    // send: a line to the client; broadcast: to every logged-in client; over: the game is done
    // (called once, from the event loop, so the owner may delete the match).
    LoopbackMatch(Setup setup, Send send, Send broadcast, std::function<void()> over, QObject* parent = nullptr);

    void start();
    // A line of the client during the game; false when it is not one of the game's.
    bool handle(const QString& line);
    // The client left: the game ends without a word.
    void abandon();
    static constexpr int kResidentMs = 1200;
    // How long the last move stays on the board before the close.
    static constexpr int kLastMoveMs = 2000;

    struct Cell {
        QString name;
        int side = 0;   // 0 free
        int owner = 0;  // whose hand the card came from
    };
    struct Capture {
        QStringList steps;  // the step lines of the captures, in order
        int flips = 0;
    };
    // Captures of a card just put on cell by side, on the board given (changed in place), under
    // the table's rules.
    Capture capture(std::array<Cell, 9>& board, int cell, int side) const;

private:
    enum class Phase { Picking, Playing, Trading, Over };

    bool rule(int field) const { return m_setup.rules.value(field - 1) == QLatin1String("1"); }
    int number(int field) const { return m_setup.rules.value(field - 1).toInt(); }
    int residentSide() const { return 3 - m_setup.clientSide; }
    QList<LoopbackCards::Card> pool() const;
    void begin();
    void place(int side, int cell, int slot);
    void residentMove();
    int value(const std::array<Cell, 9>& board, int cell, int direction) const;
    int score(int side) const;
    QString pointsLine() const;
    void finish(const QString& how);
    void tradeCount(int winner, int* count, bool* serverChooses) const;
    void residentTakes();
    void gains(const QStringList& taken, bool clientGains);
    void matchLine();
    void done();
    void residentChat(const QString& text);

    Setup m_setup;
    Send m_send, m_broadcast;
    std::function<void()> m_over;
    Phase m_phase = Phase::Picking;
    std::array<QStringList, 3> m_hands;   // by side; "" where a card was played
    std::array<QStringList, 3> m_dealt;   // the five each side began with
    std::array<Cell, 9> m_board;
    std::array<QString, 9> m_elements;
    int m_turn = 1;
    int m_gameId = 0;
    int m_winner = 0;  // 0 draw
    int m_count = 0;   // cards the winner takes
    bool m_surrendered = false;
    static int s_nextGame;
};
