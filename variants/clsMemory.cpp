#include "variants/clsMemory.h"

#include "app/modSkin.h"
#include "app/modText.h"
#include "game/ModMiscFunctions.h"
#include "net/LineFields.h"
#include "variants/VariantFrame.h"
#include "variants/frmmemory.h"

#include <QPointer>

namespace {
const QString kBlank = QStringLiteral(" ");
const QString kBlock = QStringLiteral("block");
}  // namespace

void clsMemory::GameModule(QString& keyword, QString& line) {
    if (keyword == QLatin1String("MEMORYYES")) MemoryYes();
    else if (keyword == QLatin1String("MEMORYTURN")) MemoryTurn(line);
    else if (keyword == QLatin1String("MEMORYSLOT")) MemorySlot(line);
    else if (keyword == QLatin1String("MEMORYSCORE")) MemoryScore(line);
    else if (keyword == QLatin1String("MEMORYMATCH")) MemoryMatch(line);
    else if (keyword == QLatin1String("MEMORYCLOSE")) MemoryClose();
}

void clsMemory::MemoryYes() {
    frmmemory* frm = form<frmmemory>();
    TakeFirstSeat(frm);
    const QPixmap back = CardBack();
    for (PictureBox* spot : frm->cardspot) {
        spot->Picture(back);
        spot->Tag.clear();
    }
    UnloadLeadIn(QStringLiteral("MEMORYYES"));
}

void clsMemory::MemoryTurn(const QString& line) {
    QPointer<frmmemory> frm = form<frmmemory>();
    const int seat = ShowTurnSeat(frm, frm->playerturn, Divide(line, kBlank)[1]);
    if (seat > 0 && frm) {
        frm->startTurn(IsOwnSeat(seat));
        // The cards turned up in the last turn go face down again; matched pairs stay.
        const QPixmap back = CardBack();
        for (int i = 0; i < frmmemory::kSpots; ++i)
            if (!frm->faceDown(i) && frm->cardspot[i]->Tag != kBlock) frm->cardspot[i]->Picture(back);
        frm->PickCount = 0;
        frm->selected->clear();
    }
    UnloadLeadIn(QStringLiteral("MEMORYTURN"));
}

void clsMemory::MemorySlot(const QString& line) {
    const Fields f = Divide(line, kBlank);
    int spot = 0;
    if (!ReadIndex(f[2], frmmemory::kSpots, spot)) {
        lines::reject("MEMORYSLOT", line);
        return;
    }
    frmmemory* frm = form<frmmemory>();
    frm->playerturn[1]->hide();
    frm->playerturn[2]->hide();
    // Every revealed card comes from the blue deck, whoever turned it up.
    QPointer<frmmemory> alive(frm);
    const QPixmap card = CardPicture(lines::blanks(f[1]), QStringLiteral("blue"));
    if (!alive) return;
    frm->cardspot[spot]->Picture(card);
    if (f[3] != QLatin1String("1") && f[4] == QLatin1String("1")) {
        ShowOwnMarker(frm->playerturn);
        frm->selected->clear();
    }
}

void clsMemory::MemoryScore(const QString& line) {
    const Fields f = Divide(line, kBlank);
    frmmemory* frm = form<frmmemory>();
    frm->player1_cards->setText(f[1]);
    frm->player2_cards->setText(f[2]);
}

void clsMemory::MemoryMatch(const QString& line) {
    const Fields f = Divide(line, kBlank);
    int first = 0, second = 0;
    if (!ReadIndex(f[1], frmmemory::kSpots, first) || !ReadIndex(f[2], frmmemory::kSpots, second)) {
        lines::reject("MEMORYMATCH", line);
        return;
    }
    frmmemory* frm = form<frmmemory>();
    const QPixmap blocked = SkinPicture(QStringLiteral("main"), QStringLiteral("cardblock"));
    for (int spot : {first, second}) {
        frm->cardspot[spot]->Picture(blocked);
        frm->cardspot[spot]->Tag = kBlock;
    }
}

void clsMemory::MemoryClose() { CloseVariant<frmmemory>(VariantGame::Memory); }
