#pragma once
// What a kept window holds outside its widgets, put back to what the same window holds right
// after form<T>() and show(): queued steps, counters, flags, colour and element arrays, rule
// objects, titles and dynamic properties. WindowSnapshot (FuzzReset.h) puts the widgets back.
// These run after an input, before or after the snapshot's restore: they write widgets only
// through a setter of the window that writes them too, and only when a value differs, leaving
// them as fresh or as they stood. Each returns false when something cannot be put back
// from outside: the caller then builds the window afresh. They are called only for a window
// still loaded, which is never one closing (a window that closes is forgotten at once).
//
// Program-wide state these windows' handlers write is that of app/storedvars (InGame, TriviaOpen,
// ChatBotOn, ChatBotKind, the coin slots, the table slots, ClientConfig()), which
// ResetStoredVars() puts back; the rest is named at each window.
#include "admin/frmadmin.h"
#include "game/frmTableInfo.h"
#include "game/frmplaying.h"
#include "net/frmConnect.h"
#include "tables/ChallengeRoom.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "variants/frmcardwars.h"
#include "variants/frmchinchin.h"
#include "variants/frmmemory.h"
#include "variants/frmomni.h"
#include "variants/frmsphere.h"
#include "variants/frmteamomni.h"

#include <QProgressBar>


namespace fuzzrewind {

namespace detail {

template <class T>
void put(T& member, const T& fresh) {
    if (member != fresh) member = fresh;
}

// Every cell's colour back to empty, as the load leaves it.
template <class W>
void clearColors(W* w, int count) {
    for (int i = 0; i < count; ++i)
        if (!w->Colors(i).isEmpty()) w->Colors(i, QString());
}

// A dynamic property the handlers set and a fresh window lacks.
inline void dropProperty(QObject* o, const char* name) {
    if (o && o->property(name).isValid()) o->setProperty(name, QVariant());
}

// The rooms' shared part: the jackpot toggles count from the load and cannot be set back.
inline bool rewindRoom(ChallengeRoom* w) { return w->JackpotToggles() == 0; }

// The two omni boards keep the same: queued steps, the turn's seconds, the play and played flags
// and the cells' colours.
template <class W>
void rewindOmni(W* w) {
    if (!w->lststeps.isEmpty()) w->lststeps.clear();
    put<int16_t>(w->Timerints, 0);
    put(w->blnPlay, false);
    if (w->PlayedCard()) w->PlayedCard(false);
    clearColors(w, W::kCells);
}

}  // namespace detail

// ---- The variant boards --------------------------------------------------------------------------

// Not put back: nothing; the countdown object only refers to the window's own timer, label and
// counter. The handlers write the socket window (afresh every input) and the lobby's widgets.
inline bool rewind(frmomni* w) {
    detail::rewindOmni(w);
    return true;
}

// The chat input's "Tag" property, set empty after a line is sent, is absent on a fresh window.
inline bool rewind(frmteamomni* w) {
    detail::rewindOmni(w);
    detail::dropProperty(w->chatout, "Tag");
    return true;
}

// The coins' "selectedCoin" property (their red look is a style sheet, which the snapshot has).
// The coin values themselves live in BorderCoins and CoreCoins, which ResetStoredVars() clears.
inline bool rewind(frmsphere* w) {
    if (!w->lstsphere.isEmpty()) w->lstsphere.clear();
    detail::put(w->blnReady, false);
    detail::put(w->blnLock, false);
    detail::put<uint8_t>(w->time, 0);
    for (QString& tag : w->borderTag) detail::put(tag, QStringLiteral("spin"));
    for (QLabel* coin : w->corecoin) detail::dropProperty(coin, "selectedCoin");
    for (QLabel* coin : w->bordercoin) detail::dropProperty(coin, "selectedCoin");
    return true;
}

inline bool rewind(frmchinchin* w) {
    detail::put<int16_t>(w->TurnSeconds, 0);
    return true;
}

inline bool rewind(frmmemory* w) {
    detail::put<int16_t>(w->TurnSeconds, 0);
    detail::put<int16_t>(w->PickCount, 0);
    return true;
}

// Not put back: the countdown's private counter. It is read only by the countdown's tick, which
// runs only while TimerTurn runs, and every start of TimerTurn (Start_timer) sets it first; the
// snapshot stops the timer. imlicons is made at load and only read.
inline bool rewind(frmcardwars* w) {
    detail::put<int16_t>(w->playerid, 0);
    detail::put<int16_t>(w->SelectedID, -1);
    detail::put(w->Battle, false);
    return true;
}

// ---- The standard board --------------------------------------------------------------------------

// The rule set: a fresh board holds none (oCV() makes an empty one on first use); the game start
// shares the room's object with it, so it is dropped rather than reset in place.
inline bool rewind(frmplaying* w) {
    if (!w->lststeps.isEmpty()) w->lststeps.clear();
    if (!w->Tag.isEmpty()) w->Tag.clear();
    detail::clearColors(w, 25);
    for (int i = 0; i < frmplaying::kCells; ++i)
        if (!w->ElementCard(i).isEmpty()) w->ElementCard(i, QString());
    if (w->playerid() != 0) w->playerid(0);
    if (w->SelectedID() != -1) w->SelectedID(-1);
    if (w->OrderSequence() != 0) w->OrderSequence(0);
    if (w->TimerValue() != 0) w->TimerValue(0);
    if (w->PlayedCard()) w->PlayedCard(false);
    w->oCV(nullptr);
    detail::dropProperty(w->chatout, "Tag");
    return true;
}

// ---- The rooms -----------------------------------------------------------------------------------

// The table number and the game key are stored only (the title reads the number at its next
// paint). The deck style and the blocks are shown in the rule links as they are set: the links'
// texts are kept as they stand, for the snapshot to put back in whichever order it runs.
inline bool rewind(frmchallengebox* w) {
    if (!detail::rewindRoom(w)) return false;
    if (w->Tablenumber() != 0) w->Tablenumber(0);
    if (!w->GameKey().isEmpty()) w->GameKey(QString());
    const QString style = w->ruleset[0]->text(), blocks = w->ruleset[1]->text();
    if (!w->Rules().isEmpty()) w->Rules(QString());
    if (w->Blocks() != 0) w->Blocks(0);
    if (w->ruleset[0]->text() != style) w->ruleset[0]->setText(style);
    if (w->ruleset[1]->text() != blocks) w->ruleset[1]->setText(blocks);
    return true;
}

// The rule set: none on a fresh room (oCVGame() makes one on first use). The key and the number
// retitle the room when set, giving the title the load gave it: only the title strip's widgets
// are written, as the load writes them.
inline bool rewind(frmchallengebox_single* w) {
    if (!detail::rewindRoom(w)) return false;
    if (w->TableRules()) w->TableRules(nullptr);
    if (!w->GameKey().isEmpty()) w->GameKey(QString());
    if (w->Tablenumber() != 0) w->Tablenumber(0);
    return true;
}

// ---- The other windows ---------------------------------------------------------------------------

// Nothing but widgets: the page is its text box. writerules reads the table slots only.
inline bool rewind(frmTableInfo*) { return true; }

// The connect state is set only by Connect (the login window's) and its own timer, which the
// target holds still; a fresh window has none. The progress bar's value is no field of the
// snapshot: the load leaves it at 0. Connect also writes ClientConfig() (IP, Port), the socket
// window's Winsock and config/private.txt, which the session removes.
inline bool rewind(frmConnect* w) {
    if (!w->connectState().isEmpty()) return false;
    if (w->barProgress->value() != 0) w->barProgress->setValue(0);
    return true;
}

// The open question's answer and points are cleared by a correct answer in the chat (the chat
// handler, while TriviaOpen is set); the scores grow with it. The quiz's file, its remaining and
// asked counts, the 8-ball switch and the run counter are private and set only from the menus,
// which no server line reaches; only the scores can be seen, and a quiz with scores is rebuilt.
inline bool rewind(frmadmin* w) {
    if (!w->Scores().isEmpty()) return false;
    if (!w->QuestionAnswer().isEmpty()) w->QuestionAnswer(QString());
    if (w->TriviaPoints() != 0) w->TriviaPoints(0);
    return true;
}

}  // namespace fuzzrewind
