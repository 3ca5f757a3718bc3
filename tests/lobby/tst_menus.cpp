// The lobby's popup menus against a fake game server: every item triggered by its name sends its
// exact line or shows its notice; buddy and ignore entries land in their files; the games menu
// creates a table of every kind; the administrator items follow the level table and the logout.
#include "RoomLink.h"

#include "admin/frmadmin.h"
#include "app/Deployment.h"
#include "game/frmplaying.h"
#include "lobby/frmMsgWind.h"
#include "lobby/frmmenu.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"

#include <QtTest>

namespace {
// Triggers a menu item by its name, as a click would.
void trigger(const char* name) {
    QAction* a = form<frmmenu>()->findChild<QAction*>(QString::fromLatin1(name));
    if (!a) qFatal("no menu item %s", name);
    a->trigger();
}

QString lastNotice(const RoomLink& l) { return linesOf(l.lobby->chatin).value(linesOf(l.lobby->chatin).size() - 1); }

void selectPlayer(frmchildchat* lobby, const QString& text) {
    auto* node = new QTreeWidgetItem(QStringList{text});
    lobby->playerlist->addTopLevelItem(node);
    lobby->playerlist->setCurrentItem(node);
}

void selectTable(frmchildchat* lobby, const QString& row) {
    lobby->lsttables->addItem(row);
    lobby->lsttables->setCurrentRow(lobby->lsttables->count() - 1);
}

// A clock whose next DoEvents runs a step first, as if events arrived meanwhile.
struct PumpingClock : ManualClock {
    std::function<void()> during;
    void DoEvents() override {
        if (during) {
            auto once = std::move(during);
            during = nullptr;
            once();
        }
        ManualClock::DoEvents();
    }
};

bool visible(frmmenu* m, const char* name) {
    QAction* a = m->findChild<QAction*>(QString::fromLatin1(name));
    if (!a) qFatal("no item %s", name);
    return a->isVisible();
}
}  // namespace

class tst_menus : public QObject {
    Q_OBJECT

private slots:
    void menuTree() {
        RoomLink l;
        frmmenu* m = form<frmmenu>();
        QVERIFY(!m->isVisible());
        const std::pair<const char*, const char*> captions[] = {
            {"mnubuddyadd", "Add to Buddy List"}, {"mnubuddydelete", "Remove from Buddy Alert"}, {"ignore", "Ignore"},
            {"UnIgnore", "UnIgnore"}, {"mnuPlayer", "Player's Stats"}, {"mnupm", "Private Message"},
            {"mnuplayershop", "View Player's Shop"}, {"mnuadmincontrols", "Admin Controls"}, {"mnuInfraction", "Apply Infraction"},
            {"mnuControls", "Emergency Controls"}, {"mnuwarn", "Warn"}, {"mnukick", "Kick"}, {"mnuban", "Ban"},
            {"mnuSilence", "Silence"}, {"mnuipcheck", "IP Check"}, {"mnusinglecheck", "Single IP Check"},
            {"mnuendmatch", "End User's Match"}, {"mnukilltable", "Kill table"}, {"mnuservercommands", "Remote Server Commands"},
            {"mnuchatclears", "Chat Clears"}, {"mnuTournament", "Tournament"}, {"mnuAddPlayer", "Add Player"},
            {"mnuTournyPlayerWithoutFee", "Add Player Without Fee"}, {"mnupenaltyno", "End Game"}, {"mnuSideGames", "Fairdome"},
            {"mnuTreasureHunter_Side", "Treasure Hunter"}, {"mnuchinchin", "Chinchirorin"}, {"mnucvreg", "Corvada"},
            {"mnumemory", "Corvada Memory"}, {"mnuomni", "Omni Corvada"}, {"mnuorbolt", "Orbolt"}, {"mnuCardWars", "Corvada War"},
            {"mnuteamocv", "Team Omni Corvada"}, {"mnujointable", "Join Table"}, {"mnuTableInfo", "View Table Info"},
            {"mnuChatChannelS", "Chat Channels"}, {"mnuChatChannelAuction", "Auction"}, {"mnuChatUtilityNowPlaying", "Now Playing (Winamp Only)"},
            {"mnuChatUtilityToggleSoundOff", "Off"}, {"mnuGuildCommandDisband", "Disband from Guild"},
        };
        for (const auto& [name, caption] : captions) {
            QAction* a = m->findChild<QAction*>(QString::fromLatin1(name));
            QVERIFY2(a, name);
            QCOMPARE(a->text(), QString::fromLatin1(caption));
            QVERIFY(!a->isCheckable());
            QCOMPARE(a->isVisible(), qstrcmp(name, "mnuadmincontrols") != 0);
        }
        QVERIFY(m->mnuhrside1->isSeparator() && m->mnuhr1->isSeparator());
        QCOMPARE(m->command->title(), QStringLiteral("Command"));
        QCOMPARE(m->mnuchallengemenu->title(), QStringLiteral("Games"));
        QCOMPARE(m->mnuTables->title(), QStringLiteral("Tables"));
        QCOMPARE(m->mnuchatactions->title(), QStringLiteral("Chatactions"));
        QCOMPARE(m->mnuendmatches->title(), QStringLiteral("Admin End Matches"));
        // A player who is not an administrator sees the seven player items.
        int shownItems = 0;
        for (QAction* a : m->command->actions()) shownItems += a->isVisible();
        QCOMPARE(shownItems, 7);
    }

    void playerItems() {
        RoomLink l;
        selectPlayer(l.lobby, QStringLiteral("Nyx 7 <Wolves>"));
        trigger("mnubuddyadd");
        const QString buddies = l.fx->path(QStringLiteral("config/buddy.idx"));
        QCOMPARE(ReadIni(QStringLiteral("Buddy"), QStringLiteral("Nyx"), buddies), QStringLiteral("1"));
        QVERIFY(lastNotice(l).startsWith(QStringLiteral("<Buddy> Nyx has been added to your buddy list ")));
        trigger("mnubuddydelete");
        QCOMPARE(ReadIni(QStringLiteral("Buddy"), QStringLiteral("Nyx"), buddies), QStringLiteral("0"));
        QVERIFY(lastNotice(l).startsWith(QStringLiteral("<Buddy> Nyx has been removed from your buddy list ")));
        trigger("ignore");
        QCOMPARE(ReadIni(QStringLiteral("Ignore"), QStringLiteral("Nyx"), GetIniFile()), QStringLiteral("1"));
        QVERIFY(QRegularExpression(QStringLiteral("^<Ignore> Nyx is now in your ignore list\\. To un-ignore him, right click on his "
                                                  "name and select 'Unignore' at \\d\\d:\\d\\d:\\d\\d$"))
                    .match(lastNotice(l))
                    .hasMatch());
        trigger("UnIgnore");
        QCOMPARE(ReadIni(QStringLiteral("Ignore"), QStringLiteral("Nyx"), GetIniFile()), QStringLiteral("0"));
        QVERIFY(lastNotice(l).startsWith(QStringLiteral("<Unignore> Nyx was removed from your ignore list ")));
        QCOMPARE(l.sounds(), (QList<int>{3, 3, 3, 3}));

        trigger("mnuPlayer");
        trigger("mnuplayershop");
        QCOMPARE(l.shell().opened, (QStringList{Deployment::website() + QStringLiteral("/Nyx-Player-Statistics.aspx"),
                                                Deployment::website() + QStringLiteral("/Player/Nyx-Player-Merchant.aspx")}));

        // Private messages: a new window each time.
        l.lobby->intIdle = 5;
        trigger("mnupm");
        trigger("mnupm");
        QList<frmMsgWind*> windows;
        for (const auto& w : MsgWindows)
            if (w && w->isVisible()) windows << w;
        QCOMPARE(windows.size(), 2);
        for (frmMsgWind* w : windows) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Nyx - Private Message"));
            QCOMPARE(w->Tag, QStringLiteral("Nyx"));
            QCOMPARE(w->player(), QStringLiteral("Nyx"));
            QVERIFY(!(w->windowState() & Qt::WindowMinimized));
        }
        QCOMPARE(l.lobby->intIdle, int16_t(0));
        QCOMPARE(l.sounds().mid(4), (QList<int>{2, 2}));
        QVERIFY(l.sent().isEmpty());
    }

    void withoutPlayer() {
        RoomLink l;
        l.lobby->intIdle = 4;
        for (const char* name : {"mnubuddyadd", "ignore", "UnIgnore", "mnuPlayer", "mnupm", "mnuwarn", "mnusinglecheck", "mnuendmatch",
                                 "mnuInfraction", "mnuAddPlayer"})
            trigger(name);
        QCOMPARE(l.sounds(), (QList<int>{3, 3, 3, 2}));
        QCOMPARE(l.lobby->intIdle, int16_t(0));
        QVERIFY(!l.fx->exists(QStringLiteral("config/buddy.idx")));
        QVERIFY(IniKeys(QStringLiteral("Ignore"), GetIniFile()).isEmpty());
        QVERIFY(l.shell().opened.isEmpty());
        QVERIFY(l.dialogs().boxes.isEmpty());
        trigger("mnuplayershop");
        QVERIFY(lastNotice(l).startsWith(QStringLiteral("<Error>  You must select a player first before you can view his/her shop. ")));
        trigger("mnuSilence");
        QVERIFY(lastNotice(l).startsWith(QStringLiteral("<Problem>  You must select a player first ")));
        QVERIFY(l.sent().isEmpty());
    }

    // Entries are written only for plain nicknames: a name that would break the settings file is not.
    void oddNamesAreNotWritten() {
        RoomLink l;
        for (const char* odd : {"[Options]", "x=1", ";note"}) {
            selectPlayer(l.lobby, QString::fromLatin1(odd));
            trigger("ignore");
            trigger("mnubuddyadd");
        }
        QVERIFY(IniKeys(QStringLiteral("Ignore"), GetIniFile()).isEmpty());
        QCOMPARE(ReadIni(QStringLiteral("Options"), QStringLiteral("Sounds"), GetIniFile()), QStringLiteral("1"));
        QVERIFY(!l.fx->exists(QStringLiteral("config/buddy.idx")));
        selectPlayer(l.lobby, QStringLiteral("Dark-Knight2 12"));
        trigger("ignore");
        QCOMPARE(ReadIni(QStringLiteral("Ignore"), QStringLiteral("Dark-Knight2"), GetIniFile()), QStringLiteral("1"));
    }

    void moderation() {
        RoomLink l;
        selectPlayer(l.lobby, QStringLiteral("Nyx 7 <Wolves>"));
        for (const char* reason : {"spam in chat", "", "bad words", "evading"}) l.dialogs().type(QString::fromLatin1(reason));
        trigger("mnuwarn");
        trigger("mnuwarn");
        trigger("mnukick");
        trigger("mnuban");
        QCOMPARE(l.dialogs().boxes[0].text, QStringLiteral("Reason?"));
        trigger("mnuSilence");
        trigger("mnusinglecheck");
        trigger("mnuchatclears");
        QCOMPARE(l.sent(), (QStringList{"ADMINWARN Nyx spam%20in%20chat", "ADMINKICK Nyx bad%20words", "ADMINBAN Nyx evading",
                                        "ADMINSILENCEPLAYER Nyx 7 <Wolves>", "IPCHECK Nyx", "ADMINCHATCLEAR"}));
        trigger("mnuendmatch");
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TABLEENDMATCH Nyx")});
        QVERIFY(lastNotice(l).startsWith(
            QStringLiteral("<Request>  Request has been sent to server.  If user's match did not end, then he is not in a match. ")));
        trigger("mnuInfraction");
        QCOMPARE(l.shell().opened, QStringList{Deployment::website() + QStringLiteral("/Admin/ApplyInfraction.aspx?player=Nyx")});

        // Without a connection nothing goes and nothing claims it went.
        const int before = linesOf(l.lobby->chatin).size();
        l.con->Winsock->Close();
        trigger("mnuendmatch");
        QCOMPARE(linesOf(l.lobby->chatin).size(), before);
    }

    void killTableAndEndGame() {
        RoomLink l;
        InitTables();
        Tables[3]->tableleft = QStringLiteral("Orrin");
        Tables[4]->tableright = QStringLiteral("Bree");
        trigger("mnukilltable");
        QVERIFY(l.sent().isEmpty());
        selectTable(l.lobby, QStringLiteral("Table"));
        trigger("mnukilltable");
        QVERIFY(lastNotice(l).startsWith(QStringLiteral("<Error>  No table selected ")));
        selectTable(l.lobby, QStringLiteral("Table 5  Nyx"));
        trigger("mnukilltable");
        QVERIFY(lastNotice(l).startsWith(QStringLiteral("<Error>  Application could not retrieve a player name in the table")));
        selectTable(l.lobby, QStringLiteral("Table 77  Nyx"));
        trigger("mnukilltable");
        QVERIFY(lastNotice(l).startsWith(QStringLiteral("<Error>  Application could not retrieve")));
        QVERIFY(l.sent().isEmpty());
        selectTable(l.lobby, QStringLiteral("Table 3  Orrin"));
        trigger("mnukilltable");
        selectTable(l.lobby, QStringLiteral("Table 4    vs. Bree"));
        trigger("mnukilltable");
        QCOMPARE(l.sent(), (QStringList{"TABLEKILL Orrin", "TABLEKILL Bree"}));
        QVERIFY(lastNotice(l).startsWith(QStringLiteral("<Table>  Request Sent ")));

        // End Game works on the administrator window's selected request.
        trigger("mnupenaltyno");
        frmadmin* admin = form<frmadmin>();
        trigger("mnupenaltyno");
        QVERIFY(l.sent().isEmpty());
        admin->lstrequests->addItem(QStringLiteral("ENDGAME Nyx 12 stuck"));
        admin->lstrequests->setCurrentRow(0);
        trigger("mnupenaltyno");
        QCOMPARE(l.sent(), (QStringList{"TRIGGERREMOVE ENDGAME Nyx 12 stuck", "TABLEENDMATCH Nyx"}));
        QVERIFY(lastNotice(l).startsWith(QStringLiteral("<Request>  Request has been sent to server.")));
        QCOMPARE(l.sounds(), QList<int>{3});

        // Without a connection nothing goes, and no notice says it went.
        l.con->Winsock->Close();
        const int shown = linesOf(l.lobby->chatin).size();
        selectTable(l.lobby, QStringLiteral("Table 3  Orrin"));
        trigger("mnukilltable");
        trigger("mnuTableInfo");
        trigger("mnupenaltyno");
        QCOMPARE(linesOf(l.lobby->chatin).size(), shown);
        QVERIFY(l.sent().isEmpty());
    }

    void administratorLevels() {
        RoomLink l;
        frmmenu* m = form<frmmenu>();
        const char* items[] = {"mnuadmincontrols", "mnuwarn", "mnukick", "mnuban", "mnuSilence", "mnuipcheck", "mnusinglecheck",
                               "mnuendmatch", "mnuservercommands", "mnuInfraction", "mnuControls", "mnukilltable", "mnuTournament"};
        const auto state = [&] {
            QList<bool> s;
            for (const char* name : items) s << visible(m, name);
            return s;
        };
        QCOMPARE(state(), (QList<bool>{false, true, true, true, true, true, true, true, true, true, true, true, true}));
        m->ShowAdminItems(QStringLiteral("1"));
        QCOMPARE(state(), (QList<bool>{true, true, false, false, true, true, true, true, false, true, true, true, true}));
        m->ShowAdminItems(QStringLiteral("5"));
        QCOMPARE(state(), (QList<bool>{true, true, false, false, true, true, true, true, false, true, true, true, true}));
        m->ShowAdminItems(QStringLiteral("2"));
        QCOMPARE(state(), (QList<bool>{true, true, true, false, true, true, true, true, false, true, true, true, true}));
        m->ShowAdminItems(QStringLiteral("3"));
        QCOMPARE(state(), (QList<bool>{true, true, true, true, true, true, true, true, false, true, true, true, true}));
        m->ShowAdminItems(QStringLiteral("4"));
        QCOMPARE(state(), (QList<bool>{true, true, true, true, true, true, true, true, true, true, true, true, true}));
        m->ShowAdminItems(QStringLiteral("1"));
        m->ShowAdminItems(QStringLiteral("9"));
        m->ShowAdminItems(QString());
        QCOMPARE(state(), (QList<bool>{true, true, false, false, true, true, true, true, false, true, true, true, true}));
        // The lobby's administrator logout hides the submenu and leaves the rest.
        ClientConfig().AdminStatus(1);
        l.lobby->mnuadmin_Click();
        QCOMPARE(l.sent(), QStringList{QStringLiteral("ADMINLOGOUT")});
        QCOMPARE(state(), (QList<bool>{false, true, false, false, true, true, true, true, false, true, true, true, true}));
    }

    void gamesMenu_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("game");
        QTest::newRow("card game") << "mnucvreg" << "TABLECREATE" << "Corvada";
        QTest::newRow("memory") << "mnumemory" << "TABLECREATE MEMORY" << "CV Memory";
        QTest::newRow("dice") << "mnuchinchin" << "TABLECREATE CHINCHIN" << "Chinchirorin";
        QTest::newRow("card war") << "mnuCardWars" << "TABLECREATE CARDWARS" << "Corvada War";
        QTest::newRow("coin board") << "mnuorbolt" << "TABLECREATE3" << "Orbolt";
        QTest::newRow("omni") << "mnuomni" << "TABLECREATE2 OMNICV_RANDOM 5" << "Omni CV";
    }
    void gamesMenu() {
        QFETCH(QString, item);
        QFETCH(QString, line);
        QFETCH(QString, game);
        RoomLink l;
        trigger(qPrintable(item));
        QCOMPARE(l.sent(), QStringList{line});
        QVERIFY(l.isCreator());
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        QVERIFY(room && room->isVisible());
        QCOMPARE(room->title(), QStringLiteral("Challenge - [") + game + QStringLiteral("] - Table #: 0"));
        // A second create while the room stands does nothing.
        trigger(qPrintable(item));
        QVERIFY(l.sent().isEmpty());
    }

    void createGuards() {
        RoomLink l;
        form<frmplaying>()->show();
        for (const char* name : {"mnucvreg", "mnumemory", "mnuchinchin", "mnuCardWars"}) trigger(name);
        QVERIFY(l.sent().isEmpty());
        QVERIFY(!ifLoaded<frmchallengebox_single>());
        QVERIFY(!l.isCreator());
        trigger("mnuomni");
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TABLECREATE2 OMNICV_RANDOM 5")});
        QCOMPARE(ifLoaded<frmchallengebox_single>()->GameKey(), QStringLiteral("ocv"));
        trigger("mnuteamocv");
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TABLECREATE4")});
        QVERIFY(ifLoaded<frmchallengewaiting>() && ifLoaded<frmchallengewaiting>()->isVisible());
        QVERIFY(l.isCreator());
        trigger("mnuTreasureHunter_Side");
        QCOMPARE(l.shell().opened, QStringList{Deployment::website() + QStringLiteral("/Games/TreasureHunter.aspx")});
    }

    // The omni record that arrives while the create item lets events run does not undo its key.
    void omniKeyWinsOverEarlyRecord() {
        RoomLink l;
        // The record is handled while the create item lets events run.
        auto clock = std::make_shared<PumpingClock>();
        Services s = services();
        s.clock = clock;
        installServices(s);
        l.server.send(QStringLiteral("CHALLENGEBOXS 4 kira  0 MEMORY"));
        QVERIFY(QTest::qWaitFor([&] { return !l.con->lstPackets.empty(); }, 3000));
        clock->during = [&] { l.con->tmrPacket_Timer(); };
        trigger("mnuomni");
        frmchallengebox_single* room = ifLoaded<frmchallengebox_single>();
        QCOMPARE(room->Tablenumber(), int16_t(4));
        QCOMPARE(room->GameKey(), QStringLiteral("ocv"));
        QVERIFY(l.isCreator());
    }

    void tablesMenu() {
        RoomLink l;
        trigger("mnuTableInfo");
        QVERIFY(l.sent().isEmpty());
        selectTable(l.lobby, QStringLiteral("Table 5  Nyx          vs. {JOIN}"));
        l.lobby->intIdle = 3;
        trigger("mnuTableInfo");
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TABLEINFO 5")});
        QVERIFY(lastNotice(l).startsWith(QStringLiteral("<Info>  Fetching information on Table: 5 ")));
        QCOMPARE(l.lobby->intIdle, int16_t(0));
        l.dialogs().answer(vb::Yes);
        trigger("mnujointable");
        QCOMPARE(l.dialogs().boxes.last().text, QStringLiteral("Join Table 5?"));
        QCOMPARE(l.sent(), QStringList{QStringLiteral("TABLEJOIN 5")});
        QVERIFY(ifLoaded<frmchallengewaiting>() && ifLoaded<frmchallengewaiting>()->isVisible());
    }

    void chatActions() {
        RoomLink l;
        const std::pair<const char*, const char*> actions[] = {
            {"mnuChatChannelAuction", "/auction "}, {"mnuChatChannelEmote", "/me "}, {"mnuChatChannelGuildChat", "/guild "},
            {"mnuChatChannelOOC", "/ooc "}, {"mnuChatChannelShout", "/shout "},
            {"mnuChatUtilityAway", "/away [Insert a Random Message Here]"}, {"mnuChatUtilityNowPlaying", "/music "},
            {"mnuChatUtilityRandomRoll", "/random 1 100 "}, {"mnuChatUtilityPM", "/tell "},
            {"mnuChatUtilityChatLoggingOn", "/log on"}, {"mnuChatUtilityChatLoggingOff", "/log off"},
            {"mnuChatUtilityJoinsPartsOn", "/joins on"}, {"mnuChatUtilityJoinsPartsOff", "/joins off"},
            {"mnuChatUtilityToggleSoundOn", "/sound on"}, {"mnuChatUtilityToggleSoundOff", "/sound off"},
            {"mnuGuildCommandDisband", "/guilddisband "},
        };
        for (const auto& [name, text] : actions) {
            l.lobby->chatout->setText(QStringLiteral("half typed"));
            trigger(name);
            QCOMPARE(l.lobby->chatout->text(), QString::fromLatin1(text));
        }
        const QStringList notices = linesOf(l.lobby->chatin);
        QCOMPARE(notices.size(), 2);
        QVERIFY(notices[0].startsWith(QStringLiteral("<Syntax>  To randomly roll dice, type /random min max where min is the minimum "
                                                     "roll (must be greater than zero) and max is the maximum roll (must be less than 32000) ")));
        QVERIFY(notices[1].startsWith(QStringLiteral("<Syntax>  To send a private message by a chat command, type /tell player message ")));
        QVERIFY(l.sent().isEmpty());
    }

    // The lobby pops the menus up at the pointer.
    void popups() {
        RoomLink l;
        frmmenu* m = form<frmmenu>();
        l.lobby->cmdCreate_Click();
        QVERIFY(m->mnuchallengemenu->isVisible());
        m->mnuchallengemenu->hide();
        InGame = true;
        l.lobby->cmdCreate_Click();
        QVERIFY(!m->mnuchallengemenu->isVisible());
        l.lobby->lsttables_MouseUp(1);
        QVERIFY(m->mnuTables->isVisible());
        m->mnuTables->hide();
        l.lobby->playerlist_MouseUp(1);
        QVERIFY(!m->command->isVisible());
        l.lobby->playerlist_MouseUp(2);
        QVERIFY(m->command->isVisible());
        m->command->hide();
        QTest::mouseClick(l.lobby->imgChatActions, Qt::LeftButton);
        QVERIFY(m->mnuchatactions->isVisible());
        m->mnuchatactions->hide();
    }
};

QTEST_MAIN(tst_menus)
#include "tst_menus.moc"
