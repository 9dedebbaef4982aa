#pragma once

#include <atomic>
#include <memory>
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
/// from any thread. Reading takes no lock and copies nothing (display lookups run on every
/// wheel tick): every configuration set stays alive with the object, so a reader still
/// walking an earlier one never meets freed memory. Configurations change rarely (a display
/// added or removed), so keeping them costs little.
class DisplayConfiguration {
  public:
    DisplayConfiguration() { publish({Display{1, CGRect{{0, 0}, 1920, 1080}, 60}}); }
    DisplayConfiguration(const DisplayConfiguration&) = delete;
    DisplayConfiguration& operator=(const DisplayConfiguration&) = delete;

    /// Replaces every display.
    void setDisplays(std::vector<Display> displays) {
        std::lock_guard lock(writeMutex_);
        publish(std::move(displays));
    }
    std::vector<Display> displays() const { return current(); }
    /// The display with this identifier, if the session has it.
    std::optional<Display> find(CGDirectDisplayID id) const {
        for (const Display& display : current()) {
            if (display.id == id) {
                return display;
            }
        }
        return std::nullopt;
    }
    /// Calls `visit` for every display, in order (no lock, no copy, no allocation).
    template <class Visit>
    void forEachDisplay(Visit&& visit) const {
        for (const Display& display : current()) {
            visit(display);
        }
    }

  private:
    using Displays = std::vector<Display>;

    const Displays& current() const { return *current_.load(std::memory_order_acquire); }
    /// Keeps `displays` and makes it the current configuration; the writer's lock is held
    /// (or the object is being made).
    void publish(Displays displays) {
        kept_.push_back(std::make_unique<const Displays>(std::move(displays)));
        current_.store(kept_.back().get(), std::memory_order_release);
    }

    std::mutex writeMutex_;
    std::vector<std::unique_ptr<const Displays>> kept_;  ///< every configuration set, in order
    std::atomic<const Displays*> current_{nullptr};
};

}  // namespace corvane::platform
