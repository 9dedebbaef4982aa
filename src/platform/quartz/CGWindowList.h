#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/foundation/PlistValue.h"

namespace corvane::platform {

using CGWindowID = std::uint32_t;
using CGWindowListOption = std::uint32_t;

inline constexpr CGWindowListOption kCGWindowListOptionAll = 0;
inline constexpr CGWindowListOption kCGWindowListOptionOnScreenOnly = 1 << 0;
inline constexpr CGWindowID kCGNullWindowID = 0;

/// Keys of a window description.
inline constexpr const char* kCGWindowName = "kCGWindowName";
inline constexpr const char* kCGWindowOwnerName = "kCGWindowOwnerName";
inline constexpr const char* kCGWindowOwnerPID = "kCGWindowOwnerPID";
inline constexpr const char* kCGWindowNumber = "kCGWindowNumber";
inline constexpr const char* kCGWindowLayer = "kCGWindowLayer";

/// The descriptions of the session's windows, front to back; none when the window server
/// gives no list. `option` and `relativeToWindow` select as the platform does for the
/// on-screen list (`kCGWindowListOptionOnScreenOnly`, `kCGNullWindowID`); other
/// selections give every window.
std::optional<std::vector<PlistDictionary>> CGWindowListCopyWindowInfo(CGWindowListOption option,
                                                                       CGWindowID relativeToWindow);

}  // namespace corvane::platform
