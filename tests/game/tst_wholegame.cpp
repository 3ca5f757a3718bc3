// A whole standard game through the real socket and receive pump, against a fake game server
// and a fake web service: card picking, the board, the turns with their steps, the close, the
// game over and the trade. Then a table of malformed lines, and the pump during a playback pause.
#include "FakeWebService.h"
#include "GameLink.h"

#include "game/ModMiscFunctions.h"
#include "game/frmdisplaybox.h"
#include "game/frmplaying.h"
#include "game/frmselectcards.h"
#include "lobby/frmchildchat.h"
#include "tables/frmchallengebox_single.h"

#include <QRandomGenerator>
#include <QTextDocument>
#include <functional>
#include <memory>

namespace {
// A clock whose pauses let the test act as if events arrived meanwhile.
struct PumpingClock : ManualClock {
    std::function<void()> during;
    void Pause(int seconds) override {
        if (during) {
            auto once = std::move(during);
            during = nullptr;
            once();
        }
        ManualClock::Pause(seconds);
    }
};

QString text(const QTextEdit* box) { return box->document()->toPlainText(); }
QString text(const QPlainTextEdit* box) { return box->document()->toPlainText(); }

bool shows(const PictureBox* box, const ClientFixture& f, const QString& colour, const QString& name) {
    const QImage card(f.path(QStringLiteral("decks/") + colour + u'/' + name + QStringLiteral(".jpg")));
    return !card.isNull() && box->Picture().toImage().convertToFormat(card.format()) == card;
}
}  // namespace

class tst_wholegame : public QObject {
    Q_OBJECT
    std::unique_ptr<FakeWebService> service;

    static void selectAndPick(frmselectcards* picking, const QString& name) {
        for (int row = 0; row < picking->gridModel->rowCount(); ++row) {
            if (picking->gridModel->index(row, 0).data().toString() != name) continue;
            const QRect at = picking->DataGrid->visualRect(picking->gridModel->index(row, 0));
            QTest::mouseClick(picking->DataGrid->viewport(), Qt::LeftButton, {}, at.center());
            picking->cmdPick_Click();
            return;
        }
        QFAIL(qPrintable(QStringLiteral("no row for ") + name));
    }

private slots:
    void initTestCase() {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
        service = std::make_unique<FakeWebService>();
        service->answer(QStringLiteral("call sps_CVCards('Tester', 'Ashfall', 1, 10, 0)"),
                        {{{"Card", "string"}, {"Level", "integer"}, {"Total", "integer"}, {"Special", "string"}},
                         {{"Cinderpup", "1", "3", "No"},
                          {"Gustling", "1", "1", "No"},
                          {"Brine Skitter", "1", "1", "No"},
                          {"Emberlark", "1", "1", "No"},
                          {"Kilnwarden", "2", "1", "Yes"}}});
        qputenv("CORVADEX_WEBSERVICE", service->url().toUtf8());
    }
    void cleanupTestCase() { service.reset(); }

    void wholeGame() {
        GameLink l;
        auto& boxes = *l.fixture.services.dialogs;
        InGame = true;
        frmchallengebox_single* room = form<frmchallengebox_single>();
        room->Player1->setText(QStringLiteral("Tester"));
        room->Player2->setText(QStringLiteral("Rival"));
        room->oCVGame()->decks(QStringLiteral("Ashfall"));
        room->oCVGame()->MinLevelValue(1);
        room->oCVGame()->Same(true);

        // Picking, under a trade game's rules.
        l.feed(QStringLiteral("CV_PICKCARDS 1"));
        frmselectcards* picking = ifLoaded<frmselectcards>();
        QVERIFY(picking && picking->isVisible());
        picking->Timer1->stop();
        picking->cmbDecks->setCurrentIndex(0);
        picking->cmbDecks_Click();
        QCOMPARE(service->commands().last(), QStringLiteral("call sps_CVCards('Tester', 'Ashfall', 1, 10, 0)"));
        selectAndPick(picking, QStringLiteral("Kilnwarden"));
        selectAndPick(picking, QStringLiteral("Cinderpup"));
        selectAndPick(picking, QStringLiteral("Cinderpup"));
        selectAndPick(picking, QStringLiteral("Cinderpup"));
        selectAndPick(picking, QStringLiteral("Gustling"));
        selectAndPick(picking, QStringLiteral("Gustling"));
        QCOMPARE(boxes.titles(), QStringList(3, QStringLiteral("Problem")));
        QCOMPARE(boxes.boxes[0].text, QStringLiteral("You cannot pick special edition or event cards on trade games"));
        QCOMPARE(boxes.boxes[1].text, QStringLiteral("You can only pick the same card twice"));
        QCOMPARE(boxes.boxes[2].text, QStringLiteral("You do not have any of this card to add to your playing hand."));
        boxes.clear();
        selectAndPick(picking, QStringLiteral("Brine Skitter"));
        QVERIFY(!l.server.lines.contains(QStringLiteral("CV_MYCARD"), Qt::CaseSensitive));
        selectAndPick(picking, QStringLiteral("Emberlark"));
        QVERIFY(l.sent(QStringLiteral("CV_MYCARD Cinderpup Cinderpup Gustling Brine%20Skitter Emberlark")));
        QVERIFY(!ifLoaded<frmselectcards>());

        // The hands and the start.
        l.feed({QStringLiteral("CV_OPENCARD Sparkfin%20Eel Tidecall%20Nymph Gustling Rimehorn%20Elk Squall%20Harrier"),
                QStringLiteral("CV_HAND 4 Emberlark"), QStringLiteral("CV_ELEMENT 7 fire"), QStringLiteral("CV_STARTER 1")});
        frmplaying* board = ifLoaded<frmplaying>();
        QVERIFY(board && board->isVisible());
        board->TimerTurn->stop();
        QVERIFY(shows(board->Player2[3], l.fixture, "red", "Rimehorn Elk"));
        QVERIFY(shows(board->Player1[2], l.fixture, "blue", "Gustling"));
        QCOMPARE(board->Player1[4]->Tag, QStringLiteral("Emberlark"));
        QCOMPARE(board->ElementCard(7), QStringLiteral("fire"));
        QVERIFY(board->Board[7]->Picture().toImage() == QImage(l.fixture.path(QStringLiteral("skins/default/element/fire.gif"))));
        QCOMPARE(board->gamestatus->text(), QStringLiteral("Your Turn"));
        QVERIFY(!board->playerturn[1]->isHidden() && board->playerturn[2]->isHidden());
        QVERIFY(board->lstrules->findItems(QStringLiteral("Same"), Qt::MatchExactly).size() == 1);

        // The user's move, with the mouse.
        QTest::mouseClick(board->Player1[0], Qt::LeftButton);
        QTest::mouseClick(board->Board[4], Qt::LeftButton);
        QVERIFY(l.sent(QStringLiteral("CV_PLACEAT 4 0")));
        l.feed({QStringLiteral("CV_BLUECARD 4 Cinderpup"), QStringLiteral("CV_POINTS 5 5"), QStringLiteral("CV_TURNOVER")});
        QCOMPARE(board->Colors(4), QStringLiteral("blue"));
        QCOMPARE(board->gamestatus->text(), QStringLiteral("Opponent's Turn"));
        QVERIFY(board->playerturn[1]->isHidden() && !board->playerturn[2]->isHidden());

        // The opponent's move: nothing is drawn before the turn message.
        l.clearSounds();
        l.feed({QStringLiteral("CV_PLACEDCARD 1 0 Sparkfin%20Eel"), QStringLiteral("CV_REDCARD 1 Sparkfin%20Eel"),
                QStringLiteral("CV_CARDFLIP 4 1 red"), QStringLiteral("CV_REDCARD 4 Cinderpup"), QStringLiteral("CV_SAME"),
                QStringLiteral("CV_PLUS"), QStringLiteral("CV_COMBO"), QStringLiteral("CV_PLUSELEMENT 1 1"),
                QStringLiteral("CV_POINTS 4 6")});
        QCOMPARE(board->Board[1]->Tag, QStringLiteral("empty"));
        QCOMPARE(board->player2_cards->text(), QStringLiteral("5"));
        QCOMPARE(l.sounds(), QList<int>());
        l.feed(QStringLiteral("CV_YOURTURN"));
        QCOMPARE(board->Board[1]->Tag, QStringLiteral("Sparkfin Eel"));
        QVERIFY(shows(board->Board[1], l.fixture, "red", "Sparkfin Eel"));
        QVERIFY(IsEmptyCard(board->Player2[0]));
        QCOMPARE(board->Colors(4), QStringLiteral("red"));
        QVERIFY(shows(board->Board[4], l.fixture, "red", "Cinderpup"));
        QCOMPARE(l.sounds(), (QList<int>{22, 2, 2, 2}));
        for (const char* word : {"SAME", "PLUS", "COMBO"})
            QVERIFY(text(board->chatin).contains(QStringLiteral("triggered a %1 event!").arg(QLatin1String(word))));
        QCOMPARE(board->element[1]->text(), QStringLiteral("+1"));
        QCOMPARE(board->player1_cards->text(), QStringLiteral("4"));
        QCOMPARE(board->player2_cards->text(), QStringLiteral("6"));
        QCOMPARE(board->gamestatus->text(), QStringLiteral("Your Turn"));
        QVERIFY(board->TimerTurn->isActive());

        // The end: the board closes and the game-over window opens for the winner's pick.
        l.feed(QStringLiteral("CV_CLOSE"));
        QVERIFY(!ifLoaded<frmplaying>());
        QVERIFY(!InGame);
        QVERIFY(l.fixture.services.clock->pauses.contains(1));
        l.clearSounds();
        l.feed(QStringLiteral("CV_DISPLAY 501 Win x 1 2 Sparkfin%20Eel Tidecall%20Nymph Gustling Rimehorn%20Elk Squall%20Harrier"));
        frmdisplaybox* box = ifLoaded<frmdisplaybox>();
        QVERIFY(box && box->isVisible());
        box->timeout->stop();
        QCOMPARE(box->lblTitle->text(), QStringLiteral("Game Over - You Win!"));
        QCOMPARE(l.sounds(), QList<int>{23});
        QTest::mouseClick(box->cardimage[0], Qt::LeftButton);
        QTest::mouseClick(box->cardimage[2], Qt::LeftButton);
        QVERIFY(l.sent(QStringLiteral("CV_TAKECARD 501 Sparkfin%20Eel Gustling   ")));
        l.feed({QStringLiteral("CV_CARDGAIN Sparkfin%20Eel Gustling"), QStringLiteral("CV_CARDLOST Nothing")});
        const QString lobby = text(form<frmchildchat>()->chatin);
        QVERIFY(lobby.contains(QStringLiteral("You gained 1 Sparkfin Eel")));
        QVERIFY(lobby.contains(QStringLiteral("You gained 1 Gustling")));
        QVERIFY(l.quiet());
    }

    void malformedLinesLeaveTheClientRunning() {
        GameLink l;
        l.feed({QStringLiteral("CV_PICKCARDS 0"), QStringLiteral("CV_STARTER 1")});
        frmplaying* board = ifLoaded<frmplaying>();
        QVERIFY(board);
        board->TimerTurn->stop();
        const QStringList bad{
            "CV_HAND 7 Cinderpup", "CV_HAND", "CV_HAND 2", "CV_HAND x Cinderpup", "CV_ELEMENT 9 fire", "CV_ELEMENT 99 fire",
            "CV_ELEMENT", "CV_ELEMENT 3 nosuchelement", "CV_OPENCARD", "CV_STARTER", "CV_STARTER 3", "CV_STARTER 99999999",
            "CV_PLACEDCARD 9 0 Gustling", "CV_PLACEDCARD 99 1 Gustling", "CV_PLACEDCARD 2 7 Gustling", "CV_PLACEDCARD",
            "CV_PLACEDCARD 2", "CV_PLACEDCARD 2 1", "CV_PLACEDCARD -1 0 Gustling", "CV_PLACEDCARD 1e9 0 Gustling",
            "CV_BLUECARD 9 Gustling", "CV_BLUECARD", "CV_REDCARD 3", "CV_CARDFLIP 99 1 red", "CV_CARDFLIP", "CV_POINTS",
            "CV_PLUSELEMENT 12 1", "CV_MINUSELEMENT", "CV_PLUSELEMENT 3 1e99", "CV_YOURTURN", "CV_NOSUCHTHING 1 2",
            "CV_DISPLAY", "CV_DISPLAY 1 Win x 1 99999 Gustling", "CV_DISPLAY x Win", "CV_CARDGAIN", "CV_CARDLOST",
            "CV_TURNOVER", "CV_CLOSE"};
        l.feed(bad);
        QVERIFY(l.con->lstPackets.empty());
        QVERIFY2(l.quiet(), qPrintable(l.fixture.services.dialogs->titles().join(u',')));
        QVERIFY(!ifLoaded<frmplaying>());
        // The client still plays the next game.
        l.feed({QStringLiteral("CV_PICKCARDS 0"), QStringLiteral("CV_HAND 0 Gustling"), QStringLiteral("CV_STARTER 1"),
                QStringLiteral("CV_PLACEDCARD 5 0 Cinderpup"), QStringLiteral("CV_TURNOVER")});
        board = ifLoaded<frmplaying>();
        QVERIFY(board);
        for (int i = 0; i < 9; ++i) QCOMPARE(board->Board[i]->Tag, i == 5 ? QStringLiteral("Cinderpup") : QStringLiteral("empty"));
        QCOMPARE(board->Player1[0]->Tag, QStringLiteral("Gustling"));
        QVERIFY(l.quiet());
    }

    // Lines put together at random from the family's keywords and fields that break them: the
    // client never reports an error or ends, and asks only for card pictures it lacks.
    void randomBrokenLinesLeaveTheClientRunning() {
        GameLink l;
        const QStringList keywords{"CV_STARTER", "CV_PICKCARDS", "CV_ELEMENT", "CV_YOURTURN", "CV_TURNOVER", "CV_CARDFLIP",
                                   "CV_POINTS", "CV_SAME", "CV_PLUS", "CV_MINUS", "CV_MULTIPLY", "CV_COMBO", "CV_PLUSELEMENT",
                                   "CV_MINUSELEMENT", "CV_PLACEDCARD", "CV_BLUECARD", "CV_REDCARD", "CV_OPENCARD", "CV_HAND",
                                   "CV_CLOSE", "CV_CARDGAIN", "CV_CARDLOST", "CV_DISPLAY", "CV_PLACEAT"};
        const QStringList fields{"", "0", "1", "2", "4", "5", "6", "8", "9", "-1", "-32769", "99999", "1e9", "0.5", "x",
                                 "Nothing", "Empty", "Gustling", "Brine%20Skitter", "%20", "..", "blue", "red", "fire",
                                 "Win", "Loss", "Draw", "Cinderpup.jpg"};
        QRandomGenerator random(7);
        for (int batch = 0; batch < 40; ++batch) {
            QStringList lines;
            for (int n = 0; n < 15; ++n) {
                QString line = keywords[random.bounded(int(keywords.size()))];
                for (int k = random.bounded(11); k > 0; --k) line += u' ' + fields[random.bounded(int(fields.size()))];
                lines << line;
            }
            l.feed(lines);
            if (frmplaying* board = ifLoaded<frmplaying>()) board->TimerTurn->stop();
            if (frmdisplaybox* box = ifLoaded<frmdisplaybox>()) box->timeout->stop();
            if (frmselectcards* picking = ifLoaded<frmselectcards>()) picking->Timer1->stop();
        }
        QVERIFY(l.con->lstPackets.empty());
        for (const BoxRecord& box : l.fixture.services.dialogs->boxes)
            QVERIFY2(box.text.startsWith(QStringLiteral("Missing file ")), qPrintable(box.title + u':' + box.text));
        QCOMPARE(l.fixture.services.lifecycle->ends, 0);
        QVERIFY(!l.server.lines.join(u'\n').contains(QStringLiteral("ERRORHANDLER")));
    }

    void pumpWaitsWhileThePlaybackPauses() {
        GameLink l;
        auto clock = std::make_shared<PumpingClock>();
        Services s = services();
        s.clock = clock;
        installServices(s);
        l.feed({QStringLiteral("CV_PICKCARDS 0"), QStringLiteral("CV_STARTER 2"), QStringLiteral("CV_POINTS 6 4"),
                QStringLiteral("CV_SAME")});
        frmplaying* board = ifLoaded<frmplaying>();
        QVERIFY(board);
        bool handledInside = true;
        clock->during = [&] {
            // Lines arrive and the packet timer ticks while the first step pauses.
            l.server.sendLines({QStringLiteral("CV_POINTS 3 7"), QStringLiteral("CV_TURNOVER")});
            QDeadlineTimer deadline(5000);
            while (l.con->lstPackets.size() < 3 && !deadline.hasExpired()) QTest::qWait(2);
            l.con->tmrPacket_Timer();
            handledInside = l.con->lstPackets.size() < 3;
        };
        l.feed(QStringLiteral("CV_YOURTURN"));
        QVERIFY(!handledInside);
        // The arrivals ran after the playback, in order, in the same tick: the second turn
        // message played the score that had waited.
        QVERIFY(l.con->lstPackets.empty());
        QCOMPARE(board->player1_cards->text(), QStringLiteral("3"));
        QCOMPARE(board->gamestatus->text(), QStringLiteral("Opponent's Turn"));
        QVERIFY(board->lststeps.isEmpty());
        QVERIFY(text(board->chatin).contains(QStringLiteral("SAME")));
        QVERIFY(l.quiet());
    }
};

QTEST_MAIN(tst_wholegame)
#include "tst_wholegame.moc"
