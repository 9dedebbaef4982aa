// Whole ticks through `handleInput` on the simulated session: display link, frames, posts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/sim/Session.h"
#include "scroll/EngineTestSupport.h"
#include "scroll/OwnEventStamp.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

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
    friend void PrintTo(const ReversalCase& row, std::ostream* out) { *out << row.name; }
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

}  // namespace
}  // namespace corvane
