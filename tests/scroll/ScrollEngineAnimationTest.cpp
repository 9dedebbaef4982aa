// The engine's pure steps, driven directly with their times as arguments.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "platform/sim/Session.h"
#include "scroll/EngineTestSupport.h"
#include "scroll/OwnEventStamp.h"
#include "scroll/ScrollEngineCV.h"
#include "settings/SettingsManager.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using testing::PrintTo;

using namespace platform;
using testing::engine;
using testing::rt;

/// Drives `enqueue` and `frameStep` by hand, as work of the state queue.
class EngineStepTest : public ::testing::Test {
  protected:
    template <class... Args>
    static void enqueue(Args&&... args) {
        testing::onStateQueue([&] { engine().enqueue(std::forward<Args>(args)...); });
    }
    static void frameStep(double t) {
        testing::onStateQueue([t] { engine().frameStep(t); });
    }
    /// Enqueues a tick of `dy` at `time` with threshold 0.05 s and limit 7 (or `limit`).
    double accelerate(double time, double limit = 7, double threshold = 0.05) {
        enqueue(0.35, time, limit, threshold, 0.03, nullptr, 0, 90, 0);
        return engine().stateForTesting().acceleration;
    }
    /// Enqueues one fiber of `dy` at `start`, lasting `duration`, followed by `tau`.
    void fiber(double dy, double start, double duration, double tau = 0.03,
               CGEventRef event = testing::wheelTick(), pid_t pid = 0) {
        enqueue(duration, start, 0.5, 0.05, tau, std::move(event), pid, dy, 0);
    }
    ScrollEngineCV::StateForTesting state() const { return engine().stateForTesting(); }
};

// Creating the engine takes the global scroll values once and logs its creation line.
TEST_F(EngineStepTest, CreationTakesTheGlobalValues) {
    ScrollAdvanced advanced;
    advanced.duration = 200;
    advanced.smoothness = 10;
    advanced.accelerationThreshold = 40;
    advanced.accelerationLimit = 3;
    SettingsManager::shared().setScrollAdvanced(advanced);
    const auto s = state();
    EXPECT_DOUBLE_EQ(s.duration, 0.2);
    EXPECT_DOUBLE_EQ(s.followerTau, 0.01);
    EXPECT_DOUBLE_EQ(s.accelerationTreshold, 0.04);
    EXPECT_EQ(s.accelerationLimit, 3);
    EXPECT_EQ(s.acceleration, 1.0);
    EXPECT_EQ(s.rebuildCooldown, 3.0);
    EXPECT_THAT(testing::loggedMessages(),
                ::testing::Contains("Module initialized: ScrollEngineCV"));
}

// Fast ticks accelerate: a gap of 0 gives the limit, 10 ms gives 3.6111..., and the next
// 20 ms gap smooths to 0.4 x 0.020 + 0.6 x 0.010; the fiber carries the multiplied step.
TEST_F(EngineStepTest, FastTicksAccelerate) {
    EXPECT_EQ(accelerate(0.0), 7);  // gap 0 from the initial 0, no smoothing yet
    EXPECT_EQ(state().smoothedTickGap, 0);
    EXPECT_DOUBLE_EQ(accelerate(0.01), 6.5 / 1.8);
    EXPECT_DOUBLE_EQ(state().smoothedTickGap, 0.01);
    EXPECT_DOUBLE_EQ(state().queue.back().step.y, 90 * 6.5 / 1.8);
    accelerate(0.03);
    EXPECT_DOUBLE_EQ(state().smoothedTickGap, 0.014);
    EXPECT_DOUBLE_EQ(state().acceleration, (55 / 14.0 + 1) / 1.8);
}

// The first tick (a gap far above the threshold) and a gap equal to the threshold give 1 and
// clear the smoothing.
TEST_F(EngineStepTest, SlowTicksAreNotAccelerated) {
    EXPECT_EQ(accelerate(1000.0), 1);
    EXPECT_EQ(state().smoothedTickGap, 0);
    accelerate(1000.01);
    ASSERT_GT(state().smoothedTickGap, 0);
    const double gap = 1000.06 - 1000.01;
    EXPECT_EQ(accelerate(1000.06, 7, gap), 1);
    EXPECT_EQ(state().smoothedTickGap, 0);
}

// A limit below 1 switches acceleration off without touching the tick-gap memory.
TEST_F(EngineStepTest, ALimitBelowOneLeavesTheMemoryAlone) {
    accelerate(5.0);
    accelerate(5.01);
    const double smoothed = state().smoothedTickGap;
    EXPECT_EQ(accelerate(5.02, 0.5), 1);
    EXPECT_EQ(state().lastEventTime, 5.01);
    EXPECT_EQ(state().smoothedTickGap, smoothed);
}

// A tick keeps its values and its event as the template; a tick without an event keeps the
// previous template and its process.
TEST_F(EngineStepTest, EnqueueKeepsTheTemplate) {
    CGEventRef first = testing::wheelTick({1, 1}, 7);
    enqueue(0.2, 10, 4, 0.04, 0.02, first, 7, 90, 0);
    enqueue(0.3, 11, 5, 0.06, 0.01, nullptr, 9, 90, 0);
    const auto s = state();
    EXPECT_EQ(s.ref.event, first);
    EXPECT_EQ(s.ref.pid, 7);
    EXPECT_EQ(s.duration, 0.3);
    EXPECT_EQ(s.startTime, 11);
    EXPECT_EQ(s.accelerationLimit, 5);
    EXPECT_EQ(s.accelerationTreshold, 0.06);
    EXPECT_EQ(s.followerTau, 0.01);
    ASSERT_EQ(s.queue.size(), 2u);
    EXPECT_EQ(s.queue[1], (ScrollFiber{{90, 0}, {}, {}, 11}));
}

// A reversal while no display link runs only records the direction; the fiber joins.
TEST_F(EngineStepTest, AReversalWithoutARunningLinkOnlyRecordsTheDirection) {
    fiber(90, 1, 0.35);
    fiber(-90, 1.1, 0.35);
    rt().runPending();
    EXPECT_EQ(state().delta, (AxisPair{-1, -1}));
    EXPECT_EQ(state().queue.size(), 2u);
}

// The first frame after a reset follows with dt 1/60, a frame 0.5 s later with dt 0.1.
TEST_F(EngineStepTest, FrameIntervalIsCappedAndDefaulted) {
    fiber(1000, 1, 0);  // ends at its first frame
    frameStep(2);
    const double target = state().target.y;
    const double first = (1 - std::exp(-(1.0 / 60) / 0.03)) * target;
    EXPECT_DOUBLE_EQ(state().output.y, first);
    EXPECT_EQ(state().lastFrameStamp, 2);
    frameStep(2.5);
    EXPECT_DOUBLE_EQ(state().output.y, first + (1 - std::exp(-0.1 / 0.03)) * (target - first));
}

// With a time constant of at most 1 ms the output is the target after every frame.
TEST_F(EngineStepTest, ATinyTimeConstantJumpsToTheTarget) {
    fiber(90, 1, 0.35, 0.001);
    for (double t : {1.01, 1.05, 1.2, 1.3}) {
        frameStep(t);
        EXPECT_EQ(state().output, state().target) << t;
        EXPECT_GT(state().target.y, 0);
    }
}

// The fiber follows the curve: each frame adds curve(p) x step minus what it had applied.
TEST_F(EngineStepTest, FibersFollowTheCurve) {
    fiber(90, 1, 0.5, 0.001);
    frameStep(1.25);
    const auto s = state();
    ASSERT_EQ(s.queue.size(), 1u);
    EXPECT_DOUBLE_EQ(s.queue[0].last.y, 0.6742832268048948 * 90);
    EXPECT_DOUBLE_EQ(s.target.y, 0.6742832268048948 * 90);
    frameStep(1.5);
    EXPECT_TRUE(state().queue.empty());
    EXPECT_DOUBLE_EQ(state().target.y, 90);
}

struct RoundingCase {
    std::string name;
    double step;
    double expectedPost;  ///< 0: nothing posted
};

class EngineRoundingTest : public EngineStepTest,
                           public ::testing::WithParamInterface<RoundingCase> {};

double linear(double p) {
    return p;
}

// The movement is rounded to whole points with halves away from zero.
TEST_P(EngineRoundingTest, RoundsHalvesAwayFromZero) {
    engine().setAnimationFunctionForTesting(linear);
    fiber(GetParam().step, 1, 1, 0.001);
    frameStep(2);
    const auto events = testing::posted();
    if (GetParam().expectedPost == 0) {
        EXPECT_TRUE(events.empty());
    } else {
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].event.doubleValue(kCGScrollWheelEventPointDeltaAxis1),
                  GetParam().expectedPost);
    }
}

INSTANTIATE_TEST_SUITE_P(Remainders, EngineRoundingTest,
                         ::testing::Values(RoundingCase{"half", 0.5, 1},
                                           RoundingCase{"minusHalf", -0.5, -1},
                                           RoundingCase{"belowHalf", 0.49, 0},
                                           RoundingCase{"twoAndHalf", 2.5, 3}),
                         testing::CaseName());

struct TargetCase {
    std::string name;
    pid_t pid;
    std::optional<pid_t> expectedPid;  ///< none: the session
};

class EnginePostTest : public EngineStepTest, public ::testing::WithParamInterface<TargetCase> {};

// A posted event is the template with the whole points, zero fixed-point deltas, the
// continuous flag and the stamp; line deltas stay. It goes to the target process when its
// pid is above 0, else to the session.
TEST_P(EnginePostTest, PostsTheTemplateWithTheMovement) {
    CGEventRef event = testing::wheelTick({5, 6}, GetParam().pid);
    fiber(90, 1, 0, 0.001, event, GetParam().pid);
    frameStep(2);
    const auto events = testing::posted();
    ASSERT_EQ(events.size(), 1u);
    const CGEvent& e = events[0].event;
    EXPECT_EQ(events[0].pid, GetParam().expectedPid);
    EXPECT_EQ(events[0].location, kCGSessionEventTap);
    EXPECT_EQ(e.doubleValue(kCGScrollWheelEventPointDeltaAxis1), 90);
    EXPECT_EQ(e.doubleValue(kCGScrollWheelEventPointDeltaAxis2), 0);
    EXPECT_EQ(e.doubleValue(kCGScrollWheelEventFixedPtDeltaAxis1), 0);
    EXPECT_EQ(e.doubleValue(kCGScrollWheelEventFixedPtDeltaAxis2), 0);
    EXPECT_EQ(e.doubleValue(kCGScrollWheelEventIsContinuous), 1);
    EXPECT_EQ(e.integerValue(kCGEventSourceUserData), kOwnEventStamp);
    EXPECT_EQ(e.integerValue(kCGEventSourceUserData), 0x436F7276);
    EXPECT_EQ(e.integerValue(kCGScrollWheelEventDeltaAxis1), 1);
    EXPECT_EQ(e.location(), (CGPoint{5, 6}));
    EXPECT_EQ(state().posted, (AxisPair{90, 0}));
}

INSTANTIATE_TEST_SUITE_P(Targets, EnginePostTest,
                         ::testing::Values(TargetCase{"process", 321, 321},
                                           TargetCase{"zeroPid", 0, std::nullopt},
                                           TargetCase{"negativePid", -4, std::nullopt}),
                         testing::CaseName());

// Without a template, or when the copy fails, the frame's points count as posted and
// nothing is sent.
TEST_F(EngineStepTest, NoTemplateOrAFailedCopyPostsNothing) {
    fiber(40, 1, 0.35, 0.001, nullptr);
    frameStep(1.2);
    EXPECT_TRUE(testing::posted().empty());
    EXPECT_GT(state().posted.y, 0);

    fiber(40, 1.2, 0.35, 0.001);  // brings a template
    sim::session().failNextEventCopy(1);
    const double before = state().posted.y;
    frameStep(1.3);
    EXPECT_TRUE(testing::posted().empty());
    EXPECT_GT(state().posted.y, before);
    frameStep(1.35);
    EXPECT_EQ(testing::posted().size(), 1u);
}

// The animation ends by itself once the fibers ended and the follower settled: that frame
// posts the rest, so the posts add up to the whole step, then the reset clears the state.
TEST_F(EngineStepTest, SettlingPostsTheRestAndResets) {
    fiber(90, 1, 0.35);
    double t = 1;
    for (int frame = 0; frame < 120 && state().posted.y != 90; ++frame) {
        frameStep(t += 1.0 / 60);
    }
    EXPECT_GE(t, 1.35);  // not before the fiber ended
    EXPECT_EQ(testing::postedTotal(), (AxisPair{90, 0}));
    rt().runPending();  // the reset queued by stop
    const auto s = state();
    EXPECT_TRUE(s.queue.empty());
    EXPECT_EQ(s.posted, (AxisPair{}));
    EXPECT_EQ(s.output, (AxisPair{}));
    EXPECT_EQ(s.target, (AxisPair{}));
    EXPECT_EQ(s.lastFrameStamp, 0);
    EXPECT_EQ(s.ref.event, nullptr);
    EXPECT_EQ(s.delta, (AxisPair{1, -1}));  // kept
    EXPECT_EQ(s.startTime, 1);              // kept
}

class EngineNonFiniteStepTest : public EngineStepTest,
                                public ::testing::WithParamInterface<double> {};

// A tick whose step is not a finite number adds no fiber.
TEST_P(EngineNonFiniteStepTest, IsNotQueued) {
    fiber(GetParam(), 1, 0.35);
    EXPECT_TRUE(state().queue.empty());
    frameStep(1.1);
    EXPECT_TRUE(testing::posted().empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, EngineNonFiniteStepTest,
                         ::testing::Values(std::numeric_limits<double>::infinity(),
                                           -std::numeric_limits<double>::infinity(),
                                           std::numeric_limits<double>::quiet_NaN()));

// Finite fibers whose sum overflows give a movement that is not finite: nothing is posted
// and `posted` stays as it was.
TEST_F(EngineStepTest, ANonFiniteMovementIsNeverPosted) {
    fiber(1.7e308, 1, 0, 0.001);
    fiber(1.7e308, 1, 0, 0.001);
    frameStep(2);
    EXPECT_TRUE(std::isinf(state().target.y));
    EXPECT_TRUE(testing::posted().empty());
    EXPECT_EQ(state().posted, (AxisPair{}));
}

}  // namespace
}  // namespace corvane
