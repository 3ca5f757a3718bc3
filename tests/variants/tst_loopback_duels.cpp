// The memory, dice and coin-board games played against the loopback server tool, as a player
// would: the table from the games menu, ready in the room, the game's own moves, the last score
// or the winner's text on screen before the close, the close and the result line in the lobby.
// Mid-game pictures and the last ones are saved when CORVADEX_SCREENSHOTS names a folder.
#include "ClientFixture.h"
#include "EndSeen.h"
#include "Loopback.h"
#include "Screenshots.h"

#include "app/HttpClient.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmmenu.h"
#include "platform/VbCompat.h"
#include "tables/frmchallengebox_single.h"
#include "variants/frmchinchin.h"
#include "variants/frmmemory.h"
#include "variants/frmsphere.h"
#include "variants/frmsphere_setup.h"

#include <QRegularExpression>
#include <QtTest>

namespace {
void trigger(const char* name) { form<frmmenu>()->findChild<QAction*>(QString::fromLatin1(name))->trigger(); }

// The room of a new table, once the resident sits in it: the resident's name.
QString enterRoom(const char* menu) {
    trigger(menu);
    const bool seated = QTest::qWaitFor([] {
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        return room && !room->Player2->text().isEmpty();
    }, 8000);
    return seated ? ifLoaded<frmchallengebox_single>()->Player2->text() : QString();
}

QString enterAndReady(const char* menu) {
    const QString resident = enterRoom(menu);
    if (!resident.isEmpty()) ifLoaded<frmchallengebox_single>()->cmdReady_Click();
    return resident;
}

QString lobbyText() { return ifLoaded<frmchildchat>() ? ifLoaded<frmchildchat>()->chatin->toPlainText() : QString(); }

// The numbers of every line the loopback sent with this keyword, from `from` in its log on.
QList<QList<int>> sent(const QString& log, qsizetype from, const QString& keyword) {
    QList<QList<int>> out;
    const QRegularExpression line(QStringLiteral("<- ") + keyword + QStringLiteral(" ([\\d ]+)$"), QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(log.mid(from)); it.hasNext();) {
        QList<int> numbers;
        for (const QString& n : it.next().captured(1).split(u' ', Qt::SkipEmptyParts)) numbers << n.toInt();
        out << numbers;
    }
    return out;
}

// The lobby's result line of kira against the resident at these scores: the winner first, kira
// on a tie; the dice game shows no score.
QString resultLine(const QString& game, const QString& resident, int mine, int theirs) {
    static const QHash<QString, QString> levels = {{"Nyx", "7"}, {"Orrin", "12"}, {"Bree", "3"}};
    const QString me = QStringLiteral("kira(1)"), them = resident + u'(' + levels.value(resident) + u')';
    const bool won = mine >= theirs;
    QString line = u'<' + game + QStringLiteral("> ") + (won ? me : them) + (mine == theirs ? QStringLiteral(" ties ") : QStringLiteral(" defeats ")) +
                   (won ? them : me) + u' ';
    if (game != QLatin1String("Chinchirorin")) line += QStringLiteral("Score: %1-%2 ").arg(qMax(mine, theirs)).arg(qMin(mine, theirs));
    return line;
}

// The result line and the replay link of the game in the lobby.
bool resultShown(const QString& line, const QString& replayPage) {
    return QTest::qWaitFor([&] { return lobbyText().contains(line + u'\n') && lobbyText().contains(QStringLiteral("/Replays/") + replayPage + u'-'); }, 8000);
}

// The cards the game has turned up so far (the tool's log names them), by spot.
QHash<int, QString> turnedUp(const QString& log, qsizetype from) {
    QHash<int, QString> out;
    static const QRegularExpression line(QStringLiteral("<- MEMORYSLOT (\\S+) (\\d+) "));
    for (auto it = line.globalMatch(log.mid(from)); it.hasNext();) {
        const auto m = it.next();
        out[m.captured(2).toInt()] = m.captured(1);
    }
    return out;
}

// A player who remembers: the mate of the first pick (at spot `picked`, -1 before it), or a pair
// seen before, when it lies face down; else a card not seen yet; else any card face down.
int memoryPick(const frmmemory* w, const QHash<int, QString>& seen, int picked) {
    const QString first = seen.value(picked);
    QHash<QString, QList<int>> down;
    int unseen = -1, any = -1;
    for (int i = 0; i < frmmemory::kSpots; ++i) {
        if (!w->faceDown(i)) continue;
        if (any < 0) any = i;
        if (seen.contains(i)) down[seen[i]] << i;
        else if (unseen < 0) unseen = i;
    }
    if (!first.isEmpty() && down.contains(first)) return down[first].first();
    if (first.isEmpty())
        for (const QList<int>& spots : std::as_const(down))
            if (spots.size() >= 2) return spots.first();
    return unseen >= 0 ? unseen : any;
}

// Coins whose sum the multiplier divides: a core coin first, then up to two border coins.
QList<int> completion(frmsphere* w) {
    const int m = int(vbVal(w->multi->text()));
    if (m <= 0) return {};
    auto value = [w](int coin) { return int(vbVal(coin < 4 ? w->corecoin[coin]->text() : w->bordercoin[coin - 4]->text())); };
    for (int c = 0; c < 4; ++c) {
        if (value(c) % m == 0) return {c};
        for (int b = 4; b < 16; ++b) {
            if (value(b) == 0) continue;
            if ((value(c) + value(b)) % m == 0) return {c, b};
            for (int b2 = b + 1; b2 < 16; ++b2)
                if (value(b2) != 0 && (value(c) + value(b) + value(b2)) % m == 0) return {c, b, b2};
        }
    }
    return {};
}
}  // namespace

class tst_loopback_duels : public QObject {
    Q_OBJECT
    Loopback loopback;

private slots:
    void initTestCase() {
        loopback.startForClients();
    }
    void cleanupTestCase() { loopback.stop(); }

    // Two turns of picks, then the end-game request ends the game on the pairs found so far; or
    // the game played until every pair is found, its last pair's score on screen before the close.
    void memoryGame_data() {
        QTest::addColumn<int>("picks");  // before the end-game request; 0: none
        QTest::newRow("end-game request") << 4;
        QTest::newRow("every pair found") << 0;
    }
    void memoryGame() {
        QFETCH(int, picks);
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        const qsizetype from = loopback.output.size();
        const QString resident = enterAndReady("mnumemory");
        QVERIFY(!resident.isEmpty());
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmmemory>() && ifLoaded<frmmemory>()->isVisible(); }, 8000));
        EndSeen<frmmemory> seen(shownScore<frmmemory>, picks ? "memory_request_end" : "memory_end");
        int made = 0, picked = -1;
        while ((!picks || made < picks) && QTest::qWaitFor([] {
                   frmmemory* w = ifLoaded<frmmemory>();
                   return !w || (!w->playerturn[1]->isHidden() && w->PickCount < 2);
               }, 60000)) {
            frmmemory* w = ifLoaded<frmmemory>();
            if (!w) break;
            // The second pick waits until the log names the first.
            if (w->PickCount == 0) picked = -1;
            QVERIFY(QTest::qWaitFor([&] { return picked < 0 || turnedUp(loopback.output, from).contains(picked); }));
            const int spot = memoryPick(w, turnedUp(loopback.output, from), picked);
            if (picked < 0) picked = spot;
            w->cardspot_Click(spot);
            if (++made == 2) {
                QTest::qWait(800);
                save(w->grab().toImage(), "memory_loopback");
            }
        }
        if (picks) {
            QCOMPARE(made, picks);
            fx.services.dialogs->answer(vb::Yes);
            ifLoaded<frmmemory>()->mnuEndGameRequest->trigger();
        }
        QVERIFY(QTest::qWaitFor([] { return !ifLoaded<frmmemory>(); }, 8000));
        QVERIFY(!InGame);
        const QList<QList<int>> told = sent(loopback.output, from, QStringLiteral("MEMORYSCORE"));
        const QList<int> scores = told.isEmpty() ? QList<int>{0, 0} : told.last();
        if (!picks) {
            QCOMPARE(scores.value(0) + scores.value(1), frmmemory::kSpots / 2);
            QCOMPARE(seen.last(), loopback.lastSent(QStringLiteral("MEMORYSCORE")));
        }
        QVERIFY2(resultShown(resultLine(QStringLiteral("Corvada Memory"), resident, scores.value(0), scores.value(1)), QStringLiteral("Corvada-Memory-Game")),
                 qPrintable(lobbyText()));
    }

    // Three rounds of rolls to the close; the higher total wins.
    void diceGame() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        const qsizetype from = loopback.output.size();
        const QString resident = enterAndReady("mnuchinchin");
        QVERIFY(!resident.isEmpty());
        int rolls = 0;
        EndSeen<frmchinchin> seen(lastLine<frmchinchin>, "dice_end");
        while (QTest::qWaitFor([&] {
            frmchinchin* w = ifLoaded<frmchinchin>();
            return (w && w->cmdRoll->Enabled() && !w->playerturn[1]->isHidden()) || (rolls > 0 && !w);
        }, 20000)) {
            frmchinchin* w = ifLoaded<frmchinchin>();
            if (!w) break;
            w->cmdRoll_Click();
            if (++rolls == 2) {
                QTest::qWait(800);
                save(w->grab().toImage(), "dice_loopback");
            }
        }
        QCOMPARE(rolls, 3);
        QVERIFY(!InGame);
        // The winner's text stood in the window before it closed.
        QVERIFY(loopback.lastSent(QStringLiteral("CHINCHINTEXT")).endsWith(QStringLiteral(" wins the game.")));
        QCOMPARE(seen.last(), loopback.lastSent(QStringLiteral("CHINCHINTEXT")));
        int points[3] = {};
        for (const QList<int>& p : sent(loopback.output, from, QStringLiteral("CHINCHINPOINTS"))) points[qBound(0, p.value(0), 2)] = p.value(1);
        QVERIFY2(resultShown(resultLine(QStringLiteral("Chinchirorin"), resident, points[1], points[2]), QStringLiteral("Chinchirorin-Game")),
                 qPrintable(lobbyText()));
    }

    // Each turn completed where it can be, else frozen, until a score reaches the rules' maximum
    // score or the turns their maximum; the rules set in the dialog, or the table's own when the
    // creator sets none.
    void orboltGame_data() {
        QTest::addColumn<bool>("setRules");
        QTest::addColumn<int>("maxScore");
        QTest::addColumn<int>("maxTurns");
        QTest::newRow("the smallest choices") << true << 50 << 15;
        QTest::newRow("rules never set") << false << 75 << 20;
    }
    void orboltGame() {
        QFETCH(bool, setRules);
        QFETCH(int, maxScore);
        QFETCH(int, maxTurns);
        ClientFixture fx(ClientFixture::All);
        QVERIFY(loginThroughWindows(QStringLiteral("kira")).contains(85));
        const qsizetype from = loopback.output.size();
        const QString resident = enterRoom("mnuorbolt");
        QVERIFY(!resident.isEmpty());
        if (setRules) {
            ifLoaded<frmchallengebox_single>()->cmdChange_Click();
            frmsphere_setup* setup = ifLoaded<frmsphere_setup>();
            QVERIFY(setup);
            setup->cmbtime->setCurrentIndex(0);
            setup->cmbmaxscore->setCurrentIndex(0);
            setup->cmbmaxturns->setCurrentIndex(0);
            setup->cmdOK_Click();
            QVERIFY(!ifLoaded<frmsphere_setup>());
            QVERIFY(loopback.printed(QStringLiteral("-> CHANGERULE ORBOLT 30 50 15")));
        }
        ifLoaded<frmchallengebox_single>()->cmdReady_Click();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmsphere>() && ifLoaded<frmsphere>()->isVisible(); }, 8000));
        ifLoaded<frmsphere>()->cmdGo_Click();
        int turns = 0;
        while (QTest::qWaitFor([] {
            frmsphere* w = ifLoaded<frmsphere>();
            return !w || (w->blnReady && !w->blnLock);
        }, 20000)) {
            frmsphere* w = ifLoaded<frmsphere>();
            if (!w) break;
            const QList<int> coins = completion(w);
            for (int c : coins) c < 4 ? w->imgcore_coin_Click(c) : w->imgborder_coin_Click(c - 4);
            if (!w->blnLock) w->cmdFreeze_Click();
            if (++turns == 2) {
                QTest::qWait(1000);
                save(w->grab().toImage(), "sphere_loopback");
            }
        }
        QVERIFY(!ifLoaded<frmsphere>());
        QVERIFY(!InGame);
        // The game went on until the rules end it, and not a turn longer.
        const QList<QList<int>> mine = sent(loopback.output, from, QStringLiteral("OBSCORE"));
        const QList<QList<int>> theirs = sent(loopback.output, from, QStringLiteral("OBOPPSCORE"));
        QCOMPARE(turns, int(mine.size()));
        QCOMPARE(theirs.size(), mine.size());
        QVERIFY(turns >= 1 && turns <= maxTurns);
        for (int t = 0; t < turns - 1; ++t) QVERIFY(mine[t].value(0) < maxScore && theirs[t].value(0) < maxScore);
        const int score = mine.last().value(0), opponent = theirs.last().value(0);
        QVERIFY2(turns == maxTurns || qMax(score, opponent) >= maxScore, qPrintable(QStringLiteral("%1 turns, %2-%3").arg(turns).arg(score).arg(opponent)));
        QVERIFY2(resultShown(resultLine(QStringLiteral("Orbolt"), resident, score, opponent), QStringLiteral("Orbolt-Game")), qPrintable(lobbyText()));
    }
};

QTEST_MAIN(tst_loopback_duels)
#include "tst_loopback_duels.moc"
