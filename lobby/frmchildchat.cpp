#include "lobby/frmchildchat.h"

#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modSettings.h"
#include "app/modSnapshot.h"
#include "app/modSound.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/ChatInput.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat_parts.h"
#include "lobby/frmmenu.h"
#include "net/frmCon.h"
#include "platform/Ini.h"
#include "platform/KeyAscii.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>
#include <limits>

using namespace lobbyparts;

namespace {
const QString kCloseRefused = QStringLiteral("The game cannot be closed this way.  Please use the File->Exit menu item.");

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

}  // namespace

namespace lobbyparts {
void send(const QString& line) {
    if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(line);
}

QCursor handCursor() {
    if (frmCon* con = ifLoaded<frmCon>()) return con->skinCursor();
    return QCursor(Qt::PointingHandCursor);
}

void popupAtPointer(QMenu* menu) {
    if (menu) menu->popup(QCursor::pos());
}

void userChatFont(ChatRuns& out) {
    if (Nickname.isEmpty()) return;
    const QString file = GetIniFile();
    out.font(ReadIni(QStringLiteral("Chat"), QStringLiteral("Font"), file), vbVal(ReadIni(QStringLiteral("Chat"), QStringLiteral("FontSize"), file)));
}
}  // namespace lobbyparts

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
        userChatFont(out);
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
        OpenChatWord(HoverLink);
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
