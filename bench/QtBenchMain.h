// What the benchmarks of the widget layers run in: one application object on the offscreen
// platform, then every benchmark the command line selects. Including this gives the
// benchmark program its main.
#pragma once
#include <QApplication>

#include <benchmark/benchmark.h>

inline int RunQtBenchmarks(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
