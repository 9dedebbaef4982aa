#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/NSApplicationDelegate.h"
#include "platform/appkit/RunningApplication.h"

namespace corvane::platform {

class NSWindow;

/// The application's tile in the Dock.
class NSDockTile {
  public:
    /// The text of the badge on the tile; empty: no badge.
    const std::string& badgeLabel() const { return badgeLabel_; }
    void setBadgeLabel(std::string label) { badgeLabel_ = std::move(label); }

  private:
    std::string badgeLabel_;
};

/// The application object: its delegate, launching, activation and activation policy, the
/// windows on screen, reopening and termination. Main thread only.
class NSApplication {
  public:
    /// What runs the main run loop once launching has finished: the live session's event
    /// loop. Without one (the simulated session) `run` returns after launching and whoever
    /// drives the session moves its clock.
    class EventLoop {
      public:
        virtual ~EventLoop() = default;
        /// Runs the main run loop until `stop`.
        virtual void run() = 0;
        /// Makes `run` return (at once when it has not started yet).
        virtual void stop() = 0;
    };

    /// The instance (`NSApp`), created on first use, never destroyed.
    static NSApplication& shared();

    /// The delegate, not owned (whoever sets it keeps it alive); null: none.
    NSApplicationDelegate* delegate() const { return delegate_; }
    void setDelegate(NSApplicationDelegate* delegate) { delegate_ = delegate; }
    /// Installs the event loop that `run` hands over to.
    void setEventLoop(std::shared_ptr<EventLoop> loop) { eventLoop_ = std::move(loop); }

    /// Finishes launching (once): the delegate's `applicationWillFinishLaunching`, then its
    /// `applicationDidFinishLaunching`.
    void finishLaunching();
    bool isFinishedLaunching() const { return finishedLaunching_; }
    /// Finishes launching, then runs the event loop, if one is installed, until the
    /// application terminates. Returns the process's exit status (0).
    int run();

    /// Makes the application active; with `ignoringOtherApps` even while another
    /// application is frontmost. An application whose policy is `prohibited` stays inactive.
    void activate(bool ignoringOtherApps);
    bool isActive() const { return active_; }
    /// How often activation was asked for.
    int activationCount() const { return activations_; }

    /// Whether the application shows in the Dock and may be made active; `regular` until set.
    ActivationPolicy activationPolicy() const;
    /// Sets the policy; true (every policy is accepted here). The workspace's entry of this
    /// application reports it from then on.
    bool setActivationPolicy(ActivationPolicy policy);

    /// The application's Dock tile.
    NSDockTile& dockTile() { return dockTile_; }

    /// Whether the application runs (it stops running when told to terminate).
    bool isRunning() const { return running_; }
    /// Ends the application (once): the delegate's `applicationWillTerminate`, then the
    /// event loop stops.
    void terminate();

    /// The user opens the running application again (the Dock icon, Finder): asks the
    /// delegate's `applicationShouldHandleReopen` with whether any window is visible, and
    /// returns its answer (true without a delegate).
    bool reopen();
    /// Whether any window of the application is on screen and visible.
    bool hasVisibleWindows() const;

    /// The windows on screen, frontmost first.
    std::vector<std::shared_ptr<NSWindow>> windows() const;
    /// The key window, or null.
    NSWindow* keyWindow() const;

    // Used by windows as they come and go.
    void windowOrderedFront(const std::shared_ptr<NSWindow>& window, bool makeKey);
    void windowOrderedOut(NSWindow& window);

  private:
    NSApplication() = default;
    NSApplicationDelegate* delegate_ = nullptr;
    std::shared_ptr<EventLoop> eventLoop_;
    bool finishedLaunching_ = false;
    bool active_ = false;
    bool running_ = true;
    int activations_ = 0;
    NSDockTile dockTile_;
    std::vector<std::shared_ptr<NSWindow>> onScreen_;
    NSWindow* keyWindow_ = nullptr;
};

}  // namespace corvane::platform
