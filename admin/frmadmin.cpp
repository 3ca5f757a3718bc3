#include "admin/frmadmin.h"

#include "admin/AdminLook.h"
#include "admin/frmTournyHelper.h"
#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/RunQuery.h"
#include "app/modLinks.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmmenu.h"
#include "net/LineFields.h"
#include "net/frmCon.h"
#include "platform/KeyAscii.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

using lines::send;

namespace {
constexpr long kAdminChatColour = 12632064;
constexpr int kLogLimit = 15000;

// The operator's sounds live beside the numbered ones and play only when present.
void playWavIfPresent(const char* file) {
    const QString path = clientPath(QStringLiteral("wavs/") + QLatin1String(file));
    if (FileExists(path)) PlayWav(path);
}

// A link picture: a small framed plate with its caption.
QPixmap linkPlate(const QString& caption) {
    const QSize size(112, 26);
    QPixmap p(size);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(0x4a, 0x2f, 0x6b));
    fill.setColorAt(1, QColor(0x22, 0x14, 0x33));
    g.setBrush(fill);
    g.setPen(QPen(QColor(0xc9, 0xa5, 0x5c), 1));
    g.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 5, 5);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    g.setFont(font);
    g.setPen(QColor(0xf0, 0xd9, 0x8c));
    g.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, caption);
    return p;
}

}  // namespace

frmadmin::frmadmin()
    : chatin(new QTextEdit),
      chatout(new QLineEdit),
      lblKeywords(new QLabel(QStringLiteral("Keywords"))),
      lstkeywords(new QListWidget),
      lblRequests(new QLabel(QStringLiteral("Requests"))),
      lstrequests(new QListWidget),
      imgForum(new QLabel),
      imgInfraction(new QLabel),
      imgPortal(new QLabel),
      imgGld(new QLabel),
      imgGldPortal(new QLabel),
      imgWiki(new QLabel),
      tmrTrivia(new QTimer(this)),
      tmrTriviaNext(new QTimer(this)) {
    setObjectName(QStringLiteral("frmadmin"));
    setWindowTitle(QStringLiteral("Administration"));
    const std::pair<QObject*, const char*> names[] = {
        {chatin, "chatin"},       {chatout, "chatout"},           {lblKeywords, "lblKeywords"},   {lstkeywords, "lstkeywords"},
        {lblRequests, "lblRequests"}, {lstrequests, "lstrequests"}, {imgForum, "imgForum"},     {imgInfraction, "imgInfraction"},
        {imgPortal, "imgPortal"}, {imgGld, "imgGld"},             {imgGldPortal, "imgGldPortal"}, {imgWiki, "imgWiki"},
        {tmrTrivia, "tmrTrivia"}, {tmrTriviaNext, "tmrTriviaNext"}};
    for (const auto& [object, name] : names) object->setObjectName(QLatin1String(name));
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
    chatin->setUndoRedoEnabled(false);
    chatin->setFocusPolicy(Qt::ClickFocus);
    lstkeywords->setToolTip(QStringLiteral("Double Click to send quick call"));
    tmrTrivia->setInterval(30000);
    tmrTriviaNext->setInterval(5000);
    connect(tmrTrivia, &QTimer::timeout, this, [this] { shielded("frmadmin::tmrTrivia_Timer", [&] { tmrTrivia_Timer(); }); });
    connect(tmrTriviaNext, &QTimer::timeout, this,
            [this] { shielded("frmadmin::tmrTriviaNext_Timer", [&] { tmrTriviaNext_Timer(); }); });
    connect(lstkeywords, &QListWidget::itemDoubleClicked, this, [this] { lstkeywords_DblClick(); });
    hookKeyPress(chatout, [this](int16_t& key) { chatout_KeyPress(key); });
    lstrequests->installEventFilter(this);
    layOut();
    buildMenus();
    setStyleSheet(AdminStyleSheet());
    resize(780, 520);
}

void frmadmin::layOut() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("adminPanel"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(10, 8, 10, 10);
    grid->setHorizontalSpacing(10);
    auto* links = new QHBoxLayout;
    links->setSpacing(6);
    const std::pair<QLabel*, const char*> plates[] = {{imgPortal, "Portal"}, {imgForum, "Forum"}, {imgWiki, "Help Wiki"},
                                                      {imgInfraction, "Infractions"}, {imgGld, "Staff Guild"},
                                                      {imgGldPortal, "Guild Board"}};
    for (const auto& [image, caption] : plates) {
        image->setPixmap(linkPlate(QLatin1String(caption)));
        image->installEventFilter(this);
        links->addWidget(image);
    }
    links->addStretch(1);
    grid->addLayout(links, 0, 0, 1, 2);
    grid->addWidget(chatin, 1, 0, 3, 1);
    grid->addWidget(chatout, 4, 0);
    grid->addWidget(lblKeywords, 1, 1);
    grid->addWidget(lstkeywords, 2, 1);
    auto* requests = new QVBoxLayout;
    requests->setContentsMargins(0, 6, 0, 0);
    requests->addWidget(lblRequests);
    requests->addWidget(lstrequests, 1);
    grid->addLayout(requests, 3, 1, 2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    grid->setRowStretch(3, 1);
    setCentralWidget(panel);
}

void frmadmin::buildMenus() {
    const auto item = [this](QMenu* menu, const char* name, const QString& caption, void (frmadmin::*slot)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, slot, name] { shielded(name, [&] { (this->*slot)(); }); });
        return a;
    };
    mnuControls = menuBar()->addMenu(QStringLiteral("Controls"));
    mnuControls->setObjectName(QStringLiteral("mnuControls"));
    // A check item: choosing it flips its mark, and the private-message receiver reads the mark.
    mnuDisablePM = mnuControls->addAction(QStringLiteral("Disable Private Messages"));
    mnuDisablePM->setObjectName(QStringLiteral("mnuDisablePM"));
    mnuDisablePM->setCheckable(true);
    // Shown by the operator level that may use it.
    mnuDisablePM->setVisible(false);
    mnuScripts = menuBar()->addMenu(QStringLiteral("Scripts"));
    mnuScripts->setObjectName(QStringLiteral("mnuScripts"));
    mnu8Ball = item(mnuScripts, "mnu8Ball", QStringLiteral("8-Ball"), &frmadmin::mnu8Ball_Click);
    mnuMarryPlayers = item(mnuScripts, "mnuMarryPlayers", QStringLiteral("Marry Players"), &frmadmin::mnuMarryPlayers_Click);
    mnuTournamentHelper =
        item(mnuScripts, "mnuTournamentHelper", QStringLiteral("Tournament Helper"), &frmadmin::mnuTournamentHelper_Click);
    mnuTriviaBot = item(mnuScripts, "mnuTriviaBot", QStringLiteral("Trivia Bot"), &frmadmin::mnuTriviaBot_Click);
    mnuRequests = menuBar()->addMenu(QStringLiteral("Requests"));
    mnuRequests->setObjectName(QStringLiteral("mnuRequests"));
    mnuGrant = item(mnuRequests, "mnuGrant", QStringLiteral("Grant"), &frmadmin::mnuGrant_Click);
    mnuDeny = item(mnuRequests, "mnuDeny", QStringLiteral("Deny"), &frmadmin::mnuDeny_Click);
    mnuClearAll = item(mnuRequests, "mnuClearAll", QStringLiteral("Clear All"), &frmadmin::mnuClearAll_Click);
}

void frmadmin::Form_Load() {
    resumeNext([&] {
        const QCursor hand = form<frmCon>()->skinCursor();
        for (QLabel* image : {imgForum, imgInfraction, imgPortal, imgGld, imgGldPortal, imgWiki}) image->setCursor(hand);
    });
}

// ---- Operators' chat and quick calls --------------------------------------------------------

void frmadmin::AddAdminTxt(const QString& name, const QString& text) {
    if (ConnectionState == 0) return;
    if (chatLength(chatin) > kLogLimit) chatin->clear();
    chatout->end(false);
    ChatRuns out(chatin);
    out.font(GetSkinValue(QStringLiteral("main"), QStringLiteral("fontface")),
             vbVal(GetSkinValue(QStringLiteral("main"), QStringLiteral("fontsize"))));
    out.run(name, kAdminChatColour, true);
    out.run(QStringLiteral(" commands, \"") + text + QStringLiteral("\" \n"), kAdminChatColour);
}

void frmadmin::chatout_KeyPress(int16_t& KeyAscii) {
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->back_away();
    if (KeyAscii != 13 && KeyAscii != 10) return;
    KeyAscii = 0;
    if (chatout->text().isEmpty()) return;
    send(QStringLiteral("ADMINCHAT ") + chatout->text());
    chatout->clear();
}

void frmadmin::LoadKeywords() {
    QString query = QStringLiteral("call sps_GetAdminKeywords()");
    const RecordSet rs = RunQuery(query);
    if (rs.RecordCount() <= 0) return;
    lstkeywords->clear();
    try {
        for (int row = 0; row < rs.RecordCount(); ++row) {
            const int column = rs.fieldIndex(QStringLiteral("keyword"));
            if (column < 0) throw RuntimeError(QStringLiteral("Item cannot be found in the collection"), 3265);
            lstkeywords->addItem(rs.value(row, column).toString());
        }
    } catch (const RuntimeError& e) {
        // A broken reply ends the list where it broke.
        qWarning("admin keywords: %s", qPrintable(e.description()));
    }
}

void frmadmin::lstkeywords_DblClick() {
    const QListWidgetItem* keyword = lstkeywords->currentItem();
    if (!keyword || !keyword->isSelected()) return;
    send(QStringLiteral("ADMINKEYWORD ") + keyword->text());
}

bool frmadmin::userexist(const QString& name) {
    if (frmchildchat* lobby = ifLoaded<frmchildchat>())
        for (int i = 0; i < lobby->playerlist->topLevelItemCount(); ++i)
            if (lobby->playerlist->topLevelItem(i)->text(0).compare(name, Qt::CaseInsensitive) == 0) return true;
    RenderIncomingChat(QStringLiteral("Doesnt exist"), QString(), QStringLiteral("--> ") + name + QStringLiteral(" doesn't exist."),
                       ChatColour::Yellow);
    return false;
}

// ---- Requests --------------------------------------------------------------------------------

QString frmadmin::selectedRequest() const {
    const QListWidgetItem* request = lstrequests->currentItem();
    return request && request->isSelected() ? request->text() : QString();
}

void frmadmin::lstrequests_KeyDown(int KeyCode) {
    const int count = lstrequests->count();
    if (count == 0) return;
    const int at = lstrequests->currentRow();
    if ((KeyCode == 38 && at != 0) || (KeyCode == 40 && at != count - 1)) playWavIfPresent("scroll.wav");
}

bool frmadmin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstrequests && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up) lstrequests_KeyDown(38);
        if (key == Qt::Key_Down) lstrequests_KeyDown(40);
    } else if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const std::pair<QLabel*, void (frmadmin::*)()> links[] = {
            {imgForum, &frmadmin::imgForum_Click}, {imgInfraction, &frmadmin::imgInfraction_Click},
            {imgPortal, &frmadmin::imgPortal_Click}, {imgGld, &frmadmin::imgGld_Click},
            {imgGldPortal, &frmadmin::imgGldPortal_Click}, {imgWiki, &frmadmin::imgWiki_Click}};
        for (const auto& link : links)
            if (watched == link.first) shielded("frmadmin link", [&] { (this->*link.second)(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmadmin::mnuGrant_Click() {
    const QString request = selectedRequest();
    if (request.isEmpty()) return;
    if (Divide(request, QStringLiteral(" "))[0] != QLatin1String("ENDGAME")) {
        playWavIfPresent("command.wav");
        send(QStringLiteral("TRIGGERREMOVE ") + request);
        return;
    }
    // The end-match menu's item does the granting; this window only sounds once the menu has
    // closed. A menu hides before it runs the chosen item, so the sound waits for the event loop
    // and follows the item's own.
    QMenu* endMatches = form<frmmenu>()->mnuendmatches;
    connect(
        endMatches, &QMenu::aboutToHide, this,
        [this] { QMetaObject::invokeMethod(this, [] { playWavIfPresent("command.wav"); }, Qt::QueuedConnection); },
        Qt::SingleShotConnection);
    endMatches->popup(QCursor::pos());
}

void frmadmin::mnuDeny_Click() {
    const QString request = selectedRequest();
    if (request.isEmpty()) return;
    const Fields f = Divide(request, QStringLiteral(" "));
    playWavIfPresent("command.wav");
    send(QStringLiteral("ADMINREMOVETRIGGER ") + request);
    if (f[0] != QLatin1String("ENDGAME")) return;
    const QString reason =
        InputBox(QStringLiteral("What reason do you wish to give this user"), QStringLiteral("Reason"), QStringLiteral("Request Denied"));
    send(QStringLiteral("PM ") + f[1] + u' ' +
         lines::encodeBlanks(QStringLiteral("Your request for an ended match by this admin was denied.   Reason: ") + reason));
}

void frmadmin::mnuClearAll_Click() { lstrequests->clear(); }

// ---- Controls and scripts ----------------------------------------------------------------------

void frmadmin::mnuDisablePM_Click() { mnuDisablePM->toggle(); }

void frmadmin::mnuMarryPlayers_Click() {
    const QString groom = InputBox(QStringLiteral("Who is the Groom? (The bride will receive this player's surname)"),
                                   QStringLiteral("GM Script: Marry Players"));
    const QString bride = InputBox(QStringLiteral("Who is the Bride?"), QStringLiteral("GM Script: Marry Player"));
    if (groom.trimmed().isEmpty() || bride.trimmed().isEmpty()) {
        AddAdminTxt(QStringLiteral("Server"), QStringLiteral("Marry Players needs both a groom and a bride; nobody was married."));
        return;
    }
    if (MsgBox(QStringLiteral("You want to marry the groom: ") + groom + QStringLiteral(" and the bride: ") + bride +
                   QStringLiteral(".  Is this correct?"),
               vb::YesNo | vb::Question, QStringLiteral("GM Script: Marry Players")) != vb::Yes)
        return;
    QString query = QStringLiteral("call spt_MarryPlayer('") + SqlQuote(ClientConfig().PassKey()) + QStringLiteral("', '") +
                    SqlQuote(groom) + QStringLiteral("', '") + SqlQuote(bride) + QStringLiteral("')");
    const RecordSet rs = RunQuery(query);
    if (rs.failed())
        AddAdminTxt(QStringLiteral("Server"), QStringLiteral("Marry Players failed: ") + groom + QStringLiteral(" and ") + bride +
                                                  QStringLiteral(" were not married (") + rs.error() + u')');
    else
        AddAdminTxt(QStringLiteral("Server"), QStringLiteral("Marry Players: ") + groom + QStringLiteral(" and ") + bride +
                                                  QStringLiteral(" are now married."));
}

void frmadmin::mnuTournamentHelper_Click() { form<frmTournyHelper>()->show(); }

// ---- Links -------------------------------------------------------------------------------------

namespace {
void openSitePage(const QString& path) { OpenLink(Deployment::website() + path); }
QString guildPath() { return QString::fromLatin1(QUrl::toPercentEncoding(Deployment::staffGuild())); }
}  // namespace

void frmadmin::imgPortal_Click() { openSitePage(QStringLiteral("/")); }
void frmadmin::imgInfraction_Click() { openSitePage(QStringLiteral("/Admin/ApplyInfraction.aspx")); }
void frmadmin::imgWiki_Click() { openSitePage(QStringLiteral("/Corvada-Help-Index.aspx")); }
void frmadmin::imgForum_Click() { OpenLink(Deployment::forum() + u'/'); }
void frmadmin::imgGld_Click() { OpenLink(Deployment::forum() + QStringLiteral("/Guilds/") + guildPath() + QStringLiteral(".aspx")); }
void frmadmin::imgGldPortal_Click() {
    openSitePage(QStringLiteral("/Guilds/Threads/") + guildPath() + QStringLiteral("/PomplingBoard.aspx"));
}

// ---- Closing -----------------------------------------------------------------------------------

void frmadmin::Form_QueryUnload(int& cancel, int mode) {
    if (mode == vb::FormControlMenu) {
        cancel = 1;
        AddAdminTxt(QStringLiteral("Server"), QStringLiteral("The administrative window cannot be closed in this manner."));
        return;
    }
    // The console outlives everything but the program: an unload while it shows only hides it.
    if (isVisible()) {
        cancel = 1;
        hide();
    }
}
