#pragma once
// The guild chat window: the guild's own chat log and input, its members on line, the latest
// comments of its message board and six links to its pages. The user can only minimise and
// maximise it; the lobby shows it after login, and its ping tick keeps or unloads it.
#include "lobby/GuildMembers.h"
#include "lobby/PictureLabel.h"
#include "platform/Forms.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>

class frmguildchat : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmguildchat();

    QTextEdit* chatin;         // the guild chat log
    QLineEdit* chatout;        // the guild chat input
    QTreeWidget* playerlist;   // the members on line; each node's key (Qt::UserRole) is its text
    QTreeWidget* tvComments;   // the latest board comments; each node's key (Qt::UserRole) is its post's address
    QLabel* Label1;            // the caption above the comments
    PictureLabel* imgGuildBank;
    PictureLabel* imgGuildHistory;
    PictureLabel* imgGuildList;
    PictureLabel* imgGuildMessageBoard;
    PictureLabel* imgMyGuild;
    PictureLabel* imgPublicMessageBoard;
    QTimer* tmrRefreshComments;  // 60 s; the comments reload on every 15th tick

    // The word under the pointer in the log, as HyperlinkHover last returned it.
    QString sLink;

    // Reading gives the whole caption; writing v shows "[v] Guild Chat".
    QString TitleBar() const { return windowTitle(); }
    void TitleBar(const QString& value) { setWindowTitle(u'[' + value + QStringLiteral("] Guild Chat")); }
    // Appends text as one line in the colour (0xBBGGRR) and marks the links in it.
    void addblock(const QString& text, long colour);
    // The lobby's players whose "<guild>" tag is the player's guild, in the lobby's order: built
    // from the whole lobby tree once, then following its joins and leaves.
    void RefreshGuildPlayerList();

    // A key typed into chatout (its old key code; set to 0 to swallow it).
    void chatout_KeyPress(int16_t& KeyAscii);
    void Form_QueryUnload(int& cancel, int mode) override;

public slots:
    void Form_Load();
    void chatin_Click();
    void chatin_MouseMove(const QPoint& pos);
    void tvComments_DblClick();
    void tmrRefreshComments_Timer();
    void imgGuildBank_Click();
    void imgGuildHistory_Click();
    void imgGuildList_Click();
    void imgGuildMessageBoard_Click();
    void imgMyGuild_Click();
    void imgPublicMessageBoard_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InitPlayerTree();
    void InitCommentTree();
    void LoadGuildComments();
    void loadBackground();
    void loadPictureLinks();
    // Opens a page of the web site; guildPath: the path names the guild.
    void openGuildPage(const QString& path, bool guildPath = false);
    // Drops the oldest lines while the log is longer than the lobby's limit.
    void trimLog();

    GuildMembers* m_members;
    bool m_trimPending = false;

    int16_t iCommentTicks = 0;  // ticks since the comments were last loaded
};
