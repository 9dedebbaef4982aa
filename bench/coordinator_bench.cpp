// A wheel event through the coordinator's decision, on the pass-through paths and on the
// smoothed path, with the heap allocations each one makes (global operator new is counted in
// this program).
#include <benchmark/benchmark.h>

// The replacement operator new/delete pair below is matched; GCC cannot see that.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/quartz/CGEvent.h"
#include "platform/sim/Session.h"
#include "scroll/ScrollCoordinator.h"
#include "scroll/ScrollEngineCV.h"
#include "settings/SettingsManager.h"

namespace {
std::atomic<std::uint64_t> allocations{0};
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace corvane;
using namespace corvane::platform;

constexpr pid_t kEditor = 501;

CGEventRef wheelTick() {
    CGEventRef event = CGEventCreate(CGEventType::scrollWheel);
    event->setLocation({100, 100});
    event->setIntegerValue(kCGEventTargetUnixProcessID, kEditor);
    event->setIntegerValue(kCGScrollWheelEventDeltaAxis1, 1);
    event->setDoubleValue(kCGScrollWheelEventPointDeltaAxis1, 10);
    event->setDoubleValue(kCGScrollWheelEventFixedPtDeltaAxis1, 1);
    return event;
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

/// Runs `body` per iteration and reports the heap allocations per iteration.
template <class Body>
void measure(benchmark::State& state, Body&& body) {
    std::uint64_t counted = 0;
    for (auto _ : state) {
        const std::uint64_t before = allocations.load(std::memory_order_relaxed);
        body(state);
        counted += allocations.load(std::memory_order_relaxed) - before;
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
            s.PauseTiming();
            const auto before = allocations.load();
            rt.advance(0.001);
            rt.runOnQueueForTesting(ScrollEngineCV::shared().stateQueueForTesting(),
                                    [] { ScrollEngineCV::shared().reset(); });
            sim::session().windowServer().clearPostedEvents();
            sim::session().windowServer().clearReceivedEvents();
            allocations.store(before);  // not the event's
            s.ResumeTiming();
        }
    });
}
BENCHMARK(BM_handleScrollEvent_smoothed);

}  // namespace
