// Whole ticks through `handleInput` on the simulated session: display link, frames, posts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/sim/Session.h"
#include "scroll/EngineTestSupport.h"
#include "scroll/OwnEventStamp.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using testing::PrintTo;

using namespace platform;
using testing::engine;
using testing::rt;
using testing::tick;

class EngineTickTest : public ::testing::TestWithParam<double> {
  protected:
    void SetUp() override {
        sim::session().displays().setDisplays({{1, CGRect{{0, 0}, 1920, 1080}, GetParam()}});
    }
};

// One tick of step 90 at the defaults posts whole-point, stamped events to the target
// process that add up to exactly 90, on the display's frames, and then stops the link.
TEST_P(EngineTickTest, OneTickPostsItsWholeStepAndStops) {
    const double started = rt().mediaTime();
    ASSERT_TRUE(tick(90, 0, testing::wheelTick({100, 100}, 4242)));
    EXPECT_TRUE(engine().isDisplayLinkRunning());
    rt().advance(1.0);

    EXPECT_FALSE(engine().isDisplayLinkRunning());
    const auto events = testing::posted();
    ASSERT_GT(events.size(), 5u);
    double total = 0;
    for (const auto& p : events) {
        const double points = p.event.doubleValue(kCGScrollWheelEventPointDeltaAxis1);
        EXPECT_EQ(points, std::round(points));
        EXPECT_GT(points, 0);
        total += points;
        EXPECT_EQ(p.pid, 4242);
        EXPECT_EQ(p.event.integerValue(kCGEventSourceUserData), 0x436F7276);
        EXPECT_EQ(p.event.doubleValue(kCGScrollWheelEventFixedPtDeltaAxis1), 0);
        EXPECT_EQ(p.event.doubleValue(kCGScrollWheelEventFixedPtDeltaAxis2), 0);
        EXPECT_EQ(p.event.doubleValue(kCGScrollWheelEventIsContinuous), 1);
        EXPECT_EQ(p.event.integerValue(kCGScrollWheelEventDeltaAxis1), 1);
        EXPECT_EQ(p.event.integerValue(kCGScrollWheelEventDeltaAxis2), 0);
        // Posted from the frame steps, which follow the display's frames.
        EXPECT_NEAR(std::remainder(p.mediaTime, 1.0 / GetParam()), 0, 1e-9);
    }
    EXPECT_EQ(total, 90);
    EXPECT_EQ(testing::postedTotal(), (AxisPair{90, 0}));
    EXPECT_GE(events.back().mediaTime, started + 0.35 - 1.0 / GetParam());
    EXPECT_LT(events.back().mediaTime, started + 0.6);
}

INSTANTIATE_TEST_SUITE_P(Rates, EngineTickTest, ::testing::Values(60.0, 120.0));

struct ReversalCase {
    std::string name;
    double dy;
    double dx;
};

class EngineReversalTest : public ::testing::TestWithParam<ReversalCase> {};

// A tick against the running direction (a zero tick counts as (-1, -1)) stops the link,
// clears the queue and the accumulators, and posts nothing for that tick.
TEST_P(EngineReversalTest, StopsTheRunningAnimation) {
    ASSERT_TRUE(tick(90));
    rt().advance(0.1);
    ASSERT_TRUE(engine().isDisplayLinkRunning());
    const std::size_t before = testing::posted().size();
    ASSERT_GT(before, 0u);

    tick(GetParam().dy, GetParam().dx);
    rt().runPending();
    EXPECT_FALSE(engine().isDisplayLinkRunning());
    const auto s = engine().stateForTesting();
    EXPECT_TRUE(s.queue.empty());
    EXPECT_EQ(s.target, (AxisPair{}));
    EXPECT_EQ(s.posted, (AxisPair{}));
    EXPECT_EQ(s.delta, (AxisPair{GetParam().dy > 0 ? 1.0 : -1.0, GetParam().dx > 0 ? 1.0 : -1.0}));
    rt().advance(1.0);
    EXPECT_EQ(testing::posted().size(), before);

    // The next tick starts a fresh animation.
    ASSERT_TRUE(tick(GetParam().dy == 0 ? -90 : GetParam().dy));
    rt().advance(1.0);
    EXPECT_GT(testing::posted().size(), before);
}

INSTANTIATE_TEST_SUITE_P(Ticks, EngineReversalTest,
                         ::testing::Values(ReversalCase{"reverse", -90, 0},
                                           ReversalCase{"zeroTick", 0, 0},
                                           ReversalCase{"horizontal", 0, 90}),
                         testing::CaseName());

// Ticks in one direction add up: two ticks 0.2 s apart post 180 in all.
TEST(EngineTicks, TicksInOneDirectionAddUp) {
    ASSERT_TRUE(tick(90));
    rt().advance(0.2);
    ASSERT_TRUE(tick(90));
    rt().advance(1.0);
    EXPECT_EQ(testing::postedTotal(), (AxisPair{180, 0}));
    EXPECT_FALSE(engine().isDisplayLinkRunning());
}

// A tick whose copy fails is still taken and animated, but without a template nothing is
// posted; the next tick brings one.
TEST(EngineTicks, ATickWhoseCopyFailsAnimatesWithoutPosting) {
    sim::session().failNextEventCopy(1);
    ASSERT_TRUE(tick(90));
    rt().advance(1.0);
    EXPECT_TRUE(testing::posted().empty());
    EXPECT_FALSE(engine().isDisplayLinkRunning());
    ASSERT_TRUE(tick(90));
    rt().advance(1.0);
    EXPECT_EQ(testing::postedTotal(), (AxisPair{90, 0}));
}

// A frame whose output time stamp has a host time of 0 is stepped at the current time.
TEST(EngineTicks, AFrameWithoutHostTimeUsesTheClock) {
    sim::session().setZeroOutputHostTime(true);
    ASSERT_TRUE(tick(90));
    rt().advance(1.0 / 60 + 1e-6);
    EXPECT_NEAR(engine().stateForTesting().lastFrameStamp, rt().mediaTime(), 1e-5);
    rt().advance(1.0);
    EXPECT_EQ(testing::postedTotal(), (AxisPair{90, 0}));
}

struct EndCase {
    std::string name;
    double dy;  ///< points per tick
    testing::TickValues values;
    int ticks;             ///< 0.2 s apart
    bool postsWholeSteps;  ///< the posts add up to every tick's step
};

class EngineEndTest : public ::testing::TestWithParam<EndCase> {};

testing::TickValues withDuration(double seconds) {
    testing::TickValues v;
    v.duration = seconds;
    return v;
}
testing::TickValues withFollowerTau(double seconds) {
    testing::TickValues v;
    v.followerTau = seconds;
    return v;
}

// An animation that could never settle by itself (a target beyond the follower's precision,
// a duration or time constant far beyond any usable value, a target that overflows) ends as a
// settle ends it: the link stops and the next tick animates as usual.
TEST_P(EngineEndTest, AnAnimationThatCannotSettleEnds) {
    const EndCase& row = GetParam();
    for (int i = 0; i < row.ticks; ++i) {
        ASSERT_TRUE(tick(row.dy, 0, testing::wheelTick(), row.values)) << i;
        rt().advance(0.2);
    }
    rt().advance(61);
    ASSERT_FALSE(engine().isDisplayLinkRunning());
    if (row.postsWholeSteps) {
        EXPECT_NEAR(testing::postedTotal().y, row.dy * row.ticks, 1);
    }

    const std::size_t before = testing::posted().size();
    ASSERT_TRUE(tick(90));
    rt().advance(1);
    EXPECT_FALSE(engine().isDisplayLinkRunning());
    double later = 0;
    for (std::size_t i = before; i < testing::posted().size(); ++i) {
        later += testing::posted()[i].event.doubleValue(kCGScrollWheelEventPointDeltaAxis1);
    }
    EXPECT_EQ(later, 90);
}

INSTANTIATE_TEST_SUITE_P(
    Values, EngineEndTest,
    ::testing::Values(EndCase{"hugeStep", 4e15, {}, 1, true},
                      EndCase{"endlessDuration", 90, withDuration(1e305), 1, true},
                      EndCase{"endlessTimeConstant", 90, withFollowerTau(1e305), 1, true},
                      EndCase{"overflowingTarget", 1.7e308, {}, 2, false}),
    testing::CaseName());

// A tick whose accelerated step is no finite number (two ticks at once under a limit of
// 1e308) is handed back to pass unsmoothed; the ticks before and after it animate.
TEST(EngineTicks, ATickWhoseStepIsNotFiniteIsHandedBack) {
    testing::TickValues hugeLimit;
    hugeLimit.accelerationLimit = 1e308;
    ASSERT_TRUE(tick(90, 0, testing::wheelTick(), hugeLimit));
    EXPECT_FALSE(tick(90, 0, testing::wheelTick(), hugeLimit));
    EXPECT_TRUE(testing::logged(
        "ScrollEngineCV: step is not a finite number — passing input through unsmoothed"));
    rt().advance(1);
    EXPECT_EQ(testing::postedTotal(), (AxisPair{90, 0}));
    ASSERT_TRUE(tick(90, 0, testing::wheelTick(), hugeLimit));
    rt().advance(1);
    EXPECT_EQ(testing::postedTotal(), (AxisPair{180, 0}));
}

// A tick that arrives while the frame that ends the animation is already queued finds the
// link still running; the reset that frame queues keeps its fiber and the link starts again,
// so it animates in full.
TEST(EngineTicks, ATickBehindTheEndingFrameAnimates) {
    testing::TickValues crisp;  // the output jumps to the target: the end frame is known
    crisp.followerTau = 0.001;
    const double started = rt().mediaTime();
    ASSERT_TRUE(tick(90, 0, testing::wheelTick(), crisp));
    // Frames are stepped one period after they are delivered; the fiber ends in the first
    // frame stepped at or past its duration.
    const double period = 1.0 / 60;
    while (rt().nextDueTime() + period - started < crisp.duration) {
        rt().runUntil(rt().nextDueTime());
    }
    bool taken = false;
    // Queued after that frame's delivery, so it runs after the frame step was queued and
    // before it ran.
    rt().post(sim::VirtualRuntime::kMainLane, rt().nextDueTime(),
              [&] { taken = tick(90, 0, testing::wheelTick(), crisp); });
    rt().advance(1);
    EXPECT_TRUE(taken);
    EXPECT_EQ(testing::postedTotal(), (AxisPair{180, 0}));
    EXPECT_FALSE(engine().isDisplayLinkRunning());
}

}  // namespace
}  // namespace corvane
