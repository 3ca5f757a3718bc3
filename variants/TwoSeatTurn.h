#pragma once
// What the memory and dice games share about a turn: both seats' markers, and the turn line that
// pauses a moment before it shows whose turn it is. The user may act while the own seat's marker
// is shown.
#include <QSize>
#include <QString>
#include <array>

class QLabel;
class QWidget;

using SeatMarkers = std::array<QLabel*, 3>;  // 1 and 2 are the seats; 0 is unused

// True while the marker of this client's seat (seat 1 for the table's creator) is shown.
bool OwnMarkerShown(const SeatMarkers& playerturn);
// The user's own marker shown again.
void ShowOwnMarker(const SeatMarkers& playerturn);

// A turn line's seat field: the markers are hidden and the window shown; for "1" or "2" the
// client waits a second and shows that seat's marker. Returns the seat, 0 for any other field,
// or -1 when the window went away during the wait.
int ShowTurnSeat(QWidget* window, const SeatMarkers& playerturn, const QString& seat);
// True when the seat of a turn line is this client's own.
bool IsOwnSeat(int seat);

// ---- Layout of the two-seat windows ----------------------------------------------------------

class QFrame;
class QMenuBar;
class SkinBackdrop;

// The hover frame over a free cell of the given size: 3 pixels outside the cell on every side.
QFrame* MakeHoverFrame(QWidget* table, QSize cell = QSize(72, 90));

// The window's menu bar above its table of the given size, with the title strip (when given)
// along the top, and what stands below the table (a chat panel), if anything.
void LayOutTable(QWidget* window, QMenuBar* menuBar, SkinBackdrop* table, QWidget* picTitle, QLabel* lblTitle, QSize size,
                 QWidget* below = nullptr);

// Each seat's caption ("Player 1", "Player 2"), score and turn marker, in two columns of the
// given width starting at lefts[1] and lefts[2], from top down.
struct SeatLabels {
    QLabel* caption1 = nullptr;
    QLabel* caption2 = nullptr;
    QLabel* score1 = nullptr;
    QLabel* score2 = nullptr;
};
SeatLabels BuildSeats(QWidget* table, const char* scoreName1, const char* scoreName2, const std::array<int, 3>& lefts, int top,
                      int width, SeatMarkers& playerturn);
