#include "game/frmplaying.h"

#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "game/GameChatInput.h"
#include "game/ModMiscFunctions.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {
// The board's places in twips, as the skin's board picture is drawn for them.
constexpr int kCellLeft[3] = {2070, 3225, 4425};
constexpr int kCellTop[3] = {1365, 2805, 4245};
constexpr int kCellWidth = 1080, kCellHeight = 1350;
constexpr int kHand1Left = 345, kHand2Left = 6240;
constexpr int kHand1Top[5] = {2130, 2730, 3330, 3930, 4530};
constexpr int kHand2Top[5] = {2100, 2730, 3330, 3930, 4530};
constexpr int kSlotWidth = 930, kSlotHeight = 945;
// A picked hand card stands this far out toward the board.
constexpr int kSlideTwips = 25;
constexpr int kTableWidth = 500, kTableHeight = 580;

const QString kParchment = QStringLiteral("#f4e6c4");
const QString kGold = QStringLiteral("#e2bc66");

QLabel* textLabel(QWidget* parent, const char* name, const QString& text, const QRect& where, const QString& style,
                  Qt::Alignment align = Qt::AlignCenter) {
    return GameLabel(parent, name, text, where, style, align);
}

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + u'_' + QString::number(i); }

bool validSlot(int i) { return i >= 0 && i < frmplaying::kSlots; }
bool validCell(int i) { return i >= 0 && i < frmplaying::kCells; }
}  // namespace

frmplaying::frmplaying()
    : menuBar(new QMenuBar(this)),
      table(new QWidget(this)),
      picTitle(new QWidget(table)),
      lblTitle(new QLabel(picTitle)),
      TimerTurn(new QTimer(this)) {
    setObjectName(QStringLiteral("frmplaying"));
    setWindowTitle(QStringLiteral("Corvada"));

    menuBar->setStyleSheet(SkinMenuStyle());
    mnuOptions = menuBar->addMenu(QStringLiteral("Options"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    mnuEndGameRequest = mnuOptions->addAction(QStringLiteral("End Game Request"));
    mnuEndGameRequest->setObjectName(QStringLiteral("mnuEndGameRequest"));
    mnuStalemate = mnuOptions->addAction(QStringLiteral("Stalemate"));
    mnuStalemate->setObjectName(QStringLiteral("mnuStalemate"));
    mnuSurrender = mnuOptions->addAction(QStringLiteral("Surrender"));
    mnuSurrender->setObjectName(QStringLiteral("mnuSurrender"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(table);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    table->setObjectName(QStringLiteral("table"));
    table->setFixedSize(kTableWidth, kTableHeight);
    table->setMouseTracking(true);
    table->installEventFilter(this);
    QPalette ground = table->palette();
    ground.setColor(QPalette::Window, QColor(24, 18, 32));
    table->setPalette(ground);
    table->setAutoFillBackground(true);

    picTitle->setObjectName(QStringLiteral("picTitle"));
    picTitle->setGeometry(0, 0, kTableWidth, 22);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(8, 0, kTableWidth - 16, 22);
    lblTitle->setTextFormat(Qt::PlainText);
    lblTitle->setText(QStringLiteral("Corvada"));

    const QString plain = QStringLiteral("color: %1; background: transparent;").arg(kParchment);
    gamestatus = textLabel(table, "gamestatus", QString(), QRect(124, 28, 257, 24),
                           QStringLiteral("color: %1; font-weight: bold; font-size: 15px; background: transparent;").arg(kGold));
    Label1 = textLabel(table, "Label1", QStringLiteral("Time Left:"), QRect(150, 54, 104, 18), plain,
                       Qt::AlignRight | Qt::AlignVCenter);
    timeleft = textLabel(table, "timeleft", QString(), QRect(260, 54, 100, 18),
                         QStringLiteral("color: %1; font-weight: bold; background: transparent;").arg(kGold),
                         Qt::AlignLeft | Qt::AlignVCenter);
    Label2 = textLabel(table, "Label2", QStringLiteral("Player 1"), QRect(14, 76, 80, 18),
                       QStringLiteral("color: #9cc3ff; font-weight: bold; background: transparent;"));
    Label3 = textLabel(table, "Label3", QStringLiteral("Player 2"), QRect(407, 76, 80, 18),
                       QStringLiteral("color: #ff9c9c; font-weight: bold; background: transparent;"));
    player1_cards = textLabel(table, "player1_cards", QStringLiteral("5"), QRect(14, 92, 80, 38),
                              QStringLiteral("color: #cfe0ff; font-weight: bold; font-size: 30px; background: transparent;"));
    player2_cards = textLabel(table, "player2_cards", QStringLiteral("5"), QRect(407, 92, 80, 38),
                              QStringLiteral("color: #ffd6d6; font-weight: bold; font-size: 30px; background: transparent;"));

    for (int i = 0; i < kCells; ++i) {
        const QRect cell(twips(kCellLeft[i % 3]), twips(kCellTop[i / 3]), twips(kCellWidth), twips(kCellHeight));
        Board[i] = new PictureBox(table);
        Board[i]->setObjectName(indexed("Board", i));
        Board[i]->setGeometry(cell);
        Board[i]->Tag = QStringLiteral("empty");
        element[i] = new ElementLabel(table);
        element[i]->setObjectName(indexed("element", i));
        // The charge stands over the card's picture, leaving its numbers and name plate in sight.
        element[i]->setGeometry(cell.x(), cell.y() + 36, cell.width(), 26);
        flip[i] = new AnimatedPicture(table);
        flip[i]->setObjectName(indexed("flip", i));
        flip[i]->setGeometry(cell);
        flip[i]->setVisible(false);
        connect(Board[i], &PictureBox::clicked, this, [this, i] { Board_Click(i); });
        connect(Board[i], &PictureBox::mouseMoved, this, [this, i] { Board_MouseMove(i); });
        connect(element[i], &ElementLabel::clicked, this, [this, i] { element_Click(i); });
        connect(element[i], &ElementLabel::mouseMoved, this, [this, i] { Board_MouseMove(i); });
        connect(flip[i], &AnimatedPicture::Finished, this, [this, i] { flip_Finished(i); });
    }
    for (int i = 0; i < kSlots; ++i) {
        Player1[i] = new PictureBox(table, PictureBox::Fit::FitWidth);
        Player1[i]->setObjectName(indexed("Player1", i));
        Player1[i]->setGeometry(twips(kHand1Left), twips(kHand1Top[i]), twips(kSlotWidth), twips(kSlotHeight));
        Player1[i]->Tag = QStringLiteral("Empty");
        Player2[i] = new PictureBox(table, PictureBox::Fit::FitWidth);
        Player2[i]->setObjectName(indexed("Player2", i));
        Player2[i]->setGeometry(twips(kHand2Left), twips(kHand2Top[i]), twips(kSlotWidth), twips(kSlotHeight));
        Player2[i]->Tag = QStringLiteral("Empty");
        connect(Player1[i], &PictureBox::clicked, this, [this, i] { Player1_Click(i); });
        connect(Player2[i], &PictureBox::clicked, this, [this, i] { Player2_Click(i); });
    }
    for (int side = 1; side <= 2; ++side) {
        playerturn[side] = new QLabel(table);
        playerturn[side]->setObjectName(indexed("playerturn", side));
        playerturn[side]->setGeometry(side == 1 ? 22 : 415, 380, 64, 20);
        playerturn[side]->setScaledContents(true);
        playerturn[side]->setVisible(false);
    }

    shapecover = new QFrame(table);
    shapecover->setObjectName(QStringLiteral("shapecover"));
    shapecover->resize(twips(kCellWidth) + 6, twips(kCellHeight) + 6);
    shapecover->setStyleSheet(QStringLiteral("QFrame { border: 3px solid %1; border-radius: 4px; background: transparent; }").arg(kGold));
    shapecover->setAttribute(Qt::WA_TransparentForMouseEvents);
    shapecover->setVisible(false);

    const QString box = QStringLiteral("background: rgba(10, 8, 16, 215); color: %1; border: 1px solid #6b5a3a;").arg(kParchment);
    chatin = new QTextEdit(table);
    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
    chatin->setUndoRedoEnabled(false);
    chatin->setGeometry(20, 408, 300, 124);
    chatin->setStyleSheet(QStringLiteral("QTextEdit { %1 }").arg(box));
    chatout = new QLineEdit(table);
    chatout->setObjectName(QStringLiteral("chatout"));
    chatout->setGeometry(20, 536, 300, 22);
    chatout->setStyleSheet(QStringLiteral("QLineEdit { %1 }").arg(box));
    chatout->installEventFilter(this);
    lstrules = new QListWidget(table);
    lstrules->setObjectName(QStringLiteral("lstrules"));
    lstrules->setGeometry(328, 408, 152, 150);
    lstrules->setStyleSheet(QStringLiteral("QListWidget { %1 }").arg(box));
    lstrules->setSelectionMode(QAbstractItemView::NoSelection);
    lstrules->setFocusPolicy(Qt::NoFocus);

    TimerTurn->setObjectName(QStringLiteral("TimerTurn"));
    TimerTurn->setInterval(1000);
    connect(TimerTurn, &QTimer::timeout, this, &frmplaying::TimerTurn_Timer);
    connect(mnuEndGameRequest, &QAction::triggered, this, &frmplaying::mnuEndGameRequest_Click);
    connect(mnuStalemate, &QAction::triggered, this, &frmplaying::mnuStalemate_Click);
    connect(mnuSurrender, &QAction::triggered, this, &frmplaying::mnuSurrender_Click);
}

void frmplaying::Form_Load() {
    SelectedID(-1);
    const QPixmap back = CardBack();
    const QCursor hand = ifLoaded<frmCon>() ? ifLoaded<frmCon>()->skinCursor() : QCursor(Qt::PointingHandCursor);
    for (int i = 0; i < kSlots; ++i) {
        for (PictureBox* slot : {Player1[i], Player2[i]}) {
            slot->setCursor(hand);
            slot->Picture(back);
        }
    }
    for (int i = 0; i < kCells; ++i) {
        Board[i]->setCursor(hand);
        element[i]->setCursor(hand);
        Board[i]->Picture(back);
        ElementCard(i, QString());
    }
    SetSkinBackground(table, QStringLiteral("cvboard"), QStringLiteral("background"));
    playerturn[1]->setPixmap(SkinPicture(QStringLiteral("cvboard"), QStringLiteral("p1turn")));
    playerturn[2]->setPixmap(SkinPicture(QStringLiteral("cvboard"), QStringLiteral("p2turn")));
    clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("Corvada"));
}

// ---- Properties ---------------------------------------------------------------------------------


std::shared_ptr<clsCVRules> frmplaying::oCV() {
    if (!m_oCV) m_oCV = std::make_shared<clsCVRules>();
    return m_oCV;
}

void frmplaying::Start_timer() {
    TimerValue(90);
    TimerTurn->setInterval(1000);
    TimerTurn->start();
}

void frmplaying::AddBlockTxt(const QString& label, const QString& text) { AppendBlockTxt(chatin, label, text); }

void frmplaying::Form_Unload(int& cancel) {
    Q_UNUSED(cancel);
    stopCountdown();
}

void frmplaying::stopCountdown() {
    TimerTurn->stop();
    timeleft->clear();
}

// ---- Picking and placing ------------------------------------------------------------------------

std::array<PictureBox*, frmplaying::kSlots>& frmplaying::ownHand() { return playerid() == 1 ? Player1 : Player2; }

void frmplaying::slide(int side, int slot, bool out) {
    if (!validSlot(slot)) return;
    PictureBox* card = side == 1 ? Player1[slot] : Player2[slot];
    const int toward = side == 1 ? twips(kSlideTwips) : -twips(kSlideTwips);
    card->move(card->x() + (out ? toward : -toward), card->y());
    card->setHighlighted(out);
}

void frmplaying::Player1_Click(int Index) {
    shielded("frmplaying::Player1_Click", [&] { guarded(35, [&] { pickHandCard(1, Index); }); });
}

void frmplaying::Player2_Click(int Index) {
    shielded("frmplaying::Player2_Click", [&] { guarded(36, [&] { pickHandCard(2, Index); }); });
}

void frmplaying::pickHandCard(int side, int Index) {
    if (!validSlot(Index)) return;
    // Under the Order rule only the next card in hand order may be played.
    if (oCV()->Order() && Index != OrderSequence()) return;
    PictureBox* card = side == 1 ? Player1[Index] : Player2[Index];
    if (IsEmptyCard(card)) return;
    if (playerid() != side || playerturn[side]->isHidden()) return;
    if (card->Tag == QLatin1String("Empty") || Index == SelectedID()) return;
    if (SelectedID() != -1) slide(side, SelectedID(), false);
    slide(side, Index, true);
    SelectedID(int16_t(Index));
}

void frmplaying::Board_MouseMove(int Index) {
    if (!validCell(Index)) return;
    if (Board[Index]->Tag == QLatin1String("empty") && SelectedID() != -1) {
        shapecover->move(Board[Index]->x() - 3, Board[Index]->y() - 3);
        shapecover->setVisible(true);
        shapecover->raise();
    }
}

void frmplaying::Form_MouseMove() { shapecover->setVisible(false); }

void frmplaying::Board_Click(int Index) {
    shielded("frmplaying::Board_Click", [&] { guarded(533, [&] { placeCard(Index); }); });
}

void frmplaying::element_Click(int Index) {
    shielded("frmplaying::element_Click", [&] { guarded(34, [&] { placeCard(Index); }); });
}

void frmplaying::placeCard(int Index) {
    if (!validCell(Index) || !validSlot(SelectedID())) return;
    if (Board[Index]->Tag != QLatin1String("empty") || PlayedCard()) return;
    stopCountdown();
    const int slot = SelectedID();
    slide(playerid() == 1 ? 1 : 2, slot, false);
    shapecover->setVisible(false);
    if (playerid() == 1 || playerid() == 2) playerturn[playerid()]->setVisible(false);
    gamestatus->setText(QStringLiteral("Analyzing Move"));
    QPointer<frmplaying> self(this);
    moveToCell(Index, slot);
    if (!self) return;
    PlayedCard(true);
    gamestatus->clear();
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->back_away();
    if (!self) return;
    OrderSequence(int16_t(OrderSequence() + 1));
    SelectedID(-1);
}

void frmplaying::moveToCell(int cell, int slot) {
    PictureBox* card = ownHand()[slot];
    const QString name = StripJpg(card->Tag);
    Board[cell]->Picture(card->Picture());
    Board[cell]->Tag = name;
    Board[cell]->ToolTipText(name);
    card->Picture(CardBack());
    card->Tag = QStringLiteral("Empty");
    card->ToolTipText(QString());
    const QString move = QStringLiteral("CV_PLACEAT %1 %2").arg(cell).arg(slot);
    // The playback passes over the board's own moves; they keep the queue in order.
    lststeps << move + u' ' + Tag;
    SendGameLine(move);
}

// ---- Turn countdown -----------------------------------------------------------------------------

void frmplaying::TimerTurn_Timer() {
    shielded("frmplaying::TimerTurn_Timer", [&] {
        guarded(38, [&] {
            const int t = std::max<int>(TimerValue() - 1, INT16_MIN);
            TimerValue(int16_t(t));
            TimerTurn->setInterval(1000);
            if (t != 0 && !TimerTurn->isActive()) TimerTurn->start();
            if (t >= 15 && t <= 180) {
                timeleft->setText(QString::number(t));
                DoEvents();
            } else if (t >= 1 && t <= 14) {
                PlaySound(48);
                timeleft->setText(QString::number(t));
                DoEvents();
            } else {
                PlaySound(49);
                timeleft->setText(QStringLiteral("Times Up!"));
                TimerTurn->stop();
                if (!PlayedCard()) autoMove();
            }
        });
    });
}

void frmplaying::autoMove() {
    auto& hand = ownHand();
    const int side = playerid() == 1 ? 1 : 2;
    // A card picked but not placed goes back into the hand.
    if (SelectedID() != -1) slide(side, SelectedID(), false);
    SelectedID(-1);
    shapecover->setVisible(false);
    int slot = -1;
    const int next = OrderSequence();
    if (oCV()->Order() && validSlot(next) && !IsEmptyCard(hand[next])) {
        slot = next;
    } else {
        for (int i = 0; i < kSlots && slot < 0; ++i)
            if (!IsEmptyCard(hand[i])) slot = i;
    }
    if (slot < 0) return;
    int cell = -1;
    for (int i = 0; i < kCells && cell < 0; ++i)
        if (Board[i]->Tag == QLatin1String("empty")) cell = i;
    if (cell < 0) return;
    QPointer<frmplaying> self(this);
    moveToCell(cell, slot);
    if (!self) return;
    PlayedCard(true);
    OrderSequence(int16_t(OrderSequence() + 1));
}

// ---- Requests -----------------------------------------------------------------------------------

void frmplaying::mnuEndGameRequest_Click() {
    shielded("frmplaying::mnuEndGameRequest_Click", [&] {
        PlaySound(3);
        const int answer = MsgBox(QStringLiteral("Are you sure you want to request an end game? If 4 minutes have passed since "
                                                 "the last game activity, sending a request will auto terminate the game.  If "
                                                 "not, you will not be able to request another end game."),
                                  vb::YesNo | vb::Question, QStringLiteral("End Game Request"));
        if (answer != vb::Yes) return;
        SendGameLine(QStringLiteral("CV_ENDGAME"));
        mnuEndGameRequest->setEnabled(false);
    });
}

void frmplaying::mnuStalemate_Click() {
    shielded("frmplaying::mnuStalemate_Click", [&] {
        const int answer = MsgBox(QStringLiteral("Are you sure you want to request a stalemate?"), vb::YesNo | vb::Question,
                                  QStringLiteral("Game Stalemate"));
        if (answer != vb::Yes) return;
        SendGameLine(QStringLiteral("CV_STALEMATE"));
        mnuStalemate->setEnabled(false);
    });
}

void frmplaying::mnuSurrender_Click() {
    shielded("frmplaying::mnuSurrender_Click", [&] {
        const int answer =
            MsgBox(QStringLiteral("Are you sure you want to surrender? You will automatically lose and will cost 100GP!"),
                   vb::YesNo | vb::Question, QStringLiteral("Surrender (Game Termination)"));
        if (answer != vb::Yes) return;
        QPointer<frmplaying> self(this);
        SendGameLine(QStringLiteral("CV_SURRENDER"));
        if (!self) return;
        mnuSurrender->setEnabled(false);
        stopCountdown();
    });
}

// ---- Chat and notices ---------------------------------------------------------------------------

void frmplaying::chatout_KeyPress(int& KeyAscii) {
    const QString text = TakeGameChatLine(chatin, chatout, KeyAscii);
    if (text.isEmpty()) return;
    const QString opponent = ifLoaded<frmCon>() ? ifLoaded<frmCon>()->versus->text() : QString();
    QPointer<frmplaying> self(this);
    SendGameLine(QStringLiteral("GAMECHAT ") + opponent + QStringLiteral("~@*~*") + text);
    if (!self) return;
    TrimChatLog(chatin);
    QTextCursor cursor(chatin->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral(" You say, \" ") + text + QStringLiteral(" \" \n"), UserChatFormat(Qt::white));
    chatin->verticalScrollBar()->setValue(chatin->verticalScrollBar()->maximum());
    chatout->clear();
    chatout->setProperty("Tag", QString());
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->back_away();
}

bool frmplaying::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table && event->type() == QEvent::MouseMove) {
        Form_MouseMove();
        return false;
    }
    if (watched != chatout || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    int code = 0;
    if (key->matches(QKeySequence::SelectAll)) {
        code = 1;
    } else if (key->matches(QKeySequence::Paste)) {
        code = 22;
    } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        code = 13;
    } else if (!key->text().isEmpty()) {
        code = key->text().at(0).unicode();
    } else {
        return false;
    }
    const int typed = code;
    bool swallow = false;
    shielded("frmplaying::chatout_KeyPress", [&] {
        chatout_KeyPress(code);
        if (code == 0) {
            swallow = true;
        } else if (code != typed) {
            chatout->insert(QString(QChar(code)));
            swallow = true;
        }
    });
    return swallow;
}

void frmplaying::flip_Finished(int Index) {
    if (!validCell(Index)) return;
    flip[Index]->setVisible(false);
    Board[Index]->setVisible(true);
    element[Index]->setVisible(true);
    element[Index]->raise();
}
