// Lines per second through the receive side's hot path: the socket window's framing of the
// wire's bytes (decoded as they are cut) and the dispatcher's classification of each line's
// keyword, taken from the queue the way the pump takes it. Beside it, in the same run, a plain
// memchr scan for carriage returns over the same bytes, and the ratio of the two.
#include "ClientFixture.h"
#include "WidgetBenchMain.h"

#include "net/clsWinsock.h"
#include "net/frmCon.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>

namespace {
QByteArray typicalStream(int lines) {
    const char* samples[] = {
        "CHAT anna hello there, anyone up for a game?",
        "NEWPLAYER2 bob:::12:::Ravens",
        "UPDATEGOLD bob 15200",
        "TABLE 7 anna bob 1 0",
        "CV_PLACEDAT 4 2 Ember%20Wyrm blue",
        "CV_CARDFLIP 3 red",
        "PING",
        "INPM carol hi%20there%50how%20are%20you",
        "CHALLENGECHATS anna ready when you are",
        "REMPLAYER dave",
    };
    QByteArray out;
    for (int i = 0; i < lines; ++i) {
        out += samples[i % 10];
        out += '\r';
    }
    return out;
}

using SteadyClock = std::chrono::steady_clock;

double secondsSince(SteadyClock::time_point start) { return std::chrono::duration<double>(SteadyClock::now() - start).count(); }

// The baseline: the carriage returns of the same reads found with memchr, nothing else.
int64_t memchrLines(const QByteArray& stream, qsizetype piece) {
    int64_t lines = 0;
    for (qsizetype at = 0; at < stream.size(); at += piece) {
        const char* p = stream.constData() + at;
        const char* end = p + std::min(piece, stream.size() - at);
        while (const void* cr = std::memchr(p, '\r', size_t(end - p))) {
            p = static_cast<const char*>(cr) + 1;
            ++lines;
        }
    }
    return lines;
}
}  // namespace

static void BM_ReceivePath(benchmark::State& state) {
    ClientFixture fixture(ClientFixture::None);
    frmCon con;
    const QByteArray stream = typicalStream(40000);  // about 1.1 MB
    // The socket hands data over in pieces: 1460 bytes is a typical segment; after a burst one
    // read takes everything that has come in (the whole stream at the largest size).
    const qsizetype kPiece = qsizetype(state.range(0));
    int64_t lines = 0, baselineLines = 0;
    double ours = 0, baseline = 0;
    for (auto _ : state) {
        // A B in each iteration, so both see the same machine.
        SteadyClock::time_point start = SteadyClock::now();
        baselineLines += memchrLines(stream, kPiece);
        baseline += secondsSince(start);

        start = SteadyClock::now();
        for (qsizetype at = 0; at < stream.size(); at += kPiece) {
            con.frameArrival(stream.constData() + at, std::min(kPiece, stream.size() - at));
            while (!con.lstPackets.empty()) {
                const QString line = std::move(con.lstPackets.front());
                benchmark::DoNotOptimize(clsWinsock::routeOf(line));
                con.lstPackets.pop_front();
                ++lines;
            }
        }
        const double elapsed = secondsSince(start);
        ours += elapsed;
        state.SetIterationTime(elapsed);
    }
    if (lines != baselineLines) state.SkipWithError("framing and the baseline counted different lines");
    state.SetItemsProcessed(lines);
    state.SetBytesProcessed(int64_t(state.iterations()) * stream.size());
    state.counters["M_lines_per_s"] = double(lines) / ours / 1e6;
    state.counters["memchr_M_lines_per_s"] = double(baselineLines) / baseline / 1e6;
    state.counters["memchr_over_ours"] = (double(baselineLines) / baseline) / (double(lines) / ours);
}
BENCHMARK(BM_ReceivePath)->Arg(1460)->Arg(64 * 1024)->Arg(1 << 20)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
