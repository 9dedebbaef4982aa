#pragma once

#include <chrono>

namespace corvane::platform::live {

/// Ticks of the live host clock per second (nanoseconds).
inline constexpr double kHostClockFrequency = 1e9;

/// The live media clock: seconds of the monotonic clock (time since boot here, as the host
/// media clock is), never 0 on a running machine.
inline double steadySeconds() {
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

/// The monotonic clock's time point for `seconds` of the live media clock. A deadline the
/// clock cannot hold (infinite for "never", or beyond about 292 years of nanoseconds) gives
/// the clock's last or first time point instead of an out-of-range conversion.
inline std::chrono::steady_clock::time_point steadyTimePoint(double seconds) {
    using Seconds = std::chrono::duration<double>;
    constexpr double kLimit = 9.2e9;  ///< seconds, within the 64-bit nanosecond range
    if (!(seconds < kLimit))
        return std::chrono::steady_clock::time_point::max();
    if (seconds < -kLimit)
        return std::chrono::steady_clock::time_point::min();
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(Seconds(seconds)));
}

}  // namespace corvane::platform::live
