#pragma once

#include <optional>

#include "platform/appkit/Geometry.h"

namespace corvane::platform {

/// A screen: its frame and its visible frame (without the menu bar and the Dock), in points
/// with the origin at the bottom left of the main screen.
struct NSScreen {
    CGRect frame;
    CGRect visibleFrame;

    /// The screen with the key window, or the first screen; none when there is no screen.
    static std::optional<NSScreen> mainScreen();
};

}  // namespace corvane::platform
