// The lobby's link pictures, link labels and menu bar: every control and item triggered by name
// opens its exact address, the bar holds its items in order, the full rush gauge fires once, the
// chat balloon pops up its menu, and the three window items write their notices and bring up
// their windows hidden, refreshed and shown.
#include "FakeWebService.h"
#include "LobbyHelpers.h"

#include "app/Deployment.h"
#include "app/HttpClient.h"
#include "economy/frmAvatars.h"
#include "economy/frmStarterDecks.h"
#include "economy/frmVAdvancement.h"
#include "lobby/LoadingWindow.h"
#include "lobby/fancychat.h"
#include "lobby/frmmenu.h"
#include "platform/RuntimeError.h"

#include <QMenuBar>
#include <QtTest>

namespace {
const QString kSite = QStringLiteral("http://www.corvadex.net");

// Away mode on, so that a test can see a click bring the player back.
void goAway(LoggedIn& c) {
    c.dialogs().type(QStringLiteral("brb"));
    c.lobby->mnuawayon_Click();
    c.sent();
}

// The bar as indented lines: "name caption", a separator as "name -", nesting by two blanks.
void walk(const QList<QAction*>& actions, const QString& indent, QStringList& out) {
    for (QAction* a : actions) {
        out << indent + a->objectName() + u' ' + (a->isSeparator() ? QStringLiteral("-") : a->text());
        if (a->menu()) walk(a->menu()->actions(), indent + QStringLiteral("  "), out);
    }
}

// Records, for each time the window hides or shows, how many queries the web service had by then.
struct Watch : QObject {
    FakeWebService* web;
    QStringList events;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide || e->type() == QEvent::Show)
            events << (e->type() == QEvent::Hide ? QStringLiteral("hide ") : QStringLiteral("show ")) + QString::number(web->commands().size());
        return false;
    }
};
}  // namespace

class tst_lobbylinks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qunsetenv("CORVADEX_WEBSITE"); }

    void linkControls_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("address");
        const QString stats = kSite + QStringLiteral("/kira-Player-Statistics.aspx");
        const QString products = kSite + QStringLiteral("/Products.aspx");
        const QString cash = kSite + QStringLiteral("/Player/EarnCVXCash.aspx");
        QTest::newRow("achievements") << "imgAchievement" << kSite + "/Achievements.aspx";
        QTest::newRow("card wiki") << "imgCardWiki" << kSite + "/Corvada-Deck-Index.aspx";
        QTest::newRow("quests") << "imgCashQuests" << kSite + "/Quests.aspx";
        QTest::newRow("advert") << "imgChatAds" << products;
        QTest::newRow("forum") << "imgForum" << kSite + "/starvale-corvada-forums/";
        QTest::newRow("fairdome") << "imgFairdome" << kSite + "/Games/TreasureHunter.aspx";
        QTest::newRow("help wiki") << "imgHelpWiki" << kSite + "/Corvada-Help-Index.aspx";
        QTest::newRow("home") << "imgHome" << kSite + "/";
        QTest::newRow("leaderboard") << "imgLeaderboard" << kSite + "/Corvada-Meritscore-Achievements-Leaderboard.aspx";
        QTest::newRow("bank") << "imgZorviumBank" << kSite + "/ZorviumBank.aspx";
        QTest::newRow("membership") << "imgMembership" << products;
        QTest::newRow("my shop") << "imgMyShop" << kSite + "/Player/MyMerchant.aspx";
        QTest::newRow("my stats") << "imgMyStats" << stats;
        QTest::newRow("portal") << "imgPortal" << Deployment::portal() + "/";
        QTest::newRow("cash badge") << "imgCVXCash" << cash;
        QTest::newRow("video") << "imgVideo" << Deployment::videoSite();
        QTest::newRow("deposit") << "lblDeposit" << products;
        QTest::newRow("earn") << "lblEarn" << cash;
        QTest::newRow("get coins") << "lblGetCoins" << kSite + "/How-To-Earn-Gold.aspx";
        QTest::newRow("get points") << "lblGetPoints" << kSite + "/How-To-Earn-Active-Points.aspx";
        QTest::newRow("player") << "lblPlayer" << stats;
        QTest::newRow("jackpots") << "lblJackpots" << kSite + "/GameInfo/What-Is-Jackpots.aspx";
        QTest::newRow("cash has none") << "lblCash" << "";
    }
    void linkControls() {
        QFETCH(QString, control);
        QFETCH(QString, address);
        LoggedIn c;
        goAway(c);
        PictureLabel* picture = c.lobby->findChild<PictureLabel*>(control);
        QVERIFY(picture);
        c.lobby->show();
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(c.fx->services.shell->opened, address.isEmpty() ? QStringList() : QStringList{address});
        QCOMPARE(c.lobby->mnuawayon->isChecked(), address.isEmpty());
    }

    void menuItems_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("address");
        const QString portal = kSite + QStringLiteral("/Login.aspx");
        QTest::newRow("game portal") << "mnugameportal" << portal;
        QTest::newRow("game portal again") << "mnugameportalweb" << portal;
        QTest::newRow("card viewer") << "mnuportalviewer" << kSite + "/Player/CardViewer.aspx";
        QTest::newRow("guilds") << "mnuGuildS" << kSite + "/Guild/GuildList.aspx";
        QTest::newRow("artifacts") << "mnuArtifacts" << kSite + "/ZorviumStore/ZorviumArtifacts.aspx";
        QTest::newRow("card packs") << "mnuCardPacks" << kSite + "/ZorviumStore/ZorviumPacks.aspx";
        QTest::newRow("loot cards") << "mnuLootCards" << kSite + "/ZorviumStore/ZorviumLootCards.aspx";
        QTest::newRow("player shops") << "mnuPlayerShops" << kSite + "/Player/MyMerchant.aspx";
        QTest::newRow("tournaments") << "mnuTournament" << kSite + "/Tournaments.aspx";
        QTest::newRow("customer service") << "mnuCustomerService" << Deployment::forum() + "/support/";
        QTest::newRow("terms") << "mnuTermsofService" << kSite + "/support.php?area=tos";
        QTest::newRow("cash daily") << "mnuCVXCashDaily" << kSite + "/Player/EarnCVXCash.aspx";
        QTest::newRow("forums") << "mnuForums" << Deployment::forum() + "/";
        QTest::newRow("treasure hunter") << "mnuTreasureHunter" << kSite + "/Games/TreasureHunter.aspx";
        QTest::newRow("account") << "mnueditpass" << kSite + "/Player/MyAccount.aspx";
    }
    void menuItems() {
        QFETCH(QString, item);
        QFETCH(QString, address);
        LoggedIn c;
        goAway(c);
        QAction* a = c.lobby->menuBar()->findChild<QAction*>(item);
        QVERIFY(a);
        a->trigger();
        QCOMPARE(c.fx->services.shell->opened, QStringList{address});
        QVERIFY(!c.lobby->mnuawayon->isChecked());
    }

    void menuBarInOrder() {
        ClientFixture fx;
        QStringList bar;
        walk(form<frmchildchat>()->menuBar()->actions(), QString(), bar);
        QCOMPARE(bar, (QStringList{
                          "mnuFile File", "  mnuExit Exit",
                          "mnugame Game", "  mnugameportal Web-Based Game Portal", "  hr2 -",
                          "  mnufairdome Fairdome", "    mnuTreasureHunter Treasure Hunter", "  mnuhr2 -",
                          "  mnuadmin Admin Login", "  mnuAAdvancement Advancement", "    mnuAA Alternate Advancement",
                          "    mnuVAdvancement Veteran Advancement", "  mnuaway Away Mode", "    mnuawayon On", "    mnuawayoff Off",
                          "  mnuportalviewer Card Viewer", "  mnuclearchat Clear Chat", "  mnuconfig Configuration Window",
                          "  mnufavrules Customize Favorite Rules", "  mnuGuildS Guilds",
                          "  mnuZorviumGeneralStore Zorvium General Store", "    mnuAvatars Avatars",
                          "    mnuArtifacts Buy/Sell Artifacts", "    mnuCardPacks Card Packs", "    mnuLootCards Loot Cards",
                          "  mnuPlayerMaintenance Player Maintenance", "    mnueditpass Edit your Account/Password/Get Surnames",
                          "  mnuPlayerShops Player Shops", "  mnuStarter Starter Decks", "    mnuNewDecks Get New Decks",
                          "  mnuTournament Tournaments",
                          "mnuwebsite Website", "  mnupoweruser Become a Power User!",
                          "  mnuCustomerService Customer Service - Create a Support Ticket", "  mnulostpass Lost Your Password?",
                          "  mnuplayermanual Player Manual", "  mnusubmitbug Submit a Bug",
                          "  mnuTermsofService Terms of Service - Rules of Conduct", "  mnugameportalweb Web-Based Game Portal",
                          "mnuCVXCashDaily Earn CVX Cash Daily", "mnuForums Corvadex Forums"}));
    }

    void rushGauge_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<int>("after");
        QTest::newRow("full") << 234 << QStringList{"RUSH"} << 0;
        QTest::newRow("one short") << 233 << QStringList() << 233;
        QTest::newRow("empty") << 0 << QStringList() << 0;
    }
    void rushGauge() {
        QFETCH(int, width);
        QFETCH(QStringList, sent);
        QFETCH(int, after);
        LoggedIn c;
        goAway(c);
        c.lobby->imgBar->resize(width, c.lobby->imgBar->height());
        c.lobby->show();
        for (int click = 0; click < 2; ++click) QTest::mouseClick(c.lobby->imgBar, Qt::LeftButton, {}, QPoint(0, 2));
        QCOMPARE(c.sent(), sent);
        QCOMPARE(c.lobby->imgBar->width(), after);
        // Firing is no return from away mode.
        QVERIFY(c.lobby->mnuawayon->isChecked());
    }

    void chatBalloonPopsUpTheChatActions() {
        LoggedIn c;
        c.lobby->show();
        QTest::mouseClick(c.lobby->imgChatActions, Qt::LeftButton);
        QVERIFY(form<frmmenu>()->mnuchatactions->isVisible());
        form<frmmenu>()->mnuchatactions->hide();
    }

    void windowItems_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QStringList>("queries");
        const QString wait = QStringLiteral(" screen is loading, please wait... This may take a few seconds depending on your internet "
                                            "connection.  Maximum time is 60-80 seconds.  Do not panic if the screen freezes while it loads.");
        QTest::newRow("avatars") << "mnuAvatars" << "frmAvatars" << "The zorvium general store" + wait
                                 << QStringList{"call sps_GetAvatars('f', 'head')", "call sps_GetAvatarInventory('kira')"};
        QTest::newRow("starter decks") << "mnuNewDecks" << "frmStarterDecks" << "The starter deck" + wait
                                       << QStringList{"call sps_FindStarterDecks()"};
        QTest::newRow("veteran") << "mnuVAdvancement" << "frmVAdvancement" << "The veteran advancement" + wait
                                 << QStringList{"call sps_PlayerVA('kira')", "call sps_PlayerVAStats('kira')"};
    }
    void windowItems() {
        QFETCH(QString, item);
        QFETCH(QString, window);
        QFETCH(QString, notice);
        QFETCH(QStringList, queries);
        LoggedIn c;
        FakeWebService web;
        qputenv("CORVADEX_WEBSERVICE", web.url().toUtf8());
        HttpClient::setTimeouts({500, 3000});
        c.lobby->AvatarGender(QStringLiteral("f"));
        goAway(c);
        QAction* a = c.lobby->menuBar()->findChild<QAction*>(item);
        QVERIFY(a);
        Watch watch;
        watch.web = &web;
        // First open, then again while the window is open.
        for (int round = 0; round < 2; ++round) {
            const int before = int(web.commands().size());
            a->trigger();
            QCOMPARE(linesOf(c.lobby->chatin).last(), QStringLiteral("<Loading>  ") + notice + u' ' + ChatTime());
            QCOMPARE(lastColour(c.lobby->chatin), ChatColour::Yellow);
            QWidget* w = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == window && top->isVisible()) w = top;
            QVERIFY(w);
            QCOMPARE(web.commands().mid(web.commands().size() - queries.size()), queries);
            if (round == 0) {
                w->installEventFilter(&watch);
            } else {
                // Hidden before the first query, shown after the last.
                QCOMPARE(watch.events, (QStringList{QStringLiteral("hide ") + QString::number(before),
                                                    QStringLiteral("show ") + QString::number(web.commands().size())}));
            }
        }
        // Opening a window is no return from away mode.
        QVERIFY(c.lobby->mnuawayon->isChecked());
        qunsetenv("CORVADEX_WEBSERVICE");
    }

    void aWindowThatFailsLeavesTheLobbyUsable_data() {
        QTest::addColumn<bool>("loads");
        QTest::newRow("refresh fails") << true;
        QTest::newRow("load fails") << false;
    }
    void aWindowThatFailsLeavesTheLobbyUsable() {
        QFETCH(bool, loads);
        LoggedIn c;
        OpenLoadingWindow(
            QStringLiteral("Loading it."), QStringLiteral("veteran advancement"),
            [&]() -> QWidget* {
                if (!loads) throw RuntimeError(QStringLiteral("Out of memory"));
                return form<frmVAdvancement>();
            },
            [](QWidget*) { throw RuntimeError(QStringLiteral("Object required")); });
        const QStringList log = linesOf(c.lobby->chatin);
        QCOMPARE(log.mid(log.size() - 2),
                 (QStringList{QStringLiteral("<Loading>  Loading it. ") + ChatTime(),
                              QStringLiteral("<Error>  The veteran advancement screen could not be loaded. Please try again later. ") + ChatTime()}));
        QCOMPARE(lastColour(c.lobby->chatin), ChatColour::Red);
        // A window that loaded is shown with what it holds.
        QCOMPARE(ifLoaded<frmVAdvancement>() && ifLoaded<frmVAdvancement>()->isVisible(), loads);
        c.lobby->tmrPing_Timer();
        QCOMPARE(c.sent(), QStringList{QStringLiteral("PING")});
    }
};

QTEST_MAIN(tst_lobbylinks)
#include "tst_lobbylinks.moc"
