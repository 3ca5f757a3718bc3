#pragma once
// A game server on 127.0.0.1 for tests: records the client's lines (cut at carriage returns),
// sends scripted lines, and can drop the client or refuse connections.
#include <QByteArray>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

class FakeServer : public QObject {
    Q_OBJECT
public:
    FakeServer();
    quint16 port() const { return m_server.serverPort(); }
    bool listening() const { return m_server.isListening(); }
    // Stops accepting (connections are then refused) or starts again on the same port.
    void refuse();
    bool listenAgain();

    bool waitForClient(int ms = 5000);
    bool hasClient() const { return m_client && m_client->state() == QAbstractSocket::ConnectedState; }
    // Each line is sent with one carriage return after it.
    void send(const QString& line);
    void sendLines(const QStringList& lines);
    void sendRaw(const QByteArray& bytes);
    // Waits until the client sent this exact line (or any line, when empty).
    bool waitForLine(const QString& line = QString(), int ms = 5000);
    // Waits until the client closed its side.
    bool waitForDisconnect(int ms = 5000);
    void dropClient();

    QStringList lines;      // every complete line received, in order
    QByteArray received;    // every byte received
    int connections = 0;
    quint16 lastClientPort = 0;

private:
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    QByteArray m_partial;
    quint16 m_port = 0;
};
