#pragma once
// The web half of the loopback: HTTP on 127.0.0.1 serving the web service's GetData (the
// player list, "call sps_GetPlayers()"; the deck list, "CALL usp_FindDecks()"; the cards a
// player owns, "call sps_CVCards(...)") and the version
// record of the web site.
#include <QHash>
#include <QObject>
#include <QTcpServer>
#include <functional>

class QTcpSocket;

class LoopbackWeb : public QObject {
    Q_OBJECT
public:
    // online() names the players logged in to the game half, who join the list.
    explicit LoopbackWeb(std::function<QStringList()> online, QObject* parent = nullptr);
    bool listen(quint16 port);
    quint16 port() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }
    QString serviceUrl() const;
    QString siteUrl() const;

private:
    void accept();
    void read(QTcpSocket* s);
    QByteArray respond(const QByteArray& method, const QByteArray& path, const QByteArray& body);
    QByteArray getData(const QString& command);
    // The decks the rule setup offers.
    QByteArray deckList(const QString& command);
    // The cards a player owns of one deck, for the card picking.
    QByteArray collection(const QString& command);

    std::function<QStringList()> m_online;
    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};
