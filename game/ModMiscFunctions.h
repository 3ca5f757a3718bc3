#pragma once
// The step actions of the card boards and the routines that play a board's queued steps.
// The actions reach a window's members by name (Board, flip, element, gamestatus, Player1,
// Player2, player1_cards, player2_cards, Colors, AddBlockTxt), so the standard, omni and
// two-against-two boards share them; a member a window lacks is simply not touched.
// Cells and slots are range-checked: a step that names a cell outside the window's board or a
// hand slot outside 0..4 is ignored.
#include "app/modSound.h"
#include "app/modSkin.h"
#include "game/AnimatedPicture.h"
#include "game/PictureBox.h"
#include "platform/VbCompat.h"

#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QTextCharFormat>
#include <QtGlobal>

class QTextEdit;
class frmplaying;
class frmomni;
class frmteamomni;

// ---- Shared helpers of the card windows --------------------------------------------------------

// A card name as it travels ("%20" for each blank) made readable.
QString DecodeCardName(const QString& wire);
// The name without any ".jpg" (exact case).
QString StripJpg(QString name);
// A card name a picture can be looked up by: present, and no way out of the deck folder.
bool IsCardName(const QString& name);
// The card's picture from the deck folder of the colour ("blue" or "red"); a null picture, after
// the missing-file message, when the file is not there.
QPixmap CardPicture(const QString& name, const QString& colour);
// The card back, which is also the picture of an empty hand slot (frmCon.img(0)).
QPixmap CardBack();
// True when the box shows the empty-card picture.
bool IsEmptyCard(const PictureBox* box);
// True while this client created the current table (it plays blue).
bool IsCreator();
// The colour this client plays: "blue" for the table's creator, else "red".
QString OwnColour();
// Sends a line to the game server through the socket window, when there is one.
void SendGameLine(const QString& line);
// A cell or slot number from a server field: the leading number rounded to 16 bits. False when
// the field is empty, does not fit 16 bits, or lies outside 0..count-1.
bool ReadIndex(const QString& field, int count, int& out);
// The labelled notice line of the game windows' chat logs (nothing before login).
void AppendBlockTxt(QTextEdit* chatin, const QString& label, const QString& text);
// The user's chat font (per-user [Chat] Font and FontSize) in the colour.
QTextCharFormat UserChatFormat(const QColor& colour);
// A fixed label of the game windows: named, placed, styled, plain text, and no obstacle to the
// pointer moving over its window.
QLabel* GameLabel(QWidget* parent, const char* name, const QString& text, const QRect& where, const QString& style,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
// Paints the window's background with a skin picture; a skin without it leaves the window as is.
void SetSkinBackground(QWidget* window, const QString& section, const QString& key);

// ---- Playback -----------------------------------------------------------------------------------

// Each plays the window's lststeps from the top, one step per clock tick, and then removes the
// lines it played; lines added meanwhile stay for the next run.
void PlayCVSteps(frmplaying& frm);
void PlayOCVSteps(frmomni& frm);
void PlayTeamOCVSteps(frmteamomni& frm);
// The two-against-two board's placed card: the card leaves the user's hand slot for the cell.
void StepTeamPlacedCard(frmteamomni& frm, const QString& cell, const QString& card, const QString& colour);
// "TEAM_QUEUE <seat 1> <seat 2> <seat 3> <seat 4> <flag>": the four seats' names and avatar
// pictures (a seat is "name::prefix::background::body::head"; an empty seat is left alone).
void StepTeamQueue(frmteamomni& frm, const QString& line);

// ---- Step actions -------------------------------------------------------------------------------

namespace stepdetail {
template <class F>
concept HasElements = requires(F& f) { f.element[0]->setText(QString()); };
template <class F>
concept HasGameStatus = requires(F& f) { f.gamestatus->setText(QString()); };
template <class F>
concept HasBlockTxt = requires(F& f, const QString& s) { f.AddBlockTxt(s, s); };

template <class F>
bool cellOf(F& frm, const QString& field, int& cell) {
    if (ReadIndex(field, int(frm.Board.size()), cell)) return true;
    qWarning("step ignored: cell \"%s\" is not on the board", qPrintable(field));
    return false;
}

template <class F>
void notice(F& frm, const QString& text) {
    if constexpr (HasBlockTxt<F>) frm.AddBlockTxt(QStringLiteral("Event"), text);
}

template <class F>
void ruleEvent(F& frm, const QString& word) {
    if constexpr (HasGameStatus<F>) frm.gamestatus->setText(word);
    notice(frm, QStringLiteral("You/Your Opponent triggered a ") + word + QStringLiteral(" event!"));
    PlaySound(2);
}

// The opponent's card onto a cell; the colour recorded is the opponent's own, so that a later
// capture of the card is seen as a change.
template <class F>
void placeOpponentCard(F& frm, int cell, const QString& cardName, PictureBox* hand, const QString& colour) {
    const QString name = DecodeCardName(cardName);
    hand->Tag = name;
    frm.Board[cell]->Tag = name;
    frm.Board[cell]->ToolTipText(name);
    frm.Board[cell]->Picture(CardPicture(name, colour));
    hand->Picture(CardBack());
    frm.Colors(cell, colour);
}

template <class F>
void colourCard(F& frm, const QString& cellField, const QString& cardName, const QString& colour) {
    int cell = 0;
    if (cardName == QLatin1String("Empty") || !cellOf(frm, cellField, cell)) return;
    if (cardName.isEmpty()) {
        qWarning("step ignored: no card name");
        return;
    }
    const QString name = DecodeCardName(cardName);
    frm.Board[cell]->Tag = name;
    frm.Board[cell]->Picture(CardPicture(name, colour));
    frm.Colors(cell, colour);
}

template <class F>
void elementCharge(F& frm, const QString& cellField, const QString& value) {
    int cell = 0;
    if (!cellOf(frm, cellField, cell)) return;
    const double v = vbVal(value);
    // The sign decides; the notice always names one point.
    if (v >= 1) {
        if constexpr (HasElements<F>) frm.element[cell]->setText(QStringLiteral("+") + value);
        notice(frm, frm.Board[cell]->Tag + QStringLiteral(" has a positive elemental charge (+1)"));
    } else if (v == 0) {
        if constexpr (HasElements<F>) frm.element[cell]->setText(QString());
    } else if (v <= -1) {
        if constexpr (HasElements<F>) frm.element[cell]->setText(value);
        notice(frm, frm.Board[cell]->Tag + QStringLiteral(" has a negative elemental charge (-1)"));
    }
}
}  // namespace stepdetail

// "CV_PLACEDCARD": the opponent's card from hand slot handSlot onto cell.
template <class F>
void StepPlacedCard(F& frm, const QString& cell, const QString& handSlot, const QString& cardName) {
    int c = 0, slot = 0;
    if (!stepdetail::cellOf(frm, cell, c)) return;
    if (!ReadIndex(handSlot, 5, slot) || cardName.isEmpty()) {
        qWarning("step ignored: hand slot \"%s\" or card missing", qPrintable(handSlot));
        return;
    }
    const bool opponentRed = IsCreator();
    PictureBox* hand = opponentRed ? frm.Player2[slot] : frm.Player1[slot];
    stepdetail::placeOpponentCard(frm, c, cardName, hand, opponentRed ? QStringLiteral("red") : QStringLiteral("blue"));
}

// "OCVPLACEDCARD": the same on the omni board, whose sides have one current card each.
template <class F>
void StepOCVPlacedCard(F& frm, const QString& cell, const QString& cardName) {
    int c = 0;
    if (!stepdetail::cellOf(frm, cell, c)) return;
    if (cardName.isEmpty()) {
        qWarning("step ignored: no card name");
        return;
    }
    const bool opponentRed = IsCreator();
    PictureBox* hand = opponentRed ? frm.Player2 : frm.Player1;
    stepdetail::placeOpponentCard(frm, c, cardName, hand, opponentRed ? QStringLiteral("red") : QStringLiteral("blue"));
}

template <class F>
void StepBlueCard(F& frm, const QString& cell, const QString& cardName) {
    stepdetail::colourCard(frm, cell, cardName, QStringLiteral("blue"));
}

template <class F>
void StepRedCard(F& frm, const QString& cell, const QString& cardName) {
    stepdetail::colourCard(frm, cell, cardName, QStringLiteral("red"));
}

// A capture: the cell's card turns over; the window's flip end shows the cell again. The cell's
// recorded colour and picture are left to the colour steps.
template <class F>
void StepCardFlip(F& frm, const QString& cell, const QString& direction, const QString& colour) {
    int c = 0;
    if (!stepdetail::cellOf(frm, cell, c)) return;
    if (!frm.isVisible() || frm.Colors(c) == colour) return;
    PlaySound(22);
    if constexpr (stepdetail::HasElements<F>) frm.element[c]->setVisible(false);
    frm.Board[c]->setVisible(false);
    AnimatedPicture* anim = frm.flip[c];
    anim->setVisible(true);
    anim->raise();
    const QString key = direction == QLatin1String("1")   ? QStringLiteral("hflip")
                        : direction == QLatin1String("2") ? QStringLiteral("vflip")
                                                          : QString();
    if (!key.isEmpty()) {
        try {
            anim->ReadGIF(SkinPicturePath(GetSkinValue(QStringLiteral("main"), key)));
        } catch (const std::exception& e) {
            qWarning("flip animation: %s", e.what());
        }
    }
    anim->Loop = 1;
    anim->Play();
}

template <class F>
void StepPoints(F& frm, const QString& blueScore, const QString& redScore) {
    frm.player1_cards->setText(blueScore);
    frm.player2_cards->setText(redScore);
}

template <class F>
void StepPlusElement(F& frm, const QString& cell, const QString& value) {
    stepdetail::elementCharge(frm, cell, value);
}

template <class F>
void StepMinusElement(F& frm, const QString& cell, const QString& value) {
    stepdetail::elementCharge(frm, cell, value);
}

template <class F>
void StepSame(F& frm) {
    stepdetail::ruleEvent(frm, QStringLiteral("SAME"));
}
template <class F>
void StepPlus(F& frm) {
    stepdetail::ruleEvent(frm, QStringLiteral("PLUS"));
}
template <class F>
void StepMinus(F& frm) {
    stepdetail::ruleEvent(frm, QStringLiteral("MINUS"));
}
template <class F>
void StepCombo(F& frm) {
    stepdetail::ruleEvent(frm, QStringLiteral("COMBO"));
}
template <class F>
void StepMultiply(F& frm) {
    stepdetail::ruleEvent(frm, QStringLiteral("MULTIPLY"));
}
