// The rule set: its wire line, field by field; the readable rule list in its order; and the
// line it sends, handed back as the server does, read by the two-seat room's record handler and
// by the table rules view.
#include "GameLink.h"
#include "../lobby/LobbyHelpers.h"

#include "app/modText.h"
#include "game/clsCVRules.h"
#include "game/frmTableInfo.h"
#include "tables/frmchallengebox_single.h"

#include <QListWidget>
#include <functional>

namespace {
struct RuleField {
    const char* name;
    int field;  // 1..40 on the wire
    std::function<void(clsCVRules&)> set;
    QString wire;  // what the field then holds
    QString viewLine;  // the table rules view's line for it ("" when the view shows none)
};

QList<RuleField> ruleFields() {
    const QString one = QStringLiteral("1");
    return {
        {"OpenRule", 1, [](clsCVRules& r) { r.OpenRule(true); }, one, "Card Style: Open"},
        {"Random", 2, [](clsCVRules& r) { r.Random(true); }, one, "Random Choice"},
        {"TradeNone", 3, [](clsCVRules& r) { r.TradeNone(true); }, one, "Trade: None"},
        {"TradeAll", 4, [](clsCVRules& r) { r.TradeAll(true); }, one, "Trade: All"},
        {"TradeDiff", 5, [](clsCVRules& r) { r.TradeDiff(true); }, one, "Trade: Difference"},
        {"MaxLevel", 6, [](clsCVRules& r) { r.MaxLevel(true); }, one, "Max Rule Enforced: 0"},
        {"MaxLevelValue", 7, [](clsCVRules& r) { r.MaxLevelValue(7); }, "7", ""},
        {"CCRule", 8, [](clsCVRules& r) { r.CCRule(true); }, one, "No Corner Cards"},
        {"Same", 9, [](clsCVRules& r) { r.Same(true); }, one, "Same"},
        {"Plus", 10, [](clsCVRules& r) { r.Plus(true); }, one, "Plus"},
        {"MinLevel", 12, [](clsCVRules& r) { r.MinLevel(true); }, one, "Minimum Rule Enforced: 0"},
        {"MinLevelValue", 13, [](clsCVRules& r) { r.MinLevelValue(3); }, "3", ""},
        {"Wall", 16, [](clsCVRules& r) { r.Wall(true); }, one, "Wall Rule"},
        {"TradeDirect", 17, [](clsCVRules& r) { r.TradeDirect(true); }, one, "Trade: Direct"},
        {"Combo", 18, [](clsCVRules& r) { r.Combo(true); }, one, "Combo"},
        {"Mirror", 19, [](clsCVRules& r) { r.Mirror(true); }, one, "Mirror"},
        {"Elemental", 20, [](clsCVRules& r) { r.Elemental(true); }, one, "Elemental"},
        {"Neutral", 21, [](clsCVRules& r) { r.Neutral(true); }, one, "Neutral"},
        {"Order", 22, [](clsCVRules& r) { r.Order(true); }, one, "Order"},
        {"Cross", 23, [](clsCVRules& r) { r.Cross(true); }, one, "Cross"},
        {"Reverse", 24, [](clsCVRules& r) { r.Reverse(true); }, one, "Reverse"},
        {"Minus", 25, [](clsCVRules& r) { r.Minus(true); }, one, "Minus"},
        {"SetWall", 26, [](clsCVRules& r) { r.SetWall(true); }, one, "Set Wall: 0"},
        {"SetWallValue", 27, [](clsCVRules& r) { r.SetWallValue(-3); }, "-3", ""},
        {"Immune", 28, [](clsCVRules& r) { r.Immune(true); }, one, "Immunity"},
        {"TradeTwo", 29, [](clsCVRules& r) { r.TradeTwo(true); }, one, "Trade: Two"},
        {"TradeThree", 30, [](clsCVRules& r) { r.TradeThree(true); }, one, "Trade: Three"},
        {"TradeFour", 31, [](clsCVRules& r) { r.TradeFour(true); }, one, "Trade: Four"},
        {"Starter", 32, [](clsCVRules& r) { r.Starter(true); }, one, ""},
        {"Startee", 33, [](clsCVRules& r) { r.Startee(2); }, "2", ""},
        {"SuddenDeath", 34, [](clsCVRules& r) { r.SuddenDeath(true); }, one, "Sudden Death"},
        {"Skip", 35, [](clsCVRules& r) { r.Skip(true); }, one, "Skip Rule"},
        {"Capture", 36, [](clsCVRules& r) { r.Capture(true); }, one, "Trade: Capture"},
        {"Multiply", 37, [](clsCVRules& r) { r.Multiply(true); }, one, "Multiply"},
        {"TradeRandomOne", 38, [](clsCVRules& r) { r.TradeRandomOne(true); }, one, ""},
        {"FullDeck", 39, [](clsCVRules& r) { r.FullDeck(true); }, one, "Full Deck"},
        {"NoDupes", 40, [](clsCVRules& r) { r.NoDupes(true); }, one, ""},
    };
}

QStringList listOf(const clsCVRules& rules) {
    QListWidget list;
    rules.WriteRuleList(&list);
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.item(i)->text();
    return out;
}

// The 40 items of a "CHANGERULE" line and the decks behind "@@Corvada@@".
QStringList itemsOf(const QString& line, QString* decks = nullptr) {
    const QString body = line.mid(QStringLiteral("CHANGERULE ").size());
    const qsizetype at = body.indexOf(QStringLiteral("@@Corvada@@"));
    if (decks) *decks = at < 0 ? QString() : body.mid(at + 11);
    return body.left(at).split(u' ');
}

}  // namespace

class tst_rules : public QObject {
    Q_OBJECT

    // Sends the rule set's line and returns it as the server received it.
    static QString sentLine(GameLink& l, clsCVRules& rules, const QString& decks) {
        l.server.lines.clear();
        rules.ChangeRule(decks);
        if (!l.server.waitForLine()) return {};
        return l.server.lines.last();
    }

private slots:
    void freshRuleSetSendsFortyZeros() {
        GameLink l;
        clsCVRules rules;
        const QString zeros = QStringList(40, QStringLiteral("0")).join(u' ');
        QCOMPARE(sentLine(l, rules, QString()), QStringLiteral("CHANGERULE ") + zeros + QStringLiteral("@@Corvada@@"));
        QCOMPARE(rules.decks(), QString());
    }

    void openAndSameWithOneDeck() {
        GameLink l;
        clsCVRules rules;
        rules.OpenRule(true);
        rules.Same(true);
        QCOMPARE(sentLine(l, rules, QStringLiteral("Standard")),
                 QStringLiteral("CHANGERULE 1 0 0 0 0 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
                                "0@@Corvada@@Standard"));
        QCOMPARE(rules.decks(), QStringLiteral("Standard"));
    }

    void everyRuleLandsInItsOwnField() {
        GameLink l;
        for (const RuleField& r : ruleFields()) {
            clsCVRules rules;
            r.set(rules);
            QString decks;
            const QStringList items = itemsOf(sentLine(l, rules, QStringLiteral(" Ashfall Stormwake")), &decks);
            QCOMPARE(items.size(), 40);
            QCOMPARE(decks, QStringLiteral(" Ashfall Stormwake"));
            for (int k = 1; k <= 40; ++k) {
                const QString expected = k == r.field ? r.wire : QStringLiteral("0");
                if (items[k - 1] != expected)
                    QFAIL(qPrintable(QStringLiteral("%1: field %2 is \"%3\"").arg(QLatin1String(r.name)).arg(k).arg(items[k - 1])));
            }
        }
    }

    void switchedOffAndUnsentRules() {
        GameLink l;
        clsCVRules fresh;
        const QString plain = sentLine(l, fresh, QStringLiteral("Ashfall"));
        clsCVRules rules;
        rules.Wager(true);
        rules.WagerAmt(50);
        QCOMPARE(rules.Wager(), false);
        QCOMPARE(rules.WagerAmt(), 0.0);
        rules.RankFreeze(true);
        rules.TradeOne(true);
        rules.Opponent(QStringLiteral("Rival"));
        // Rank Freeze, the wager, Trade One and the opponent never reach the wire...
        QCOMPARE(sentLine(l, rules, QStringLiteral("Ashfall")), plain);
        // ...but the list still names the frozen ranks and Trade One.
        const QStringList list = listOf(rules);
        QVERIFY(list.contains(QStringLiteral("Rank Frozen")));
        QVERIFY(list.contains(QStringLiteral("Trade: One")));
        QVERIFY(!list.join(u'|').contains(QStringLiteral("Rival")));
    }

    void ruleListInItsOrder() {
        clsCVRules all;
        for (const RuleField& r : ruleFields()) r.set(all);
        all.RankFreeze(true);
        all.TradeOne(true);
        all.Startee(1);
        all.decks(QStringLiteral("Ashfall Stormwake Hollowroot"));
        QCOMPARE(listOf(all), (QStringList{
                                  "Card Style: Open", "Random Choice", "Combo Rule", "Cross", "Elemental", "Immunity",
                                  "Max Rule Enforced: 7", "Minimum Rule Enforced: 3", "Minus", "Mirror", "Neutral",
                                  "No Corner Cards", "Order", "Plus", "No Dupes", "Reverse", "Same", "Set Wall -3",
                                  "Starter: Blue", "Skip Rule", "Sudden Death", "Rank Frozen", "Wall Rule", "Multiply",
                                  "Trade: None", "Trade: All", "Trade: Difference", "Trade: Direct", "Trade: Capture",
                                  "Trade: Two", "Trade: Three", "Trade: Four", "Trade: One", "Trade: Random One",
                                  "Full Deck", "Trade: None", " ", "Included Decks: ", "Ashfall", "Stormwake", "Hollowroot"}));
        clsCVRules none;
        QCOMPARE(listOf(none), (QStringList{"Card Style: Closed", "User Picks", " ", "Included Decks: "}));
    }

    void starterAndDeckNamesInTheList() {
        clsCVRules r;
        r.Starter(true);
        for (int16_t who : {int16_t(0), int16_t(3)}) {
            r.Startee(who);
            QVERIFY(!listOf(r).join(u'|').contains(QStringLiteral("Starter")));
        }
        r.Startee(2);
        QVERIFY(listOf(r).contains(QStringLiteral("Starter: Red")));
        r.Starter(false);
        QVERIFY(!listOf(r).join(u'|').contains(QStringLiteral("Starter")));

        const auto decksListed = [](const QString& decks) {
            clsCVRules d;
            d.decks(decks);
            const QStringList list = listOf(d);
            return list.mid(list.indexOf(QStringLiteral("Included Decks: ")) + 1);
        };
        QCOMPARE(decksListed(QString()), QStringList());
        QCOMPARE(decksListed(QStringLiteral(" Ashfall")), QStringList());
        QCOMPARE(decksListed(QStringLiteral("Ashfall  Stormwake")), QStringList{QStringLiteral("Ashfall")});
        QStringList forty;
        for (int i = 1; i <= 40; ++i) forty << QStringLiteral("D%1").arg(i);
        QCOMPARE(decksListed(forty.join(u' ')), forty.mid(0, 34));
    }

    // The room's copy of the vector ("CHALLENGEBOXS") gives back the rules that were sent.
    void vectorReadBackByTheRoomGivesTheSameRules() {
        GameLink l;
        const QList<RuleField> fields = ruleFields();
        // Patterns that set every field at least once, alone and together with its neighbours.
        for (int pattern = 0; pattern < 12; ++pattern) {
            clsCVRules sent;
            for (int i = 0; i < fields.size(); ++i)
                if ((i + pattern) % 3 == 0 || (pattern == 11 && i % 2 == 1)) fields[i].set(sent);
            QString record = sentLine(l, sent, QStringLiteral("Ashfall Hollowroot")).mid(QStringLiteral("CHANGERULE ").size());
            l.feed(QStringLiteral("CHALLENGEBOXS 5 Tester Rival 0 ") + record.replace(u' ', QStringLiteral("%20")));
            frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
            QVERIFY(room && room->TableRules());
            const bool trade = sent.TradeNone() || sent.TradeAll() || sent.TradeDiff() || sent.TradeDirect() || sent.Capture() ||
                               sent.TradeTwo() || sent.TradeThree() || sent.TradeFour() || sent.TradeRandomOne() || sent.FullDeck();
            sent.TradeOne(!trade);
            QCOMPARE(listOf(*room->TableRules()), listOf(sent));
        }
        QVERIFY(l.quiet());
    }

    // The table rules view ("TABLEINFO") shows each rule sent alone, in its place.
    void tableRulesViewReadsEachRuleInItsPlace() {
        GameLink l;
        // The view's rule lines: between the blank line under the game's name and the one above
        // "Included Decks".
        const auto view = [&l](clsCVRules& rules) {
            const QString record = sentLine(l, rules, QStringLiteral("Ashfall")).mid(QStringLiteral("CHANGERULE ").size());
            l.feed(QStringLiteral("TABLEINFO 4 Tester Rival ") + record + QStringLiteral("@@0"));
            const frmTableInfo* info = ifLoaded<frmTableInfo>();
            const QStringList lines = info ? linesOf(info->chatin) : QStringList();
            const qsizetype end = lines.indexOf(QStringLiteral("Included Decks"));
            return end > 3 ? lines.mid(2, end - 3) : QStringList();
        };
        for (const RuleField& r : ruleFields()) {
            if (QString(r.viewLine).isEmpty()) continue;
            clsCVRules rules;
            r.set(rules);
            const QStringList shown = view(rules);
            if (!shown.contains(r.viewLine)) QFAIL(qPrintable(QStringLiteral("%1 not shown: %2").arg(QLatin1String(r.name), shown.join(u'|'))));
            // Nothing else but the card style and the trade the vector stands for.
            for (const QString& line : shown)
                if (line != r.viewLine && !line.startsWith(QStringLiteral("Card Style: ")) && !line.startsWith(QStringLiteral("Trade: ")))
                    QFAIL(qPrintable(QStringLiteral("%1 shows also %2").arg(QLatin1String(r.name), line)));
        }
        // The documented sample: Open, Same and Plus.
        clsCVRules rules;
        rules.OpenRule(true);
        rules.Same(true);
        rules.Plus(true);
        QCOMPARE(view(rules), (QStringList{"Card Style: Open", "Plus", "Same", "Trade: One"}));
        QVERIFY(l.quiet());
    }
};

QTEST_MAIN(tst_rules)
#include "tst_rules.moc"
