#pragma once
// The lobby: the player's home from login to exit. It holds the public chat log and input, the
// players on line, the open tables, the player's own figures, the menus, and the timers that keep
// the connection alive, count idle minutes into away mode, count administrator minutes and open
// a new flood window.
#include "lobby/PictureLabel.h"
#include "platform/Forms.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QStringList>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <cstdint>

class frmchildchat : public FormWindow<QMainWindow> {
    Q_OBJECT
public:
    frmchildchat();

    // Minutes since the player last typed or came back; reset by the guild input too.
    int16_t intIdle = 0;
    // The word under the pointer in the chat log, as HyperlinkHover last returned it.
    QString HoverLink;

    // Chat.
    // The public chat log. A plain-text box still carries colours and bold runs, and appends
    // and drops lines without laying the whole log out again.
    QPlainTextEdit* chatin;
    QLineEdit* chatout;  // the chat input
    // Players and tables.
    QTreeWidget* playerlist;  // one top-level node per player; its text begins with the nickname
    QStringList lstPlayers;   // hidden list the player-list fill clears
    QListWidget* lsttables;   // "Table <n> ..." rows
    QLabel* lblActive;        // players on line
    // The player's figures.
    QLabel* lblgp;
    QLabel* lblap;
    PictureLabel* lblCash;
    QLabel* lblExp;
    QLabel* lblLevel;
    QLabel* lblNextLvl;
    QLabel* lblDaily;
    QLabel* lblWeekly;
    QLabel* lblCVChest;
    QLabel* lblTHChest;
    QLabel* lblWarChest;
    QLabel* lblnick;
    // Clickable labels.
    PictureLabel* lblGetPoints;
    PictureLabel* lblPlayer;
    PictureLabel* lblGetCoins;
    PictureLabel* lblEarn;
    PictureLabel* lblDeposit;
    PictureLabel* lblJackpots;
    // Rush gauge: the frame and its filled part, whose width runs from 0 to kRushWidth.
    QLabel* imgRushBar;
    PictureLabel* imgBar;
    static constexpr int kRushWidth = 234;
    // Avatar: background with the body and head layered over it.
    QLabel* picavatar;
    QLabel* imgbody;
    QLabel* imghead;
    // Pictures used as buttons and links.
    PictureLabel* cmdCreate;
    PictureLabel* cmdJoin;
    PictureLabel* trigger_snapshot;
    PictureLabel* imgAchievement;
    PictureLabel* imgCardWiki;
    PictureLabel* imgHelpWiki;
    PictureLabel* imgCashQuests;
    PictureLabel* imgForum;
    PictureLabel* imgHome;
    PictureLabel* imgPortal;
    PictureLabel* imgFairdome;
    PictureLabel* imgLeaderboard;
    PictureLabel* imgZorviumBank;
    PictureLabel* imgMembership;
    PictureLabel* imgMyShop;
    PictureLabel* imgMyStats;
    PictureLabel* imgVideo;
    PictureLabel* imgChatActions;
    CyclingPicture* imgChatAds;
    CyclingPicture* imgCVXCash;
    // Timers.
    QTimer* tmrPing;      // 60 s keep-alive and guild window upkeep
    QTimer* tmridle;      // 60 s idle minutes
    QTimer* tmradmin;     // 60 s administrator minutes
    QTimer* floodtimers;  // 20 s flood window
    QTimer* tmrAds;       // steps the advert picture
    // Menus, in the bar's order.
    QMenu* mnuFile;
    QAction* mnuExit;
    QMenu* mnugame;
    QAction* mnugameportal;
    QMenu* mnufairdome;
    QAction* mnuTreasureHunter;
    QAction* mnuadmin;
    QMenu* mnuAAdvancement;
    QAction* mnuAA;
    QAction* mnuVAdvancement;
    QMenu* mnuaway;
    QAction* mnuawayon;  // its check mark is the client's away state
    QAction* mnuawayoff;
    QAction* mnuportalviewer;
    QAction* mnuclearchat;
    QAction* mnuconfig;
    QAction* mnufavrules;
    QAction* mnuGuildS;
    QMenu* mnuZorviumGeneralStore;
    QAction* mnuAvatars;
    QAction* mnuArtifacts;
    QAction* mnuCardPacks;
    QAction* mnuLootCards;
    QMenu* mnuPlayerMaintenance;
    QAction* mnueditpass;
    QAction* mnuPlayerShops;
    QMenu* mnuStarter;
    QAction* mnuNewDecks;
    QAction* mnuTournament;
    QMenu* mnuwebsite;
    QAction* mnupoweruser;
    QAction* mnuCustomerService;
    QAction* mnulostpass;
    QAction* mnuplayermanual;
    QAction* mnusubmitbug;
    QAction* mnuTermsofService;
    QAction* mnugameportalweb;
    QAction* mnuCVXCashDaily;  // in the bar itself
    QAction* mnuForums;        // in the bar itself
    // The shop icon's right-click menu: the icon itself opens the shop's web page, this item
    // opens the window where the player sets the shop up.
    QMenu* mnuMyShop;
    QAction* mnuShopSetup;

    // The number in lblActive.
    int16_t PlayersOnline() const;
    // Set once File->Exit has asked the server to let the player go.
    bool QuitEngaged() const { return m_quitEngaged; }
    void QuitEngaged(bool on) { m_quitEngaged = on; }
    // The figures in lblgp and lblap as numbers.
    int32_t Gold() const;
    void Gold(int32_t value);
    int32_t AP() const;
    void AP(int32_t value);
    QString AvatarGender() const { return m_avatarGender; }
    void AvatarGender(const QString& prefix) { m_avatarGender = prefix; }
    // True when some player node's text contains the name (ignoring case).
    bool IsOnline(const QString& name) const;
    // Called once the login has filled the lobby.
    void Start_main();

    // Appends a line in the user's chat font and the colour (0xBBGGRR).
    void addmsg(const QString& text, long color);
    // Any action of the player: idle count back to 0 and away mode ended.
    void back_away();

    // Key codes as the old key-press events gave them (1 Ctrl+A, 13 Enter, 19 Ctrl+S ...);
    // a handler that sets the code to 0 swallows the key.
    void chatout_KeyPress(int16_t& KeyAscii);
    void chatin_KeyPress(int16_t& KeyAscii);
    void Form_KeyPress(int16_t& KeyAscii);

    void Form_QueryUnload(int& cancel, int mode) override;

public slots:
    void Form_Load();
    void cmdCreate_Click();
    void cmdJoin_Click();
    void mnuRewards_Click();
    void mnupoweruser_Click();
    void mnuawayon_Click();
    void mnuawayoff_Click();
    void mnuExit_Click();
    void mnuadmin_Click();
    void mnuAA_Click();
    void mnuclearchat_Click();
    void mnuconfig_Click();
    void mnufavrules_Click();
    void mnuTreasureHunter_Click();
    void mnueditpass_Click();
    void mnulostpass_Click();
    void mnuplayermanual_Click();
    void mnusubmitbug_Click();
    void mnugameportal_Click();
    void mnugameportalweb_Click();
    void mnuportalviewer_Click();
    void mnuGuildS_Click();
    void mnuArtifacts_Click();
    void mnuCardPacks_Click();
    void mnuLootCards_Click();
    void mnuPlayerShops_Click();
    void mnuTournament_Click();
    void mnuCustomerService_Click();
    void mnuTermsofService_Click();
    void mnuCVXCashDaily_Click();
    void mnuForums_Click();
    // The economy windows: a "Loading" notice, then the window hidden, refreshed and shown.
    void mnuAvatars_Click();
    void mnuNewDecks_Click();
    void mnuShopSetup_Click();
    void mnuVAdvancement_Click();
    // Link pictures and labels.
    void imgAchievement_Click();
    void imgCardWiki_Click();
    void imgCashQuests_Click();
    void imgChatAds_Click();
    void imgForum_Click();
    void imgFairdome_Click();
    void imgHelpWiki_Click();
    void imgHome_Click();
    void imgLeaderboard_Click();
    void imgZorviumBank_Click();
    void imgMembership_Click();
    void imgMyShop_Click();
    void imgMyStats_Click();
    void imgPortal_Click();
    void imgCVXCash_Click();
    void imgVideo_Click();
    void lblDeposit_Click();
    void lblEarn_Click();
    void lblGetCoins_Click();
    void lblGetPoints_Click();
    void lblPlayer_Click();
    void lblJackpots_Click();
    // The rush gauge fires when full; the chat balloon pops up the chat actions.
    void imgBar_Click();
    void imgChatActions_Click();
    void tmrPing_Timer();
    void tmridle_Timer();
    void tmradmin_Timer();
    void floodtimers_Timer();
    void tmrAds_Timer();
    void chatin_Click();
    void chatin_MouseMove(const QPoint& pos);
    void trigger_snapshot_Click();
    void lsttables_MouseUp(int button);
    void lsttables_DblClick();
    void playerlist_MouseUp(int button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void connectLinks();
    void applySkin();
    void goAway(const QString& reason, bool fromIdle);
    void comeBack();
    void openWebPage(const QString& path);

    QWidget* m_panel;  // carries the control panel picture
    int16_t iPingTimer = 0;  // ticks since the last "PING"
    bool m_quitEngaged = false;
    QString m_avatarGender;
};
