// A wheel event through the coordinator's decision, on the pass-through paths (for targets
// with executable URLs, a held blocking modifier, alternating targets, exception lists of 0,
// 16 and 256 entries, eight targets in turn) and on the smoothed path, with the heap allocations
// each one makes (counted by the shared allocation counter).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "BatchTiming.h"
#include "ExceptionLists.h"
#include "platform/quartz/CGEvent.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "scroll/ScrollCoordinator.h"
#include "scroll/ScrollEngineCV.h"
#include "settings/SettingsManager.h"
#include "support/WheelTargets.h"
#include "support/allocations/AllocationCounter.h"

namespace {

using namespace corvane;
using namespace corvane::platform;

constexpr pid_t kEditor = 501;
constexpr pid_t kMail = 502;
/// Ticks timed in one batch where the queued work must run between batches (the hand-over
/// ring holds 32).
constexpr int kBatch = 16;

/// A one-line tick aimed at `target`.
CGEventRef wheelTick(pid_t target = kEditor) {
    return sim::WheelEvent{
        .location = {100, 100}, .target = target, .lineY = 1, .pointY = 10, .fixedY = 1}
        .create();
}

/// How many exceptions the list holds unless a benchmark says otherwise.
constexpr int kUsualExceptions = 16;

/// Two applications with executable URLs, as every real one has, and an exception list of
/// `exceptions` entries that names neither.
void setUpSession(int exceptions = kUsualExceptions) {
    static bool done = false;
    if (!done) {
        done = true;
        corvane::testing::launchApplicationWithExecutable(kEditor, "Editor");
        corvane::testing::launchApplicationWithExecutable(kMail, "Mail");
        SettingsManager::shared().modifySettings(
            [](CorvaneSettings& s) { s.scrollAdvanced.block = {55}; });  // Command blocks
    }
    bench::useExceptions(exceptions);
}

/// Command held or released, as the flags-changed tap hands it over.
void holdCommand(bool held) {
    CGEventRef event = CGEventCreate(CGEventType::flagsChanged);
    event->setIntegerValue(kCGKeyboardEventKeycode, 55);
    event->setFlags(held ? kCGEventFlagMaskCommand : 0);
    ScrollCoordinator::shared().handleFlagsChanged(event);
}

void setSmooth(bool smooth) {
    SettingsManager::shared().modifySettings(
        [smooth](CorvaneSettings& s) { s.scrollBase.smooth = smooth; });
}

/// Runs `event` per iteration and reports the heap allocations per event.
template <class Event>
void measure(benchmark::State& state, Event&& event) {
    const std::uint64_t before = corvane::testing::threadAllocations();
    for (auto _ : state)
        event();
    state.counters["allocs_per_event"] =
        static_cast<double>(corvane::testing::threadAllocations() - before) /
        static_cast<double>(state.iterations());
}

/// `measureInBatches` with the heap allocations per event, leaving out those of `between`.
template <class Event, class Between>
void measureInBatchesCounting(benchmark::State& state, Event&& event, Between&& between) {
    std::uint64_t excluded = 0;
    const std::uint64_t before = corvane::testing::threadAllocations();
    corvane::bench::measureInBatches(state, kBatch, event, [&] {
        const std::uint64_t start = corvane::testing::threadAllocations();
        between();
        excluded += corvane::testing::threadAllocations() - start;
    });
    const std::uint64_t counted = corvane::testing::threadAllocations() - before - excluded;
    state.counters["allocs_per_event"] =
        static_cast<double>(counted) / static_cast<double>(state.iterations() * kBatch);
}

// Smoothing off globally: the tick passes after the whole decision.
void BM_handleScrollEvent_passThrough(benchmark::State& state) {
    setUpSession();
    setSmooth(false);
    const CGEventRef event = wheelTick();
    measure(state, [&] {
        benchmark::DoNotOptimize(ScrollCoordinator::shared().handleScrollEvent(event));
    });
}
BENCHMARK(BM_handleScrollEvent_passThrough);

// Smoothing on but a blocking modifier held: the tick passes.
void BM_handleScrollEvent_passThrough_heldModifier(benchmark::State& state) {
    setUpSession();
    setSmooth(true);
    holdCommand(true);
    const CGEventRef event = wheelTick();
    measure(state, [&] {
        benchmark::DoNotOptimize(ScrollCoordinator::shared().handleScrollEvent(event));
    });
    holdCommand(false);
}
BENCHMARK(BM_handleScrollEvent_passThrough_heldModifier);

// Smoothing off, ticks aimed at two applications in turn: every tick looks its target up.
void BM_handleScrollEvent_passThrough_alternatingTargets(benchmark::State& state) {
    setUpSession();
    setSmooth(false);
    const CGEventRef events[] = {wheelTick(kEditor), wheelTick(kMail)};
    std::size_t i = 0;
    measure(state, [&] {
        benchmark::DoNotOptimize(ScrollCoordinator::shared().handleScrollEvent(events[i ^= 1]));
    });
}
BENCHMARK(BM_handleScrollEvent_passThrough_alternatingTargets);

// Smoothing off, with 0, 16 and 256 exceptions naming neither application: ticks to one
// target (the exception found once is kept) and ticks to two targets in turn (every tick
// looks its target's exception up in the whole list).
void BM_handleScrollEvent_exceptionList(benchmark::State& state) {
    setUpSession(static_cast<int>(state.range(0)));
    setSmooth(false);
    const bool alternating = state.range(1) != 0;
    const CGEventRef events[] = {wheelTick(kEditor), wheelTick(kMail)};
    std::size_t i = 0;
    measure(state, [&] {
        if (alternating)
            i ^= 1;
        benchmark::DoNotOptimize(ScrollCoordinator::shared().handleScrollEvent(events[i]));
    });
}
BENCHMARK(BM_handleScrollEvent_exceptionList)
    ->ArgNames({"exceptions", "alternating"})
    ->ArgsProduct({{0, 16, 256}, {0, 1}});

// Smoothing off, with 0, 16 and 256 exceptions naming none of them, ticks to eight applications
// in turn: more targets than the coordinator keeps answers for, so that every tick looks its
// target's exception up in the index of the list.
void BM_handleScrollEvent_exceptionList_manyTargets(benchmark::State& state) {
    constexpr int kTargets = 8;
    constexpr pid_t kFirstOther = 601;
    setUpSession(static_cast<int>(state.range(0)));
    setSmooth(false);
    std::vector<CGEventRef> events;
    for (int i = 0; i < kTargets; ++i) {
        const pid_t pid = kFirstOther + i;
        if (!sim::session().workspace().isRunning(pid))
            corvane::testing::launchApplicationWithExecutable(pid, "App" + std::to_string(i));
        events.push_back(wheelTick(pid));
    }
    std::size_t i = 0;
    measure(state, [&] {
        i = (i + 1) % kTargets;
        benchmark::DoNotOptimize(ScrollCoordinator::shared().handleScrollEvent(events[i]));
    });
}
BENCHMARK(BM_handleScrollEvent_exceptionList_manyTargets)
    ->ArgName("exceptions")
    ->Arg(0)
    ->Arg(16)
    ->Arg(256);

// A trackpad event: classified as continuous and passed at once.
void BM_handleScrollEvent_trackpad(benchmark::State& state) {
    setUpSession();
    const CGEventRef event = wheelTick();
    event->setDoubleValue(kCGScrollWheelEventScrollPhase, 2);
    measure(state, [&] {
        benchmark::DoNotOptimize(ScrollCoordinator::shared().handleScrollEvent(event));
    });
}
BENCHMARK(BM_handleScrollEvent_trackpad);

// Smoothing on with the display link running: the tick goes to the engine. Between batches
// the state queue takes the ticks and the engine is reset, so the link keeps running and the
// hand-over ring never fills.
void BM_handleScrollEvent_smoothed(benchmark::State& state) {
    setUpSession();
    setSmooth(true);
    const CGEventRef event = wheelTick();
    auto& rt = sim::virtualRuntime();
    ScrollCoordinator::shared().handleScrollEvent(event);
    rt.advance(0.02);
    measureInBatchesCounting(
        state,
        [&] { benchmark::DoNotOptimize(ScrollCoordinator::shared().handleScrollEvent(event)); },
        [&] {
            rt.advance(0.001);
            rt.runOnQueueForTesting(ScrollEngineCV::shared().stateQueueForTesting(),
                                    [] { ScrollEngineCV::shared().reset(); });
        });
    if (!ScrollEngineCV::shared().isDisplayLinkRunning())
        state.SkipWithError("the display link stopped");
}
BENCHMARK(BM_handleScrollEvent_smoothed)->UseManualTime();

}  // namespace
