#include "lobby/frmchildchat.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "lobby/frmchildchat_parts.h"

#include <QLinearGradient>
#include <QMenuBar>
#include <QPainter>

#include <algorithm>

using namespace lobbyparts;

namespace {
constexpr int kPanelWidth = 800;
constexpr int kPanelHeight = 600;

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
    menuBar()->setStyleSheet(SkinMenuStyle());
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
    connectLinks();
}
