#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Image.h"
#include "platform/appkit/RunningApplication.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/URL.h"

namespace corvane::platform {

/// Posted on the workspace's notification centre, on the main queue, when the user's login
/// session becomes the active one again (fast user switching back, the screen unlocked).
inline const std::string NSWorkspaceSessionDidBecomeActiveNotification =
    "NSWorkspaceSessionDidBecomeActiveNotification";
/// Posted on the workspace's notification centre, on the main queue, when the user's login
/// session stops being the active one.
inline const std::string NSWorkspaceSessionDidResignActiveNotification =
    "NSWorkspaceSessionDidResignActiveNotification";

/// Posted on the workspace's notification centre, on the main queue, when another
/// application becomes frontmost; the user info's "processIdentifier" names it.
inline const std::string NSWorkspaceDidActivateApplicationNotification =
    "NSWorkspaceDidActivateApplicationNotification";

/// The shared workspace: the session's running applications and the installed applications,
/// from the installed `WorkspaceBackend`, and the opening of URLs, from the installed
/// `URLOpenerBackend`.
class Workspace {
  public:
    static Workspace& shared();

    /// Every running application, in the session's list order.
    std::vector<RunningApplicationRef> runningApplications() const;
    /// The application that receives keyboard input, or null when there is none.
    RunningApplicationRef frontmostApplication() const;
    /// The location of the installed application with `bundleIdentifier`, or none.
    std::optional<URL> urlForApplication(const std::string& bundleIdentifier) const;
    /// The icon of the file at `path`; a generic document icon for a file the session does
    /// not know.
    Image iconForFile(const std::string& path) const;
    /// Opens `url` with its default handler. True when it opened: the simulated session
    /// decides which schemes open and records every request; the live application hands the
    /// URL to the desktop.
    bool open(const URL& url);

    /// The workspace's own notification centre (not the default one): session changes and
    /// application activations.
    NotificationCenter& notificationCenter() { return notificationCenter_; }

  private:
    Workspace() = default;
    NotificationCenter notificationCenter_;
};

}  // namespace corvane::platform
