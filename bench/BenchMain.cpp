// The main of every benchmark program: the benchmarks run on the simulated session, installed
// before any benchmark touches the platform.
#include <benchmark/benchmark.h>

#include "platform/sim/Session.h"

int main(int argc, char** argv) {
    corvane::platform::sim::installSimulatedSession();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
