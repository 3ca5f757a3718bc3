#include "lobby/frmchildchat.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat_parts.h"
#include "lobby/frmmenu.h"

using namespace lobbyparts;

// The link pictures, labels and menu items: each opens a page of the web site, its forum or its
// portal, or the video site's home page; a few do exactly what another control does.

void frmchildchat::connectLinks() {
    const std::pair<PictureLabel*, void (frmchildchat::*)()> links[] = {
        {imgAchievement, &frmchildchat::imgAchievement_Click}, {imgCardWiki, &frmchildchat::imgCardWiki_Click},
        {imgCashQuests, &frmchildchat::imgCashQuests_Click},   {imgChatAds, &frmchildchat::imgChatAds_Click},
        {imgForum, &frmchildchat::imgForum_Click},             {imgFairdome, &frmchildchat::imgFairdome_Click},
        {imgHelpWiki, &frmchildchat::imgHelpWiki_Click},       {imgHome, &frmchildchat::imgHome_Click},
        {imgLeaderboard, &frmchildchat::imgLeaderboard_Click}, {imgZorviumBank, &frmchildchat::imgZorviumBank_Click},
        {imgMembership, &frmchildchat::imgMembership_Click},   {imgMyShop, &frmchildchat::imgMyShop_Click},
        {imgMyStats, &frmchildchat::imgMyStats_Click},         {imgPortal, &frmchildchat::imgPortal_Click},
        {imgCVXCash, &frmchildchat::imgCVXCash_Click},         {imgVideo, &frmchildchat::imgVideo_Click},
        {lblDeposit, &frmchildchat::lblDeposit_Click},         {lblEarn, &frmchildchat::lblEarn_Click},
        {lblGetCoins, &frmchildchat::lblGetCoins_Click},       {lblGetPoints, &frmchildchat::lblGetPoints_Click},
        {lblPlayer, &frmchildchat::lblPlayer_Click},           {lblJackpots, &frmchildchat::lblJackpots_Click},
        {imgBar, &frmchildchat::imgBar_Click},                 {imgChatActions, &frmchildchat::imgChatActions_Click},
    };
    for (const auto& [control, click] : links) connect(control, &PictureLabel::Click, this, click);
}

void frmchildchat::openWebPage(const QString& path) { OpenLink(Deployment::website() + path); }

void frmchildchat::mnuRewards_Click() { openWebPage(QStringLiteral("/rfrewards.php?nick=") + Nickname); }
void frmchildchat::mnupoweruser_Click() { openWebPage(QStringLiteral("/support.php?area=membership")); }
void frmchildchat::mnuTreasureHunter_Click() { openWebPage(QStringLiteral("/Games/TreasureHunter.aspx")); }
void frmchildchat::mnueditpass_Click() { openWebPage(QStringLiteral("/Player/MyAccount.aspx")); }
void frmchildchat::mnulostpass_Click() { openWebPage(QStringLiteral("/support/")); }
void frmchildchat::mnuplayermanual_Click() { openWebPage(QStringLiteral("/trainer.php?area=index")); }
void frmchildchat::mnusubmitbug_Click() { OpenLink(Deployment::forum() + QStringLiteral("/support/")); }
void frmchildchat::mnugameportal_Click() { openWebPage(QStringLiteral("/Login.aspx")); }
void frmchildchat::mnugameportalweb_Click() { mnugameportal_Click(); }
void frmchildchat::mnuportalviewer_Click() { openWebPage(QStringLiteral("/Player/CardViewer.aspx")); }
void frmchildchat::mnuGuildS_Click() { openWebPage(QStringLiteral("/Guild/GuildList.aspx")); }
void frmchildchat::mnuArtifacts_Click() { openWebPage(QStringLiteral("/ZorviumStore/ZorviumArtifacts.aspx")); }
void frmchildchat::mnuCardPacks_Click() { openWebPage(QStringLiteral("/ZorviumStore/ZorviumPacks.aspx")); }
void frmchildchat::mnuLootCards_Click() { openWebPage(QStringLiteral("/ZorviumStore/ZorviumLootCards.aspx")); }
void frmchildchat::mnuPlayerShops_Click() { imgMyShop_Click(); }
void frmchildchat::mnuTournament_Click() { openWebPage(QStringLiteral("/Tournaments.aspx")); }
void frmchildchat::mnuCustomerService_Click() { OpenLink(Deployment::forum() + QStringLiteral("/support/")); }
void frmchildchat::mnuTermsofService_Click() { openWebPage(QStringLiteral("/support.php?area=tos")); }
void frmchildchat::mnuCVXCashDaily_Click() { openWebPage(QStringLiteral("/Player/EarnCVXCash.aspx")); }
void frmchildchat::mnuForums_Click() { OpenLink(Deployment::forum() + QStringLiteral("/")); }

void frmchildchat::imgAchievement_Click() { openWebPage(QStringLiteral("/Achievements.aspx")); }
void frmchildchat::imgCardWiki_Click() { openWebPage(QStringLiteral("/Corvada-Deck-Index.aspx")); }
void frmchildchat::imgCashQuests_Click() { openWebPage(QStringLiteral("/Quests.aspx")); }
void frmchildchat::imgChatAds_Click() { openWebPage(QStringLiteral("/Products.aspx")); }
void frmchildchat::imgForum_Click() { openWebPage(QStringLiteral("/starvale-corvada-forums/")); }
void frmchildchat::imgFairdome_Click() { openWebPage(QStringLiteral("/Games/TreasureHunter.aspx")); }
void frmchildchat::imgHelpWiki_Click() { openWebPage(QStringLiteral("/Corvada-Help-Index.aspx")); }
void frmchildchat::imgHome_Click() { openWebPage(QStringLiteral("/")); }
void frmchildchat::imgLeaderboard_Click() { openWebPage(QStringLiteral("/Corvada-Meritscore-Achievements-Leaderboard.aspx")); }
void frmchildchat::imgZorviumBank_Click() { openWebPage(QStringLiteral("/ZorviumBank.aspx")); }
void frmchildchat::imgMembership_Click() { openWebPage(QStringLiteral("/Products.aspx")); }
void frmchildchat::imgMyShop_Click() { openWebPage(QStringLiteral("/Player/MyMerchant.aspx")); }
void frmchildchat::imgMyStats_Click() { lblPlayer_Click(); }
void frmchildchat::imgPortal_Click() { OpenLink(Deployment::portal() + QStringLiteral("/")); }
void frmchildchat::imgCVXCash_Click() { openWebPage(QStringLiteral("/Player/EarnCVXCash.aspx")); }
void frmchildchat::imgVideo_Click() { OpenLink(Deployment::videoSite()); }
void frmchildchat::lblDeposit_Click() { imgMembership_Click(); }
void frmchildchat::lblEarn_Click() { imgCVXCash_Click(); }
void frmchildchat::lblGetCoins_Click() { openWebPage(QStringLiteral("/How-To-Earn-Gold.aspx")); }
void frmchildchat::lblGetPoints_Click() { openWebPage(QStringLiteral("/How-To-Earn-Active-Points.aspx")); }
// The nickname goes into the path as it is: it holds only letters, digits and hyphens.
void frmchildchat::lblPlayer_Click() { openWebPage(u'/' + ClientConfig().Username() + QStringLiteral("-Player-Statistics.aspx")); }
void frmchildchat::lblJackpots_Click() { openWebPage(QStringLiteral("/GameInfo/What-Is-Jackpots.aspx")); }

// The full gauge fires the special attack once; it empties at once, and only the server's next
// rush figure fills it again.
void frmchildchat::imgBar_Click() {
    shielded("frmchildchat::imgBar_Click", [&] {
        if (imgBar->width() != kRushWidth) return;
        send(QStringLiteral("RUSH"));
        imgBar->resize(0, imgBar->height());
    });
}

void frmchildchat::imgChatActions_Click() {
    shielded("frmchildchat::imgChatActions_Click", [&] { popupAtPointer(form<frmmenu>()->mnuchatactions); });
}
