// Unpacking the three first-run archives of the build (decks.zip, skins.zip, wavs.zip) into an
// empty folder: the client's own road (UnzipArchive, as the first start runs it) and Info-ZIP's
// "unzip -o -q" on the same archives, started as a process each time as a user would, taken in
// turn within every round (A B A B ...) so that both meet the same machine. The benchmark's time
// is ours; both per-round times and their ratio are counters, and the totals close the run.
#include "app/modMain.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {
const QStringList kArchives = {"decks.zip", "skins.zip", "wavs.zip"};

QString archive(const QString& name) { return QStringLiteral(CORVADEX_BIN_DIR) + u'/' + name; }

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

bool unpackOurs(const QString& folder) {
    for (const QString& a : kArchives)
        if (UnzipArchive(archive(a), folder + u'/') != 0) return false;
    return true;
}

bool unpackInfoZip(const QString& unzip, const QString& folder) {
    for (const QString& a : kArchives) {
        QProcess p;
        p.start(unzip, {"-o", "-q", archive(a), "-d", folder});
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return false;
    }
    return true;
}

double g_ours = 0, g_theirs = 0;
qint64 g_rounds = 0;

void BM_UnpackInterleaved(benchmark::State& state) {
    for (const QString& a : kArchives) {
        if (!QFileInfo::exists(archive(a))) {
            state.SkipWithError("build the corvadex_assets target first");
            return;
        }
    }
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (unzip.isEmpty()) {
        state.SkipWithError("unzip is not installed (tools/install-deps.sh)");
        return;
    }
    QTemporaryDir root;
    int round = 0;
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        // Fresh empty folders, made before either side's clock starts.
        const QString a = root.filePath(QString::number(round) + QStringLiteral("a"));
        const QString b = root.filePath(QString::number(round++) + QStringLiteral("b"));
        QDir().mkpath(a);
        QDir().mkpath(b);
        const auto t0 = Clock::now();
        const bool okOurs = unpackOurs(a);
        const double dOurs = secondsSince(t0);
        const auto t1 = Clock::now();
        const bool okTheirs = unpackInfoZip(unzip, b);
        const double dTheirs = secondsSince(t1);
        if (!okOurs || !okTheirs) {
            state.SkipWithError(okOurs ? "unzip failed" : "unpacking failed");
            return;
        }
        state.SetIterationTime(dOurs);
        ours += dOurs;
        theirs += dTheirs;
    }
    const double n = double(state.iterations());
    state.counters["corvadex_ms"] = ours / n * 1000;
    state.counters["unzip_ms"] = theirs / n * 1000;
    state.counters["ratio_corvadex/unzip"] = theirs > 0 ? ours / theirs : 0;
    g_ours += ours;
    g_theirs += theirs;
    g_rounds += state.iterations();
}
BENCHMARK(BM_UnpackInterleaved)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    if (g_rounds > 0 && g_theirs > 0)
        std::printf("\nunpacking the three archives, %lld rounds taken in turn: corvadex %.2f ms, unzip -o -q %.2f ms, "
                    "ratio corvadex/unzip %.2f (goal: 1.00 or below)\n",
                    (long long)g_rounds, g_ours / double(g_rounds) * 1000, g_theirs / double(g_rounds) * 1000, g_ours / g_theirs);
    benchmark::Shutdown();
    return 0;
}
