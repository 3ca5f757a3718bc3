#include "lobby/frmchildchat.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/frmconfig.h"
#include "app/modLinks.h"
#include "app/modSettings.h"
#include "app/modSkin.h"
#include "app/modSnapshot.h"
#include "app/modSound.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "economy/frmAdvancement.h"
#include "lobby/ChatInput.h"
#include "lobby/chatloggers.h"
#include "lobby/fancychat.h"
#include "lobby/frmguildchat.h"
#include "lobby/frmmenu.h"
#include "net/frmCon.h"
#include "platform/Ini.h"
#include "platform/KeyAscii.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "tables/frmfavrules.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include <cmath>
#include <functional>

namespace {
constexpr int kPanelWidth = 800;
constexpr int kPanelHeight = 600;
constexpr long kNoticeRed = 255;

const QString kCloseRefused = QStringLiteral("The game cannot be closed this way.  Please use the File->Exit menu item.");

void send(const QString& line) {
    if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(line);
}

QCursor handCursor() {
    if (frmCon* con = ifLoaded<frmCon>()) return con->skinCursor();
    return QCursor(Qt::PointingHandCursor);
}

// The leading number of a caption, rounded half to even and held within the range of the type.
template <class Int>
Int captionNumber(const QString& caption) {
    const double v = std::nearbyint(vbVal(caption));
    if (!(v >= double(std::numeric_limits<Int>::min()))) return std::numeric_limits<Int>::min();
    if (v > double(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    return Int(v);
}

int mouseButtonCode(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton: return 1;
        case Qt::RightButton: return 2;
        case Qt::MiddleButton: return 4;
        default: return 0;
    }
}

void popupAtPointer(QMenu* menu) {
    if (menu) menu->popup(QCursor::pos());
}

// A rounded badge with a centred caption: the frames of the two animated pictures.
QPixmap badge(QSize size, const QBrush& fill, const QColor& border, double radius, const QFont& font, const QColor& ink,
              const QString& caption) {
    QPixmap p(size);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(fill);
    g.setPen(QPen(border, 1));
    g.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), radius, radius);
    g.setFont(font);
    g.setPen(ink);
    g.drawText(p.rect(), Qt::AlignCenter, caption);
    return p;
}

QFont badgeFont(const QString& family, int pixels) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(true);
    return f;
}

// A rotating advert and a shimmering cash badge.
std::vector<QPixmap> advertFrames(QSize size) {
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(0x4a, 0x2f, 0x6b));
    fill.setColorAt(1, QColor(0x22, 0x14, 0x33));
    std::vector<QPixmap> frames;
    for (const QString& line : {QStringLiteral("Visit the Shop"), QStringLiteral("Memberships"), QStringLiteral("Card Packs")})
        frames.push_back(badge(size, fill, QColor(0xc9, 0xa5, 0x5c), 5, badgeFont(QStringLiteral("DejaVu Sans"), 11),
                               QColor(0xf0, 0xd9, 0x8c), line));
    return frames;
}

std::vector<QPixmap> cashFrames(QSize size) {
    std::vector<QPixmap> frames;
    constexpr int kFrames = 10;
    for (int i = 0; i < kFrames; ++i) {
        const double shine = -0.3 + 1.6 * i / (kFrames - 1);
        QLinearGradient fill(0, 0, size.width(), 0);
        fill.setColorAt(0, QColor(0x8a, 0x62, 0x1c));
        fill.setColorAt(std::clamp(shine - 0.15, 0.0, 1.0), QColor(0xc9, 0x96, 0x34));
        fill.setColorAt(std::clamp(shine, 0.0, 1.0), QColor(0xff, 0xf1, 0xb8));
        fill.setColorAt(std::clamp(shine + 0.15, 0.0, 1.0), QColor(0xc9, 0x96, 0x34));
        fill.setColorAt(1, QColor(0x8a, 0x62, 0x1c));
        frames.push_back(badge(size, fill, QColor(0x3a, 0x24, 0x08), 6, badgeFont(QStringLiteral("DejaVu Serif"), 13),
                               QColor(0x2a, 0x18, 0x04), QStringLiteral("CVX $")));
    }
    return frames;
}

const char* const kPanelStyle = R"(
#lobbyPanel QLabel { color: #e8dcc0; background: transparent; font-family: "DejaVu Sans"; font-size: 8pt; }
#lobbyPanel QLabel[caption="true"] { color: #c9a55c; }
#lobbyPanel QLabel[heading="true"] { color: #f0c96a; font-weight: bold; font-size: 9pt; }
#lobbyPanel QLabel[link="true"] { color: #9fb8ff; }
QLabel#lblPlayer { color: #f0c96a; font-weight: bold; font-size: 9pt; }
QLabel#lblnick { color: #f0d98c; font-size: 8pt; }
QLabel#picavatar { background: #120e18; }
QPlainTextEdit#chatin { background: rgba(8, 5, 16, 220); border: 1px solid #8a6d3b; }
QLineEdit#chatout { background: #120e18; color: white; border: 1px solid #8a6d3b; padding: 1px 4px;
                    selection-background-color: #5a3f7a; }
QLineEdit#chatout:disabled { background: #0c0910; color: #6d6478; }
QListWidget#lsttables { background: rgba(8, 5, 16, 220); color: #e8dcc0; border: 1px solid #8a6d3b;
                        font-family: "DejaVu Sans Mono"; font-size: 8pt; }
QListWidget#lsttables::item:selected { background: #5a3f7a; color: white; }
QScrollBar:vertical { background: #120e18; width: 12px; margin: 0; }
QScrollBar::handle:vertical { background: #5a4a2a; min-height: 18px; border-radius: 3px; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }
)";
}  // namespace

frmchildchat::frmchildchat() : m_panel(new QWidget(this)) {
    setObjectName(QStringLiteral("frmchildchat"));
    m_panel->setObjectName(QStringLiteral("lobbyPanel"));
    m_panel->setFixedSize(kPanelWidth, kPanelHeight);
    m_panel->setAutoFillBackground(true);
    QPalette pal = m_panel->palette();
    pal.setColor(QPalette::Window, QColor(0x1a, 0x12, 0x26));
    m_panel->setPalette(pal);
    m_panel->setStyleSheet(QString::fromLatin1(kPanelStyle));
    setCentralWidget(m_panel);
    menuBar()->setStyleSheet(QStringLiteral(
        "QMenuBar { background: #1a1226; color: #e8dcc0; border-bottom: 1px solid #8a6d3b; }"
        "QMenuBar::item { padding: 3px 10px; background: transparent; }"
        "QMenuBar::item:selected { background: #3d2d55; }"
        "QMenu { background: #1a1226; color: #e8dcc0; border: 1px solid #8a6d3b; }"
        "QMenu::item { padding: 4px 24px 4px 24px; }"
        "QMenu::item:selected { background: #3d2d55; }"
        "QMenu::item:disabled { color: #6d6478; }"
        "QMenu::separator { height: 1px; background: #5a4a2a; margin: 3px 8px; }"));
    buildControls();
    buildMenus();

    tmrPing = new QTimer(this);
    tmridle = new QTimer(this);
    tmradmin = new QTimer(this);
    floodtimers = new QTimer(this);
    tmrAds = new QTimer(this);
    const std::pair<QTimer*, const char*> timers[] = {
        {tmrPing, "tmrPing"}, {tmridle, "tmridle"}, {tmradmin, "tmradmin"}, {floodtimers, "floodtimers"}, {tmrAds, "tmrAds"}};
    for (const auto& [timer, name] : timers) timer->setObjectName(QString::fromLatin1(name));
    tmrPing->setInterval(60000);
    tmridle->setInterval(60000);
    tmradmin->setInterval(60000);
    floodtimers->setInterval(20000);
    tmrAds->setInterval(8000);
    connect(tmrPing, &QTimer::timeout, this, &frmchildchat::tmrPing_Timer);
    connect(tmridle, &QTimer::timeout, this, &frmchildchat::tmridle_Timer);
    connect(tmradmin, &QTimer::timeout, this, &frmchildchat::tmradmin_Timer);
    connect(floodtimers, &QTimer::timeout, this, &frmchildchat::floodtimers_Timer);
    connect(tmrAds, &QTimer::timeout, this, &frmchildchat::tmrAds_Timer);

    setWindowTitle(QStringLiteral("Corvadex"));
    setFixedSize(sizeHint());
}

void frmchildchat::buildControls() {
    const auto place = [this](QWidget* w, const char* name, int x, int y, int width, int height) {
        w->setParent(m_panel);
        w->setObjectName(QString::fromLatin1(name));
        w->setGeometry(x, y, width, height);
    };
    const auto label = [&](const char* name, int x, int y, int width, int height) {
        auto* l = new QLabel;
        l->setTextFormat(Qt::PlainText);
        place(l, name, x, y, width, height);
        return l;
    };
    const auto picture = [&](const char* name, int x, int y, int width, int height) {
        auto* l = new PictureLabel;
        l->setAlignment(Qt::AlignCenter);
        place(l, name, x, y, width, height);
        return l;
    };
    // Fixed captions beside the figures; they carry no state.
    const auto caption = [&](const QString& text, int x, int y, int width, const char* kind = "caption") {
        auto* l = new QLabel(text, m_panel);
        l->setTextFormat(Qt::PlainText);
        l->setProperty(kind, true);
        l->setGeometry(x, y, width, 16);
        return l;
    };
    const auto linkLabel = [&](const char* name, const QString& text, int x, int y, int width) {
        PictureLabel* l = picture(name, x, y, width, 15);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        l->setText(text);
        l->setProperty("link", true);
        return l;
    };

    // Header: the rush gauge and who is logged in.
    caption(QStringLiteral("Rush"), 474, 21, 34);
    imgRushBar = label("imgRushBar", 510, 22, kRushWidth, 14);
    imgBar = picture("imgBar", 510, 22, kRushWidth, 14);
    imgBar->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblnick = label("lblnick", 510, 40, kRushWidth, 16);
    lblnick->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Chat.
    chatin = new QPlainTextEdit;
    place(chatin, "chatin", 14, 70, 562, 370);
    chatin->setReadOnly(true);
    chatin->setUndoRedoEnabled(false);
    chatin->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    chatin->viewport()->setMouseTracking(true);
    chatin->document()->setDocumentMargin(4);
    // Chat runs left to right; a fixed direction spares the layout a scan of every line each
    // time the oldest line is dropped.
    QTextOption direction = chatin->document()->defaultTextOption();
    direction.setTextDirection(Qt::LeftToRight);
    chatin->document()->setDefaultTextOption(direction);
    imgChatActions = picture("imgChatActions", 14, 446, 24, 24);
    chatout = new QLineEdit;
    place(chatout, "chatout", 42, 446, 506, 24);
    chatout->setMaxLength(1000);
    chatout->setEnabled(false);
    trigger_snapshot = picture("trigger_snapshot", 552, 446, 24, 24);

    // Tables.
    caption(QStringLiteral("Open Tables"), 14, 476, 200, "heading");
    lsttables = new QListWidget;
    place(lsttables, "lsttables", 14, 494, 432, 62);
    lsttables->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdCreate = picture("cmdCreate", 460, 490, 110, 30);
    cmdJoin = picture("cmdJoin", 460, 524, 110, 30);

    // The player: avatar, figures and the links beside them.
    picavatar = label("picavatar", 592, 70, 96, 128);
    imgbody = new QLabel(picavatar);
    imgbody->setObjectName(QStringLiteral("imgbody"));
    imgbody->setGeometry(0, 0, 96, 128);
    imghead = new QLabel(picavatar);
    imghead->setObjectName(QStringLiteral("imghead"));
    imghead->setGeometry(0, 0, 96, 128);
    lblPlayer = picture("lblPlayer", 696, 70, 92, 18);
    lblPlayer->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblPlayer->setText(QStringLiteral("--player--"));
    const std::pair<QString, QLabel**> figures[] = {
        {QStringLiteral("Level"), &lblLevel}, {QStringLiteral("EXP"), &lblExp}, {QStringLiteral("Next"), &lblNextLvl},
        {QStringLiteral("Gold"), &lblgp},     {QStringLiteral("AP"), &lblap},
    };
    const char* const figureNames[] = {"lblLevel", "lblExp", "lblNextLvl", "lblgp", "lblap"};
    int y = 90;
    for (size_t i = 0; i < std::size(figures); ++i, y += 17) {
        caption(figures[i].first, 696, y, 40);
        *figures[i].second = label(figureNames[i], 736, y, 52, 16);
    }
    caption(QStringLiteral("Cash"), 696, y, 40);
    lblCash = picture("lblCash", 736, y, 52, 16);
    lblCash->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblCash->setText(QStringLiteral("$0.00"));

    lblGetCoins = linkLabel("lblGetCoins", QStringLiteral("[Get Coins]"), 592, 202, 64);
    lblGetPoints = linkLabel("lblGetPoints", QStringLiteral("[Get Points]"), 658, 202, 70);
    lblEarn = linkLabel("lblEarn", QStringLiteral("[Earn]"), 732, 202, 56);
    lblDeposit = linkLabel("lblDeposit", QStringLiteral("[Deposit]"), 592, 218, 64);
    lblJackpots = linkLabel("lblJackpots", QStringLiteral("Jackpots"), 658, 218, 130);
    lblJackpots->setProperty("link", false);
    lblJackpots->setProperty("heading", true);
    caption(QStringLiteral("CV Chest"), 592, 236, 62);
    lblCVChest = label("lblCVChest", 656, 236, 42, 16);
    caption(QStringLiteral("TH Chest"), 592, 252, 62);
    lblTHChest = label("lblTHChest", 656, 252, 42, 16);
    caption(QStringLiteral("War Chest"), 592, 268, 62);
    lblWarChest = label("lblWarChest", 656, 268, 42, 16);
    caption(QStringLiteral("Daily"), 700, 236, 44);
    lblDaily = label("lblDaily", 746, 236, 42, 16);
    caption(QStringLiteral("Weekly"), 700, 252, 44);
    lblWeekly = label("lblWeekly", 746, 252, 42, 16);

    // Players on line.
    caption(QStringLiteral("Players Online:"), 592, 290, 110, "heading");
    lblActive = label("lblActive", 704, 290, 84, 16);
    lblActive->setText(QStringLiteral("0"));
    lblActive->setProperty("heading", true);
    playerlist = new QTreeWidget;
    place(playerlist, "playerlist", 592, 308, 196, 248);
    playerlist->setHeaderHidden(true);
    playerlist->setRootIsDecorated(false);
    playerlist->setIndentation(4);
    playerlist->setUniformRowHeights(true);
    playerlist->setSelectionMode(QAbstractItemView::SingleSelection);

    // Link icons along the bottom bar.
    PictureLabel** icons[] = {&imgAchievement, &imgCardWiki,    &imgHelpWiki,   &imgCashQuests, &imgForum,
                              &imgHome,        &imgPortal,      &imgFairdome,   &imgLeaderboard, &imgZorviumBank,
                              &imgMembership,  &imgMyShop,      &imgMyStats,    &imgVideo};
    const char* const iconNames[] = {"imgAchievement", "imgCardWiki",    "imgHelpWiki",   "imgCashQuests", "imgForum",
                                     "imgHome",        "imgPortal",      "imgFairdome",   "imgLeaderboard", "imgZorviumBank",
                                     "imgMembership",  "imgMyShop",      "imgMyStats",    "imgVideo"};
    for (size_t i = 0; i < std::size(icons); ++i) *icons[i] = picture(iconNames[i], 44 + int(i) * 36, 566, 32, 32);
    imgChatAds = new CyclingPicture;
    place(imgChatAds, "imgChatAds", 566, 566, 112, 30);
    imgChatAds->setFrames(advertFrames(QSize(112, 30)), 8000);
    imgCVXCash = new CyclingPicture;
    place(imgCVXCash, "imgCVXCash", 684, 566, 72, 30);
    imgCVXCash->setFrames(cashFrames(QSize(72, 30)), 120);

    // Tooltips are part of the window's definition; the gauge's is set by the load.
    const std::pair<QWidget*, const char*> tips[] = {
        {trigger_snapshot, "Take a Snapshot"},
        {cmdCreate, "Create Table"},
        {cmdJoin, "Join Table"},
        {imgAchievement, "View Your Achievements"},
        {imgCardWiki, "View the Card Wiki"},
        {imgHelpWiki, "Need Help? Go to the Help Wiki (FAQ)"},
        {imgCashQuests, "View and Complete Cash Quests so that you can buy a membership, tokens, and more!"},
        {imgForum, "View the Corvadex Forums"},
        {imgHome, "Go to the Corvadex Website"},
        {imgPortal, "View the Corvadex Portal"},
        {imgFairdome, "Go to the Fairdome/Treasure Hunter"},
        {imgLeaderboard, "Look at the Leaderboards"},
        {imgZorviumBank, "Go To the Zorvium Bank"},
        {imgMembership, "Help Corvadex and Buy a Membership"},
        {imgMyShop, "View Your Player Shop"},
        {imgMyStats, "View Your Stats"},
        {imgVideo, "Click Here to Watch Starvale Videos!"},
        {imgChatActions, "Click to open the chat commands menu."},
        {lblGetPoints, "Click to Learn How to Earn Active Points"},
        {lblPlayer, "Click to View Your Statistics"},
        {lblGetCoins, "Click to Learn How to Earn Gold"},
        {lblEarn, "Click to Earn Cash"},
        {lblCash, "Click to Redeem Cash"},
        {lblDeposit, "Click to Deposit Cash"},
        {lblJackpots, "Click to View Your Statistics"},
    };
    for (const auto& [w, tip] : tips) w->setToolTip(QString::fromLatin1(tip).toHtmlEscaped());

    chatout->installEventFilter(this);
    chatin->installEventFilter(this);
    chatin->viewport()->installEventFilter(this);
    lsttables->viewport()->installEventFilter(this);
    playerlist->viewport()->installEventFilter(this);
    connect(lsttables, &QListWidget::itemDoubleClicked, this, [this] { lsttables_DblClick(); });
    connect(cmdCreate, &PictureLabel::Click, this, &frmchildchat::cmdCreate_Click);
    connect(cmdJoin, &PictureLabel::Click, this, &frmchildchat::cmdJoin_Click);
    connect(trigger_snapshot, &PictureLabel::Click, this, &frmchildchat::trigger_snapshot_Click);
    connect(imgChatActions, &PictureLabel::Click, this, [] { popupAtPointer(form<frmmenu>()->mnuchatactions); });
}

void frmchildchat::buildMenus() {
    const auto item = [this](QMenu* menu, const char* name, const QString& text, void (frmchildchat::*slot)()) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    mnuFile = menuBar()->addMenu(QStringLiteral("File"));
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("Exit"), &frmchildchat::mnuExit_Click);

    mnuGame = menuBar()->addMenu(QStringLiteral("Game"));
    mnuadmin = item(mnuGame, "mnuadmin", QStringLiteral("Admin Login"), &frmchildchat::mnuadmin_Click);
    mnuAdvancement = mnuGame->addMenu(QStringLiteral("Advancement"));
    mnuAA = item(mnuAdvancement, "mnuAA", QStringLiteral("Alternate Advancement"), &frmchildchat::mnuAA_Click);
    mnuAwayMode = mnuGame->addMenu(QStringLiteral("Away Mode"));
    // The check marks are the away state itself: a click must not flip them before the handler
    // has decided.
    mnuawayon = mnuAwayMode->addAction(QStringLiteral("On"));
    mnuawayon->setObjectName(QStringLiteral("mnuawayon"));
    mnuawayon->setCheckable(true);
    connect(mnuawayon, &QAction::triggered, this, [this](bool nowChecked) {
        mnuawayon->setChecked(!nowChecked);
        mnuawayon_Click();
    });
    mnuawayoff = mnuAwayMode->addAction(QStringLiteral("Off"));
    mnuawayoff->setObjectName(QStringLiteral("mnuawayoff"));
    mnuawayoff->setCheckable(true);
    connect(mnuawayoff, &QAction::triggered, this, [this](bool nowChecked) {
        mnuawayoff->setChecked(!nowChecked);
        mnuawayoff_Click();
    });
    mnuclearchat = item(mnuGame, "mnuclearchat", QStringLiteral("Clear Chat"), &frmchildchat::mnuclearchat_Click);
    mnuconfig = item(mnuGame, "mnuconfig", QStringLiteral("Configuration Window"), &frmchildchat::mnuconfig_Click);
    mnufavrules = item(mnuGame, "mnufavrules", QStringLiteral("Customize Favorite Rules"), &frmchildchat::mnufavrules_Click);
    mnuFairdome = mnuGame->addMenu(QStringLiteral("Fairdome"));
    mnuTreasureHunter = item(mnuFairdome, "mnuTreasureHunter", QStringLiteral("Treasure Hunter"), &frmchildchat::mnuTreasureHunter_Click);

    mnuPlayerMaintenance = menuBar()->addMenu(QStringLiteral("Player Maintenance"));
    mnueditpass = item(mnuPlayerMaintenance, "mnueditpass", QStringLiteral("Edit your Account/Password/Get Surnames"),
                       &frmchildchat::mnueditpass_Click);

    mnuWebsite = menuBar()->addMenu(QStringLiteral("Website"));
    mnupoweruser = item(mnuWebsite, "mnupoweruser", QStringLiteral("Become a Power User!"), &frmchildchat::mnupoweruser_Click);
    mnulostpass = item(mnuWebsite, "mnulostpass", QStringLiteral("Lost Your Password?"), &frmchildchat::mnulostpass_Click);
    mnuplayermanual = item(mnuWebsite, "mnuplayermanual", QStringLiteral("Player Manual"), &frmchildchat::mnuplayermanual_Click);
    mnusubmitbug = item(mnuWebsite, "mnusubmitbug", QStringLiteral("Submit a Bug"), &frmchildchat::mnusubmitbug_Click);

    const std::pair<QMenu*, const char*> menus[] = {{mnuFile, "mnuFile"},         {mnuGame, "mnuGame"},
                                                    {mnuAdvancement, "mnuAdvancement"}, {mnuAwayMode, "mnuAwayMode"},
                                                    {mnuFairdome, "mnuFairdome"}, {mnuPlayerMaintenance, "mnuPlayerMaintenance"},
                                                    {mnuWebsite, "mnuWebsite"}};
    for (const auto& [menu, name] : menus) menu->setObjectName(QString::fromLatin1(name));
}

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
                if (p.load(SkinPicturePath(value))) apply(p);
                return;
            }
            ClientConfig().SkinOutofDate(-1);
            if (!notice.isEmpty()) addmsg(notice, kNoticeRed);
            if (p.load(clientPath(fallback))) apply(p);
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
        playerlist->setStyleSheet(QStringLiteral(
            "QTreeWidget#playerlist { background: black; color: white; border: 1px solid #8a6d3b; }"
            "QTreeWidget#playerlist::item:selected { background: #5a3f7a; color: white; }"));
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
        MsgBox(QStringLiteral("Your skin is out of date. Some aspects of the skin may not function properly or you could receive "
                              "an unhandled error.  Be sure to check your custom skin for updates or revert to default."),
               vb::Exclamation, QStringLiteral("Skin"));
    }
}

// ---- Public members ------------------------------------------------------------------------

int16_t frmchildchat::PlayersOnline() const { return captionNumber<int16_t>(lblActive->text()); }

int32_t frmchildchat::Gold() const { return captionNumber<int32_t>(lblgp->text()); }
void frmchildchat::Gold(int32_t value) { lblgp->setText(QString::number(value)); }
int32_t frmchildchat::AP() const { return captionNumber<int32_t>(lblap->text()); }
void frmchildchat::AP(int32_t value) { lblap->setText(QString::number(value)); }

bool frmchildchat::IsOnline(const QString& name) const {
    const QString wanted = name.toLower();
    for (int i = 0; i < playerlist->topLevelItemCount(); ++i)
        if (playerlist->topLevelItem(i)->text(0).toLower().contains(wanted)) return true;
    return false;
}

void frmchildchat::Start_main() {}

void frmchildchat::addmsg(const QString& text, long color) {
    resumeNext([&] { TrimLobbyLogIfLong(); });
    resumeNext([&] {
        ChatRuns out(chatin);
        if (!Nickname.isEmpty()) {
            const QString file = GetIniFile();
            out.font(ReadIni(QStringLiteral("Chat"), QStringLiteral("Font"), file),
                     vbVal(ReadIni(QStringLiteral("Chat"), QStringLiteral("FontSize"), file)));
        }
        out.run(text + u'\n', color);
    });
}

// ---- Away mode -----------------------------------------------------------------------------

void frmchildchat::goAway(const QString& reason, bool fromIdle) {
    const QString file = GetIniFile();
    WriteIni(QStringLiteral("Away"), QStringLiteral("Status"), QStringLiteral("1"), file);
    WriteIni(QStringLiteral("Away"), QStringLiteral("Reason"), QString(reason).replace(u' ', QStringLiteral("%20")), file);
    PrintChatLine(QStringLiteral("Away"), QString(), QStringLiteral("You are now on away. Reason: ") + reason, kNoticeRed);
    send(QStringLiteral("CHAT /me is away.  Reason: ") + reason);
    mnuawayoff->setChecked(false);
    mnuawayon->setChecked(true);
    PlaySound(4);
    if (fromIdle) tmridle->stop();
    send(QStringLiteral("AWAY 1"));
}

void frmchildchat::comeBack() {
    if (!mnuawayon->isChecked()) return;
    const QString file = GetIniFile();
    WriteIni(QStringLiteral("Away"), QStringLiteral("Status"), QStringLiteral("0"), file);
    WriteIni(QStringLiteral("Away"), QStringLiteral("Reason"), QString(), file);
    PrintChatLine(QStringLiteral("Back"), QString(), QStringLiteral("You are now back from away mode"), kNoticeRed);
    send(QStringLiteral("CHAT /me is back."));
    mnuawayoff->setChecked(true);
    mnuawayon->setChecked(false);
    PlaySound(5);
    send(QStringLiteral("AWAY 0"));
}

void frmchildchat::back_away() {
    shielded("frmchildchat::back_away", [&] {
        intIdle = 0;
        comeBack();
    });
}

void frmchildchat::mnuawayoff_Click() {
    shielded("frmchildchat::mnuawayoff_Click", [&] { comeBack(); });
}

void frmchildchat::mnuawayon_Click() {
    shielded("frmchildchat::mnuawayon_Click", [&] {
        if (mnuawayon->isChecked()) return;
        const QString reason =
            InputBox(QStringLiteral("What is your reason for going away?"), QStringLiteral("Away"),
                     QStringLiteral("I am away from my computer, please try to reach me later or leave a message"));
        if (reason.isEmpty() || reason == QLatin1String("2")) return;
        if (reason.size() > 200) {
            MsgBox(QStringLiteral("Input must be less than 200 characters."), vb::Information, QStringLiteral("Error"));
            return;
        }
        goAway(reason, false);
    });
}

// ---- Timers --------------------------------------------------------------------------------

void frmchildchat::tmrPing_Timer() {
    shielded("frmchildchat::tmrPing_Timer", [&] {
        const double received = vbVal(ClientConfig().PacketCount());
        if (iPingTimer == 3 || received == 0) {
            send(QStringLiteral("PING"));
            iPingTimer = 0;
        } else {
            ++iPingTimer;
        }
        ClientConfig().PacketCount(QStringLiteral("0"));
        if (!GuildName.isEmpty()) {
            frmguildchat* guild = ifLoaded<frmguildchat>();
            const bool visible = guild && guild->isVisible();
            guild = form<frmguildchat>();
            guild->TitleBar(GuildName);
            if (!visible) guild->show();
        } else {
            unload<frmguildchat>();
        }
    });
}

void frmchildchat::tmridle_Timer() {
    shielded("frmchildchat::tmridle_Timer", [&] {
        ++intIdle;
        if (intIdle != 10 || mnuawayon->isChecked()) return;
        goAway(QStringLiteral("Idle"), true);
    });
}

void frmchildchat::tmradmin_Timer() {
    if (ClientConfig().AdminStatus()) ++AdminMinutes;
}

void frmchildchat::floodtimers_Timer() { FloodCount = 0; }

void frmchildchat::tmrAds_Timer() { imgChatAds->step(); }

// ---- Tables --------------------------------------------------------------------------------

void frmchildchat::cmdCreate_Click() {
    shielded("frmchildchat::cmdCreate_Click", [&] {
        if (InGame) return;
        popupAtPointer(form<frmmenu>()->mnuchallengemenu);
    });
}

void frmchildchat::cmdJoin_Click() {
    shielded("frmchildchat::cmdJoin_Click", [&] {
        if (InGame) return;
        QListWidgetItem* row = lsttables->currentItem();
        if (!row || !row->isSelected() || row->text().isEmpty()) return;
        const auto visible = [](QWidget* w) { return w && w->isVisible(); };
        if (visible(ifLoaded<frmchallengebox_single>()) || visible(ifLoaded<frmchallengebox>())) return;
        const QString table = Divide(row->text(), QStringLiteral(" "))[1];
        if (table.isEmpty()) return;
        if (MsgBox(QStringLiteral("Join Table ") + table + u'?', vb::YesNo | vb::Question, QStringLiteral("Join Table?")) == vb::No)
            return;
        if (frmCon* con = ifLoaded<frmCon>()) con->creator->setChecked(false);
        send(QStringLiteral("TABLEJOIN ") + table);
        form<frmchallengewaiting>()->show();
        back_away();
    });
}

void frmchildchat::lsttables_MouseUp(int button) {
    shielded("frmchildchat::lsttables_MouseUp", [&] {
        if (button == 1) resumeNext([&] { popupAtPointer(form<frmmenu>()->mnuTables); });
        back_away();
    });
}

void frmchildchat::lsttables_DblClick() { cmdJoin_Click(); }

void frmchildchat::playerlist_MouseUp(int button) {
    shielded("frmchildchat::playerlist_MouseUp", [&] {
        back_away();
        if (button == 2) resumeNext([&] { popupAtPointer(form<frmmenu>()->command); });
    });
}

// ---- Administrator login -------------------------------------------------------------------

void frmchildchat::mnuadmin_Click() {
    shielded("frmchildchat::mnuadmin_Click", [&] {
        if (ClientConfig().AdminStatus()) {
            send(QStringLiteral("ADMINLOGOUT"));
            mnuadmin->setText(QStringLiteral("Admin Login"));
            ClientConfig().AdminStatus(0);
            ClientConfig().PassKey(QString());
            resumeNext([&] { form<frmmenu>()->mnuadmincontrols->menuAction()->setVisible(false); });
            return;
        }
        PlaySound(3);
        const QString key =
            InputBox(QStringLiteral("What is your 8 digit pass key?"), QStringLiteral("Corvadex"), QString(), Dialogs::Echo::Password);
        if (key == QLatin1String("2")) return;
        bool digits = key.size() == 8;
        for (QChar c : key) digits = digits && c >= u'0' && c <= u'9';
        if (!digits) {
            MsgBox(QStringLiteral("All pass keys are 8 digits."), vb::Exclamation, QStringLiteral("Error"));
            return;
        }
        send(QStringLiteral("ADMINLOGIN ") + QString::number(key.toLongLong()));
        ClientConfig().PassKey(key);
        mnuadmin->setEnabled(false);
    });
}

// ---- Other menu items ----------------------------------------------------------------------

void frmchildchat::openWebPage(const QString& path) { OpenLink(Deployment::website() + path); }

void frmchildchat::mnuRewards_Click() { openWebPage(QStringLiteral("/rfrewards.php?nick=") + Nickname); }
void frmchildchat::mnupoweruser_Click() { openWebPage(QStringLiteral("/support.php?area=membership")); }
void frmchildchat::mnuTreasureHunter_Click() { openWebPage(QStringLiteral("/Games/TreasureHunter.aspx")); }
void frmchildchat::mnueditpass_Click() { openWebPage(QStringLiteral("/Player/MyAccount.aspx")); }
void frmchildchat::mnulostpass_Click() { openWebPage(QStringLiteral("/support/")); }
void frmchildchat::mnuplayermanual_Click() { openWebPage(QStringLiteral("/trainer.php?area=index")); }
void frmchildchat::mnusubmitbug_Click() { OpenLink(Deployment::forum() + QStringLiteral("/support/")); }

void frmchildchat::mnuAA_Click() {
    // A failure here ends the item quietly.
    shielded("frmchildchat::mnuAA_Click", [&] {
        PrintChatLine(QStringLiteral("Loading"), QString(),
                      QStringLiteral("The alternate advancement screen is loading, please wait... This may take a few seconds "
                                     "depending on your internet connection.  Maximum time is 60-80 seconds.  Do not panic if "
                                     "the screen freezes while it loads."),
                      65535);
        frmAdvancement* window = form<frmAdvancement>();
        window->RefreshGrid();
        window->show();
    });
}

void frmchildchat::mnuclearchat_Click() {
    PlaySound(3);
    chatin->clear();
}

void frmchildchat::mnuconfig_Click() {
    shielded("frmchildchat::mnuconfig_Click", [&] {
        frmconfig* options = form<frmconfig>();
        // It opens over the lobby rather than wherever the system puts a new window.
        if (!options->isVisible()) options->move(frameGeometry().center() - options->rect().center());
        options->show();
        options->raise();
        options->activateWindow();
    });
}

void frmchildchat::mnufavrules_Click() {
    shielded("frmchildchat::mnufavrules_Click", [&] {
        PlaySound(3);
        frmfavrules* rules = form<frmfavrules>();
        rules->show();
        rules->loadsavedrules();
    });
}

// ---- Exit ----------------------------------------------------------------------------------

void frmchildchat::mnuExit_Click() {
    shielded("frmchildchat::mnuExit_Click", [&] {
        ConnectionState = 2;
        frmCon* con = ifLoaded<frmCon>();
        if (con && con->Winsock->connected()) {
            con->Winsock->Tag = QStringLiteral("out");
            m_quitEngaged = true;
            con->SendToServer(QStringLiteral("QUIT ") + QString::number(AdminMinutes) + QStringLiteral(" 1"));
            DoEvents();
            return;
        }
        if (con) con->Winsock->Close();
        EndProgram(0);
    });
}

void frmchildchat::Form_QueryUnload(int& cancel, int mode) {
    if (mode == vb::FormControlMenu) {
        PrintChatLine(QStringLiteral("Fail"), QString(), kCloseRefused, kNoticeRed);
        cancel = 1;
        return;
    }
    mnuExit_Click();
}

// ---- Chat log and keys ---------------------------------------------------------------------

void frmchildchat::chatin_MouseMove(const QPoint& pos) {
    resumeNext([&] { HoverLink = HyperlinkHover(chatin, pos); });
}

void frmchildchat::chatin_Click() {
    shielded("frmchildchat::chatin_Click", [&] {
        const QString w = HoverLink;
        const QString lower = w.toLower();
        if (lower.startsWith(QLatin1String("http:")) || lower.startsWith(QLatin1String("https:")) ||
            lower.startsWith(QLatin1String("mailto:")) || lower.startsWith(QLatin1String("www."))) {
            ShellOpen(w);
            return;
        }
        // A bare address: something before an "@" and a dot somewhere after it.
        const qsizetype at = w.indexOf(u'@');
        if (at > 0 && w.indexOf(u'.', at + 2) > at + 1) ShellOpen(QStringLiteral("mailto:") + w);
    });
}

void frmchildchat::chatout_KeyPress(int16_t& KeyAscii) {
    intIdle = 0;
    ChatKeyPress(this, KeyAscii, QString(), QString());
}

void frmchildchat::chatin_KeyPress(int16_t& KeyAscii) {
    if (KeyAscii == 1) {
        chatin->clear();
    } else if (KeyAscii == 19) {
        PlaySound(28);
        TakeSnapshot();
    } else {
        chatout_KeyPress(KeyAscii);
    }
}

void frmchildchat::Form_KeyPress(int16_t& KeyAscii) {
    if (KeyAscii == 1) {
        chatin->clear();
    } else if (KeyAscii == 19) {
        PlaySound(28);
        TakeSnapshot();
    }
    back_away();
}

void frmchildchat::trigger_snapshot_Click() {
    shielded("frmchildchat::trigger_snapshot_Click", [&] {
        back_away();
        PlaySound(28);
        TakeSnapshot();
    });
}

bool frmchildchat::eventFilter(QObject* watched, QEvent* event) {
    bool swallow = false;
    shielded("frmchildchat::eventFilter", [&] {
        const QEvent::Type type = event->type();
        if (type == QEvent::KeyPress && (watched == chatout || watched == chatin)) {
            auto* k = static_cast<QKeyEvent*>(event);
            int16_t code = keyAscii(k);
            if (code == 0) return;
            const int16_t typed = code;
            if (watched == chatout) {
                chatout_KeyPress(code);
            } else {
                chatin_KeyPress(code);
                // Clearing and snapshots are the log's own keys; the window must not repeat them.
                if (typed == 1 || typed == 19) code = 0;
            }
            if (code == 0) {
                swallow = true;
            } else if (code != typed && watched == chatout) {
                chatout->insert(QString(QChar(code)));
                swallow = true;
            }
        } else if (type == QEvent::MouseMove && watched == chatin->viewport()) {
            chatin_MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (type == QEvent::MouseButtonRelease) {
            const int button = mouseButtonCode(static_cast<QMouseEvent*>(event)->button());
            if (watched == chatin->viewport() && button == 1) chatin_Click();
            if (watched == lsttables->viewport()) lsttables_MouseUp(button);
            if (watched == playerlist->viewport()) playerlist_MouseUp(button);
        }
    });
    return swallow || QMainWindow::eventFilter(watched, event);
}

void frmchildchat::keyPressEvent(QKeyEvent* event) {
    shielded("frmchildchat::keyPressEvent", [&] {
        int16_t code = keyAscii(event);
        if (code) Form_KeyPress(code);
    });
    QMainWindow::keyPressEvent(event);
}
