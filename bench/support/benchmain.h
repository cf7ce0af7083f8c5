#pragma once

// What every benchmark program's main() does once its Qt application exists.
#include <benchmark/benchmark.h>

namespace lir::bench {

inline int runBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace lir::bench
