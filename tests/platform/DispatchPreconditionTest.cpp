// The debug thread checks on both runtimes: silent where the caller runs where it must; on
// the wrong thread they end the process with a message naming the function, where it ran
// and where it must run.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "platform/dispatch/DispatchPrecondition.h"
#include "platform/live/ThreadRuntime.h"
#include "support/ThreadCheckTest.h"

namespace corvane::platform {
namespace {

using testing::rt;

void mustRunOnMain() {
    CORVANE_ASSERT_MAIN_THREAD();
}

using DispatchPreconditionTest = testing::ThreadCheckTest;

// On the simulated session every queue is a lane: its work passes the queue's check, the test
// body is the main thread, and each fails the other's check.
TEST_F(DispatchPreconditionTest, SimulatedLanes) {
    auto queue = rt().makeSerialQueue("Test.queue", QualityOfService::utility);
    bool ran = false;
    queue->async([&] {
        CORVANE_ASSERT_ON_QUEUE(*queue);
        ran = true;
    });
    rt().runPending();
    EXPECT_TRUE(ran);
    mustRunOnMain();

    EXPECT_DEATH(CORVANE_ASSERT_ON_QUEUE(*queue),
                 "TestBody ran on \"main\", but runs only on \"Test.queue\"");
    EXPECT_DEATH(
        {
            queue->async(mustRunOnMain);
            rt().runPending();
        },
        "mustRunOnMain ran on \"Test.queue\", but runs only on the main thread");
}

// On the thread runtime a queue's own thread passes its check and the main thread passes
// the main check; main work on a queue's thread names that queue.
TEST_F(DispatchPreconditionTest, LiveThreads) {
    auto live = std::make_shared<live::ThreadRuntime>();
    installRuntime(live);
    auto queue = live->makeSerialQueue("Test.live", QualityOfService::utility);
    std::atomic<bool> ran{false};
    queue->async([&] {
        CORVANE_ASSERT_ON_QUEUE(*queue);
        ran = true;
    });
    EXPECT_TRUE(live->runUntil([&] { return ran.load(); }, live->mediaTime() + 10));
    mustRunOnMain();

    EXPECT_DEATH(
        {
            queue->async(mustRunOnMain);
            live->runUntil(live->mediaTime() + 10);  // the check ends the process first
        },
        "mustRunOnMain ran on \"Test.live\", but runs only on the main thread");
}

}  // namespace
}  // namespace corvane::platform
