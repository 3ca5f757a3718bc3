#include "variants/OmniShared.h"

#include "app/modSkin.h"
#include "app/modText.h"
#include "game/ModMiscFunctions.h"
#include "net/LineFields.h"
#include "platform/Paths.h"

void ShowDrawnCard(PictureBox* slot, const QString& wireName, const QString& colour) {
    const QString name = DecodeCardName(wireName);
    // The name ends in its four-character extension; what is left is the card.
    const QString card = name.size() > 4 ? name.left(name.size() - 4) : QString();
    if (card.isEmpty() || !isSafePathComponent(name)) {
        if (!name.isEmpty()) qWarning("card draw: \"%s\" is no card file name", qPrintable(name));
        slot->Picture(CardBack());
        slot->Tag.clear();
        return;
    }
    slot->Picture(CardPicture(name, colour));
    slot->Tag = card;
}

namespace {
bool cellNumber(const QString& field, int& cell) {
    long long n = 0;
    if (!lines::wholeNumber(field, 0, 24, n)) return false;
    cell = int(n);
    return true;
}
}  // namespace

bool CellFits(const QString& line) {
    int cell = 0;
    if (cellNumber(Divide(line, QStringLiteral(" "))[1], cell)) return true;
    qWarning("step ignored: no cell of the board in \"%s\"", qPrintable(line));
    return false;
}

bool BlockCell(std::array<PictureBox*, 25>& board, const QString& cellField) {
    int cell = 0;
    if (!cellNumber(cellField, cell)) {
        qWarning("block ignored: \"%s\" is no cell of the board", qPrintable(cellField));
        return false;
    }
    QPixmap block;
    const QString value = GetSkinValue(QStringLiteral("main"), QStringLiteral("cardblock"));
    if (!value.isEmpty()) block.load(SkinPicturePath(value));
    board[cell]->Picture(block);
    board[cell]->Tag = QStringLiteral("Card blocked by mysterious force");
    board[cell]->ToolTipText(board[cell]->Tag);
    return true;
}

void MoveCard(PictureBox* cell, PictureBox* slot) {
    cell->Picture(slot->Picture());
    cell->Tag = slot->Tag;
    cell->ToolTipText(slot->Tag);
    slot->Picture(CardBack());
    slot->Tag = QStringLiteral("Empty");
    slot->ToolTipText(QString());
}
