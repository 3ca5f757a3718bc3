#pragma once
// The "Connection Status" window between the login window and the lobby: connects, shows the
// login's progress and loads the list of players on line. After a reconnect it is loaded
// hidden to reload the player list.
#include "app/RecordSet.h"
#include "platform/Forms.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>

class frmConnect : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmConnect();

    QTimer* Timer1;
    QLabel* lblProgress;
    QLabel* lblStatus;
    QLabel* picBackground;      // the skin's loading picture
    QProgressBar* barProgress;  // draws the percentage that lblProgress states

    // Shows a step of the login: the percentage, the step's text, then lets pending events run.
    void ProgressBar(int eProgress);
    QString status() const { return lblStatus->text(); }
    void status(const QString& text) { lblStatus->setText(text); }
    // The lobby bring-up, defined with the lobby's code.
    void LoadMainChat();
    void PlayersLoaded();
    void GetPlayers();
    void GetReconnectPlayers();
    // Fills the lobby's player tree from a web-service reply; false when the reply holds no list.
    // Public so that the fill can be timed apart from the exchange.
    bool FillPlayers(RecordSet& rs);
    void Connect(const QString& server_ip, const QString& server_port, int proxyport);

    // "debut" from Connect until the first tick, then "connecting"; empty before any Connect.
    QString connectState() const { return m_state; }

    // A close by the user gives up the login and gives the Login button back.
    void Form_QueryUnload(int& cancel, int mode) override;

public slots:
    void Form_Load();
    void Timer1_Timer();

signals:
    // Every value given to ProgressBar, in order (the login road's steps).
    void progressChanged(int eProgress);

private:
    // Asks the web service for the players on line and fills the tree; false when that failed.
    bool QueryPlayers();
    void layoutControls(const QSize& picture);

    QString m_state;
};
