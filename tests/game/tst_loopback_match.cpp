// The loopback server's game engine on its own: what a card put on the board captures under the
// table's rules (plain comparison of touching sides, Same, Plus, Combo, elements), as the step
// lines the client plays back.
#include "tools/loopback/LoopbackMatch.h"

#include <QtTest>

namespace {
using Board = std::array<LoopbackMatch::Cell, 9>;

// "cell:name:side" items; side 1 blue, 2 red.
Board board(const QStringList& cards) {
    Board b;
    for (const QString& item : cards) {
        const QStringList p = item.split(u':');
        b[p[0].toInt()] = {p[1], p[2].toInt(), p[2].toInt()};
    }
    return b;
}

// The 40 rule words with the numbered fields on (1 = the first).
QStringList rules(const QList<int>& on) {
    QStringList words(40, QStringLiteral("0"));
    for (int field : on) words[field - 1] = QStringLiteral("1");
    return words;
}
}  // namespace

class tst_loopback_match : public QObject {
    Q_OBJECT

private slots:
    void captures_data() {
        QTest::addColumn<QList<int>>("on");
        QTest::addColumn<QStringList>("cards");  // before the move
        QTest::addColumn<QString>("placed");     // put on cell 4 by blue
        QTest::addColumn<QStringList>("steps");
        const QList<int> none, same{9}, plus{10}, sameCombo{9, 18};
        QTest::newRow("higher side takes") << none << QStringList{"1:Gustling:2"} << "Magmaheart Colossus"
                                           << QStringList{"CV_CARDFLIP 1 2 blue", "CV_BLUECARD 1 Gustling"};
        QTest::newRow("lower side does not") << none << QStringList{"1:Magmaheart Colossus:2"} << "Gustling" << QStringList{};
        QTest::newRow("equal sides without Same") << none << QStringList{"1:Slagshell Tortoise:2", "5:Kilnwarden:2"}
                                                  << "Lampwick Moth" << QStringList{};
        QTest::newRow("Same") << same << QStringList{"1:Slagshell Tortoise:2", "5:Kilnwarden:2"} << "Lampwick Moth"
                              << QStringList{"CV_SAME", "CV_CARDFLIP 1 2 blue", "CV_BLUECARD 1 Slagshell%20Tortoise",
                                             "CV_CARDFLIP 5 1 blue", "CV_BLUECARD 5 Kilnwarden"};
        QTest::newRow("Same counts an own card, takes the other")
            << same << QStringList{"1:Slagshell Tortoise:1", "5:Kilnwarden:2"} << "Lampwick Moth"
            << QStringList{"CV_SAME", "CV_CARDFLIP 5 1 blue", "CV_BLUECARD 5 Kilnwarden"};
        QTest::newRow("one equal side is no Same") << same << QStringList{"1:Slagshell Tortoise:2"} << "Lampwick Moth" << QStringList{};
        QTest::newRow("Plus") << plus << QStringList{"1:Dawnbell Acolyte:2", "5:Frostmere Heron:2"} << "Lampwick Moth"
                              << QStringList{"CV_PLUS", "CV_CARDFLIP 1 2 blue", "CV_BLUECARD 1 Dawnbell%20Acolyte",
                                             "CV_CARDFLIP 5 1 blue", "CV_BLUECARD 5 Frostmere%20Heron"};
        QTest::newRow("Combo goes on from what Same took")
            << sameCombo << QStringList{"1:Slagshell Tortoise:2", "5:Kilnwarden:2", "8:Thornback Boar:2"} << "Lampwick Moth"
            << QStringList{"CV_SAME", "CV_CARDFLIP 1 2 blue", "CV_BLUECARD 1 Slagshell%20Tortoise", "CV_CARDFLIP 5 1 blue",
                           "CV_BLUECARD 5 Kilnwarden", "CV_COMBO", "CV_CARDFLIP 8 2 blue", "CV_BLUECARD 8 Thornback%20Boar"};
    }
    void captures() {
        QFETCH(QList<int>, on);
        QFETCH(QStringList, cards);
        QFETCH(QString, placed);
        QFETCH(QStringList, steps);
        LoopbackMatch::Setup setup;
        setup.rules = rules(on);
        QStringList sent;
        LoopbackMatch match(setup, [&](const QString& l) { sent << l; }, [&](const QString& l) { sent << l; }, [] {});
        Board b = board(cards);
        b[4] = {placed, 1, 1};
        const LoopbackMatch::Capture c = match.capture(b, 4, 1);
        QCOMPARE(c.steps, steps);
        QCOMPARE(c.flips, int(steps.filter(QStringLiteral("CV_CARDFLIP")).size()));
        // The board holds the captures: every cell named in a flip is blue now.
        for (const QString& step : steps.filter(QStringLiteral("CV_CARDFLIP"))) QCOMPARE(b[step.section(u' ', 1, 1).toInt()].side, 1);
        QVERIFY(sent.isEmpty());
    }
};

QTEST_MAIN(tst_loopback_match)
#include "tst_loopback_match.moc"
