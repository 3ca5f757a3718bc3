// Step playback: the server's steps wait in the board's queue until the turn message, then
// draw placed cards, colours, flips, scores, elemental charges and rule events; the omni and
// two-against-two boards play their own steps with the same actions.
#include "GameLink.h"

#include "game/ModMiscFunctions.h"
#include "game/frmplaying.h"
#include "variants/frmomni.h"
#include "variants/frmteamomni.h"

#include <QMovie>
#include <QTextDocument>

namespace {
QPixmap deckPicture(const ClientFixture& f, const QString& colour, const QString& name) {
    return QPixmap(f.path(QStringLiteral("decks/") + colour + u'/' + name + QStringLiteral(".jpg")));
}

bool samePicture(const QPixmap& a, const QPixmap& b) {
    return !a.isNull() && !b.isNull() && a.toImage().convertToFormat(QImage::Format_RGB32) == b.toImage().convertToFormat(QImage::Format_RGB32);
}

// A game under way: the board shown, the hands dealt, the opponent to move.
frmplaying* gameUnderWay(GameLink& l) {
    l.feed({QStringLiteral("CV_PICKCARDS 0"), QStringLiteral("CV_HAND 0 Cinderpup"), QStringLiteral("CV_STARTER 2")});
    frmplaying* board = ifLoaded<frmplaying>();
    if (board) board->TimerTurn->stop();
    return board;
}

QString plain(const QTextEdit* box) { return box->document()->toPlainText(); }
}  // namespace

class tst_steps : public QObject {
    Q_OBJECT

private slots:
    void stepsWaitForTheTurnMessage() {
        GameLink l;
        frmplaying* board = gameUnderWay(l);
        QVERIFY(board);
        l.feed({QStringLiteral("CV_PLACEDCARD 4 1 Brine%20Skitter"), QStringLiteral("CV_REDCARD 4 Brine%20Skitter"),
                QStringLiteral("CV_POINTS 4 6")});
        QCOMPARE(board->Board[4]->Tag, QStringLiteral("empty"));
        QCOMPARE(board->player1_cards->text(), QStringLiteral("5"));
        QCOMPARE(board->lststeps.size(), 3);
        l.feed(QStringLiteral("CV_YOURTURN"));
        QCOMPARE(board->Board[4]->Tag, QStringLiteral("Brine Skitter"));
        QCOMPARE(board->Board[4]->ToolTipText(), QStringLiteral("Brine Skitter"));
        QVERIFY(samePicture(board->Board[4]->Picture(), deckPicture(l.fixture, "red", "Brine Skitter")));
        QVERIFY(IsEmptyCard(board->Player2[1]));
        QCOMPARE(board->Player2[1]->Tag, QStringLiteral("Brine Skitter"));
        QCOMPARE(board->Colors(4), QStringLiteral("red"));
        QCOMPARE(board->player1_cards->text(), QStringLiteral("4"));
        QCOMPARE(board->player2_cards->text(), QStringLiteral("6"));
        QVERIFY(board->lststeps.isEmpty());
        // One pause per step lets the board draw.
        QCOMPARE(l.fixture.services.clock->pauses, (QList<int>{0, 0, 0}));
        QCOMPARE(board->gamestatus->text(), QStringLiteral("Your Turn"));
        QVERIFY(board->TimerTurn->isActive());
        QVERIFY(l.quiet());
    }

    void placedCardTakesTheOpponentsColourSoACaptureFlipsIt() {
        for (const bool creator : {true, false}) {
            GameLink l(creator);
            frmplaying* board = gameUnderWay(l);
            const QString opponent = creator ? QStringLiteral("red") : QStringLiteral("blue");
            const QString own = creator ? QStringLiteral("blue") : QStringLiteral("red");
            board->lststeps << QStringLiteral("CV_PLACEDCARD 3 0 Gustling");
            PlayCVSteps(*board);
            QCOMPARE(board->Colors(3), opponent);
            PictureBox* slot = creator ? board->Player2[0] : board->Player1[0];
            QVERIFY(IsEmptyCard(slot));
            QVERIFY(samePicture(board->Board[3]->Picture(), deckPicture(l.fixture, opponent, "Gustling")));
            l.clearSounds();
            board->lststeps << QStringLiteral("CV_CARDFLIP 3 1 ") + opponent;
            PlayCVSteps(*board);
            QCOMPARE(l.sounds(), QList<int>());
            board->lststeps << QStringLiteral("CV_CARDFLIP 3 1 ") + own;
            PlayCVSteps(*board);
            QCOMPARE(l.sounds(), QList<int>{22});
        }
    }

    void flipPlaysTheSkinAnimationAndShowsTheCellAgain() {
        GameLink l;
        frmplaying* board = gameUnderWay(l);
        board->lststeps << QStringLiteral("CV_BLUECARD 7 Cinderpup") << QStringLiteral("CV_CARDFLIP 7 2 red");
        PlayCVSteps(*board);
        QCOMPARE(board->Colors(7), QStringLiteral("blue"));
        QVERIFY(board->Board[7]->isHidden());
        QVERIFY(board->element[7]->isHidden());
        QVERIFY(!board->flip[7]->isHidden());
        QVERIFY(board->flip[7]->movie());
        QVERIFY(board->flip[7]->movie()->fileName().endsWith(QStringLiteral("vflip.gif")));
        QTRY_VERIFY_WITH_TIMEOUT(!board->Board[7]->isHidden(), 5000);
        QVERIFY(board->flip[7]->isHidden());
        QVERIFY(!board->element[7]->isHidden());
        // The colour step that follows a capture records it; the flip itself does not.
        QCOMPARE(board->Colors(7), QStringLiteral("blue"));
        // A direction the skin has no animation for still ends the flip.
        board->lststeps << QStringLiteral("CV_CARDFLIP 8 9 red");
        board->Colors(8, QStringLiteral("blue"));
        PlayCVSteps(*board);
        QTRY_VERIFY(!board->Board[8]->isHidden());
        // No flip on a hidden board.
        board->hide();
        l.clearSounds();
        board->lststeps << QStringLiteral("CV_CARDFLIP 8 1 red");
        PlayCVSteps(*board);
        QCOMPARE(l.sounds(), QList<int>());
        QVERIFY(!board->Board[8]->isHidden());
    }

    void elementalChargesByTheirSign() {
        GameLink l;
        frmplaying* board = gameUnderWay(l);
        board->Board[1]->Tag = QStringLiteral("Cinderpup");
        board->lststeps << QStringLiteral("CV_PLUSELEMENT 1 -1");
        PlayCVSteps(*board);
        QCOMPARE(board->element[1]->text(), QStringLiteral("-1"));
        QVERIFY(plain(board->chatin).contains(QStringLiteral("<Event> Cinderpup has a negative elemental charge (-1) ")));
        board->lststeps << QStringLiteral("CV_MINUSELEMENT 1 2");
        PlayCVSteps(*board);
        QCOMPARE(board->element[1]->text(), QStringLiteral("+2"));
        QVERIFY(plain(board->chatin).contains(QStringLiteral("Cinderpup has a positive elemental charge (+1) ")));
        board->chatin->clear();
        board->lststeps << QStringLiteral("CV_PLUSELEMENT 1 0") << QStringLiteral("CV_PLUSELEMENT 2 0.5");
        PlayCVSteps(*board);
        QCOMPARE(board->element[1]->text(), QString());
        QCOMPARE(plain(board->chatin), QString());
    }

    void ruleEventsAndPlainSteps() {
        GameLink l;
        frmplaying* board = gameUnderWay(l);
        board->Board[2]->Tag = QStringLiteral("Gustling");
        board->Colors(2, QStringLiteral("red"));
        l.clearSounds();
        board->lststeps << QStringLiteral("CV_SAME") << QStringLiteral("CV_PLACEAT 5 1 ") << QStringLiteral("CV_PLUS")
                        << QStringLiteral("CV_MINUS") << QStringLiteral("CV_COMBO") << QStringLiteral("CV_MULTIPLY")
                        << QStringLiteral("CV_BLUECARD 2 Empty") << QStringLiteral("CV_POINTS x y") << QString();
        PlayCVSteps(*board);
        QCOMPARE(board->gamestatus->text(), QStringLiteral("MULTIPLY"));
        QCOMPARE(l.sounds(), QList<int>(5, 2));
        for (const char* word : {"SAME", "PLUS", "MINUS", "COMBO", "MULTIPLY"})
            QVERIFY(plain(board->chatin).contains(QStringLiteral("<Event> You/Your Opponent triggered a %1 event! ").arg(QLatin1String(word))));
        QCOMPARE(board->Board[2]->Tag, QStringLiteral("Gustling"));
        QCOMPARE(board->Colors(2), QStringLiteral("red"));
        QCOMPARE(board->Board[5]->Tag, QStringLiteral("empty"));
        QCOMPARE(board->player1_cards->text(), QStringLiteral("x"));
        QCOMPARE(board->player2_cards->text(), QStringLiteral("y"));
        QVERIFY(board->lststeps.isEmpty());
        PlayCVSteps(*board);
        QVERIFY(board->lststeps.isEmpty());
    }

    void linesAddedDuringPlaybackWaitForTheNextRun() {
        GameLink l;
        frmplaying* board = gameUnderWay(l);
        board->lststeps << QStringLiteral("CV_POINTS 5 5") << QStringLiteral("CV_SAME");
        // Arrives while the first step's pause lets events run.
        QTimer::singleShot(0, board, [board] { board->lststeps << QStringLiteral("CV_POINTS 3 7"); });
        PlayCVSteps(*board);
        QCOMPARE(board->player1_cards->text(), QStringLiteral("5"));
        QCOMPARE(board->lststeps, QStringList{QStringLiteral("CV_POINTS 3 7")});
        PlayCVSteps(*board);
        QCOMPARE(board->player1_cards->text(), QStringLiteral("3"));
        QVERIFY(board->lststeps.isEmpty());
    }

    void omniBoardPlaysItsSteps() {
        GameLink l;
        frmomni* omni = form<frmomni>();
        omni->show();
        omni->Player2->Picture(deckPicture(l.fixture, "red", "Gustling"));
        omni->lststeps << QStringLiteral("OCVPLACEDAT 12") << QStringLiteral("OCVPLACEDCARD 12 Brine%20Skitter")
                       << QStringLiteral("OCVBLUECARD 13 Cinderpup") << QStringLiteral("OCVCARDFLIP 12 1 blue")
                       << QStringLiteral("OCVPOINTS 3 2") << QStringLiteral("OCVPLACEDCARD 25 Gustling")
                       << QStringLiteral("OCVSAME") << QStringLiteral("OCVPLUS") << QStringLiteral("OCVCOMBO");
        PlayOCVSteps(*omni);
        QCOMPARE(omni->Board[12]->Tag, QStringLiteral("Brine Skitter"));
        QVERIFY(samePicture(omni->Board[12]->Picture(), deckPicture(l.fixture, "red", "Brine Skitter")));
        QVERIFY(IsEmptyCard(omni->Player2));
        QCOMPARE(omni->Colors(12), QStringLiteral("red"));
        QCOMPARE(omni->Colors(13), QStringLiteral("blue"));
        QVERIFY(omni->Board[12]->isHidden());  // the capture's flip is running
        QCOMPARE(omni->player1_cards->text(), QStringLiteral("3"));
        QCOMPARE(omni->gamestatus->text(), QStringLiteral("COMBO"));
        QCOMPARE(l.sounds(), (QList<int>{22, 2, 2, 2}));
        QVERIFY(omni->lststeps.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!omni->Board[12]->isHidden(), 5000);
        QVERIFY(l.quiet());
    }

    void teamBoardPlaysItsSteps() {
        GameLink l;
        frmteamomni* team = form<frmteamomni>();
        team->show();
        team->player->Picture(deckPicture(l.fixture, "blue", "Gustling"));
        team->lststeps << QStringLiteral("TEAM_OCVPLACEDAT 6") << QStringLiteral("TEAM_OCVPLACEDCARD 6 Brine%20Skitter red")
                       << QStringLiteral("TEAM_QUEUE Ann::f::001::002::000 Bo::m::002::001::003  Di::../x::003::001::001 0")
                       << QStringLiteral("TEAM_OCVPLACEDCARD 30 Gustling red") << QStringLiteral("TEAM_OCVSAME")
                       << QStringLiteral("TEAM_OCVPOINTS 6 4");
        team->picavatar[2]->setPixmap(deckPicture(l.fixture, "red", "Gustling"));
        PlayTeamOCVSteps(*team);
        QCOMPARE(team->Board[6]->Tag, QStringLiteral("Brine Skitter"));
        QCOMPARE(team->player->Tag, QStringLiteral("Brine Skitter"));
        QVERIFY(samePicture(team->Board[6]->Picture(), deckPicture(l.fixture, "red", "Brine Skitter")));
        QVERIFY(IsEmptyCard(team->player));
        QCOMPARE(team->Colors(6), QStringLiteral("red"));
        // Seats 1, 2 and 4 change; seat 3 keeps what it had; "000" and unsafe names clear a picture.
        QVERIFY(team->picavatar[0]->toolTip().contains(QStringLiteral("Ann")));
        QVERIFY(!team->picavatar[0]->pixmap().isNull());
        QVERIFY(!team->imgbody[0]->pixmap().isNull());
        QVERIFY(team->imghead[0]->pixmap().isNull());
        QVERIFY(!team->imghead[1]->pixmap().isNull());
        QVERIFY(!team->picavatar[2]->pixmap().isNull());
        QVERIFY(team->imghead[3]->pixmap().isNull());
        QVERIFY(!team->picavatar[3]->pixmap().isNull());
        QVERIFY(plain(team->chatin).contains(QStringLiteral("<Event> You/Your Opponent triggered a SAME event! ")));
        QCOMPARE(team->player2_cards->text(), QStringLiteral("4"));
        QVERIFY(team->lststeps.isEmpty());
        // The seats at once, as the handler applies a line flagged "1".
        StepTeamQueue(*team, QStringLiteral("TEAM_QUEUE Eve::m::000::003::003    1"));
        QVERIFY(team->imghead[0]->toolTip().contains(QStringLiteral("Eve")));
        QVERIFY(team->picavatar[0]->pixmap().isNull());
        QVERIFY(!team->imghead[0]->pixmap().isNull());
        QVERIFY(team->picavatar[1]->toolTip().contains(QStringLiteral("Bo")));
        QVERIFY(l.quiet());
    }
};

QTEST_MAIN(tst_steps)
#include "tst_steps.moc"
