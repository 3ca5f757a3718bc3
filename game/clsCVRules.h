#pragma once
// The rule set of one standard game: on/off rules, the numbers that go with some of them, the
// opponent's name and the decks allowed. A plain value holder that checks nothing; it writes
// its wire form (the "CHANGERULE" line) and the readable rule list every game window shows.
// The room, the card-picking window and the board share one object (std::shared_ptr).
#include <QString>
#include <cstdint>

class QListWidget;

#define CVRULES_FLAG(Name)                      \
    bool Name() const { return m_##Name; }      \
    void Name(bool value) { m_##Name = value; } \
                                                \
private:                                        \
    bool m_##Name = false;                      \
                                                \
public:

#define CVRULES_NUMBER(Name)                       \
    int16_t Name() const { return m_##Name; }      \
    void Name(int16_t value) { m_##Name = value; } \
                                                   \
private:                                           \
    int16_t m_##Name = 0;                          \
                                                   \
public:

class clsCVRules {
public:
    QString Opponent() const { return m_Opponent; }
    void Opponent(const QString& value) { m_Opponent = value; }
    QString decks() const { return m_decks; }
    void decks(const QString& value) { m_decks = value; }
    CVRULES_FLAG(Mirror)
    CVRULES_FLAG(Combo)
    CVRULES_FLAG(Immune)
    CVRULES_FLAG(Wall)
    // Wagers are switched off: whatever is given, Wager stays False and WagerAmt 0.
    bool Wager() const { return false; }
    void Wager(bool) {}
    double WagerAmt() const { return 0; }
    void WagerAmt(double) {}
    CVRULES_FLAG(Starter)
    CVRULES_NUMBER(Startee)
    CVRULES_FLAG(Elemental)
    CVRULES_FLAG(Neutral)
    CVRULES_FLAG(Order)
    CVRULES_FLAG(Cross)
    CVRULES_FLAG(RankFreeze)
    CVRULES_FLAG(Same)
    CVRULES_FLAG(Plus)
    CVRULES_FLAG(CCRule)
    CVRULES_FLAG(MinLevel)
    CVRULES_NUMBER(MinLevelValue)
    CVRULES_FLAG(MaxLevel)
    CVRULES_NUMBER(MaxLevelValue)
    CVRULES_FLAG(SetWall)
    CVRULES_NUMBER(SetWallValue)
    CVRULES_FLAG(NoDupes)
    CVRULES_FLAG(OpenRule)
    CVRULES_FLAG(Random)
    CVRULES_FLAG(Reverse)
    CVRULES_FLAG(Minus)
    CVRULES_FLAG(SuddenDeath)
    CVRULES_FLAG(Skip)
    CVRULES_FLAG(Capture)
    CVRULES_FLAG(TradeAll)
    CVRULES_FLAG(TradeDirect)
    CVRULES_FLAG(TradeDiff)
    CVRULES_FLAG(TradeTwo)
    CVRULES_FLAG(TradeThree)
    CVRULES_FLAG(TradeFour)
    CVRULES_FLAG(TradeNone)
    CVRULES_FLAG(TradeOne)
    CVRULES_FLAG(TradeRandomOne)
    CVRULES_FLAG(Multiply)
    CVRULES_FLAG(FullDeck)

    // Stores decks, then sends "CHANGERULE " + the 40 rule fields + "@@Corvada@@" + decks.
    void ChangeRule(const QString& decks);
    // Clears the list and fills it with the readable rule lines and the deck names.
    void WriteRuleList(QListWidget* list) const;

private:
    QString m_Opponent;
    QString m_decks;
};

#undef CVRULES_FLAG
#undef CVRULES_NUMBER
