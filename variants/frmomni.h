#pragma once
// The omni game window: the 5x5 board, each side's current and next card, the scores and turn
// markers, the Discard button, the turn countdown and the request menu. clsOCV fills it from
// the server's lines and PlayOCVSteps paints the queued effects; the window owns the user's move.
#include "app/RFButton.h"
#include "game/AnimatedPicture.h"
#include "game/IndexedText.h"
#include "game/PictureBox.h"
#include "platform/Forms.h"
#include "variants/SkinBackdrop.h"
#include "variants/VariantFrame.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

class frmomni : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmomni();

    static constexpr int kCells = 25;

    // Controls. Positions are pixels on `table`, the window's surface under its menu.
    QMenuBar* menuBar;
    QMenu* mnuOptions;
    QAction* mnuEndGameRequest;
    QAction* mnuStalemate;
    QAction* mnuSurrender;
    SkinBackdrop* table;
    QWidget* picTitle;
    QLabel* lblTitle;
    std::array<PictureBox*, kCells> Board{};  // index row * 5 + column; Tag "empty" while free
    std::array<AnimatedPicture*, kCells> flip{};
    PictureBox* Player1;  // blue: current card and next card
    PictureBox* player1_nextcard;
    PictureBox* Player2;  // red
    PictureBox* player2_nextcard;
    QLineEdit* iam;  // the user's seat: "1" blue, "2" red
    QStringList lststeps;  // queued server steps, played by PlayOCVSteps
    std::array<QLabel*, 3> playerturn{};  // 1 blue, 2 red; 0 unused
    QLabel* gamestatus;
    QLabel* timeleft;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* player1_cards;
    QLabel* player2_cards;
    RFButton* cmdDiscard;
    QFrame* shapecover;
    QTimer* TimerTurn;

    // Public members.
    int16_t Timerints = 0;
    bool blnPlay = false;
    // Outside 0..24, "Subscript out of range".
    QString Colors(int index) const { return m_colors.get(index); }
    void Colors(int index, const QString& colour) { m_colors.set(index, colour); }
    bool PlayedCard() const { return m_playedCard; }
    void PlayedCard(bool v) { m_playedCard = v; }
    void Start_timer();

    // The cells with their flip animations; both omni boards lay them out this way.
    static void buildCells(QWidget* parent, std::array<PictureBox*, kCells>& board, std::array<AnimatedPicture*, kCells>& flips,
                           QPoint origin, QSize pitch);
    // The user's current slot (by iam).
    PictureBox* ownSlot() const;
    // Shows where the Discard button stands for the user's seat.
    void placeDiscard(bool blue);

    void Form_Unload(int& cancel) override;

public slots:
    void Form_Load();
    void Board_Click(int Index);
    void Board_MouseMove(int Index);
    void Form_MouseMove();
    void cmdDiscard_Click();
    void flip_Finished(int Index);
    void TimerTurn_Timer();
    void mnuEndGameRequest_Click();
    void mnuStalemate_Click();
    void mnuSurrender_Click();

private:
    IndexedText<kCells> m_colors;
    bool m_playedCard = false;
    std::optional<TurnCountdown> m_countdown;
};
