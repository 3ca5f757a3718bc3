#include "economy/frmStarterDecks.h"

#include "app/ErrorHandler.h"
#include "app/storedvars.h"
#include "economy/EconomyCommon.h"
#include "game/ModMiscFunctions.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QMouseEvent>

namespace {
constexpr int kWidth = 520;
constexpr int kHeight = 420;
const QString kTitle = QStringLiteral("Starter Deck");
}  // namespace

const QString frmStarterDecks::kEventDeck = QStringLiteral("EVNT");

frmStarterDecks::frmStarterDecks()
    : picTitle(new QWidget(this)),
      lblTitle(new QLabel(picTitle)),
      cmbDecks(new QComboBox(this)),
      DataGrid(new RecordSetGrid(this, "DataGrid")),
      cmdGet(new RFButton(this)) {
    setObjectName(QStringLiteral("frmStarterDecks"));
    setWindowTitle(kTitle);
    setFixedSize(kWidth, kHeight);
    setMouseTracking(true);
    PlaceTitleStrip(picTitle, lblTitle, kWidth);

    Label1 = EconomyCaption(this, "Label1", QStringLiteral("Deck:"), QRect(16, 38, 48, 22));
    cmbDecks->setObjectName(QStringLiteral("cmbDecks"));
    cmbDecks->setGeometry(68, 37, 220, 24);
    cmbDecks->setPlaceholderText(QStringLiteral("Choose a deck"));
    cmdGet->setObjectName(QStringLiteral("cmdGet"));
    cmdGet->move(kWidth - 16 - twips(RFButton::kWidthTwips), 39);
    Label2 = EconomyCaption(this, "Label2", QStringLiteral("Current Cards:"), QRect(16, 72, 200, 20));
    DataGrid->setGeometry(16, 94, kWidth - 32, kHeight - 110);

    connect(cmbDecks, &QComboBox::activated, this, [this](int) { cmbDecks_Click(); });
    connect(DataGrid, &RecordSetGrid::cellClicked, this, &frmStarterDecks::DataGrid_Click);
    connect(cmdGet, &RFButton::Click, this, &frmStarterDecks::cmdGet_Click);
}

void frmStarterDecks::Form_Load() {
    DressEconomyWindow(this, picTitle, lblTitle, kTitle);
    cmdGet->ButtonCaption(QStringLiteral("Get Deck"));
}

void frmStarterDecks::LoadCombo() {
    shielded("frmStarterDecks::LoadCombo", [&] {
        RecordSet decks = Query(StoredCall(QStringLiteral("sps_FindStarterDecks"), {}));
        cmbDecks->clear();
        // A failed answer or a bad record ends the fill quietly; the decks added so far stay.
        if (!decks.failed())
            resumeNext([&] {
                for (decks.MoveFirst(); !decks.isEOF(); decks.MoveNext()) cmbDecks->addItem(decks.Fields(0).toString());
            });
        cmbDecks->setCurrentIndex(-1);
    });
}

void frmStarterDecks::cmbDecks_Click() {
    if (!cmbDecks->currentText().isEmpty()) RefreshGrid();
}

void frmStarterDecks::RefreshGrid() {
    try {
        const RecordSet cards =
            Query(StoredCall(QStringLiteral("sps_GetPlayerCardsByDeck"), {Nickname, cmbDecks->currentText()}));
        if (cards.failed()) throw RuntimeError(cards.error());
        DataGrid->bind(cards);
        DataGrid->AutoSizeGrid();
        DataGrid->repaint();
    } catch (const std::exception&) {
        // A failure leaves the grid empty, without a message.
        DataGrid->clear();
        DataGrid->repaint();
    }
}

void frmStarterDecks::DataGrid_Click(int row, int col) {
    shielded("frmStarterDecks::DataGrid_Click", [&] {
        if (row == 0) DataGrid->sortByHeader(col);
    });
}

void frmStarterDecks::cmdGet_Click() {
    shielded("frmStarterDecks::cmdGet_Click", [&] {
        const QString deck = cmbDecks->currentText();
        if (deck.isEmpty()) {
            MsgBox(QStringLiteral("Please Specify a Deck"), vb::Exclamation, QStringLiteral("Input Error"));
            return;
        }
        if (deck == kEventDeck) {
            MsgBox(QStringLiteral("This is an event card deck.  You cannot get a starter deck for deck.  Please pick another."),
                   vb::OKOnly, QStringLiteral("Locked Deck"));
            return;
        }
        if (deck == QLatin1String("Anime2") || deck == QLatin1String("Crusade")) {
            MsgBox(QStringLiteral("This deck is not eligible for a starter deck.  Please pick another."), vb::OKOnly,
                   QStringLiteral("Locked Deck"));
            return;
        }
        const int answer = MsgBox(QStringLiteral("WARNING! Getting a new deck will wipe all the cards you have of this deck along "
                                                 "with your GP and AP!  Are you sure you want to do this?"),
                                  vb::YesNo | vb::Question, QStringLiteral("Player Starter Decks"));
        if (answer == vb::Yes) SendGameLine(QStringLiteral("ABNEWDECK ") + deck);
    });
}

void frmStarterDecks::Form_MouseMove() { cmdGet->RolloverRelease(); }

void frmStarterDecks::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    FormWindow<QWidget>::mouseMoveEvent(e);
}
