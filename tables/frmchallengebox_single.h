#pragma once
// The two-seat challenge room.
#include "platform/Forms.h"

#include <QLabel>
#include <QTextEdit>
#include <QWidget>
#include <memory>

class clsCVRules;

class frmchallengebox_single : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmchallengebox_single();

    // The names of seat 1 (the table's creator) and seat 2.
    QLabel* Player1;
    QLabel* Player2;
    QTextEdit* chatin;

    // The rule set of the room's game; the card picking and the board share this object.
    std::shared_ptr<clsCVRules> oCVGame();
    void oCVGame(std::shared_ptr<clsCVRules> rules);
    // One line in the room's chat, in the user's chat font and the colour (0xBBGGRR).
    void ChallengeBlockChat(const QString& text, long colour);

private:
    std::shared_ptr<clsCVRules> m_oCVGame;
};
