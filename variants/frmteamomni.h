#pragma once
// The two-against-two omni window: the 5x5 board, the user's hand slot and next card, the four
// seats of the turn queue with their avatars, the team scores, the game chat, the Discard
// button, the turn countdown and the end-game request. clsTeamOCV fills it from the server's
// lines and PlayTeamOCVSteps paints the queued effects; the window owns the user's actions.
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
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

class frmteamomni : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmteamomni();

    static constexpr int kCells = 25;
    static constexpr int kSeats = 4;

    // Controls; board positions are pixels on `table`.
    QMenuBar* menuBar;
    QMenu* mnuOptions;
    QAction* mnuEndGameRequest;
    SkinBackdrop* table;
    QWidget* picTitle;
    QLabel* lblTitle;
    std::array<PictureBox*, kCells> Board{};  // Tag "empty" while free
    std::array<AnimatedPicture*, kCells> flip{};
    PictureBox* player;  // the user's one hand slot
    PictureBox* player_nextcard;
    QLineEdit* iam;  // the user's colour, "blue" or "red", as the server named it
    QStringList lststeps;  // queued server steps, played by PlayTeamOCVSteps
    std::array<QLabel*, kSeats> picavatar{};  // the seats of the turn queue, in order
    std::array<QLabel*, kSeats> imghead{};
    std::array<QLabel*, kSeats> imgbody{};
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* player1_cards;
    QLabel* player2_cards;
    QLabel* timeleft;
    QTextEdit* chatin;
    QLineEdit* chatout;
    RFButton* cmdDiscard;
    QFrame* shapecover;
    QTimer* TimerTurn;

    // Public members.
    int16_t Timerints = 0;
    bool blnPlay = false;
    bool PlayedCard() const { return m_playedCard; }
    void PlayedCard(bool v) { m_playedCard = v; }
    void AddBlockTxt(const QString& label, const QString& text);
    // Outside 0..24, "Subscript out of range".
    QString Colors(int index) const { return m_colors.get(index); }
    void Colors(int index, const QString& colour) { m_colors.set(index, colour); }
    void Start_timer();

    // A key typed into the chat input, as its character code; 0 on return swallows the key.
    void chatout_KeyPress(int16_t& KeyAscii);
    // A chat line of another seat (sender and text as they came).
    void ShowGameChat(const QString& sender, const QString& text);
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

private:
    // Text at the end of the chat log in the user's chat font.
    void writeChat(const QString& text, long colour);

    IndexedText<kCells> m_colors;
    bool m_playedCard = false;
    std::optional<TurnCountdown> m_countdown;
};
