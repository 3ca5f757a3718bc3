// Unpacking the three first-run archives of the build (decks.zip, skins.zip, wavs.zip) into an
// empty folder: the client's unpacker against Info-ZIP's "unzip -o -q" on the same archives,
// started as a process each time as a user would. The goal is not to be slower than unzip; the
// ratio of the two is printed at the end.
#include "app/CGUnzipFiles.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {
const QStringList kArchives = {"decks.zip", "skins.zip", "wavs.zip"};

QString archive(const QString& name) { return QStringLiteral(CORVADEX_BIN_DIR) + u'/' + name; }

bool archivesPresent(benchmark::State& state) {
    for (const QString& a : kArchives) {
        if (!QFileInfo::exists(archive(a))) {
            state.SkipWithError("build the corvadex_assets target first");
            return false;
        }
    }
    return true;
}

// A fresh empty folder for every round, made outside the timing.
QString freshFolder(benchmark::State& state, QTemporaryDir& root, int& round) {
    state.PauseTiming();
    const QString folder = root.filePath(QString::number(round++));
    QDir().mkpath(folder);
    state.ResumeTiming();
    return folder;
}

void BM_UnpackCorvadex(benchmark::State& state) {
    if (!archivesPresent(state)) return;
    QTemporaryDir root;
    int round = 0;
    for (auto _ : state) {
        const QString folder = freshFolder(state, root, round);
        for (const QString& a : kArchives) {
            if (RunUnzip(archive(a), folder, UnzipOptions{}) != 0) {
                state.SkipWithError("unpacking failed");
                return;
            }
        }
    }
}

void BM_UnpackInfoZip(benchmark::State& state) {
    if (!archivesPresent(state)) return;
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (unzip.isEmpty()) {
        state.SkipWithError("unzip is not installed");
        return;
    }
    QTemporaryDir root;
    int round = 0;
    for (auto _ : state) {
        const QString folder = freshFolder(state, root, round);
        for (const QString& a : kArchives) {
            QProcess p;
            p.start(unzip, {"-o", "-q", archive(a), "-d", folder});
            if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
                state.SkipWithError("unzip failed");
                return;
            }
        }
    }
}

BENCHMARK(BM_UnpackCorvadex)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UnpackInfoZip)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps the real time per round of each benchmark for the closing ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // With repetitions the mean stands for them all.
        for (const Run& r : runs) {
            if (r.error_occurred || r.iterations <= 0) continue;
            const bool mean = r.run_type == Run::RT_Aggregate && r.aggregate_name == "mean";
            const QString name = QString::fromStdString(r.run_name.str());
            if (mean || (r.run_type == Run::RT_Iteration && !means.contains(name))) {
                perRound[name] = r.real_accumulated_time / double(r.iterations);
                if (mean) means << name;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    QMap<QString, double> perRound;
    QStringList means;
};
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.perRound.value(QStringLiteral("BM_UnpackCorvadex/real_time"));
    const double theirs = reporter.perRound.value(QStringLiteral("BM_UnpackInfoZip/real_time"));
    if (ours > 0 && theirs > 0)
        std::printf("\nunpacking the three archives: corvadex %.2f ms, unzip -o -q %.2f ms, ratio corvadex/unzip %.2f "
                    "(goal: 1.00 or below)\n",
                    ours * 1000, theirs * 1000, ours / theirs);
    benchmark::Shutdown();
    return 0;
}
