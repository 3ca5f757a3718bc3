#include "tables/frmchallengewaiting.h"

#include "app/ErrorHandler.h"
#include "game/ModMiscFunctions.h"
#include "net/frmCon.h"
#include "tables/ChallengeRoom.h"

namespace {
constexpr int kWidth = 320, kHeight = 110;
}  // namespace

frmchallengewaiting::frmchallengewaiting() : lblevent(new QLabel(this)), cancel(new RFButton(this)) {
    DressWindow(this, "frmchallengewaiting", QStringLiteral("Waiting for Opponent"), {kWidth, kHeight});
    lblevent->setObjectName(QStringLiteral("lblevent"));
    lblevent->setTextFormat(Qt::PlainText);
    lblevent->setText(QStringLiteral("Waiting on your opponent - Please Wait"));
    lblevent->setAlignment(Qt::AlignCenter);
    lblevent->setGeometry(10, 22, kWidth - 20, 24);
    lblevent->setStyleSheet(RoomTextStyle(true));
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->move((kWidth - RFButton::kWidthTwips / kTwipsPerPixel) / 2, 66);
    connect(cancel, &RFButton::Click, this, &frmchallengewaiting::cancel_Click);
}

void frmchallengewaiting::Form_Load() {
    shielded("frmchallengewaiting::Form_Load", [&] {
        PlaceWindow(this);
        SetSkinBackground(this, QStringLiteral("baseform"), QStringLiteral("background"));
        cancel->ButtonCaption(QStringLiteral("Cancel"));
    });
}

void frmchallengewaiting::giveUp() {
    if (IsCreator()) SendRoomLine(QStringLiteral("TABLECLOSE"));
    if (frmCon* con = ifLoaded<frmCon>()) con->versus->clear();
    SetCreator(false);
}

void frmchallengewaiting::cancel_Click() {
    shielded("frmchallengewaiting::cancel_Click", [&] {
        giveUp();
        unloadWidget(this);
    });
}

void frmchallengewaiting::Form_QueryUnload(int& cancelUnload, int mode) {
    Q_UNUSED(cancelUnload);
    if (mode == vb::FormControlMenu) shielded("frmchallengewaiting::Form_QueryUnload", [&] { giveUp(); });
}

void frmchallengewaiting::Form_MouseMove() {
    shielded("frmchallengewaiting::Form_MouseMove", [&] { cancel->RolloverRelease(); });
}

void frmchallengewaiting::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    QWidget::mouseMoveEvent(e);
}
