// The lobby window against a fake server: keep-alive, idle and away mode, administrator login,
// joining a table, exit and the refused close, its members, keys and menu items, and its skin.
#include "ClientFixture.h"
#include "FakeWebService.h"
#include "LobbyHelpers.h"

#include "app/frmconfig.h"
#include "app/modSettings.h"
#include "app/storedvars.h"
#include "economy/frmAdvancement.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "lobby/frmmenu.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "tables/frmfavrules.h"

#include <QtTest>

namespace {
QString awayIni(const QString& key) { return ReadIni(QStringLiteral("Away"), key, GetIniFile()); }

QStringList soundsPlayed(ClientFixture& fx) {
    QStringList names;
    for (const QString& p : fx.services.sound->played) names << p.section(u'/', -1);
    return names;
}

// Loads the lobby with a skin file of our own: the default skin without the given keys.
void useSkinWithout(ClientFixture& fx, const QStringList& keys) {
    QString ini = QString::fromLatin1(fx.read(QStringLiteral("skins/default.ini")));
    QStringList kept;
    for (const QString& line : ini.split(u'\n')) {
        const QString key = line.section(u'=', 0, 0).trimmed();
        if (!keys.contains(key)) kept << line;
    }
    fx.write(QStringLiteral("skins/custom.ini"), kept.join(u'\n').toLatin1());
    SkinName = QStringLiteral("custom");
}

const QString kIconNotice = QStringLiteral("The application could not find the %1 icon, used the default instead. Run the patcher.");
}  // namespace

class tst_lobby : public QObject {
    Q_OBJECT

private slots:
    // ---- Keep-alive -------------------------------------------------------------------------

    void pingAfterASilentTickAndOnEveryFourthBusyTick() {
        LoggedIn c;
        c.lobby->tmrPing_Timer();
        QCOMPARE(c.sent(), QStringList{QStringLiteral("PING")});
        QCOMPARE(ClientConfig().PacketCount(), QStringLiteral("0"));
        // Right after a ping, silence pings again.
        c.lobby->tmrPing_Timer();
        QCOMPARE(c.sent(), QStringList{QStringLiteral("PING")});
        // Steady traffic: ticks 1 to 3 stay quiet, the 4th pings, and so on.
        QStringList pings;
        for (int tick = 1; tick <= 8; ++tick) {
            c.receive({QStringLiteral("SOUNDWAV 2")});
            QCOMPARE(ClientConfig().PacketCount(), QStringLiteral("1"));
            c.lobby->tmrPing_Timer();
            QCOMPARE(ClientConfig().PacketCount(), QStringLiteral("0"));
            pings << c.sent().join(u',');
        }
        QCOMPARE(pings, (QStringList{QString(), QString(), QString(), QStringLiteral("PING"), QString(), QString(), QString(),
                                     QStringLiteral("PING")}));
    }

    void pingTickKeepsTheGuildWindow() {
        LoggedIn c;
        GuildName = QStringLiteral("Night Owls");
        c.lobby->tmrPing_Timer();
        frmguildchat* guild = ifLoaded<frmguildchat>();
        QVERIFY(guild && guild->isVisible());
        QCOMPARE(guild->TitleBar(), QStringLiteral("[Night Owls] Guild Chat"));
        GuildName = QStringLiteral("Larks");
        c.lobby->tmrPing_Timer();
        QCOMPARE(ifLoaded<frmguildchat>(), guild);
        QCOMPARE(guild->TitleBar(), QStringLiteral("[Larks] Guild Chat"));
        GuildName.clear();
        c.lobby->tmrPing_Timer();
        QVERIFY(!ifLoaded<frmguildchat>());
    }

    // ---- Away mode --------------------------------------------------------------------------

    void awayFromTheMenu() {
        LoggedIn c;
        // Cancel, "2" and an empty answer do nothing.
        c.lobby->mnuawayon_Click();
        c.dialogs().type(QStringLiteral("2"));
        c.lobby->mnuawayon_Click();
        QCOMPARE(c.sent(), QStringList());
        QVERIFY(!c.lobby->mnuawayon->isChecked());
        QCOMPARE(c.dialogs().boxes.size(), 2);
        QCOMPARE(c.dialogs().boxes[0].title, QStringLiteral("Away"));
        QCOMPARE(c.dialogs().boxes[0].text, QStringLiteral("What is your reason for going away?"));
        // 201 characters are refused.
        c.dialogs().clear();
        c.dialogs().type(QString(201, u'r'));
        c.lobby->mnuawayon_Click();
        QCOMPARE(c.dialogs().titles(), (QStringList{QStringLiteral("Away"), QStringLiteral("Error")}));
        QCOMPARE(c.dialogs().boxes[1].text, QStringLiteral("Input must be less than 200 characters."));
        QCOMPARE(c.dialogs().boxes[1].style, int(vb::Information));
        QCOMPARE(c.sent(), QStringList());
        // 200 characters pass.
        const QString reason = QStringLiteral("gone fishing ") + QString(187, u'z');
        QCOMPARE(reason.size(), 200);
        c.dialogs().type(reason);
        c.lobby->mnuawayon_Click();
        QVERIFY(c.server.waitForLine(QStringLiteral("AWAY 1")));
        QCOMPARE(c.sent(), (QStringList{QStringLiteral("CHAT /me is away.  Reason: ") + reason, QStringLiteral("AWAY 1")}));
        QVERIFY(c.lobby->mnuawayon->isChecked());
        QVERIFY(!c.lobby->mnuawayoff->isChecked());
        QCOMPARE(awayIni(QStringLiteral("Status")), QStringLiteral("1"));
        QCOMPARE(awayIni(QStringLiteral("Reason")), QStringLiteral("gone%20fishing%20") + QString(187, u'z'));
        QCOMPARE(countLinesContaining(c.lobby->chatin, QStringLiteral("<Away>  You are now on away. Reason: gone fishing")), 1);
        QCOMPARE(soundsPlayed(*c.fx), QStringList{QStringLiteral("on.wav")});
        // Already away: the item asks nothing.
        c.dialogs().clear();
        c.lobby->mnuawayon_Click();
        QCOMPARE(c.dialogs().boxes.size(), 0);
    }

    void backAwaySendsBackAndAwayZero() {
        LoggedIn c;
        // Not away: only the idle count goes back.
        c.lobby->intIdle = 7;
        c.lobby->back_away();
        QCOMPARE(c.lobby->intIdle, int16_t(0));
        QCOMPARE(c.sent(), QStringList());
        c.dialogs().type(QStringLiteral("lunch"));
        c.lobby->mnuawayon_Click();
        QVERIFY(c.server.waitForLine(QStringLiteral("AWAY 1")));
        c.sent();
        c.lobby->intIdle = 4;
        c.lobby->back_away();
        QVERIFY(c.server.waitForLine(QStringLiteral("AWAY 0")));
        QCOMPARE(c.sent(), (QStringList{QStringLiteral("CHAT /me is back."), QStringLiteral("AWAY 0")}));
        QCOMPARE(c.lobby->intIdle, int16_t(0));
        QVERIFY(!c.lobby->mnuawayon->isChecked());
        QVERIFY(c.lobby->mnuawayoff->isChecked());
        QCOMPARE(awayIni(QStringLiteral("Status")), QStringLiteral("0"));
        QCOMPARE(awayIni(QStringLiteral("Reason")), QString());
        QCOMPARE(countLinesContaining(c.lobby->chatin, QStringLiteral("<Back>  You are now back from away mode")), 1);
        QCOMPARE(soundsPlayed(*c.fx), (QStringList{QStringLiteral("on.wav"), QStringLiteral("off.wav")}));
        // The Off item does the same without touching the idle count.
        c.dialogs().type(QStringLiteral("tea"));
        c.lobby->mnuawayon_Click();
        c.lobby->intIdle = 3;
        c.lobby->mnuawayoff_Click();
        QCOMPARE(c.lobby->intIdle, int16_t(3));
        QVERIFY(c.server.waitForLine(QStringLiteral("AWAY 0")));
    }

    void idleMinutesSetAwayOnce() {
        LoggedIn c;
        QVERIFY(c.lobby->tmridle->isActive());
        for (int i = 0; i < 9; ++i) c.lobby->tmridle_Timer();
        QCOMPARE(c.sent(), QStringList());
        c.lobby->tmridle_Timer();
        QVERIFY(c.server.waitForLine(QStringLiteral("AWAY 1")));
        QCOMPARE(c.sent(), (QStringList{QStringLiteral("CHAT /me is away.  Reason: Idle"), QStringLiteral("AWAY 1")}));
        QVERIFY(c.lobby->mnuawayon->isChecked());
        QVERIFY(!c.lobby->tmridle->isActive());
        QCOMPARE(awayIni(QStringLiteral("Reason")), QStringLiteral("Idle"));
        // Back again, the idle count stays stopped for the rest of the run.
        c.lobby->back_away();
        QVERIFY(c.server.waitForLine(QStringLiteral("AWAY 0")));
        QVERIFY(!c.lobby->tmridle->isActive());
        QCOMPARE(c.lobby->intIdle, int16_t(0));
    }

    void tenthIdleMinuteWhileAwayChangesNothing() {
        LoggedIn c;
        c.dialogs().type(QStringLiteral("brb"));
        c.lobby->mnuawayon_Click();
        QVERIFY(c.server.waitForLine(QStringLiteral("AWAY 1")));
        c.sent();
        for (int i = 0; i < 12; ++i) c.lobby->tmridle_Timer();
        QCOMPARE(c.lobby->intIdle, int16_t(12));
        QCOMPARE(c.sent(), QStringList());
        QVERIFY(c.lobby->tmridle->isActive());
        QCOMPARE(awayIni(QStringLiteral("Reason")), QStringLiteral("brb"));
    }

    void awayStateFromLoginIsKept() {
        LoggedIn c;
        // The login reply restores the away state from the settings; the lobby leaves it alone.
        c.lobby->mnuawayon->setChecked(true);
        c.lobby->mnuawayoff->setChecked(false);
        c.lobby->Form_Load();
        c.lobby->tmrPing_Timer();
        QVERIFY(c.lobby->mnuawayon->isChecked());
    }

    void otherTimers() {
        LoggedIn c;
        AdminMinutes = 5;
        c.lobby->tmradmin_Timer();
        QCOMPARE(AdminMinutes, 5);
        ClientConfig().AdminStatus(-1);
        c.lobby->tmradmin_Timer();
        c.lobby->tmradmin_Timer();
        QCOMPARE(AdminMinutes, 7);
        FloodCount = 4;
        c.lobby->floodtimers_Timer();
        QCOMPARE(FloodCount, int16_t(0));
        QCOMPARE(c.lobby->tmrPing->interval(), 60000);
        QCOMPARE(c.lobby->tmridle->interval(), 60000);
        QCOMPARE(c.lobby->tmradmin->interval(), 60000);
        QCOMPARE(c.lobby->floodtimers->interval(), 20000);
        for (QTimer* t : {c.lobby->tmrPing, c.lobby->tmridle, c.lobby->tmradmin, c.lobby->floodtimers, c.lobby->tmrAds})
            QVERIFY(t->isActive());
        const int frame = c.lobby->imgChatAds->currentFrame();
        c.lobby->tmrAds_Timer();
        QVERIFY(c.lobby->imgChatAds->currentFrame() != frame);
    }

    // ---- Administrator login ----------------------------------------------------------------

    void adminPassKeys_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("line");  // empty: refused
        QTest::newRow("eight digits") << QStringLiteral("12345678") << QStringLiteral("ADMINLOGIN 12345678");
        QTest::newRow("leading zeros") << QStringLiteral("00042017") << QStringLiteral("ADMINLOGIN 42017");
        QTest::newRow("all zeros") << QStringLiteral("00000000") << QStringLiteral("ADMINLOGIN 0");
        // Any eight characters go out as their leading number.
        QTest::newRow("letters") << QStringLiteral("abcdefgh") << QStringLiteral("ADMINLOGIN 0");
        QTest::newRow("digits then letters") << QStringLiteral("1234567x") << QStringLiteral("ADMINLOGIN 1234567");
        QTest::newRow("decimal point") << QStringLiteral("1234.500") << QStringLiteral("ADMINLOGIN 1234.5");
        QTest::newRow("small fraction") << QStringLiteral("0.000001") << QStringLiteral("ADMINLOGIN 0.000001");
        QTest::newRow("exponent") << QStringLiteral("99999e99") << QStringLiteral("ADMINLOGIN 99999") + QString(99, u'0');
        QTest::newRow("seven") << QStringLiteral("1234567") << QString();
        QTest::newRow("nine") << QStringLiteral("123456789") << QString();
        QTest::newRow("seven letters") << QStringLiteral("abcdefg") << QString();
        QTest::newRow("empty") << QString() << QString();
    }

    void adminPassKeys() {
        QFETCH(QString, answer);
        QFETCH(QString, line);
        LoggedIn c;
        c.dialogs().type(answer);
        c.lobby->mnuadmin_Click();
        QCOMPARE(c.dialogs().boxes[0].title, QStringLiteral("Corvadex"));
        QCOMPARE(c.dialogs().boxes[0].text, QStringLiteral("What is your 8 digit pass key?"));
        // A pass key on screen is a secret shown.
        QVERIFY(c.dialogs().boxes[0].hidden);
        QCOMPARE(soundsPlayed(*c.fx), QStringList{QStringLiteral("beep.wav")});
        if (line.isEmpty()) {
            QCOMPARE(c.dialogs().boxes.size(), 2);
            QCOMPARE(c.dialogs().boxes[1].title, QStringLiteral("Error"));
            QCOMPARE(c.dialogs().boxes[1].text, QStringLiteral("All pass keys are 8 digits."));
            QCOMPARE(c.dialogs().boxes[1].style, int(vb::Exclamation));
            QCOMPARE(c.sent(), QStringList());
            QVERIFY(c.lobby->mnuadmin->isEnabled());
            QCOMPARE(ClientConfig().PassKey(), QString());
        } else {
            QVERIFY(c.server.waitForLine(line));
            QCOMPARE(c.sent(), QStringList{line});
            QCOMPARE(ClientConfig().PassKey(), answer);
            QVERIFY(!c.lobby->mnuadmin->isEnabled());
        }
    }

    void adminCancelAndLogout() {
        LoggedIn c;
        // "2" cancels; a key whose number is too large to write is none, and the item stays usable.
        c.dialogs().type(QStringLiteral("2"));
        c.dialogs().type(QStringLiteral("9e999999"));
        c.lobby->mnuadmin_Click();
        c.lobby->mnuadmin_Click();
        QCOMPARE(c.dialogs().boxes.size(), 2);
        QCOMPARE(c.sent(), QStringList());
        QVERIFY(c.lobby->mnuadmin->isEnabled());
        QCOMPARE(ClientConfig().PassKey(), QString());
        c.dialogs().clear();
        // Logged in as administrator (the server's answer did this): the item logs out.
        ClientConfig().AdminStatus(-1);
        ClientConfig().PassKey(QStringLiteral("12345678"));
        c.lobby->mnuadmin->setText(QStringLiteral("Admin Logout"));
        form<frmmenu>()->mnuadmincontrols->menuAction()->setVisible(true);
        c.lobby->mnuadmin_Click();
        QVERIFY(c.server.waitForLine(QStringLiteral("ADMINLOGOUT")));
        QCOMPARE(c.lobby->mnuadmin->text(), QStringLiteral("Admin Login"));
        QCOMPARE(ClientConfig().AdminStatus(), int16_t(0));
        QCOMPARE(ClientConfig().PassKey(), QString());
        QVERIFY(!form<frmmenu>()->mnuadmincontrols->menuAction()->isVisible());
        QVERIFY(c.dialogs().boxes.isEmpty());
    }

    // ---- Exit -------------------------------------------------------------------------------

    void exitEndsAfterQuitOkay() {
        LoggedIn c;
        AdminMinutes = 0;
        c.lobby->mnuExit_Click();
        QVERIFY(c.server.waitForLine(QStringLiteral("QUIT 0 1")));
        QCOMPARE(ConnectionState, int16_t(2));
        QVERIFY(c.lobby->QuitEngaged());
        QCOMPARE(c.con->Winsock->Tag, QStringLiteral("out"));
        QCOMPARE(c.fx->services.lifecycle->ends, 0);
        c.receive({QStringLiteral("QUITOKAY")});
        QVERIFY(c.fx->services.lifecycle->ends >= 1);
        QCOMPARE(c.fx->services.lifecycle->lastStatus, 0);
        QVERIFY(!ifLoaded<frmchildchat>());
    }

    void exitRefusedDuringAGameLeavesTheClientFullyBack() {
        LoggedIn c;
        AdminMinutes = 17;
        c.lobby->mnuExit_Click();
        QVERIFY(c.server.waitForLine(QStringLiteral("QUIT 17 1")));
        c.receive({QStringLiteral("QUITNOTOKAY")});
        QCOMPARE(c.fx->services.lifecycle->ends, 0);
        QVERIFY(!c.lobby->QuitEngaged());
        QCOMPARE(ConnectionState, int16_t(1));
        QCOMPARE(c.con->Winsock->Tag, QString());
        QCOMPARE(countLinesContaining(c.lobby->chatin,
                                      QStringLiteral("<Error>  You cannot quit while you are still playing a game.  Forcefully "
                                                     "ending the application may cause your account to be flagged.")),
                 1);
        // The pump keeps the client running now that no quit is pending.
        c.con->tmrPacket_Timer();
        QCOMPARE(c.fx->services.lifecycle->ends, 0);
        QVERIFY(ifLoaded<frmchildchat>());
        // Chat shows again, and a later loss of the connection reconnects instead of ending.
        c.receive({QStringLiteral("CHAT bob still%20here")});
        QCOMPARE(linesOf(c.lobby->chatin).last(), QStringLiteral("bob says, \" still here \" "));
        ClientConfig().ReconnectAttempts(3);
        c.server.dropClient();
        QVERIFY(QTest::qWaitFor([&] { return c.con->IsReconnecting(); }, 5000));
        QCOMPARE(ConnectionState, int16_t(1));
        QCOMPARE(c.fx->services.lifecycle->ends, 0);
        c.con->tmrReconnect->stop();
    }

    void serverClosingAfterQuitEndsTheClient() {
        LoggedIn c;
        c.lobby->mnuExit_Click();
        QVERIFY(c.server.waitForLine(QStringLiteral("QUIT 0 1")));
        c.server.dropClient();
        QVERIFY(QTest::qWaitFor([&] { return !c.con->Winsock->connected(); }, 5000));
        c.con->tmrPacket_Timer();
        QVERIFY(c.fx->services.lifecycle->ends >= 1);
    }

    void exitWhenNotConnectedEndsAtOnce() {
        ClientFixture fx;
        frmchildchat* lobby = form<frmchildchat>();
        form<frmCon>();
        lobby->mnuExit_Click();
        QCOMPARE(fx.services.lifecycle->ends, 1);
        QCOMPARE(ConnectionState, int16_t(2));
        QVERIFY(!lobby->QuitEngaged());
    }

    void closeByTheUserIsRefused() {
        LoggedIn c;
        c.lobby->show();
        QVERIFY(!c.lobby->close());
        QVERIFY(c.lobby->isVisible());
        QCOMPARE(ifLoaded<frmchildchat>(), c.lobby.data());
        QCOMPARE(countLinesContaining(c.lobby->chatin,
                                      QStringLiteral("<Fail>  The game cannot be closed this way.  Please use the File->Exit menu item.")),
                 1);
        QCOMPARE(c.sent(), QStringList());
        QCOMPARE(ConnectionState, int16_t(1));
        // An unload from code runs the exit steps.
        QVERIFY(unload<frmchildchat>());
        QVERIFY(c.server.waitForLine(QStringLiteral("QUIT 0 1")));
    }

    // ---- Tables -----------------------------------------------------------------------------

    void joinATable() {
        LoggedIn c;
        c.con->creator->setChecked(true);
        c.lobby->lsttables->addItem(QStringLiteral("Table 12 kira vs. ---"));
        c.lobby->lsttables->addItem(QStringLiteral("Table"));
        // Nothing selected.
        c.lobby->cmdJoin_Click();
        QCOMPARE(c.dialogs().boxes.size(), 0);
        // A row without a number.
        c.lobby->lsttables->setCurrentRow(1);
        c.lobby->cmdJoin_Click();
        QCOMPARE(c.dialogs().boxes.size(), 0);
        // No.
        c.lobby->lsttables->setCurrentRow(0);
        c.dialogs().answer(vb::No);
        c.lobby->cmdJoin_Click();
        QCOMPARE(c.dialogs().boxes[0].title, QStringLiteral("Join Table?"));
        QCOMPARE(c.dialogs().boxes[0].text, QStringLiteral("Join Table 12?"));
        QCOMPARE(c.dialogs().boxes[0].style, int(vb::YesNo | vb::Question));
        QCOMPARE(c.sent(), QStringList());
        // Yes, by a double-click.
        c.lobby->lsttables_DblClick();
        QVERIFY(c.server.waitForLine(QStringLiteral("TABLEJOIN 12")));
        QVERIFY(!c.con->creator->isChecked());
        QVERIFY(ifLoaded<frmchallengewaiting>() && ifLoaded<frmchallengewaiting>()->isVisible());
    }

    void noJoinWhilePlayingOrSeated() {
        LoggedIn c;
        c.lobby->lsttables->addItem(QStringLiteral("Table 3 ann"));
        c.lobby->lsttables->setCurrentRow(0);
        InGame = true;
        c.lobby->cmdJoin_Click();
        InGame = false;
        form<frmchallengebox_single>()->show();
        c.lobby->cmdJoin_Click();
        QCOMPARE(c.dialogs().boxes.size(), 0);
        QCOMPARE(c.sent(), QStringList());
    }

    void listAndTreeMouseButtons() {
        LoggedIn c;
        frmmenu* menus = form<frmmenu>();
        QSignalSpy tables(menus->mnuTables, &QMenu::aboutToShow);
        QSignalSpy players(menus->command, &QMenu::aboutToShow);
        QSignalSpy games(menus->mnuchallengemenu, &QMenu::aboutToShow);
        c.dialogs().type(QStringLiteral("afk"));
        c.lobby->mnuawayon_Click();
        QVERIFY(c.server.waitForLine(QStringLiteral("AWAY 1")));
        c.lobby->lsttables_MouseUp(2);
        QCOMPARE(tables.size(), 0);
        QVERIFY(!c.lobby->mnuawayon->isChecked());  // every button comes back from away
        c.lobby->lsttables_MouseUp(1);
        QCOMPARE(tables.size(), 1);
        menus->mnuTables->hide();
        c.lobby->playerlist_MouseUp(1);
        QCOMPARE(players.size(), 0);
        c.lobby->playerlist_MouseUp(2);
        QCOMPARE(players.size(), 1);
        menus->command->hide();
        c.lobby->cmdCreate_Click();
        QCOMPARE(games.size(), 1);
        menus->mnuchallengemenu->hide();
        InGame = true;
        c.lobby->cmdCreate_Click();
        QCOMPARE(games.size(), 1);
    }

    // ---- Members ----------------------------------------------------------------------------

    void membersReadTheirLabels() {
        ClientFixture fx;
        frmchildchat* lobby = form<frmchildchat>();
        for (const QString& entry : {QStringLiteral("Kiraly 12 <Wolves>"), QStringLiteral("nyx 3")})
            lobby->playerlist->addTopLevelItem(new QTreeWidgetItem(QStringList{entry}));
        QVERIFY(lobby->IsOnline(QStringLiteral("kira")));  // part of a longer name counts
        QVERIFY(lobby->IsOnline(QStringLiteral("NYX")));
        QVERIFY(lobby->IsOnline(QStringLiteral("wolves")));
        QVERIFY(!lobby->IsOnline(QStringLiteral("zed")));
        lobby->lblActive->setText(QStringLiteral("42 players"));
        QCOMPARE(lobby->PlayersOnline(), int16_t(42));
        lobby->lblActive->setText(QStringLiteral("99999"));
        QCOMPARE(lobby->PlayersOnline(), int16_t(32767));
        lobby->Gold(1500);
        QCOMPARE(lobby->lblgp->text(), QStringLiteral("1500"));
        lobby->lblgp->setText(QStringLiteral("2500.5"));
        QCOMPARE(lobby->Gold(), 2500);
        lobby->lblgp->setText(QStringLiteral("gold"));
        QCOMPARE(lobby->Gold(), 0);
        lobby->AP(-12);
        QCOMPARE(lobby->AP(), -12);
        lobby->AvatarGender(QStringLiteral("f"));
        QCOMPARE(lobby->AvatarGender(), QStringLiteral("f"));
    }

    void addmsgUsesTheChatFont() {
        ClientFixture fx;
        Nickname = QStringLiteral("kira");
        WriteIni(QStringLiteral("Chat"), QStringLiteral("Font"), QStringLiteral("Courier New"), GetIniFile());
        WriteIni(QStringLiteral("Chat"), QStringLiteral("FontSize"), QStringLiteral("11pt"), GetIniFile());
        frmchildchat* lobby = form<frmchildchat>();
        lobby->addmsg(QStringLiteral("plain words"), 65535);
        QCOMPARE(runsOf(lobby->chatin), (QList<Run>{{QStringLiteral("plain words"), 65535, false}, {QStringLiteral("\n"), 0, false}}));
        const QTextCharFormat f = lobby->chatin->document()->begin().begin().fragment().charFormat();
        QCOMPARE(f.fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
        QCOMPARE(f.fontPointSize(), 11.0);
    }

    // ---- Keys, links and menu items ---------------------------------------------------------

    void keysInTheLogAndTheWindow() {
        LoggedIn c;
        c.lobby->addmsg(QStringLiteral("old line"), 255);
        c.lobby->show();
        QTest::keyClick(c.lobby->chatin, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(c.lobby->chatin->toPlainText(), QString());
        QTest::keyClick(c.lobby->chatin, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(c.fx->exists(QStringLiteral("snapshots/snap0.bmp")));
        QVERIFY(!c.fx->exists(QStringLiteral("snapshots/snap1.bmp")));
        QCOMPARE(soundsPlayed(*c.fx), QStringList{QStringLiteral("snapshot.wav")});
        // A key that reaches the window itself comes back from away.
        c.dialogs().type(QStringLiteral("afk"));
        c.lobby->mnuawayon_Click();
        QVERIFY(c.server.waitForLine(QStringLiteral("AWAY 1")));
        int16_t key = 19;
        c.lobby->Form_KeyPress(key);
        QVERIFY(c.fx->exists(QStringLiteral("snapshots/snap1.bmp")));
        QVERIFY(!c.lobby->mnuawayon->isChecked());
        key = 1;
        c.lobby->addmsg(QStringLiteral("x"), 255);
        c.lobby->Form_KeyPress(key);
        QCOMPARE(c.lobby->chatin->toPlainText(), QString());
        // Typing in the input restarts the idle count.
        c.lobby->intIdle = 5;
        c.lobby->chatout->setEnabled(true);
        QTest::keyClick(c.lobby->chatout, Qt::Key_H);
        QCOMPARE(c.lobby->chatout->text(), QStringLiteral("h"));
        QCOMPARE(c.lobby->intIdle, int16_t(0));
        c.lobby->trigger_snapshot_Click();
        QVERIFY(c.fx->exists(QStringLiteral("snapshots/snap2.bmp")));
        // Other keys in the log go to the input's handler: Enter there sends what is typed.
        c.lobby->chatout->setText(QStringLiteral("from the log"));
        QTest::keyClick(c.lobby->chatin, Qt::Key_Return);
        QVERIFY(c.server.waitForLine(QStringLiteral("CHAT from the log")));
        QCOMPARE(c.lobby->chatout->text(), QString());
    }

    void enterInTheInputSendsTheLine() {
        LoggedIn c;
        c.lobby->show();
        c.lobby->chatout->setEnabled(true);
        QTest::keyClick(c.lobby->chatout, Qt::Key_Return);
        QTest::keyClicks(c.lobby->chatout, QStringLiteral("   "));
        QTest::keyClick(c.lobby->chatout, Qt::Key_Return);
        QCOMPARE(c.sent(), QStringList());
        c.lobby->chatout->clear();
        QTest::keyClicks(c.lobby->chatout, QStringLiteral("good  game <b>all</b>"));
        QTest::keyClick(c.lobby->chatout, Qt::Key_Return);
        QVERIFY(c.server.waitForLine(QStringLiteral("CHAT good game <b>all</b>")));
        QCOMPARE(c.lobby->chatout->text(), QString());
        // Moderation words never go out as chat; the line is still taken.
        QTest::keyClicks(c.lobby->chatout, QStringLiteral("hello /where are you"));
        QTest::keyClick(c.lobby->chatout, Qt::Key_Return);
        QCOMPARE(c.sent(), QStringList{QStringLiteral("CHAT good game <b>all</b>")});
        QCOMPARE(c.lobby->chatout->text(), QString());
    }

    void linkClicksInTheLog() {
        ClientFixture fx;
        frmchildchat* lobby = form<frmchildchat>();
        auto& opened = fx.services.shell->opened;
        for (const QString& w : {QStringLiteral("http://a.example/x"), QStringLiteral("https://b.example"),
                                 QStringLiteral("www.c.example"), QStringLiteral("mailto:d@e.example"),
                                 QStringLiteral("ann@example.org"), QStringLiteral("plain"), QStringLiteral("@."),
                                 QStringLiteral("ftp://f.example"), QStringLiteral("javascript:alert(1)")}) {
            lobby->HoverLink = w;
            lobby->chatin_Click();
        }
        QCOMPARE(opened, (QStringList{QStringLiteral("http://a.example/x"), QStringLiteral("https://b.example"),
                                      QStringLiteral("http://www.c.example"), QStringLiteral("mailto:d@e.example"),
                                      QStringLiteral("mailto:ann@example.org")}));
    }

    void hoverOverALinkWordGivesItsTooltip() {
        ClientFixture fx;
        frmchildchat* lobby = form<frmchildchat>();
        lobby->resize(lobby->sizeHint());
        lobby->show();
        lobby->addmsg(QStringLiteral("http://example.org/page"), 255);
        QTest::qWait(10);
        const QRect r = lobby->chatin->cursorRect(QTextCursor(lobby->chatin->document()));
        lobby->chatin_MouseMove(r.center() + QPoint(20, 0));
        QCOMPARE(lobby->HoverLink, QStringLiteral("http://example.org/page"));
        QCOMPARE(lobby->chatin->toolTip(), QStringLiteral("Click here to navigate at http://example.org/page"));
    }

    void menuItems() {
        LoggedIn c;
        c.lobby->addmsg(QStringLiteral("x"), 255);
        c.lobby->mnuclearchat_Click();
        QCOMPARE(c.lobby->chatin->toPlainText(), QString());
        c.lobby->move(300, 200);
        c.lobby->show();
        c.lobby->mnuconfig_Click();
        QVERIFY(ifLoaded<frmconfig>() && ifLoaded<frmconfig>()->isVisible());
        // Opened over the middle of the lobby.
        QVERIFY((ifLoaded<frmconfig>()->frameGeometry().center() - c.lobby->frameGeometry().center()).manhattanLength() <= 8);
        c.lobby->mnufavrules_Click();
        QVERIFY(ifLoaded<frmfavrules>() && ifLoaded<frmfavrules>()->isVisible());
        // The advancement window reads its abilities and figures from the web service.
        FakeWebService web;
        web.answer(QStringLiteral("call sps_PlayerAA('kira')"), {{{"Ability", "string"}}, {}});
        web.answer(QStringLiteral("call sps_PlayerAAStats('kira')"),
                   {{{"EXP", "string"}, {"Percent", "integer"}, {"AAPoints", "integer"}, {"AATrained", "integer"}},
                    {{"0", "0", "0", "0"}}});
        qputenv("CORVADEX_WEBSERVICE", web.url().toUtf8());
        c.lobby->mnuAA_Click();
        qunsetenv("CORVADEX_WEBSERVICE");
        QVERIFY(ifLoaded<frmAdvancement>() && ifLoaded<frmAdvancement>()->isVisible());
        QCOMPARE(countLinesContaining(c.lobby->chatin, QStringLiteral("<Loading>  The alternate advancement screen is loading")), 1);
        const QString site = QStringLiteral("http://www.corvadex.net");
        qunsetenv("CORVADEX_WEBSITE");
        c.lobby->mnuTreasureHunter_Click();
        c.lobby->mnueditpass_Click();
        c.lobby->mnupoweruser->trigger();
        c.lobby->mnulostpass_Click();
        c.lobby->mnuplayermanual_Click();
        c.lobby->mnusubmitbug_Click();
        c.lobby->mnuRewards_Click();
        QCOMPARE(c.fx->services.shell->opened,
                 (QStringList{site + QStringLiteral("/Games/TreasureHunter.aspx"), site + QStringLiteral("/Player/MyAccount.aspx"),
                              site + QStringLiteral("/support.php?area=membership"), site + QStringLiteral("/support/"),
                              site + QStringLiteral("/trainer.php?area=index"), QStringLiteral("http://forums.corvadex.net/support/"),
                              site + QStringLiteral("/rfrewards.php?nick=kira")}));
        // The away items keep their marks to themselves: a click on "On" asks first.
        c.lobby->mnuawayon->trigger();
        QVERIFY(!c.lobby->mnuawayon->isChecked());
        QCOMPARE(c.dialogs().boxes.last().title, QStringLiteral("Away"));
    }

    // ---- Skin -------------------------------------------------------------------------------

    void defaultSkinDressesTheLobby() {
        ClientFixture fx;
        form<frmCon>();
        frmchildchat* lobby = form<frmchildchat>();
        QCOMPARE(lobby->chatin->toPlainText(), QString());
        QCOMPARE(fx.services.dialogs->boxes.size(), 0);
        QCOMPARE(ClientConfig().SkinOutofDate(), int16_t(0));
        QCOMPARE(lobby->windowTitle(), QStringLiteral("Corvadex [3.4.5.332]"));
        for (QLabel* l : {static_cast<QLabel*>(lobby->trigger_snapshot), static_cast<QLabel*>(lobby->cmdCreate),
                          static_cast<QLabel*>(lobby->cmdJoin), static_cast<QLabel*>(lobby->imgAchievement),
                          static_cast<QLabel*>(lobby->imgVideo), lobby->imgRushBar, static_cast<QLabel*>(lobby->imgChatActions)}) {
            QVERIFY2(!l->pixmap().isNull(), qPrintable(l->objectName()));
        }
        QCOMPARE(lobby->cmdCreate->pixmap().size(), QSize(110, 30));
        QCOMPARE(lobby->imgBar->width(), 0);
        QCOMPARE(lobby->imgBar->toolTip(), QStringLiteral("Click the Rush Gauge When Full to Fire Surgestrike"));
        QCOMPARE(lobby->cmdJoin->toolTip(), QStringLiteral("Join Table"));
        QCOMPARE(lobby->imgHelpWiki->toolTip(), QStringLiteral("Need Help? Go to the Help Wiki (FAQ)"));
        QCOMPARE(lobby->imgRushBar->toolTip(), QString());
        // Hand cursor on what is clicked, not on the gauge's frame.
        QCOMPARE(lobby->imgForum->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(lobby->lblDeposit->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(lobby->imgCVXCash->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(lobby->imgRushBar->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(lobby->imgCVXCash->playing());
        QCOMPARE(lobby->playerlist->palette().color(QPalette::Base), QColor(Qt::black));
        QCOMPARE(lobby->playerlist->palette().color(QPalette::Text), QColor(Qt::white));
        QCOMPARE(lobby->chatout->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(lobby->chatout->font().pointSizeF(), 9.0);
    }

    // Told once, as the log's last line, whatever the skin lacks.
    static QString skinReport() {
        return "<Skin>  Your skin is out of date. Some aspects of the skin may not function properly or you could receive an "
               "unhandled error.  Be sure to check your custom skin for updates or revert to default. " +
               ChatTime();
    }

    void customSkinMissingKeys() {
        ClientFixture fx;
        useSkinWithout(fx, {QStringLiteral("forum"), QStringLiteral("background"), QStringLiteral("joinicon"),
                            QStringLiteral("chatballoon")});
        form<frmCon>();
        frmchildchat* lobby = form<frmchildchat>();
        QCOMPARE(linesOf(lobby->chatin),
                 (QStringList{QStringLiteral("The application could not find a chat interface skin, used the default instead. Run the patcher."),
                              kIconNotice.arg(QStringLiteral("forum")),
                              QStringLiteral("The application could not find a join table button, used the default instead. Run the patcher."),
                              skinReport()}));
        QCOMPARE(runsOf(lobby->chatin).first().colour, 255L);
        QCOMPARE(lastColour(lobby->chatin), ChatColour::Red);
        QVERIFY(!lobby->imgForum->pixmap().isNull());
        QVERIFY(!lobby->cmdJoin->pixmap().isNull());
        QVERIFY(!lobby->imgChatActions->pixmap().isNull());
        QCOMPARE(fx.services.dialogs->titles(), QStringList());
        QCOMPARE(ClientConfig().SkinOutofDate(), int16_t(0));
    }

    void onlyTheChatBalloonMissingStillWarns() {
        ClientFixture fx;
        useSkinWithout(fx, {QStringLiteral("chatballoon")});
        frmchildchat* lobby = form<frmchildchat>();
        QCOMPARE(linesOf(lobby->chatin), QStringList{skinReport()});
        QCOMPARE(fx.services.dialogs->titles(), QStringList());
        QVERIFY(!lobby->imgChatActions->pixmap().isNull());
    }

    void everyIconMissing() {
        ClientFixture fx;
        const QStringList keys = {QStringLiteral("achievement"), QStringLiteral("cardwiki"), QStringLiteral("helpwiki"),
                                  QStringLiteral("quests"),      QStringLiteral("forum"),    QStringLiteral("website"),
                                  QStringLiteral("portal"),      QStringLiteral("fairdome"), QStringLiteral("leaderboard"),
                                  QStringLiteral("zorviumbank"), QStringLiteral("membership"), QStringLiteral("myshop"),
                                  QStringLiteral("mystats"),     QStringLiteral("video"),    QStringLiteral("rushbar"),
                                  QStringLiteral("bar"),         QStringLiteral("snapshot"), QStringLiteral("createicon")};
        useSkinWithout(fx, keys);
        frmchildchat* lobby = form<frmchildchat>();
        QStringList expected = {QStringLiteral("The application could not find a snapshot button, used the default instead. Run the patcher.")};
        for (const char* name : {"achievement", "card wiki", "help wiki", "quests", "forum", "website", "portal", "fairdome",
                                 "leaderboard", "zorvium bank", "membership", "my shop", "my stats", "video", "rushbar", "bar"})
            expected << kIconNotice.arg(QString::fromLatin1(name));
        expected << QStringLiteral("The application could not find a create table button, used the default instead. Run the patcher.");
        QCOMPARE(linesOf(lobby->chatin), expected << skinReport());
        QVERIFY(!lobby->imgZorviumBank->pixmap().isNull());
        QCOMPARE(lobby->imgBar->width(), 0);
    }

    void aPictureFileThatIsMissingIsSkippedQuietly() {
        ClientFixture fx;
        QByteArray ini = fx.read(QStringLiteral("skins/default.ini"));
        ini.replace("forum=\\icons\\Forum.gif", "forum=\\icons\\Nowhere.gif");
        fx.write(QStringLiteral("skins/default.ini"), ini);
        frmchildchat* lobby = form<frmchildchat>();
        QCOMPARE(lobby->chatin->toPlainText(), QString());
        QCOMPARE(fx.services.dialogs->boxes.size(), 0);
        QVERIFY(lobby->imgForum->pixmap().isNull());
        QVERIFY(!lobby->imgPortal->pixmap().isNull());
    }
};

QTEST_MAIN(tst_lobby)
#include "tst_lobby.moc"
