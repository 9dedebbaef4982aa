// The scroll pipeline's debug thread checks: each function that the design puts on the
// state queue or the main thread ends the process, naming itself and where it ran, when
// called elsewhere.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "scroll/EngineTestSupport.h"
#include "scroll/ScrollCoordinator.h"
#include "support/CaseTable.h"
#include "support/ThreadCheckTest.h"

namespace corvane {
namespace {

using testing::engine;
using testing::PrintTo;

struct MisplacedCall {
    std::string name;
    std::function<void()> call;
    std::string message;  ///< what the check says, as a pattern
};

const std::string kOnStateQueue = "ran on \"main\", but runs only on \"ScrollEngine.stateQ\"";
const std::string kOnMain = "ran on \"ScrollEngine.stateQ\", but runs only on the main thread";

class ThreadChecksTest : public testing::ThreadCheckTest,
                         public ::testing::WithParamInterface<MisplacedCall> {};

TEST_P(ThreadChecksTest, NameTheFunctionAndWhereItRan) {
    EXPECT_DEATH(GetParam().call(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ThreadChecksTest,
    ::testing::Values(
        MisplacedCall{"enqueueOnMain",
                      [] { engine().enqueue(0.35, 1, 7, 0.05, 0.03, nullptr, 0, 90, 0); },
                      "ScrollEngineCV::enqueue " + kOnStateQueue},
        MisplacedCall{"frameStepOnMain", [] { engine().frameStep(1); },
                      "ScrollEngineCV::frameStep " + kOnStateQueue},
        MisplacedCall{"resetOnMain", [] { engine().reset(); },
                      "ScrollEngineCV::reset " + kOnStateQueue},
        MisplacedCall{"handleInputOnTheStateQueue",
                      [] { testing::onStateQueue([] { testing::tick(90); }); },
                      "ScrollEngineCV::handleInput " + kOnMain},
        MisplacedCall{"watchdogOnTheStateQueue",
                      [] { testing::onStateQueue([] { engine().watchdogTick(); }); },
                      "ScrollEngineCV::watchdogTick " + kOnMain},
        MisplacedCall{
            "coordinatorOnTheStateQueue",
            [] { testing::onStateQueue([] { ScrollCoordinator::shared().handleMouseDown(); }); },
            "ScrollCoordinator::handleMouseDown " + kOnMain}),
    testing::CaseName());

}  // namespace
}  // namespace corvane
