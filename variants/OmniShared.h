#pragma once
// What the omni and the team omni handlers do alike to their boards and card slots.
#include "game/ModMiscFunctions.h"
#include "game/PictureBox.h"
#include "lobby/frmchildchat.h"
#include "platform/Forms.h"
#include "platform/Services.h"
#include "variants/VariantFrame.h"

#include <QFrame>
#include <QPointer>
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

// ---- The user's side of a turn, alike on both boards ---------------------------------------------

// The card of the slot onto the cell; the slot keeps the empty card, Tag "Empty".
void MoveCard(PictureBox* cell, PictureBox* slot);

template <class W>
void ShowHover(W& w, int cell) {
    if (cell < 0 || cell >= 25 || w.Board[cell]->Tag != QLatin1String("empty") || !w.blnPlay) return;
    w.shapecover->move(w.Board[cell]->x() - 3, w.Board[cell]->y() - 3);
    w.shapecover->setVisible(true);
    w.shapecover->raise();
}

template <class W>
void HideHover(W& w) {
    w.shapecover->setVisible(false);
    w.cmdDiscard->RolloverRelease();
}

template <class W>
void EndFlip(W& w, int cell) {
    if (cell < 0 || cell >= 25) return;
    w.flip[cell]->setVisible(false);
    w.Board[cell]->setVisible(true);
}

// A click's move once its card stands on the cell: one pass of the message loop, the placement
// kept in the step list (the replay passes over it) and sent, the countdown off, the user
// active again, no more placing this turn. The window may be gone at any pass.
template <class W>
void FinishPlacement(W& w, const QString& keyword, int cell, TurnCountdown& countdown) {
    QPointer<W> self(&w);
    DoEvents();
    if (!self) return;
    const QString move = keyword + u' ' + QString::number(cell);
    w.lststeps << move;
    SendGameLine(move);
    if (!self) return;
    w.PlayedCard(true);
    countdown.stop();
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->back_away();
    if (!self) return;
    w.blnPlay = false;
    DoEvents();
}

// The countdown's move: the slot's card onto the first free cell, queued and sent; nothing when
// no cell is free.
template <class W>
void TimeOutPlacement(W& w, const QString& keyword, PictureBox* slot) {
    for (int cell = 0; cell < 25; ++cell) {
        if (w.Board[cell]->Tag != QLatin1String("empty")) continue;
        MoveCard(w.Board[cell], slot);
        const QString move = keyword + u' ' + QString::number(cell);
        w.lststeps << move;
        QPointer<W> self(&w);
        SendGameLine(move);
        if (self) w.PlayedCard(true);
        return;
    }
}

// Discard: when the slot holds a card, the line goes and the button stays disabled for the rest
// of the window's life. emptyHand: the slot's Tag is cleared first (its picture stays until the
// next draw), so nothing can be placed meanwhile.
template <class W>
bool SendDiscard(W& w, PictureBox* slot, const QString& line, bool emptyHand) {
    const QString tag = slot->Tag.toLower();
    if (!w.cmdDiscard->Enabled() || tag.isEmpty() || tag == QLatin1String("empty")) return false;
    if (emptyHand) slot->Tag.clear();
    QPointer<W> self(&w);
    SendGameLine(line);
    if (self) w.cmdDiscard->Enabled(false);
    return true;
}
