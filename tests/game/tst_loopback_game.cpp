// The client against the loopback server tool (tools/loopback), started as its own process: a
// whole game against a resident from the room to the result line in the lobby; the requests and
// time-outs of a game; the lobby's answers (private messages, dice, the operator login, away).
#include "ClientFixture.h"
#include "EndSeen.h"
#include "Loopback.h"
#include "Screenshots.h"

#include "app/HttpClient.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "game/clsCVRules.h"
#include "game/frmdisplaybox.h"
#include "game/frmplaying.h"
#include "game/frmselectcards.h"
#include "lobby/frmMsgWind.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmmenu.h"
#include "net/frmCon.h"
#include "tables/frmchallengebox_single.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QtTest>

namespace {
template <class T>
T* shown() {
    return QTest::qWaitFor([] { return ifLoaded<T>() && ifLoaded<T>()->isVisible(); }) ? ifLoaded<T>() : nullptr;
}

QString lobbyText() { return ifLoaded<frmchildchat>() ? ifLoaded<frmchildchat>()->chatin->toPlainText() : QString(); }

void pick(frmselectcards* picking, const QStringList& names) {
    picking->cmbDecks->setCurrentIndex(0);
    picking->cmbDecks_Click();
    for (const QString& name : names)
        for (int row = 0; row < picking->gridModel->rowCount(); ++row)
            if (picking->gridModel->index(row, 0).data().toString() == name) {
                const QRect at = picking->DataGrid->visualRect(picking->gridModel->index(row, 0));
                QTest::mouseClick(picking->DataGrid->viewport(), Qt::LeftButton, {}, at.center());
                if (name == names.last()) save(picking->grab().toImage(), "2-picking");
                picking->cmdPick_Click();
                break;
            }
}

// The user's move on the blue side: the first card left in hand onto the first free cell.
void move(frmplaying* board) {
    for (int slot = 0; slot < 5; ++slot)
        for (int cell = 0; cell < 9 && !IsEmptyCard(board->Player1[slot]); ++cell)
            if (board->Board[cell]->Tag == QLatin1String("empty")) {
                QTest::mouseClick(board->Player1[slot], Qt::LeftButton);
                QTest::mouseClick(board->Board[cell], Qt::LeftButton);
                return;
            }
}
}  // namespace

class tst_loopback_game : public QObject {
    Q_OBJECT
    Loopback loopback;
    QString passKey;

    bool printed(const QString& text, int ms = 5000) { return loopback.printed(text, ms); }
    bool login(const QString& nick) { return loginThroughWindows(nick).contains(85) && printed(QStringLiteral("-> TABLEQUERY 1")); }
    // A table of the player's own, with a resident seated; both ready when asked.
    frmchallengebox_single* ownTable() {
        form<frmmenu>()->findChild<QAction*>(QStringLiteral("mnucvreg"))->trigger();
        frmchallengebox_single* room = shown<frmchallengebox_single>();
        return room && QTest::qWaitFor([&] { return room->Player2->text() == QLatin1String("Bree"); }) ? room : nullptr;
    }

private slots:
    void initTestCase() {
        // A seed under which the first-card, first-cell player below wins the first game.
        loopback.startForClients({QStringLiteral("--seed"), QStringLiteral("1")});
        passKey = QRegularExpression(QStringLiteral("operator pass key: (\\d{8})")).match(loopback.output).captured(1);
    }
    void cleanupTestCase() { loopback.stop(); }

    void wholeGameAgainstAResident() {
        ClientFixture fx(ClientFixture::All);
        QVERIFY(login(QStringLiteral("kira")));
        frmchallengebox_single* room = ownTable();
        QVERIFY(room);
        room->cmdReady_Click();
        QVERIFY(QTest::qWaitFor([&] { return room->ready[2]->text() == QLatin1String("Yes"); }));
        save(room->grab().toImage(), "1-room");

        // Picking from the collection the web service lends; the strongest cards of a trade game.
        frmselectcards* picking = shown<frmselectcards>();
        QVERIFY(picking && !ifLoaded<frmchallengebox_single>());
        pick(picking, {"Magmaheart Colossus", "Glacier Warden", "Thunderclap Ram", "Dawnbell Acolyte", "Blightcap Shaman"});
        QVERIFY(printed(QStringLiteral("[web] GetData call sps_CVCards('kira', 'Standard', 0, 10, 0): 30 cards")));
        QVERIFY(printed(QStringLiteral("-> CV_MYCARD Magmaheart%20Colossus Glacier%20Warden Thunderclap%20Ram Dawnbell%20Acolyte "
                                       "Blightcap%20Shaman")));

        // The turns until the board is full.
        QPointer<frmplaying> board = shown<frmplaying>();
        QVERIFY(board);
        QCOMPARE(board->windowTitle(), QStringLiteral("Corvada [Bree]"));
        int moves = 0;
        EndSeen<frmplaying> seen(shownScore<frmplaying>, "game_end");
        while (QTest::qWaitFor([&] { return !board || (board->gamestatus->text() == QLatin1String("Your Turn") && !board->PlayedCard()); },
                               10000) &&
               board) {
            move(board);
            if (++moves == 3) save(board->grab().toImage(), "3-board");
        }
        QVERIFY(moves >= 4);
        // Every capture the server reported adds up: the last points make ten, more for blue.
        const auto last = QRegularExpression(QStringLiteral("<- CV_POINTS (\\d+) (\\d+)\\n(?!.*CV_POINTS)"),
                                             QRegularExpression::DotMatchesEverythingOption)
                              .match(loopback.output);
        QCOMPARE(last.captured(1).toInt() + last.captured(2).toInt(), 10);
        QVERIFY(last.captured(1).toInt() > last.captured(2).toInt());
        // The last move's score stood on the board before it closed.
        QCOMPARE(seen.last(), last.captured(1) + u' ' + last.captured(2));

        // The game over: the winner takes one of the resident's cards; the result line in the lobby.
        frmdisplaybox* over = shown<frmdisplaybox>();
        QVERIFY(over && !ifLoaded<frmplaying>());
        QCOMPARE(over->lblTitle->text(), QStringLiteral("Game Over - You Win!"));
        QCOMPARE(over->lblgamestatus->text(), QStringLiteral("Pick 1 cards."));
        save(over->grab().toImage(), "4-gameover");
        const QString taken = over->cardimage[2]->Tag;
        QTest::mouseClick(over->cardimage[2], Qt::LeftButton);
        QVERIFY(printed(QStringLiteral("-> CV_TAKECARD 1001 ") + QString(taken).replace(u' ', QStringLiteral("%20")) + QStringLiteral("    ")));
        QVERIFY(QTest::qWaitFor([&] { return lobbyText().contains(QStringLiteral("You gained 1 ") + taken); }));
        QVERIFY(lobbyText().contains(QStringLiteral("<Corvada> kira(1) defeats Bree(3) Score: %1-%2").arg(last.captured(1), last.captured(2))));
        save(ifLoaded<frmchildchat>()->grab().toImage(), "5-lobby");
        QVERIFY(printed(QStringLiteral("<- REMOVETABLE 3")));
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
    }

    // The requests and time-outs of a game get their answers: at the player's own table under
    // Random Choice and Trade Two (hands dealt, open), or at a resident's (the red side).
    void requestsAndTimeOuts_data() {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("lobby");
        QTest::newRow("surrender, dealt hands") << "CV_SURRENDER" << "<- GPADD -100" << "<Corvada> Bree(3) defeats ryo(1) Score: 10-0";
        QTest::newRow("end game request") << "CV_ENDGAME" << "<- DROPGAME" << "Nyx agreed to end the game.";
        QTest::newRow("connection lost in the game") << "drop" << "<- KILLMATCH" << "Your match was killed by an administrator or the server.";
        QTest::newRow("picking time-out") << "CV_TIMEOUT" << "<- DROPGAME" << "Nyx The cards were not picked in time; the game is called off.";
    }
    void requestsAndTimeOuts() {
        QFETCH(QString, request);
        QFETCH(QString, answer);
        QFETCH(QString, lobby);
        ClientFixture fx(ClientFixture::All);
        QVERIFY(login(QStringLiteral("ryo")));
        frmchildchat* hall = ifLoaded<frmchildchat>();
        const bool dealt = request == QLatin1String("CV_SURRENDER");
        if (dealt) {
            QVERIFY(ownTable());
            QStringList words(40, QStringLiteral("0"));
            words[0] = words[1] = words[28] = QStringLiteral("1");
            form<frmCon>()->SendToServer(QStringLiteral("CHANGERULE ") + words.join(u' ') + QStringLiteral("@@Corvada@@Stormwake"));
            QVERIFY(QTest::qWaitFor([] { return ifLoaded<frmchallengebox_single>()->TableRules()->TradeTwo(); }));
        } else {
            QVERIFY(QTest::qWaitFor([&] { return hall->lsttables->count() > 0; }));
            hall->lsttables->setCurrentRow(0);
            fx.services.dialogs->answer(vb::Yes);
            hall->cmdJoin_Click();
            QVERIFY(shown<frmchallengebox_single>());
        }
        ifLoaded<frmchallengebox_single>()->cmdReady_Click();
        if (request == QLatin1String("CV_TIMEOUT")) {
            frmselectcards* picking = shown<frmselectcards>();
            QVERIFY(picking);
            for (int tick = 0; tick < 180 && ifLoaded<frmselectcards>(); ++tick) picking->Timer1_Timer();
        } else {
            if (!dealt) {
                frmselectcards* picking = shown<frmselectcards>();
                QVERIFY(picking);
                pick(picking, {"Gustling", "Sparkfin Eel", "Tidecall Nymph", "Rimehorn Elk", "Squall Harrier"});
            }
            frmplaying* board = shown<frmplaying>();
            QVERIFY(board && !ifLoaded<frmselectcards>());
            // The resident's hand stands open on its side: blue for a resident's table.
            QVERIFY(QTest::qWaitFor([&] { return !IsEmptyCard((dealt ? board->Player2 : board->Player1)[4]); }));
            if (dealt) {
                for (int i = 0; i < 5; ++i) QVERIFY(!board->Player1[i]->Tag.isEmpty() && board->Player1[i]->Tag != QLatin1String("Empty"));
                board->chatout->setText(QStringLiteral("good luck"));
                QTest::keyClick(board->chatout, Qt::Key_Return);
                QVERIFY(QTest::qWaitFor([&] { return board->chatin->toPlainText().contains(QStringLiteral("Bree says, \" Good luck to you too!")); }));
            }
            fx.services.dialogs->answer(vb::Yes);
            if (request == QLatin1String("drop"))
                loopback.process.write("drop\n");
            else
                dealt ? board->mnuSurrender_Click() : board->mnuEndGameRequest_Click();
        }
        QVERIFY(printed(request == QLatin1String("drop") ? QStringLiteral("-> RECONNECT ryo") : QStringLiteral("-> ") + request));
        QVERIFY(printed(answer));
        QVERIFY2(QTest::qWaitFor([&] { return lobbyText().contains(lobby); }), qPrintable(lobbyText()));
        QVERIFY(!ifLoaded<frmselectcards>() && !ifLoaded<frmplaying>());
        if (dealt) {
            // Trade Two: the resident takes two of the player's cards.
            QVERIFY(QTest::qWaitFor([] { return lobbyText().count(QStringLiteral("You lost 1 ")) == 2; }, 8000));
            QCOMPARE(ifLoaded<frmdisplaybox>()->lblTitle->text(), QStringLiteral("Game Over - You Lose!"));
            QCOMPARE(hall->lblgp->text(), QStringLiteral("1400"));
        } else {
            // The seat at the resident's table comes free again (shown empty: a player has sat there).
            QVERIFY(QTest::qWaitFor([&] { return hall->lsttables->item(0)->text() == QLatin1String("Table 1  Nyx          vs.              Fast games"); }));
        }
    }

    // What the lobby sends and what the loopback answers; a private message opens its window.
    void lobbyAnswers_data() {
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("answer");
        QTest::newRow("pm to a resident") << "PM Nyx hello%20there"
                                          << "<- INPM Nyx sam Hello!%20I%20am%20Nyx.%20Make%20a%20Corvada%20table%20and%20I%20will%20sit%20"
                                             "down%20to%20play.";
        QTest::newRow("pm question") << "PM Orrin what%20now?" << "<- INPM Orrin sam Good%20question!";
        QTest::newRow("dice") << "RANDOM 5 5" << "<- CHAT sam /random%20rolls%205%20(5%20to%205)";
        QTest::newRow("wrong pass key") << "ADMINLOGIN 87654321" << "<- ADMINPASSERROR";
        QTest::newRow("pass key printed at the start") << "ADMINLOGIN KEY" << "<- ADMINSTATUS 4";
        QTest::newRow("table info") << "TABLEINFO 2" << "<- TABLEINFO 2 Orrin Bree 1 0 0";
    }
    void lobbyAnswers() {
        QFETCH(QString, sent);
        QFETCH(QString, answer);
        ClientFixture fx(ClientFixture::Skin);
        QVERIFY(login(QStringLiteral("sam")));
        loopback.output.clear();
        form<frmCon>()->SendToServer(QString(sent).replace(QStringLiteral("KEY"), passKey));
        QVERIFY2(printed(answer), qPrintable(loopback.output));
        // The log never shows a pass key.
        QVERIFY(passKey.size() == 8 && !loopback.output.contains(passKey));
        if (sent.startsWith(QLatin1String("PM "))) {
            const QString from = sent.section(u' ', 1, 1);
            QVERIFY(QTest::qWaitFor([&] {
                for (frmMsgWind* w : MsgWindows)
                    if (w && w->Tag == from && w->chatin->toPlainText().contains(from + QStringLiteral(" Says: "))) return true;
                return false;
            }));
        }
    }

    // A resident answers what a person writes, once in a few seconds, and never the texts a client
    // sends by itself (an answer to those would be answered again, without end). Orrin's answer to
    // the last message comes after any answer of Nyx's to the ones before.
    void residentsAnswerPeople_data() {
        QTest::addColumn<QString>("nick");
        QTest::addColumn<bool>("away");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("answers");
        QTest::newRow("a person") << "pia" << false << QStringList{"hello"} << 1;
        QTest::newRow("twice at once") << "pat" << false << QStringList{"hello", "are you there?"} << 1;
        QTest::newRow("entered") << "pol" << false << QStringList{"You have been added to the tournament."} << 0;
        QTest::newRow("entered already") << "pam" << false << QStringList{"You are already in the tournament and cannot be added again."} << 0;
        QTest::newRow("not entered") << "pen" << false
                                     << QStringList{"You could not be added to the tournament.  Do you have enough gold or are you in a table/game?",
                                                    "You could not be added to the tournament.  An error occurred.  Let the tournament coordinator know."}
                                     << 0;
        QTest::newRow("tournament running") << "pip" << false
                                            << QStringList{"This administrator is running a tournament and cannot accept registrations."} << 0;
        QTest::newRow("operator busy") << "pod" << false
                                       << QStringList{"This administrator is not accepting private messages because he/she is busy.  Please try "
                                                      "addressing your question in main chat or send a ticket to our customer service center on "
                                                      "our website at http://127.0.0.1/support/"}
                                       << 0;
        QTest::newRow("away answer") << "pug" << true << QStringList{"I am away from my computer"} << 0;
    }
    void residentsAnswerPeople() {
        QFETCH(QString, nick);
        QFETCH(bool, away);
        QFETCH(QStringList, texts);
        QFETCH(int, answers);
        ClientFixture fx(ClientFixture::Skin);
        QVERIFY(login(nick));
        loopback.output.clear();
        frmCon* con = form<frmCon>();
        if (away) con->SendToServer(QStringLiteral("AWAY 1"));
        for (const QString& text : texts) con->SendToServer(QStringLiteral("PM Nyx ") + QString(text).replace(u' ', QStringLiteral("%20")));
        if (away) con->SendToServer(QStringLiteral("AWAY 0"));
        con->SendToServer(QStringLiteral("PM Orrin hello"));
        QVERIFY2(printed(QStringLiteral("<- INPM Orrin ") + nick + u' '), qPrintable(loopback.output));
        QCOMPARE(loopback.output.count(QStringLiteral("<- INPM Nyx ")), answers);
    }

    void awayIsToldToTheOthers() {
        ClientFixture fx(ClientFixture::Skin);
        QTcpSocket other;  // a second player on line, by hand
        QByteArray seen;
        QObject::connect(&other, &QTcpSocket::readyRead, &other, [&] { seen += other.readAll(); });
        other.connectToHost(QHostAddress::LocalHost, loopback.gamePort);
        QVERIFY(other.waitForConnected(3000));
        other.write("LOADGAME watcher pw\r");
        QVERIFY(login(QStringLiteral("ann")));
        for (const char* line : {"AWAY 1", "AWAY 1", "AWAY 0"}) form<frmCon>()->SendToServer(QString::fromLatin1(line));
        QVERIFY(QTest::qWaitFor([&] { return seen.contains("CHATBLOCK Back ann%20is%20back.\r"); }));
        QCOMPARE(seen.count("CHATBLOCK Away ann%20is%20away.\r"), 1);
    }
};

QTEST_MAIN(tst_loopback_game)
#include "tst_loopback_game.moc"
