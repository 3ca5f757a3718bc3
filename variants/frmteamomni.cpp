#include "variants/frmteamomni.h"

#include "game/ModMiscFunctions.h"
#include "variants/frmomni.h"

namespace {
constexpr int kCell = 72, kCellHeight = 90;
}

frmteamomni::frmteamomni() {
    setObjectName(QStringLiteral("frmteamomni"));
    setWindowTitle(QStringLiteral("Team Omni Corvada"));
    frmomni::buildCells(this, Board, flip);
    for (int i = 0; i < kCells; ++i) connect(flip[i], &AnimatedPicture::Finished, this, [this, i] { flip_Finished(i); });
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
    player1_cards = GameLabel(this, "player1_cards", QStringLiteral("0"), QRect(14, 400, kCell, 24), QString());
    player2_cards = GameLabel(this, "player2_cards", QStringLiteral("0"), QRect(500, 400, kCell, 24), QString());
    chatin = new QTextEdit(this);
    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setReadOnly(true);
    chatin->setGeometry(100, 520, 376, 90);
    resize(590, 620);
}

void frmteamomni::AddBlockTxt(const QString& label, const QString& text) { AppendBlockTxt(chatin, label, text); }

void frmteamomni::flip_Finished(int Index) {
    if (Index < 0 || Index >= kCells) return;
    flip[Index]->setVisible(false);
    Board[Index]->setVisible(true);
}
