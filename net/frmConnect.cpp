#include "net/frmConnect.h"

#include <QVBoxLayout>

frmConnect::frmConnect() : Timer1(new QTimer(this)), lblProgress(new QLabel(this)), lblStatus(new QLabel(this)) {
    setObjectName(QStringLiteral("frmConnect"));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    setWindowTitle(QStringLiteral("Connection Status"));
    lblProgress->setText(QStringLiteral("0%"));
    lblStatus->setText(QStringLiteral("Connecting to the Server...."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblProgress);
    layout->addWidget(lblStatus);
    connect(Timer1, &QTimer::timeout, this, &frmConnect::Timer1_Timer);
}

void frmConnect::Form_Load() {}
void frmConnect::Timer1_Timer() {}
void frmConnect::ProgressBar(int eProgress) { lblProgress->setText(QString::number(eProgress) + u'%'); }
void frmConnect::LoadMainChat() {}
void frmConnect::PlayersLoaded() { LoadMainChat(); }
void frmConnect::GetPlayers() {}
void frmConnect::GetReconnectPlayers() {}
void frmConnect::Connect(const QString& server_ip, const QString& server_port, int proxyport) {
    Q_UNUSED(server_ip);
    Q_UNUSED(server_port);
    Q_UNUSED(proxyport);
}
