#pragma once

#include <ostream>

#include "scroll/AxisPair.h"

namespace corvane {

/// The animation of one wheel tick: its whole displacement, eased in over the engine's
/// duration from the tick's arrival.
struct ScrollFiber {
    AxisPair step;         ///< the tick's whole displacement after acceleration, points
    AxisPair value;        ///< the increment applied in the latest frame, points
    AxisPair last;         ///< the displacement applied so far, points
    double startTime = 0;  ///< the tick's arrival, seconds of the media clock

    bool operator==(const ScrollFiber&) const = default;

    friend std::ostream& operator<<(std::ostream& out, const ScrollFiber& fiber) {
        return out << "ScrollFiber{step " << fiber.step << ", value " << fiber.value << ", last "
                   << fiber.last << ", startTime " << fiber.startTime << "}";
    }
};

}  // namespace corvane
