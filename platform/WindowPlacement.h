#pragma once
// Where a window opens: centred over its owner (or the screen when it has none shown), and
// always whole on the owner's screen, so that a window wider than its owner does not open with
// its title bar off the edge.
class QWidget;

void PlaceOver(QWidget* w, const QWidget* owner);
