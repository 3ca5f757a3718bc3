#include "game/frmdisplaybox.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QMouseEvent>

namespace {
constexpr int kWidth = 520, kHeight = 440;
// The rows inside the card area: the row of cards to take (or gained) and the row lost.
constexpr int kRowLeft = 108, kRowStep = 78;
constexpr int kTopRow = 48, kLostRow = 178;

QLabel* caption(QWidget* parent, const char* name, const QString& text, const QRect& where, bool strong = false) {
    return GameLabel(parent, name, text, where,
                     strong ? QStringLiteral("color: #e2bc66; font-weight: bold; background: transparent;")
                            : QStringLiteral("color: #f4e6c4; background: transparent;"));
}
}  // namespace

frmdisplaybox::frmdisplaybox()
    : picTitle(new QWidget(this)),
      lblTitle(new QLabel(picTitle)),
      cardArea(new QWidget(this)),
      imgBorder(new QLabel(cardArea)),
      imgBorder1(new QLabel(cardArea)),
      lstcards(new QListWidget(this)),
      lstget(new QListWidget(this)),
      timeout(new QTimer(this)),
      imgOkay(new RFButton(this)) {
    setObjectName(QStringLiteral("frmdisplaybox"));
    setWindowTitle(QStringLiteral("Choose a Card"));
    setFixedSize(kWidth, kHeight);
    setMouseTracking(true);

    picTitle->setObjectName(QStringLiteral("picTitle"));
    picTitle->setGeometry(0, 0, kWidth, 24);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(8, 0, kWidth - 16, 24);
    lblTitle->setTextFormat(Qt::PlainText);

    cardArea->setObjectName(QStringLiteral("cardArea"));
    cardArea->setGeometry(0, 24, kWidth, 290);
    Label1 = caption(cardArea, "Label1", QStringLiteral("Cards Won:"), QRect(12, 84, 86, 18), true);
    Label2 = caption(cardArea, "Label2", QStringLiteral("Cards Lost:"), QRect(12, 214, 86, 18), true);
    imgBorder->setObjectName(QStringLiteral("imgBorder"));
    imgBorder->setGeometry(100, kTopRow - 7, 400, 104);
    imgBorder1->setObjectName(QStringLiteral("imgBorder1"));
    imgBorder1->setGeometry(100, kLostRow - 7, 400, 104);
    for (int i = 0; i < int(cardimage.size()); ++i) {
        const int column = i % kOffered;
        cardimage[i] = new PictureBox(cardArea);
        cardimage[i]->setObjectName(QStringLiteral("cardimage_%1").arg(i));
        cardimage[i]->setGeometry(kRowLeft + column * kRowStep, i < kOffered ? kTopRow : kLostRow, 72, 90);
        connect(cardimage[i], &PictureBox::clicked, this, [this, i] { cardimage_Click(i); });
    }

    Label6 = caption(this, "Label6", QStringLiteral("Status:"), QRect(20, 320, 100, 18));
    lblgamestatus = caption(this, "lblgamestatus", QString(), QRect(120, 320, 390, 18), true);
    Label4 = caption(this, "Label4", QStringLiteral("Cards to Pick:"), QRect(20, 342, 100, 18));
    lblCardstoPick = caption(this, "lblCardstoPick", QString(), QRect(120, 342, 60, 18), true);
    Label5 = caption(this, "Label5", QStringLiteral("Time Left:"), QRect(20, 364, 100, 18));
    timeleft = caption(this, "timeleft", QString(), QRect(120, 364, 60, 18), true);
    const QString list = QStringLiteral(
        "QListWidget { background: rgba(12, 9, 18, 215); color: #f4e6c4; border: 1px solid #6b5a3a; }");
    lstget->setObjectName(QStringLiteral("lstget"));
    lstget->setGeometry(300, 342, 200, 58);
    lstget->setStyleSheet(list);
    lstget->setFocusPolicy(Qt::NoFocus);
    lstcards->setObjectName(QStringLiteral("lstcards"));
    lstcards->setGeometry(300, 342, 200, 58);
    lstcards->setStyleSheet(list);
    lstcards->setVisible(false);
    imgOkay->setObjectName(QStringLiteral("imgOkay"));
    imgOkay->move((kWidth - RFButton::kWidthTwips / kTwipsPerPixel) / 2, 408);

    timeout->setObjectName(QStringLiteral("timeout"));
    timeout->setInterval(1000);
    connect(timeout, &QTimer::timeout, this, &frmdisplaybox::timeout_Timer);
    connect(imgOkay, &RFButton::Click, this, &frmdisplaybox::imgOkay_Click);
}

void frmdisplaybox::Form_Load() {
    ChangeTitle(QStringLiteral("Game Over"));
    SetSkinBackground(this, QStringLiteral("baseform"), QStringLiteral("background"));
    const QPixmap back = SkinPicture(QStringLiteral("main"), QStringLiteral("cardback"));
    const QCursor hand = ifLoaded<frmCon>() ? ifLoaded<frmCon>()->skinCursor() : QCursor(Qt::PointingHandCursor);
    for (PictureBox* card : cardimage) {
        card->setCursor(hand);
        card->Picture(back);
    }
    const QPixmap border = SkinPicture(QStringLiteral("main"), QStringLiteral("border"));
    imgBorder->setPixmap(border);
    imgBorder1->setPixmap(border);
    imgOkay->ButtonCaption(QStringLiteral("Okay"));
}

void frmdisplaybox::ChangeTitle(const QString& title) {
    m_title = title;
    clsBaseForm().TileBar(picTitle, lblTitle, m_title);
}

void frmdisplaybox::cardimage_Click(int Index) {
    shielded("frmdisplaybox::cardimage_Click", [&] {
        if (Index < 0 || Index >= kOffered) return;
        PictureBox* card = cardimage[Index];
        if (card->Tag.isEmpty() || !card->isEnabled()) return;
        QPointer<frmdisplaybox> self(this);
        TakeCard(card->Tag, Index);
        if (self && !unloading()) card->move(card->x(), card->y() - kRaise);
    });
}

void frmdisplaybox::TakeCard(const QString& cardName, int Index) {
    guarded(50, [&] {
        PlaySound(3);
        if (cardName.isEmpty()) {
            MsgBox(QStringLiteral("No card was selected.  Try again"), vb::OKOnly);
            return;
        }
        ++m_picked;
        cardimage[Index]->setEnabled(false);
        if (m_picked != CardsWon()) {
            lstget->addItem(cardName);
            const QList<QListWidgetItem*> offered = lstcards->findItems(cardName, Qt::MatchExactly);
            if (!offered.isEmpty()) delete lstcards->takeItem(lstcards->row(offered.first()));
            return;
        }
        lstget->addItem(cardName);
        if (CardsWon() > kOffered) throw RuntimeError(QStringLiteral("Subscript out of range"), 9);
        QStringList names(kOffered);
        for (int k = 0; k < CardsWon(); ++k) names[k] = lstget->item(k)->text().replace(u' ', QStringLiteral("%20"));
        m_picked = 0;
        TimerValue(0);
        timeout->stop();
        QPointer<frmdisplaybox> self(this);
        SendGameLine(QStringLiteral("CV_TAKECARD ") + vbStr(GameID()) + u' ' + names.join(u' '));
        lobbyToFront();
        if (self) unloadWidget(self);
    });
}

void frmdisplaybox::timeout_Timer() {
    shielded("frmdisplaybox::timeout_Timer", [&] {
        if (TimerValue() <= 0) {
            timeout->stop();
            return;
        }
        TimerValue(int16_t(TimerValue() - 1));
        timeleft->setText(QString::number(TimerValue()));
        if (TimerValue() != 0) return;
        timeout->stop();
        // The cards not yet taken stay open to a pick until the trade results come.
        QPointer<frmdisplaybox> self(this);
        SendGameLine(QStringLiteral("CV_TAKERANDOMCARD ") + vbStr(GameID()));
        if (!self) return;
        lblgamestatus->setText(QStringLiteral("Time is up. Server will choose 1 card."));
        imgOkay->setVisible(true);
    });
}

void frmdisplaybox::imgOkay_Click() {
    shielded("frmdisplaybox::imgOkay_Click", [&] {
        PlaySound(3);
        InGame = false;
        lobbyToFront();
        if (frmchildchat* lobby = ifLoaded<frmchildchat>()) {
            lobby->cmdJoin->setEnabled(true);
            lobby->cmdCreate->setEnabled(true);
        }
        unload<frmdisplaybox>();
    });
}

void frmdisplaybox::lobbyToFront() {
    frmchildchat* lobby = form<frmchildchat>();
    lobby->show();
    lobby->raise();
    lobby->activateWindow();
}

void frmdisplaybox::Form_MouseMove() {
    shielded("frmdisplaybox::Form_MouseMove", [&] { imgOkay->RolloverRelease(); });
}

void frmdisplaybox::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    FormWindow<QWidget>::mouseMoveEvent(e);
}
