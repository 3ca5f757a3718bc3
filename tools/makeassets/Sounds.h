#pragma once
// The client's sound effects, synthesised: one short PCM wave per file of the sound table.

#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

namespace assets {

// 16-bit mono RIFF WAVE of the given samples (-1..1, clipped).
QByteArray encodeWave(const std::vector<float> &samples, int sampleRate);

struct SoundFile {
    QString member; // archive member, e.g. "wavs/coin.wav"
    QByteArray bytes;
};

// Every file the sound table names, plus the administrator's command sound.
QList<SoundFile> makeSounds();

} // namespace assets
