#pragma once
// The socket window: loaded once, never shown. It owns the one connection to the game server,
// cuts what arrives into lines, queues them, hands them to the dispatcher on a timer and sends
// every outgoing line of the client. It also carries the pictures and flags that other windows
// share.
#include "net/SocketControl.h"
#include "platform/Forms.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <array>
#include <deque>
#include <vector>

class frmCon : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmCon();

    // Controls.
    SocketControl* Winsock;
    QTimer* tmrPacket;
    QTimer* tmrReconnect;
    std::deque<QString> lstPackets;           // the receive queue, oldest first
    std::array<QPixmap, 5> img;               // 0 card back, 1 the skin's cursor picture
    QPixmap picBG;                            // background the framed dialogs copy
    QCheckBox* creator;                       // ticked while this client created the current table
    QLabel* versus;                           // the opponent of the running game
    QStringList lstpacketlog;
    QLineEdit* serverdata;
    QLineEdit* temp;
    QLabel* operation;
    QLabel* lblsidegametag;
    std::vector<QPixmap> imgDie;

    // Public variables.
    QString gstrDataWaitingToBeProcessed;
    bool gblnProcessingData = false;
    QString gstrDataWaitingToBeSent;
    bool gblnSendingData = false;
    QString sPendingData;
    bool bReconnecting = false;
    int16_t iAttempts = 0;

    bool IsReconnecting() const { return tmrReconnect->isActive(); }
    // Sends one line: carriage returns removed, one appended. Lost silently when not connected.
    void SendToServer(QString& pstrDataToSend);
    void SendToServer(const QString& line) {
        QString copy = line;
        SendToServer(copy);
    }
    void AddText(const QString& Text, long color);

    // The cursor built from img[1], for windows that show the skin's hand.
    QCursor skinCursor() const;

    // A line longer than this without a carriage return is dropped when it ends.
    static constexpr qsizetype kMaxPendingLine = 64 * 1024;
    // frameArrival() for the wire's bytes, decoded as they are cut.
    void frameArrival(const char* data, qsizetype size);

public slots:
    void Form_Load();
    void tmrPacket_Timer();
    void tmrReconnect_Timer();
    void Winsock_Connect();
    void Winsock_DataArrival();
    void Winsock_SendComplete();
    void Winsock_Close();
    void Winsock_Error(int number, const QString& description);

    // Cuts received text into lines on the receive queue (the data-arrival event's work).
    void frameArrival(const QString& text);

private:
    void updatePath();
    template <class Arrival>
    void frameText(const Arrival& in);
    // True (logged) when the line that just ended is too long to keep.
    bool dropLine(qsizetype length);
    // False when the line was "UPDATE", which ends the framing.
    bool queueLine(QString&& line);
    void Reconnect();
    int PickReconnectPort();
    void SendReconnect();
    void SendVersion();
    void loginLost();
    // The rest of loginLost(), once no handler is at work any more.
    void endLostLogin();

    bool m_pendingOverflow = false;
    bool m_loginLost = false;  // the link closed before the login was complete
};
