// Gives a benchmark program of the widget layers its main, which runs every benchmark the
// command line selects (QtBenchRun.h).
#pragma once
#include "QtBenchRun.h"

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv);
}
