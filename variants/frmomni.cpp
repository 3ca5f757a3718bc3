#include "variants/frmomni.h"

#include "platform/RuntimeError.h"

namespace {
constexpr int kCell = 72, kCellHeight = 90, kGap = 4;
}

frmomni::frmomni() {
    setObjectName(QStringLiteral("frmomni"));
    setWindowTitle(QStringLiteral("Omni Corvada"));
    for (int i = 0; i < kCells; ++i) {
        const QRect cell(100 + (i % 5) * (kCell + kGap), 40 + (i / 5) * (kCellHeight + kGap), kCell, kCellHeight);
        Board[i] = new PictureBox(this);
        Board[i]->setObjectName(QStringLiteral("Board_%1").arg(i));
        Board[i]->setGeometry(cell);
        flip[i] = new AnimatedPicture(this);
        flip[i]->setObjectName(QStringLiteral("flip_%1").arg(i));
        flip[i]->setGeometry(cell);
        flip[i]->setVisible(false);
        connect(flip[i], &AnimatedPicture::Finished, this, [this, i] { flip_Finished(i); });
    }
    Player1 = new PictureBox(this);
    Player1->setObjectName(QStringLiteral("Player1"));
    Player1->setGeometry(14, 40, kCell, kCellHeight);
    Player2 = new PictureBox(this);
    Player2->setObjectName(QStringLiteral("Player2"));
    Player2->setGeometry(500, 40, kCell, kCellHeight);
    gamestatus = new QLabel(this);
    gamestatus->setObjectName(QStringLiteral("gamestatus"));
    gamestatus->setTextFormat(Qt::PlainText);
    gamestatus->setGeometry(100, 10, 376, 24);
    player1_cards = new QLabel(QStringLiteral("0"), this);
    player1_cards->setObjectName(QStringLiteral("player1_cards"));
    player1_cards->setTextFormat(Qt::PlainText);
    player1_cards->setGeometry(14, 140, kCell, 24);
    player2_cards = new QLabel(QStringLiteral("0"), this);
    player2_cards->setObjectName(QStringLiteral("player2_cards"));
    player2_cards->setTextFormat(Qt::PlainText);
    player2_cards->setGeometry(500, 140, kCell, 24);
    resize(590, 520);
}

QString frmomni::Colors(int index) const {
    if (index < 0 || index >= kCells) throw RuntimeError(QStringLiteral("Subscript out of range"), 9);
    return m_colors[index];
}

void frmomni::Colors(int index, const QString& colour) {
    if (index < 0 || index >= kCells) throw RuntimeError(QStringLiteral("Subscript out of range"), 9);
    m_colors[index] = colour;
}

void frmomni::flip_Finished(int Index) {
    if (Index < 0 || Index >= kCells) return;
    flip[Index]->setVisible(false);
    Board[Index]->setVisible(true);
}
