#pragma once
// What the two-seat and the four-seat challenge rooms share: the seats with their names, ready
// flags and avatars, the room chat with its input, the jackpot box with its flood limit, the
// Ready button, the title strip, the skin pictures and the close line. Every action is one line
// to the server; what the rooms show is written into them by the challenge handler.
#include "app/RFButton.h"
#include "lobby/PictureLabel.h"
#include "platform/Forms.h"

#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QVector>
#include <QWidget>
#include <cstdint>

class ChallengeRoom : public FormWindow<QWidget> {
    Q_OBJECT
public:
    // The lines that differ between the rooms.
    struct Lines {
        QString chat;     // keyword of a chat line ("CHALLENGECHATS")
        QString ready;    // the Ready button's line
        QString jackpot;  // the jackpot toggle's line
        QString close;    // sent when the user closes the window
    };
    ChallengeRoom(int seats, Lines lines);

    // The jackpot box sends at most this many toggles per load of the room.
    static constexpr int kJackpotToggles = 4;
    static constexpr int kAvatarWidth = 66, kAvatarHeight = 88;

    QWidget* picTitle;
    QLabel* lblTitle;
    // Seat 1 (the table's creator) and seat 2; an empty caption is a free seat.
    PictureLabel* Player1;
    PictureLabel* Player2;
    QVector<QLabel*> ready;      // index = seat number; ready[0] is not used
    QVector<QLabel*> picavatar;  // index = seat - 1: the avatar's background ...
    QVector<QLabel*> imgbody;    // ... with the body ...
    QVector<QLabel*> imghead;    // ... and the head over it
    QLabel* imgitem;             // an empty picture, used to clear an avatar
    QTextEdit* chatin;
    QLineEdit* chatout;
    QCheckBox* chkJackpot;
    RFButton* cmdReady;
    RFButton* cmdChange;

    int seatCount() const { return int(picavatar.size()); }
    // The name label of a seat; nullptr for a seat the room does not have.
    virtual PictureLabel* seatName(int seat) const;
    QLabel* readyLabel(int seat) const { return seat >= 1 && seat < ready.size() ? ready[seat] : nullptr; }
    // One line in the room's chat log, in the user's chat font and the colour (0xBBGGRR).
    void ChallengeBlockChat(const QString& text, long colour);
    // A seat's avatar from the picture numbers of the default skin's avatar folder; an empty
    // number, "000", a name that is no plain file name or a missing file clears that part.
    void ShowSeatAvatar(int seat, const QString& background, const QString& head, const QString& body,
                        const QString& prefix);
    void ClearSeatAvatar(int seat);
    int16_t JackpotToggles() const { return m_jackpotToggles; }

public slots:
    void chatout_KeyPress(int16_t& KeyAscii);
    void chkJackpot_Click();
    void cmdReady_Click();
    // A click on a seat's name opens the player's statistics page.
    void Player_Click(int seat);
    // The pointer over the window's background: the buttons lose their hover look.
    void Form_MouseMove();

protected:
    // Background, borders, cursors, jackpot count: the part of each room's load they share.
    void loadCommon();
    // Lays out a seat: a framed panel with the avatar, "Player n:" and the name, "Ready:" and the flag.
    void placeSeat(int seat, PictureLabel* name, QLabel* border, const QPoint& at);
    QLabel* staticLabel(const char* name, const QString& text, const QRect& where, bool strong = false);
    void Form_QueryUnload(int& cancel, int mode) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    // Buttons whose hover look the pointer over the background takes back.
    QList<RFButton*> m_rollover;

private:
    void setAvatarPart(QLabel* part, const QString& file, const QString& number, const QString& prefix);

    Lines m_lines;
    int16_t m_jackpotToggles = 0;
};

// True while the connection to the game server is up.
bool RoomConnected();
// Sends a line when connected; false (nothing sent) otherwise.
bool SendRoomLine(const QString& line);
// The skin's hand cursor for what the player clicks (frmCon.img(1)).
QCursor HandCursor();
// The shared creator flag (frmCon.creator): this client created the table it sits at.
void SetCreator(bool on);
// Names, titles and sizes a window of the table flow and lays out its title strip (either may be
// null); the pointer over the window is followed for the buttons' hover look.
void DressWindow(QWidget* w, const char* name, const QString& caption, QSize size, QWidget* picTitle = nullptr,
                 QLabel* lblTitle = nullptr);
// Centres a window of the table flow over the room it belongs to, else over the lobby, else
// on the screen.
void PlaceWindow(QWidget* w);
// The look of the rooms' and dialogs' texts and boxes on the skin's dark background.
QString RoomTextStyle(bool strong = false);
QString RoomBoxStyle();
// A drop-down list in that look, its open list included.
QString RoomComboStyle();
// A scrolling box of the kind given ("QListWidget", "QTextEdit") in that look, scroll bar included.
QString RoomScrollStyle(const char* kind);
