#pragma once
// What a kept window holds outside its widgets, put back to what the same window holds right
// after form<T>() and show(): queued steps, counters, flags, colour and element arrays, rule
// objects, titles, dynamic properties and the economy grids. WindowSnapshot (FuzzReset.h) puts the widgets back.
// These run after an input, before or after the snapshot's restore: they write widgets only
// through a setter of the window that writes them too, and only when a value differs, leaving
// them as fresh or as they stood. Each returns false when something cannot be put back
// from outside: the caller then builds the window afresh. They are called only for a window
// still loaded, which is never one closing (a window that closes is forgotten at once).
//
// The economy windows' grids are compared with a record: call record(w) once, right after the
// window is built and shown, before any input. Without a record their rewind returns false.
//
// Program-wide state these windows' handlers write is that of app/storedvars (InGame, TriviaOpen,
// ChatBotOn, ChatBotKind, the coin slots, the table slots, ClientConfig()), which
// ResetStoredVars() puts back; the rest is named at each window.
#include "admin/frmadmin.h"
#include "economy/AdvancementWindow.h"
#include "economy/RecordSetGrid.h"
#include "economy/frmAvatars.h"
#include "economy/frmStarterDecks.h"
#include "game/frmTableInfo.h"
#include "game/frmdisplaybox.h"
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

#include <QPointer>
#include <QProgressBar>
#include <QVector>

#include <vector>

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

// ---- The economy grids ---------------------------------------------------------------------------

// What a grid shows as its load left it: the records, the column widths (0 hides), the sort
// and the current row.
struct GridRecord {
    QPointer<RecordSetGrid> grid;
    RecordSet records;
    QVector<int> widths;
    int sortColumn = -1;
    bool ascending = false;
    int row = 0;
};

struct WindowRecord {
    QPointer<QWidget> window;
    std::vector<GridRecord> grids;
    QString kind;  // the avatar shop's kind of items
};

inline std::vector<WindowRecord>& records() {
    static std::vector<WindowRecord> r;
    return r;
}

inline WindowRecord* recordOf(const QWidget* w) {
    for (WindowRecord& r : records())
        if (r.window && r.window == w) return &r;
    return nullptr;
}

inline bool sameRecords(const RecordSet& a, const RecordSet& b) {
    if (a.error() != b.error() || a.fieldNames() != b.fieldNames() || a.RecordCount() != b.RecordCount()) return false;
    for (int r = 0; r < a.RecordCount(); ++r)
        for (int c = 0; c < a.FieldCount(); ++c)
            if (a.value(r, c) != b.value(r, c)) return false;
    return true;
}

inline GridRecord recordGrid(RecordSetGrid* g) {
    GridRecord rec{g, g->recordSet(), {}, g->SortColumn(), g->SortAscending(), g->Row()};
    for (int c = 0; c < g->Cols(); ++c) rec.widths << g->ColWidth(c);
    return rec;
}

// False when the grid was sorted (nothing sets a grid unsorted again) or is gone.
inline bool rewindGrid(const GridRecord& rec) {
    RecordSetGrid* g = rec.grid;
    if (!g || g->SortColumn() != rec.sortColumn || g->SortAscending() != rec.ascending) return false;
    if (!sameRecords(g->recordSet(), rec.records)) {
        // A new binding drops the rows' order; a recorded sort would not come back with it.
        if (rec.sortColumn != -1) return false;
        g->bind(rec.records);
    }
    if (g->Cols() != rec.widths.size()) return false;
    for (int c = 0; c < g->Cols(); ++c)
        if (g->ColWidth(c) != rec.widths[c]) g->ColWidth(c, rec.widths[c]);
    if (g->Row() != rec.row) g->Row(rec.row);
    return true;
}

inline void recordWindow(QWidget* w, std::initializer_list<RecordSetGrid*> grids, const QString& kind = {}) {
    auto& all = records();
    std::erase_if(all, [w](const WindowRecord& r) { return !r.window || r.window == w; });
    WindowRecord rec{w, {}, kind};
    for (RecordSetGrid* g : grids) rec.grids.push_back(recordGrid(g));
    all.push_back(std::move(rec));
}

inline bool rewindGrids(const QWidget* w) {
    const WindowRecord* rec = recordOf(w);
    if (!rec) return false;
    for (const GridRecord& g : rec->grids)
        if (!rewindGrid(g)) return false;
    return true;
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

// The numbers a result box is given and its title; its load leaves them at 0 and "Game Over".
// The title bar's widgets the title redraws are put back with the rest.
inline bool rewind(frmdisplaybox* w) {
    w->TimerValue(0);
    w->CardsWon(0);
    w->GameID(0);
    if (w->title() != QLatin1String("Game Over")) w->ChangeTitle(QStringLiteral("Game Over"));
    return true;
}

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

// ---- The economy windows -------------------------------------------------------------------------

inline void record(AdvancementWindow* w) { detail::recordWindow(w, {w->DataGrid}); }
inline void record(frmAvatars* w) { detail::recordWindow(w, {w->Grid_Avatars, w->Grid_Inventory}, w->CurrentKind()); }
inline void record(frmStarterDecks* w) { detail::recordWindow(w, {w->DataGrid}); }

// "AAREFRESH" and "AAVETREFRESH" rebind the grid from the web service (with the nickname of the
// moment); a failing refresh unloads the window. Both advancement windows are this class.
inline bool rewind(AdvancementWindow* w) { return detail::rewindGrids(w); }

// "AVATARINVENTORYREFRESH" rebinds the inventory grid. The kind of items shown is set only with
// the shop's grid (by the menus) and has no setter: a different kind is rebuilt.
inline bool rewind(frmAvatars* w) {
    const detail::WindowRecord* rec = detail::recordOf(w);
    return rec && w->CurrentKind() == rec->kind && detail::rewindGrids(w);
}

// The server's refresh line rebinds the grid with the deck chosen in the list (none on a fresh
// window; the list's items and choice are the snapshot's).
inline bool rewind(frmStarterDecks* w) { return detail::rewindGrids(w); }

}  // namespace fuzzrewind
