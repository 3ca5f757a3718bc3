#include "economy/frmmerchant.h"

#include "app/ErrorHandler.h"
#include "app/storedvars.h"
#include "economy/EconomyCommon.h"
#include "game/ModMiscFunctions.h"
#include "net/LineFields.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QMouseEvent>
#include <cmath>

namespace {
constexpr int kWidth = 780;
constexpr int kHeight = 480;
const QString kTitle = QStringLiteral("Player Shop Setup");
const QString kStandard = QStringLiteral("Standard");

void problem(const QString& text, int style = vb::OKOnly) { MsgBox(text, style, QStringLiteral("Problem")); }

QLineEdit* textBox(QWidget* parent, const char* name, const QRect& where) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(where);
    return box;
}
}  // namespace

frmmerchant::frmmerchant()
    : picTitle(new QWidget(this)),
      lblTitle(new QLabel(picTitle)),
      txtTitle(textBox(this, "txtTitle", QRect(150, 34, 360, 24))),
      txtdescription(textBox(this, "txtdescription", QRect(150, 62, 360, 24))),
      cmbDecks(new QComboBox(this)),
      DataGrid_OnHand(new RecordSetGrid(this, "DataGrid_OnHand")),
      DataGrid_Shop(new RecordSetGrid(this, "DataGrid_Shop")),
      txtGP(textBox(this, "txtGP", QRect(366, 342, 96, 24))),
      imgcard(new PictureBox(this)),
      cmdAdd(new RFButton(this)),
      cmdRemove(new RFButton(this)),
      cmdCreate(new RFButton(this)) {
    setObjectName(QStringLiteral("frmmerchant"));
    setWindowTitle(kTitle);
    setFixedSize(kWidth, kHeight);
    setMouseTracking(true);
    PlaceTitleStrip(picTitle, lblTitle, kWidth);

    Label1 = EconomyCaption(this, "Label1", QStringLiteral("Title:"), QRect(16, 36, 130, 20));
    Label2 = EconomyCaption(this, "Label2", QStringLiteral("Short Description:"), QRect(16, 64, 130, 20));
    Label4 = EconomyCaption(this, "Label4", QStringLiteral("Create Shop:"), QRect(540, 36, 120, 20));
    cmdCreate->setObjectName(QStringLiteral("cmdCreate"));
    cmdCreate->move(540, 62);
    Label3 = EconomyCaption(this, "Label3", QStringLiteral("Decks:"), QRect(16, 102, 130, 20));
    cmbDecks->setObjectName(QStringLiteral("cmbDecks"));
    cmbDecks->setGeometry(150, 100, 220, 24);
    cmbDecks->setPlaceholderText(QStringLiteral("Choose a deck"));

    Label6 = EconomyCaption(this, "Label6", QStringLiteral("Your Cards"), QRect(16, 134, 200, 20));
    DataGrid_OnHand->setGeometry(16, 156, 290, 308);
    imgcard->setObjectName(QStringLiteral("imgcard"));
    imgcard->setGeometry(330, 160, 120, 150);
    Label5 = EconomyCaption(this, "Label5", QStringLiteral("Price:"), QRect(318, 344, 46, 20));
    txtGP->setAlignment(Qt::AlignRight);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd->move(340, 380);
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    cmdRemove->move(340, 410);
    Label7 = EconomyCaption(this, "Label7", QStringLiteral("Cards in Your Shop"), QRect(474, 134, 200, 20));
    DataGrid_Shop->setGeometry(474, 156, 290, 308);

    connect(cmbDecks, &QComboBox::activated, this, [this](int) { cmbDecks_Click(); });
    connect(cmdCreate, &RFButton::Click, this, &frmmerchant::cmdCreate_Click);
    connect(cmdAdd, &RFButton::Click, this, &frmmerchant::cmdAdd_Click);
    connect(cmdRemove, &RFButton::Click, this, &frmmerchant::cmdRemove_Click);
    connect(DataGrid_OnHand, &RecordSetGrid::cellClicked, this, &frmmerchant::DataGrid_OnHand_Click);
    connect(DataGrid_Shop, &RecordSetGrid::cellClicked, this, &frmmerchant::DataGrid_Shop_Click);
}

void frmmerchant::Form_Load() {
    DressEconomyWindow(this, picTitle, lblTitle, kTitle);
    cmdAdd->ButtonCaption(QStringLiteral("Add Card"));
    cmdRemove->ButtonCaption(QStringLiteral("Remove Card"));
    cmdCreate->ButtonCaption(QStringLiteral("Create/Modify"));
    imgcard->Picture(CardBack());
}

void frmmerchant::setVisible(bool visible) {
    // A window that closed itself while loading stays closed for a caller that shows it after.
    if (visible && unloading()) return;
    FormWindow<QWidget>::setVisible(visible);
}

void frmmerchant::fail(const QString& text) {
    MsgBox(text, vb::OKOnly, QString());
    unloadWidget(this);
}

void frmmerchant::LoadData() {
    RefreshDecks();
    if (!unloading()) RefreshGrid(kStandard);
}

void frmmerchant::RefreshDecks() {
    if (unloading()) return;
    try {
        RecordSet decks = Query(StoredCall(QStringLiteral("usp_FindDecks"), {}));
        decks.MoveFirst();
        QStringList names;
        for (; !decks.isEOF(); decks.MoveNext()) names << decks.Fields(0).toString();
        if (names.isEmpty()) throw RuntimeError(QStringLiteral("No current record"));
        cmbDecks->clear();
        cmbDecks->addItems(names);
        // Filled, none chosen: the player picks the deck whose cards to list.
        cmbDecks->setCurrentIndex(-1);
    } catch (const std::exception&) {
        fail(QStringLiteral("The application could not retrieve required shop data.  Try again later."));
    }
}

void frmmerchant::RefreshGrid(const QString& deck) {
    if (unloading()) return;
    const QString chosen = deck.isEmpty() ? kStandard : deck;
    try {
        RecordSet header = Query(StoredCall(QStringLiteral("sps_ShopInfo"), {Nickname}));
        if (header.failed()) throw RuntimeError(header.error());
        // No record: the player has no shop yet, and the boxes stay empty for one to be made.
        if (header.RecordCount() > 0) {
            header.MoveFirst();
            const QString title = header.Fields(QStringLiteral("title")).toString();
            const QString description = header.Fields(QStringLiteral("description")).toString();
            txtTitle->setText(title);
            txtdescription->setText(description);
        }
        if (txtTitle->text().isEmpty() || txtdescription->text().isEmpty()) return;
        const RecordSet shop = Query(StoredCall(QStringLiteral("sps_ShopCardsOnly"), {Nickname}));
        if (shop.failed()) throw RuntimeError(shop.error());
        DataGrid_Shop->bind(shop);
        DataGrid_Shop->AutoSizeGrid();
        DataGrid_Shop->repaint();
        const RecordSet held = Query(StoredCall(QStringLiteral("sps_PlayerCardsOnly"), {Nickname, chosen}));
        if (held.failed()) throw RuntimeError(held.error());
        DataGrid_OnHand->bind(held);
        DataGrid_OnHand->AutoSizeGrid();
        DataGrid_OnHand->repaint();
    } catch (const std::exception&) {
        fail(QStringLiteral("Could not retrieve data.  Please try again later.  The window will now close."));
    }
}

void frmmerchant::cmbDecks_Click() {
    shielded("frmmerchant::cmbDecks_Click", [&] {
        if (txtTitle->text().isEmpty() || txtdescription->text().isEmpty()) {
            MsgBox(QStringLiteral("The title and description boxes for your shop information cannot be blank before you can "
                                  "begin to add cards to it."),
                   vb::Information, QStringLiteral("Problem"));
            return;
        }
        if (!cmbDecks->currentText().isEmpty()) RefreshGrid(cmbDecks->currentText());
    });
}

void frmmerchant::cmdCreate_Click() {
    shielded("frmmerchant::cmdCreate_Click", [&] {
        if (txtTitle->text().isEmpty() || txtdescription->text().isEmpty()) return;
        SendGameLine(QStringLiteral("SHOPCREATE ") + lines::encodeBlanks(txtTitle->text()) + u' ' + lines::encodeBlanks(txtdescription->text()));
    });
}

void frmmerchant::enableChanges(bool on) {
    cmdAdd->Enabled(on);
    cmdRemove->Enabled(on);
}

void frmmerchant::cmdAdd_Click() {
    shielded("frmmerchant::cmdAdd_Click", [&] {
        enableChanges(false);
        const QString card = lines::encodeBlanks(OnHandCard());
        // Whole gold only: 45.9 is 45, and a text that is no number is 0.
        const double price = std::trunc(vbVal(txtGP->text()));
        txtGP->setText(QString::number(price, 'f', 0));
        if (card.isEmpty()) {
            problem(QStringLiteral("You must select a card!"));
            return enableChanges(true);
        }
        if (price < kMinPrice) {
            problem(QStringLiteral("All cards must be sold for more than 30GP a piece"));
            return enableChanges(true);
        }
        if (price > kMaxPrice) {
            problem(QStringLiteral("Price value exceeds price maximum.  Try a lower number for the price of your card"));
            return enableChanges(true);
        }
        // Both buttons stay off after a change: the next one is made in a freshly opened window.
        SendGameLine(QStringLiteral("SHOPADD ") + card + u' ' + txtGP->text());
    });
}

void frmmerchant::cmdRemove_Click() {
    shielded("frmmerchant::cmdRemove_Click", [&] {
        const QString card = lines::encodeBlanks(ShopCard());
        enableChanges(false);
        if (card.isEmpty()) {
            problem(QStringLiteral("You must select a card!"));
            return enableChanges(true);
        }
        SendGameLine(QStringLiteral("SHOPMINUS ") + card);
    });
}

void frmmerchant::gridClick(RecordSetGrid* grid, int row, int col) {
    if (grid->Rows() < 2) return;
    if (row == 0) return grid->sortByHeader(col);
    grid->Row(row);
    const QString card = grid->TextMatrix(row, 1);
    if (!card.isEmpty()) imgcard->Picture(CardPicture(card, QStringLiteral("blue")));
}

void frmmerchant::DataGrid_OnHand_Click(int row, int col) {
    shielded("frmmerchant::DataGrid_OnHand_Click", [&] { gridClick(DataGrid_OnHand, row, col); });
}

void frmmerchant::DataGrid_Shop_Click(int row, int col) {
    shielded("frmmerchant::DataGrid_Shop_Click", [&] { gridClick(DataGrid_Shop, row, col); });
}

void frmmerchant::Form_MouseMove() {
    for (RFButton* button : {cmdAdd, cmdRemove, cmdCreate}) button->RolloverRelease();
}

void frmmerchant::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    FormWindow<QWidget>::mouseMoveEvent(e);
}
