// A wheel event through the coordinator's decision, on the pass-through paths and on the
// smoothed path, with the heap allocations each one makes (global operator new is counted in
// this program).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "platform/quartz/CGEvent.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "scroll/ScrollCoordinator.h"
#include "scroll/ScrollEngineCV.h"
#include "settings/SettingsManager.h"
#include "support/allocations/AllocationCounter.h"

namespace {

using namespace corvane;
using namespace corvane::platform;

constexpr pid_t kEditor = 501;

CGEventRef wheelTick() {
    return sim::WheelEvent{
        .location = {100, 100}, .target = kEditor, .lineY = 1, .pointY = 10, .fixedY = 1}
        .create();
}

void setUpSession() {
    static bool done = false;
    if (done)
        return;
    done = true;
    sim::session().workspace().launch(
        {.processIdentifier = kEditor, .bundleIdentifier = std::string("com.example.editor")});
    SettingsManager::shared().modifySettings([](CorvaneSettings& s) {
        for (int i = 0; i < 4; ++i) {
            s.appSettings.exceptionalApplication.push_back(
                std::make_shared<ExceptionalApplication>("com.example.other" + std::to_string(i)));
        }
    });
}

/// Allocations made by work outside the timing, which the per-event count leaves out.
std::uint64_t untimedAllocations = 0;

/// Runs `work` outside the timing and outside the allocation count.
template <class Work>
void untimed(benchmark::State& state, Work&& work) {
    state.PauseTiming();
    const std::uint64_t before = corvane::testing::threadAllocations();
    work();
    untimedAllocations += corvane::testing::threadAllocations() - before;
    state.ResumeTiming();
}

/// Runs `body` per iteration and reports the heap allocations per iteration.
template <class Body>
void measure(benchmark::State& state, Body&& body) {
    std::uint64_t counted = 0;
    for (auto _ : state) {
        const std::uint64_t before =
            corvane::testing::threadAllocations() - untimedAllocations;
        body(state);
        counted += corvane::testing::threadAllocations() - untimedAllocations - before;
    }
    state.counters["allocs_per_event"] =
        static_cast<double>(counted) / static_cast<double>(state.iterations());
}

// Smoothing off globally: the event passes (the decision still runs in full).
void BM_handleScrollEvent_passThrough(benchmark::State& state) {
    setUpSession();
    SettingsManager::shared().modifySettings(
        [](CorvaneSettings& s) { s.scrollBase.smooth = false; });
    CGEventRef event = wheelTick();
    measure(state, [&](benchmark::State&) {
        benchmark::DoNotOptimize(ScrollCoordinator::shared().handleScrollEvent(event));
    });
}
BENCHMARK(BM_handleScrollEvent_passThrough);

// A trackpad event: classified as continuous and passed at once.
void BM_handleScrollEvent_trackpad(benchmark::State& state) {
    setUpSession();
    CGEventRef event = wheelTick();
    event->setDoubleValue(kCGScrollWheelEventScrollPhase, 2);
    measure(state, [&](benchmark::State&) {
        benchmark::DoNotOptimize(ScrollCoordinator::shared().handleScrollEvent(event));
    });
}
BENCHMARK(BM_handleScrollEvent_trackpad);

// Smoothing on with the display link running: the tick goes to the engine. The queued work
// is run now and then outside the timing, so the link stays running and the queue short.
void BM_handleScrollEvent_smoothed(benchmark::State& state) {
    setUpSession();
    SettingsManager::shared().modifySettings(
        [](CorvaneSettings& s) { s.scrollBase.smooth = true; });
    CGEventRef event = wheelTick();
    auto& rt = sim::virtualRuntime();
    ScrollCoordinator::shared().handleScrollEvent(event);
    rt.advance(0.02);
    std::int64_t i = 0;
    measure(state, [&](benchmark::State& s) {
        benchmark::DoNotOptimize(ScrollCoordinator::shared().handleScrollEvent(event));
        if (++i % 16 == 0) {
            untimed(s, [&] {
                rt.advance(0.001);
                rt.runOnQueueForTesting(ScrollEngineCV::shared().stateQueueForTesting(),
                                        [] { ScrollEngineCV::shared().reset(); });
                sim::session().windowServer().clearPostedEvents();
                sim::session().windowServer().clearReceivedEvents();
            });
        }
    });
}
BENCHMARK(BM_handleScrollEvent_smoothed);

}  // namespace
