#pragma once
// What the six variant games share: the turn countdown with each game's bands, the request
// menu and its confirmation boxes, and what a game's start and close lines close. A game adds
// its own values here and its window; the behaviour stays in one place.
#include "platform/Forms.h"

#include <QString>
#include <cstdint>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QTimer;

enum class VariantGame { Omni, TeamOmni, CardWar, CoinBoard, Memory, Dice };

// ---- Turn countdown ------------------------------------------------------------------------------

// One game's countdown: a turn starts at `length`; each tick shows the seconds left while they
// lie in 1..top, with the tick sound from tickFrom down to 1; any other value is the time-up.
struct CountdownBand {
    int length = 0;
    int top = 0;
    int tickFrom = 0;
    QString timeUpText;
    int site = 0;  // error site of a failing tick
    QString timeUpLine;  // sent at the time-up by the games whose time-up is a line to the server
};
// The coin board counts down by its own rules and has no band: asking for it throws.
const CountdownBand& countdownBand(VariantGame game);

// The countdown of one game window, over the window's own timer, label and counter.
class TurnCountdown {
public:
    TurnCountdown(VariantGame game, QTimer* timer, QLabel* timeleft, int16_t& counter);
    // The user's turn begins: the counter at the turn length, the timer running each second.
    void start();
    // The user moved or the turn passed: the timer off (interval 0) and the label cleared.
    void stop();
    // One tick. True when the time ran out: the band's time-up line is sent, and the caller makes
    // the rest of the game's time-up action.
    // The message loop runs once after a number is shown, so the window may be gone on return.
    bool tick();

    const CountdownBand& band() const { return m_band; }

private:
    const CountdownBand& m_band;
    QTimer* m_timer;
    QLabel* m_timeleft;
    int16_t& m_counter;
};

// ---- Requests ------------------------------------------------------------------------------------

enum class VariantRequest { EndGame, Stalemate, Surrender };

// The request menu of a game window. Games without stalemate and surrender leave those null.
struct RequestMenu {
    QMenu* mnuOptions = nullptr;
    QAction* mnuEndGameRequest = nullptr;
    QAction* mnuStalemate = nullptr;
    QAction* mnuSurrender = nullptr;
};
// caption is the menu's title ("Options"); stalemateCaption empty gives the end-game item only.
RequestMenu BuildRequestMenu(QMenuBar* bar, const QString& caption, const QString& stalemateCaption);

// Asks the request's question (the end-game request beeps first). Yes sends the line and disables
// the item, so a request is made once per loaded window; No sends nothing. True when sent.
bool AskRequest(VariantRequest request, const QString& line, QAction* item);

// ---- Start and close -----------------------------------------------------------------------------

// Unloads what led to a game, in the order its start (or turn) keyword closes it: the waiting
// box, the rooms and the coin board's rule dialog. Other keywords close nothing.
void UnloadLeadIn(const QString& keyword);

// What a close line does beyond its window: the pause before the window goes (-1: none), and
// whether the player is out of a game afterwards.
struct CloseRule {
    int pauseSeconds = -1;
    bool clearsInGame = true;
};
CloseRule closeRule(VariantGame game);

// The pause, the window unloaded, InGame cleared, as the game's close line says. Lines that
// arrive during the pause wait in the receive queue.
void ApplyClose(VariantGame game, bool (*unloadWindow)());

// "MEMORYYES" and "CHINCHINYES": this client takes seat 1, the window shows with the opponent's
// name as its caption, then what led to the game closes.
void TakeFirstSeat(QWidget* window);
template <class W>
void StartFromYes(const QString& keyword) {
    TakeFirstSeat(form<W>());
    UnloadLeadIn(keyword);
}

template <class W>
void CloseVariant(VariantGame game) {
    ApplyClose(game, [] { return unload<W>(); });
}
