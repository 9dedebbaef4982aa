// Counts the heap allocations of the main thread, to show that a tick through handleInput on
// a running link allocates nothing but its event copy, and that a wheel event through the
// coordinator to an application with an executable URL allocates nothing when it passes and
// only its copy when it is smoothed, on both runtimes. Sanitizer builds keep their own
// allocation functions and skip.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/RunningApplication.h"
#include "platform/foundation/URL.h"
#include "scroll/EngineTestSupport.h"
#include "scroll/ScrollCoordinator.h"
#include "settings/SettingsManager.h"
#include "support/CaseTable.h"
#include "support/LiveThreads.h"
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

enum class RuntimeKind { simulated, live };

struct PathCase {
    std::string name;
    RuntimeKind runtime;
    bool smooth;             ///< smoothing on: the tick goes to the engine
    std::uint64_t perEvent;  ///< allocations of the main thread per event
};

class WheelPathAllocations : public ::testing::TestWithParam<PathCase> {};

// Pass-through allocates nothing, also for an application whose executable URL the Launchpad
// check reads; a smoothed tick allocates its event copy alone.
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
    sim::session().workspace().launch(
        {.processIdentifier = kEditor,
         .bundleIdentifier = std::string("com.example.editor"),
         .executableURL = URL::fileURLWithPath("/Applications/Editor.app/Contents/MacOS/Editor")});
    SettingsManager::shared().modifySettings([&](CorvaneSettings& s) {
        s.scrollBase.smooth = c.smooth;
        s.scrollAdvanced.duration = 60'000;  // ms: the link runs throughout
    });
    const CGEventRef tick = testing::wheelTick({100, 100}, kEditor);
    // Lets the state queue and the main work keep up, outside the count.
    auto pause = [&] {
        if (threads) {
            threads->runtime->runUntil(threads->runtime->mediaTime() + 0.005);
        } else {
            sim::virtualRuntime().advance(0.005);
        }
    };
    ScrollCoordinator& coordinator = ScrollCoordinator::shared();
    for (int i = 0; i < 20; ++i) {  // looks the target up; builds and starts the link
        (void)coordinator.handleScrollEvent(tick);
        pause();
    }
    ASSERT_EQ(ScrollEngineCV::shared().isDisplayLinkRunning(), c.smooth);

    constexpr std::uint64_t kEvents = 100;
    std::uint64_t allocations = 0;
    for (std::uint64_t i = 0; i < kEvents; ++i) {
        const std::uint64_t before = threadAllocations();
        const CGEventRef passed = coordinator.handleScrollEvent(tick);
        allocations += threadAllocations() - before;
        ASSERT_EQ(passed == nullptr, c.smooth);
        pause();
    }
    ScrollEngineCV::shared().stop();
    pause();
    EXPECT_EQ(allocations, c.perEvent * kEvents);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WheelPathAllocations,
    ::testing::Values(PathCase{"simulated_passThrough", RuntimeKind::simulated, false, 0},
                      PathCase{"simulated_smoothed", RuntimeKind::simulated, true, 1},
                      PathCase{"live_passThrough", RuntimeKind::live, false, 0},
                      PathCase{"live_smoothed", RuntimeKind::live, true, 1}),
    testing::CaseName());

}  // namespace
}  // namespace corvane
