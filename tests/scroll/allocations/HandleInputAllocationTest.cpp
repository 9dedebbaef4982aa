// Counts the heap allocations of the main thread, to show that a tick through handleInput on
// a running link allocates nothing but its event copy. Sanitizer builds keep their own
// allocation functions and skip.
#include <gtest/gtest.h>

#include <memory>

#include "scroll/EngineTestSupport.h"
#include "support/LiveThreads.h"
#include "support/allocations/AllocationCounter.h"

namespace corvane {
namespace {

using namespace platform;
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

}  // namespace
}  // namespace corvane
