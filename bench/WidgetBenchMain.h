#pragma once
// The run of a benchmark program whose benchmarks need widgets: an offscreen QApplication around
// Google Benchmark's usual initialise, run and shut down.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>

inline int runWidgetBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
