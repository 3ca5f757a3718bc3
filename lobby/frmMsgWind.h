#pragma once
// A private conversation with one other player: the one window kind with many instances, kept
// in the slot table MsgWindows/MsgWindowUsed. It flashes until the player first looks at it,
// shows each message under a header naming its writer, and sends what the player types as a
// "PM" line. Colours, fonts and background come from the skin's "pm" section.
#include "platform/Forms.h"

#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <cstdint>

class frmMsgWind : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmMsgWind();

    QTextEdit* chatin;   // the conversation
    QLineEdit* chatout;  // the input
    QLabel* lblName;     // the partner's name
    QLabel* Label1;      // the window's slot number
    QTimer* Timer1;      // flashes the window each second until it is first activated
    // The partner's name as the lookup key; whoever opens the window sets it with player.
    QString Tag;

    QString player() const { return m_player; }
    void player(const QString& name);
    // One of the player's own messages: the header "<nickname> Says: " and the text.
    void InsertSelfText(const QString& text);
    // One of the partner's messages, under the partner's name.
    void InsertSecondaryText(const QString& text);

    // Key codes as the old key-press events gave them; 0 on return swallows the key.
    void chatout_KeyPress(int16_t& KeyAscii);
    void chatin_KeyPress(int16_t& KeyAscii);

    void Form_Unload(int& cancel) override;

public slots:
    void Form_Load();
    void Form_Activate();
    void Timer1_Timer();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void insertMessage(const QString& writer, const QString& text, long headerColour, long textColour);

    QString m_player;
    QString m_chatFont = QStringLiteral("Verdana");
    double m_headerSize = 9;
    double m_textSize = 7;
    long m_selfHeader = 255;
    long m_secondaryHeader = 16711680;
    long m_selfText = 16777215;
    long m_secondaryText = 16777215;
};

// Takes a slot of the table (the first free one, else a new one at the end, after dropping free
// slots at the top), makes a window in it, hidden, and returns the slot number. The window starts
// minimized while the player is away or when [Options] Minimize is "1".
int16_t NewMsgWindow();
