// The board window on its own: picking and placing with the mouse, the hover frame, the turn
// countdown and its automatic move, the end-of-game requests, the in-game chat and notices.
#include "GameLink.h"

#include "game/ModMiscFunctions.h"
#include "game/frmplaying.h"

#include <QTextDocument>

namespace {
const QStringList kHand{"Cinderpup", "Emberlark", "Gustling", "Brine%20Skitter", "Kilnwarden"};

// A dealt game in which the blue user (the creator) moves first.
frmplaying* dealtGame(GameLink& l, int emptySlots = 0) {
    QStringList lines{QStringLiteral("CV_PICKCARDS 0")};
    for (int i = emptySlots; i < kHand.size(); ++i) lines << QStringLiteral("CV_HAND %1 %2").arg(i).arg(kHand[i]);
    lines << QStringLiteral("CV_STARTER 1");
    l.feed(lines);
    frmplaying* board = ifLoaded<frmplaying>();
    if (board) board->TimerTurn->stop();  // the test ticks it by hand
    return board;
}

QString plain(const QTextEdit* box) { return box->document()->toPlainText(); }
}  // namespace

class tst_board : public QObject {
    Q_OBJECT

private slots:
    void pickAndPlaceWithTheMouse() {
        GameLink l;
        frmplaying* board = dealtGame(l);
        QVERIFY(board && board->isVisible());
        QCOMPARE(board->playerid(), int16_t(1));
        QVERIFY(!board->playerturn[1]->isHidden());
        QCOMPARE(board->gamestatus->text(), QStringLiteral("Your Turn"));
        const QPoint home = board->Player1[1]->pos();
        const qint64 card = board->Player1[1]->Picture().cacheKey();

        QTest::mouseClick(board->Player1[1], Qt::LeftButton);
        QCOMPARE(board->SelectedID(), int16_t(1));
        QCOMPARE(board->Player1[1]->pos(), home + QPoint(twips(25), 0));
        QVERIFY(board->Player1[1]->highlighted());
        // The hover frame follows the pointer over free cells while a card is picked.
        QTest::mouseMove(board->Board[2]);
        QTRY_VERIFY(board->shapecover->isVisible());
        QCOMPARE(board->shapecover->pos(), board->Board[2]->pos() - QPoint(3, 3));
        board->Form_MouseMove();
        QVERIFY(!board->shapecover->isVisible());

        QTest::mouseClick(board->Board[2], Qt::LeftButton);
        QVERIFY(l.sent(QStringLiteral("CV_PLACEAT 2 1")));
        QCOMPARE(board->Board[2]->Tag, QStringLiteral("Emberlark"));
        QCOMPARE(board->Board[2]->ToolTipText(), QStringLiteral("Emberlark"));
        QCOMPARE(board->Board[2]->Picture().cacheKey(), card);
        QCOMPARE(board->Player1[1]->Tag, QStringLiteral("Empty"));
        QVERIFY(IsEmptyCard(board->Player1[1]));
        QCOMPARE(board->Player1[1]->pos(), home);
        QVERIFY(board->playerturn[1]->isHidden());
        QCOMPARE(board->lststeps, QStringList{QStringLiteral("CV_PLACEAT 2 1 ")});
        QVERIFY(board->PlayedCard());
        QCOMPARE(board->OrderSequence(), int16_t(1));
        QCOMPARE(board->SelectedID(), int16_t(-1));
        QVERIFY(!board->TimerTurn->isActive());
        QCOMPARE(board->gamestatus->text(), QString());
        QVERIFY(l.quiet());
    }

    void elementOnTheFirstCellSurvivesTheStart() {
        GameLink l;
        l.feed({QStringLiteral("CV_PICKCARDS 0"), QStringLiteral("CV_ELEMENT 0 water"), QStringLiteral("CV_STARTER 2")});
        frmplaying* board = ifLoaded<frmplaying>();
        QVERIFY(board);
        QCOMPARE(board->ElementCard(0), QStringLiteral("water"));
        QVERIFY(board->Board[0]->Picture().toImage() == QImage(l.fixture.path(QStringLiteral("skins/default/element/water.gif"))));
        QVERIFY(board->Board[0]->Tag == QStringLiteral("empty"));
        // The blue user waits for the red side: no countdown, the red marker shown.
        QVERIFY(!board->TimerTurn->isActive());
        QVERIFY(board->playerturn[1]->isHidden() && !board->playerturn[2]->isHidden());
        QCOMPARE(board->gamestatus->text(), QString());
    }

    void redUserWhoStartsSeesTheCountdown() {
        GameLink l(false);
        l.feed({QStringLiteral("CV_PICKCARDS 0"), QStringLiteral("CV_HAND 3 Gustling"), QStringLiteral("CV_STARTER 2")});
        frmplaying* board = ifLoaded<frmplaying>();
        QVERIFY(board && board->isVisible());
        QCOMPARE(board->playerid(), int16_t(2));
        QVERIFY(board->TimerTurn->isActive());
        QVERIFY(!board->playerturn[2]->isHidden() && board->playerturn[1]->isHidden());
        QCOMPARE(board->Player2[3]->Tag, QStringLiteral("Gustling"));
        // The red hand opens toward the board, to the left.
        const QPoint home = board->Player2[3]->pos();
        board->Player2_Click(3);
        QCOMPARE(board->Player2[3]->pos(), home - QPoint(twips(25), 0));
        board->Board_Click(0);
        QVERIFY(l.sent(QStringLiteral("CV_PLACEAT 0 3")));
        QCOMPARE(board->Player2[3]->pos(), home);
    }

    void clicksThatDoNothing() {
        GameLink l;
        frmplaying* board = dealtGame(l, 1);
        // Nothing picked: a free cell takes nothing.
        board->Board_Click(4);
        // The empty slot and the opponent's hand cannot be picked.
        board->Player1_Click(0);
        board->Player2_Click(2);
        QCOMPARE(board->SelectedID(), int16_t(-1));
        // Picking another card moves the first one back.
        const QPoint second = board->Player1[2]->pos();
        board->Player1_Click(1);
        board->Player1_Click(2);
        QCOMPARE(board->SelectedID(), int16_t(2));
        QCOMPARE(board->Player1[2]->pos(), second + QPoint(twips(25), 0));
        QVERIFY(!board->Player1[1]->highlighted());
        board->Player1_Click(2);
        QCOMPARE(board->SelectedID(), int16_t(2));
        // An occupied cell and a second move in the same turn are refused.
        board->Board[6]->Tag = QStringLiteral("Gustling");
        board->Board_Click(6);
        board->element_Click(7);
        QVERIFY(l.sent(QStringLiteral("CV_PLACEAT 7 2")));
        board->Player1_Click(3);
        board->Board_Click(8);
        QCOMPARE(l.sentAfterAWhile(), QStringList{QStringLiteral("CV_PLACEAT 7 2")});
        // Not the user's turn: no pick.
        board->PlayedCard(false);
        board->playerturn[1]->setVisible(false);
        board->SelectedID(-1);
        board->Player1_Click(4);
        QCOMPARE(board->SelectedID(), int16_t(-1));
    }

    void orderRuleAllowsOnlyTheNextCard() {
        GameLink l;
        frmplaying* board = dealtGame(l);
        board->oCV()->Order(true);
        board->Player1_Click(1);
        QCOMPARE(board->SelectedID(), int16_t(-1));
        board->Player1_Click(0);
        QCOMPARE(board->SelectedID(), int16_t(0));
        board->Board_Click(0);
        QCOMPARE(board->OrderSequence(), int16_t(1));
    }

    void countdownTicksTheLastSecondsThenMovesAlone() {
        GameLink l;
        frmplaying* board = dealtGame(l);
        board->Start_timer();
        board->TimerTurn->stop();
        board->Player1_Click(3);
        l.clearSounds();
        QStringList shown;
        for (int i = 0; i < 90; ++i) {
            board->TimerTurn_Timer();
            shown << board->timeleft->text();
        }
        QCOMPARE(shown.first(), QStringLiteral("89"));
        QCOMPARE(shown[74], QStringLiteral("15"));
        QCOMPARE(shown[88], QStringLiteral("1"));
        QCOMPARE(shown.last(), QStringLiteral("Times Up!"));
        QCOMPARE(l.sounds(), QList<int>(14, 48) << 49);
        QVERIFY(!board->TimerTurn->isActive());
        // The lowest card in hand goes to the first free cell; the pick goes back into the hand.
        QVERIFY(l.sent(QStringLiteral("CV_PLACEAT 0 0")));
        QCOMPARE(board->Board[0]->Tag, QStringLiteral("Cinderpup"));
        QVERIFY(IsEmptyCard(board->Player1[0]));
        QCOMPARE(board->SelectedID(), int16_t(-1));
        QVERIFY(!board->Player1[3]->highlighted());
        QCOMPARE(board->OrderSequence(), int16_t(1));
        QVERIFY(board->PlayedCard());
        QVERIFY(l.quiet());
    }

    void automaticMoveFollowsTheOrderRule() {
        GameLink l;
        frmplaying* board = dealtGame(l);
        board->oCV()->Order(true);
        board->OrderSequence(2);
        board->Board[0]->Tag = QStringLiteral("Gustling");
        board->TimerValue(1);
        board->TimerTurn_Timer();
        QVERIFY(l.sent(QStringLiteral("CV_PLACEAT 1 2")));
        QCOMPARE(board->OrderSequence(), int16_t(3));
        // The next turn's time-out plays slot 3, the next in order.
        board->PlayedCard(false);
        board->TimerValue(1);
        board->TimerTurn_Timer();
        QVERIFY(l.sent(QStringLiteral("CV_PLACEAT 2 3")));
    }

    void timeOutWithoutAMove() {
        GameLink l;
        frmplaying* board = dealtGame(l, 5);
        board->TimerValue(1);
        board->TimerTurn_Timer();
        QCOMPARE(board->timeleft->text(), QStringLiteral("Times Up!"));
        board = dealtGame(l);
        for (PictureBox* cell : board->Board) cell->Tag = QStringLiteral("Gustling");
        board->TimerValue(1);
        board->TimerTurn_Timer();
        board->PlayedCard(true);
        for (PictureBox* cell : board->Board) cell->Tag = QStringLiteral("empty");
        board->TimerValue(1);
        board->TimerTurn_Timer();
        QCOMPARE(l.sentAfterAWhile(), QStringList());
        QVERIFY(!board->TimerTurn->isActive());
    }

    void endOfGameRequests() {
        GameLink l;
        frmplaying* board = dealtGame(l);
        auto& boxes = *l.fixture.services.dialogs;
        boxes.answer(vb::No);
        board->mnuEndGameRequest->trigger();
        QVERIFY(board->mnuEndGameRequest->isEnabled());
        QCOMPARE(l.sentAfterAWhile(), QStringList());
        boxes.answer(vb::Yes);
        board->mnuEndGameRequest_Click();
        QVERIFY(l.sent(QStringLiteral("CV_ENDGAME")));
        QVERIFY(!board->mnuEndGameRequest->isEnabled());
        QCOMPARE(l.sounds(), (QList<int>{3, 3}));
        board->mnuStalemate_Click();
        QVERIFY(l.sent(QStringLiteral("CV_STALEMATE")));
        QVERIFY(!board->mnuStalemate->isEnabled());
        board->Start_timer();
        board->mnuSurrender_Click();
        QVERIFY(l.sent(QStringLiteral("CV_SURRENDER")));
        QVERIFY(!board->TimerTurn->isActive());
        QCOMPARE(board->timeleft->text(), QString());
        QCOMPARE(boxes.titles(), (QStringList{"End Game Request", "End Game Request", "Game Stalemate",
                                              "Surrender (Game Termination)"}));
        QCOMPARE(boxes.boxes.first().style, vb::YesNo | vb::Question);
        QVERIFY(boxes.boxes.last().text.contains(QStringLiteral("cost 100GP!")));
    }

    void chatInput() {
        GameLink l;
        frmplaying* board = dealtGame(l);
        QTest::keyClicks(board->chatout, QStringLiteral("<b>good  game</b>"));
        QTest::keyClick(board->chatout, Qt::Key_Return);
        QVERIFY(l.sent(QStringLiteral("GAMECHAT Rival~@*~*<b>good game</b>")));
        QVERIFY(plain(board->chatin).contains(QStringLiteral(" You say, \" <b>good game</b> \" ")));
        QCOMPARE(board->chatout->text(), QString());
        // Blank input and input holding code 3 are never sent; Ctrl+A empties the log only.
        QTest::keyClicks(board->chatout, QStringLiteral("   "));
        QTest::keyClick(board->chatout, Qt::Key_Return);
        board->chatout->setText(QStringLiteral("a") + QChar(3) + QStringLiteral("b"));
        QTest::keyClick(board->chatout, Qt::Key_Return);
        QTest::keyClick(board->chatout, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(plain(board->chatin), QString());
        QCOMPARE(board->chatout->text(), QStringLiteral("a") + QChar(3) + QStringLiteral("b"));
        // Pasting into a started line types a blank instead.
        board->chatout->setText(QStringLiteral("x"));
        QTest::keyClick(board->chatout, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(board->chatout->text(), QStringLiteral("x "));
        QCOMPARE(l.sentAfterAWhile(), QStringList{QStringLiteral("GAMECHAT Rival~@*~*<b>good game</b>")});
    }

    void noticesInTheChatLog() {
        GameLink l;
        frmplaying* board = dealtGame(l);
        board->AddBlockTxt(QStringLiteral("Event"), QStringLiteral("<i>Cinderpup</i> wakes"));
        QCOMPARE(plain(board->chatin), QStringLiteral("<Event> <i>Cinderpup</i> wakes \n"));
        QTextCursor label(board->chatin->document());
        label.setPosition(2);
        QCOMPARE(label.charFormat().fontWeight(), int(QFont::Bold));
        QCOMPARE(label.charFormat().foreground().color(), QColor(Qt::white));
        ConnectionState = 0;
        board->AddBlockTxt(QStringLiteral("Event"), QStringLiteral("not shown"));
        QVERIFY(!plain(board->chatin).contains(QStringLiteral("not shown")));
        ConnectionState = 1;
        board->chatin->setPlainText(QString(15001, u'x'));
        board->AddBlockTxt(QStringLiteral("Event"), QStringLiteral("fresh"));
        QCOMPARE(plain(board->chatin), QStringLiteral("<Event> fresh \n"));
    }

    void flipEndShowsTheCellAgainAndUnloadStopsTheClock() {
        GameLink l;
        frmplaying* board = dealtGame(l);
        board->Board[5]->setVisible(false);
        board->element[5]->setVisible(false);
        board->flip[5]->setVisible(true);
        board->flip_Finished(5);
        QVERIFY(!board->Board[5]->isHidden() && !board->element[5]->isHidden() && board->flip[5]->isHidden());
        board->Start_timer();
        board->timeleft->setText(QStringLiteral("12"));
        QVERIFY(unload<frmplaying>());
        QVERIFY(!board->TimerTurn->isActive());
        QCOMPARE(board->timeleft->text(), QString());
        QVERIFY(!ifLoaded<frmplaying>());
    }
};

QTEST_MAIN(tst_board)
#include "tst_board.moc"
