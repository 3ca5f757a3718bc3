#include "variants/frmmemory.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "game/ModMiscFunctions.h"
#include "net/frmCon.h"
#include "platform/VbCompat.h"


namespace {
// The default skin's picture is drawn to this size: the spots fill its board, the seats stand
// beside it and the clock lies in the panel below.
constexpr int kTableWidth = 600, kTableHeight = 500;
constexpr int kSpotWidth = 62, kSpotHeight = 80, kPitchX = 70, kPitchY = 85, kBoardLeft = 94, kBoardTop = 42;

const QString kGold = QStringLiteral("#e2bc66");

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + u'_' + QString::number(i); }

bool validSpot(int i) { return i >= 0 && i < frmmemory::kSpots; }
}  // namespace

frmmemory::frmmemory()
    : menuBar(new QMenuBar(this)), table(new SkinBackdrop(this)), picTitle(new QWidget(table)), lblTitle(new QLabel(picTitle)),
      selected(new QLineEdit(this)), shapecover(nullptr), TimerTurn(new QTimer(this)) {
    setObjectName(QStringLiteral("frmmemory"));
    setWindowTitle(QStringLiteral("Corvada Memory"));
    const RequestMenu menu = BuildRequestMenu(menuBar, QStringLiteral("Options"), QStringLiteral("Stalemate"));
    mnuOptions = menu.mnuOptions;
    mnuEndGameRequest = menu.mnuEndGameRequest;
    mnuStalemate = menu.mnuStalemate;
    mnuSurrender = menu.mnuSurrender;

    LayOutTable(this, menuBar, table, picTitle, lblTitle, QSize(kTableWidth, kTableHeight));

    for (int i = 0; i < kSpots; ++i) {
        cardspot[i] = new PictureBox(table);
        cardspot[i]->setObjectName(indexed("cardspot", i));
        cardspot[i]->setGeometry(kBoardLeft + (i % 6) * kPitchX, kBoardTop + (i / 6) * kPitchY, kSpotWidth, kSpotHeight);
        connect(cardspot[i], &PictureBox::clicked, this, [this, i] { cardspot_Click(i); });
        connect(cardspot[i], &PictureBox::mouseMoved, this, [this, i] { cardspot_MouseMove(i); });
    }
    selected->setObjectName(QStringLiteral("selected"));
    selected->setVisible(false);

    const SeatLabels seats = BuildSeats(table, "player1_cards", "player2_cards", {0, 4, 512}, 60, 84, playerturn);
    Label2 = seats.caption1;
    Label3 = seats.caption2;
    player1_cards = seats.score1;
    player2_cards = seats.score2;
    Label1 = GameLabel(table, "Label1", QStringLiteral("Time Left:"), QRect(180, 424, 110, 28),
                       QStringLiteral("font-weight: bold; font-size: 16px; background: transparent; color: #f4e6c4;"),
                       Qt::AlignRight | Qt::AlignVCenter);
    timeleft = GameLabel(table, "timeleft", QString(), QRect(300, 424, 180, 28),
                         QStringLiteral("font-weight: bold; font-size: 16px; background: transparent; color: %1;").arg(kGold));

    shapecover = MakeHoverFrame(table, QSize(kSpotWidth, kSpotHeight));
    connect(table, &SkinBackdrop::mouseMoved, this, &frmmemory::Form_MouseMove);

    TimerTurn->setObjectName(QStringLiteral("TimerTurn"));
    TimerTurn->setInterval(1000);
    m_countdown.emplace(VariantGame::Memory, TimerTurn, timeleft, TurnSeconds);
    connect(TimerTurn, &QTimer::timeout, this, &frmmemory::TimerTurn_Timer);
    connect(mnuEndGameRequest, &QAction::triggered, this, &frmmemory::mnuEndGameRequest_Click);
    connect(mnuStalemate, &QAction::triggered, this, &frmmemory::mnuStalemate_Click);
    connect(mnuSurrender, &QAction::triggered, this, &frmmemory::mnuSurrender_Click);
}

void frmmemory::Form_Load() {
    table->load(QStringLiteral("memory"), QStringLiteral("background"));
    playerturn[1]->setPixmap(SkinPicture(QStringLiteral("cvboard"), QStringLiteral("p1turn")));
    playerturn[2]->setPixmap(SkinPicture(QStringLiteral("cvboard"), QStringLiteral("p2turn")));
    const QCursor hand = ifLoaded<frmCon>() ? ifLoaded<frmCon>()->skinCursor() : QCursor(Qt::PointingHandCursor);
    for (PictureBox* spot : cardspot) {
        spot->setCursor(hand);
        spot->Picture(CardBack());
    }
    clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("Corvada Memory"));
}

void frmmemory::Form_Unload(int& cancel) {
    Q_UNUSED(cancel);
    TimerTurn->stop();
}

bool frmmemory::faceDown(int index) const { return validSpot(index) && IsEmptyCard(cardspot[index]); }

void frmmemory::startTurn(bool own) {
    if (own) {
        m_countdown->start();
    } else {
        m_countdown->stop();
        TurnSeconds = 0;
    }
}

void frmmemory::cardspot_Click(int Index) {
    shielded("frmmemory::cardspot_Click", [&] {
        if (!validSpot(Index) || PickCount >= 2 || !OwnMarkerShown(playerturn) || !faceDown(Index)) return;
        // The first pick of the turn cannot be picked again; spot 0 is only that pick when it was
        // recorded as "0" (an empty record reads as the number 0 too).
        const QString first = selected->text();
        if (Index == 0 ? first == QLatin1String("0") : vbVal(first) == Index) return;
        selected->setText(QString::number(Index));
        playerturn[IsCreator() ? 1 : 2]->hide();
        shapecover->hide();
        ++PickCount;
        SendGameLine(QStringLiteral("MEMORYSLOT ") + QString::number(Index) + u' ' + QString::number(PickCount));
    });
}

void frmmemory::cardspot_MouseMove(int Index) {
    if (!validSpot(Index) || !OwnMarkerShown(playerturn)) return;
    shapecover->move(cardspot[Index]->x() - 3, cardspot[Index]->y() - 3);
    shapecover->show();
    shapecover->raise();
}

void frmmemory::Form_MouseMove() { shapecover->hide(); }

void frmmemory::TimerTurn_Timer() {
    shielded("frmmemory::TimerTurn_Timer", [&] { guarded(800, [&] { m_countdown->tick(); }); });
}

void frmmemory::mnuEndGameRequest_Click() {
    shielded("frmmemory::mnuEndGameRequest_Click",
             [&] { AskRequest(VariantRequest::EndGame, QStringLiteral("MEMORYENDGAME"), mnuEndGameRequest); });
}

void frmmemory::mnuStalemate_Click() {
    shielded("frmmemory::mnuStalemate_Click",
             [&] { AskRequest(VariantRequest::Stalemate, QStringLiteral("MEMORYSTALEMATE"), mnuStalemate); });
}

void frmmemory::mnuSurrender_Click() {
    shielded("frmmemory::mnuSurrender_Click",
             [&] { AskRequest(VariantRequest::Surrender, QStringLiteral("MEMORYSURRENDER"), mnuSurrender); });
}
