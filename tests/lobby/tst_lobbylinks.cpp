// The lobby's link pictures, labels and menu bar against a fake server: each control and item,
// triggered by name, opens its exact address; the bar holds its items in order; the full rush
// gauge fires once; the window items write their notices and hide, refresh and show their windows.
#include "FakeWebService.h"
#include "LobbyHelpers.h"

#include "app/Deployment.h"
#include "app/HttpClient.h"
#include "economy/frmVAdvancement.h"
#include "lobby/LoadingWindow.h"
#include "lobby/fancychat.h"
#include "lobby/frmmenu.h"
#include "platform/RuntimeError.h"

#include <QMenuBar>
#include <QtTest>

namespace {
const QString kSite = QStringLiteral("http://www.corvadex.net");

void goAway(LoggedIn& c) {
    c.dialogs().type(QStringLiteral("brb"));
    c.lobby->mnuawayon_Click();
    c.sent();
}

// The bar as lines "name caption" ("-" for a separator), two blanks deeper per level.
void walk(const QList<QAction*>& actions, const QString& indent, QStringList& out) {
    for (QAction* a : actions) {
        out << indent + a->objectName() + u' ' + (a->isSeparator() ? QStringLiteral("-") : a->text());
        if (a->menu()) walk(a->menu()->actions(), indent + QStringLiteral("  "), out);
    }
}

// How many queries the web service had each time the window hid or showed.
// The veteran window closes itself without its abilities and figures, so the service has both.
void answerWindows(FakeWebService& web) {
    web.answer(QStringLiteral("call sps_PlayerVA('kira')"), {{{"Ability", "string"}}, {}});
    web.answer(QStringLiteral("call usp_FindDecks()"), {{{"Deck", "string"}}, {{"Standard"}}});
    web.answer(QStringLiteral("call sps_ShopInfo('kira')"), {{{"title", "string"}, {"description", "string"}}, {{"Kira's", "Cards"}}});
    web.answer(QStringLiteral("call sps_ShopCardsOnly('kira')"), {{{"Card", "string"}, {"Price", "integer"}}, {}});
    web.answer(QStringLiteral("call sps_PlayerCardsOnly('kira', 'Standard')"), {{{"Card", "string"}, {"Total", "integer"}}, {}});
    web.answer(QStringLiteral("call sps_PlayerVAStats('kira')"),
               {{{"EXP", "string"}, {"Percent", "integer"}, {"AAPoints", "integer"}, {"AATrained", "integer"}}, {{"0", "0", "0", "0"}}});
}

struct Watch : QObject {
    FakeWebService* web = nullptr;
    QStringList events;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide || e->type() == QEvent::Show)
            events << QString::fromLatin1(e->type() == QEvent::Hide ? "hide %1" : "show %1").arg(web->commands().size());
        return false;
    }
};
}  // namespace

class tst_lobbylinks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qunsetenv("CORVADEX_WEBSITE"); }

    void links_data() {
        QTest::addColumn<QString>("control");  // a picture or label clicked, or a menu item triggered
        QTest::addColumn<QString>("address");  // empty: nothing opens
        const QString stats = kSite + "/kira-Player-Statistics.aspx", products = kSite + "/Products.aspx",
                      cash = kSite + "/Player/EarnCVXCash.aspx", portal = kSite + "/Login.aspx", shop = kSite + "/Player/MyMerchant.aspx";
        const std::pair<const char*, QString> rows[] = {
            {"imgAchievement", kSite + "/Achievements.aspx"}, {"imgCardWiki", kSite + "/Corvada-Deck-Index.aspx"},
            {"imgCashQuests", kSite + "/Quests.aspx"}, {"imgChatAds", products}, {"imgForum", kSite + "/starvale-corvada-forums/"},
            {"imgFairdome", kSite + "/Games/TreasureHunter.aspx"}, {"imgHelpWiki", kSite + "/Corvada-Help-Index.aspx"},
            {"imgHome", kSite + "/"}, {"imgLeaderboard", kSite + "/Corvada-Meritscore-Achievements-Leaderboard.aspx"},
            {"imgZorviumBank", kSite + "/ZorviumBank.aspx"}, {"imgMembership", products}, {"imgMyShop", shop},
            {"imgMyStats", stats}, {"imgPortal", Deployment::portal() + "/"}, {"imgCVXCash", cash},
            {"imgVideo", Deployment::videoSite()}, {"lblDeposit", products}, {"lblEarn", cash},
            {"lblGetCoins", kSite + "/How-To-Earn-Gold.aspx"}, {"lblGetPoints", kSite + "/How-To-Earn-Active-Points.aspx"},
            {"lblPlayer", stats}, {"lblJackpots", kSite + "/GameInfo/What-Is-Jackpots.aspx"}, {"lblCash", QString()},
            {"mnugameportal", portal}, {"mnugameportalweb", portal}, {"mnuportalviewer", kSite + "/Player/CardViewer.aspx"},
            {"mnuGuildS", kSite + "/Guild/GuildList.aspx"}, {"mnuArtifacts", kSite + "/ZorviumStore/ZorviumArtifacts.aspx"},
            {"mnuCardPacks", kSite + "/ZorviumStore/ZorviumPacks.aspx"}, {"mnuLootCards", kSite + "/ZorviumStore/ZorviumLootCards.aspx"},
            {"mnuPlayerShops", shop}, {"mnuTournament", kSite + "/Tournaments.aspx"},
            {"mnuCustomerService", Deployment::forum() + "/support/"}, {"mnuTermsofService", kSite + "/support.php?area=tos"},
            {"mnuCVXCashDaily", cash}, {"mnuForums", Deployment::forum() + "/"}, {"mnuTreasureHunter", kSite + "/Games/TreasureHunter.aspx"},
        };
        for (const auto& [control, address] : rows) QTest::newRow(control) << QString::fromLatin1(control) << address;
    }
    void links() {
        QFETCH(QString, control);
        QFETCH(QString, address);
        LoggedIn c;
        goAway(c);
        c.lobby->show();
        if (auto* picture = c.lobby->findChild<PictureLabel*>(control))
            QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(2, 2));
        else if (auto* item = c.lobby->menuBar()->findChild<QAction*>(control))
            item->trigger();
        else
            QFAIL("no such control");
        QCOMPARE(c.fx->services.shell->opened, address.isEmpty() ? QStringList() : QStringList{address});
        // A link is an action of the player: the away mode ends.
        QCOMPARE(c.lobby->mnuawayon->isChecked(), address.isEmpty());
    }

    void menuBarInOrder() {
        ClientFixture fx;
        QStringList bar;
        walk(form<frmchildchat>()->menuBar()->actions(), QString(), bar);
        QCOMPARE(bar, (QStringList{
            "mnuFile File", "  mnuExit Exit", "mnugame Game", "  mnugameportal Web-Based Game Portal", "  hr2 -",
            "  mnufairdome Fairdome", "    mnuTreasureHunter Treasure Hunter", "  mnuhr2 -", "  mnuadmin Admin Login",
            "  mnuAAdvancement Advancement", "    mnuAA Alternate Advancement", "    mnuVAdvancement Veteran Advancement",
            "  mnuaway Away Mode", "    mnuawayon On", "    mnuawayoff Off", "  mnuportalviewer Card Viewer", "  mnuclearchat Clear Chat",
            "  mnuconfig Configuration Window", "  mnufavrules Customize Favorite Rules", "  mnuGuildS Guilds",
            "  mnuZorviumGeneralStore Zorvium General Store", "    mnuAvatars Avatars", "    mnuArtifacts Buy/Sell Artifacts",
            "    mnuCardPacks Card Packs", "    mnuLootCards Loot Cards", "  mnuPlayerMaintenance Player Maintenance",
            "    mnueditpass Edit your Account/Password/Get Surnames", "  mnuPlayerShops Player Shops", "  mnuStarter Starter Decks",
            "    mnuNewDecks Get New Decks", "  mnuTournament Tournaments", "mnuwebsite Website", "  mnupoweruser Become a Power User!",
            "  mnuCustomerService Customer Service - Create a Support Ticket", "  mnulostpass Lost Your Password?",
            "  mnuplayermanual Player Manual", "  mnusubmitbug Submit a Bug", "  mnuTermsofService Terms of Service - Rules of Conduct",
            "  mnugameportalweb Web-Based Game Portal", "mnuCVXCashDaily Earn CVX Cash Daily", "mnuForums Corvadex Forums"}));
    }

    void rushGaugeAndChatBalloon_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<int>("after");
        QTest::newRow("full") << 234 << QStringList{"RUSH"} << 0;
        QTest::newRow("one short") << 233 << QStringList() << 233;
        QTest::newRow("empty") << 0 << QStringList() << 0;
    }
    void rushGaugeAndChatBalloon() {
        QFETCH(int, width);
        QFETCH(QStringList, sent);
        QFETCH(int, after);
        LoggedIn c;
        goAway(c);
        c.lobby->show();
        c.lobby->imgBar->resize(width, c.lobby->imgBar->height());
        // A second click before the server refills the gauge fires nothing.
        for (int click = 0; click < 2; ++click) QTest::mouseClick(c.lobby->imgBar, Qt::LeftButton, {}, QPoint(0, 2));
        QCOMPARE(c.sent(), sent);
        QCOMPARE(c.lobby->imgBar->width(), after);
        QTest::mouseClick(c.lobby->imgChatActions, Qt::LeftButton);
        QVERIFY(form<frmmenu>()->mnuchatactions->isVisible());
        form<frmmenu>()->mnuchatactions->hide();
        // Neither is a return from away mode.
        QVERIFY(c.lobby->mnuawayon->isChecked());
    }

    void windowItems_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QStringList>("queries");
        QTest::newRow("avatars") << "mnuAvatars" << "frmAvatars" << "zorvium general store"
                                 << QStringList{"call sps_GetAvatars('f', 'head')", "call sps_GetAvatarInventory('kira')"};
        QTest::newRow("starter decks") << "mnuNewDecks" << "frmStarterDecks" << "starter deck" << QStringList{"call sps_FindStarterDecks()"};
        QTest::newRow("veteran") << "mnuVAdvancement" << "frmVAdvancement" << "veteran advancement"
                                 << QStringList{"call sps_PlayerVA('kira')", "call sps_PlayerVAStats('kira')"};
        // The shop icon opens the web page; its right-click menu opens the set-up window.
        QTest::newRow("shop setup") << "mnuShopSetup" << "frmmerchant" << "player shop setup"
                                    << QStringList{"call usp_FindDecks()", "call sps_ShopInfo('kira')", "call sps_ShopCardsOnly('kira')",
                                                   "call sps_PlayerCardsOnly('kira', 'Standard')"};
    }
    void windowItems() {
        QFETCH(QString, item);
        QFETCH(QString, window);
        QFETCH(QString, screen);
        QFETCH(QStringList, queries);
        LoggedIn c;
        FakeWebService web;
        answerWindows(web);
        qputenv("CORVADEX_WEBSERVICE", web.url().toUtf8());
        HttpClient::setTimeouts({500, 3000});
        c.lobby->AvatarGender(QStringLiteral("f"));
        goAway(c);
        Watch watch;
        watch.web = &web;
        // The first time, and again while the window is open.
        for (int round = 0; round < 2; ++round) {
            const qsizetype before = web.commands().size();
            QAction* action = c.lobby->findChild<QAction*>(item);
            if (action->parent() == c.lobby->mnuMyShop) {
                QTest::mouseClick(c.lobby->imgMyShop, Qt::RightButton);
                QVERIFY(c.lobby->mnuMyShop->isVisible());
                c.lobby->mnuMyShop->hide();
            }
            action->trigger();
            QCOMPARE(linesOf(c.lobby->chatin).last(),
                     "<Loading>  The " + screen + " screen is loading, please wait... This may take a few seconds depending on your "
                     "internet connection.  Maximum time is 60-80 seconds.  Do not panic if the screen freezes while it loads. " + ChatTime());
            QCOMPARE(lastColour(c.lobby->chatin), ChatColour::Yellow);
            QWidget* w = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets()) w = top->objectName() == window && top->isVisible() ? top : w;
            QVERIFY(w);
            QCOMPARE(web.commands().mid(web.commands().size() - queries.size()), queries);
            // Hidden before its first query, shown after its last.
            if (round == 1) QCOMPARE(watch.events, (QStringList{QStringLiteral("hide %1").arg(before), QStringLiteral("show %1").arg(web.commands().size())}));
            w->installEventFilter(&watch);
        }
        QVERIFY(c.lobby->mnuawayon->isChecked());
        qunsetenv("CORVADEX_WEBSERVICE");
    }

    void aWindowThatFailsLeavesTheLobbyUsable() {
        LoggedIn c;
        FakeWebService web;
        answerWindows(web);
        qputenv("CORVADEX_WEBSERVICE", web.url().toUtf8());
        const auto fails = [](auto...) -> QWidget* { throw RuntimeError(QStringLiteral("Object required")); };
        OpenLoadingWindow(QStringLiteral("veteran advancement"), fails, fails);
        OpenLoadingWindow(QStringLiteral("veteran advancement"), [] { return form<frmVAdvancement>(); }, fails);
        const QString loading = "<Loading>  " + LoadingNotice(QStringLiteral("veteran advancement")) + u' ' + ChatTime();
        const QString failed = "<Error>  The veteran advancement screen could not be loaded. Please try again later. " + ChatTime();
        QCOMPARE(linesOf(c.lobby->chatin).mid(linesOf(c.lobby->chatin).size() - 4), (QStringList{loading, failed, loading, failed}));
        QCOMPARE(lastColour(c.lobby->chatin), ChatColour::Red);
        // A window that loaded is shown with what it holds; the lobby goes on.
        QVERIFY(ifLoaded<frmVAdvancement>() && ifLoaded<frmVAdvancement>()->isVisible());
        qunsetenv("CORVADEX_WEBSERVICE");
        c.lobby->tmrPing_Timer();
        QCOMPARE(c.sent(), QStringList{QStringLiteral("PING")});
    }
};

QTEST_MAIN(tst_lobbylinks)
#include "tst_lobbylinks.moc"
