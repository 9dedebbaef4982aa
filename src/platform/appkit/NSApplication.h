#pragma once

#include <memory>
#include <vector>

namespace corvane::platform {

class NSWindow;

/// The application object: activation, the windows on screen and termination.
class NSApplication {
  public:
    /// The instance (`NSApp`), created on first use, never destroyed.
    static NSApplication& shared();

    /// Makes the application active; with `ignoringOtherApps` even while another
    /// application is frontmost.
    void activate(bool ignoringOtherApps);
    bool isActive() const { return active_; }
    /// How often activation was asked for.
    int activationCount() const { return activations_; }

    /// Whether the application runs (it stops running when told to terminate).
    bool isRunning() const { return running_; }
    void terminate();

    /// The windows on screen, frontmost first.
    std::vector<std::shared_ptr<NSWindow>> windows() const;
    /// The key window, or null.
    NSWindow* keyWindow() const;

    // Used by windows as they come and go.
    void windowOrderedFront(const std::shared_ptr<NSWindow>& window, bool makeKey);
    void windowOrderedOut(NSWindow& window);

  private:
    NSApplication() = default;
    bool active_ = false;
    bool running_ = true;
    int activations_ = 0;
    std::vector<std::shared_ptr<NSWindow>> onScreen_;
    NSWindow* keyWindow_ = nullptr;
};

}  // namespace corvane::platform
