#pragma once

#include "platform/appkit/DesktopBackend.h"

namespace corvane::platform::live {

/// The live backend's desktop. This machine has no screen of the platform: the main screen is
/// a 1440 x 900 screen with 25 points of menu bar and 70 points of Dock, and the alert sound
/// is silent.
class LiveDesktop final : public DesktopBackend {
  public:
    std::optional<NSScreen> mainScreen() const override {
        return NSScreen{CGRectMake(0, 0, 1440, 900), CGRectMake(0, 70, 1440, 805)};
    }
    void beep() override {}
};

}  // namespace corvane::platform::live
