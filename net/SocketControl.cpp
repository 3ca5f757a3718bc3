#include "net/SocketControl.h"

#include "platform/RuntimeError.h"

#include <QHostAddress>
#include <QTcpSocket>

SocketControl::SocketControl(QObject* parent) : QObject(parent), m_socket(nullptr) { adopt(new QTcpSocket(this)); }

void SocketControl::adopt(QTcpSocket* socket) {
    m_socket = socket;
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        // Lines go out as they are written; the option only holds on a connected socket.
        m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_state = sckConnected;
        emit connectEvent();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, [this] { emit dataArrival(m_socket->bytesAvailable()); });
    connect(m_socket, &QTcpSocket::bytesWritten, this, [this](qint64) {
        if (m_socket->bytesToWrite() == 0) emit sendComplete();
    });
    connect(m_socket, &QTcpSocket::disconnected, this, [this] {
        // The peer closed: the control stays "closing" until its owner closes it.
        if (m_state == sckConnected) {
            m_state = sckClosing;
            emit closeEvent();
        }
    });
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) { onError(); });
}

void SocketControl::Connect(const QString& host, int port) {
    RemoteHost = host;
    RemotePort = port;
    Connect();
}

void SocketControl::Connect() {
    if (m_state != sckClosed && m_state != sckError) throw RuntimeError(QStringLiteral("Wrong protocol or connection state for the requested transaction or request"), sckBadState);
    // A socket whose connect from a bound local port failed keeps its descriptor through
    // abort() and cannot bind again, so every connect starts from a fresh one.
    QTcpSocket* old = m_socket;
    old->disconnect(this);
    old->abort();
    old->deleteLater();
    adopt(new QTcpSocket(this));
    m_state = sckResolvingHost;
    if (LocalPort > 0 && !m_socket->bind(QHostAddress::AnyIPv4, quint16(LocalPort), QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        m_state = sckError;
        // Reported from the event loop, as every other failure is: an owner that connects again
        // from its error handler must not recurse once for each port that cannot be bound.
        QTcpSocket* failed = m_socket;
        QMetaObject::invokeMethod(
            this,
            [this, failed] {
                if (m_socket == failed && m_state == sckError) emit errorEvent(sckAddressInUse, QStringLiteral("Address in use"));
            },
            Qt::QueuedConnection);
        return;
    }
    m_state = sckConnecting;
    m_socket->connectToHost(RemoteHost, quint16(RemotePort));
}

void SocketControl::Close() {
    m_state = sckClosed;
    m_socket->abort();
}

void SocketControl::SendData(const QByteArray& bytes) {
    if (m_state != sckConnected)
        throw RuntimeError(QStringLiteral("Wrong protocol or connection state for the requested transaction or request"), sckBadState);
    m_socket->write(bytes);
}

qint64 SocketControl::pendingBytes() const { return m_socket->bytesToWrite(); }

QByteArray SocketControl::GetData() { return m_socket->readAll(); }

void SocketControl::onError() {
    const auto err = m_socket->error();
    if (err == QAbstractSocket::RemoteHostClosedError) return;  // reported as a close
    int number = sckConnectAborted;
    switch (err) {
        case QAbstractSocket::ConnectionRefusedError: number = sckConnectionRefused; break;
        case QAbstractSocket::HostNotFoundError: number = sckHostNotFound; break;
        case QAbstractSocket::SocketTimeoutError: number = sckTimedout; break;
        case QAbstractSocket::NetworkError: number = sckConnectionReset; break;
        case QAbstractSocket::AddressInUseError: number = sckAddressInUse; break;
        case QAbstractSocket::SocketAddressNotAvailableError: number = sckAddressInUse; break;
        default: break;
    }
    m_state = sckError;
    emit errorEvent(number, m_socket->errorString());
}
