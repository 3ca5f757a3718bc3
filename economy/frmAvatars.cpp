#include "economy/frmAvatars.h"

#include "app/ErrorHandler.h"
#include "app/storedvars.h"
#include "economy/EconomyCommon.h"
#include "game/ModMiscFunctions.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/LineFields.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QMouseEvent>
#include <cmath>

namespace {
constexpr int kWidth = 720;
constexpr int kHeight = 548;
const QString kTitle = QStringLiteral("Avatar Shop");
const QString kHeaderKey = QStringLiteral("keyname");

QString lobbyGender() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    return lobby ? lobby->AvatarGender() : QString();
}

void purchaseError(const QString& text) { PrintChatLine(QStringLiteral("Avatar Purchase Error"), QString(), text, 65535); }

QLabel* pictureBox(QWidget* parent, const char* name, const QRect& where) {
    auto* box = new QLabel(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(where);
    box->setAlignment(Qt::AlignCenter);
    return box;
}
}  // namespace

frmAvatars::frmAvatars()
    : pbTitle(new QWidget(this)),
      lblTitle(new QLabel(pbTitle)),
      menuBar(new QMenuBar(this)),
      Grid_Avatars(new RecordSetGrid(this, "Grid_Avatars")),
      Grid_Inventory(new RecordSetGrid(this, "Grid_Inventory")),
      cmdBuy(new RFButton(this)),
      cmdSell(new RFButton(this)),
      cmdTry(new RFButton(this)),
      cmdEquip(new RFButton(this)) {
    setObjectName(QStringLiteral("frmAvatars"));
    setWindowTitle(kTitle);
    setFixedSize(kWidth, kHeight);
    setMouseTracking(true);
    pbTitle->setObjectName(QStringLiteral("pbTitle"));
    PlaceTitleStrip(pbTitle, lblTitle, kWidth);

    menuBar->setObjectName(QStringLiteral("menuBar"));
    menuBar->setNativeMenuBar(false);
    menuBar->setGeometry(0, 24, kWidth, 22);
    menuBar->setFixedHeight(22);
    menuBar->setStyleSheet(QStringLiteral("QMenuBar { background: rgba(12, 9, 18, 200); color: #e2bc66; }"
                                          "QMenuBar::item { padding: 2px 10px; background: transparent; }"
                                          "QMenuBar::item:selected { background: #7a5c22; color: #fff6dc; }"));
    mnuLists = menuBar->addMenu(QStringLiteral("Options"));
    mnuLists->setObjectName(QStringLiteral("mnuLists"));
    mnuAvatars = mnuLists->addMenu(QStringLiteral("Avatars"));
    mnuAvatars->setObjectName(QStringLiteral("mnuAvatars"));
    const auto item = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    mnuBackground = item(mnuAvatars, "mnuBackground", QStringLiteral("Background"));
    mnuBody = item(mnuAvatars, "mnuBody", QStringLiteral("Body"));
    mnuHead = item(mnuAvatars, "mnuHead", QStringLiteral("Head"));
    mnuLists->addSeparator();
    mnuChange = item(mnuLists, "mnuChange", QStringLiteral("Change Gender"));
    mnuReset = item(mnuLists, "mnuReset", QStringLiteral("Reset Character"));

    const int buttonWidth = twips(RFButton::kWidthTwips);
    Label2 = EconomyCaption(this, "Label2", QStringLiteral("Avatars For Sale:"), QRect(16, 54, 200, 20));
    Grid_Avatars->setGeometry(16, 76, 420, 190);
    cmdTry->setObjectName(QStringLiteral("cmdTry"));
    cmdTry->move(436 - 2 * buttonWidth - 8, 274);
    cmdBuy->setObjectName(QStringLiteral("cmdBuy"));
    cmdBuy->move(436 - buttonWidth, 274);
    Label1 = EconomyCaption(this, "Label1", QStringLiteral("Current Inventory:"), QRect(16, 306, 200, 20));
    Grid_Inventory->setGeometry(16, 328, 420, 172);
    cmdEquip->setObjectName(QStringLiteral("cmdEquip"));
    cmdEquip->move(436 - 2 * buttonWidth - 8, 508);
    cmdSell->setObjectName(QStringLiteral("cmdSell"));
    cmdSell->move(436 - buttonWidth, 508);

    Label4 = EconomyCaption(this, "Label4", QStringLiteral("Your Avatar:"), QRect(460, 54, 110, 20));
    picavatar = pictureBox(this, "picavatar", QRect(460, 76, 96, 128));
    picavatar->setStyleSheet(QStringLiteral("QLabel#picavatar { background: #120e18; border: 1px solid #6b5a3a; }"));
    imgbody = pictureBox(picavatar, "imgbody", QRect(0, 0, 96, 128));
    imghead = pictureBox(picavatar, "imghead", QRect(0, 0, 96, 128));
    EconomyCaption(this, "lblItemCaption", QStringLiteral("Item:"), QRect(592, 54, 110, 20));
    imgitem = pictureBox(this, "imgitem", QRect(592, 76, 96, 128));
    imgitem->setStyleSheet(QStringLiteral("QLabel#imgitem { background: rgba(12, 9, 18, 160); border: 1px solid #6b5a3a; }"));
    Label3 = EconomyCaption(this, "Label3", QStringLiteral("Description:"), QRect(460, 220, 240, 20));
    lblDescription = EconomyValue(this, "lblDescription", QRect(460, 242, 244, 66));
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label5 = EconomyCaption(this, "Label5", QStringLiteral("Price:"), QRect(460, 314, 50, 20));
    lblPrice = EconomyValue(this, "lblPrice", QRect(514, 314, 190, 20));

    connect(mnuBackground, &QAction::triggered, this, [this] { AvatarGridRefresh(QStringLiteral("background")); });
    connect(mnuBody, &QAction::triggered, this, [this] { AvatarGridRefresh(QStringLiteral("body")); });
    connect(mnuHead, &QAction::triggered, this, [this] { AvatarGridRefresh(QStringLiteral("head")); });
    connect(mnuChange, &QAction::triggered, this, &frmAvatars::mnuChange_Click);
    connect(mnuReset, &QAction::triggered, this, &frmAvatars::mnuReset_Click);
    connect(Grid_Avatars, &RecordSetGrid::cellClicked, this, &frmAvatars::Grid_Avatars_Click);
    connect(Grid_Avatars, &RecordSetGrid::cellDoubleClicked, this, [this](int, int) { cmdTry_Click(); });
    connect(Grid_Inventory, &RecordSetGrid::cellDoubleClicked, this, [this](int row, int) {
        if (row > 0) cmdEquip_Click();
    });
    connect(cmdBuy, &RFButton::Click, this, &frmAvatars::cmdBuy_Click);
    connect(cmdSell, &RFButton::Click, this, &frmAvatars::cmdSell_Click);
    connect(cmdTry, &RFButton::Click, this, &frmAvatars::cmdTry_Click);
    connect(cmdEquip, &RFButton::Click, this, &frmAvatars::cmdEquip_Click);
}

void frmAvatars::Form_Load() {
    mnuReset_Click();
    AvatarGridRefresh(QStringLiteral("background"));
    AvatarInventoryRefresh();
    cmdBuy->ButtonCaption(QStringLiteral("Buy"));
    cmdSell->ButtonCaption(QStringLiteral("Sell"));
    cmdTry->ButtonCaption(QStringLiteral("Try On"));
    cmdEquip->ButtonCaption(QStringLiteral("Equip"));
    DressEconomyWindow(this, pbTitle, lblTitle, kTitle);
}

QString frmAvatars::LayerFile(const QString& kind, const QString& key, const QString& gender) {
    if (!lines::plainCode(key)) return {};
    QString file;
    if (kind == QLatin1String("background")) {
        file = QStringLiteral("background_") + key;
    } else if (kind == QLatin1String("head") || kind == QLatin1String("body")) {
        if (!lines::plainCode(gender)) return {};
        file = gender + u'_' + kind + u'_' + key;
    } else {
        return {};
    }
    return clientPath(QStringLiteral("skins/default/avatars/") + file + QStringLiteral(".gif"));
}

QLabel* frmAvatars::layerOf(const QString& kind) const {
    if (kind == QLatin1String("background")) return picavatar;
    if (kind == QLatin1String("head")) return imghead;
    if (kind == QLatin1String("body")) return imgbody;
    return nullptr;
}

bool frmAvatars::showPicture(QLabel* target, const QString& kind, const QString& key) const {
    if (!layerOf(kind)) return false;
    const QString file = LayerFile(kind, key, lobbyGender());
    QPixmap picture;
    if (file.isEmpty() || !picture.load(file)) {
        qWarning("avatar picture not shown: kind %s, key %s", qPrintable(kind), qPrintable(key));
        target->clear();
        return true;
    }
    target->setPixmap(picture);
    return true;
}

bool frmAvatars::load(RecordSetGrid* grid, const QString& command) {
    const RecordSet items = Query(command);
    if (items.failed()) {
        grid->clear();
        MsgBox(QStringLiteral("The avatar shop could not be reached.  Please try again later."), vb::Information, kTitle);
        return false;
    }
    grid->setVisible(false);
    grid->bind(items);
    grid->AutoSizeGrid();
    return true;
}

void frmAvatars::AvatarInventoryRefresh() {
    shielded("frmAvatars::AvatarInventoryRefresh", [&] {
        if (!load(Grid_Inventory, StoredCall(QStringLiteral("sps_GetAvatarInventory"), {Nickname}))) return;
        for (int col : {0, 1, 2, 3, 4, 6}) Grid_Inventory->ColWidth(col, 0);
        Grid_Inventory->setVisible(true);
        Grid_Inventory->repaint();
    });
}

void frmAvatars::AvatarGridRefresh(const QString& kind) {
    shielded("frmAvatars::AvatarGridRefresh", [&] {
        if (!load(Grid_Avatars, StoredCall(QStringLiteral("sps_GetAvatars"), {lobbyGender(), kind}))) return;
        for (int col : {0, 1, 3, 4}) Grid_Avatars->ColWidth(col, 0);
        Grid_Avatars->setVisible(true);
        Grid_Avatars->repaint();
        m_currentKind = kind;
    });
}

void frmAvatars::Grid_Avatars_Click(int row, int col) {
    Q_UNUSED(col);
    shielded("frmAvatars::Grid_Avatars_Click", [&] {
        if (row <= 0) return;
        Grid_Avatars->Row(row);
        lblDescription->setText(Grid_Avatars->TextMatrix(row, 2));
        lblPrice->setText(Grid_Avatars->TextMatrix(row, 3) + QStringLiteral(" GP"));
        showPicture(imgitem, m_currentKind, Grid_Avatars->TextMatrix(row, 4));
    });
}

void frmAvatars::cmdTry_Click() {
    shielded("frmAvatars::cmdTry_Click", [&] {
        const QString key = SelectedKey();
        if (key != kHeaderKey && !key.isEmpty()) {
            if (QLabel* layer = layerOf(m_currentKind)) showPicture(layer, m_currentKind, key);
            return;
        }
        MsgBox(QStringLiteral("You must select an avatar to try on."), vb::OKOnly, QStringLiteral("Problem"));
    });
}

void frmAvatars::cmdBuy_Click() {
    shielded("frmAvatars::cmdBuy_Click", [&] {
        const QString id = Grid_Avatars->CurrentText(1);
        const QString price = Grid_Avatars->CurrentText(3);
        if (id == kHeaderKey || id.isEmpty()) return purchaseError(QStringLiteral("You must select an avatar to purchase"));
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        const double gold = lobby ? double(lobby->Gold()) : 0.0;
        if (vbVal(price) <= gold)
            SendGameLine(QStringLiteral("AVATARBUY ") + id);
        else
            purchaseError(QStringLiteral("You do not have enough gold to purchase this item"));
    });
}

void frmAvatars::cmdSell_Click() {
    shielded("frmAvatars::cmdSell_Click", [&] {
        const QString id = Grid_Inventory->CurrentText(1);
        const QString paid = Grid_Inventory->CurrentText(4);
        const QString name = Grid_Inventory->CurrentText(5);
        if (id == kHeaderKey || id.isEmpty() || name.isEmpty()) {
            MsgBox(QStringLiteral("You must select an inventory item to sell"), vb::Information, QStringLiteral("Error"));
            return;
        }
        const QString offer = vbStr(std::floor(vbVal(paid) / 4.0));
        const int answer = MsgBox(QStringLiteral("Are you sure you want to sell ") + name + QStringLiteral(" for ") + offer +
                                      QStringLiteral("GP?"),
                                  vb::YesNo, QStringLiteral("Sell Avatar"));
        if (answer == vb::Yes) SendGameLine(QStringLiteral("AVATARSELL ") + id);
    });
}

void frmAvatars::cmdEquip_Click() {
    shielded("frmAvatars::cmdEquip_Click", [&] {
        const QString id = Grid_Inventory->CurrentText(1);
        if (id == kHeaderKey || id.isEmpty()) {
            MsgBox(QStringLiteral("You must select an inventory item to equip."), vb::OKOnly, QStringLiteral("Problem"));
            return;
        }
        const QString kind = Grid_Inventory->CurrentText(3);
        const QString key = Grid_Inventory->CurrentText(6);
        if (kind.isEmpty() || key == kHeaderKey) {
            MsgBox(QStringLiteral("You must select an avatar to equip."), vb::OKOnly, QStringLiteral("Problem"));
            return;
        }
        if (QLabel* layer = layerOf(kind)) showPicture(layer, kind, key);
        SendGameLine(QStringLiteral("AVATAREQUIP ") + id);
    });
}

void frmAvatars::mnuReset_Click() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    const std::pair<QLabel*, QLabel*> layers[] = {{picavatar, lobby ? lobby->picavatar : nullptr},
                                                  {imghead, lobby ? lobby->imghead : nullptr},
                                                  {imgbody, lobby ? lobby->imgbody : nullptr}};
    for (const auto& [mine, theirs] : layers) {
        if (theirs && !theirs->pixmap().isNull())
            mine->setPixmap(theirs->pixmap());
        else
            mine->clear();
    }
}

void frmAvatars::mnuChange_Click() {
    shielded("frmAvatars::mnuChange_Click", [&] {
        const int answer = MsgBox(
            QStringLiteral("Are you sure you want to change genders? You may only do this once and it WILL NOT be reversed!"),
            vb::YesNo, QStringLiteral("Change Gender"));
        if (answer == vb::Yes) SendGameLine(QStringLiteral("AVATARCHANGE"));
    });
}

void frmAvatars::Form_MouseMove() {
    for (RFButton* button : {cmdBuy, cmdSell, cmdTry, cmdEquip}) button->RolloverRelease();
}

void frmAvatars::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    FormWindow<QWidget>::mouseMoveEvent(e);
}
