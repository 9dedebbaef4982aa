// The live work loop's hand-over between the threads that post and the one that waits.
#include <gtest/gtest.h>

#include "platform/live/SteadyClock.h"
#include "platform/live/WorkLoop.h"

namespace corvane::platform::live {
namespace {

/// How long a wait that should end at once may take before the test counts it as lost,
/// seconds.
constexpr double kPatience = 10.0;

// An interrupt that lands after the waiter last looked at its state and before it sleeps (the
// main pump checks for a stop, then waits) still ends that wait: `ThreadRuntime::stop` from
// another thread would otherwise leave an idle `run` asleep for good.
TEST(WorkLoopTest, AnInterruptBeforeTheWaitEndsIt) {
    WorkLoop loop;
    loop.interrupt();
    const double deadline = steadySeconds() + kPatience;
    loop.waitUntil(deadline);
    EXPECT_LT(steadySeconds(), deadline) << "the interrupt was lost";
}

}  // namespace
}  // namespace corvane::platform::live
