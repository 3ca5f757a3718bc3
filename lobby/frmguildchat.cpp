#include "lobby/frmguildchat.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/RunQuery.h"
#include "app/modLinks.h"
#include "app/modSkin.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/ChatInput.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmchildchat_parts.h"
#include "platform/KeyAscii.h"
#include "platform/RuntimeError.h"
#include "platform/VbCompat.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>

namespace {
// The guild log is emptied, not trimmed, once it holds more than this.
constexpr int kGuildLogLimit = 15000;
constexpr int kReloadTicks = 15;

const QString kCloseRefused = QStringLiteral("This window cannot be closed this way. It can only be minimized and maximized.");

// A guild name that would change the address it is put into (another folder, a query) opens
// nothing; blanks and other characters go in as they are.
bool fitsInAddress(const QString& name) {
    if (name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (QChar c : name)
        if (c == u'/' || c == u'\\' || c == u'?' || c == u'#') return false;
    return true;
}

// Places a control by its position and size in twips.
void place(QWidget* w, const char* name, int left, int top, int width, int height) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

QFont namedFont(const char* family, int points, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

// The two trees look alike: black, white text, no pictures.
QTreeWidget* tree(QWidget* parent) {
    auto* t = new QTreeWidget(parent);
    t->setHeaderHidden(true);
    t->setRootIsDecorated(false);
    t->setIndentation(4);
    t->setUniformRowHeights(true);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setFont(namedFont("Comic Sans MS", 9));
    // A long line scrolls sideways rather than being cut short.
    t->header()->setStretchLastSection(false);
    t->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    return t;
}

void blackTree(QTreeWidget* t) {
    QPalette pal = t->palette();
    pal.setColor(QPalette::Base, QColor(Qt::black));
    t->setPalette(pal);
    t->clear();
    SetTreeTextColor(ChatColour::White, t);
}
}  // namespace

frmguildchat::frmguildchat()
    : chatin(new QTextEdit(this)),
      chatout(new QLineEdit(this)),
      playerlist(tree(this)),
      tvComments(tree(this)),
      Label1(new QLabel(QStringLiteral("Latest Guild Message Board Comments:"), this)),
      imgGuildBank(new PictureLabel(this)),
      imgGuildHistory(new PictureLabel(this)),
      imgGuildList(new PictureLabel(this)),
      imgGuildMessageBoard(new PictureLabel(this)),
      imgMyGuild(new PictureLabel(this)),
      imgPublicMessageBoard(new PictureLabel(this)),
      tmrRefreshComments(new QTimer(this)),
      m_members(new GuildMembers(playerlist)) {
    setObjectName(QStringLiteral("frmguildchat"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x1a, 0x12, 0x26));
    setPalette(pal);
    resize(twips(10170), twips(8175));
    setMinimumSize(size());

    struct Link {
        PictureLabel* control;
        const char* name;
        int left;
        const char* tip;
        void (frmguildchat::*click)();
    };
    const Link links[] = {
        {imgGuildBank, "imgGuildBank", 135, "View and/or Access the Guild Bank", &frmguildchat::imgGuildBank_Click},
        {imgGuildHistory, "imgGuildHistory", 660, "View the Guild Transaction History", &frmguildchat::imgGuildHistory_Click},
        {imgGuildList, "imgGuildList", 1185, "View the list of all Guilds", &frmguildchat::imgGuildList_Click},
        {imgGuildMessageBoard, "imgGuildMessageBoard", 1710, "View your Guild Message Board", &frmguildchat::imgGuildMessageBoard_Click},
        {imgMyGuild, "imgMyGuild", 2235, "View Your Guilds Members, Applicants, and Overall Ranks", &frmguildchat::imgMyGuild_Click},
        {imgPublicMessageBoard, "imgPublicMessageBoard", 2760, "View the Public Message Board",
         &frmguildchat::imgPublicMessageBoard_Click},
    };
    for (const Link& l : links) {
        place(l.control, l.name, l.left, 1155, 450, 450);
        l.control->setAlignment(Qt::AlignCenter);
        l.control->setToolTip(QString::fromLatin1(l.tip).toHtmlEscaped());
        connect(l.control, &PictureLabel::Click, this, l.click);
    }

    place(playerlist, "playerlist", 90, 1725, 3900, 3735);
    place(Label1, "Label1", 90, 5565, 3345, 210);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setFont(namedFont("Verdana", 7, true));
    QPalette ink = Label1->palette();
    ink.setColor(QPalette::WindowText, QColor(0xf0, 0xd9, 0x8c));
    Label1->setPalette(ink);
    place(tvComments, "tvComments", 90, 5835, 3945, 2235);

    place(chatin, "chatin", 4155, 1755, 6000, 6090);
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
    chatin->setUndoRedoEnabled(false);
    chatin->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    chatin->viewport()->setMouseTracking(true);
    // Guild lines are written by the chat renderer and their links marked by position after it:
    // the log is trimmed as the lobby's is once the lines at hand are handled.
    connect(chatin->document(), &QTextDocument::contentsChanged, this, [this] {
        if (m_trimPending || chatLength(chatin) <= kLobbyLogLimit) return;
        m_trimPending = true;
        QMetaObject::invokeMethod(this, [this] { trimLog(); }, Qt::QueuedConnection);
    });
    QPalette log = chatin->palette();
    log.setColor(QPalette::Base, QColor(8, 5, 16));
    log.setColor(QPalette::Text, QColor(Qt::white));
    chatin->setPalette(log);

    place(chatout, "chatout", 4140, 7875, 5985, 255);
    chatout->setMaxLength(1000);
    chatout->setFont(namedFont("Verdana", 8));
    QPalette input = chatout->palette();
    input.setColor(QPalette::Base, QColor(Qt::black));
    input.setColor(QPalette::Text, QColor(Qt::white));
    chatout->setPalette(input);

    tmrRefreshComments->setObjectName(QStringLiteral("tmrRefreshComments"));
    tmrRefreshComments->setInterval(60000);
    connect(tmrRefreshComments, &QTimer::timeout, this, &frmguildchat::tmrRefreshComments_Timer);

    hookKeyPress(chatout, [this](int16_t& key) { chatout_KeyPress(key); });
    chatin->viewport()->installEventFilter(this);
    connect(tvComments, &QTreeWidget::itemDoubleClicked, this, [this] { tvComments_DblClick(); });
}

// ---- Load ----------------------------------------------------------------------------------

void frmguildchat::Form_Load() {
    // Every step that fails is skipped; the window loads whatever happens.
    resumeNext([&] { InitPlayerTree(); });
    resumeNext([&] { InitCommentTree(); });
    resumeNext([&] { LoadGuildComments(); });
    resumeNext([&] { loadBackground(); });
    resumeNext([&] { loadPictureLinks(); });
    tmrRefreshComments->start();
}

void frmguildchat::InitPlayerTree() { blackTree(playerlist); }
void frmguildchat::InitCommentTree() { blackTree(tvComments); }

void frmguildchat::loadBackground() {
    const auto show = [this](const QString& value) {
        QPixmap p;
        if (!p.load(SkinPicturePath(value))) return;
        QPalette pal = palette();
        pal.setBrush(QPalette::Window, QBrush(p));
        setPalette(pal);
    };
    // A skin may dress each guild in a picture of its own.
    const QString own = GetSkinValue(QStringLiteral("guild"), GuildName);
    if (!own.isEmpty()) {
        show(own);
        return;
    }
    const QString common = GetSkinValue(QStringLiteral("guild"), QStringLiteral("background"));
    if (!common.isEmpty()) {
        show(common);
    } else {
        ClientConfig().SkinOutofDate(-1);
        show(QStringLiteral("\\default\\guild\\background.jpg"));
    }
    addblock(QStringLiteral("The application could not find a guild skin, used the default instead. Visit ") + Deployment::website() +
                 QStringLiteral("/GameInfo/What-Is-GuildChatSkin.aspx"),
             ChatColour::Yellow);
}

void frmguildchat::loadPictureLinks() {
    const std::pair<PictureLabel*, const char*> rows[] = {
        {imgGuildBank, "guildbank"}, {imgGuildHistory, "guildhistory"},           {imgGuildList, "guildlist"},
        {imgGuildMessageBoard, "guildmessageboard"}, {imgMyGuild, "myguild"}, {imgPublicMessageBoard, "publicmessageboard"},
    };
    const QCursor hand = lobbyparts::handCursor();
    for (const auto& row : rows) {
        PictureLabel* control = row.first;
        const char* key = row.second;
        resumeNext([&] {
            QString value = GetSkinValue(QStringLiteral("guild"), QString::fromLatin1(key));
            if (value.isEmpty()) {
                ClientConfig().SkinOutofDate(-1);
                // The banner lies beside the icons folder, not in it.
                value = control == imgMyGuild ? QStringLiteral("\\default\\guild\\myguild.gif")
                                              : QStringLiteral("\\default\\guild\\icons\\") + QString::fromLatin1(key) + QStringLiteral(".gif");
            }
            QPixmap p;
            if (p.load(SkinPicturePath(value))) control->setPixmap(p);
        });
        control->setCursor(hand);
    }
}

// ---- Comments ------------------------------------------------------------------------------

void frmguildchat::LoadGuildComments() {
    tvComments->clear();
    // Without a guild there is no board to ask about.
    if (GuildName.isEmpty()) return;
    QString call = QStringLiteral("call sps_GetLatestGuildComments('") + SqlQuote(GuildName) + QStringLiteral("')");
    RecordSet rs = RunQuery(call);
    if (rs.failed() || rs.FieldCount() == 0) return;
    QSet<QString> keys;
    QList<QTreeWidgetItem*> nodes;
    try {
        for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
            const QString title = rs.Fields(QStringLiteral("ThreadTitle")).toString();
            const QString poster = rs.Fields(QStringLiteral("Poster")).toString();
            const QString stamp = rs.Fields(QStringLiteral("PostTimeStamp")).toString();
            const QString url = rs.Fields(QStringLiteral("sURL")).toString();
            // A post listed twice is shown once; the rest of the list still loads.
            if (!url.isEmpty() && keys.contains(url)) continue;
            keys.insert(url);
            auto* node = new QTreeWidgetItem(QStringList{poster + QStringLiteral(": ") + title + QStringLiteral(" (") + stamp + u')'});
            node->setData(0, Qt::UserRole, url);
            nodes << node;
        }
    } catch (const RuntimeError&) {
        // A reply without one of the fields ends the list; what came before it is shown.
    }
    tvComments->addTopLevelItems(nodes);
}

void frmguildchat::tmrRefreshComments_Timer() {
    shielded("frmguildchat::tmrRefreshComments_Timer", [&] {
        if (++iCommentTicks < kReloadTicks) return;
        iCommentTicks = 0;
        LoadGuildComments();
    });
}

void frmguildchat::tvComments_DblClick() {
    shielded("frmguildchat::tvComments_DblClick", [&] {
        QTreeWidgetItem* node = tvComments->currentItem();
        if (!node) return;
        const QString key = node->data(0, Qt::UserRole).toString();
        if (!key.isEmpty() && key.contains(QLatin1String("http://"))) OpenLink(key);
    });
}

// ---- The log -------------------------------------------------------------------------------

void frmguildchat::addblock(const QString& text, long colour) {
    resumeNext([&] {
        if (chatLength(chatin) > kGuildLogLimit) chatin->clear();
    });
    const int start = chatLength(chatin);
    resumeNext([&] {
        ChatRuns out(chatin);
        lobbyparts::userChatFont(out);
        out.run(text + u'\n', colour);
    });
    HighlightChatLinks(chatin, start);
}

void frmguildchat::trimLog() {
    m_trimPending = false;
    TrimChatLog(chatin);
}

void frmguildchat::chatin_MouseMove(const QPoint& pos) {
    resumeNext([&] { sLink = HyperlinkHover(chatin, pos); });
}

void frmguildchat::chatin_Click() {
    shielded("frmguildchat::chatin_Click", [&] { OpenChatWord(sLink); });
}

bool frmguildchat::eventFilter(QObject* watched, QEvent* event) {
    shielded("frmguildchat::eventFilter", [&] {
        if (watched != chatin->viewport()) return;
        if (event->type() == QEvent::MouseMove) chatin_MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            chatin_Click();
    });
    return QWidget::eventFilter(watched, event);
}

void frmguildchat::chatout_KeyPress(int16_t& KeyAscii) {
    // An empty input types as usual: no command keys, and Enter sends nothing.
    if (chatout->text().isEmpty()) return;
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->intIdle = 0;
    // Every guild line is guild chat, whatever it begins with.
    ChatKeyPress(this, KeyAscii, QStringLiteral("/guild "), QString());
}

// ---- Members -------------------------------------------------------------------------------

void frmguildchat::RefreshGuildPlayerList() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    m_members->update(lobby ? lobby->playerlist : nullptr, GuildName);
}

// ---- Picture links -------------------------------------------------------------------------

void frmguildchat::openGuildPage(const QString& path, bool guildPath) {
    if (guildPath && !fitsInAddress(GuildName)) {
        qWarning("guild page not opened: the guild name does not fit in an address");
        return;
    }
    OpenLink(Deployment::website() + path);
}

void frmguildchat::imgGuildBank_Click() { openGuildPage(QStringLiteral("/Guild/GuildBank.aspx")); }
void frmguildchat::imgGuildHistory_Click() { openGuildPage(QStringLiteral("/Guild/GuildTransactionHistory.aspx")); }
void frmguildchat::imgGuildList_Click() { openGuildPage(QStringLiteral("/Guild/GuildList.aspx")); }
void frmguildchat::imgGuildMessageBoard_Click() {
    openGuildPage(QStringLiteral("/Guilds/Threads/") + GuildName + QStringLiteral("/PomplingBoard.aspx"), true);
}
void frmguildchat::imgMyGuild_Click() { openGuildPage(QStringLiteral("/Guilds/Info/") + GuildName + QStringLiteral(".aspx"), true); }
void frmguildchat::imgPublicMessageBoard_Click() {
    openGuildPage(QStringLiteral("/Guilds/Threads/") + Deployment::publicBoardGuild() + QStringLiteral("/PomplingBoard.aspx"));
}

// ---- Closing -------------------------------------------------------------------------------

void frmguildchat::Form_QueryUnload(int& cancel, int mode) {
    // Only the program closes this window: the lobby's ping tick, "/guilddisband", the end.
    if (mode != vb::FormControlMenu) return;
    PrintChatLine(QStringLiteral("Fail"), QString(), kCloseRefused, ChatColour::Red);
    cancel = 1;
}
