#include "FakeServer.h"

#include "platform/Codec1252.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

FakeServer::FakeServer() {
    if (!m_server.listen(QHostAddress::LocalHost, 0)) qFatal("FakeServer cannot listen");
    m_port = m_server.serverPort();
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            if (m_client) m_client->deleteLater();
            m_client = s;
            ++connections;
            lastClientPort = s->peerPort();
            m_partial.clear();
            connect(s, &QTcpSocket::readyRead, this, [this, s] {
                const QByteArray data = s->readAll();
                received += data;
                m_partial += data;
                qsizetype cr;
                while ((cr = m_partial.indexOf('\r')) >= 0) {
                    lines << decode1252(m_partial.left(cr));
                    m_partial.remove(0, cr + 1);
                }
            });
        }
    });
}

void FakeServer::refuse() {
    dropClient();
    m_server.close();
}

bool FakeServer::listenAgain() { return m_server.listen(QHostAddress::LocalHost, m_port); }

namespace {
template <class Pred>
bool spin(int ms, Pred done) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}
}  // namespace

bool FakeServer::waitForClient(int ms) {
    return spin(ms, [this] { return hasClient(); });
}

void FakeServer::send(const QString& line) { sendRaw(encode1252(line) + '\r'); }

void FakeServer::sendLines(const QStringList& ls) {
    QByteArray all;
    for (const QString& l : ls) all += encode1252(l) + '\r';
    sendRaw(all);
}

void FakeServer::sendRaw(const QByteArray& bytes) {
    if (!m_client) qFatal("FakeServer: no client to send to");
    m_client->write(bytes);
    m_client->flush();
}

bool FakeServer::waitForLine(const QString& line, int ms) {
    const qsizetype before = lines.size();
    return spin(ms, [&] { return line.isEmpty() ? lines.size() > before : lines.contains(line); });
}

bool FakeServer::waitForDisconnect(int ms) {
    return spin(ms, [this] { return !m_client || m_client->state() != QAbstractSocket::ConnectedState; });
}

void FakeServer::dropClient() {
    if (!m_client) return;
    m_client->disconnectFromHost();
    if (m_client && m_client->state() != QAbstractSocket::UnconnectedState) m_client->waitForDisconnected(1000);
}
