// The main of every benchmark program: the benchmarks run on the simulated session, installed
// before any benchmark touches the platform. A program that measures one event copy
// (`BM_eventCopy`, the floor of any event interceptor) ends its report with every benchmark's
// time as a ratio to that copy, measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "BatchTiming.h"
#include "platform/quartz/CGEvent.h"
#include "platform/sim/Session.h"

namespace {

/// The name of the benchmark that every other is compared with.
constexpr const char* kCopyBenchmark = "BM_eventCopy";

// One copy of a wheel event, as an interceptor makes of every event it takes: the unit of
// the ratios.
void BM_eventCopy(benchmark::State& state) {
    using namespace corvane::platform;
    const CGEventRef event = CGEventCreate(CGEventType::scrollWheel);
    event->setIntegerValue(kCGScrollWheelEventDeltaAxis1, 1);
    event->setDoubleValue(kCGScrollWheelEventPointDeltaAxis1, 10);
    for (auto _ : state)
        benchmark::DoNotOptimize(CGEventCreateCopy(event));
}
BENCHMARK(BM_eventCopy);

/// The console report, then the ratios to the event copy.
class RatioReporter final : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // With repetitions the median stands for the benchmark (it comes after the single
        // runs, so it replaces them); without, its one run.
        for (const Run& run : runs) {
            const bool aggregate = run.run_type == Run::RT_Aggregate;
            if (run.error_occurred || (aggregate && run.aggregate_name != "median"))
                continue;
            const std::string name = run.run_name.str();
            if (seconds_.count(name) == 0)
                order_.push_back(name);
            // A batched benchmark's iteration holds several steps.
            const auto steps = run.counters.find(corvane::bench::kStepsCounter);
            const double perIteration = steps == run.counters.end() ? 1 : steps->second.value;
            seconds_[name] = run.GetAdjustedRealTime() /
                             benchmark::GetTimeUnitMultiplier(run.time_unit) / perIteration;
            medians_ = medians_ || aggregate;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto copy = seconds_.find(kCopyBenchmark);
        if (copy == seconds_.end() || copy->second <= 0)
            return;
        std::printf("\nTime as a ratio to one event copy (%s: %.1f ns%s):\n", kCopyBenchmark,
                    copy->second * 1e9, medians_ ? ", medians" : "");
        for (const std::string& name : order_) {
            const double seconds = seconds_[name];
            std::printf("  %-64s %10.1f ns %7.2f x\n", name.c_str(), seconds * 1e9,
                        seconds / copy->second);
        }
        std::fflush(stdout);
    }

  private:
    std::vector<std::string> order_;         ///< benchmarks in the order they ran
    std::map<std::string, double> seconds_;  ///< CPU seconds per iteration, by benchmark
    bool medians_ = false;                   ///< the figures are medians of repetitions
};

}  // namespace

int main(int argc, char** argv) {
    corvane::platform::sim::installSimulatedSession();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
