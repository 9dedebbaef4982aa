// The engine's display link under the session's faults: creation, replacement, start,
// stalls, the watchdog and the status line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/Session.h"
#include "scroll/EngineTestSupport.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using testing::PrintTo;

using namespace platform;
using ::testing::Contains;
using testing::engine;
using testing::logged;
using ::testing::Not;
using testing::rt;
using testing::tick;

const std::string kNoLink = "ScrollEngineCV: no display link — passing input through unsmoothed";
const std::string kStalled =
    "ScrollEngineCV: display link running but stalled — passing input through unsmoothed";
const std::string kStartFailed =
    "ScrollEngineCV: CVDisplayLinkStart failed, code -6660 — rebuilding link";
const std::string kRetryFailed = "ScrollEngineCV: display link restart retry failed, code -6660";
const std::string kCreateFailed =
    "ScrollEngineCV: CVDisplayLinkCreateWithCGDisplay failed for display 1, code -6660";
const std::string kWatchdogRebuilding =
    "ScrollEngineCV: display link stopped delivering frames, rebuilding";
const std::string kWatchdogRestarted = "ScrollEngineCV: watchdog restarted display link, code 0";
const std::string kWatchdogNoLink =
    "ScrollEngineCV: watchdog rebuild left poster nil — next scroll input will retry or pass "
    "through unsmoothed";

/// A session with two displays side by side, the second at 120 Hz.
class EngineDisplayLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::session().displays().setDisplays(
            {{1, CGRect{{0, 0}, 1920, 1080}, 60}, {2, CGRect{{1920, 0}, 1920, 1080}, 120}});
    }

    static ScrollEngineCV::StateForTesting state() { return engine().stateForTesting(); }
    static sim::Session& faults() { return sim::session(); }
    static CGEventRef onSecondDisplay() { return testing::wheelTick({2000, 100}); }
};

// The first tick on a display queues a reset, makes a link for it, queues the tick, starts
// the link, records the frame time and is taken.
TEST_F(EngineDisplayLinkTest, TheFirstTickBuildsAndStartsALink) {
    // A leftover fiber.
    testing::onStateQueue([] { engine().enqueue(0.35, 1, 7, 0.05, 0.03, nullptr, 0, 5, 0); });
    const double now = rt().mediaTime();
    ASSERT_TRUE(tick(90));
    EXPECT_TRUE(engine().isDisplayLinkRunning());
    EXPECT_EQ(state().currentDisplayID, 1u);
    EXPECT_EQ(state().lastFrameTime, now);
    EXPECT_FALSE(state().hasWatchdog);  // queued on the main queue
    rt().runPending();
    ASSERT_EQ(state().queue.size(), 1u);  // the reset ran first, then the tick
    EXPECT_EQ(state().queue[0].step, (AxisPair{90, 0}));
    EXPECT_EQ(state().startTime, now);
    EXPECT_TRUE(state().hasWatchdog);
}

struct NoDisplayCase {
    std::string name;
    CGPoint location;
    CGError lookupError;
};

class EngineNoDisplayTest : public EngineDisplayLinkTest,
                            public ::testing::WithParamInterface<NoDisplayCase> {};

// A tick on no display, before any link exists, is handed back with its message.
TEST_P(EngineNoDisplayTest, HandsTheTickBack) {
    sim::session().setDisplayLookupRefused(GetParam().lookupError != kCGErrorSuccess,
                                           GetParam().lookupError);
    EXPECT_FALSE(tick(90, 0, testing::wheelTick(GetParam().location)));
    EXPECT_TRUE(logged(kNoLink));
    rt().runPending();
    EXPECT_TRUE(state().queue.empty());
    EXPECT_EQ(engine().posterForTesting(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Lookups, EngineNoDisplayTest,
                         ::testing::Values(NoDisplayCase{"offScreen", {-50, -50}, 0},
                                           NoDisplayCase{
                                               "lookupFails", {100, 100}, kCGErrorFailure}),
                         testing::CaseName());

// Off every display the current link goes on being used.
TEST_F(EngineDisplayLinkTest, OffScreenTicksUseTheCurrentLink) {
    ASSERT_TRUE(tick(90));
    const CVDisplayLinkRef link = engine().posterForTesting();
    EXPECT_TRUE(tick(90, 0, testing::wheelTick({-50, -50})));
    EXPECT_EQ(engine().posterForTesting(), link);
}

// Moving to a second display replaces the link without a reset; the running fibers finish
// under the new link.
TEST_F(EngineDisplayLinkTest, ASecondDisplayReplacesTheLinkWithoutReset) {
    ASSERT_TRUE(tick(90));
    rt().advance(0.1);
    const CVDisplayLinkRef first = engine().posterForTesting();
    ASSERT_TRUE(tick(90, 0, onSecondDisplay()));
    const CVDisplayLinkRef second = engine().posterForTesting();
    EXPECT_NE(second, first);
    EXPECT_FALSE(CVDisplayLinkIsRunning(first));
    EXPECT_TRUE(CVDisplayLinkIsRunning(second));
    EXPECT_EQ(state().currentDisplayID, 2u);
    rt().runPending();
    EXPECT_EQ(state().queue.size(), 2u);
    rt().advance(1.0);
    EXPECT_EQ(testing::postedTotal(), (AxisPair{180, 0}));
    EXPECT_FALSE(CVDisplayLinkIsRunning(second));
}

class EngineStallTest : public EngineDisplayLinkTest,
                        public ::testing::WithParamInterface<std::pair<double, bool>> {};

// A running link whose last frame is more than 1.0 s old hands the tick back and queues a
// reset; at exactly 1.0 s the tick is taken.
TEST_P(EngineStallTest, HandsTicksBackOnlyAfterMoreThanOneSecond) {
    const auto [age, taken] = GetParam();
    ASSERT_TRUE(tick(90));
    faults().stallRunningDisplayLinks();
    const double lastFrame = state().lastFrameTime;
    rt().runUntil(lastFrame + age);
    ASSERT_EQ(rt().mediaTime() - lastFrame, age);
    EXPECT_EQ(tick(90), taken);
    EXPECT_EQ(logged(kStalled), !taken);
    rt().runPending();
    EXPECT_EQ(state().queue.size(), taken ? 2u : 0u);
    EXPECT_TRUE(engine().isDisplayLinkRunning());
}

INSTANTIATE_TEST_SUITE_P(Ages, EngineStallTest,
                         ::testing::Values(std::pair{1.5, false}, std::pair{1.0, true}));

// A failed start is followed by a rebuild and a second start; when that one works the tick
// is taken and animated.
TEST_F(EngineDisplayLinkTest, AFailedStartRebuildsAndRetries) {
    faults().failNextDisplayLinkStart(1, {kCVReturnError, false});
    ASSERT_TRUE(tick(90));
    EXPECT_TRUE(logged(kStartFailed));
    EXPECT_FALSE(logged(kRetryFailed));
    EXPECT_TRUE(engine().isDisplayLinkRunning());
    EXPECT_EQ(state().lastFrameTime, rt().mediaTime());
    rt().advance(1.0);
    EXPECT_EQ(testing::postedTotal(), (AxisPair{90, 0}));
}

// When the retry fails too the link is dropped, a reset is queued and the tick handed back.
TEST_F(EngineDisplayLinkTest, AFailedRetryDropsTheLink) {
    faults().failNextDisplayLinkStart(2, {kCVReturnError, false});
    EXPECT_FALSE(tick(90));
    EXPECT_TRUE(logged(kStartFailed));
    EXPECT_TRUE(logged(kRetryFailed));
    EXPECT_EQ(engine().posterForTesting(), nullptr);
    rt().runPending();
    EXPECT_TRUE(state().queue.empty());
    EXPECT_EQ(engine().statusDescription(), "display link absent, display 1, last frame never");
    // The next tick builds a link again.
    EXPECT_TRUE(tick(90));
}

// A start that reports a code but leaves the link running counts as a success.
TEST_F(EngineDisplayLinkTest, AStartThatRunsDespiteItsCodeSucceeds) {
    ASSERT_TRUE(tick(90));
    rt().advance(1.0);
    const CVDisplayLinkRef link = engine().posterForTesting();
    ASSERT_FALSE(CVDisplayLinkIsRunning(link));
    faults().failNextDisplayLinkStart(1, {kCVReturnError, true});
    EXPECT_TRUE(tick(90));
    EXPECT_FALSE(logged(kStartFailed));
    EXPECT_EQ(engine().posterForTesting(), link);
}

// When the rebuild after a failed start makes no link, nothing could animate the tick: it is
// handed back and the reset removes its fiber.
TEST_F(EngineDisplayLinkTest, ARebuildThatMakesNoLinkHandsTheTickBack) {
    ASSERT_TRUE(tick(90));
    rt().advance(1.0);
    const std::size_t before = testing::posted().size();
    faults().failNextDisplayLinkStart(1, {kCVReturnError, false});
    faults().setDisplayLinkCreationRefused(true, {kCVReturnError, false});
    EXPECT_FALSE(tick(90));
    EXPECT_TRUE(logged(kStartFailed));
    EXPECT_TRUE(logged(kCreateFailed));
    EXPECT_EQ(engine().posterForTesting(), nullptr);
    rt().runPending();
    EXPECT_TRUE(state().queue.empty());
    rt().advance(1.0);
    EXPECT_EQ(testing::posted().size(), before);

    faults().setDisplayLinkCreationRefused(false);
    EXPECT_TRUE(tick(90));
    rt().advance(1.0);
    EXPECT_EQ(testing::postedTotal(), (AxisPair{180, 0}));
}

class EngineCreationTest : public EngineDisplayLinkTest,
                           public ::testing::WithParamInterface<bool> {};

// A creation that fails without a link is logged and the tick handed back; one that fails
// but hands back a link uses that link.
TEST_P(EngineCreationTest, UsesWhateverLinkCreationGives) {
    const bool returnsLink = GetParam();
    faults().setDisplayLinkCreationRefused(true, {kCVReturnError, returnsLink});
    EXPECT_EQ(tick(90), returnsLink);
    EXPECT_TRUE(logged(kCreateFailed) != returnsLink);
    EXPECT_EQ(logged(kNoLink), !returnsLink);
    EXPECT_EQ(engine().isDisplayLinkRunning(), returnsLink);
}

INSTANTIATE_TEST_SUITE_P(Links, EngineCreationTest, ::testing::Bool());

/// The watchdog's cases, with `watchdogTick` called by the test at chosen times.
class EngineWatchdogTest : public EngineDisplayLinkTest {
  protected:
    /// A tick at `duration` seconds of animation on a link that then stalls.
    void stalledAnimation(double duration = 10) {
        testing::TickValues values;
        values.duration = duration;
        ASSERT_TRUE(tick(90, 0, testing::wheelTick(), values));
        rt().runPending();
        faults().stallRunningDisplayLinks();
        started = rt().mediaTime();
    }
    /// Calls the watchdog at `age` seconds after the start and says whether it rebuilt.
    bool watchdogRebuildsAt(double age) {
        rt().jump(started + age - rt().mediaTime());
        const CVDisplayLinkRef before = engine().posterForTesting();
        engine().watchdogTick();
        return engine().posterForTesting() != before;
    }
    double started = 0;
};

// A link that gave no frame for more than 2 s is rebuilt and restarted, the frame time
// refreshed; the animation then finishes on the new link.
TEST_F(EngineWatchdogTest, RebuildsAndRestartsAStalledLink) {
    stalledAnimation(0.35);
    ASSERT_TRUE(watchdogRebuildsAt(2.5));
    EXPECT_TRUE(logged(kWatchdogRebuilding));
    EXPECT_TRUE(logged(kWatchdogRestarted));
    EXPECT_TRUE(engine().isDisplayLinkRunning());
    EXPECT_EQ(state().lastFrameTime, rt().mediaTime());
    EXPECT_EQ(state().lastRebuildTime, rt().mediaTime());
    rt().advance(1.0);
    EXPECT_EQ(testing::postedTotal(), (AxisPair{90, 0}));
}

// A rebuild that makes no link is logged and leaves none.
TEST_F(EngineWatchdogTest, ARebuildWithoutALinkIsLogged) {
    stalledAnimation();
    faults().setDisplayLinkCreationRefused(true, {kCVReturnError, false});
    EXPECT_TRUE(watchdogRebuildsAt(2.5));
    EXPECT_TRUE(logged(kWatchdogNoLink));
    EXPECT_FALSE(logged(kWatchdogRestarted));
    EXPECT_EQ(engine().posterForTesting(), nullptr);
}

// The watchdog leaves alone a stopped link, a link that gave a frame within 2 s, and a link
// it rebuilt less than 3 s before.
TEST_F(EngineWatchdogTest, LeavesHealthyStoppedAndRecentlyRebuiltLinksAlone) {
    // Stopped: the animation ended long ago.
    ASSERT_TRUE(tick(90));
    rt().advance(1.0);
    started = rt().mediaTime();
    EXPECT_FALSE(watchdogRebuildsAt(4.0));

    // Delivering: a long animation with frames flowing.
    testing::TickValues longAnimation;
    longAnimation.duration = 10;
    ASSERT_TRUE(tick(90, 0, testing::wheelTick(), longAnimation));
    rt().advance(2.5);
    EXPECT_FALSE(watchdogRebuildsAt(0));

    // Only 2.0 s without frames: not yet.
    faults().stallRunningDisplayLinks();
    started = state().lastFrameTime;
    EXPECT_FALSE(watchdogRebuildsAt(2.0));

    // Rebuilt at 2.1 s; stalled again, 2.2 s later it is still within the cooldown.
    ASSERT_TRUE(watchdogRebuildsAt(2.1));
    faults().stallRunningDisplayLinks();
    EXPECT_FALSE(watchdogRebuildsAt(2.1 + 2.2));
    EXPECT_TRUE(watchdogRebuildsAt(2.1 + 3.0));
    EXPECT_THAT(testing::loggedMessages(), Not(Contains(kWatchdogNoLink)));
}

// The watchdog is a 5 s timer on the main run loop, made with the first link, that finds a
// stall by itself.
TEST_F(EngineWatchdogTest, RunsEveryFiveSeconds) {
    stalledAnimation();
    rt().advance(4.9);
    EXPECT_FALSE(logged(kWatchdogRebuilding));
    rt().advance(0.2);
    EXPECT_TRUE(logged(kWatchdogRebuilding));
    EXPECT_TRUE(logged(kWatchdogRestarted));
    rt().advance(1.0);
    EXPECT_TRUE(engine().isDisplayLinkRunning());  // frames flow again
    EXPECT_GT(state().lastFrameTime, rt().mediaTime() - 0.1);
}

// The status line tells whether a link exists and runs, its display and the frame's age.
TEST_F(EngineDisplayLinkTest, StatusDescription) {
    EXPECT_EQ(engine().statusDescription(), "display link absent, display none, last frame never");
    EXPECT_FALSE(engine().isDisplayLinkRunning());
    ASSERT_TRUE(tick(90, 0, onSecondDisplay()));
    rt().advance(0.1);
    EXPECT_EQ(engine().statusDescription(), "display link running, display 2, last frame 0.0s ago");
    rt().advance(0.9);
    const double age = rt().mediaTime() - state().lastFrameTime;
    ASSERT_GT(age, 0.45);
    ASSERT_LT(age, 0.75);
    EXPECT_THAT(engine().statusDescription(),
                ::testing::MatchesRegex("display link idle, display 2, last frame 0\\.[5-7]s ago"));
}

}  // namespace
}  // namespace corvane
