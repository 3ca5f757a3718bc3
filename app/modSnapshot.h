#pragma once
// Snapshots of the lobby window, saved as numbered bitmaps under the snapshots folder.

// Saves a picture of the lobby window as the first free snapshots/snap<N>.bmp (N 0 to 9999) and
// reports the path in the lobby log. False when every name is taken or the picture could not be
// saved (the player is told either way).
bool TakeSnapshot();
