#pragma once
// The four-seat challenge room of the two-against-two omni game: four seats with ready flags and
// avatars, the deck style and the number of blocked cells (links the creator clicks to change
// them), the jackpot box, the room chat, and the Ready and Change Sides buttons.
#include "tables/ChallengeRoom.h"

#include <array>

class frmchallengebox : public ChallengeRoom {
    Q_OBJECT
public:
    frmchallengebox();

    PictureLabel* player3;
    PictureLabel* player4;
    std::array<PictureLabel*, 2> ruleset{};  // 0 the deck style, 1 the number of blocks
    std::array<QLabel*, 4> imgBorder{};

    PictureLabel* seatName(int seat) const override;

    // Stored only: the title takes the number at its next repaint.
    int16_t Tablenumber() const { return m_tablenumber; }
    void Tablenumber(int16_t number) { m_tablenumber = number; }
    // Kept for the record's shape; the room always names team omni.
    QString GameKey() const { return m_gameKey; }
    void GameKey(const QString& key) { m_gameKey = key; }
    // The deck style ("Random" or "Player") and the blocked cells, shown in the rule links.
    QString Rules() const { return m_rules; }
    void Rules(const QString& style);
    int16_t Blocks() const { return m_blocks; }
    void Blocks(int16_t blocks);
    // The title text; the repaint draws it.
    QString SetTitle() const;

public slots:
    void Form_Load();
    void cmdChange_Click();
    void ruleset_Click(int Index);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int16_t m_tablenumber = 0;
    QString m_gameKey;
    QString m_rules;
    int16_t m_blocks = 0;
};
