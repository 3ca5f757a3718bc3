#include "variants/frmteamomni.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "game/GameChatInput.h"
#include "game/ModMiscFunctions.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/LineFields.h"
#include "net/frmCon.h"
#include "platform/KeyAscii.h"
#include "platform/Services.h"
#include "variants/OmniShared.h"
#include "variants/TwoSeatTurn.h"
#include "variants/frmomni.h"


namespace {
constexpr int kCellWidth = 72, kCellHeight = 90;
constexpr int kTableWidth = 720, kTableHeight = 620;
constexpr int kChatLimit = 15000;

const QString kGold = QStringLiteral("#e2bc66");
const QString kParchment = QStringLiteral("#f4e6c4");

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + u'_' + QString::number(i); }
bool validCell(int i) { return i >= 0 && i < frmteamomni::kCells; }

QLabel* layer(QWidget* parent, const char* name, int seat, const QRect& where) {
    auto* l = new QLabel(parent);
    l->setObjectName(indexed(name, seat));
    l->setGeometry(where);
    l->setScaledContents(true);
    return l;
}
}  // namespace

frmteamomni::frmteamomni()
    : menuBar(new QMenuBar(this)), table(new SkinBackdrop(this)), picTitle(new QWidget(table)), lblTitle(new QLabel(picTitle)),
      TimerTurn(new QTimer(this)) {
    setObjectName(QStringLiteral("frmteamomni"));
    setWindowTitle(QStringLiteral("Team Omni Corvada"));
    const RequestMenu menu = BuildRequestMenu(menuBar, QStringLiteral("Options"), QString());
    mnuOptions = menu.mnuOptions;
    mnuEndGameRequest = menu.mnuEndGameRequest;

    auto* chatPanel = new QWidget(this);
    chatPanel->setObjectName(QStringLiteral("chatPanel"));
    chatPanel->setFixedSize(kTableWidth, 128);
    chatPanel->setAutoFillBackground(true);
    QPalette ground = chatPanel->palette();
    ground.setColor(QPalette::Window, QColor(14, 12, 22));
    chatPanel->setPalette(ground);
    LayOutTable(this, menuBar, table, picTitle, lblTitle, QSize(kTableWidth, kTableHeight), chatPanel);

    frmomni::buildCells(table, Board, flip, QPoint(164, 62), QSize(80, 100));
    for (int i = 0; i < kCells; ++i) {
        connect(Board[i], &PictureBox::clicked, this, [this, i] { Board_Click(i); });
        connect(Board[i], &PictureBox::mouseMoved, this, [this, i] { Board_MouseMove(i); });
        connect(flip[i], &AnimatedPicture::Finished, this, [this, i] { flip_Finished(i); });
    }

    const QString caption = QStringLiteral("font-weight: bold; background: transparent; color: %1;");
    const QString score = QStringLiteral("font-weight: bold; font-size: 26px; background: transparent; color: %1;");
    // The user's cards, in the upper left tray.
    Label3 = GameLabel(table, "Label3", QStringLiteral("Current Card"), QRect(14, 66, 120, 16), caption.arg(kParchment), Qt::AlignCenter);
    player = new PictureBox(table);
    player->setObjectName(QStringLiteral("player"));
    player->setGeometry(38, 84, kCellWidth, kCellHeight);
    Label4 = GameLabel(table, "Label4", QStringLiteral("Draw Card"), QRect(14, 182, 120, 16), caption.arg(kParchment), Qt::AlignCenter);
    player_nextcard = new PictureBox(table);
    player_nextcard->setObjectName(QStringLiteral("player_nextcard"));
    player_nextcard->setGeometry(38, 200, kCellWidth, kCellHeight);
    player_nextcard->Tag = QStringLiteral("empty");
    // Scores, countdown and Discard, in the lower left tray.
    Label1 = GameLabel(table, "Label1", QStringLiteral("Team 1"), QRect(14, 340, 120, 16), caption.arg(QStringLiteral("#9cc3ff")),
                       Qt::AlignCenter);
    player1_cards = GameLabel(table, "player1_cards", QStringLiteral("0"), QRect(14, 356, 120, 34), score.arg(QStringLiteral("#cfe0ff")),
                              Qt::AlignCenter);
    Label2 = GameLabel(table, "Label2", QStringLiteral("Team 2"), QRect(14, 398, 120, 16), caption.arg(QStringLiteral("#ff9c9c")),
                       Qt::AlignCenter);
    player2_cards = GameLabel(table, "player2_cards", QStringLiteral("0"), QRect(14, 414, 120, 34), score.arg(QStringLiteral("#ffd6d6")),
                              Qt::AlignCenter);
    Label5 = GameLabel(table, "Label5", QStringLiteral("Time Left:"), QRect(14, 458, 120, 16), caption.arg(kParchment), Qt::AlignCenter);
    timeleft = GameLabel(table, "timeleft", QString(), QRect(14, 476, 120, 40), caption.arg(kGold) + QStringLiteral("font-size: 14px;"),
                         Qt::AlignCenter);
    timeleft->setWordWrap(true);
    cmdDiscard = new RFButton(table);
    cmdDiscard->setObjectName(QStringLiteral("cmdDiscard"));
    cmdDiscard->move(24, 532);
    connect(cmdDiscard, &RFButton::Click, this, &frmteamomni::cmdDiscard_Click);
    // The four seats of the turn queue in the right trays, two to a tray.
    Label6 = GameLabel(table, "Label6", QStringLiteral("Turn Queue"), QRect(586, 38, 120, 18), caption.arg(kGold), Qt::AlignCenter);
    for (int s = 0; s < kSeats; ++s) {
        const QRect seat(601, 70 + s * 110 + (s >= 2 ? 50 : 0), 90, 90);
        picavatar[s] = layer(table, "picavatar", s, seat);
        imgbody[s] = layer(table, "imgbody", s, seat);
        imghead[s] = layer(table, "imghead", s, seat);
    }

    iam = new QLineEdit(this);
    iam->setObjectName(QStringLiteral("iam"));
    iam->setVisible(false);

    shapecover = MakeHoverFrame(table);
    connect(table, &SkinBackdrop::mouseMoved, this, &frmteamomni::Form_MouseMove);

    const QString box = QStringLiteral("background: rgba(10, 8, 16, 230); color: %1; border: 1px solid #6b5a3a;").arg(kParchment);
    chatin = new QTextEdit(chatPanel);
    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
    chatin->setUndoRedoEnabled(false);
    chatin->setGeometry(14, 6, kTableWidth - 28, 88);
    chatin->setStyleSheet(QStringLiteral("QTextEdit { %1 }").arg(box));
    chatout = new QLineEdit(chatPanel);
    chatout->setObjectName(QStringLiteral("chatout"));
    chatout->setGeometry(14, 98, kTableWidth - 28, 24);
    chatout->setFont(QFont(QStringLiteral("Verdana")));
    chatout->setStyleSheet(QStringLiteral("QLineEdit { %1 }").arg(box));
    hookKeyPress(chatout, [this](int16_t& code) { chatout_KeyPress(code); });

    TimerTurn->setObjectName(QStringLiteral("TimerTurn"));
    TimerTurn->setInterval(1000);
    m_countdown.emplace(VariantGame::TeamOmni, TimerTurn, timeleft, Timerints);
    connect(TimerTurn, &QTimer::timeout, this, &frmteamomni::TimerTurn_Timer);
    connect(mnuEndGameRequest, &QAction::triggered, this, &frmteamomni::mnuEndGameRequest_Click);
}

void frmteamomni::Form_Load() {
    table->load(QStringLiteral("teamocvboard"), QStringLiteral("background"));
    const QCursor hand = ifLoaded<frmCon>() ? ifLoaded<frmCon>()->skinCursor() : QCursor(Qt::PointingHandCursor);
    const QPixmap back = CardBack();
    for (int i = 0; i < kCells; ++i) {
        Board[i]->setCursor(hand);
        Board[i]->Picture(back);
        flip[i]->move(Board[i]->pos());
    }
    player->Picture(back);
    player_nextcard->Picture(back);
    cmdDiscard->ButtonCaption(QStringLiteral("Discard"));
    clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("Team Omni Corvada"));
}

void frmteamomni::Form_Unload(int& cancel) {
    Q_UNUSED(cancel);
    TimerTurn->stop();
    timeleft->clear();
}

void frmteamomni::Start_timer() { m_countdown->start(); }

void frmteamomni::AddBlockTxt(const QString& label, const QString& text) { AppendBlockTxt(chatin, label, text); }

// ---- The move -----------------------------------------------------------------------------------

void frmteamomni::Board_MouseMove(int Index) { ShowHover(*this, Index); }

void frmteamomni::Form_MouseMove() { HideHover(*this); }

void frmteamomni::Board_Click(int Index) {
    shielded("frmteamomni::Board_Click", [&] {
        guarded(533, [&] {
            if (!validCell(Index) || Board[Index]->Tag != QLatin1String("empty") || !blnPlay) return;
            // An empty hand, or one whose card was just played, holds nothing to place.
            if (player->Tag.isEmpty() || player->Tag.compare(QLatin1String("empty"), Qt::CaseInsensitive) == 0) return;
            if (PlayedCard()) return;
            MoveCard(Board[Index], player);
            shapecover->setVisible(false);
            FinishPlacement(*this, QStringLiteral("TEAM_OCVPLACEAT"), Index, *m_countdown);
        });
    });
}

void frmteamomni::cmdDiscard_Click() {
    shielded("frmteamomni::cmdDiscard_Click", [&] {
        if (blnPlay) SendDiscard(*this, player, QStringLiteral("TEAM_OCVCARDDISCARD"), true);
    });
}

void frmteamomni::flip_Finished(int Index) { EndFlip(*this, Index); }

// ---- Countdown and request ----------------------------------------------------------------------

void frmteamomni::TimerTurn_Timer() {
    shielded("frmteamomni::TimerTurn_Timer", [&] {
        guarded(38, [&] {
            QPointer<frmteamomni> self(this);
            if (m_countdown->tick() && self && !PlayedCard()) TimeOutPlacement(*this, QStringLiteral("TEAM_OCVPLACEAT"), player);
        });
    });
}

// The request goes through the chat, where an administrator picks it up; no box asks first.
void frmteamomni::mnuEndGameRequest_Click() {
    shielded("frmteamomni::mnuEndGameRequest_Click", [&] {
        PlaySound(3);
        QPointer<QAction> item(mnuEndGameRequest);
        SendGameLine(QStringLiteral("CHAT !endgame [Game Request]"));
        if (item) item->setEnabled(false);
    });
}

// ---- Chat ---------------------------------------------------------------------------------------

void frmteamomni::writeChat(const QString& text, long colour) {
    if (chatin->document()->characterCount() - 1 > kChatLimit) chatin->clear();
    ChatRuns out(chatin);
    out.font(lines::setting(QStringLiteral("Chat"), QStringLiteral("Font")),
             vbVal(lines::setting(QStringLiteral("Chat"), QStringLiteral("FontSize"))));
    out.run(text, colour);
}

void frmteamomni::ShowGameChat(const QString& sender, const QString& text) {
    chatout->end(false);
    const bool team = text.startsWith(QLatin1String("/team"));
    if (team) {
        QString said = text;
        said.replace(QStringLiteral("/team"), QStringLiteral(" "), Qt::CaseInsensitive);
        writeChat(sender + QStringLiteral(" says to team, \" ") + said.trimmed() + QStringLiteral(" \" \n"), ChatColour::Red);
    } else {
        writeChat(sender + QStringLiteral(" says, \" ") + text + QStringLiteral(" \" \n"), ChatColour::White);
    }
}

void frmteamomni::chatout_KeyPress(int16_t& KeyAscii) {
    const QString text = TakeGameChatLine(chatin, chatout, KeyAscii);
    if (text.isEmpty()) return;
    QPointer<frmteamomni> self(this);
    SendGameLine(QStringLiteral("TEAM_GAMECHAT ") + text);
    if (!self) return;
    if (text.startsWith(QLatin1String("/team")))
        writeChat(QStringLiteral("You say to team, \" ") + text.mid(6) + QStringLiteral(" \" \n"), ChatColour::Red);
    else
        writeChat(QStringLiteral("You say, \" ") + text + QStringLiteral(" \" \n"), ChatColour::White);
    chatout->clear();
    chatout->setProperty("Tag", QString());
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->back_away();
}
