// The thread-backed runtime, on real threads and the real clock.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/corevideo/CVDisplayLink.h"
#include "platform/live/LiveDisplayLink.h"
#include "platform/live/ThreadRuntime.h"
#include "support/LiveThreads.h"

namespace corvane::platform {
namespace {

/// How long a test waits for work that should take milliseconds, seconds.
constexpr double kPatience = 10.0;

class ThreadRuntimeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto threads = testing::installLiveThreads();
        live = threads.runtime;
        displays = threads.displays;
    }

    double deadline() const { return live->mediaTime() + kPatience; }

    std::shared_ptr<live::ThreadRuntime> live;
    std::shared_ptr<live::LiveDisplays> displays;
};

// A serial queue runs its work in the order queued, one item at a time, on its own thread.
TEST_F(ThreadRuntimeTest, SerialQueueRunsInOrderOnItsThread) {
    auto queue = live->makeSerialQueue("test.serial", QualityOfService::utility);
    EXPECT_EQ(queue->label(), "test.serial");
    EXPECT_FALSE(queue->isCurrent());
    std::vector<int> seen;  // touched only by the queue's work
    bool allOnQueue = true;
    std::promise<std::vector<int>> done;
    for (int i = 0; i < 1000; ++i) {
        queue->async([&, i] {
            allOnQueue = allOnQueue && queue->isCurrent() && !live->isMainThread();
            seen.push_back(i);
            if (i == 999) {
                done.set_value(seen);
            }
        });
    }
    std::vector<int> order = done.get_future().get();
    ASSERT_EQ(order.size(), 1000u);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
    }
    EXPECT_TRUE(allOnQueue);
}

// Delayed work runs no earlier than its delay, and after work queued for now.
TEST_F(ThreadRuntimeTest, DelayedWorkWaitsForItsTime) {
    auto queue = live->makeSerialQueue("test.delay", QualityOfService::unspecified);
    std::promise<double> ranAt;
    std::vector<int> order;
    const double queuedAt = live->mediaTime();
    queue->asyncAfter(0.05, [&] {
        order.push_back(2);
        ranAt.set_value(live->mediaTime());
    });
    queue->async([&] { order.push_back(1); });
    EXPECT_GE(ranAt.get_future().get() - queuedAt, 0.05);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

// Main-queue work waits for the main thread's pump and runs on the main thread.
TEST_F(ThreadRuntimeTest, MainWorkRunsWhenTheMainThreadPumps) {
    auto queue = live->makeSerialQueue("test.poster", QualityOfService::unspecified);
    std::atomic<bool> posted{false};
    std::atomic<bool> ran{false};
    bool onMain = false;
    queue->async([&] {
        live->mainQueue().async([&] {
            onMain = live->isMainThread() && live->mainQueue().isCurrent();
            ran = true;
        });
        posted = true;
    });
    while (!posted) {
        std::this_thread::yield();
    }
    EXPECT_FALSE(ran);
    EXPECT_TRUE(live->runUntil([&] { return ran.load(); }, deadline()));
    EXPECT_TRUE(onMain);
}

// `stop` from another thread ends `run`; a pump off the main thread is refused.
TEST_F(ThreadRuntimeTest, StopEndsTheMainPump) {
    auto queue = live->makeSerialQueue("test.stopper", QualityOfService::unspecified);
    queue->asyncAfter(0.02, [&] { live->stop(); });
    live->run();  // returns once stopped

    std::promise<bool> refused;
    queue->async([&] {
        try {
            live->runUntil(live->mediaTime());
            refused.set_value(false);
        } catch (const std::logic_error&) {
            refused.set_value(true);
        }
    });
    EXPECT_TRUE(refused.get_future().get());
}

// A repeating main-run-loop timer fires on the main thread until invalidated; a one-shot
// timer fires once and is then invalid.
TEST_F(ThreadRuntimeTest, MainLoopTimers) {
    int repeated = 0;
    bool onMain = true;
    auto repeating = live->scheduleTimer(0.005, true, [&](Timer&) {
        onMain = onMain && live->isMainThread();
        ++repeated;
    });
    int once = 0;
    auto oneShot = live->scheduleTimer(0.001, false, [&](Timer&) { ++once; });
    ASSERT_TRUE(live->runUntil([&] { return repeated >= 3; }, deadline()));
    repeating->invalidate();
    const int atInvalidate = repeated;
    live->runUntil(live->mediaTime() + 0.03);
    EXPECT_EQ(repeated, atInvalidate);
    EXPECT_FALSE(repeating->isValid());
    EXPECT_EQ(once, 1);
    EXPECT_FALSE(oneShot->isValid());
    EXPECT_TRUE(onMain);
}

// A timer source fires on its queue every interval once resumed, and never after cancel.
TEST_F(ThreadRuntimeTest, TimerSourceFiresOnItsQueueUntilCancelled) {
    auto queue = live->makeSerialQueue("test.timer", QualityOfService::utility);
    auto source = live->makeTimerSource(queue);
    std::atomic<int> fired{0};
    std::atomic<bool> offQueue{false};
    source->setEventHandler([&] {
        if (!queue->isCurrent()) {
            offQueue = true;
        }
        ++fired;
    });
    source->schedule(live->mediaTime() + 0.002, 0.002, 0);
    live->runUntil(live->mediaTime() + 0.01);
    EXPECT_EQ(fired.load(), 0);  // created suspended
    source->resume();
    ASSERT_TRUE(live->runUntil([&] { return fired.load() >= 3; }, deadline()));
    source->cancel();
    EXPECT_TRUE(source->isCancelled());
    // Whatever was firing when cancelled has finished once the queue runs this.
    std::promise<void> drained;
    queue->async([&] { drained.set_value(); });
    drained.get_future().get();
    const int atCancel = fired;
    live->runUntil(live->mediaTime() + 0.02);
    EXPECT_EQ(fired.load(), atCancel);
    EXPECT_FALSE(offQueue);
}

/// Frames as a live link's callback saw them; written on the link's thread.
struct LiveFrames {
    std::mutex mutex;
    std::vector<CVTimeStamp> now;
    std::vector<CVTimeStamp> output;
    bool onMain = false;
    live::ThreadRuntime* runtime = nullptr;
};

CVReturn recordLiveFrame(CVDisplayLink*, const CVTimeStamp* inNow, const CVTimeStamp* inOutput,
                         CVOptionFlags, CVOptionFlags*, void* context) {
    auto* frames = static_cast<LiveFrames*>(context);
    std::lock_guard lock(frames->mutex);
    frames->now.push_back(*inNow);
    frames->output.push_back(*inOutput);
    frames->onMain = frames->onMain || frames->runtime->isMainThread();
    return kCVReturnSuccess;
}

// Under the live runtime a display link is a real thread calling back at the display's
// refresh rate, on the grid, with the output time one period later; after stop returns no
// callback runs.
TEST_F(ThreadRuntimeTest, LiveDisplayLinkTicksAtTheRefreshRate) {
    displays->setDisplays({{3, CGRect{{0, 0}, 800, 600}, 200}});
    CVDisplayLinkRef link;
    ASSERT_EQ(CVDisplayLinkCreateWithCGDisplay(3, &link), kCVReturnSuccess);
    ASSERT_NE(dynamic_cast<live::LiveDisplayLink*>(link.get()), nullptr);
    LiveFrames frames;
    frames.runtime = live.get();
    CVDisplayLinkSetOutputCallback(link, recordLiveFrame, &frames);
    ASSERT_EQ(CVDisplayLinkStart(link), kCVReturnSuccess);
    EXPECT_TRUE(CVDisplayLinkIsRunning(link));
    auto enough = [&] {
        std::lock_guard lock(frames.mutex);
        return frames.now.size() >= 5;
    };
    ASSERT_TRUE(live->runUntil(enough, deadline()));
    CVDisplayLinkStop(link);
    EXPECT_FALSE(CVDisplayLinkIsRunning(link));
    std::size_t atStop = 0;
    {
        std::lock_guard lock(frames.mutex);
        atStop = frames.now.size();
    }
    live->runUntil(live->mediaTime() + 0.03);

    std::lock_guard lock(frames.mutex);
    EXPECT_EQ(frames.now.size(), atStop);
    const double periodTicks = 1e9 / 200;
    for (std::size_t i = 0; i < atStop; ++i) {
        const double now = static_cast<double>(frames.now[i].hostTime);
        EXPECT_NEAR(static_cast<double>(frames.output[i].hostTime) - now, periodTicks, 2);
        EXPECT_NEAR(std::remainder(now, periodTicks), 0, 1e4);  // on the grid, within 10 us
        if (i > 0) {
            EXPECT_GT(frames.now[i].hostTime, frames.now[i - 1].hostTime);
        }
    }
    EXPECT_FALSE(frames.onMain);
    EXPECT_EQ(CVDisplayLinkCreateWithCGDisplay(4, &link), kCVReturnInvalidDisplay);
    EXPECT_EQ(link, nullptr);
}

}  // namespace
}  // namespace corvane::platform
