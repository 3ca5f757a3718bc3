#include "game/clsCVRules.h"

#include "app/modText.h"
#include "net/frmCon.h"
#include "platform/Forms.h"

#include <QListWidget>
#include <QStringList>

void clsCVRules::ChangeRule(const QString& decks) {
    m_decks = decks;
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    const auto number = [](int16_t n) { return QString::number(n); };
    // The server reads the fields by position; Rank Freeze (11), Wager (14) and field 15 stay
    // "0", and Trade One is the vector with every trade field clear.
    const QStringList fields{
        flag(OpenRule()),     flag(Random()),        flag(TradeNone()),  flag(TradeAll()),
        flag(TradeDiff()),    flag(MaxLevel()),      number(MaxLevelValue()), flag(CCRule()),
        flag(Same()),         flag(Plus()),          QStringLiteral("0"), flag(MinLevel()),
        number(MinLevelValue()), QStringLiteral("0"), QStringLiteral("0"), flag(Wall()),
        flag(TradeDirect()),  flag(Combo()),         flag(Mirror()),     flag(Elemental()),
        flag(Neutral()),      flag(Order()),         flag(Cross()),      flag(Reverse()),
        flag(Minus()),        flag(SetWall()),       number(SetWallValue()), flag(Immune()),
        flag(TradeTwo()),     flag(TradeThree()),    flag(TradeFour()),  flag(Starter()),
        number(Startee()),    flag(SuddenDeath()),   flag(Skip()),       flag(Capture()),
        flag(Multiply()),     flag(TradeRandomOne()), flag(FullDeck()),  flag(NoDupes()),
    };
    const QString line = QStringLiteral("CHANGERULE ") + fields.join(u' ') + QStringLiteral("@@Corvada@@") + m_decks;
    if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(line);
}

void clsCVRules::WriteRuleList(QListWidget* list) const {
    list->clear();
    const auto add = [list](bool on, const QString& text) {
        if (on) list->addItem(text);
    };
    list->addItem(OpenRule() ? QStringLiteral("Card Style: Open") : QStringLiteral("Card Style: Closed"));
    list->addItem(Random() ? QStringLiteral("Random Choice") : QStringLiteral("User Picks"));
    add(Combo(), QStringLiteral("Combo Rule"));
    add(Cross(), QStringLiteral("Cross"));
    add(Elemental(), QStringLiteral("Elemental"));
    add(Immune(), QStringLiteral("Immunity"));
    add(MaxLevel(), QStringLiteral("Max Rule Enforced: ") + QString::number(MaxLevelValue()));
    add(MinLevel(), QStringLiteral("Minimum Rule Enforced: ") + QString::number(MinLevelValue()));
    add(Minus(), QStringLiteral("Minus"));
    add(Mirror(), QStringLiteral("Mirror"));
    add(Neutral(), QStringLiteral("Neutral"));
    add(CCRule(), QStringLiteral("No Corner Cards"));
    add(Order(), QStringLiteral("Order"));
    add(Plus(), QStringLiteral("Plus"));
    add(NoDupes(), QStringLiteral("No Dupes"));
    add(Reverse(), QStringLiteral("Reverse"));
    add(Same(), QStringLiteral("Same"));
    add(SetWall(), QStringLiteral("Set Wall ") + QString::number(SetWallValue()));
    add(Starter() && Startee() == 1, QStringLiteral("Starter: Blue"));
    add(Starter() && Startee() == 2, QStringLiteral("Starter: Red"));
    add(Skip(), QStringLiteral("Skip Rule"));
    add(SuddenDeath(), QStringLiteral("Sudden Death"));
    add(RankFreeze(), QStringLiteral("Rank Frozen"));
    add(Wall(), QStringLiteral("Wall Rule"));
    add(Multiply(), QStringLiteral("Multiply"));
    add(TradeNone(), QStringLiteral("Trade: None"));
    add(TradeAll(), QStringLiteral("Trade: All"));
    add(TradeDiff(), QStringLiteral("Trade: Difference"));
    add(TradeDirect(), QStringLiteral("Trade: Direct"));
    add(Capture(), QStringLiteral("Trade: Capture"));
    add(TradeTwo(), QStringLiteral("Trade: Two"));
    add(TradeThree(), QStringLiteral("Trade: Three"));
    add(TradeFour(), QStringLiteral("Trade: Four"));
    add(TradeOne(), QStringLiteral("Trade: One"));
    add(TradeRandomOne(), QStringLiteral("Trade: Random One"));
    if (FullDeck()) {
        list->addItem(QStringLiteral("Full Deck"));
        list->addItem(QStringLiteral("Trade: None"));
    }
    list->addItem(QStringLiteral(" "));
    list->addItem(QStringLiteral("Included Decks: "));
    // The names up to the first gap, at most 34 of them (the list never showed a 35th).
    const Fields names = Divide(m_decks, QStringLiteral(" "));
    for (int i = 0; i < kDivideFields - 1 && !names[i].isEmpty(); ++i) list->addItem(names[i]);
}
