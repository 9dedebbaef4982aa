#pragma once

#include <ostream>
#include <vector>

#include "platform/quartz/CGEvent.h"
#include "scroll/ScrollCoordinator.h"

namespace corvane::testing {

/// What the coordinator handed the engine for one tick: duration, acceleration limit and
/// threshold, smoothness (seconds) and the two deltas (points).
struct EngineCall {
    double duration, limit, threshold, tau, dy, dx;
    bool operator==(const EngineCall&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const EngineCall& c) {
    return os << "engine(" << c.duration << ", " << c.limit << ", " << c.threshold << ", " << c.tau
              << ", dy " << c.dy << ", dx " << c.dx << ")";
}

/// Replaces the coordinator's engine by a recorder that appends each call to `calls` and
/// answers `taken`.
inline void recordEngineCalls(std::vector<EngineCall>& calls, bool taken = true) {
    ScrollCoordinator::shared().setEngineInputForTesting(
        [&calls, taken](const platform::CGEventRef&, double duration, double limit,
                        double threshold, double tau, double dy, double dx) {
            calls.push_back({duration, limit, threshold, tau, dy, dx});
            return taken;
        });
}

}  // namespace corvane::testing
