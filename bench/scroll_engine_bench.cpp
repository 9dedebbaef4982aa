// The engine's hot paths on the simulated session: one frame step with a number of running
// fibers, and one tick through `handleInput` while the display link runs.
#include <benchmark/benchmark.h>

#include <functional>

#include "platform/quartz/CGEvent.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "scroll/ScrollEngineCV.h"

namespace {

using namespace corvane;
using namespace corvane::platform;

CGEventRef wheelTick() {
    return sim::WheelEvent{.location = {100, 100}, .lineY = 1, .pointY = 10}.create();
}

/// Posted events are recorded by the session; counted into `posts` and dropped now and then,
/// outside the timing.
std::size_t takePostedEvents() {
    const std::size_t count = sim::session().windowServer().postedEvents().size();
    sim::session().windowServer().clearPostedEvents();
    return count;
}
void dropPostedEvents(benchmark::State& state, std::int64_t iteration, std::size_t& posts) {
    if (iteration % 4096 == 0) {
        state.PauseTiming();
        posts += takePostedEvents();
        state.ResumeTiming();
    }
}

/// Runs `work` at once as work of the engine's state queue, where its animation runs.
void onStateQueue(const std::function<void()>& work) {
    sim::virtualRuntime().runOnQueueForTesting(ScrollEngineCV::shared().stateQueueForTesting(),
                                               work);
}

// One frame at 120 Hz with range(0) fibers in mid-animation, each frame moving by whole
// points, so that every frame copies the template and posts.
void BM_frameStep(benchmark::State& state) {
    ScrollEngineCV& engine = ScrollEngineCV::shared();
    std::size_t posts = 0;
    onStateQueue([&] {
        engine.reset();
        constexpr double kDuration = 1e6;  // the fibers outlast the run
        constexpr double kStart = 1000;
        for (std::int64_t i = 0; i < state.range(0); ++i) {
            // Half-way through its animation, a fiber of 1e9 points moves ~10 points a frame.
            engine.enqueue(kDuration, kStart - kDuration / 2, 0.5, 0.05, 0.03, wheelTick(), 0, 1e9,
                           0);
        }
        double t = kStart;
        std::int64_t iteration = 0;
        for (auto _ : state) {
            engine.frameStep(t += 1.0 / 120);
            dropPostedEvents(state, ++iteration, posts);
        }
    });
    posts += takePostedEvents();
    state.SetItemsProcessed(state.iterations());
    // Events posted per frame: 1 shows that every frame copied the template and posted.
    state.counters["posts_per_frame"] =
        static_cast<double>(posts) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_frameStep)->Arg(1)->Arg(4)->Arg(16);

// One tick through handleInput while the display link runs: the event copy, the display
// lookup, the link checks and the hand-over to the state queue. The queue's work runs every
// 30 ticks outside the timing, so that the hand-over ring never fills.
void BM_handleInput(benchmark::State& state) {
    ScrollEngineCV& engine = ScrollEngineCV::shared();
    sim::VirtualRuntime& rt = sim::virtualRuntime();
    const CGEventRef event = wheelTick();
    engine.handleInput(event, 0.35, 7, 0.05, 0.03, 90, 0);  // builds and starts the link
    rt.runPending();
    std::int64_t iteration = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.handleInput(event, 0.35, 7, 0.05, 0.03, 90, 0));
        if (++iteration % 30 == 0) {
            state.PauseTiming();
            rt.runPending();
            onStateQueue([&] { engine.reset(); });
            state.ResumeTiming();
        }
    }
    if (!engine.isDisplayLinkRunning()) {
        state.SkipWithError("the display link stopped");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_handleInput);

}  // namespace
