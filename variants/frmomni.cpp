#include "variants/frmomni.h"

#include "game/ModMiscFunctions.h"

namespace {
constexpr int kCell = 72, kCellHeight = 90, kGap = 4;
}

void frmomni::buildCells(QWidget* parent, std::array<PictureBox*, kCells>& board, std::array<AnimatedPicture*, kCells>& flips) {
    for (int i = 0; i < kCells; ++i) {
        const QRect cell(100 + (i % 5) * (kCell + kGap), 40 + (i / 5) * (kCellHeight + kGap), kCell, kCellHeight);
        board[i] = new PictureBox(parent);
        board[i]->setObjectName(QStringLiteral("Board_%1").arg(i));
        board[i]->setGeometry(cell);
        flips[i] = new AnimatedPicture(parent);
        flips[i]->setObjectName(QStringLiteral("flip_%1").arg(i));
        flips[i]->setGeometry(cell);
        flips[i]->setVisible(false);
    }
}

frmomni::frmomni() {
    setObjectName(QStringLiteral("frmomni"));
    setWindowTitle(QStringLiteral("Omni Corvada"));
    buildCells(this, Board, flip);
    for (int i = 0; i < kCells; ++i) connect(flip[i], &AnimatedPicture::Finished, this, [this, i] { flip_Finished(i); });
    Player1 = new PictureBox(this);
    Player1->setObjectName(QStringLiteral("Player1"));
    Player1->setGeometry(14, 40, kCell, kCellHeight);
    Player2 = new PictureBox(this);
    Player2->setObjectName(QStringLiteral("Player2"));
    Player2->setGeometry(500, 40, kCell, kCellHeight);
    gamestatus = GameLabel(this, "gamestatus", QString(), QRect(100, 10, 376, 24), QString());
    player1_cards = GameLabel(this, "player1_cards", QStringLiteral("0"), QRect(14, 140, kCell, 24), QString());
    player2_cards = GameLabel(this, "player2_cards", QStringLiteral("0"), QRect(500, 140, kCell, 24), QString());
    resize(590, 520);
}

void frmomni::flip_Finished(int Index) {
    if (Index < 0 || Index >= kCells) return;
    flip[Index]->setVisible(false);
    Board[Index]->setVisible(true);
}
