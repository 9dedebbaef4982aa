#pragma once

#include "platform/foundation/NotificationCenter.h"

namespace corvane::platform {

/// The application object's delegate: told when launching is about to finish and has
/// finished, asked when the user opens the running application again, and told when the
/// application terminates. Every call arrives on the main thread.
class NSApplicationDelegate {
  public:
    virtual ~NSApplicationDelegate() = default;

    /// Launching is about to finish: nothing of the application has run yet.
    virtual void applicationWillFinishLaunching(const Notification& notification) {
        (void)notification;
    }
    /// Launching has finished: the main run loop runs from now on.
    virtual void applicationDidFinishLaunching(const Notification& notification) {
        (void)notification;
    }
    /// The user opened the application again; `hasVisibleWindows` says whether any window is
    /// on screen. The answer is whether the application object should do its own handling.
    virtual bool applicationShouldHandleReopen(bool hasVisibleWindows) {
        (void)hasVisibleWindows;
        return true;
    }
    /// The application is about to end.
    virtual void applicationWillTerminate(const Notification& notification) { (void)notification; }
};

/// The notifications the application object hands its delegate.
inline const std::string NSApplicationWillFinishLaunchingNotification =
    "NSApplicationWillFinishLaunchingNotification";
inline const std::string NSApplicationDidFinishLaunchingNotification =
    "NSApplicationDidFinishLaunchingNotification";
inline const std::string NSApplicationWillTerminateNotification =
    "NSApplicationWillTerminateNotification";

}  // namespace corvane::platform
