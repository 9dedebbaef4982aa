#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "platform/quartz/CGDisplay.h"

namespace corvane::platform {

/// One screen of the session.
struct Display {
    CGDirectDisplayID id = 0;
    CGRect bounds;            ///< global coordinates, points
    double refreshRate = 60;  ///< frames per second
    bool operator==(const Display&) const = default;
};

/// The session's screens, as plain data that a backend keeps: what display lookups and
/// display links see. Starts with one 1920 x 1080 display, identifier 1, at 60 Hz. Usable
/// from any thread.
class DisplayConfiguration {
  public:
    DisplayConfiguration() : displays_{Display{1, CGRect{{0, 0}, 1920, 1080}, 60}} {}

    /// Replaces every display.
    void setDisplays(std::vector<Display> displays) {
        std::lock_guard lock(mutex_);
        displays_ = std::move(displays);
    }
    std::vector<Display> displays() const {
        std::lock_guard lock(mutex_);
        return displays_;
    }
    /// The display with this identifier, if the session has it.
    std::optional<Display> find(CGDirectDisplayID id) const {
        std::lock_guard lock(mutex_);
        for (const Display& display : displays_) {
            if (display.id == id) {
                return display;
            }
        }
        return std::nullopt;
    }
    /// Calls `visit` for every display, in order, under the configuration's lock (no copy,
    /// no allocation: display lookups run on every wheel tick).
    template <class Visit>
    void forEachDisplay(Visit&& visit) const {
        std::lock_guard lock(mutex_);
        for (const Display& display : displays_) {
            visit(display);
        }
    }

  private:
    mutable std::mutex mutex_;
    std::vector<Display> displays_;
};

}  // namespace corvane::platform
