// Notices, quitting and the lines about games after a login: server notices, level-ups,
// declines, killed and dropped games, the server sending the player away, in-game chat,
// stalemate requests and the small figure and sound lines.
#include "LoggedInClient.h"

#include "app/storedvars.h"
#include "game/frmplaying.h"
#include "game/frmselectcards.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "variants/frmcardwars.h"
#include "variants/frmchinchin.h"
#include "variants/frmmemory.h"
#include "variants/frmomni.h"
#include "variants/frmsphere.h"
#include "variants/frmteamomni.h"

#include <QtTest>

class tst_messages_game : public QObject {
    Q_OBJECT

private slots:
    void serverNoticesOnlyWhenLoggedIn() {
        LoggedInClient c;
        QVERIFY(c.ready);
        ConnectionState = 0;
        c.receive(QStringLiteral("NOTICE Restart%20soon"));
        QCOMPARE(c.newLines(), QStringList());
        QCOMPARE(c.sounds(), QStringList());
        ConnectionState = 1;
        c.receive(QStringLiteral("NOTICE Restart%20soon"));
        QCOMPARE(c.newRuns(), (QList<Run>{{QStringLiteral("You hear a mysterious voice from above, \"Restart soon \""), ChatColour::Yellow, false},
                                          {QStringLiteral("\n"), 0, false}}));
        QCOMPARE(c.sounds(), QStringList{QStringLiteral("pmchat.wav")});
    }

    void levelUp() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("LEVELUP 9 15000 20000"));
        QCOMPARE(c.lobby->lblLevel->text(), QStringLiteral("9"));
        QCOMPARE(c.lobby->lblExp->text(), QStringLiteral("15000"));
        QCOMPARE(c.lobby->lblNextLvl->text(), QStringLiteral("20000"));
        QCOMPARE(c.newRuns().first(), (Run{QStringLiteral("Congratulations! Welcome to level 9! "), ChatColour::Yellow, false}));
        QCOMPARE(c.sounds(), QStringList{QStringLiteral("level.wav")});
    }

    void declines_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<long>("colour");
        QTest::newRow("15") << "15" << "Because you are not a level 5 player, you cannot use the trade three, trade four, and trade all rules."
                            << 0x808080L;
        QTest::newRow("16") << "16" << "The user you tried to trade with or yourself cannot trade because you had a newdeck today."
                            << 0x0000FFL;
        QTest::newRow("17") << "17"
                            << "The user you permitted is not of proper experience to play with the rules you have selected or "
                               "because he had a newdeck"
                            << 0x0000FFL;
    }
    void declines() {
        QFETCH(QString, code);
        QFETCH(QString, text);
        QFETCH(long, colour);
        LoggedInClient c;
        QVERIFY(c.ready);
        form<frmchallengewaiting>()->show();
        InGame = true;
        c.receive(QStringLiteral("AUTODECLINE ") + code);
        QCOMPARE(c.newRuns().first().colour, colour);
        QCOMPARE(c.newLines(), QStringList{QStringLiteral("<Declined>  ") + text + QStringLiteral(" 20:15:00")});
        QVERIFY(!ifLoaded<frmchallengewaiting>());
        QVERIFY(!InGame);
    }

    void otherDeclineCodesDoNothing() {
        LoggedInClient c;
        QVERIFY(c.ready);
        form<frmchallengewaiting>()->show();
        InGame = true;
        c.receive({QStringLiteral("AUTODECLINE 12"), QStringLiteral("AUTODECLINE 10")});
        QCOMPARE(c.newLines(), QStringList());
        QVERIFY(ifLoaded<frmchallengewaiting>());
        QVERIFY(InGame);
    }

    void aKilledMatchClosesEveryGameAndRoom() {
        LoggedInClient c;
        QVERIFY(c.ready);
        form<frmchallengebox_single>()->show();
        form<frmchallengebox>()->show();
        form<frmchallengewaiting>()->show();
        form<frmplaying>()->show();
        form<frmselectcards>();
        form<frmomni>()->show();
        form<frmteamomni>()->show();
        form<frmcardwars>()->show();
        form<frmsphere>()->show();
        form<frmmemory>()->show();
        form<frmchinchin>()->show();
        c.lobby->hide();
        InGame = true;
        c.receive(QStringLiteral("KILLMATCH"));
        QVERIFY(!ifLoaded<frmchallengebox_single>());
        QVERIFY(!ifLoaded<frmchallengebox>());
        QVERIFY(!ifLoaded<frmchallengewaiting>());
        QVERIFY(!ifLoaded<frmplaying>());
        QVERIFY(!ifLoaded<frmselectcards>());
        QVERIFY(!ifLoaded<frmomni>());
        QVERIFY(!ifLoaded<frmteamomni>());
        QVERIFY(!ifLoaded<frmcardwars>());
        QVERIFY(!ifLoaded<frmsphere>());
        QVERIFY(!ifLoaded<frmmemory>());
        QVERIFY(!ifLoaded<frmchinchin>());
        QVERIFY(!InGame);
        QVERIFY(c.lobby->isVisible());
        const QList<Run> runs = c.newRuns();
        QCOMPARE(c.newLines(), QStringList{QStringLiteral(
                                   "<Kill>  Your match was killed by an administrator or the server. Your opponent could have gone "
                                   "offline, did not have enough cards, or the game was terminated for other reasons. If this was in "
                                   "error, please contact a GM about it. 20:15:00")});
        QCOMPARE(runs.first().colour, 0xFF8080L);
        // With nothing open it still tells and brings the lobby back.
        c.lobby->hide();
        c.receive(QStringLiteral("KILLMATCH"));
        QVERIFY(c.lobby->isVisible());
        QCOMPARE(c.newLines().size(), 1);
    }

    void aDroppedGame() {
        LoggedInClient c;
        QVERIFY(c.ready);
        form<frmplaying>()->show();
        form<frmselectcards>()->show();
        form<frmchallengebox_single>();
        c.lobby->hide();
        c.receive(QStringLiteral("DROPGAME"));
        QVERIFY(!ifLoaded<frmplaying>());
        QVERIFY(!ifLoaded<frmselectcards>());
        QVERIFY(ifLoaded<frmchallengebox_single>());
        QVERIFY(c.lobby->isVisible());
        QCOMPARE(c.newLines(), QStringList());
    }

    void theServerSendsThePlayerAway() {
        LoggedInClient c;
        QVERIFY(c.ready);
        QPointer<frmCon> con = c.con;
        c.receive(QStringLiteral("EXIT Server%20maintenance%20at 10"));
        QCOMPARE(c.dialogs().boxes.size(), 1);
        const BoxRecord box = c.dialogs().boxes.first();
        QCOMPARE(box.title, QStringLiteral("Update"));
        QCOMPARE(box.text, QStringLiteral("You were disconnected from the server.\r\n\r\nReason : Server maintenance at 10"));
        QCOMPARE(box.style, int(vb::Information));
        QCOMPARE(c.fx().services.lifecycle->ends, 1);
        QVERIFY(!ifLoaded<frmchildchat>());
    }

    void exitWithoutAReason() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("EXIT"));
        QCOMPARE(c.dialogs().boxes.size(), 1);
        QCOMPARE(c.dialogs().boxes.first().text, QStringLiteral("You were disconnected from the server.\r\n\r\nReason : "));
        QCOMPARE(c.fx().services.lifecycle->ends, 1);
    }

    void chatInTheGame() {
        LoggedInClient c;
        QVERIFY(c.ready);
        frmplaying* game = form<frmplaying>();
        c.receive(QStringLiteral("GAMECHAT Nyx hidden"));
        QCOMPARE(linesOf(game->chatin), QStringList());
        game->show();
        game->chatout->setText(QStringLiteral("typing"));
        game->chatout->setCursorPosition(0);
        c.receive(QStringLiteral("GAMECHAT Nyx good  luck %20 <b>x</b>"));
        QCOMPARE(linesOf(game->chatin), QStringList{QStringLiteral("Nyx says, \" good  luck %20 <b>x</b>\"  ")});
        QCOMPARE(runsOf(game->chatin).first().colour, ChatColour::White);
        QCOMPARE(game->chatout->cursorPosition(), 6);
        // Without a text, or without a sender, the line is empty.
        c.receive({QStringLiteral("GAMECHAT Nyx"), QStringLiteral("GAMECHAT")});
        QCOMPARE(linesOf(game->chatin).mid(1), (QStringList{QStringLiteral("Nyx says, \" \"  "), QStringLiteral(" says, \" \"  ")}));
        QCOMPARE(c.newLines(), QStringList());
    }

    void stalemateRequest() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive(QStringLiteral("GAMESTALEMATE"));
        QCOMPARE(c.newRuns().first().colour, ChatColour::Yellow);
        QCOMPARE(c.newLines(), QStringList{QStringLiteral(
                                   "<Stalemate>  Your opponent has requested a stalemate.  Click the stalemate button to terminate the "
                                   "game! 20:15:00")});
        QCOMPARE(c.sounds(), QStringList{QStringLiteral("stalemate.wav")});
    }

    void serverWordedNotices() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.receive({QStringLiteral("ADDBLOCK Gain Kira won%20the%20pot 65280"), QStringLiteral("CHATBLOCK Big%20News all%20tables%20open"),
                   QStringLiteral("ENDMATCH Mod Kira Ryo")});
        const QList<Run> runs = c.newRuns();
        QCOMPARE(c.newLines(), (QStringList{QStringLiteral("<Gain> Kira won the pot 20:15:00"),
                                            QStringLiteral("<Big News>  all tables open 20:15:00"),
                                            QStringLiteral("<Kill> Mod ended match between Kira and Ryo 20:15:00")}));
        QCOMPARE(runs.first().colour, ChatColour::Green);
        // Before login an administrator's end of a match is not told.
        ConnectionState = 0;
        c.receive(QStringLiteral("ENDMATCH Mod Kira Ryo"));
        QCOMPARE(c.newLines(), QStringList());
    }

    void goldAndSounds() {
        LoggedInClient c;
        QVERIFY(c.ready);
        QCOMPARE(c.lobby->lblgp->text(), QStringLiteral("1500"));
        c.receive(QStringLiteral("GPADD 100"));
        QCOMPARE(c.lobby->lblgp->text(), QStringLiteral("1600"));
        c.receive(QStringLiteral("GPADD -600"));
        QCOMPARE(c.lobby->Gold(), 1000);
        c.receive({QStringLiteral("SOUNDWAV 1"), QStringLiteral("SOUNDWAV 2"), QStringLiteral("PLAYBUYSOUND")});
        QCOMPARE(c.sounds(), (QStringList{QStringLiteral("coin.wav"), QStringLiteral("coin.wav")}));
        c.receive(QStringLiteral("GAMEOPPONENT <b>Nyx</b>"));
        QCOMPARE(c.con->versus->text(), QStringLiteral("<b>Nyx</b>"));
        QCOMPARE(c.con->versus->textFormat(), Qt::PlainText);
    }

    void quitAnswers() {
        LoggedInClient c;
        QVERIFY(c.ready);
        c.lobby->mnuExit_Click();
        QVERIFY(c.lobby->QuitEngaged());
        QVERIFY(c.server().waitForLine(QStringLiteral("QUIT 0 1")));
        c.receive(QStringLiteral("QUITNOTOKAY"));
        QVERIFY(!c.lobby->QuitEngaged());
        QCOMPARE(c.newLines(), QStringList{QStringLiteral("<Error>  You cannot quit while you are still playing a game.  Forcefully "
                                                          "ending the application may cause your account to be flagged. 20:15:00")});
        QCOMPARE(c.fx().services.lifecycle->ends, 0);
        c.receive(QStringLiteral("QUITOKAY"));
        QVERIFY(c.fx().services.lifecycle->ends > 0);
        QVERIFY(!ifLoaded<frmchildchat>());
    }
};

QTEST_MAIN(tst_messages_game)
#include "tst_messages_game.moc"
