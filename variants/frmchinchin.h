#pragma once
// The dice game window (Chinchirorin): the three dice, both seats' points and turn markers, the
// game's running text, the Roll Dice button, the turn countdown and the end-game request.
// clsChinchin fills it from the server's lines; the window sends the user's roll.
#include "app/RFButton.h"
#include "platform/Forms.h"
#include "variants/SkinBackdrop.h"
#include "variants/TwoSeatTurn.h"
#include "variants/VariantFrame.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

class frmchinchin : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmchinchin();

    QMenuBar* menuBar;
    QMenu* mnuRequests;
    QAction* mnuEndGameRequest;
    SkinBackdrop* table;
    QWidget* picTitle;
    QLabel* lblTitle;
    std::array<QLabel*, 4> imgdice{};  // 1..3; 0 unused
    QLabel* player1_score;
    QLabel* player2_score;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* timeleft;
    SeatMarkers playerturn{};
    RFButton* cmdRoll;
    QTextEdit* chatin;
    QTimer* TimerTurn;

    int16_t TurnSeconds = 0;

    // The user's turn begins (true) or the turn passed to the opponent (false).
    void startTurn(bool own);
    // A line of the game's text at the end of chatin, as plain text.
    void appendText(const QString& text);

    void Form_Unload(int& cancel) override;

public slots:
    void Form_Load();
    void cmdRoll_Click();
    void Form_MouseMove();
    void TimerTurn_Timer();
    void mnuEndGameRequest_Click();

private:
    std::optional<TurnCountdown> m_countdown;
};

// The picture of a die: the skin's [dice] value for the key, joined to the client folder. Null
// when the key is missing or the value is not a plain file inside the client folder.
QPixmap DicePicture(const QString& key);
