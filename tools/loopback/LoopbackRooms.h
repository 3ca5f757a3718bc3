#pragma once
// The tables and challenge rooms of the loopback server: creating a table of every kind, joining
// one, and the talk in the two-seat and four-seat rooms (rules, wagers, readiness, jackpot, chat,
// kick, close), answered with room records and status lines as the game server sends them. The
// resident players sit at their tables, join a table a client creates (three of them fill a
// four-seat room), say when they are ready, and play the standard game (LoopbackMatch), the omni
// games (LoopbackOmni), memory, dice and the coin board (LoopbackDuels) or the card war
// (LoopbackCardWar) once all are.
#include "tools/loopback/LoopbackCardWar.h"
#include "tools/loopback/LoopbackDuels.h"
#include "tools/loopback/LoopbackMatch.h"
#include "tools/loopback/LoopbackOmni.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QVector>
#include <functional>

class QTcpSocket;

class LoopbackRooms : public QObject {
    Q_OBJECT
public:
    using Send = std::function<void(QTcpSocket*, const QString&)>;
    using Broadcast = std::function<void(const QString&)>;
    // send writes one line to a client; broadcast to every logged-in client.
    LoopbackRooms(Send send, Broadcast broadcast, QObject* parent = nullptr);

    // Answers a line of the table conversation; false when the line is not one of them.
    bool handle(QTcpSocket* s, const QString& nick, const QString& line);
    // A client left: it gives up its seats as if it closed its rooms; a game it played ends.
    void leave(QTcpSocket* s);
    // A client came back after a drop.
    void reconnected(QTcpSocket* s, const QString& nick);
    // The open tables as the table list shows them ("ADDTABLE" lines).
    QStringList tableLines() const;
    // The decks the rule setup offers (the web service's "CALL usp_FindDecks()").
    static QStringList decks();

private:
    struct Seat {
        QString nick;
        QPointer<QTcpSocket> socket;  // none for a resident
        bool ready = false;
    };
    struct Table {
        int number = 0;
        bool resident = false;  // a resident's table stays when its players leave
        QString kind;      // "cv", "cvm", "chinchin", "cardwars", "ob", "ocv" or "team"
        QString rules;     // the card game's 40 rule words, or the coin board's settings
        QString decks;     // the card game's decks
        QString comment;
        QString wager = QStringLiteral("0");
        QString deckType = QStringLiteral("OMNICV_RANDOM");
        int blocks = 5;
        QStringList diceWagers = {QStringLiteral("0"), QStringLiteral("0")};
        QVector<Seat> seats;  // 2, or 4 for the team game
        QPointer<LoopbackMatch> match;
        bool playing = false;  // an omni game runs at the table
        QVector<bool> avatarShown;  // by seat: the room shows an avatar there
    };

    Table* tableOf(QTcpSocket* s, int* seat = nullptr);
    Table* table(int number);
    void create(QTcpSocket* s, const QString& nick, const QString& kind, const QString& deckType, int blocks);
    void join(QTcpSocket* s, const QString& nick, int number);
    void sitResident(int number);
    void changeRule(Table& t, int seat, const QString& line);
    void ready(Table& t, int seat);
    // Starts the table's game when its seats are ready.
    void tryStart(Table& t);
    QString readyLine(const Table& t, int seat) const;
    void changeSides(Table& t, int seat);
    void chat(Table& t, int seat, const QString& text);
    void close(Table& t, int seat);
    // Both seats of a card-game table are ready: a resident plays the client.
    void startMatch(int number);
    void matchOver(int number);
    // The room record and the avatars to everyone seated at the table.
    void sendRoom(Table& t);
    void sendAvatar(Table& t, int seat);
    void toSeated(const Table& t, const QString& line);
    QString roomLine(const Table& t) const;
    QString tableLine(const Table& t, const QString& keyword = QStringLiteral("ADDTABLE")) const;
    QString ruleWords(const Table& t) const;
    int freeNumber() const;

    // The omni games begin a moment after every seat is ready, residents in all but one of them.
    void startOmni(Table& t);
    // The seat of the one client at an omni table whose seats are all taken and ready; -1 if none.
    static int omniClientSeat(const Table& t);

    Send m_send;
    Broadcast m_broadcast;
    QList<Table> m_tables;
    LoopbackOmni m_omni;
    QSet<QString> m_abandoned;  // players whose game ended when their connection dropped
    LoopbackDuels m_duels;  // memory, dice and the coin board
    LoopbackCardWar m_cardwar;
};
