#include "tables/frmchallengebox.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "game/ModMiscFunctions.h"
#include "net/frmCon.h"

namespace {
constexpr int kWidth = 836, kHeight = 486;
constexpr int kRight = 424;

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + u'_' + QString::number(i); }
}  // namespace

frmchallengebox::frmchallengebox()
    : ChallengeRoom(4, {QStringLiteral("CHALLENGECHAT"), QStringLiteral("TEAM_READY"), QStringLiteral("TABLEJACKPOTCHANGE 2"),
                        QStringLiteral("TEAM_CLOSE")}),
      player3(new PictureLabel(this)),
      player4(new PictureLabel(this)) {
    DressWindow(this, "frmchallengebox", QStringLiteral("Challenge Box"), {kWidth, kHeight}, picTitle, lblTitle);
    player3->setObjectName(QStringLiteral("player3"));
    player4->setObjectName(QStringLiteral("player4"));

    const QPoint seats[4] = {{12, 32}, {kRight, 32}, {12, 142}, {kRight, 142}};
    for (int seat = 1; seat <= 4; ++seat) {
        imgBorder[seat - 1] = new QLabel(this);
        imgBorder[seat - 1]->setObjectName(indexed("imgBorder", seat - 1));
        placeSeat(seat, seatName(seat), imgBorder[seat - 1], seats[seat - 1]);
        const QPoint at = seats[seat - 1];
        staticLabel(qPrintable(indexed("lblPlayer", seat)), QStringLiteral("Player %1:").arg(seat),
                    QRect(at.x() + 100, at.y() + 22, 76, 22));
        staticLabel(qPrintable(indexed("lblReady", seat)), QStringLiteral("Ready:"), QRect(at.x() + 100, at.y() + 58, 76, 20));
        // Seats 1 and 2 are linked by the shared room.
        if (seat > 2) connect(seatName(seat), &PictureLabel::Click, this, [this, seat] { Player_Click(seat); });
    }

    staticLabel("lblGameRules", QStringLiteral("Game Rules:"), QRect(kRight, 254, 200, 18), true);
    staticLabel("lblStyle", QStringLiteral("Style:"), QRect(kRight, 280, 70, 20));
    staticLabel("lblBlocks", QStringLiteral("Blocks:"), QRect(kRight, 304, 70, 20));
    staticLabel("lblPlayerChat", QStringLiteral("Player Chat:"), QRect(12, 254, 200, 18), true);
    const QString link = QStringLiteral("color: #ffffff; font-weight: bold; text-decoration: underline; background: transparent;");
    for (int i = 0; i < 2; ++i) {
        ruleset[i] = new PictureLabel(this);
        ruleset[i]->setObjectName(indexed("ruleset", i));
        ruleset[i]->setGeometry(kRight + 74, 280 + 24 * i, 200, 20);
        ruleset[i]->setStyleSheet(link);
        connect(ruleset[i], &PictureLabel::Click, this, [this, i] { ruleset_Click(i); });
    }
    ruleset[0]->setText(QStringLiteral("Random"));
    ruleset[1]->setText(QStringLiteral("5"));

    chatin->setGeometry(12, 274, 400, 150);
    chatout->setGeometry(12, 428, 400, 24);
    chkJackpot->setGeometry(12, 458, 400, 22);
    cmdReady->move(kRight, 350);
    cmdChange->move(kRight + 116, 350);
    connect(cmdChange, &RFButton::Click, this, &frmchallengebox::cmdChange_Click);
}

PictureLabel* frmchallengebox::seatName(int seat) const {
    if (seat == 3) return player3;
    if (seat == 4) return player4;
    return ChallengeRoom::seatName(seat);
}

void frmchallengebox::Form_Load() {
    shielded("frmchallengebox::Form_Load", [&] {
        loadCommon();
        // The rule links read as links only for the creator, the one who may click them.
        if (IsCreator())
            for (PictureLabel* rule : ruleset) rule->setCursor(HandCursor());
        const QPixmap border = SkinPicture(QStringLiteral("main"), QStringLiteral("border"));
        for (QLabel* frame : imgBorder) frame->setPixmap(border);
        cmdChange->ButtonCaption(QStringLiteral("Change Sides"));
        clsBaseForm().TileBar(picTitle, lblTitle, SetTitle());
    });
}

void frmchallengebox::Rules(const QString& style) {
    m_rules = style;
    ruleset[0]->setText(style);
}

void frmchallengebox::Blocks(int16_t blocks) {
    m_blocks = blocks;
    ruleset[1]->setText(QString::number(blocks));
}

QString frmchallengebox::SetTitle() const {
    return QStringLiteral("Challenge - [Team OCV] - Table #: ") + QString::number(m_tablenumber);
}

void frmchallengebox::paintEvent(QPaintEvent* e) {
    const QString title = SetTitle();
    if (lblTitle->text() != title) shielded("frmchallengebox::paintEvent", [&] { clsBaseForm().TileBar(picTitle, lblTitle, title); });
    ChallengeRoom::paintEvent(e);
}

void frmchallengebox::cmdChange_Click() { SendRoomLine(QStringLiteral("TEAM_CHANGE")); }

void frmchallengebox::ruleset_Click(int Index) {
    if (!IsCreator()) return;
    if (Index == 0) SendRoomLine(QStringLiteral("TEAM_CHANGERULE 2"));
    if (Index == 1) SendRoomLine(QStringLiteral("TEAM_CHANGERULE 1"));
}
