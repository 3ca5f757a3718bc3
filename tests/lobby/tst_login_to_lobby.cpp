// The whole login road against the fake game server and web service, up to the running lobby:
// what the player finds there, and the first minutes of it (keep-alive, chat notices, exit).
#include "../net/LoginDriver.h"
#include "LobbyHelpers.h"

#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "net/frmstart.h"
#include "platform/Forms.h"
#include "platform/Ini.h"

#include <QtTest>

class tst_login_to_lobby : public QObject {
    Q_OBJECT

private slots:
    void loginLandsInTheLobby() {
        LoginDriver d;
        d.fx->services.clock->setWall(QDateTime(QDate(2026, 7, 1), QTime(20, 15, 0)).toMSecsSinceEpoch());
        QVERIFY(d.loginToLobby());
        QVERIFY(QTest::qWaitFor([] { return !ifLoaded<frmConnect>(); }, 5000));
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        QVERIFY(lobby && lobby->isVisible());
        QVERIFY(!ifLoaded<frmstart>());
        QCOMPARE(ConnectionState, int16_t(1));
        QVERIFY(d.server.waitForLine(QStringLiteral("TABLEQUERY 1")));
        // Figures and the rush gauge of "SHOWMAIN".
        QCOMPARE(lobby->lblgp->text(), QStringLiteral("1500"));
        QCOMPARE(lobby->lblExp->text(), QStringLiteral("12000"));
        QCOMPARE(lobby->lblLevel->text(), QStringLiteral("7"));
        QCOMPARE(lobby->lblCash->text(), QStringLiteral("$25"));
        QCOMPARE(lobby->lblap->text(), QStringLiteral("3"));
        QCOMPARE(lobby->lblWeekly->text(), QStringLiteral("50"));
        QCOMPARE(lobby->lblPlayer->text(), QStringLiteral("kira"));
        QCOMPARE(lobby->imgBar->width(), 93);
        // The players of the web service, one node each.
        QCOMPARE(playerEntries(), (QStringList{QStringLiteral("kira 12 <Wolves>"), QStringLiteral("Nyx 7")}));
        QCOMPARE(lobby->PlayersOnline(), int16_t(2));
        // The guild window under its caption.
        frmguildchat* guild = ifLoaded<frmguildchat>();
        QVERIFY(guild && guild->isVisible());
        QCOMPARE(guild->windowTitle(), QStringLiteral("[Night Owls] Chat Window"));
        // Welcome lines, message of the day and failed logins, with no skin complaint before them.
        QCOMPARE(linesOf(lobby->chatin),
                 (QStringList{QStringLiteral("You are currently logged into Corvadex"), QStringLiteral("There are 2 players on Corvadex"),
                              QString(), QStringLiteral("Message of the day: Welcome back"),
                              QStringLiteral("<Failed Logins>  You have had 2 attempts since your last successful login. 20:15:00")}));
        QCOMPARE(d.dialogs().boxes.size(), 0);
        QCOMPARE(lobby->windowTitle(), QStringLiteral("Corvadex [3.4.5.332]"));
        QVERIFY(lobby->chatout->isEnabled());
    }

    void awayStateComesBackFromTheSettings() {
        LoginDriver d;
        d.fx->write(QStringLiteral("config/kira.cvc"), "[Away]\r\nStatus=1\r\nReason=lunch\r\n");
        QVERIFY(d.loginToLobby());
        QVERIFY(QTest::qWaitFor([] { return !ifLoaded<frmConnect>(); }, 5000));
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        QVERIFY(lobby->mnuawayon->isChecked());
        QVERIFY(!lobby->mnuawayoff->isChecked());
        // The first keep-alive tick leaves the away state alone; coming back is the player's.
        lobby->tmrPing_Timer();
        QVERIFY(lobby->mnuawayon->isChecked());
        lobby->back_away();
        QVERIFY(d.server.waitForLine(QStringLiteral("AWAY 0")));
        QVERIFY(d.server.lines.contains(QStringLiteral("CHAT /me is back.")));
    }

    void firstMinutesInTheLobby() {
        LoginDriver d;
        QVERIFY(d.loginToLobby());
        QVERIFY(QTest::qWaitFor([] { return !ifLoaded<frmConnect>(); }, 5000));
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        frmCon* con = d.con();
        // Lines arrived since the connection opened: the first tick only counts them.
        lobby->tmrPing_Timer();
        QCOMPARE(ClientConfig().PacketCount(), QStringLiteral("0"));
        QTest::qWait(50);
        const qsizetype before = d.server.lines.count(QStringLiteral("PING"));
        lobby->tmrPing_Timer();
        QVERIFY(d.server.waitForLine(QStringLiteral("PING")));
        QCOMPARE(d.server.lines.count(QStringLiteral("PING")), before + 1);
        // File->Exit asks the server; its answer ends the client.
        lobby->mnuExit_Click();
        QVERIFY(d.server.waitForLine(QStringLiteral("QUIT 0 1")));
        d.server.send(QStringLiteral("QUITOKAY"));
        QVERIFY(QTest::qWaitFor([&] { return d.fx->services.lifecycle->ends > 0; }, 5000));
        QVERIFY(!con || !con->Winsock->connected());
    }
};

QTEST_MAIN(tst_login_to_lobby)
#include "tst_login_to_lobby.moc"
