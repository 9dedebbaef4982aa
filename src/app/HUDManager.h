#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/NSWindow.h"

namespace corvane {

/// Shows short status messages as a HUD: a square, borderless, translucent window centred
/// on the main screen, floating above other windows and letting clicks through, that fades
/// in, stays, and fades out by itself. Main thread only.
class HUDManager {
  public:
    /// The instance, created on first use (logging "Module initialized: HUDManager"), never
    /// destroyed.
    static HUDManager& shared();

    /// Shows `message` in a new window of `size` x `size` points. It is fully visible 0.25 s
    /// after the call, begins to fade out `duration` seconds after the call and is ordered
    /// out 0.4 s later. A HUD still showing goes on under its own schedule, behind this one.
    void show(const std::string& message, double duration, double size);

    /// One message as it was shown.
    struct ShownMessage {
        std::string text;
        double duration = 0;  ///< seconds
        double size = 0;      ///< points
        double shownAt = 0;   ///< media time of the call, seconds

        bool operator==(const ShownMessage&) const = default;
    };
    /// The messages shown so far, oldest first (the latest `kKeptMessages`).
    const std::vector<ShownMessage>& shownMessages() const { return shown_; }
    static constexpr std::size_t kKeptMessages = 100;

    /// The most recently shown HUD window while it is on screen; null otherwise.
    const std::shared_ptr<platform::NSWindow>& window() const { return window_; }

    static constexpr double kFadeInDuration = 0.25;  ///< seconds
    static constexpr double kFadeOutDuration = 0.4;  ///< seconds

  private:
    HUDManager();
    void fadeOut(const std::weak_ptr<platform::NSWindow>& window);

    std::shared_ptr<platform::NSWindow> window_;
    std::vector<ShownMessage> shown_;
};

}  // namespace corvane
