#pragma once

#include <optional>

#include "platform/appkit/DesktopBackend.h"
#include "platform/appkit/NSScreen.h"

namespace corvane::platform::sim {

/// The simulated session's desktop: its screens and a record of the alert sounds played.
class Desktop final : public DesktopBackend {
  public:
    /// The main screen; by default a 1440 x 900 screen whose visible frame leaves 25 points
    /// of menu bar at the top and 70 points of Dock at the bottom.
    std::optional<NSScreen> mainScreen() const override { return mainScreen_; }
    /// The knob: another main screen, or none (no screen attached).
    void setMainScreen(std::optional<NSScreen> screen) { mainScreen_ = screen; }

    /// Records the alert sound.
    void beep() override { ++beeps_; }
    /// Alert sounds played so far.
    int beepCount() const { return beeps_; }

  private:
    std::optional<NSScreen> mainScreen_ =
        NSScreen{CGRectMake(0, 0, 1440, 900), CGRectMake(0, 70, 1440, 805)};
    int beeps_ = 0;
};

}  // namespace corvane::platform::sim
