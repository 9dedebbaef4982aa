#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace corvane::platform {

/// The frames of a display sit on a grid of whole multiples of its refresh period on the media
/// clock. Shared by every display-link implementation.
struct FrameGrid {
    /// Seconds per frame; a rate that is not a positive finite number counts as 60 Hz.
    static double periodFor(double refreshRate) {
        return std::isfinite(refreshRate) && refreshRate > 0 ? 1.0 / refreshRate : 1.0 / 60.0;
    }

    double period;  ///< seconds per frame

    /// Media time of frame `index`, seconds.
    double timeOf(std::uint64_t index) const { return static_cast<double>(index) * period; }

    /// Index of the first frame strictly after `time` (seconds).
    std::uint64_t firstIndexAfter(double time) const {
        auto index = static_cast<std::uint64_t>(std::floor(std::max(time, 0.0) / period)) + 1;
        while (timeOf(index) <= time) {
            ++index;
        }
        return index;
    }

    /// Ticks of a host clock that runs at `frequency` ticks per second at `time` (seconds),
    /// rounded to the nearest tick.
    static std::uint64_t hostTicks(double time, double frequency) {
        return static_cast<std::uint64_t>(std::llround(time * frequency));
    }
};

}  // namespace corvane::platform
