#include "tables/frmocv_setup.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "game/ModMiscFunctions.h"
#include "platform/Services.h"
#include "tables/ChallengeRoom.h"

namespace {
constexpr int kWidth = 300, kHeight = 150;

QComboBox* choice(QWidget* parent, const char* name, const QStringList& entries, const QRect& where) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(entries);
    box->setCurrentIndex(-1);
    box->setGeometry(where);
    box->setStyleSheet(RoomComboStyle());
    return box;
}
}  // namespace

frmocv_setup::frmocv_setup()
    : picTitle(new QWidget(this)),
      lblTitle(new QLabel(picTitle)),
      cmbtypes(choice(this, "cmbtypes", {QStringLiteral("Random"), QStringLiteral("Player")}, QRect(120, 40, 150, 24))),
      cmbblocks(choice(this, "cmbblocks", {QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("7")},
                       QRect(120, 74, 150, 24))),
      cmdOK(new RFButton(this)) {
    DressWindow(this, "frmocv_setup", QStringLiteral("Game Setup"), {kWidth, kHeight}, picTitle, lblTitle);
    GameLabel(this, "Label1", QStringLiteral("Deck Type:"), QRect(20, 40, 96, 24), RoomTextStyle(true));
    GameLabel(this, "Label2", QStringLiteral("# of Blocks:"), QRect(20, 74, 96, 24), RoomTextStyle(true));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->move((kWidth - RFButton::kWidthTwips / kTwipsPerPixel) / 2, 114);
    connect(cmdOK, &RFButton::Click, this, &frmocv_setup::cmdOK_Click);
}

void frmocv_setup::Form_Load() {
    shielded("frmocv_setup::Form_Load", [&] {
        PlaceWindow(this);
        SetSkinBackground(this, QStringLiteral("baseform"), QStringLiteral("background"));
        cmdOK->ButtonCaption(QStringLiteral("Okay"));
        clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("Omni Setup"));
    });
}

void frmocv_setup::cmdOK_Click() {
    shielded("frmocv_setup::cmdOK_Click", [&] {
        if (cmbtypes->currentIndex() < 0 || cmbblocks->currentIndex() < 0) {
            MsgBox(QStringLiteral("All fields must be filled"), vb::Information | vb::OKOnly, QStringLiteral("Omni CV"));
            return;
        }
        const QString code = cmbtypes->currentText() == QLatin1String("Random") ? QStringLiteral("OMNICV_RANDOM")
                                                                                 : QStringLiteral("OMNICV_PLAYER");
        SendRoomLine(QStringLiteral("CHANGERULE OCV ") + code + u' ' + cmbblocks->currentText());
        QPointer<frmocv_setup> self(this);
        DoEvents();
        SetCreator(true);
        if (self) unloadWidget(self);
    });
}

void frmocv_setup::Form_MouseMove() {
    shielded("frmocv_setup::Form_MouseMove", [&] { cmdOK->RolloverRelease(); });
}

void frmocv_setup::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    QWidget::mouseMoveEvent(e);
}
