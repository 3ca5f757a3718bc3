#include "GifWriter.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <vector>

namespace assets {

namespace {

constexpr int kTransparentIndex = 255;

void putLE16(QByteArray &out, int v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

class BitWriter {
public:
    explicit BitWriter(QByteArray &out) : out_(out) {}
    void put(int code, int bits)
    {
        acc_ |= quint32(code) << count_;
        count_ += bits;
        while (count_ >= 8) {
            out_.append(char(acc_ & 0xff));
            acc_ >>= 8;
            count_ -= 8;
        }
    }
    void flush()
    {
        if (count_ > 0)
            out_.append(char(acc_ & 0xff));
        acc_ = 0;
        count_ = 0;
    }

private:
    QByteArray &out_;
    quint32 acc_ = 0;
    int count_ = 0;
};

// Median-cut over a 15-bit histogram. Each box keeps the real 24-bit average of the
// colours that fell into it, so flat areas keep their exact colour.
struct Bin {
    quint32 count = 0;
    quint64 r = 0, g = 0, b = 0;
};

struct Box {
    std::vector<int> bins; // indices into the 32768 histogram
    quint64 weight = 0;
};

int channel(int bin, int c) { return (bin >> (10 - 5 * c)) & 31; }

class Palette {
public:
    QList<QRgb> colours; // at most 255: index 255 is kept for transparency
    std::vector<quint8> lookup; // 32768 entries, used when the palette is not exact
    QHash<QRgb, quint8> exact;
    bool isExact = false;

    quint8 indexOf(QRgb c) const
    {
        if (isExact)
            return exact.value(c & 0xffffff);
        return lookup[((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3)];
    }
};

Palette buildPalette(const QList<QImage> &frames)
{
    Palette pal;
    QHash<QRgb, int> distinct;
    bool small = true;
    std::vector<Bin> hist(32768);
    for (const QImage &f : frames) {
        for (int y = 0; y < f.height(); ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(f.constScanLine(y));
            for (int x = 0; x < f.width(); ++x) {
                const QRgb c = line[x];
                if (qAlpha(c) < 128)
                    continue;
                const QRgb rgb = c & 0xffffff;
                if (small) {
                    distinct.insert(rgb, 0);
                    if (distinct.size() > 255)
                        small = false;
                }
                Bin &bin = hist[((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3)];
                ++bin.count;
                bin.r += qRed(c);
                bin.g += qGreen(c);
                bin.b += qBlue(c);
            }
        }
    }
    if (small) {
        QList<QRgb> keys = distinct.keys();
        std::sort(keys.begin(), keys.end()); // the hash order is not stable between runs
        for (QRgb k : keys) {
            pal.exact.insert(k, quint8(pal.colours.size()));
            pal.colours.append(k);
        }
        pal.isExact = true;
        return pal;
    }

    std::vector<Box> boxes(1);
    for (int i = 0; i < 32768; ++i)
        if (hist[i].count) {
            boxes[0].bins.push_back(i);
            boxes[0].weight += hist[i].count;
        }
    while (boxes.size() < 255) {
        // Split the heaviest box that still has more than one bin, along its widest channel.
        int pick = -1;
        quint64 best = 0;
        for (size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i].bins.size() > 1 && boxes[i].weight > best) {
                best = boxes[i].weight;
                pick = int(i);
            }
        if (pick < 0)
            break;
        Box &box = boxes[size_t(pick)];
        int widest = 0, widestRange = -1;
        for (int c = 0; c < 3; ++c) {
            int lo = 31, hi = 0;
            for (int bin : box.bins) {
                lo = std::min(lo, channel(bin, c));
                hi = std::max(hi, channel(bin, c));
            }
            if (hi - lo > widestRange) {
                widestRange = hi - lo;
                widest = c;
            }
        }
        std::sort(box.bins.begin(), box.bins.end(), [&](int a, int b) {
            const int ca = channel(a, widest), cb = channel(b, widest);
            return ca != cb ? ca < cb : a < b;
        });
        quint64 half = 0;
        size_t cut = 0;
        while (cut < box.bins.size() - 1 && half + hist[size_t(box.bins[cut])].count <= box.weight / 2) {
            half += hist[size_t(box.bins[cut])].count;
            ++cut;
        }
        if (cut == 0)
            cut = 1;
        Box upper;
        upper.bins.assign(box.bins.begin() + long(cut), box.bins.end());
        box.bins.resize(cut);
        box.weight = 0;
        for (int bin : box.bins)
            box.weight += hist[size_t(bin)].count;
        for (int bin : upper.bins)
            upper.weight += hist[size_t(bin)].count;
        boxes.push_back(std::move(upper));
    }
    pal.lookup.assign(32768, 0);
    std::vector<std::array<int, 3>> avg;
    for (const Box &box : boxes) {
        quint64 r = 0, g = 0, b = 0, n = 0;
        for (int bin : box.bins) {
            r += hist[size_t(bin)].r;
            g += hist[size_t(bin)].g;
            b += hist[size_t(bin)].b;
            n += hist[size_t(bin)].count;
        }
        avg.push_back({int(r / n), int(g / n), int(b / n)});
        pal.colours.append(qRgb(avg.back()[0], avg.back()[1], avg.back()[2]));
    }
    // Every used bin maps to the palette colour nearest to the bin's own average.
    for (int i = 0; i < 32768; ++i) {
        if (!hist[size_t(i)].count)
            continue;
        const int n = int(hist[size_t(i)].count);
        const int r = int(hist[size_t(i)].r / quint64(n)), g = int(hist[size_t(i)].g / quint64(n)),
                  b = int(hist[size_t(i)].b / quint64(n));
        int bestIndex = 0, bestDist = INT_MAX;
        for (size_t p = 0; p < avg.size(); ++p) {
            const int dr = r - avg[p][0], dg = g - avg[p][1], db = b - avg[p][2];
            const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (d < bestDist) {
                bestDist = d;
                bestIndex = int(p);
            }
        }
        pal.lookup[size_t(i)] = quint8(bestIndex);
    }
    return pal;
}

void appendSubBlocks(QByteArray &out, const QByteArray &data)
{
    for (qsizetype pos = 0; pos < data.size(); pos += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - pos);
        out.append(char(n));
        out.append(data.constData() + pos, n);
    }
    out.append(char(0));
}

} // namespace

QByteArray lzwCompress(const QByteArray &indices, int minCodeSize)
{
    QByteArray out;
    BitWriter bits(out);
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    int codeSize = minCodeSize + 1;
    int next = endCode + 1;
    // Dictionary: (prefix code, next byte) -> code. A flat table indexed by prefix*256+byte
    // is cleared by generation stamps so a reset costs nothing.
    std::vector<quint16> code(4096 * 256);
    std::vector<quint32> stamp(4096 * 256, 0);
    quint32 generation = 1;

    bits.put(clearCode, codeSize);
    int current = -1;
    for (const char ch : indices) {
        const int pixel = quint8(ch) & (clearCode - 1);
        if (current < 0) {
            current = pixel;
            continue;
        }
        const size_t slot = size_t(current) * 256 + size_t(pixel);
        if (stamp[slot] == generation) {
            current = code[slot];
            continue;
        }
        bits.put(current, codeSize);
        stamp[slot] = generation;
        code[slot] = quint16(next);
        ++next;
        if (next > (1 << codeSize) && codeSize < 12)
            ++codeSize;
        if (next == 4096) {
            // Table full: the decoder adds its last entry on this code, then resets with us.
            bits.put(clearCode, codeSize);
            ++generation;
            codeSize = minCodeSize + 1;
            next = endCode + 1;
        }
        current = pixel;
    }
    if (current >= 0) {
        bits.put(current, codeSize);
        // The decoder adds one entry for this last code and may widen before reading the end.
        if (next < 4096 && next + 1 > (1 << codeSize) && codeSize < 12 && next != endCode + 1)
            ++codeSize;
    }
    bits.put(endCode, codeSize);
    bits.flush();
    return out;
}

QByteArray encodeGif(const QImage &still)
{
    return encodeGif(GifAnimation{{still}, {0}, -1});
}

QByteArray encodeGif(const GifAnimation &animation)
{
    if (animation.frames.isEmpty())
        return {};
    const QSize size = animation.frames.first().size();
    if (size.isEmpty() || size.width() > 65535 || size.height() > 65535)
        return {};
    QList<QImage> frames;
    bool anyTransparent = false;
    for (const QImage &f : animation.frames) {
        if (f.size() != size)
            return {};
        QImage argb = f.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height() && !anyTransparent; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
            for (int x = 0; x < argb.width(); ++x)
                if (qAlpha(line[x]) < 128) {
                    anyTransparent = true;
                    break;
                }
        }
        frames.append(argb);
    }
    const Palette pal = buildPalette(frames);

    QByteArray out("GIF89a");
    putLE16(out, size.width());
    putLE16(out, size.height());
    out.append(char(0xF7)); // global table of 256 entries, 8-bit colour resolution
    out.append(char(anyTransparent ? kTransparentIndex : 0));
    out.append(char(0));
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < pal.colours.size() ? pal.colours[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    if (animation.loops >= 0) {
        out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
        putLE16(out, animation.loops);
        out.append(char(0));
    }
    const bool animated = frames.size() > 1;
    for (int i = 0; i < frames.size(); ++i) {
        if (animated || anyTransparent) {
            const int delay = i < animation.delays.size() ? animation.delays[i] : 8;
            // Transparent animations clear each frame before the next, opaque ones just replace it.
            const int disposal = anyTransparent ? 2 : 1;
            out.append("\x21\xF9\x04", 3);
            out.append(char((disposal << 2) | (anyTransparent ? 1 : 0)));
            putLE16(out, std::clamp(delay, 0, 65535));
            out.append(char(anyTransparent ? kTransparentIndex : 0));
            out.append(char(0));
        }
        out.append(char(0x2C));
        putLE16(out, 0);
        putLE16(out, 0);
        putLE16(out, size.width());
        putLE16(out, size.height());
        out.append(char(0));
        QByteArray indices;
        indices.reserve(qsizetype(size.width()) * size.height());
        const QImage &f = frames[i];
        for (int y = 0; y < f.height(); ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(f.constScanLine(y));
            for (int x = 0; x < f.width(); ++x)
                indices.append(char(qAlpha(line[x]) < 128 ? kTransparentIndex : pal.indexOf(line[x])));
        }
        out.append(char(8));
        appendSubBlocks(out, lzwCompress(indices, 8));
    }
    out.append(char(0x3B));
    return out;
}

} // namespace assets
