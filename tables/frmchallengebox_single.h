#pragma once
// The two-seat challenge room, where two players meet before every one-against-one game: the
// title with the game and table number, both seats with ready flags and avatars, the rules, the
// jackpot box and the room chat. The creator changes the rules and kicks; either player sets the
// gold wager (seat 1) or a dice wager, declares ready, or closes the table.
#include "tables/ChallengeRoom.h"

#include <QListWidget>
#include <memory>

class clsCVRules;

class frmchallengebox_single : public ChallengeRoom {
    Q_OBJECT
public:
    frmchallengebox_single();

    QListWidget* lstrules;  // the table's readable rules
    RFButton* cmdGoldWager;
    PictureLabel* lnkKick;  // "Kick Player", the creator's link once seat 2 is taken
    QLabel* imgBorder;
    QLabel* imgBorder1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;

    // The rule set of the card game at this table, or none yet.
    std::shared_ptr<clsCVRules> TableRules() const { return m_oCVGame; }
    void TableRules(std::shared_ptr<clsCVRules> rules) { m_oCVGame = std::move(rules); }
    // The same rule set for the game start, which always finds one (a fresh one when none was set).
    std::shared_ptr<clsCVRules> oCVGame();
    void oCVGame(std::shared_ptr<clsCVRules> rules) { m_oCVGame = std::move(rules); }

    int16_t Tablenumber() const { return m_tablenumber; }
    void Tablenumber(int16_t number);
    // "cv", "ocv", "ob", "cvm", "chinchin" or "cardwars"; setting it or the number retitles the room.
    QString GameKey() const { return m_gameKey; }
    void GameKey(const QString& key);
    void SetTitle();
    QString title() const { return m_title; }

public slots:
    void Form_Load();
    // Creator and joiner: what Change Rules, Kick Player and Change Wager offer right now.
    void Form_Paint();
    void cmdChange_Click();
    void cmdGoldWager_Click();
    void lnkKick_Click();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void diceWager();

    std::shared_ptr<clsCVRules> m_oCVGame;
    int16_t m_tablenumber = 0;
    QString m_gameKey;
    QString m_title;
};
