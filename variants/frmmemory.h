#pragma once
// The memory game window: 24 face-down spots, both seats' scores and turn markers, the turn
// countdown and the request menu. clsMemory fills it from the server's lines; the window sends
// the user's picks, at most two a turn.
#include "game/PictureBox.h"
#include "platform/Forms.h"
#include "variants/SkinBackdrop.h"
#include "variants/TwoSeatTurn.h"
#include "variants/VariantFrame.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

class frmmemory : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmmemory();

    static constexpr int kSpots = 24;

    QMenuBar* menuBar;
    QMenu* mnuOptions;
    QAction* mnuEndGameRequest;
    QAction* mnuStalemate;
    QAction* mnuSurrender;
    SkinBackdrop* table;
    QWidget* picTitle;
    QLabel* lblTitle;
    std::array<PictureBox*, kSpots> cardspot{};  // face down while it shows the card back; Tag "block" once matched
    QLineEdit* selected;  // the spot picked first this turn, "" when none
    QFrame* shapecover;
    SeatMarkers playerturn{};
    QLabel* player1_cards;
    QLabel* player2_cards;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* timeleft;
    QTimer* TimerTurn;

    int16_t TurnSeconds = 0;
    int16_t PickCount = 0;

    // The user's turn begins (true) or the turn passed to the opponent (false).
    void startTurn(bool own);
    // True while the spot shows the card back.
    bool faceDown(int index) const;

    void Form_Unload(int& cancel) override;

public slots:
    void Form_Load();
    void cardspot_Click(int Index);
    void cardspot_MouseMove(int Index);
    void Form_MouseMove();
    void TimerTurn_Timer();
    void mnuEndGameRequest_Click();
    void mnuStalemate_Click();
    void mnuSurrender_Click();

private:
    std::optional<TurnCountdown> m_countdown;
};
