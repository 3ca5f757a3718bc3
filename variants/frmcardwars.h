#pragma once
// The card war game window: both hands of five in two columns (the user's face up), one play
// slot a seat between them, life counters, combo texts, status pictures, the round's element,
// the 35-second countdown that plays a card by itself, the battle log and the request menu.
// clsCardWars fills it from the server's lines; the window owns choosing and playing a card.
#include "game/PictureBox.h"
#include "platform/Forms.h"
#include "variants/SkinBackdrop.h"
#include "variants/VariantFrame.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

class frmcardwars : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmcardwars();

    static constexpr int kHand = 5;
    // How far a chosen hand card sticks out towards the play slots.
    static constexpr int kOffset = 25;

    // Controls. Positions are pixels on `table`, the window's surface under its menu.
    QMenuBar* menuBar;
    QMenu* mnuOptions;
    QAction* mnuEndGameRequest;
    QAction* mnuStalemate;
    QAction* mnuSurrender;
    SkinBackdrop* table;
    std::array<PictureBox*, kHand> Player1{};  // seat 1, blue, left column; Tag "Empty" without a card
    std::array<PictureBox*, kHand> Player2{};  // seat 2, red, right column
    std::array<PictureBox*, 2> imgcard{};      // play slots; Tag "empty" while free
    QLabel* player1_life;
    QLabel* player2_life;
    QLabel* lblP1Combo;
    QLabel* lblP2Combo;
    QLabel* plr1status;
    QLabel* plr2status;
    QLabel* imgElement;
    QLabel* imgNothing;
    QLabel* timeleft;
    QLabel* gamestatus;
    QLabel* lblTitle;
    QLabel* lblHelp;
    QTextEdit* chatin;
    QTimer* TimerTurn;
    // 1 sword, 2 shield, 3..12 the elements (element n is picture n + 2); index 0 unused.
    std::array<QPixmap, 13> imlicons;

    int16_t playerid = 0;
    int16_t SelectedID = -1;
    bool Battle = false;

    void AddBlockTxt(const QString& label, const QString& text);
    void Start_timer();
    void Stop_timer();
    void Reset_Timer();
    // The user's hand by playerid: Player1 for seat 1, else Player2.
    std::array<PictureBox*, kHand>& ownHand() { return playerid == 1 ? Player1 : Player2; }

    void Form_Unload(int& cancel) override;

public slots:
    void Form_Load();
    void Player1_Click(int Index);
    void Player2_Click(int Index);
    void imgcard_Click(int Index);
    void TimerTurn_Timer();
    void lblHelp_Click();
    void mnuEndGameRequest_Click();
    void mnuStalemate_Click();
    void mnuSurrender_Click();

private:
    void chooseCard(int seat, int Index);
    void timeOutMove();

    std::optional<TurnCountdown> m_countdown;
    int16_t m_turnSeconds = 0;
};
