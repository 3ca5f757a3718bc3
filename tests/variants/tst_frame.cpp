// The frame all variant games share, driven through the real dispatcher and windows: the turn
// countdown of every game with its bands, the request boxes, what each start line closes, each
// close line's pause and InGame rule, and the killed match.
#include "Screenshots.h"
#include "VariantLink.h"

#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "variants/VariantFrame.h"
#include "variants/frmcardwars.h"
#include "variants/frmchinchin.h"
#include "variants/frmmemory.h"
#include "variants/frmsphere.h"
#include "variants/frmsphere_setup.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

#include <tuple>

Q_DECLARE_METATYPE(VariantGame)

namespace {
const QString kEndGameText = QStringLiteral(
    "Are you sure you want to request an end game? If 4 minutes have passed since the last game activity, sending a request "
    "will auto terminate the game.  If not, you will not be able to request another end game.");

// The windows a start or close line may touch, by name; null when not loaded.
QList<std::pair<QString, QWidget*>> windows() {
    return {{"waiting", ifLoaded<frmchallengewaiting>()}, {"single", ifLoaded<frmchallengebox_single>()},
            {"four", ifLoaded<frmchallengebox>()},        {"setup", ifLoaded<frmsphere_setup>()},
            {"omni", ifLoaded<frmomni>()},                {"team", ifLoaded<frmteamomni>()},
            {"cardwars", ifLoaded<frmcardwars>()},        {"sphere", ifLoaded<frmsphere>()},
            {"memory", ifLoaded<frmmemory>()},            {"dice", ifLoaded<frmchinchin>()}};
}

QStringList loadedNames() {
    QStringList out;
    for (const auto& [name, w] : windows())
        if (w) out << name;
    return out;
}

void loadRoomForms() {
    form<frmchallengewaiting>()->show();
    form<frmchallengebox_single>()->show();
    form<frmchallengebox>()->show();
    form<frmsphere_setup>()->show();
}
}  // namespace

class tst_frame : public QObject {
    Q_OBJECT

private slots:
    void init() { ClientFixture::unloadAll(); }

    // Every game's countdown from the turn start to the time-up: the first number shown, where
    // the tick sound starts, the time-up text and what the time-up sends.
    void countdownBands_data() {
        QTest::addColumn<VariantGame>("game");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("tickFrom");
        QTest::addColumn<QString>("timeUp");
        QTest::addColumn<QString>("action");
        QTest::newRow("omni") << VariantGame::Omni << 89 << 14 << "Time Up! Game Over!" << "OCVPLACEAT 1";
        QTest::newRow("team omni") << VariantGame::TeamOmni << 89 << 14 << "Time Up! Game Over!" << "TEAM_OCVPLACEAT 1";
        QTest::newRow("card war") << VariantGame::CardWar << 34 << 9 << "Times Up!" << "";
        QTest::newRow("memory") << VariantGame::Memory << 89 << 14 << "Time is Up!" << "MEMORYFORFEIT";
        QTest::newRow("dice") << VariantGame::Dice << 59 << 14 << "Time Up! Game Over!" << "CHINCHINROLL";
    }
    void countdownBands() {
        QFETCH(VariantGame, game);
        QFETCH(int, first);
        QFETCH(int, tickFrom);
        QFETCH(QString, timeUp);
        QFETCH(QString, action);
        VariantLink l;
        QTimer* timer = nullptr;
        QLabel* label = nullptr;
        std::function<void()> tick;
        QTimer bareTimer;
        QLabel bareLabel;
        int16_t counter = 0;
        std::optional<TurnCountdown> bare;
        if (game == VariantGame::Omni) {
            l.creator(true);
            l.receive({QStringLiteral("OCVSTARTER 1"), QStringLiteral("OCVBLOCK 0"), QStringLiteral("OCVCARDDRAW Gustling.jpg ")});
            frmomni* w = ifLoaded<frmomni>();
            timer = w->TimerTurn, label = w->timeleft, tick = [w] { w->TimerTurn_Timer(); };
        } else if (game == VariantGame::TeamOmni) {
            l.receive({QStringLiteral("TEAM_OCVSTARTER 1"), QStringLiteral("TEAM_OCVCOLOR blue"), QStringLiteral("TEAM_OMNIBLOCK 0"),
                       QStringLiteral("TEAM_OCVCARDDRAW Gustling.jpg Gustling.jpg"), QStringLiteral("TEAM_OCVYOURTURN")});
            frmteamomni* w = ifLoaded<frmteamomni>();
            timer = w->TimerTurn, label = w->timeleft, tick = [w] { w->TimerTurn_Timer(); };
        } else {
            bare.emplace(game, &bareTimer, &bareLabel, counter);
            bare->start();
            timer = &bareTimer, label = &bareLabel, tick = [&bare] { bare->tick(); };
        }
        l.sent();
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        QList<int> shown;
        QList<int> ticked;
        QString last;
        for (int n = 0; n < 400 && timer->isActive(); ++n) {
            const qsizetype before = l.sounds().size();
            tick();
            last = label->text();
            bool number = false;
            const int value = last.toInt(&number);
            if (!number) break;
            shown << value;
            if (l.sounds().size() > before && l.sounds().last() == 48) ticked << value;
        }
        QCOMPARE(shown.first(), first);
        QCOMPARE(shown.last(), 1);
        QCOMPARE(shown.size(), first);
        QCOMPARE(ticked.first(), tickFrom);
        QCOMPARE(ticked.size(), tickFrom);
        QCOMPARE(last, timeUp);
        QCOMPARE(l.sounds().last(), 49);
        QVERIFY(!timer->isActive());
        QCOMPARE(timer->interval(), 0);
        QCOMPARE(l.sent(), action.isEmpty() ? QStringList() : QStringList{action});
        QVERIFY(l.healthy());
    }

    // The three request boxes of the omni window and what each answer does.
    void requestBoxes_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("beep");
        const std::tuple<const char*, const char*, QString, const char*, bool> boxes[] = {
            {"mnuEndGameRequest", "End Game Request", kEndGameText, "OCVENDGAME", true},
            {"mnuStalemate", "Game Stalemate", QStringLiteral("Are you sure you want to request a stalemate?"), "OCVSTALEMATE", false},
            {"mnuSurrender", "Surrender (Game Termination)",
             QStringLiteral("Are you sure you want to surrender? You will automatically lose and will cost 100GP!"), "OCVSURRENDER",
             false}};
        for (const auto& [item, title, text, line, beep] : boxes) {
            QTest::addRow("%s, yes", title) << item << int(vb::Yes) << title << text << line << beep;
            QTest::addRow("%s, no", title) << item << int(vb::No) << title << text << "" << beep;
        }
    }
    void requestBoxes() {
        QFETCH(QString, item);
        QFETCH(int, answer);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QString, line);
        QFETCH(bool, beep);
        VariantLink l;
        l.receive(QStringLiteral("OCVSTARTER 2"));
        l.sent();
        auto* action = ifLoaded<frmomni>()->findChild<QAction*>(item);
        QVERIFY(action && action->isEnabled());
        l.dialogs().answer(answer);
        action->trigger();
        QCOMPARE(l.dialogs().boxes.size(), 1);
        QCOMPARE(l.dialogs().boxes[0].title, title);
        QCOMPARE(l.dialogs().boxes[0].text, text);
        QCOMPARE(l.dialogs().boxes[0].style, int(vb::YesNo | vb::Question));
        QCOMPARE(l.sounds(), beep ? QList<int>{3} : QList<int>{});
        QCOMPARE(l.sent(), line.isEmpty() ? QStringList() : QStringList{line});
        // A request made once cannot be made again in the same window.
        QCOMPARE(action->isEnabled(), line.isEmpty());
    }

    void teamEndGameGoesThroughTheChatWithoutABox() {
        VariantLink l;
        l.receive(QStringLiteral("TEAM_OCVSTARTER 0"));
        l.sent();
        frmteamomni* w = ifLoaded<frmteamomni>();
        QVERIFY(!w->findChild<QAction*>(QStringLiteral("mnuStalemate")));
        w->mnuEndGameRequest->trigger();
        QVERIFY(l.dialogs().boxes.isEmpty());
        QCOMPARE(l.sounds(), QList<int>{3});
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHAT !endgame [Game Request]")});
        QVERIFY(!w->mnuEndGameRequest->isEnabled());
    }

    // What each game's first line closes, without a word to the server.
    void startLinesCloseWhatLedToTheGame_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("omni") << "OCVSTARTER 1" << QStringList{"four", "setup", "omni"};
        QTest::newRow("team omni") << "TEAM_OCVSTARTER 1" << QStringList{"single", "setup", "team"};
        QTest::newRow("coin board") << "OBSTART" << QStringList{"four", "sphere"};
        QTest::newRow("memory") << "MEMORYYES" << QStringList{"four", "setup", "memory"};
        QTest::newRow("dice") << "CHINCHINYES" << QStringList{"four", "setup", "dice"};
        QTest::newRow("card war") << "CARDWARSLOAD 1" << QStringList{"waiting", "four", "setup", "cardwars"};
        QTest::newRow("memory turn") << "MEMORYTURN 1" << QStringList{"waiting", "four", "setup", "memory"};
        QTest::newRow("dice turn") << "CHINCHINTURN 2" << QStringList{"waiting", "four", "setup", "dice"};
        QTest::newRow("no start line") << "OCVPOINTS 1 2" << QStringList{"waiting", "single", "four", "setup", "omni"};
    }
    void startLinesCloseWhatLedToTheGame() {
        QFETCH(QString, line);
        QFETCH(QStringList, left);
        VariantLink l;
        l.creator(false);
        loadRoomForms();
        l.sent();
        l.receive(line);
        QCOMPARE(loadedNames(), left);
        QVERIFY(l.sent().isEmpty());
    }

    void memoryAndDiceStartsTakeTheFirstSeat() {
        VariantLink l;
        l.creator(false);
        l.con->versus->setText(QStringLiteral("Rival"));
        l.receive(QStringLiteral("MEMORYYES"));
        QVERIFY(l.isCreator());
        QVERIFY(ifLoaded<frmmemory>()->isVisible());
        QCOMPARE(ifLoaded<frmmemory>()->windowTitle(), QStringLiteral("Rival"));
    }

    // Each close line: its pause or none, the window gone, InGame cleared but by the card war.
    void closeLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QList<int>>("pauses");
        QTest::addColumn<bool>("inGame");
        for (bool open : {true, false}) {
            const char* tag = open ? "" : ", window not open";
            QTest::addRow("omni%s", tag) << "OCVCLOSE" << open << QList<int>{1} << false;
            QTest::addRow("team omni%s", tag) << "TEAM_OCVCLOSE" << open << QList<int>{1} << false;
            QTest::addRow("coin board%s", tag) << "OBCLOSE" << open << QList<int>{1} << false;
            QTest::addRow("memory%s", tag) << "MEMORYCLOSE" << open << QList<int>{1} << false;
            QTest::addRow("dice%s", tag) << "CHINCHINCLOSE" << open << QList<int>{} << false;
            QTest::addRow("card war%s", tag) << "CARDWARSCLOSE" << open << QList<int>{} << true;
        }
    }
    void closeLines() {
        QFETCH(QString, line);
        QFETCH(bool, open);
        QFETCH(QList<int>, pauses);
        QFETCH(bool, inGame);
        VariantLink l;
        if (open) {
            form<frmomni>()->show();
            form<frmteamomni>()->show();
            form<frmsphere>()->show();
            form<frmmemory>()->show();
            form<frmchinchin>()->show();
            form<frmcardwars>()->show();
        }
        const QStringList before = loadedNames();
        l.receive(line);
        QCOMPARE(l.pauses(), pauses);
        QCOMPARE(InGame, inGame);
        QCOMPARE(before.size() - loadedNames().size(), open ? 1 : 0);
        QVERIFY(l.healthy());
    }

    // Every control of every variant window lies wholly inside its parent, and so inside the
    // window: nothing hangs off an edge, as either seat.
    void everyControlInsideItsWindow_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("creator");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("omni, blue") << "omni" << true << QStringList{"OCVSTARTER 1"};
        QTest::newRow("omni, red") << "omni" << false << QStringList{"OCVSTARTER 1"};
        QTest::newRow("team omni") << "team" << true << QStringList{"TEAM_OCVSTARTER 1", "TEAM_OCVCOLOR blue"};
        QTest::newRow("card war, blue") << "cardwars" << true << QStringList{"CARDWARSLOAD 1", "CARDWARSBOARD 1 2 1 x2 4 9 9"};
        QTest::newRow("card war, red") << "cardwars" << true << QStringList{"CARDWARSLOAD 2", "CARDWARSBOARD 2 1 2 x3 10 9 9"};
        QTest::newRow("coin board") << "sphere" << true << QStringList{"OBSTART"};
        QTest::newRow("coin board rules") << "setup" << true << QStringList{};
        QTest::newRow("memory") << "memory" << true << QStringList{"MEMORYYES", "MEMORYTURN 1"};
        QTest::newRow("dice") << "dice" << true << QStringList{"CHINCHINYES", "CHINCHINTURN 1"};
    }
    void everyControlInsideItsWindow() {
        QFETCH(QString, window);
        QFETCH(bool, creator);
        QFETCH(QStringList, lines);
        VariantLink l;
        l.creator(creator);
        if (window == QLatin1String("setup")) form<frmsphere_setup>()->show();
        l.receive(lines);
        QWidget* w = nullptr;
        for (const auto& [name, loaded] : windows())
            if (name == window) w = loaded;
        QVERIFY(w && w->isVisible());
        QCoreApplication::processEvents();
        QStringList outside;
        int checked = 0;
        for (QWidget* c : w->findChildren<QWidget*>()) {
            // Qt's own parts of a composite control (viewports, scroll bars) are its business.
            if (c->objectName().isEmpty() || c->objectName().startsWith(QLatin1String("qt_")) || c->isWindow()) continue;
            ++checked;
            const QRect room = c->parentWidget()->rect();
            if (!room.contains(c->geometry()))
                outside << QStringLiteral("%1 at %2,%3 %4x%5 in %6x%7")
                               .arg(c->objectName())
                               .arg(c->x())
                               .arg(c->y())
                               .arg(c->width())
                               .arg(c->height())
                               .arg(room.width())
                               .arg(room.height());
        }
        QVERIFY(checked > 10);
        QCOMPARE(outside, QStringList());
        save(w->grab().toImage(), qPrintable(QString::fromLatin1(QTest::currentDataTag()).replace(QStringLiteral(", "), QStringLiteral("_"))));
    }

    // A killed match closes every game and room at once; queued steps are not played.
    void killedMatchDuringAGame_data() {
        QTest::addColumn<QStringList>("game");
        QTest::newRow("omni") << QStringList{"OCVSTARTER 1", "OCVPLACEDCARD 3 Gustling", "OCVCARDFLIP 3 1 blue", "OCVSAME"};
        QTest::newRow("team omni") << QStringList{"TEAM_OCVSTARTER 1", "TEAM_OCVCOLOR red", "TEAM_OCVYOURTURN",
                                                  "TEAM_OCVPLACEDCARD 3 Gustling red", "TEAM_OCVSAME"};
    }
    void killedMatchDuringAGame() {
        QFETCH(QStringList, game);
        VariantLink l;
        loadRoomForms();
        l.receive(game);
        form<frmchallengebox_single>()->show();
        const qsizetype soundsBefore = l.sounds().size();
        l.receive(QStringLiteral("KILLMATCH"));
        QVERIFY(loadedNames() == QStringList{QStringLiteral("setup")});
        QVERIFY(!InGame);
        QVERIFY(l.pauses().isEmpty());
        QCOMPARE(l.sounds().size(), soundsBefore);
        QVERIFY(l.healthy());
    }
};

QTEST_MAIN(tst_frame)
#include "tst_frame.moc"
