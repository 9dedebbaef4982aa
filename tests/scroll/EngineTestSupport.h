#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/quartz/CGEvent.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "scroll/AxisPair.h"
#include "scroll/ScrollEngineCV.h"
#include "support/SimSession.h"

namespace corvane::testing {

/// The values the coordinator hands over at the default settings, seconds.
struct TickValues {
    double duration = 0.35;
    double accelerationLimit = 7;
    double accelerationThreshold = 0.05;
    double followerTau = 0.03;
};

/// A wheel tick as the coordinator hands it over: one line down with its point delta, at
/// `location`, aimed at `pid`.
inline platform::CGEventRef wheelTick(platform::CGPoint location = {100, 100},
                                      platform::pid_t pid = 0) {
    return platform::sim::WheelEvent{
        .location = location, .target = pid, .lineY = 1, .lineX = 0, .pointY = 10, .fixedY = 1}
        .create();
}

inline ScrollEngineCV& engine() {
    return ScrollEngineCV::shared();
}

/// Runs `work` at once as work of the engine's state queue: how a test calls the functions
/// that run only on "ScrollEngine.stateQ" by hand.
inline void onStateQueue(const std::function<void()>& work) {
    rt().runOnQueueForTesting(engine().stateQueueForTesting(), work);
}

/// `handleInput` with the default values.
inline bool tick(double dy, double dx = 0, const platform::CGEventRef& event = wheelTick(),
                 TickValues v = {}) {
    return engine().handleInput(event, v.duration, v.accelerationLimit, v.accelerationThreshold,
                                v.followerTau, dy, dx);
}

inline std::vector<platform::sim::PostedEvent> posted() {
    return platform::sim::session().windowServer().postedEvents();
}

/// The point deltas of every posted event, added up.
inline AxisPair postedTotal() {
    AxisPair total;
    for (const auto& p : posted()) {
        total += AxisPair{p.event.doubleValue(platform::kCGScrollWheelEventPointDeltaAxis1),
                          p.event.doubleValue(platform::kCGScrollWheelEventPointDeltaAxis2)};
    }
    return total;
}

/// Whether `message` was logged.
inline bool logged(const std::string& message) {
    for (const auto& m : loggedMessages()) {
        if (m == message) {
            return true;
        }
    }
    return false;
}

}  // namespace corvane::testing
