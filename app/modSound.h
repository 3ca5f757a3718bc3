#pragma once
#include <QString>
#include <cstdint>

// The wave file of a sound number relative to the client folder, or "" for a number without one.
QString SoundFile(int id);
// Plays the table's file for id when it exists; unknown numbers and missing files play nothing.
void PlaySound(int id);
// Plays a file when sounds are allowed: before login always, afterwards when [Options] Sounds is "1".
void PlayWav(const QString& file);
