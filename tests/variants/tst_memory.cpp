// The memory game through the real dispatcher and window: picks in the own turn and the refused
// ones, cards turned up and down, matched pairs, scores, the countdown's forfeit, the requests,
// the close, and lines the window must not act on.
#include "Screenshots.h"
#include "VariantLink.h"

#include "app/modSkin.h"
#include "platform/Ini.h"
#include "tables/frmchallengebox_single.h"
#include "variants/frmmemory.h"

namespace {
frmmemory* memory() { return ifLoaded<frmmemory>(); }

// One letter per spot: "." face down, "#" matched ("!" matched yet face down), "c" a card shown; then the markers, scores,
// the first pick and the pick count.
QString boardState() {
    frmmemory* w = memory();
    if (!w) return QStringLiteral("not loaded");
    QString spots;
    for (int i = 0; i < frmmemory::kSpots; ++i)
        spots += w->cardspot[i]->Tag == QLatin1String("block") ? (w->faceDown(i) ? u'!' : u'#') : w->faceDown(i) ? u'.' : u'c';
    return spots + QStringLiteral(" markers %1%2 score %3-%4 selected '%5' picks %6")
                       .arg(w->playerturn[1]->isHidden() ? QStringLiteral("-") : QStringLiteral("1"))
                       .arg(w->playerturn[2]->isHidden() ? QStringLiteral("-") : QStringLiteral("2"))
                       .arg(w->player1_cards->text(), w->player2_cards->text(), w->selected->text())
                       .arg(w->PickCount);
}

// Runs a script: "click N" picks spot N, "skin KEY VALUE" sets a key of the skin's [main],
// anything else is a line from the server.
void play(VariantLink& l, const QStringList& script) {
    for (const QString& step : script) {
        const QStringList words = step.split(u' ');
        if (words[0] == QLatin1String("click")) memory()->cardspot_Click(words.value(1).toInt());
        else if (words[0] == QLatin1String("skin"))
            WriteIni(QStringLiteral("main"), words.value(1), words.value(2), clientPath(QStringLiteral("\\skins\\default.ini")));
        else l.receive(step);
    }
}
}  // namespace

class tst_memory : public QObject {
    Q_OBJECT

private slots:
    void init() { ClientFixture::unloadAll(); }

    // Which picks reach the server: two a turn, each after the server showed the marker again.
    void picks_data() {
        QTest::addColumn<bool>("creator");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("sent");
        const QStringList start{"MEMORYYES", "MEMORYTURN 1"};
        QTest::newRow("two picks, the third refused")
            << true << start + QStringList{"click 3", "MEMORYSLOT Gustling 3 0 1", "click 7", "MEMORYSLOT Cinderpup 7 0 1", "click 9"}
            << QStringList{"MEMORYSLOT 3 1", "MEMORYSLOT 7 2"};
        QTest::newRow("the second pick waits for the first card")
            << true << start + QStringList{"click 3", "click 7"} << QStringList{"MEMORYSLOT 3 1"};
        QTest::newRow("spot 0 with nothing picked yet") << true << start + QStringList{"click 0"} << QStringList{"MEMORYSLOT 0 1"};
        QTest::newRow("a reveal without a card name, no box")
            << true << start + QStringList{"click 3", "MEMORYSLOT  3 0 1", "click 3", "click 7"}
            << QStringList{"MEMORYSLOT 3 1", "MEMORYSLOT 7 2"};
        QTest::newRow("a turned-up card is not picked again")
            << true << start + QStringList{"click 0", "MEMORYSLOT Gustling 0 0 1", "click 0"} << QStringList{"MEMORYSLOT 0 1"};
        QTest::newRow("flag A keeps the turn closed")
            << true << start + QStringList{"click 3", "MEMORYSLOT Gustling 3 1 1", "click 7"} << QStringList{"MEMORYSLOT 3 1"};
        QTest::newRow("a matched spot") << true << start + QStringList{"MEMORYMATCH 4 5", "click 4", "click 6"}
                                        << QStringList{"MEMORYSLOT 6 1"};
        QTest::newRow("a matched spot, blocked card drawn as the card back")
            << true << QStringList{"skin cardblock \\default\\cardback.jpg"} + start + QStringList{"MEMORYMATCH 4 5", "click 4", "click 6"}
            << QStringList{"MEMORYSLOT 6 1"};
        QTest::newRow("the opponent's turn") << true << QStringList{"MEMORYYES", "MEMORYTURN 2", "click 3"} << QStringList{};
        QTest::newRow("seat 2 in its turn") << false << QStringList{"MEMORYTURN 2", "click 5"} << QStringList{"MEMORYSLOT 5 1"};
        QTest::newRow("seat 2 in seat 1's turn") << false << QStringList{"MEMORYTURN 1", "click 5"} << QStringList{};
        QTest::newRow("a turn of no seat") << false << QStringList{"MEMORYTURN 3", "click 5"} << QStringList{};
        QTest::newRow("a new turn opens two picks again")
            << true << start + QStringList{"click 1", "MEMORYSLOT Gustling 1 0 1", "click 2", "MEMORYTURN 1", "click 1"}
            << QStringList{"MEMORYSLOT 1 1", "MEMORYSLOT 2 2", "MEMORYSLOT 1 1"};
    }
    void picks() {
        QFETCH(bool, creator);
        QFETCH(QStringList, script);
        QFETCH(QStringList, sent);
        VariantLink l;
        l.creator(creator);
        l.sent();
        play(l, script);
        QCOMPARE(l.sent(), sent);
        QVERIFY(l.dialogs().boxes.isEmpty());
        QVERIFY(l.healthy());
    }

    // A whole turn of the creator and the turn passing: cards shown, a pair matched, scores, the
    // cards of the turn turned down again, the countdown stopped and started.
    void turnPassing() {
        VariantLink l;
        l.creator(false);
        l.con->versus->setText(QStringLiteral("Rival"));
        form<frmchallengebox_single>()->show();
        play(l, {"MEMORYYES", "MEMORYTURN 1"});
        frmmemory* w = memory();
        QCOMPARE(w->windowTitle(), QStringLiteral("Rival"));
        QVERIFY(!ifLoaded<frmchallengebox_single>());
        QCOMPARE(l.pauses(), QList<int>{1});
        QVERIFY(w->TimerTurn->isActive());
        play(l, {"click 3", "MEMORYSLOT Slagshell%20Tortoise 3 0 1", "click 7", "MEMORYSLOT Gustling 7 0 0", "MEMORYMATCH 3 7",
                 "MEMORYSCORE 1 0", "MEMORYSLOT Gustling 10 0 1", "MEMORYSLOT Emberlark 11 0 0"});
        QCOMPARE(boardState(), QStringLiteral("...#...#..cc............ markers -- score 1-0 selected '' picks 2"));
        QVERIFY(samePicture(w->cardspot[10]->Picture(), l.card("blue", QStringLiteral("Gustling"))));
        QVERIFY(samePicture(w->cardspot[3]->Picture(), SkinPicture(QStringLiteral("main"), QStringLiteral("cardblock"))));
        w->TimerTurn_Timer();
        QCOMPARE(w->timeleft->text(), QStringLiteral("89"));
        save(w->grab().toImage(), "memory_midgame");

        l.receive(QStringLiteral("MEMORYTURN 2"));
        QCOMPARE(boardState(), QStringLiteral("...#...#................ markers -2 score 1-0 selected '' picks 0"));
        QVERIFY(!w->TimerTurn->isActive());
        QCOMPARE(w->timeleft->text(), QString());
        l.receive(QStringLiteral("MEMORYTURN 1"));
        QCOMPARE(w->TurnSeconds, 90);
        QVERIFY(w->TimerTurn->isActive());
        QCOMPARE(l.sent(), (QStringList{"MEMORYSLOT 3 1", "MEMORYSLOT 7 2"}));
    }

    // The own turn's countdown runs out: one forfeit, the time-up text, the board left as it was.
    void forfeitAtTimeUp() {
        VariantLink l;
        play(l, {"MEMORYYES", "MEMORYTURN 1"});
        l.sent();
        frmmemory* w = memory();
        QStringList shown;
        for (int n = 0; n < 200 && w->TimerTurn->isActive(); ++n) {
            w->TimerTurn_Timer();
            shown << w->timeleft->text();
        }
        QCOMPARE(shown.size(), 90);
        QCOMPARE(shown.first(), QStringLiteral("89"));
        QCOMPARE(shown.last(), QStringLiteral("Time is Up!"));
        QCOMPARE(l.sent(), QStringList{QStringLiteral("MEMORYFORFEIT")});
        QCOMPARE(l.sounds().last(), 49);
    }

    // Each request asks its question once and sends its line on Yes.
    void requests_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("line");
        QTest::newRow("end game") << "mnuEndGameRequest" << "End Game Request" << "MEMORYENDGAME";
        QTest::newRow("stalemate") << "mnuStalemate" << "Game Stalemate" << "MEMORYSTALEMATE";
        QTest::newRow("surrender") << "mnuSurrender" << "Surrender (Game Termination)" << "MEMORYSURRENDER";
    }
    void requests() {
        QFETCH(QString, item);
        QFETCH(QString, title);
        QFETCH(QString, line);
        VariantLink l;
        l.receive(QStringLiteral("MEMORYTURN 2"));
        l.sent();
        auto* action = memory()->findChild<QAction*>(item);
        l.dialogs().answer(vb::Yes);
        action->trigger();
        QCOMPARE(l.dialogs().titles(), QStringList{title});
        QCOMPARE(l.sent(), QStringList{line});
        QVERIFY(!action->isEnabled());
    }

    void closeAfterAPause() {
        VariantLink l;
        play(l, {"MEMORYYES", "MEMORYTURN 1", "MEMORYCLOSE"});
        QVERIFY(!memory());
        QCOMPARE(l.pauses(), (QList<int>{1, 1}));
        QVERIFY(!InGame);
    }

    // Spots outside the board and missing indexes: the line is dropped and the board unchanged.
    void malformedLinesLeaveTheBoard_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("slot 24") << "MEMORYSLOT X 24 0 1";
        QTest::newRow("slot -1") << "MEMORYSLOT Gustling -1 0 1";
        QTest::newRow("slot beyond 16 bits") << "MEMORYSLOT Gustling 99999 0 1";
        QTest::newRow("slot without a spot") << "MEMORYSLOT Gustling";
        QTest::newRow("slot alone") << "MEMORYSLOT";
        QTest::newRow("match 30 31") << "MEMORYMATCH 30 31";
        QTest::newRow("match one spot outside") << "MEMORYMATCH 2 24";
        QTest::newRow("match of one spot") << "MEMORYMATCH 2";
        QTest::newRow("unknown keyword") << "MEMORYFLIP 2 3";
        QTest::newRow("keyword in lower case") << "memoryslot Gustling 2 0 1";
    }
    void malformedLinesLeaveTheBoard() {
        QFETCH(QString, line);
        VariantLink l;
        play(l, {"MEMORYYES", "MEMORYTURN 1", "click 2"});
        const QString before = boardState();
        l.receive(line);
        QCOMPARE(boardState(), before);
        QVERIFY(l.dialogs().boxes.isEmpty());
        QVERIFY(l.healthy());
    }
};

QTEST_MAIN(tst_memory)
#include "tst_memory.moc"
