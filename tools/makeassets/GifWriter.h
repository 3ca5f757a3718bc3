#pragma once
// A small GIF89a encoder: one 256-colour global palette shared by every frame, LZW
// image data, optional animation (per-frame delays, loop count) and transparency.

#include <QByteArray>
#include <QImage>
#include <QList>

namespace assets {

struct GifAnimation {
    QList<QImage> frames;      // all the same size; alpha below 128 counts as transparent
    QList<int> delays;         // hundredths of a second per frame; missing entries use 8
    // -1: no looping block, the animation plays once; 0: loops forever; n: n extra plays.
    int loops = -1;
};

// Returns the encoded file, or an empty array when there is nothing to encode (no
// frames, frames of different or empty size, or a side above 65535).
QByteArray encodeGif(const GifAnimation &animation);
QByteArray encodeGif(const QImage &still);

// Exposed for the tests: the LZW stream of `indices` for the given minimum code size,
// without the sub-block framing.
QByteArray lzwCompress(const QByteArray &indices, int minCodeSize);

} // namespace assets
