#pragma once
// The "Connection Status" window between the login window and the lobby: connects, shows the
// login's progress and loads the list of players on line.
#include "platform/Forms.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

class frmConnect : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmConnect();

    QTimer* Timer1;
    QLabel* lblProgress;
    QLabel* lblStatus;

    void ProgressBar(int eProgress);
    QString status() const { return lblStatus->text(); }
    void status(const QString& text) { lblStatus->setText(text); }
    void LoadMainChat();
    void PlayersLoaded();
    void GetPlayers();
    void GetReconnectPlayers();
    void Connect(const QString& server_ip, const QString& server_port, int proxyport);

public slots:
    void Form_Load();
    void Timer1_Timer();

private:
    QString m_state;
};
