// Counts the heap allocations of the main thread, to show that a tick through handleInput on
// a running link allocates nothing but its event copy. The counting replaces the global
// allocation functions of this test program; sanitizer builds keep their own and skip.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <new>

#include "scroll/EngineTestSupport.h"
#include "support/LiveThreads.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define CORVANE_COUNTS_ALLOCATIONS 0
#else
#define CORVANE_COUNTS_ALLOCATIONS 1

namespace {
thread_local std::size_t threadAllocations = 0;
}

void* operator new(std::size_t size) {
    ++threadAllocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
#endif

namespace corvane {
namespace {

using namespace platform;

// Under the live runtime, with the link running, each tick allocates once on the main
// thread: the event copy. The hand-over to the state queue allocates nothing.
TEST(EngineAllocations, ATickOnARunningLinkAllocatesOnlyItsCopy) {
#if CORVANE_COUNTS_ALLOCATIONS
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

    std::size_t allocations = 0;
    constexpr int kTicks = 100;
    for (int i = 0; i < kTicks; ++i) {
        const std::size_t before = threadAllocations;
        const bool taken = tick();
        allocations += threadAllocations - before;
        ASSERT_TRUE(taken);
        pause();
    }
    ScrollEngineCV::shared().stop();
    EXPECT_EQ(allocations, std::size_t{kTicks});
#else
    GTEST_SKIP() << "sanitizers keep their own allocation functions";
#endif
}

}  // namespace
}  // namespace corvane
