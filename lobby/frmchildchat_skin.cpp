#include "lobby/frmchildchat.h"

#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modSkin.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat_parts.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <functional>

using namespace lobbyparts;

// ---- Load: the skin ------------------------------------------------------------------------

void frmchildchat::Form_Load() {
    shielded("frmchildchat::Form_Load", [&] { applySkin(); });
}

void frmchildchat::applySkin() {
    const QString face = GetSkinValue(QStringLiteral("main"), QStringLiteral("fontface"));
    const QString sizeText = GetSkinValue(QStringLiteral("main"), QStringLiteral("fontsize"));
    resumeNext([&] {
        QFont f = chatin->document()->defaultFont();
        if (!face.isEmpty()) f.setFamily(face);
        if (vbVal(sizeText) > 0) f.setPointSizeF(vbVal(sizeText));
        chatin->document()->setDefaultFont(f);
    });
    resumeNext([&] {
        QFont f = chatout->font();
        if (!face.isEmpty()) f.setFamily(face);
        if (vbIsNumeric(sizeText) && vbVal(sizeText) > 0) f.setPointSizeF(vbVal(sizeText));
        chatout->setFont(f);
    });

    const QCursor hand = handCursor();
    // One picture of the skin: its value, or the built-in file with a notice (and the out-of-date
    // flag) when the skin has none. A named file that cannot be loaded is skipped silently.
    const auto skinPicture = [&](const char* section, const char* key, const std::function<void(const QPixmap&)>& apply,
                                 const QString& fallback, const QString& notice) {
        resumeNext([&] {
            const QString value = GetSkinValue(QString::fromLatin1(section), QString::fromLatin1(key));
            QPixmap p;
            if (!value.isEmpty()) {
                if (LoadClientPicture(p, QStringLiteral("\\skins") + value)) apply(p);
                return;
            }
            ClientConfig().SkinOutofDate(-1);
            if (!notice.isEmpty()) addmsg(notice, kNoticeRed);
            if (LoadClientPicture(p, fallback)) apply(p);
        });
    };
    const auto into = [](QLabel* l) { return [l](const QPixmap& p) { l->setPixmap(p); }; };
    const auto iconNotice = [](const char* name) {
        return QStringLiteral("The application could not find the ") + QString::fromLatin1(name) +
               QStringLiteral(" icon, used the default instead. Run the patcher.");
    };

    skinPicture("controlpanel", "background",
                [this](const QPixmap& p) {
                    QPalette pal = m_panel->palette();
                    pal.setBrush(QPalette::Window, QBrush(p));
                    m_panel->setPalette(pal);
                },
                QStringLiteral("\\skins\\default\\control_panel.jpg"),
                QStringLiteral("The application could not find a chat interface skin, used the default instead. Run the patcher."));
    skinPicture("controlpanel", "snapshot", into(trigger_snapshot), QStringLiteral("\\skins\\default\\snapshot.gif"),
                QStringLiteral("The application could not find a snapshot button, used the default instead. Run the patcher."));
    trigger_snapshot->setCursor(hand);

    struct IconRow {
        const char* key;
        PictureLabel* control;
        const char* file;
        const char* name;
    };
    const IconRow iconRows[] = {
        {"achievement", imgAchievement, "Achievement.gif", "achievement"},
        {"cardwiki", imgCardWiki, "Card Wiki.gif", "card wiki"},
        {"helpwiki", imgHelpWiki, "Help Wiki.gif", "help wiki"},
        {"quests", imgCashQuests, "Quests.gif", "quests"},
        {"forum", imgForum, "Forum.gif", "forum"},
        {"website", imgHome, "Website.gif", "website"},
        {"portal", imgPortal, "Portal.gif", "portal"},
        {"fairdome", imgFairdome, "Fairdome.gif", "fairdome"},
        {"leaderboard", imgLeaderboard, "Leaderboard.gif", "leaderboard"},
        {"zorviumbank", imgZorviumBank, "Zorvium Bank.gif", "zorvium bank"},
        {"membership", imgMembership, "Membership.gif", "membership"},
        {"myshop", imgMyShop, "My Shop.gif", "my shop"},
        {"mystats", imgMyStats, "My Stats.gif", "my stats"},
        {"video", imgVideo, "video.gif", "video"},
    };
    for (const IconRow& row : iconRows) {
        skinPicture("icons", row.key, into(row.control), QStringLiteral("\\skins\\icons\\") + QString::fromLatin1(row.file),
                    iconNotice(row.name));
        row.control->setCursor(hand);
    }
    skinPicture("icons", "rushbar", into(imgRushBar), QStringLiteral("\\skins\\icons\\rushbar.gif"), iconNotice("rushbar"));
    skinPicture("icons", "bar", into(imgBar), QStringLiteral("\\skins\\icons\\bar.gif"), iconNotice("bar"));
    resumeNext([&] {
        imgBar->resize(0, imgBar->height());
        imgBar->setCursor(hand);
        imgBar->setToolTip(QStringLiteral("Click the Rush Gauge When Full to Fire Surgestrike").toHtmlEscaped());
        imgBar->raise();
    });

    for (QLabel* l : {static_cast<QLabel*>(lblGetPoints), static_cast<QLabel*>(lblPlayer), static_cast<QLabel*>(lblGetCoins),
                      static_cast<QLabel*>(lblEarn), static_cast<QLabel*>(lblCash), static_cast<QLabel*>(lblDeposit),
                      static_cast<QLabel*>(lblJackpots)})
        l->setCursor(hand);

    skinPicture("controlpanel", "createicon", into(cmdCreate), QStringLiteral("\\skins\\default\\createicon.gif"),
                QStringLiteral("The application could not find a create table button, used the default instead. Run the patcher."));
    cmdCreate->setCursor(hand);
    skinPicture("controlpanel", "joinicon", into(cmdJoin), QStringLiteral("\\skins\\default\\joinicon.gif"),
                QStringLiteral("The application could not find a join table button, used the default instead. Run the patcher."));
    cmdJoin->setCursor(hand);

    imgChatAds->setCursor(hand);
    imgCVXCash->setCursor(hand);
    imgCVXCash->Play();

    skinPicture("icons", "chatballoon", into(imgChatActions), QStringLiteral("\\skins\\default\\icons\\chatballoon.gif"), QString());
    imgChatActions->setCursor(hand);

    resumeNext([&] {
        // The panel's style sheet would repaint the tree in its own colours: the tree states them.
        // Set again, the same sheet would only polish the tree and its parts anew.
        const QString treeStyle = QStringLiteral(
            "QTreeWidget#playerlist { background: black; color: white; border: 1px solid #8a6d3b; }"
            "QTreeWidget#playerlist::item:selected { background: #5a3f7a; color: white; }");
        if (playerlist->styleSheet() != treeStyle) playerlist->setStyleSheet(treeStyle);
        QPalette pal = playerlist->palette();
        pal.setColor(QPalette::Base, QColor(Qt::black));
        playerlist->setPalette(pal);
        playerlist->clear();
        SetTreeTextColor(ChatColour::White, playerlist);
    });

    tmrPing->start();
    tmrAds->start();
    tmridle->start();
    tmradmin->start();
    floodtimers->start();

    setWindowTitle(QStringLiteral("Corvadex [") + ClientConfig().Version() + u']');

    if (ClientConfig().SkinOutofDate()) {
        ClientConfig().SkinOutofDate(0);
        PrintChatLine(QStringLiteral("Skin"), QString(),
                      QStringLiteral("Your skin is out of date. Some aspects of the skin may not function properly or you could "
                                     "receive an unhandled error.  Be sure to check your custom skin for updates or revert to default."),
                      ChatColour::Red);
    }
}
