#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace corvane {

/// The numeric scroll parameters and the blocking modifier keys, global or of one exception.
struct ScrollAdvanced {
    /// Virtual key codes of the modifiers that suspend smoothing while held
    /// (55 left Command, 58 left Option, 59 left Control).
    std::vector<std::int64_t> block{55, 58, 59};
    double step = 90;                   ///< points of scroll per wheel tick
    double duration = 350;              ///< one tick's animation, milliseconds
    double accelerationThreshold = 50;  ///< longest gap between ticks that accelerates, ms
    double accelerationLimit = 7;       ///< largest acceleration multiplier
    double smoothness = 30;             ///< time constant of the output follower, ms

    /// Same codes in the same order, and the five numbers numerically equal.
    bool operator==(const ScrollAdvanced&) const = default;
};

}  // namespace corvane

/// Hashes the length of `block`, each code, then the five numbers, so that values that
/// compare equal hash equal (0 and -0 included).
template <>
struct std::hash<corvane::ScrollAdvanced> {
    std::size_t operator()(const corvane::ScrollAdvanced& advanced) const noexcept;
};
