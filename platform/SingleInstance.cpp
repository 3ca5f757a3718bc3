#include "platform/SingleInstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

SingleInstance::SingleInstance(const QString& clientFolder, QObject* parent) : QObject(parent) {
    // One folder reached through a link, "." or a trailing separator is still one client.
    const QString canonical = QFileInfo(clientFolder).canonicalFilePath();
    const QString folder = canonical.isEmpty() ? clientFolder : canonical;
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_name = QStringLiteral("corvadex-%1-%2").arg(qEnvironmentVariable("USER", QStringLiteral("user")), QString::fromLatin1(hash));
}

SingleInstance::~SingleInstance() {
    if (m_server) m_server->close();
}

bool SingleInstance::otherRunning() {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(500)) return false;
    socket.write("activate\n");
    socket.waitForBytesWritten(500);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // A copy that ended without cleaning up leaves its socket file behind.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            emit activationRequested();
        }
    });
    return true;
}

void activateClientWindow() {
    QWidget* target = QApplication::activeWindow();
    if (!target) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && !w->isMinimized()) {
                target = w;
                break;
            }
        }
    }
    if (!target) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) target = w;
    }
    if (!target) return;
    if (target->isMinimized()) target->showNormal();
    target->raise();
    target->activateWindow();
    QApplication::alert(target);
}
