// The engine's hot paths on the simulated session: one frame step with a number of running
// fibers, a frame in which many fibers end together, and one tick through `handleInput` while
// the display link runs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>

#include "BatchTiming.h"
#include "platform/quartz/CGEvent.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "scroll/ScrollEngineCV.h"

namespace {

using namespace corvane;
using namespace corvane::platform;
using corvane::bench::measureInBatches;

CGEventRef wheelTick() {
    return sim::WheelEvent{.location = {100, 100}, .lineY = 1, .pointY = 10}.create();
}

/// Runs `work` at once as work of the engine's state queue, where its animation runs.
void onStateQueue(const std::function<void()>& work) {
    sim::virtualRuntime().runOnQueueForTesting(ScrollEngineCV::shared().stateQueueForTesting(),
                                               work);
}

// One frame at 120 Hz with range(0) fibers in mid-animation, each frame moving by whole
// points, so that every frame copies the template and posts it to the session; the window
// server's delivery of the posted event on the main lane runs with the frame, as it would.
// The fibers are made anew after every 1024 frames (8.5 s), outside the time, since an
// animation ends after a minute.
void BM_frameStep(benchmark::State& state) {
    constexpr int kFrames = 1024;
    ScrollEngineCV& engine = ScrollEngineCV::shared();
    sim::VirtualRuntime& rt = sim::virtualRuntime();
    // The application in front receives the posted events.
    constexpr pid_t kFront = 501;
    if (!sim::session().workspace().isRunning(kFront)) {
        sim::session().workspace().launch({.processIdentifier = kFront});
        sim::session().workspace().setFrontmost(kFront);
    }
    auto& windowServer = sim::session().windowServer();
    windowServer.clearReceivedEvents();
    double t = rt.mediaTime();
    // The frames run on the state queue; the deliveries they queue run on the main lane.
    onStateQueue([&] {
        auto startFibers = [&] {
            engine.reset();
            for (std::int64_t i = 0; i < state.range(0); ++i) {
                // 1e7 points over 1000 s: ~10 points a frame near the start.
                engine.enqueue(1000, t, 0.5, 0.05, 0.03, wheelTick(), 0, 1e7, 0);
            }
        };
        startFibers();
        measureInBatches(
            state, kFrames,
            [&] {
                engine.frameStep(t += 1.0 / 120);
                rt.runPending();
            },
            startFibers);
    });
    // Events delivered per frame: 1 shows that every frame copied the template and posted.
    std::uint64_t delivered = 0;
    for (const auto& [pid, totals] : windowServer.receivedTotals())
        delivered += totals.events;
    state.counters["posts_per_frame"] =
        static_cast<double>(delivered) / static_cast<double>(state.iterations() * kFrames);
}
BENCHMARK(BM_frameStep)->Arg(1)->Arg(4)->Arg(16)->UseManualTime();

// The frame in which range(0) fibers, started by ticks at one instant, all end together (it
// comes after their duration): one
// frame step with their removal and the post. The fibers are made anew before every frame,
// outside the time, and the reset that the ending frame queues runs there too.
void BM_frameStep_fibersEndTogether(benchmark::State& state) {
    constexpr double kDuration = 0.35;
    ScrollEngineCV& engine = ScrollEngineCV::shared();
    sim::VirtualRuntime& rt = sim::virtualRuntime();
    const CGEventRef event = wheelTick();
    double t = rt.mediaTime();
    onStateQueue([&] {
        auto startFibers = [&] {
            rt.runPending();
            engine.reset();
            t += 1;
            // The first tick gives the template; the rest start at the same instant.
            for (std::int64_t i = 0; i < state.range(0); ++i)
                engine.enqueue(kDuration, t, 0.5, 0.05, 0.03, i == 0 ? event : nullptr, 0, 10, 0);
        };
        startFibers();
        measureInBatches(
            state, 1, [&] { engine.frameStep(t + 2 * kDuration); }, startFibers);
        engine.frameStep(t + 2 * kDuration);
        if (!engine.stateForTesting().queue.empty())
            state.SkipWithError("fibers outlived their duration");
        rt.runPending();
        engine.reset();
    });
}
BENCHMARK(BM_frameStep_fibersEndTogether)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(100'000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// One tick through handleInput while the display link runs: the event copy, the display
// lookup, the link checks and the hand-over to the state queue. Ticks are timed in batches
// of 16; between batches, outside the time, the state queue takes them and the engine is
// reset, so that the hand-over ring never fills.
void BM_handleInput(benchmark::State& state) {
    ScrollEngineCV& engine = ScrollEngineCV::shared();
    sim::VirtualRuntime& rt = sim::virtualRuntime();
    const CGEventRef event = wheelTick();
    engine.handleInput(event, 0.35, 7, 0.05, 0.03, 90, 0);  // builds and starts the link
    rt.runPending();
    measureInBatches(
        state, 16,
        [&] { benchmark::DoNotOptimize(engine.handleInput(event, 0.35, 7, 0.05, 0.03, 90, 0)); },
        [&] {
            rt.runPending();
            onStateQueue([&] { engine.reset(); });
        });
    if (!engine.isDisplayLinkRunning()) {
        state.SkipWithError("the display link stopped");
    }
}
BENCHMARK(BM_handleInput)->UseManualTime();

}  // namespace
