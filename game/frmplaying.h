#pragma once
// The standard game board: the 3x3 board, both hands, the scores, the turn markers, the turn
// countdown with its automatic move, the rule list, the in-game chat and the end-of-game
// requests. The message handler and the step playback fill it; this window owns the user's
// side of a turn: picking a hand card, placing it, and the countdown.
#include "game/AnimatedPicture.h"
#include "game/ElementLabel.h"
#include "game/IndexedText.h"
#include "game/PictureBox.h"
#include "game/clsCVRules.h"
#include "platform/Forms.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class frmplaying : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmplaying();

    static constexpr int kCells = 9;
    static constexpr int kSlots = 5;

    // Controls.
    QMenuBar* menuBar;
    QMenu* mnuOptions;
    QAction* mnuEndGameRequest;
    QAction* mnuStalemate;
    QAction* mnuSurrender;
    QWidget* table;  // the skin's board picture; every control below stands on it
    QWidget* picTitle;
    QLabel* lblTitle;
    std::array<PictureBox*, kCells> Board{};     // Tag "empty" while free, else the card's name
    std::array<ElementLabel*, kCells> element{};
    std::array<AnimatedPicture*, kCells> flip{};
    std::array<PictureBox*, kSlots> Player1{};   // the blue hand; Tag "Empty" when played out
    std::array<PictureBox*, kSlots> Player2{};   // the red hand
    QLabel* player1_cards;
    QLabel* player2_cards;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* timeleft;
    QLabel* gamestatus;
    std::array<QLabel*, 3> playerturn{};  // 1 blue, 2 red; 0 unused
    QFrame* shapecover;
    QListWidget* lstrules;
    QStringList lststeps;  // the queued server steps, played by PlayCVSteps
    QTextEdit* chatin;
    QLineEdit* chatout = nullptr;  // the board's event filter sees events before it is made
    QTimer* TimerTurn;
    QString Tag;

    // Properties. Colors holds 0..24 and ElementCard 0..8; outside, "Subscript out of range".
    QString Colors(int index) const { return m_colors.get(index); }
    void Colors(int index, const QString& colour) { m_colors.set(index, colour); }
    QString ElementCard(int index) const { return m_elementCard.get(index); }
    void ElementCard(int index, const QString& element) { m_elementCard.set(index, element); }
    int16_t playerid() const { return m_playerid; }
    void playerid(int16_t v) { m_playerid = v; }
    int16_t SelectedID() const { return m_selectedID; }
    void SelectedID(int16_t v) { m_selectedID = v; }
    int16_t OrderSequence() const { return m_orderSequence; }
    void OrderSequence(int16_t v) { m_orderSequence = v; }
    int16_t TimerValue() const { return m_timerValue; }
    void TimerValue(int16_t v) { m_timerValue = v; }
    bool PlayedCard() const { return m_playedCard; }
    void PlayedCard(bool v) { m_playedCard = v; }
    // The game's rule set, shared with the room and the card picking; an empty one on first use.
    std::shared_ptr<clsCVRules> oCV();
    void oCV(std::shared_ptr<clsCVRules> rules) { m_oCV = std::move(rules); }

    // 90 seconds for the user's move.
    void Start_timer();
    // A labelled notice in the chat log.
    void AddBlockTxt(const QString& label, const QString& text);
    // A key typed into the chat input, as its character code; 0 on return swallows the key.
    void chatout_KeyPress(int& KeyAscii);

    void Form_Unload(int& cancel) override;

public slots:
    void Form_Load();
    void Board_Click(int Index);
    void element_Click(int Index);
    void Player1_Click(int Index);
    void Player2_Click(int Index);
    void Board_MouseMove(int Index);
    void Form_MouseMove();
    void TimerTurn_Timer();
    void mnuEndGameRequest_Click();
    void mnuStalemate_Click();
    void mnuSurrender_Click();
    void flip_Finished(int Index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<PictureBox*, kSlots>& ownHand();
    void pickHandCard(int side, int Index);
    // Moves a hand slot toward the board (out) or back; the blue hand opens to the right.
    void slide(int side, int slot, bool out);
    void placeCard(int Index);
    void autoMove();
    // Card onto the cell, slot emptied, "CV_PLACEAT" queued and sent.
    void moveToCell(int cell, int slot);
    void stopCountdown();

    IndexedText<25> m_colors;
    IndexedText<kCells> m_elementCard;
    int16_t m_playerid = 0;
    int16_t m_selectedID = -1;
    int16_t m_orderSequence = 0;
    int16_t m_timerValue = 0;
    bool m_playedCard = false;
    std::shared_ptr<clsCVRules> m_oCV;
};
