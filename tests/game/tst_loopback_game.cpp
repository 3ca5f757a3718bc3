// The client against the loopback server tool (tools/loopback), started as its own process: a
// player creates a card-game table, a resident sits down, both get ready, the player picks five
// cards from the loopback's web service, plays the game out on the board, takes a card in the
// game-over window and sees the result line in the lobby. Then the lobby's answers: a private
// message answered by a resident, a dice roll, away, and the operator login with its pass key.
#include "ClientFixture.h"
#include "Loopback.h"
#include "Screenshots.h"

#include "app/HttpClient.h"
#include "app/clsClientConfig.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "game/frmdisplaybox.h"
#include "game/frmplaying.h"
#include "game/frmselectcards.h"
#include "lobby/frmMsgWind.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmmenu.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "game/clsCVRules.h"
#include "tables/frmchallengebox_single.h"

#include <QRegularExpression>
#include <QTableView>
#include <QTcpSocket>
#include <QtTest>

namespace {
// The strongest cards a player can pick in a trade game (no special cards there).
const QStringList kHand{"Magmaheart Colossus", "Glacier Warden", "Thunderclap Ram", "Dawnbell Acolyte", "Blightcap Shaman"};

void shoot(QWidget* w, const char* name) {
    if (w) save(w->grab().toImage(), name);
}

bool pick(frmselectcards* picking, const QString& name) {
    for (int row = 0; row < picking->gridModel->rowCount(); ++row) {
        if (picking->gridModel->index(row, 0).data().toString() != name) continue;
        const QRect at = picking->DataGrid->visualRect(picking->gridModel->index(row, 0));
        QTest::mouseClick(picking->DataGrid->viewport(), Qt::LeftButton, {}, at.center());
        picking->cmdPick_Click();
        return true;
    }
    return false;
}

// The user's move on the blue side: the first card left in hand onto the first free cell.
bool move(frmplaying* board) {
    for (int slot = 0; slot < 5; ++slot) {
        if (IsEmptyCard(board->Player1[slot])) continue;
        for (int cell = 0; cell < 9; ++cell) {
            if (board->Board[cell]->Tag != QLatin1String("empty")) continue;
            QTest::mouseClick(board->Player1[slot], Qt::LeftButton);
            QTest::mouseClick(board->Board[cell], Qt::LeftButton);
            return true;
        }
    }
    return false;
}

// The Stormwake deck of the client's card set, but for its special card.
const QStringList kStormwake{"Brine Skitter", "Frostmere Heron", "Gustling", "Sparkfin Eel", "Tidecall Nymph",
                             "Rimehorn Elk", "Squall Harrier", "Thunderclap Ram", "Glacier Warden"};

QString lobbyText() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    return lobby ? lobby->chatin->toPlainText() : QString();
}
}  // namespace

class tst_loopback_game : public QObject {
    Q_OBJECT
    Loopback loopback;
    QString passKey;

    bool printed(const QString& text, int ms = 5000) { return loopback.printed(text, ms); }
    bool login(const QString& nick) {
        return loginThroughWindows(nick).contains(85) && printed(QStringLiteral("-> TABLEQUERY 1"));
    }

private slots:
    void initTestCase() {
        // A seed under which the first-card, first-cell player below wins the first game.
        loopback.start({QStringLiteral("--seed"), QStringLiteral("1")});
        if (QTest::currentTestFailed()) return;
        passKey = QRegularExpression(QStringLiteral("operator pass key: (\\d{8})\n")).match(loopback.output).captured(1);
        loopback.exportAddresses();
        HttpClient::setTimeouts({500, 3000});
    }

    void cleanupTestCase() { loopback.stop(); }

    void wholeGameAgainstAResident() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(login(QStringLiteral("kira")));
        form<frmmenu>()->findChild<QAction*>(QStringLiteral("mnucvreg"))->trigger();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchallengebox_single>() && ifLoaded<frmchallengebox_single>()->isVisible(); }));
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        QVERIFY(QTest::qWaitFor([&] { return room->Player2->text() == QLatin1String("Bree"); }));
        room->cmdReady_Click();
        QVERIFY(QTest::qWaitFor([&] { return room->ready[2]->text() == QLatin1String("Yes"); }));
        shoot(room, "1-room");

        // Picking: the room gives way, the collection comes from the web service.
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmselectcards>() && ifLoaded<frmselectcards>()->isVisible(); }));
        QVERIFY(!ifLoaded<frmchallengebox_single>());
        QVERIFY(printed(QStringLiteral("<- GAMEOPPONENT Bree")));
        frmselectcards* picking = ifLoaded<frmselectcards>();
        QCOMPARE(picking->cmbDecks->count(), 1);
        picking->cmbDecks->setCurrentIndex(0);
        picking->cmbDecks_Click();
        QVERIFY(printed(QStringLiteral("[web] GetData call sps_CVCards('kira', 'Standard', 0, 10, 0): 30 cards")));
        for (const QString& name : kHand.mid(0, 4)) QVERIFY(pick(picking, name));
        shoot(picking, "2-picking");
        QVERIFY(pick(picking, kHand[4]));
        QVERIFY(printed(QStringLiteral("-> CV_MYCARD Magmaheart%20Colossus Glacier%20Warden Thunderclap%20Ram Dawnbell%20Acolyte "
                                       "Blightcap%20Shaman")));
        QVERIFY(!ifLoaded<frmselectcards>());

        // The board: open cards of the resident, who starts, and the turns until the board is full.
        QVERIFY(printed(QStringLiteral("<- CV_STARTER ")));
        frmplaying* board = ifLoaded<frmplaying>();
        QVERIFY(board && board->isVisible());
        QCOMPARE(board->windowTitle(), QStringLiteral("Corvada [Bree]"));
        int moves = 0;
        QPointer<frmplaying> watched = board;
        while (watched && moves < 5) {
            if (!QTest::qWaitFor([&] { return !watched || (watched->gamestatus->text() == QLatin1String("Your Turn") && !watched->PlayedCard()); },
                                 10000))
                break;
            if (!watched) break;
            QVERIFY(move(watched));
            ++moves;
            QVERIFY(printed(QStringLiteral("-> CV_PLACEAT ")));
            if (moves == 3) {
                QVERIFY(QTest::qWaitFor([&] { return watched->gamestatus->text() != QLatin1String("Analyzing Move"); }));
                shoot(watched, "3-board");
            }
        }
        QVERIFY(moves >= 4);
        // Every capture the server reported is on the board: nine cards, the points add up to ten.
        QVERIFY(printed(QStringLiteral("<- CV_CLOSE"), 10000));
        const QRegularExpression points(QStringLiteral("<- CV_POINTS (\\d+) (\\d+)\\n(?!.*CV_POINTS)"),
                                        QRegularExpression::DotMatchesEverythingOption);
        const auto last = points.match(loopback.output);
        QVERIFY(last.hasMatch());
        QCOMPARE(last.captured(1).toInt() + last.captured(2).toInt(), 10);
        QVERIFY(last.captured(1).toInt() > last.captured(2).toInt());

        // The game over: the winner takes one of the resident's cards.
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmdisplaybox>() && ifLoaded<frmdisplaybox>()->isVisible(); }));
        QVERIFY(!ifLoaded<frmplaying>());
        frmdisplaybox* over = ifLoaded<frmdisplaybox>();
        QCOMPARE(over->lblTitle->text(), QStringLiteral("Game Over - You Win!"));
        QCOMPARE(over->lblgamestatus->text(), QStringLiteral("Pick 1 cards."));
        shoot(over, "4-gameover");
        const QString taken = over->cardimage[2]->Tag;
        QVERIFY(!taken.isEmpty());
        QTest::mouseClick(over->cardimage[2], Qt::LeftButton);
        QVERIFY(printed(QStringLiteral("-> CV_TAKECARD 1001 ") + QString(taken).replace(u' ', QStringLiteral("%20")) + QStringLiteral("    ")));
        QVERIFY(QTest::qWaitFor([&] { return lobbyText().contains(QStringLiteral("You gained 1 ") + taken); }));

        // The result line in the lobby, and the table is gone.
        const QString result = QStringLiteral("<Corvada> kira(1) defeats Bree(3) Score: %1-%2").arg(last.captured(1), last.captured(2));
        QVERIFY2(lobbyText().contains(result), qPrintable(lobbyText()));
        shoot(ifLoaded<frmchildchat>(), "5-lobby");
        QVERIFY(printed(QStringLiteral("<- REMOVETABLE 3")));
        QVERIFY(!loopback.output.contains(QStringLiteral("does not serve \"CV_")));
        QCOMPARE(fx.services.lifecycle->ends, 0);
        for (const BoxRecord& box : fx.services.dialogs->boxes) QFAIL(qPrintable(box.title + u':' + box.text));
    }

    // Random Choice: the hands are dealt; the resident answers in-game chat; a surrender loses
    // the game, costs its gold, and the resident takes a card.
    void dealtGameChatAndSurrender() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(login(QStringLiteral("ryo")));
        form<frmmenu>()->findChild<QAction*>(QStringLiteral("mnucvreg"))->trigger();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchallengebox_single>() && ifLoaded<frmchallengebox_single>()->isVisible(); }));
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        QVERIFY(QTest::qWaitFor([&] { return room->Player2->text() == QLatin1String("Bree"); }));
        // Open hands, Random Choice, Trade Two, from the Stormwake deck.
        QStringList words(40, QStringLiteral("0"));
        words[0] = words[1] = words[28] = QStringLiteral("1");
        form<frmCon>()->SendToServer(QStringLiteral("CHANGERULE ") + words.join(u' ') + QStringLiteral("@@Corvada@@Stormwake"));
        QVERIFY(QTest::qWaitFor([&] { return room->TableRules()->Random() && room->TableRules()->TradeTwo(); }));
        room->cmdReady_Click();
        QVERIFY(printed(QStringLiteral("<- CV_PICKCARDS 0")));
        QVERIFY(printed(QStringLiteral("<- CV_STARTER ")));
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmplaying>() && ifLoaded<frmplaying>()->isVisible(); }));
        frmplaying* board = ifLoaded<frmplaying>();
        QVERIFY(!ifLoaded<frmselectcards>());
        // Both hands from the one deck, the resident's face up.
        QVERIFY(QTest::qWaitFor([&] { return !board->Player1[4]->Tag.isEmpty() && board->Player1[4]->Tag != QLatin1String("Empty"); }));
        for (int i = 0; i < 5; ++i) QVERIFY2(kStormwake.contains(board->Player1[i]->Tag), qPrintable(board->Player1[i]->Tag));
        QVERIFY(printed(QStringLiteral("<- CV_OPENCARD ")));
        QVERIFY(board->lstrules->findItems(QStringLiteral("Random Choice"), Qt::MatchExactly).size() == 1);

        board->chatout->setText(QStringLiteral("good luck"));
        QTest::keyClick(board->chatout, Qt::Key_Return);
        QVERIFY(printed(QStringLiteral("-> GAMECHAT Bree~@*~*good luck")));
        QVERIFY(QTest::qWaitFor([&] { return board->chatin->toPlainText().contains(QStringLiteral("Bree says, \" Good luck to you too!\"")); }));

        fx.services.dialogs->answer(vb::Yes);
        board->mnuSurrender_Click();
        QVERIFY(printed(QStringLiteral("-> CV_SURRENDER")));
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmdisplaybox>() && ifLoaded<frmdisplaybox>()->isVisible(); }));
        frmdisplaybox* over = ifLoaded<frmdisplaybox>();
        QCOMPARE(over->lblTitle->text(), QStringLiteral("Game Over - You Lose!"));
        QCOMPARE(over->lblgamestatus->text(), QStringLiteral("Opponent is choosing card(s)"));
        QVERIFY(printed(QStringLiteral("<- GPADD -100")));
        QVERIFY(QTest::qWaitFor([] { return lobbyText().count(QStringLiteral("You lost 1 ")) == 2; }, 8000));
        QVERIFY(lobbyText().contains(QStringLiteral("<Corvada> Bree(3) defeats ryo(1) Score: ")));
        QCOMPARE(ifLoaded<frmchildchat>()->lblgp->text(), QStringLiteral("1400"));
        QTest::mouseClick(over->imgOkay, Qt::LeftButton);
        over->imgOkay_Click();
        QVERIFY(!ifLoaded<frmdisplaybox>());
        QVERIFY(printed(QStringLiteral("<- REMOVETABLE 3")));
    }

    // At a resident's table (the player sits on the red side): the requests and time-outs of a
    // game get their answers.
    void requestsAtAResidentsTable_data() {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("lobby");
        QTest::newRow("picking time-out") << "CV_TIMEOUT" << "<- DROPGAME"
                                          << "Nyx The cards were not picked in time; the game is called off.";
        QTest::newRow("end game request") << "CV_ENDGAME" << "<- DROPGAME" << "Nyx agreed to end the game.";
        QTest::newRow("stalemate") << "CV_STALEMATE" << "<- CV_DISPLAY 100" << "Game Over - You Tie!";
    }
    void requestsAtAResidentsTable() {
        QFETCH(QString, request);
        QFETCH(QString, answer);
        QFETCH(QString, lobby);
        ClientFixture fx(ClientFixture::All);
        QVERIFY(login(QStringLiteral("ivo")));
        frmchildchat* hall = ifLoaded<frmchildchat>();
        QVERIFY(QTest::qWaitFor([&] { return !hall->lsttables->findItems(QStringLiteral("Table 1 "), Qt::MatchStartsWith).isEmpty(); }));
        QCOMPARE(hall->lsttables->findItems(QStringLiteral("Table 1 "), Qt::MatchStartsWith).first()->text(),
                 QStringLiteral("Table 1  Nyx          vs. {JOIN}       Fast games"));
        hall->lsttables->setCurrentItem(hall->lsttables->findItems(QStringLiteral("Table 1 "), Qt::MatchStartsWith).first());
        fx.services.dialogs->answer(vb::Yes);
        hall->cmdJoin_Click();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchallengebox_single>() && ifLoaded<frmchallengebox_single>()->isVisible(); }));
        ifLoaded<frmchallengebox_single>()->cmdReady_Click();
        QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmselectcards>() && ifLoaded<frmselectcards>()->isVisible(); }));
        frmselectcards* picking = ifLoaded<frmselectcards>();
        if (request == QLatin1String("CV_TIMEOUT")) {
            for (int tick = 0; tick < 180 && ifLoaded<frmselectcards>(); ++tick) picking->Timer1_Timer();
            QVERIFY(printed(QStringLiteral("-> CV_TIMEOUT")));
        } else {
            picking->cmbDecks->setCurrentIndex(0);
            picking->cmbDecks_Click();
            for (const QString& name : kStormwake.mid(0, 5)) QVERIFY(pick(picking, name));
            QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmplaying>() && ifLoaded<frmplaying>()->isVisible(); }));
            // The red side: the resident's open hand stands on the left.
            QVERIFY(QTest::qWaitFor([] { return !IsEmptyCard(ifLoaded<frmplaying>()->Player1[0]); }));
            fx.services.dialogs->answer(vb::Yes);
            if (request == QLatin1String("CV_ENDGAME"))
                ifLoaded<frmplaying>()->mnuEndGameRequest_Click();
            else
                ifLoaded<frmplaying>()->mnuStalemate_Click();
            QVERIFY(printed(QStringLiteral("-> ") + request));
        }
        QVERIFY(printed(answer));
        if (request == QLatin1String("CV_STALEMATE"))
            QVERIFY(QTest::qWaitFor([&] { return ifLoaded<frmdisplaybox>() && ifLoaded<frmdisplaybox>()->lblTitle->text() == lobby; }));
        else
            QVERIFY2(QTest::qWaitFor([&] { return lobbyText().contains(lobby); }), qPrintable(lobbyText()));
        QVERIFY(!ifLoaded<frmselectcards>() && !ifLoaded<frmplaying>());
        // The seat comes free again (shown empty: a player has sat there).
        QVERIFY(QTest::qWaitFor([&] {
            const auto rows = hall->lsttables->findItems(QStringLiteral("Table 1 "), Qt::MatchStartsWith);
            return !rows.isEmpty() && rows.first()->text() == QLatin1String("Table 1  Nyx          vs.              Fast games");
        }));
        QVERIFY(!loopback.output.contains(QStringLiteral("<- MATCH Nyx")) && !loopback.output.contains(QStringLiteral("<- MATCH ivo")));
    }

    // What the lobby sends and what the loopback answers.
    void lobbyAnswers_data() {
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("answer");
        QTest::newRow("pm to a resident") << "PM Nyx hello%20there"
                                          << "<- INPM Nyx sam Hello!%20I%20am%20Nyx.%20Make%20a%20Corvada%20table%20and%20I%20will%20sit%20"
                                             "down%20to%20play.";
        QTest::newRow("pm question") << "PM Orrin what%20now?" << "<- INPM Orrin sam Good%20question!";
        QTest::newRow("dice") << "RANDOM 5 5" << "<- CHAT sam /random%20rolls%205%20(5%20to%205)";
        QTest::newRow("wrong pass key") << "ADMINLOGIN 12345678" << "<- ADMINPASSERROR";
        QTest::newRow("table info") << "TABLEINFO 2" << "<- TABLEINFO 2 Orrin Bree 1 0 0";
    }
    void lobbyAnswers() {
        QFETCH(QString, sent);
        QFETCH(QString, answer);
        ClientFixture fx(ClientFixture::Skin);
        QVERIFY(login(QStringLiteral("sam")));
        loopback.output.clear();
        form<frmCon>()->SendToServer(sent);
        QVERIFY2(printed(answer), qPrintable(loopback.output));
    }

    void residentAnswersAPrivateMessageWindow() {
        ClientFixture fx(ClientFixture::Skin);
        QVERIFY(login(QStringLiteral("lee")));
        const int slot = NewMsgWindow();
        frmMsgWind* w = MsgWindows[slot];
        w->Tag = QStringLiteral("Bree");
        w->player(QStringLiteral("Bree"));
        w->chatout->setText(QStringLiteral("hi Bree"));
        QTest::keyClick(w->chatout, Qt::Key_Return);
        QVERIFY(printed(QStringLiteral("-> PM Bree hi%20Bree")));
        QVERIFY(QTest::qWaitFor([&] { return w->chatin->toPlainText().contains(QStringLiteral("Bree Says: ")); }));
        QVERIFY(w->chatin->toPlainText().contains(QStringLiteral("Hello! I am Bree.")));
    }

    void passKeyPrintedAtTheStartGrantsOperatorLevel() {
        ClientFixture fx(ClientFixture::Skin);
        QCOMPARE(passKey.size(), 8);
        QVERIFY(login(QStringLiteral("mod")));
        form<frmCon>()->SendToServer(QStringLiteral("ADMINLOGIN ") + passKey);
        QVERIFY(printed(QStringLiteral("-> ADMINLOGIN ********")));
        QVERIFY(printed(QStringLiteral("<- ADMINSTATUS 4")));
        QVERIFY(!loopback.output.contains(QStringLiteral("-> ADMINLOGIN ") + passKey));
    }

    void awayIsToldToTheOthers() {
        ClientFixture fx(ClientFixture::Skin);
        // A second player on line, by hand.
        QTcpSocket other;
        other.connectToHost(QHostAddress::LocalHost, loopback.gamePort);
        QVERIFY(other.waitForConnected(3000));
        other.write("LOADGAME watcher pw\r");
        QByteArray seen;
        QObject::connect(&other, &QTcpSocket::readyRead, &other, [&] { seen += other.readAll(); });
        QVERIFY(QTest::qWaitFor([&] { return seen.contains("QUERYPLAYERS"); }));
        QVERIFY(login(QStringLiteral("ann")));
        form<frmCon>()->SendToServer(QStringLiteral("AWAY 1"));
        QVERIFY(QTest::qWaitFor([&] { return seen.contains("CHATBLOCK Away ann%20is%20away.\r"); }));
        // Told once; coming back is told too.
        form<frmCon>()->SendToServer(QStringLiteral("AWAY 1"));
        form<frmCon>()->SendToServer(QStringLiteral("AWAY 0"));
        QVERIFY(QTest::qWaitFor([&] { return seen.contains("CHATBLOCK Back ann%20is%20back.\r"); }));
        QCOMPARE(seen.count("CHATBLOCK Away ann"), 1);
        QVERIFY(!lobbyText().contains(QStringLiteral("ann is away.")));
    }
};

QTEST_MAIN(tst_loopback_game)
#include "tst_loopback_game.moc"
