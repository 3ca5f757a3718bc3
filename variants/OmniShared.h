#pragma once
// What the omni and the team omni handlers do alike to their boards and card slots.
#include "game/ModMiscFunctions.h"
#include "game/PictureBox.h"

#include <QString>
#include <array>

// A drawn card into a slot: the card's picture from the colour's deck folder and its name
// without the extension as Tag. An empty name, or one that is no plain file name, leaves the
// slot with the empty card and an empty Tag.
void ShowDrawnCard(PictureBox* slot, const QString& wireName, const QString& colour);

// "...BLOCK <cell>": the cell shows the block picture and can take no card. False (and nothing
// changed) when the field names no cell of the board.
bool BlockCell(std::array<PictureBox*, 25>& board, const QString& cellField);

// A new game's board: every cell free with the empty card.
template <class W>
void ClearOmniBoard(W& frm) {
    const QPixmap back = CardBack();
    for (int cell = 0; cell < 25; ++cell) {
        frm.Board[cell]->Picture(back);
        frm.Board[cell]->Tag = QStringLiteral("empty");
        frm.Colors(cell, QString());
    }
}

// A cell field as the board's steps take it: a whole number 0..24; a warning otherwise.
bool CellFits(const QString& line);

// Two scores that fit the board's counters (16-bit whole numbers); a warning otherwise.
bool ScoresFit(const QString& line);
