#pragma once
// The TCP client control the socket window is built around: remote host and port, an optional
// local port, a state number (7 connected, 0 closed) and the events connect, data arrival,
// send complete, close and error with the old error numbers.
#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;

class SocketControl : public QObject {
    Q_OBJECT
public:
    enum StateValue {
        sckClosed = 0,
        sckOpen = 1,
        sckResolvingHost = 4,
        sckConnecting = 6,
        sckConnected = 7,
        sckClosing = 8,
        sckError = 9,
    };
    // Error numbers reported through error().
    enum : int {
        sckBadState = 40006,
        sckAddressInUse = 10048,
        sckConnectionRefused = 10061,
        sckTimedout = 10060,
        sckHostNotFound = 11001,
        sckConnectAborted = 10053,
        sckConnectionReset = 10054,
        sckNetworkUnreachable = 10051,
    };

    explicit SocketControl(QObject* parent = nullptr);

    QString RemoteHost;
    int RemotePort = 0;
    // 0 lets the system choose.
    int LocalPort = 0;
    // Free text other windows leave on the socket ("out" while leaving on purpose).
    QString Tag;

    int State() const { return m_state; }
    bool connected() const { return m_state == sckConnected; }
    void Connect();
    void Connect(const QString& host, int port);
    void Close();
    // Raises RuntimeError 40006 when not connected, as the control did.
    void SendData(const QByteArray& bytes);
    // Bytes handed to the socket and not yet passed on to the system.
    qint64 pendingBytes() const;
    // Everything received and not yet read.
    QByteArray GetData();

signals:
    void connectEvent();
    void dataArrival(qint64 bytesTotal);
    void sendComplete();
    void closeEvent();
    void errorEvent(int number, const QString& description);

private:
    void adopt(QTcpSocket* socket);
    void onError();
    QTcpSocket* m_socket;
    int m_state = sckClosed;
};
