// Lines per second through the receive side's hot path: decoding the wire's bytes, cutting them
// into lines, splitting each at blanks and classifying its keyword.
#include "ClientFixture.h"
#include "WidgetBenchMain.h"

#include "app/modText.h"
#include "net/clsWinsock.h"
#include "net/frmCon.h"
#include "platform/Codec1252.h"

#include <benchmark/benchmark.h>

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
}  // namespace

static void BM_ReceivePath(benchmark::State& state) {
    ClientFixture fixture(ClientFixture::None);
    frmCon con;
    const QByteArray stream = typicalStream(10000);
    // The socket hands data over in pieces: 1460 bytes is a typical segment; after a burst one
    // read takes everything that has come in (the whole stream at the largest size).
    const qsizetype kPiece = qsizetype(state.range(0));
    int64_t lines = 0;
    for (auto _ : state) {
        for (qsizetype at = 0; at < stream.size(); at += kPiece) {
            con.frameArrival(decode1252(stream.constData() + at, std::min(kPiece, stream.size() - at)));
            while (!con.lstPackets.empty()) {
                const QString& line = con.lstPackets.front();
                Fields f;
                Divide(line, QStringLiteral(" "), f);
                const int family = clsWinsock::familyOf(f[0]);
                benchmark::DoNotOptimize(family >= 0 ? family : clsWinsock::keywordOf(f[0]));
                con.lstPackets.pop_front();
                ++lines;
            }
        }
    }
    state.SetItemsProcessed(lines);
    state.SetBytesProcessed(int64_t(state.iterations()) * stream.size());
}
BENCHMARK(BM_ReceivePath)->Arg(1460)->Arg(64 * 1024)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
