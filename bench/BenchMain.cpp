// The benchmarks run under the memory policy of the programs they measure.
#include "base/MemoryPolicy.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    pictor::KeepFreedMemoryForReuse();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
