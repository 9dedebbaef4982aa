#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/Runtime.h"
#include "platform/sim/Session.h"

namespace corvane::platform::sim {
namespace {

using ::testing::ElementsAre;

class VirtualRuntimeTest : public ::testing::Test {
  protected:
    VirtualRuntime rt;
    std::vector<std::string> ran;
    auto note(std::string what) {
        return [this, what = std::move(what)] {
            ran.push_back(what + "@" + std::to_string(rt.mediaTime()));
        };
    }
};

// The clocks start at a realistic uptime and at 2026-01-01T00:00:00Z, and advance together.
TEST_F(VirtualRuntimeTest, ClocksStartRealisticAndAdvanceTogether) {
    EXPECT_EQ(rt.mediaTime(), 1000.0);
    EXPECT_EQ(rt.wallTime(), 1767225600.0);
    rt.advance(2.5);
    EXPECT_EQ(rt.mediaTime(), 1002.5);
    EXPECT_EQ(rt.wallTime(), 1767225602.5);
}

// Work runs by due time, then by the order it was queued, across all lanes; each item sees
// the clock at its own due time.
TEST_F(VirtualRuntimeTest, RunsByDueTimeThenQueueOrder) {
    auto q = rt.makeSerialQueue("q", QualityOfService::utility);
    rt.mainQueue().asyncAfter(0.2, note("main-late"));
    q->async(note("q-now"));
    rt.mainQueue().async(note("main-now"));
    q->asyncAfter(0.1, note("q-later"));
    EXPECT_TRUE(ran.empty());  // nothing runs until the clock moves
    rt.advance(1.0);
    EXPECT_THAT(ran, ElementsAre("q-now@1000.000000", "main-now@1000.000000", "q-later@1000.100000",
                                 "main-late@1000.200000"));
    EXPECT_EQ(rt.mediaTime(), 1001.0);
}

// Work queued later at a reserved place runs, among work due at the same time, before work
// queued after the reservation, as if it had been queued at the reservation.
TEST_F(VirtualRuntimeTest, ReservedPlacesKeepTheirOrder) {
    const auto first = rt.reserveOrder(2);
    rt.mainQueue().asyncAfter(1.0, note("queued-after"));
    rt.postInReservedOrder(VirtualRuntime::kMainLane, 1001.0, first, [&] {
        ran.push_back("first");
        rt.postInReservedOrder(VirtualRuntime::kMainLane, 1001.0, first + 1, note("second"));
    });
    rt.advance(1.0);
    EXPECT_THAT(ran, ElementsAre("first", "second@1001.000000", "queued-after@1001.000000"));
}

// Work queued for now takes its place among all work due at its time: after work queued
// before it (with a handle, or at an earlier reserved place), before work queued after it,
// also when running work queues it; work that fell due before a jump runs first.
TEST_F(VirtualRuntimeTest, WorkQueuedForNowKeepsItsPlaceAmongAllWork) {
    const auto reserved = rt.reserveOrder(1);
    rt.post(VirtualRuntime::kMainLane, 1000.0, note("posted"));
    rt.mainQueue().async(note("async"));
    rt.postInReservedOrder(VirtualRuntime::kMainLane, 1000.0, reserved, note("reserved"));
    rt.mainQueue().asyncAfter(0.5, [&] {
        ran.push_back("timer");
        rt.mainQueue().async(note("queued-by-timer"));
    });
    rt.post(VirtualRuntime::kMainLane, 1000.5, note("posted-later"));
    rt.advance(1.0);
    rt.mainQueue().asyncAfter(1.0, note("due-before-jump"));
    rt.jump(2.0);
    rt.mainQueue().async(note("after-jump"));
    rt.runPending();
    EXPECT_THAT(ran, ElementsAre("reserved@1000.000000", "posted@1000.000000", "async@1000.000000",
                                 "timer", "posted-later@1000.500000", "queued-by-timer@1000.500000",
                                 "due-before-jump@1003.000000", "after-jump@1003.000000"));
}

// Jumping moves the clock without running anything; the work runs on the next fast-forward.
TEST_F(VirtualRuntimeTest, JumpRunsNothing) {
    rt.mainQueue().asyncAfter(1.0, note("a"));
    rt.jump(5.0);
    EXPECT_TRUE(ran.empty());
    rt.runPending();
    EXPECT_THAT(ran, ElementsAre("a@1005.000000"));
}

// Work knows the lane it runs on; the test body counts as the main thread.
TEST_F(VirtualRuntimeTest, WorkRunsOnItsLane) {
    auto q = rt.makeSerialQueue("ScrollEngine.stateQ", QualityOfService::unspecified);
    bool onQueue = false, onMain = true;
    q->async([&] {
        onQueue = q->isCurrent();
        onMain = rt.isMainThread();
    });
    EXPECT_TRUE(rt.isMainThread());
    rt.runPending();
    EXPECT_TRUE(onQueue);
    EXPECT_FALSE(onMain);
    EXPECT_EQ(q->label(), "ScrollEngine.stateQ");
}

// A repeating main timer fires every interval from when it was scheduled, without drift,
// until invalidated (also from inside its own block).
TEST_F(VirtualRuntimeTest, RepeatingTimerFiresUntilInvalidated) {
    std::vector<double> fired;
    auto timer = rt.scheduleTimer(2.0, true, [&](Timer& t) {
        fired.push_back(rt.mediaTime());
        if (fired.size() == 3)
            t.invalidate();
    });
    rt.advance(10);
    EXPECT_THAT(fired, ElementsAre(1002.0, 1004.0, 1006.0));
    EXPECT_FALSE(timer->isValid());
}

// A one-shot timer fires once and is then invalid.
TEST_F(VirtualRuntimeTest, OneShotTimerFiresOnce) {
    int fired = 0;
    auto timer = rt.scheduleTimer(0.5, false, [&](Timer&) { ++fired; });
    rt.advance(3);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer->isValid());
}

// A timer source fires at its deadline, then every interval, on its queue; cancel is final
// and a dropped source fires no more.
TEST_F(VirtualRuntimeTest, TimerSourceFiresOnItsQueueUntilCancelled) {
    auto q = rt.makeSerialQueue("EventTapInterceptor.watchdog", QualityOfService::utility);
    auto source = rt.makeTimerSource(q);
    std::vector<double> fired;
    source->setEventHandler([&] {
        EXPECT_TRUE(q->isCurrent());
        fired.push_back(rt.mediaTime());
    });
    source->schedule(rt.mediaTime() + 5.0, 5.0, 0);
    rt.advance(6);
    EXPECT_TRUE(fired.empty());  // suspended until resumed
    source->resume();
    rt.advance(15);  // now 1021
    // The missed deadline fires at once on resume; the source keeps its phase afterwards.
    EXPECT_THAT(fired, ElementsAre(1006.0, 1010.0, 1015.0, 1020.0));
    source->cancel();
    rt.advance(20);
    EXPECT_EQ(fired.size(), 4u);
    EXPECT_TRUE(source->isCancelled());

    auto dropped = rt.makeTimerSource(q);
    int droppedFired = 0;
    dropped->setEventHandler([&] { ++droppedFired; });
    dropped->schedule(rt.mediaTime() + 1, 1, 0);
    dropped->resume();
    dropped.reset();
    rt.advance(5);
    EXPECT_EQ(droppedFired, 0);
}

// Rescheduling a resumed source replaces its earlier schedule.
TEST_F(VirtualRuntimeTest, RescheduleReplacesTheSchedule) {
    auto q = rt.makeSerialQueue("q", QualityOfService::utility);
    auto source = rt.makeTimerSource(q);
    std::vector<double> fired;
    source->setEventHandler([&] { fired.push_back(rt.mediaTime()); });
    source->schedule(rt.mediaTime() + 1, 0, 0);
    source->resume();
    source->schedule(rt.mediaTime() + 3, 0, 0);
    rt.advance(10);
    EXPECT_THAT(fired, ElementsAre(1003.0));
}

// Work that keeps queueing itself for now is stopped with an error, not a hang.
TEST_F(VirtualRuntimeTest, RunawayWorkFailsLoudly) {
    rt.setRunawayLimitForTesting(10'000);
    std::function<void()> again = [&] { rt.mainQueue().async(again); };
    rt.mainQueue().async(again);
    EXPECT_THROW(rt.runPending(), std::runtime_error);
}

// The process's runtime is the virtual one unless another was installed.
TEST(InstalledRuntime, IsVirtualByDefault) {
    EXPECT_NO_THROW(virtualRuntime());
    EXPECT_EQ(CACurrentMediaTime(), 1000.0);
}

}  // namespace
}  // namespace corvane::platform::sim
