#pragma once
// Loopback players for an operator's tournament: when the operator's announcement invites
// private messages, the residents write to enter; when the operator pairs two of them, their
// game is "played" and its result line comes a moment later (the lower name in alphabetical
// order wins), in the result form of the tournament's game. The web service's side of the
// tournament procedures is answered by webReply.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QTcpSocket;

class LoopbackTourny : public QObject {
    Q_OBJECT
public:
    using Send = std::function<void(QTcpSocket*, const QString&)>;
    explicit LoopbackTourny(Send send, QObject* parent = nullptr);

    // A public chat line of a logged-in player.
    void chat(QTcpSocket* s, const QString& nick, const QString& text);
    // The data-set rows of a tournament procedure: {column, value}; nothing for other calls.
    static std::optional<std::pair<QString, QString>> webReply(const QString& command);

private:
    Send m_send;
    int16_t m_gameType = 1;
    int m_gameId = 9100;
};
