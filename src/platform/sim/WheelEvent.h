#pragma once

#include <cstdint>
#include <optional>

#include "platform/quartz/CGEvent.h"

namespace corvane::platform::sim {

/// A wheel event as a device hands it to the window server, described as data: the tests,
/// the benchmarks and the session driver build their wheel events through it. Only the
/// fields given are written, so an event can also leave a field unset. Deltas are points
/// (point and fixed-point fields) or lines; vertical is axis 1, horizontal axis 2.
struct WheelEvent {
    CGPoint location{};
    std::optional<pid_t> target = std::nullopt;  ///< kCGEventTargetUnixProcessID
    std::optional<pid_t> source = std::nullopt;  ///< kCGEventSourceUnixProcessID
    std::optional<std::int64_t> lineY = std::nullopt;
    std::optional<std::int64_t> lineX = std::nullopt;
    std::optional<double> pointY = std::nullopt;
    std::optional<double> pointX = std::nullopt;
    std::optional<double> fixedY = std::nullopt;
    std::optional<double> fixedX = std::nullopt;
    std::optional<double> scrollPhase = std::nullopt;
    std::optional<double> momentumPhase = std::nullopt;
    std::optional<double> scrollCount = std::nullopt;
    CGEventFlags flags = 0;
    std::uint64_t timestamp = 0;  ///< nanoseconds of the host clock

    /// A new scroll-wheel event with these fields.
    CGEventRef create() const;
};

}  // namespace corvane::platform::sim
