// What the benchmarks of the widget layers run in: one application object on the offscreen
// platform, then every benchmark the command line selects. A program with options of its
// own takes them out of the command line first and then calls this from its main.
#pragma once
#include <QApplication>

#include <benchmark/benchmark.h>

inline int RunQtBenchmarks(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Left to the end of the process: benchmarks keep their windows in static fixtures,
    // which are destroyed after main returns and need the application then.
    new QApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
