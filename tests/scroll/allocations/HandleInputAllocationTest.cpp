// Counts the heap allocations of the main thread, to show that a tick through handleInput on
// a running link allocates nothing but its event copy, and that a wheel event through the
// coordinator allocates nothing on every road on which it passes and only its copy when it is
// smoothed, on both runtimes. Sanitizer builds keep their own
// allocation functions and skip.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/appkit/RunningApplication.h"
#include "scroll/EngineTestSupport.h"
#include "scroll/ScrollCoordinator.h"
#include "settings/SettingsManager.h"
#include "support/CaseTable.h"
#include "support/LiveThreads.h"
#include "support/WheelTargets.h"
#include "support/allocations/AllocationCounter.h"

namespace corvane {
namespace {

using namespace platform;
using testing::PrintTo;
using testing::threadAllocations;

// Under the live runtime, with the link running, each tick allocates once on the main
// thread: the event copy. The hand-over to the state queue allocates nothing.
TEST(EngineAllocations, ATickOnARunningLinkAllocatesOnlyItsCopy) {
    if (!testing::countsAllocations()) {
        GTEST_SKIP() << "sanitizers keep their own allocation functions";
    }
    auto threads = testing::installLiveThreads();
    auto& live = threads.runtime;
    threads.displays->setDisplays({{1, CGRect{{0, 0}, 1920, 1080}, 120}});
    const CGEventRef event = testing::wheelTick();
    testing::TickValues longAnimation;  // the link runs throughout
    longAnimation.duration = 60;
    auto tick = [&] { return testing::tick(90, 0, event, longAnimation); };
    // Lets the state queue keep up, so that the hand-over ring never fills.
    auto pause = [&] { live->runUntil(live->mediaTime() + 0.005); };
    auto oneTick = [&] {
        const bool taken = tick();
        pause();
        return taken;
    };
    for (int i = 0; i < 20; ++i) {  // builds and starts the link
        ASSERT_TRUE(oneTick());
    }
    ASSERT_TRUE(ScrollEngineCV::shared().isDisplayLinkRunning());

    std::uint64_t allocations = 0;
    constexpr int kTicks = 100;
    for (int i = 0; i < kTicks; ++i) {
        const std::uint64_t before = threadAllocations();
        const bool taken = tick();
        allocations += threadAllocations() - before;
        ASSERT_TRUE(taken);
        pause();
    }
    ScrollEngineCV::shared().stop();
    EXPECT_EQ(allocations, std::uint64_t{kTicks});
}

constexpr pid_t kEditor = 501;
constexpr pid_t kMail = 502;

enum class RuntimeKind { simulated, live };

/// The road a wheel event takes through the coordinator.
enum class Path {
    passThrough,         ///< smoothing off: the tick passes after the whole decision
    heldModifier,        ///< smoothing on, a blocking modifier held: the tick passes
    alternatingTargets,  ///< smoothing off, ticks aimed at two applications in turn
    trackpad,            ///< a continuous event, passed at once
    smoothed,            ///< smoothing on: the tick goes to the engine
};

struct PathCase {
    std::string name;
    RuntimeKind runtime;
    Path path;
    std::uint64_t perEvent;  ///< allocations of the main thread per event
};

class WheelPathAllocations : public ::testing::TestWithParam<PathCase> {};

// Every pass-through road allocates nothing, also for applications whose executable URLs the
// Launchpad check reads and when every tick changes the target (its exception is looked up
// again in a list of 16); a smoothed tick allocates its event copy alone.
TEST_P(WheelPathAllocations, PerEventOnTheMainThread) {
    if (!testing::countsAllocations()) {
        GTEST_SKIP() << "sanitizers keep their own allocation functions";
    }
    const PathCase& c = GetParam();
    std::optional<testing::LiveThreads> threads;
    if (c.runtime == RuntimeKind::live) {
        threads = testing::installLiveThreads();
        threads->displays->setDisplays({{1, CGRect{{0, 0}, 1920, 1080}, 120}});
    }
    testing::launchApplicationWithExecutable(kEditor, "Editor");
    testing::launchApplicationWithExecutable(kMail, "Mail");
    const bool smooth = c.path == Path::smoothed || c.path == Path::heldModifier;
    SettingsManager::shared().modifySettings([&](CorvaneSettings& s) {
        s.scrollBase.smooth = smooth;
        s.scrollAdvanced.duration = 60'000;  // ms: the link runs throughout
        testing::addUnmatchedExceptions(s, 16);
    });
    ScrollCoordinator& coordinator = ScrollCoordinator::shared();
    if (c.path == Path::heldModifier) {
        const CGEventRef command = CGEventCreate(CGEventType::flagsChanged);
        command->setIntegerValue(kCGKeyboardEventKeycode, 55);
        command->setFlags(kCGEventFlagMaskCommand);
        coordinator.handleFlagsChanged(command);
        ASSERT_TRUE(coordinator.blockSmooth);
    }
    const CGEventRef ticks[] = {testing::wheelTick({100, 100}, kEditor),
                                testing::wheelTick({100, 100}, kMail)};
    if (c.path == Path::trackpad) {
        ticks[0]->setDoubleValue(kCGScrollWheelEventScrollPhase, 2);
    }
    auto tickAt = [&](std::uint64_t i) {
        return ticks[c.path == Path::alternatingTargets ? i % 2 : 0];
    };
    // Lets the state queue and the main work keep up, outside the count.
    auto pause = [&] {
        if (threads) {
            threads->runtime->runUntil(threads->runtime->mediaTime() + 0.005);
        } else {
            sim::virtualRuntime().advance(0.005);
        }
    };
    for (std::uint64_t i = 0; i < 20; ++i) {  // looks the targets up; builds and starts the link
        (void)coordinator.handleScrollEvent(tickAt(i));
        pause();
    }
    ASSERT_EQ(ScrollEngineCV::shared().isDisplayLinkRunning(), c.path == Path::smoothed);

    constexpr std::uint64_t kEvents = 100;
    std::uint64_t allocations = 0;
    for (std::uint64_t i = 0; i < kEvents; ++i) {
        const CGEventRef& tick = tickAt(i);
        const std::uint64_t before = threadAllocations();
        const CGEventRef passed = coordinator.handleScrollEvent(tick);
        allocations += threadAllocations() - before;
        ASSERT_EQ(passed == nullptr, c.path == Path::smoothed);
        ASSERT_EQ(coordinator.lastScrollEventWasTrackpad, c.path == Path::trackpad);
        pause();
    }
    ScrollEngineCV::shared().stop();
    pause();
    EXPECT_EQ(allocations, c.perEvent * kEvents);
}

std::vector<PathCase> pathCases() {
    const std::pair<const char*, RuntimeKind> runtimes[] = {{"simulated", RuntimeKind::simulated},
                                                            {"live", RuntimeKind::live}};
    const std::tuple<const char*, Path, std::uint64_t> paths[] = {
        {"passThrough", Path::passThrough, 0},
        {"passThrough_heldModifier", Path::heldModifier, 0},
        {"passThrough_alternatingTargets", Path::alternatingTargets, 0},
        {"trackpad", Path::trackpad, 0},
        {"smoothed", Path::smoothed, 1},
    };
    std::vector<PathCase> cases;
    for (const auto& [runtimeName, runtime] : runtimes) {
        for (const auto& [pathName, path, perEvent] : paths) {
            cases.push_back({std::string(runtimeName) + "_" + pathName, runtime, path, perEvent});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Paths, WheelPathAllocations, ::testing::ValuesIn(pathCases()),
                         testing::CaseName());

}  // namespace
}  // namespace corvane
