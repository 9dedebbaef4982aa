#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/corevideo/CVDisplayLink.h"
#include "platform/sim/Session.h"
#include "platform/sim/SimDisplayLink.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane::platform {
namespace {

using testing::PrintTo;

using testing::rt;

/// One delivered frame as the callback saw it.
struct Frame {
    double callbackTime;
    std::uint64_t nowHostTime;
    std::uint64_t outputHostTime;
    bool onMainLane;
};

CVReturn recordFrame(CVDisplayLink*, const CVTimeStamp* inNow, const CVTimeStamp* inOutputTime,
                     CVOptionFlags, CVOptionFlags*, void* context) {
    static_cast<std::vector<Frame>*>(context)->push_back(
        Frame{rt().mediaTime(), inNow->hostTime, inOutputTime->hostTime,
              rt().currentLane() == sim::VirtualRuntime::kMainLane});
    return kCVReturnSuccess;
}

class SimDisplayLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::session().displays().setDisplays(
            {{1, CGRect{{0, 0}, 1920, 1080}, 60}, {2, CGRect{{1920, 0}, 1920, 1080}, 120}});
    }

    CVDisplayLinkRef makeLink(CGDirectDisplayID display) {
        CVDisplayLinkRef link;
        EXPECT_EQ(CVDisplayLinkCreateWithCGDisplay(display, &link), kCVReturnSuccess);
        if (link) {
            CVDisplayLinkSetOutputCallback(link, recordFrame, &frames);
        }
        return link;
    }

    std::vector<Frame> frames;
};

class SimDisplayLinkRateTest
    : public SimDisplayLinkTest,
      public ::testing::WithParamInterface<std::pair<CGDirectDisplayID, double>> {};

// A running link calls back off the main lane once per refresh period, on whole multiples of
// the period after the start, with an output time one period after the callback time.
TEST_P(SimDisplayLinkRateTest, DeliversFramesOnTheRefreshGrid) {
    const auto [display, rate] = GetParam();
    const double period = 1.0 / rate;
    rt().jump(0.0031);
    const double started = rt().mediaTime();
    CVDisplayLinkRef link = makeLink(display);
    ASSERT_EQ(CVDisplayLinkStart(link), kCVReturnSuccess);
    EXPECT_TRUE(CVDisplayLinkIsRunning(link));
    rt().advance(0.1);

    ASSERT_GE(frames.size(), 5u);
    EXPECT_GT(frames[0].callbackTime, started);
    EXPECT_LE(frames[0].callbackTime, started + period);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const Frame& f = frames[i];
        EXPECT_FALSE(f.onMainLane);
        EXPECT_NEAR(std::remainder(f.callbackTime, period), 0, 1e-9) << i;
        EXPECT_EQ(f.nowHostTime, static_cast<std::uint64_t>(std::llround(f.callbackTime * 1e9)));
        EXPECT_EQ(f.outputHostTime,
                  static_cast<std::uint64_t>(std::llround((f.callbackTime + period) * 1e9)));
        if (i > 0) {
            EXPECT_NEAR(f.callbackTime - frames[i - 1].callbackTime, period, 1e-9) << i;
        }
    }
    EXPECT_EQ(CVGetHostClockFrequency(), 1e9);
}

INSTANTIATE_TEST_SUITE_P(Rates, SimDisplayLinkRateTest,
                         ::testing::Values(std::pair<CGDirectDisplayID, double>{1, 60},
                                           std::pair<CGDirectDisplayID, double>{2, 120}));

// After stop no further frame arrives; a restart resumes on the grid.
TEST_F(SimDisplayLinkTest, StopEndsFramesAndStartResumesThem) {
    CVDisplayLinkRef link = makeLink(1);
    CVDisplayLinkStart(link);
    rt().advance(0.05);
    const std::size_t delivered = frames.size();
    ASSERT_GT(delivered, 0u);
    EXPECT_EQ(CVDisplayLinkStop(link), kCVReturnSuccess);
    EXPECT_FALSE(CVDisplayLinkIsRunning(link));
    rt().advance(1.0);
    EXPECT_EQ(frames.size(), delivered);
    CVDisplayLinkStart(link);
    rt().advance(0.05);
    EXPECT_GT(frames.size(), delivered);
}

// A clock that jumps past several frames gets one frame, then the grid again, not a burst.
TEST_F(SimDisplayLinkTest, AJumpSkipsTheFramesItPassed) {
    CVDisplayLinkRef link = makeLink(1);
    CVDisplayLinkStart(link);
    rt().advance(0.1);
    frames.clear();
    rt().jump(0.5);
    rt().runPending();
    EXPECT_EQ(frames.size(), 1u);
    rt().advance(1.0 / 60);
    EXPECT_EQ(frames.size(), 2u);
}

// A stalled link stays running and delivers nothing; a new link of the same display is not
// stalled.
TEST_F(SimDisplayLinkTest, AStalledLinkRunsWithoutFrames) {
    CVDisplayLinkRef stalled = makeLink(1);
    CVDisplayLinkStart(stalled);
    sim::session().stallRunningDisplayLinks();
    rt().advance(0.5);
    EXPECT_TRUE(CVDisplayLinkIsRunning(stalled));
    EXPECT_TRUE(frames.empty());

    CVDisplayLinkRef fresh = makeLink(1);
    CVDisplayLinkStart(fresh);
    rt().advance(0.1);
    EXPECT_FALSE(frames.empty());
}

// The session can be told to give frames an output host time of 0.
TEST_F(SimDisplayLinkTest, ZeroHostTimeOnRequest) {
    sim::session().setZeroOutputHostTime(true);
    CVDisplayLinkRef link = makeLink(1);
    CVDisplayLinkStart(link);
    rt().advance(0.05);
    ASSERT_FALSE(frames.empty());
    for (const Frame& f : frames) {
        EXPECT_EQ(f.outputHostTime, 0u);
        EXPECT_GT(f.nowHostTime, 0u);
    }
}

struct CreationCase {
    std::string name;
    CGDirectDisplayID display;
    std::optional<sim::DisplayLinkCreationFailure> failure;
    CVReturn expectedResult;
    bool expectLink;
};

class SimDisplayLinkCreationTest : public SimDisplayLinkTest,
                                   public ::testing::WithParamInterface<CreationCase> {};

// Creation fails for an unknown display, and with the session's code with or without a link.
TEST_P(SimDisplayLinkCreationTest, ReportsTheResultAndTheLink) {
    const CreationCase& c = GetParam();
    if (c.failure) {
        sim::session().setDisplayLinkCreationRefused(true, *c.failure);
    }
    CVDisplayLinkRef link =
        std::make_shared<sim::SimDisplayLink>(rt(), sim::session().displayLinks(), 1, 60);
    EXPECT_EQ(CVDisplayLinkCreateWithCGDisplay(c.display, &link), c.expectedResult);
    EXPECT_EQ(link != nullptr, c.expectLink);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SimDisplayLinkCreationTest,
    ::testing::Values(
        CreationCase{"known", 1, std::nullopt, kCVReturnSuccess, true},
        CreationCase{"unknownDisplay", 9, std::nullopt, kCVReturnInvalidDisplay, false},
        CreationCase{"failsWithoutLink", 1, sim::DisplayLinkCreationFailure{kCVReturnError, false},
                     kCVReturnError, false},
        CreationCase{"failsWithLink", 1, sim::DisplayLinkCreationFailure{kCVReturnError, true},
                     kCVReturnError, true}),
    testing::CaseName());

// A start fault returns its code for the given number of starts; one that runs anyway leaves
// the link running; without a callback a link does not start.
TEST_F(SimDisplayLinkTest, StartFaults) {
    CVDisplayLinkRef link = makeLink(1);
    sim::session().failNextDisplayLinkStart(2, {kCVReturnError, false});
    EXPECT_EQ(CVDisplayLinkStart(link), kCVReturnError);
    EXPECT_EQ(CVDisplayLinkStart(link), kCVReturnError);
    EXPECT_FALSE(CVDisplayLinkIsRunning(link));
    EXPECT_EQ(CVDisplayLinkStart(link), kCVReturnSuccess);
    EXPECT_TRUE(CVDisplayLinkIsRunning(link));

    CVDisplayLinkRef other = makeLink(2);
    sim::session().failNextDisplayLinkStart(1, {kCVReturnError, true});
    EXPECT_EQ(CVDisplayLinkStart(other), kCVReturnError);
    EXPECT_TRUE(CVDisplayLinkIsRunning(other));

    CVDisplayLinkRef silent;
    CVDisplayLinkCreateWithCGDisplay(1, &silent);
    EXPECT_EQ(CVDisplayLinkStart(silent), kCVReturnDisplayLinkCallbacksNotSet);
    EXPECT_EQ(CVDisplayLinkStart(nullptr), kCVReturnInvalidArgument);
}

}  // namespace
}  // namespace corvane::platform
