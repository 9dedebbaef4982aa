#pragma once

#include <cstdint>

#include "platform/quartz/CGEvent.h"

namespace corvane::platform {

/// Identifies one display of the session.
using CGDirectDisplayID = std::uint32_t;

/// The result of a Core Graphics call; 0 is success.
using CGError = std::int32_t;
constexpr CGError kCGErrorSuccess = 0;
constexpr CGError kCGErrorFailure = 1000;
constexpr CGError kCGErrorIllegalArgument = 1001;

/// Writes into `displays` (room for `maxDisplays`) the displays whose bounds contain `point`
/// (global coordinates, points), in the session's order, and into `matchingDisplayCount` how
/// many were written. With `displays` null it only counts the matches. A null count pointer
/// is an illegal argument.
CGError CGGetDisplaysWithPoint(CGPoint point, std::uint32_t maxDisplays,
                               CGDirectDisplayID* displays, std::uint32_t* matchingDisplayCount);

}  // namespace corvane::platform
