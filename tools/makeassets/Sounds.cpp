#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace assets {

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

void putLE(QByteArray &out, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((v >> (8 * i)) & 0xff));
}

// A tiny deterministic noise source (xorshift), the same on every machine.
class Noise {
public:
    explicit Noise(quint32 seed) : s_(seed ? seed : 1) {}
    float next()
    {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return float(s_ & 0xffff) / 32768.0f - 1.0f;
    }

private:
    quint32 s_;
};

// Sound builder: notes and noise bursts mixed into one buffer.
class Mix {
public:
    explicit Mix(double seconds) : buf_(size_t(seconds * kRate), 0.0f) {}

    // A note with a linear attack and an exponential decay; `partials` adds overtones
    // (amplitude halves per partial); `glide` multiplies the frequency by the end.
    void tone(double start, double length, double freq, double amp, int partials = 2, double glide = 1.0,
              double decay = 6.0, double vibrato = 0.0)
    {
        const size_t a = size_t(start * kRate);
        const size_t n = size_t(length * kRate);
        double phase = 0;
        for (size_t i = 0; i < n && a + i < buf_.size(); ++i) {
            const double t = double(i) / kRate;
            const double k = double(i) / double(n);
            const double f = freq * std::pow(glide, k) * (1.0 + vibrato * std::sin(2 * kPi * 6.0 * t));
            phase += 2 * kPi * f / kRate;
            double v = 0, pa = 1;
            for (int p = 1; p <= partials; ++p, pa *= 0.5)
                v += pa * std::sin(phase * p);
            buf_[a + i] += float(amp * envelope(t, length, decay) * v);
        }
    }

    // Filtered noise: `colour` 0..1 from rumble to hiss.
    void noise(double start, double length, double amp, double colour, quint32 seed, double decay = 8.0)
    {
        Noise rng(seed);
        const size_t a = size_t(start * kRate);
        const size_t n = size_t(length * kRate);
        float low = 0;
        for (size_t i = 0; i < n && a + i < buf_.size(); ++i) {
            const double t = double(i) / kRate;
            const float w = rng.next();
            low += float(1.0 - colour * 0.97) * (w - low);
            const float v = float(colour) * (w - low) + float(1.0 - colour) * low * 3.0f;
            buf_[a + i] += float(amp * envelope(t, length, decay)) * v;
        }
    }

    // Repeats what has been mixed so far with a delay and a fall-off.
    void echo(double delay, double feedback, int repeats)
    {
        const size_t d = size_t(delay * kRate);
        for (int r = 0; r < repeats; ++r)
            for (size_t i = buf_.size(); i-- > d;)
                buf_[i] += float(feedback) * buf_[i - d];
    }

    std::vector<float> take()
    {
        float peak = 0;
        for (float v : buf_)
            peak = std::max(peak, std::fabs(v));
        if (peak > 0.9f)
            for (float &v : buf_)
                v *= 0.9f / peak;
        // Short fades so no file starts or ends with a click.
        const size_t fade = std::min<size_t>(64, buf_.size() / 2);
        for (size_t i = 0; i < fade; ++i) {
            buf_[i] *= float(i) / float(fade);
            buf_[buf_.size() - 1 - i] *= float(i) / float(fade);
        }
        return std::move(buf_);
    }

private:
    static double envelope(double t, double length, double decay)
    {
        const double attack = std::min(0.006, length / 4);
        const double rise = t < attack ? t / attack : 1.0;
        const double release = std::min(1.0, (length - t) / 0.02);
        return rise * std::exp(-decay * t / std::max(length, 0.05)) * std::max(0.0, release);
    }
    std::vector<float> buf_;
};

double note(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

struct Recipe {
    const char *member;
    std::function<std::vector<float>()> make;
};

QList<Recipe> recipes()
{
    return {
        {"wavs/coin.wav", [] { Mix m(0.45); m.tone(0, 0.12, note(19), 0.5, 3, 1.0, 3); m.tone(0.08, 0.37, note(24), 0.55, 3, 1.0, 5); return m.take(); }},
        {"wavs/combo.wav", [] { Mix m(0.6); for (int i = 0; i < 4; ++i) m.tone(i * 0.07, 0.6 - i * 0.07, note(7 + i * 4), 0.35, 3, 1.0, 5); return m.take(); }},
        {"wavs/beep.wav", [] { Mix m(0.12); m.tone(0, 0.12, note(12), 0.5, 1, 1.0, 2); return m.take(); }},
        {"wavs/on.wav", [] { Mix m(0.3); m.tone(0, 0.12, note(3), 0.45, 2); m.tone(0.12, 0.18, note(10), 0.45, 2); return m.take(); }},
        {"wavs/off.wav", [] { Mix m(0.3); m.tone(0, 0.12, note(10), 0.45, 2); m.tone(0.12, 0.18, note(3), 0.45, 2); return m.take(); }},
        {"wavs/enter.wav", [] { Mix m(0.5); m.tone(0, 0.5, note(5), 0.4, 4, 1.0, 5); m.tone(0.04, 0.46, note(12), 0.25, 2, 1.0, 6); return m.take(); }},
        {"wavs/scroll.WAV", [] { Mix m(0.4); m.noise(0, 0.4, 0.5, 0.8, 7, 3); m.noise(0.15, 0.2, 0.3, 0.6, 11, 4); return m.take(); }},
        {"wavs/join.wav", [] { Mix m(0.45); m.tone(0, 0.2, note(0), 0.4, 3); m.tone(0.1, 0.35, note(7), 0.4, 3); return m.take(); }},
        {"wavs/part.wav", [] { Mix m(0.45); m.tone(0, 0.2, note(7), 0.4, 3); m.tone(0.1, 0.35, note(0), 0.4, 3); return m.take(); }},
        {"wavs/ready.wav", [] { Mix m(0.3); m.tone(0, 0.1, note(14), 0.45, 2, 1.0, 2); m.tone(0.14, 0.14, note(14), 0.45, 2, 1.0, 2); return m.take(); }},
        {"wavs/requestlog.wav", [] { Mix m(0.36); for (int i = 0; i < 3; ++i) m.tone(i * 0.11, 0.08, note(17 - i * 2), 0.4, 1, 1.0, 2); return m.take(); }},
        {"wavs/special.wav", [] { Mix m(0.9); for (int i = 0; i < 6; ++i) m.tone(i * 0.05, 0.85 - i * 0.05, note(19 + (i % 3) * 5), 0.22, 2, 1.0, 4, 0.004); return m.take(); }},
        {"wavs/pm.wav", [] { Mix m(0.7); m.tone(0, 0.7, note(17), 0.5, 4, 1.0, 6); return m.take(); }},
        {"wavs/kick.wav", [] { Mix m(0.45); m.tone(0, 0.4, note(-24), 0.8, 2, 0.5, 6); m.noise(0, 0.12, 0.4, 0.2, 3, 10); return m.take(); }},
        {"wavs/pmchat.wav", [] { Mix m(0.22); m.tone(0, 0.22, note(10), 0.45, 2, 1.25, 4); return m.take(); }},
        {"wavs/target.wav", [] { Mix m(0.35); m.tone(0, 0.35, note(22), 0.4, 1, 0.8, 4); return m.take(); }},
        {"wavs/cardflip.wav", [] { Mix m(0.18); m.noise(0, 0.18, 0.6, 0.9, 5, 5); m.tone(0.02, 0.1, note(-5), 0.15, 1, 2.0, 6); return m.take(); }},
        {"wavs/win.IT", [] {
             Mix m(1.6);
             const int seq[] = {0, 4, 7, 12};
             for (int i = 0; i < 4; ++i) m.tone(i * 0.14, 0.3, note(seq[i]), 0.35, 3, 1.0, 3);
             m.tone(0.56, 1.0, note(12), 0.35, 3, 1.0, 3, 0.006);
             m.tone(0.56, 1.0, note(16), 0.25, 2, 1.0, 3, 0.006);
             m.tone(0.56, 1.0, note(19), 0.25, 2, 1.0, 3, 0.006);
             return m.take(); }},
        {"wavs/loss.wav", [] { Mix m(1.2); const int seq[] = {7, 3, 0, -5}; for (int i = 0; i < 4; ++i) m.tone(i * 0.22, 0.4 + (i == 3) * 0.3, note(seq[i]), 0.4, 3, 1.0, 3); return m.take(); }},
        {"wavs/draw.wav", [] { Mix m(0.8); m.tone(0, 0.35, note(5), 0.4, 3, 1.0, 3); m.tone(0.3, 0.5, note(5), 0.4, 3, 1.0, 3); return m.take(); }},
        {"wavs/snapshot.wav", [] { Mix m(0.3); m.noise(0, 0.05, 0.7, 0.9, 13, 6); m.noise(0.12, 0.08, 0.6, 0.7, 17, 6); return m.take(); }},
        {"wavs/level.wav", [] { Mix m(1.1); const int seq[] = {0, 5, 9, 12, 17}; for (int i = 0; i < 5; ++i) m.tone(i * 0.1, 1.1 - i * 0.1, note(seq[i]), 0.3, 3, 1.0, 4); return m.take(); }},
        {"wavs/sphere/corebreak.wav", [] { Mix m(0.9); m.noise(0, 0.9, 0.7, 0.5, 19, 5); m.tone(0, 0.6, note(-17), 0.5, 3, 0.6, 5); return m.take(); }},
        {"wavs/sphere/frozen.wav", [] { Mix m(0.9); for (int i = 0; i < 5; ++i) m.tone(i * 0.06, 0.6, note(28 + i * 3), 0.15, 1, 1.0, 4, 0.01); m.noise(0, 0.5, 0.2, 1.0, 23, 6); return m.take(); }},
        {"wavs/sphere/go.wav", [] { Mix m(0.5); m.tone(0, 0.5, note(2), 0.5, 3, 2.0, 3); return m.take(); }},
        {"wavs/sphere/spin.wav", [] { Mix m(0.6); m.tone(0, 0.6, note(12), 0.3, 2, 1.0, 2, 0.08); m.noise(0, 0.6, 0.12, 0.7, 29, 2); return m.take(); }},
        {"wavs/sphere/echo.wav", [] { Mix m(1.0); m.tone(0, 0.15, note(15), 0.5, 2, 1.0, 3); m.echo(0.16, 0.5, 1); m.echo(0.32, 0.35, 1); return m.take(); }},
        {"wavs/TABLEJOIN.wav", [] { Mix m(0.5); m.tone(0, 0.08, note(-12), 0.6, 2, 0.8, 8); m.tone(0.12, 0.08, note(-12), 0.6, 2, 0.8, 8); m.tone(0.24, 0.26, note(7), 0.35, 3); return m.take(); }},
        {"wavs/roll.wav", [] { Mix m(0.7); for (int i = 0; i < 9; ++i) m.noise(0.02 + i * 0.07 * (1.0 - i * 0.05), 0.03, 0.6 - i * 0.04, 0.85, 31u + quint32(i), 12); return m.take(); }},
        {"wavs/stalemate.wav", [] { Mix m(0.7); m.tone(0, 0.7, note(-2), 0.3, 2, 1.0, 3); m.tone(0, 0.7, note(-1), 0.3, 2, 1.0, 3); return m.take(); }},
        {"wavs/tick.wav", [] { Mix m(0.06); m.noise(0, 0.02, 0.7, 0.95, 37, 10); m.tone(0, 0.05, note(27), 0.3, 1, 1.0, 10); return m.take(); }},
        {"wavs/timeup.wav", [] { Mix m(0.8); m.tone(0, 0.8, note(-9), 0.45, 5, 1.0, 1.5); m.tone(0, 0.8, note(-8), 0.3, 5, 1.0, 1.5); return m.take(); }},
        {"wavs/command.wav", [] { Mix m(0.3); m.tone(0, 0.1, note(7), 0.4, 2, 1.0, 2); m.tone(0.1, 0.2, note(19), 0.4, 2, 1.0, 4); return m.take(); }},
    };
}

} // namespace

QByteArray encodeWave(const std::vector<float> &samples, int sampleRate)
{
    const quint32 dataBytes = quint32(samples.size() * 2);
    QByteArray out;
    out.reserve(int(44 + dataBytes));
    out.append("RIFF", 4);
    putLE(out, 36 + dataBytes, 4);
    out.append("WAVEfmt ", 8);
    putLE(out, 16, 4);
    putLE(out, 1, 2); // PCM
    putLE(out, 1, 2); // mono
    putLE(out, quint32(sampleRate), 4);
    putLE(out, quint32(sampleRate * 2), 4);
    putLE(out, 2, 2);
    putLE(out, 16, 2);
    out.append("data", 4);
    putLE(out, dataBytes, 4);
    for (float v : samples) {
        const int s = int(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
        putLE(out, quint32(qint16(s)) & 0xffff, 2);
    }
    return out;
}

QList<SoundFile> makeSounds()
{
    QList<SoundFile> out;
    for (const Recipe &r : recipes())
        out.append({QString::fromLatin1(r.member), encodeWave(r.make(), kRate)});
    return out;
}

} // namespace assets
