#pragma once
// Snapshots of the screen (or of the lobby window where the screen cannot be read), saved as
// numbered bitmaps under the snapshots folder.

// Saves a picture of the screen the lobby stands on (the lobby window where the platform does
// not let the screen be read) as the first free snapshots/snap<N>.bmp (N 0 to 9999) and
// reports the path in the lobby log. False when every name is taken or the picture could not be
// saved (the player is told either way).
bool TakeSnapshot();
