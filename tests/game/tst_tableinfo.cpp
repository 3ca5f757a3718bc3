// The rules view of an open table: what "TABLEINFO" shows for each game, every rule line of the
// standard game in its order, the decks, the wager, and how the page is written.
#include "ClientFixture.h"
#include "../lobby/LobbyHelpers.h"

#include "app/storedvars.h"
#include "game/frmTableInfo.h"
#include "net/clsWinsock.h"
#include "platform/Forms.h"

#include <QtTest>

namespace {
// A rule vector of the standard game: 40 fields, "1" at the given items, then values.
QString vector(std::initializer_list<int> set, std::initializer_list<std::pair<int, const char*>> values = {}) {
    QStringList items(40, QStringLiteral("0"));
    for (int k : set) items[k] = QStringLiteral("1");
    for (const auto& [k, v] : values) items[k] = QString::fromLatin1(v);
    return items.join(u' ');
}

// The server's "TABLEINFO" for table 4, handled as the dispatcher hands it over.
frmTableInfo* show(const QString& rules, const QString& decks = QStringLiteral("Standard"), const QString& wager = QStringLiteral("250")) {
    QString line = QStringLiteral("TABLEINFO 4 Kira Ryo ") + rules + QStringLiteral("@@Come%20in@@") + decks + QStringLiteral("@@") + wager;
    clsWinsock().HandleIncoming(line);
    return ifLoaded<frmTableInfo>();
}

// The rule lines of a standard page: between the blank line under "Corvada" and the one above
// "Included Decks".
QStringList ruleLines(const frmTableInfo* info) {
    const QStringList lines = linesOf(info->chatin);
    const qsizetype end = lines.indexOf(QStringLiteral("Included Decks"));
    return end > 3 ? lines.mid(2, end - 3) : QStringList();
}

QStringList deckLines(const frmTableInfo* info) {
    const QStringList lines = linesOf(info->chatin);
    const qsizetype start = lines.indexOf(QStringLiteral("Included Decks"));
    return start >= 0 ? lines.mid(start + 2, lines.size() - start - 3) : QStringList();
}
}  // namespace

class tst_tableinfo : public QObject {
    Q_OBJECT

private slots:
    void theStandardPage() {
        ClientFixture fx;
        frmTableInfo* info = show(vector({0, 8, 9}));
        QVERIFY(info && info->isVisible());
        QCOMPARE(info->windowTitle(), QStringLiteral("Table Information"));
        QCOMPARE(info->lblTitle->text(), QStringLiteral("You are Viewing Rules for Table: 4"));
        QCOMPARE(linesOf(info->chatin), (QStringList{QStringLiteral("Corvada"), QString(), QStringLiteral("Card Style: Open"),
                                                      QStringLiteral("Plus"), QStringLiteral("Same"), QStringLiteral("Trade: One"),
                                                      QString(), QStringLiteral("Included Decks"), QString(),
                                                      QStringLiteral("Standard"), QStringLiteral("Gold Wager: 250")}));
        // Headers bold and underlined, rules plain, all white; the wager yellow; the skin's font.
        QTextCursor at(info->chatin->document());
        at.setPosition(1);
        QVERIFY(at.charFormat().fontUnderline());
        QCOMPARE(at.charFormat().fontWeight(), int(QFont::Bold));
        QCOMPARE(vbColorValue(at.charFormat().foreground().color()), 0xFFFFFFL);
        QCOMPARE(at.charFormat().fontFamilies().toStringList(), QStringList{QStringLiteral("Verdana")});
        QCOMPARE(at.charFormat().fontPointSize(), 9.0);
        const QString page = info->chatin->toPlainText();
        at.setPosition(int(page.indexOf(QStringLiteral("Plus"))) + 1);
        QVERIFY(!at.charFormat().fontUnderline());
        QCOMPARE(at.charFormat().fontWeight(), int(QFont::Normal));
        at.setPosition(int(page.indexOf(QStringLiteral("Gold Wager"))) + 1);
        QCOMPARE(vbColorValue(at.charFormat().foreground().color()), 0x00FFFFL);
        // The page shows from its top.
        QCOMPARE(info->chatin->textCursor().position(), 0);
    }

    void everyRuleInItsPlace() {
        ClientFixture fx;
        QList<int> all;
        for (int k = 0; k < 40; ++k)
            if (k != 6 && k != 12 && k != 26 && k != 32) all << k;
        QString rules = vector({}, {{6, "8"}, {12, "2"}, {26, "5"}, {32, "2"}});
        QStringList items = rules.split(u' ');
        for (int k : all) items[k] = QStringLiteral("1");
        frmTableInfo* info = show(items.join(u' '));
        QCOMPARE(ruleLines(info),
                 (QStringList{QStringLiteral("Card Style: Open"), QStringLiteral("Random Choice"), QStringLiteral("Combo"),
                              QStringLiteral("Cross"), QStringLiteral("Elemental"), QStringLiteral("Immunity"),
                              QStringLiteral("Max Rule Enforced: 8"), QStringLiteral("Minimum Rule Enforced: 2"), QStringLiteral("Minus"),
                              QStringLiteral("Mirror"), QStringLiteral("Neutral"), QStringLiteral("No Corner Cards"),
                              QStringLiteral("Order"), QStringLiteral("Plus"), QStringLiteral("Reverse"), QStringLiteral("Same"),
                              QStringLiteral("Set Wall: 5"), QStringLiteral("Starter: Red"), QStringLiteral("Skip Rule"),
                              QStringLiteral("Sudden Death"), QStringLiteral("Rank Freeze"), QStringLiteral("Wall Rule"),
                              QStringLiteral("Multiply"), QStringLiteral("Trade: None"), QStringLiteral("Trade: All"),
                              QStringLiteral("Trade: Difference"), QStringLiteral("Trade: Direct"), QStringLiteral("Trade: Capture"),
                              QStringLiteral("Trade: Two"), QStringLiteral("Trade: Three"), QStringLiteral("Trade: Four"),
                              QStringLiteral("Trade: Random One"), QStringLiteral("Full Deck"), QStringLiteral("Trade: None")}));
    }

    void singleRules_data() {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QStringList>("shown");
        const QString closedOne = QStringLiteral("Card Style: Closed");
        QTest::newRow("nothing set") << vector({}) << QStringList{closedOne, QStringLiteral("Trade: One")};
        QTest::newRow("no dupes shows nothing") << vector({39}) << QStringList{closedOne, QStringLiteral("Trade: One")};
        QTest::newRow("full deck") << vector({38}) << QStringList{closedOne, QStringLiteral("Full Deck"), QStringLiteral("Trade: None")};
        QTest::newRow("random one") << vector({37}) << QStringList{closedOne, QStringLiteral("Trade: Random One")};
        QTest::newRow("trade none") << vector({2}) << QStringList{closedOne, QStringLiteral("Trade: None")};
        QTest::newRow("starter blue") << vector({31, 32}) << QStringList{closedOne, QStringLiteral("Starter: Blue"), QStringLiteral("Trade: One")};
        QTest::newRow("starter red") << vector({31}, {{32, "2"}})
                                     << QStringList{closedOne, QStringLiteral("Starter: Red"), QStringLiteral("Trade: One")};
        QTest::newRow("side without a fixed starter") << vector({}, {{32, "2"}}) << QStringList{closedOne, QStringLiteral("Trade: One")};
        QTest::newRow("starter with no side") << vector({31}, {{32, "0"}}) << QStringList{closedOne, QStringLiteral("Trade: One")};
        QTest::newRow("values need their flags") << vector({}, {{6, "8"}, {12, "2"}, {26, "5"}})
                                                 << QStringList{closedOne, QStringLiteral("Trade: One")};
        // A short rule text shows what it has and never fails.
        QTest::newRow("short") << QStringLiteral("1 1") << QStringList{QStringLiteral("Card Style: Open"), QStringLiteral("Random Choice")};
    }
    void singleRules() {
        QFETCH(QString, rules);
        QFETCH(QStringList, shown);
        ClientFixture fx;
        QCOMPARE(ruleLines(show(rules)), shown);
    }

    void decks_data() {
        QTest::addColumn<QString>("decks");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("none") << QString() << QStringList{QStringLiteral("Standard")};
        QTest::newRow("blanks only") << QStringLiteral("   ") << QStringList{QStringLiteral("Standard")};
        QTest::newRow("one") << QStringLiteral("Rare") << QStringList{QStringLiteral("Rare")};
        QTest::newRow("every piece") << QStringLiteral(" Standard Rare  Holo ")
                                     << QStringList{QStringLiteral("Standard"), QStringLiteral("Rare"), QStringLiteral("Holo")};
    }
    void decks() {
        QFETCH(QString, decks);
        QFETCH(QStringList, shown);
        ClientFixture fx;
        QCOMPARE(deckLines(show(vector({0}), decks)), shown);
    }

    void otherGames_data() {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QStringList>("shown");
        const QString wager = QStringLiteral("Gold Wager: 250");
        QTest::newRow("omni, random decks") << "OMNICV_RANDOM 3"
                                            << QStringList{QStringLiteral("Omni Corvada"), QString(), QStringLiteral("Random Deck"),
                                                           QStringLiteral("3 Random Blocks"), wager};
        QTest::newRow("omni, own decks") << "OMNICV_PLAYER 4"
                                         << QStringList{QStringLiteral("Omni Corvada"), QString(),
                                                        QStringLiteral("Player Deck: 15 Cards Minimum"), QStringLiteral("4 Random Blocks"), wager};
        QTest::newRow("coin board") << "ORBOLT 60 5 20"
                                    << QStringList{QStringLiteral("Orbolt"), QString(), QStringLiteral("Time Limit: 60"),
                                                   QStringLiteral("Surgestrike: 5"), QStringLiteral("Max Turns: 20"), wager};
        QTest::newRow("card war") << "CARDWARS" << QStringList{QStringLiteral("Corvada War"), QString(), wager};
        QTest::newRow("memory") << "MEMORY 1" << QStringList{QStringLiteral("Corvada Memory"), QString(), wager};
        QTest::newRow("dice") << "CHINCHIN" << QStringList{QStringLiteral("Chinchirorin"), QString(), wager};
    }
    void otherGames() {
        QFETCH(QString, rules);
        QFETCH(QStringList, shown);
        ClientFixture fx;
        QCOMPARE(linesOf(show(rules)->chatin), shown);
    }

    void eachTableRefillsThePage() {
        ClientFixture fx;
        frmTableInfo* info = show(vector({0}));
        QVERIFY(linesOf(info->chatin).size() > 5);
        QCOMPARE(show(QStringLiteral("CARDWARS"), QString(), QStringLiteral("12.5")), info);
        QCOMPARE(linesOf(info->chatin), (QStringList{QStringLiteral("Corvada War"), QString(), QStringLiteral("Gold Wager: 12.5")}));
        // A slot that does not exist shows nothing.
        info->writerules(0);
        QCOMPARE(info->chatin->toPlainText(), QString());
        QCOMPARE(info->lblTitle->text(), QString());
    }

    void theSkinsBackground() {
        ClientFixture fx;
        frmTableInfo* info = form<frmTableInfo>();
        QVERIFY(!info->palette().brush(QPalette::Window).texture().isNull());
        QCOMPARE(info->lblTitle->textFormat(), Qt::PlainText);
    }

    void labelledNotices() {
        ClientFixture fx;
        frmTableInfo* info = form<frmTableInfo>();
        info->AddBlockTxt(QStringLiteral("Rules"), QStringLiteral("before login"));
        QCOMPARE(info->chatin->toPlainText(), QString());
        ConnectionState = 1;
        info->AddBlockTxt(QStringLiteral("Rules"), QStringLiteral("<b>x</b>"));
        constexpr long teal = 0xC0C000;
        QCOMPARE(runsOf(info->chatin), (QList<Run>{{QStringLiteral("<"), teal, false},
                                                   {QStringLiteral("Rules"), 0xFFFFFF, true},
                                                   {QStringLiteral("> <b>x</b> "), teal, false},
                                                   {QStringLiteral("\n"), 0, false}}));
    }
};

QTEST_MAIN(tst_tableinfo)
#include "tst_tableinfo.moc"
