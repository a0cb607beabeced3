// What the benchmarks of the widget layers run in: one application object on the offscreen
// platform, then every benchmark the command line selects. Including this gives the
// benchmark program its main.
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

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
