#pragma once

#include <memory>
#include <optional>

#include "platform/appkit/NSScreen.h"

namespace corvane::platform {

/// The desktop around the application's windows: its screens and the alert sound.
class DesktopBackend {
  public:
    virtual ~DesktopBackend() = default;
    /// The main screen, or none when no screen is attached.
    virtual std::optional<NSScreen> mainScreen() const = 0;
    /// Plays the alert sound.
    virtual void beep() = 0;
};

/// Installs the desktop backend of the process.
void installDesktopBackend(std::shared_ptr<DesktopBackend> backend);

}  // namespace corvane::platform
