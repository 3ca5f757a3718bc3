#include "variants/frmomni.h"

#include "variants/OmniShared.h"
#include "variants/TwoSeatTurn.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "game/ModMiscFunctions.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Services.h"

#include <algorithm>


namespace {
constexpr int kCellWidth = 72, kCellHeight = 90;
// The skin's picture is drawn to this size; the trays and the board lie where the default
// skin draws them at this scale.
constexpr int kTableWidth = 589, kTableHeight = 552;
constexpr int kDiscardTop = 322, kBlueDiscardLeft = -10, kRedDiscardLeft = 492;

const QString kGold = QStringLiteral("#e2bc66");

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + u'_' + QString::number(i); }

PictureBox* slot(QWidget* parent, const char* name, int x, int y) {
    auto* box = new PictureBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(x, y, kCellWidth, kCellHeight);
    return box;
}

bool validCell(int i) { return i >= 0 && i < frmomni::kCells; }
}  // namespace

void frmomni::buildCells(QWidget* parent, std::array<PictureBox*, kCells>& board, std::array<AnimatedPicture*, kCells>& flips,
                         QPoint origin, QSize pitch) {
    for (int i = 0; i < kCells; ++i) {
        const QRect cell(origin.x() + (i % 5) * pitch.width(), origin.y() + (i / 5) * pitch.height(), kCellWidth, kCellHeight);
        board[i] = new PictureBox(parent);
        board[i]->setObjectName(indexed("Board", i));
        board[i]->setGeometry(cell);
        board[i]->Tag = QStringLiteral("empty");
        flips[i] = new AnimatedPicture(parent);
        flips[i]->setObjectName(indexed("flip", i));
        flips[i]->setGeometry(cell);
        flips[i]->setVisible(false);
    }
}

frmomni::frmomni()
    : menuBar(new QMenuBar(this)), table(new SkinBackdrop(this)), picTitle(new QWidget(table)), lblTitle(new QLabel(picTitle)),
      TimerTurn(new QTimer(this)) {
    setObjectName(QStringLiteral("frmomni"));
    setWindowTitle(QStringLiteral("Omni Corvada"));
    const RequestMenu menu = BuildRequestMenu(menuBar, QStringLiteral("Options"), QStringLiteral("Stalemate"));
    mnuOptions = menu.mnuOptions;
    mnuEndGameRequest = menu.mnuEndGameRequest;
    mnuStalemate = menu.mnuStalemate;
    mnuSurrender = menu.mnuSurrender;

    LayOutTable(this, menuBar, table, picTitle, lblTitle, QSize(kTableWidth, kTableHeight));

    buildCells(table, Board, flip, QPoint(105, 48), QSize(77, 96));
    for (int i = 0; i < kCells; ++i) {
        connect(Board[i], &PictureBox::clicked, this, [this, i] { Board_Click(i); });
        connect(Board[i], &PictureBox::mouseMoved, this, [this, i] { Board_MouseMove(i); });
        connect(flip[i], &AnimatedPicture::Finished, this, [this, i] { flip_Finished(i); });
    }
    Player1 = slot(table, "Player1", 18, 118);
    player1_nextcard = slot(table, "player1_nextcard", 18, 222);
    Player2 = slot(table, "Player2", 498, 118);
    player2_nextcard = slot(table, "player2_nextcard", 498, 222);
    iam = new QLineEdit(this);
    iam->setObjectName(QStringLiteral("iam"));
    iam->setVisible(false);

    const QString bold = QStringLiteral("font-weight: bold; background: transparent; color: %1;");
    Label2 = GameLabel(table, "Label2", QStringLiteral("Player 1"), QRect(8, 26, 94, 18), bold.arg(QStringLiteral("#9cc3ff")),
                       Qt::AlignCenter);
    Label3 = GameLabel(table, "Label3", QStringLiteral("Player 2"), QRect(488, 26, 94, 18), bold.arg(QStringLiteral("#ff9c9c")),
                       Qt::AlignCenter);
    const QString score = QStringLiteral("font-weight: bold; font-size: 28px; background: transparent; color: %1;");
    player1_cards = GameLabel(table, "player1_cards", QStringLiteral("0"), QRect(8, 44, 94, 36), score.arg(QStringLiteral("#cfe0ff")),
                              Qt::AlignCenter);
    player2_cards = GameLabel(table, "player2_cards", QStringLiteral("0"), QRect(488, 44, 94, 36), score.arg(QStringLiteral("#ffd6d6")),
                              Qt::AlignCenter);
    for (int side = 1; side <= 2; ++side) {
        playerturn[side] = new QLabel(table);
        playerturn[side]->setObjectName(indexed("playerturn", side));
        playerturn[side]->setGeometry(side == 1 ? 22 : 502, 86, 64, 20);
        playerturn[side]->setScaledContents(true);
        playerturn[side]->setVisible(false);
    }
    Label1 = GameLabel(table, "Label1", QStringLiteral("Time Left:"), QRect(105, 527, 76, 20), bold.arg(QStringLiteral("#f4e6c4")),
                       Qt::AlignRight | Qt::AlignVCenter);
    timeleft = GameLabel(table, "timeleft", QString(), QRect(186, 527, 150, 20), bold.arg(kGold));
    gamestatus = GameLabel(table, "gamestatus", QString(), QRect(336, 527, 148, 20),
                           QStringLiteral("font-weight: bold; font-size: 14px; background: transparent; color: %1;").arg(kGold),
                           Qt::AlignRight | Qt::AlignVCenter);

    cmdDiscard = new RFButton(table);
    cmdDiscard->setObjectName(QStringLiteral("cmdDiscard"));
    placeDiscard(true);
    connect(cmdDiscard, &RFButton::Click, this, &frmomni::cmdDiscard_Click);

    shapecover = MakeHoverFrame(table);
    connect(table, &SkinBackdrop::mouseMoved, this, &frmomni::Form_MouseMove);

    TimerTurn->setObjectName(QStringLiteral("TimerTurn"));
    TimerTurn->setInterval(1000);
    m_countdown.emplace(VariantGame::Omni, TimerTurn, timeleft, Timerints);
    connect(TimerTurn, &QTimer::timeout, this, &frmomni::TimerTurn_Timer);
    connect(mnuEndGameRequest, &QAction::triggered, this, &frmomni::mnuEndGameRequest_Click);
    connect(mnuStalemate, &QAction::triggered, this, &frmomni::mnuStalemate_Click);
    connect(mnuSurrender, &QAction::triggered, this, &frmomni::mnuSurrender_Click);
}

void frmomni::Form_Load() {
    table->load(QStringLiteral("omniboard"), QStringLiteral("background"));
    playerturn[1]->setPixmap(SkinPicture(QStringLiteral("cvboard"), QStringLiteral("p1turn")));
    playerturn[2]->setPixmap(SkinPicture(QStringLiteral("cvboard"), QStringLiteral("p2turn")));
    cmdDiscard->ButtonCaption(QStringLiteral("Discard"));
    const QCursor hand = ifLoaded<frmCon>() ? ifLoaded<frmCon>()->skinCursor() : QCursor(Qt::PointingHandCursor);
    const QPixmap back = CardBack();
    for (int i = 0; i < kCells; ++i) {
        Board[i]->setCursor(hand);
        Board[i]->Picture(back);
        flip[i]->move(Board[i]->pos());
    }
    for (PictureBox* box : {Player1, player1_nextcard, Player2, player2_nextcard}) box->Picture(back);
    clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("Omni Corvada"));
}

void frmomni::Form_Unload(int& cancel) {
    Q_UNUSED(cancel);
    TimerTurn->stop();
    timeleft->clear();
}

void frmomni::Start_timer() { m_countdown->start(); }

PictureBox* frmomni::ownSlot() const { return iam->text() == QLatin1String("1") ? Player1 : Player2; }

// Beside the user's own current card, and never past the table's edge: the blue side's place
// lies left of the table and the red side's reaches past its right edge by a few pixels.
void frmomni::placeDiscard(bool blue) {
    const int left = blue ? kBlueDiscardLeft : kRedDiscardLeft;
    cmdDiscard->move(std::clamp(left, 0, table->width() - cmdDiscard->width()), kDiscardTop);
}

// ---- The move -----------------------------------------------------------------------------------

void frmomni::Board_MouseMove(int Index) { ShowHover(*this, Index); }

void frmomni::Form_MouseMove() { HideHover(*this); }

void frmomni::Board_Click(int Index) {
    shielded("frmomni::Board_Click", [&] {
        guarded(533, [&] {
            if (!validCell(Index) || Board[Index]->Tag != QLatin1String("empty") || !blnPlay || PlayedCard()) return;
            PictureBox* own = ownSlot();
            // An empty slot, or one whose card was just played, holds nothing to place.
            if (own->Tag.isEmpty() || own->Tag.compare(QLatin1String("empty"), Qt::CaseInsensitive) == 0) return;
            MoveCard(Board[Index], own);
            shapecover->setVisible(false);
            playerturn[iam->text() == QLatin1String("1") ? 1 : 2]->setVisible(false);
            FinishPlacement(*this, QStringLiteral("OCVPLACEAT"), Index, *m_countdown);
        });
    });
}

void frmomni::cmdDiscard_Click() {
    shielded("frmomni::cmdDiscard_Click", [&] {
        const QString seat = iam->text();
        if (seat == QLatin1String("1") || seat == QLatin1String("2")) SendDiscard(*this, ownSlot(), QStringLiteral("OCVCARDDISCARD"), false);
    });
}

void frmomni::flip_Finished(int Index) { EndFlip(*this, Index); }

// ---- Countdown and requests ---------------------------------------------------------------------

void frmomni::TimerTurn_Timer() {
    shielded("frmomni::TimerTurn_Timer", [&] {
        guarded(38, [&] {
            QPointer<frmomni> self(this);
            if (m_countdown->tick() && self && !PlayedCard()) TimeOutPlacement(*this, QStringLiteral("OCVPLACEAT"), ownSlot());
        });
    });
}

void frmomni::mnuEndGameRequest_Click() {
    shielded("frmomni::mnuEndGameRequest_Click",
             [&] { AskRequest(VariantRequest::EndGame, QStringLiteral("OCVENDGAME"), mnuEndGameRequest); });
}

void frmomni::mnuStalemate_Click() {
    shielded("frmomni::mnuStalemate_Click", [&] { AskRequest(VariantRequest::Stalemate, QStringLiteral("OCVSTALEMATE"), mnuStalemate); });
}

void frmomni::mnuSurrender_Click() {
    shielded("frmomni::mnuSurrender_Click", [&] { AskRequest(VariantRequest::Surrender, QStringLiteral("OCVSURRENDER"), mnuSurrender); });
}
