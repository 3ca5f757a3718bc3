#include "variants/frmsphere_setup.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "game/ModMiscFunctions.h"
#include "platform/Services.h"
#include "tables/ChallengeRoom.h"

namespace {
constexpr int kWidth = 300, kHeight = 184;

QStringList steps(int from, int to, int by) {
    QStringList out;
    for (int n = from; n <= to; n += by) out << QString::number(n);
    return out;
}

QComboBox* choice(QWidget* parent, const char* name, const QStringList& entries, int top) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(entries);
    box->setCurrentIndex(-1);
    box->setGeometry(130, top, 140, 24);
    box->setStyleSheet(RoomComboStyle());
    return box;
}
}  // namespace

frmsphere_setup::frmsphere_setup()
    : picTitle(new QWidget(this)),
      lblTitle(new QLabel(picTitle)),
      cmbtime(choice(this, "cmbtime", steps(30, 100, 10), 40)),
      cmbmaxscore(choice(this, "cmbmaxscore", steps(50, 100, 5), 74)),
      cmbmaxturns(choice(this, "cmbmaxturns", steps(15, 40, 5), 108)),
      cmdOK(new RFButton(this)) {
    DressWindow(this, "frmsphere_setup", QStringLiteral("Game Setup"), {kWidth, kHeight}, picTitle, lblTitle);
    GameLabel(this, "Label1", QStringLiteral("Time limit:"), QRect(20, 40, 106, 24), RoomTextStyle(true));
    GameLabel(this, "Label2", QStringLiteral("Surgestrike:"), QRect(20, 74, 106, 24), RoomTextStyle(true));
    GameLabel(this, "Label3", QStringLiteral("Max Turns:"), QRect(20, 108, 106, 24), RoomTextStyle(true));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->move((kWidth - RFButton::kWidthTwips / kTwipsPerPixel) / 2, 146);
    connect(cmdOK, &RFButton::Click, this, &frmsphere_setup::cmdOK_Click);
}

void frmsphere_setup::Form_Load() {
    shielded("frmsphere_setup::Form_Load", [&] {
        PlaceWindow(this);
        SetSkinBackground(this, QStringLiteral("baseform"), QStringLiteral("background"));
        cmdOK->ButtonCaption(QStringLiteral("Okay"));
        clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("OB Setup"));
    });
}

void frmsphere_setup::cmdOK_Click() {
    shielded("frmsphere_setup::cmdOK_Click", [&] {
        for (QComboBox* box : {cmbtime, cmbmaxscore, cmbmaxturns}) {
            if (box->currentText().isEmpty()) {
                MsgBox(QStringLiteral("All fields must be filled"), vb::Information | vb::OKOnly, QStringLiteral("Orbolt"));
                return;
            }
        }
        QPointer<frmsphere_setup> self(this);
        SendRoomLine(QStringLiteral("CHANGERULE ORBOLT ") + cmbtime->currentText() + u' ' + cmbmaxscore->currentText() + u' ' +
                     cmbmaxturns->currentText());
        SetCreator(true);
        if (self) unloadWidget(self);
    });
}

void frmsphere_setup::Form_MouseMove() {
    shielded("frmsphere_setup::Form_MouseMove", [&] { cmdOK->RolloverRelease(); });
}

void frmsphere_setup::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    QWidget::mouseMoveEvent(e);
}
