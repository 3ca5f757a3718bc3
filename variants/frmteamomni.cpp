#include "variants/frmteamomni.h"

#include "game/ModMiscFunctions.h"
#include "platform/RuntimeError.h"

namespace {
constexpr int kCell = 72, kCellHeight = 90, kGap = 4;
}

frmteamomni::frmteamomni() {
    setObjectName(QStringLiteral("frmteamomni"));
    setWindowTitle(QStringLiteral("Team Omni Corvada"));
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
    for (int s = 0; s < kSeats; ++s) {
        const QRect seat(s < 2 ? 14 : 500, 40 + (s % 2) * 120, kCell, kCellHeight);
        picavatar[s] = new QLabel(this);
        picavatar[s]->setObjectName(QStringLiteral("picavatar_%1").arg(s));
        picavatar[s]->setGeometry(seat);
        imgbody[s] = new QLabel(this);
        imgbody[s]->setObjectName(QStringLiteral("imgbody_%1").arg(s));
        imgbody[s]->setGeometry(seat);
        imghead[s] = new QLabel(this);
        imghead[s]->setObjectName(QStringLiteral("imghead_%1").arg(s));
        imghead[s]->setGeometry(seat);
    }
    player = new PictureBox(this);
    player->setObjectName(QStringLiteral("player"));
    player->setGeometry(14, 300, kCell, kCellHeight);
    iam = new QLineEdit(this);
    iam->setObjectName(QStringLiteral("iam"));
    iam->setVisible(false);
    player1_cards = new QLabel(QStringLiteral("0"), this);
    player1_cards->setObjectName(QStringLiteral("player1_cards"));
    player1_cards->setTextFormat(Qt::PlainText);
    player1_cards->setGeometry(14, 400, kCell, 24);
    player2_cards = new QLabel(QStringLiteral("0"), this);
    player2_cards->setObjectName(QStringLiteral("player2_cards"));
    player2_cards->setTextFormat(Qt::PlainText);
    player2_cards->setGeometry(500, 400, kCell, 24);
    chatin = new QTextEdit(this);
    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setReadOnly(true);
    chatin->setGeometry(100, 520, 376, 90);
    resize(590, 620);
}

QString frmteamomni::Colors(int index) const {
    if (index < 0 || index >= kCells) throw RuntimeError(QStringLiteral("Subscript out of range"), 9);
    return m_colors[index];
}

void frmteamomni::Colors(int index, const QString& colour) {
    if (index < 0 || index >= kCells) throw RuntimeError(QStringLiteral("Subscript out of range"), 9);
    m_colors[index] = colour;
}

void frmteamomni::AddBlockTxt(const QString& label, const QString& text) { AppendBlockTxt(chatin, label, text); }

void frmteamomni::flip_Finished(int Index) {
    if (Index < 0 || Index >= kCells) return;
    flip[Index]->setVisible(false);
    Board[Index]->setVisible(true);
}
