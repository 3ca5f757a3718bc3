#include "tables/ChallengeRoom.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modSkin.h"
#include "game/ModMiscFunctions.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/KeyAscii.h"
#include "platform/Paths.h"
#include "platform/VbCompat.h"
#include "platform/WindowPlacement.h"
#include "tables/frmchallengebox_single.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QUrl>

namespace {
const QString kFlooding = QStringLiteral("You cannot toggle this option anymore because you are flooding the server.");

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + u'_' + QString::number(i); }

}  // namespace

QCursor HandCursor() {
    if (frmCon* con = ifLoaded<frmCon>()) return con->skinCursor();
    return QCursor(Qt::PointingHandCursor);
}

bool RoomConnected() {
    frmCon* con = ifLoaded<frmCon>();
    return con && con->Winsock->connected();
}

bool SendRoomLine(const QString& line) {
    if (!RoomConnected()) return false;
    ifLoaded<frmCon>()->SendToServer(line);
    return true;
}

void SetCreator(bool on) {
    if (frmCon* con = ifLoaded<frmCon>()) con->creator->setChecked(on);
}

void DressWindow(QWidget* w, const char* name, const QString& caption, QSize size, QWidget* picTitle, QLabel* lblTitle) {
    w->setObjectName(QString::fromLatin1(name));
    w->setWindowTitle(caption);
    w->setFixedSize(size);
    w->setMouseTracking(true);
    if (picTitle) {
        picTitle->setObjectName(QStringLiteral("picTitle"));
        picTitle->setGeometry(0, 0, size.width(), 24);
    }
    if (lblTitle) {
        lblTitle->setObjectName(QStringLiteral("lblTitle"));
        lblTitle->setGeometry(8, 0, size.width() - 16, 24);
        lblTitle->setTextFormat(Qt::PlainText);
    }
}

void PlaceWindow(QWidget* w) {
    QWidget* over = nullptr;
    for (QWidget* owner : {static_cast<QWidget*>(ifLoaded<frmchallengebox_single>()), static_cast<QWidget*>(ifLoaded<frmchildchat>())})
        if (!over && owner && owner != w && owner->isVisible()) over = owner;
    PlaceOver(w, over);
}

QString RoomTextStyle(bool strong) {
    return strong ? QStringLiteral("color: #e2bc66; font-weight: bold; background: transparent;")
                  : QStringLiteral("color: #f4e6c4; background: transparent;");
}

QString RoomBoxStyle() {
    return QStringLiteral("background: rgba(12, 9, 18, 215); color: #f4e6c4; border: 1px solid #6b5a3a;"
                          "selection-background-color: #6b5a3a; selection-color: #ffffff;");
}

QString RoomComboStyle() {
    return QStringLiteral("QComboBox { %1 } QComboBox QAbstractItemView { %1 }").arg(RoomBoxStyle());
}

QString RoomScrollStyle(const char* kind) {
    return QStringLiteral("%1 { %2 } QScrollBar:vertical { background: #1a1424; width: 12px; margin: 0; }"
                          " QScrollBar::handle:vertical { background: #6b5a3a; min-height: 24px; border-radius: 3px; }"
                          " QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }")
        .arg(QLatin1String(kind), RoomBoxStyle());
}

ChallengeRoom::ChallengeRoom(int seats, Lines lines)
    : picTitle(new QWidget(this)),
      lblTitle(new QLabel(picTitle)),
      Player1(new PictureLabel(this)),
      Player2(new PictureLabel(this)),
      imgitem(new QLabel(this)),
      chatin(new QTextEdit(this)),
      chatout(new QLineEdit(this)),
      chkJackpot(new QCheckBox(QStringLiteral("Participate in Daily/Weekly Jackpots"), this)),
      cmdReady(new RFButton(this)),
      cmdChange(new RFButton(this)),
      m_lines(std::move(lines)) {
    Player1->setObjectName(QStringLiteral("Player1"));
    Player2->setObjectName(QStringLiteral("Player2"));
    imgitem->setObjectName(QStringLiteral("imgitem"));
    imgitem->setVisible(false);

    ready.resize(seats + 1);
    for (int seat = 1; seat <= seats; ++seat) {
        ready[seat] = new QLabel(QStringLiteral("No"), this);
        ready[seat]->setObjectName(indexed("ready", seat));
        ready[seat]->setTextFormat(Qt::PlainText);
        ready[seat]->setStyleSheet(RoomTextStyle(true));
        // The head and the body stand inside the background, as in the lobby's own avatar.
        QLabel* ground = new QLabel(this);
        ground->setObjectName(indexed("picavatar", seat - 1));
        ground->setFixedSize(kAvatarWidth, kAvatarHeight);
        ground->setScaledContents(true);
        ground->setStyleSheet(QStringLiteral("background: rgba(0, 0, 0, 90); border: none;"));
        QLabel* body = new QLabel(ground);
        body->setObjectName(indexed("imgbody", seat - 1));
        QLabel* head = new QLabel(ground);
        head->setObjectName(indexed("imghead", seat - 1));
        for (QLabel* part : {body, head}) {
            part->setGeometry(0, 0, kAvatarWidth, kAvatarHeight);
            part->setScaledContents(true);
            part->setAttribute(Qt::WA_TranslucentBackground);
            part->setStyleSheet(QStringLiteral("background: transparent;"));
        }
        picavatar << ground;
        imgbody << body;
        imghead << head;
    }

    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
    chatin->setUndoRedoEnabled(false);
    chatin->setStyleSheet(RoomScrollStyle("QTextEdit"));
    chatout->setObjectName(QStringLiteral("chatout"));
    chatout->setStyleSheet(QStringLiteral("QLineEdit { %1 }").arg(RoomBoxStyle()));
    // The keyboard belongs to the chat input; the log takes it only when clicked.
    chatin->setFocusPolicy(Qt::ClickFocus);
    chatout->setFocus();
    chkJackpot->setObjectName(QStringLiteral("chkJackpot"));
    chkJackpot->setStyleSheet(QStringLiteral("QCheckBox { color: #f4e6c4; background: transparent; }"));
    chkJackpot->setChecked(true);
    cmdReady->setObjectName(QStringLiteral("cmdReady"));
    cmdChange->setObjectName(QStringLiteral("cmdChange"));
    m_rollover << cmdReady << cmdChange;

    hookKeyPress(chatout, [this](int16_t& key) { chatout_KeyPress(key); });
    connect(chkJackpot, &QCheckBox::clicked, this, &ChallengeRoom::chkJackpot_Click);
    connect(cmdReady, &RFButton::Click, this, &ChallengeRoom::cmdReady_Click);
    connect(Player1, &PictureLabel::Click, this, [this] { Player_Click(1); });
    connect(Player2, &PictureLabel::Click, this, [this] { Player_Click(2); });
}

PictureLabel* ChallengeRoom::seatName(int seat) const {
    if (seat == 1) return Player1;
    if (seat == 2) return Player2;
    return nullptr;
}

QLabel* ChallengeRoom::staticLabel(const char* name, const QString& text, const QRect& where, bool strong) {
    return GameLabel(this, name, text, where, RoomTextStyle(strong));
}

void ChallengeRoom::placeSeat(int seat, PictureLabel* name, QLabel* border, const QPoint& at) {
    border->setParent(this);
    border->setGeometry(at.x(), at.y(), 400, 104);
    border->setAttribute(Qt::WA_TransparentForMouseEvents);
    border->lower();
    picavatar[seat - 1]->move(at.x() + 14, at.y() + 8);
    name->setParent(this);
    name->setGeometry(at.x() + 180, at.y() + 22, 200, 22);
    name->setStyleSheet(QStringLiteral("color: #ffffff; font-weight: bold; font-size: 14px; background: transparent;"));
    ready[seat]->setGeometry(at.x() + 180, at.y() + 58, 100, 20);
    name->setToolTip(QStringLiteral("Click Here to View Player %1's Statistics").arg(seat).toHtmlEscaped());
    name->setCursor(HandCursor());
}

void ChallengeRoom::loadCommon() {
    PlaceWindow(this);
    SetSkinBackground(this, QStringLiteral("baseform"), QStringLiteral("background"));
    cmdReady->ButtonCaption(QStringLiteral("Ready"));
    for (int seat = 1; seat <= seatCount(); ++seat) {
        ClearSeatAvatar(seat);
        if (PictureLabel* name = seatName(seat)) name->setCursor(HandCursor());
    }
    m_jackpotToggles = 0;
}

void ChallengeRoom::ChallengeBlockChat(const QString& text, long colour) {
    // The room's chat keeps its newest part, as the lobby log does.
    TrimChatLog(chatin);
    QTextCursor cursor(chatin->document());
    cursor.movePosition(QTextCursor::End);
    chatout->end(false);
    cursor.beginEditBlock();
    cursor.insertText(text, UserChatFormat(vbColor(colour)));
    cursor.insertText(QStringLiteral(" \n"));
    cursor.endEditBlock();
    chatin->verticalScrollBar()->setValue(chatin->verticalScrollBar()->maximum());
}

void ChallengeRoom::setAvatarPart(QLabel* part, const QString& file, const QString& number, const QString& prefix) {
    part->setPixmap(imgitem->pixmap());
    part->clear();
    if (number.isEmpty() || number == QLatin1String("000")) return;
    if (!isSafePathComponent(number) || (!prefix.isEmpty() && !isSafePathComponent(prefix)) || !isSafePathComponent(file)) {
        qWarning("avatar picture \"%s\" is no plain file name", qPrintable(file));
        return;
    }
    QPixmap picture;
    if (picture.load(clientPath(QStringLiteral("skins/default/avatars/") + file)))
        part->setPixmap(picture);
    else
        qWarning("avatar picture \"%s\" is missing", qPrintable(file));
}

void ChallengeRoom::ShowSeatAvatar(int seat, const QString& background, const QString& head, const QString& body,
                                   const QString& prefix) {
    if (seat < 1 || seat > seatCount()) return;
    setAvatarPart(picavatar[seat - 1], QStringLiteral("background_") + background + QStringLiteral(".gif"), background, QString());
    setAvatarPart(imghead[seat - 1], prefix + QStringLiteral("_head_") + head + QStringLiteral(".gif"), head, prefix);
    setAvatarPart(imgbody[seat - 1], prefix + QStringLiteral("_body_") + body + QStringLiteral(".gif"), body, prefix);
}

void ChallengeRoom::ClearSeatAvatar(int seat) { ShowSeatAvatar(seat, QString(), QString(), QString(), QString()); }

void ChallengeRoom::chatout_KeyPress(int16_t& KeyAscii) {
    if (KeyAscii == 1) {
        chatin->clear();
        KeyAscii = 0;
        return;
    }
    const QString typed = chatout->text();
    if (typed.contains(QChar(3)) || typed.trimmed().isEmpty()) return;
    if (KeyAscii == 22) KeyAscii = 32;
    if (KeyAscii != 13 && KeyAscii != 10) return;
    KeyAscii = 0;
    QString text = typed;
    text.replace(QStringLiteral("  "), QStringLiteral(" "));
    QTextCharFormat white;
    white.setForeground(Qt::white);
    chatin->setCurrentCharFormat(white);
    SendRoomLine(m_lines.chat + u' ' + text);
    chatout->clear();
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->back_away();
}

void ChallengeRoom::chkJackpot_Click() {
    shielded("ChallengeRoom::chkJackpot_Click", [&] {
        // The tick shows the participation asked for: a toggle that does not go out is taken back.
        const auto takeBack = [this] {
            const QSignalBlocker quiet(chkJackpot);
            chkJackpot->setChecked(!chkJackpot->isChecked());
        };
        if (m_jackpotToggles >= kJackpotToggles) {
            ChallengeBlockChat(kFlooding, ChatColour::Red);
            takeBack();
            return;
        }
        if (!SendRoomLine(m_lines.jackpot)) {
            takeBack();
            return;
        }
        ++m_jackpotToggles;
    });
}

void ChallengeRoom::cmdReady_Click() { SendRoomLine(m_lines.ready); }

void ChallengeRoom::Player_Click(int seat) {
    shielded("ChallengeRoom::Player_Click", [&] {
        PictureLabel* name = seatName(seat);
        if (!name || name->text().isEmpty()) return;
        const QString player = QString::fromLatin1(QUrl::toPercentEncoding(name->text()));
        ShellOpen(Deployment::website() + u'/' + player + QStringLiteral("-Player-Statistics.aspx"));
    });
}

void ChallengeRoom::Form_MouseMove() {
    for (RFButton* button : m_rollover) shielded("ChallengeRoom::Form_MouseMove", [&] { button->RolloverRelease(); });
}

void ChallengeRoom::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    QWidget::mouseMoveEvent(e);
}

void ChallengeRoom::Form_QueryUnload(int& cancel, int mode) {
    Q_UNUSED(cancel);
    // Only the user's own close gives up the table; game starts and removals close it silently.
    if (mode == vb::FormControlMenu) SendRoomLine(m_lines.close);
}
