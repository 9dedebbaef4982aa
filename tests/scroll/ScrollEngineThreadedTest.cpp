// The engine on real threads: under the thread runtime a live display-link thread, the
// state queue's thread and the main thread all work on one engine. Run under
// ThreadSanitizer (scripts/sanitize.sh tsan) this shows the threading has no data race.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "scroll/EngineTestSupport.h"
#include "support/LiveThreads.h"

namespace corvane {
namespace {

using namespace platform;

// A live display link and the main thread feed one engine through ticks, reversals, stops,
// watchdog checks and status reads; every posted event is whole, finite and stamped.
TEST(EngineOnThreads, ALiveDisplayLinkAndTheMainThreadFeedOneEngine) {
    auto threads = testing::installLiveThreads();
    auto& live = threads.runtime;
    // A fast display, so that many frames meet many ticks in a short run.
    threads.displays->setDisplays({{1, CGRect{{0, 0}, 1920, 1080}, 500}});
    ScrollEngineCV& engine = ScrollEngineCV::shared();

    testing::TickValues values;
    values.duration = 0.05;
    values.followerTau = 0.01;
    int ticks = 0;
    int taken = 0;
    const double end = live->mediaTime() + 1.0;
    while (live->mediaTime() < end) {
        const double dy = (ticks / 10) % 2 == 0 ? 90 : -90;  // reverses now and then
        const double dx = ticks % 7 == 0 ? 30 : 0;
        taken += testing::tick(dy, dx, testing::wheelTick({100, 100}, ticks % 3), values) ? 1 : 0;
        ++ticks;
        if (ticks % 25 == 0) {
            engine.stop();
        }
        if (ticks % 40 == 0) {
            engine.watchdogTick();
        }
        EXPECT_FALSE(engine.statusDescription().empty());
        (void)engine.isDisplayLinkRunning();
        live->runUntil(live->mediaTime() + 0.002);  // main work: the watchdog's start
    }
    engine.stop();
    live->runUntil(live->mediaTime() + 0.1);  // the state queue finishes what was queued

    EXPECT_GT(taken, 0);
    const auto events = testing::posted();
    EXPECT_FALSE(events.empty());
    for (const auto& p : events) {
        const double y = p.event.doubleValue(kCGScrollWheelEventPointDeltaAxis1);
        const double x = p.event.doubleValue(kCGScrollWheelEventPointDeltaAxis2);
        ASSERT_TRUE(std::isfinite(y) && std::isfinite(x));
        EXPECT_EQ(y, std::round(y));
        EXPECT_EQ(x, std::round(x));
        EXPECT_EQ(p.event.integerValue(kCGEventSourceUserData), 0x436F7276);
    }
}

}  // namespace
}  // namespace corvane
