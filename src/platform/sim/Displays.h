#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "platform/quartz/CGDisplay.h"

namespace corvane::platform::sim {

/// One screen of the session.
struct Display {
    CGDirectDisplayID id = 0;
    CGRect bounds;            ///< global coordinates, points
    double refreshRate = 60;  ///< frames per second
    bool operator==(const Display&) const = default;
};

/// The session's screens: what display lookups and display links see. The live runtime on
/// this machine has no screens of its own and uses the same configuration. Starts with one
/// 1920 x 1080 display, identifier 1, at 60 Hz. Usable from any thread.
class Displays {
public:
    static Displays& shared();

    /// Replaces every display.
    void setDisplays(std::vector<Display> displays);
    std::vector<Display> displays() const;
    /// The display with this identifier, if the session has it.
    std::optional<Display> find(CGDirectDisplayID id) const;
    /// Calls `visit` for every display, in order, under the configuration's lock (no copy,
    /// no allocation: display lookups run on every wheel tick).
    template <class Visit>
    void forEachDisplay(Visit&& visit) const {
        std::lock_guard lock(mutex_);
        for (const Display& display : displays_) {
            visit(display);
        }
    }

    /// Makes display lookups (`CGGetDisplaysWithPoint`) fail with `error`; 0 clears it.
    void setLookupError(CGError error);
    CGError lookupError() const;

private:
    Displays();

    mutable std::mutex mutex_;
    std::vector<Display> displays_;
    CGError lookupError_ = kCGErrorSuccess;
};

}  // namespace corvane::platform::sim
