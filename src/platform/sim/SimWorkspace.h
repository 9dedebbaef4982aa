#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/appkit/Image.h"
#include "platform/appkit/RunningApplication.h"
#include "platform/appkit/URLOpenerBackend.h"
#include "platform/appkit/WorkspaceBackend.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/BundleBackend.h"
#include "platform/foundation/URL.h"
#include "platform/process/ProcessBackend.h"

namespace corvane::platform::sim {

/// One request to open a URL, as the session saw it.
struct OpenURLRequest {
    double mediaTime = 0;  ///< when it was asked
    std::string url;       ///< the URL's absolute string
    bool opened = false;   ///< what the session answered

    bool operator==(const OpenURLRequest&) const = default;
};

/// The simulated session's workspace: plain data that tests and the session driver set. It
/// holds the running applications (in list order) and the frontmost one, the installed
/// bundles with their icons, which URLs open, and the executable path of every process.
/// Every request to open a URL and every terminate request is recorded.
///
/// The application's own process runs in it, as on the real system: it is listed after
/// every process that the session launches (those stand for processes that were running
/// when the application started), under `kOwnProcessIdentifier` with the main bundle's
/// identifier and name as they are when the workspace is made, and the activation policy that
/// the application object has at each moment.
class SimWorkspace final : public WorkspaceBackend,
                           public URLOpenerBackend,
                           public BundleBackend,
                           public ProcessBackend {
  public:
    /// The process identifier of the application's own process.
    static constexpr pid_t kOwnProcessIdentifier = 300;

    SimWorkspace();

    // Running applications.

    /// Starts a process: listed before the own process and returned.
    RunningApplicationRef launch(RunningApplication::Description description);
    /// The process ends by itself: it leaves the running list (and stops being frontmost).
    void quit(pid_t pid);
    std::vector<RunningApplicationRef> runningApplications() const override;
    /// The running application of `pid`, or null.
    RunningApplicationRef application(pid_t pid) const override;
    bool isRunning(pid_t pid) const { return application(pid) != nullptr; }
    /// The application's own process.
    RunningApplicationRef ownApplication() const { return own_; }
    /// The knob: the application's bundle lies at `path` (the main bundle's path and the own
    /// process's bundle), as when it was launched from there. Call before launch.
    void setOwnBundlePath(const std::string& path);
    /// Makes the running application of `pid` frontmost; none (or a pid not running) leaves
    /// no frontmost application. When another application becomes frontmost, the
    /// workspace's notification centre gets `NSWorkspaceDidActivateApplicationNotification`
    /// on the main queue.
    void setFrontmost(std::optional<pid_t> pid);
    RunningApplicationRef frontmost() const override;

    /// A terminate request from a process: recorded, then honoured (the application quits).
    /// False when `pid` was not running.
    bool requestTerminate(pid_t pid) override;
    /// Every process asked to terminate, in order.
    std::vector<pid_t> terminateRequests() const;

    // Installed bundles.

    /// Installs `bundle` at its path (replacing one already there). `icon` becomes the icon
    /// of that path; without one the bundle gets an icon named after its path.
    void installBundle(Bundle bundle, std::optional<Image> icon = std::nullopt);
    /// The bundle installed at `path` (trailing slashes ignored), or none.
    std::optional<Bundle> bundleAtPath(const std::string& path) const override;
    /// The path of the first bundle installed with `bundleIdentifier`, or none.
    std::optional<std::string> pathForBundleIdentifier(
        const std::string& bundleIdentifier) const override;
    /// The icon for `path`: the one set or installed there, else `genericDocumentIcon()`.
    Image iconForFile(const std::string& path) const override;
    static Image genericDocumentIcon() { return Image{"NSGenericDocument", 32, 32}; }

    // Opening URLs.

    /// The schemes that open (lower case). By default: http, https, mailto, file and
    /// x-apple.systempreferences.
    void setOpenableSchemes(std::set<std::string> schemes);
    /// Makes one URL (by its absolute string) refuse to open, whatever its scheme.
    void setURLOpenRefused(const std::string& absoluteURL, bool refused);
    /// Answers a request to open `url` and records it.
    bool open(const URL& url) override;
    std::vector<OpenURLRequest> openURLRequests() const;

    // The login session.

    /// Whether the user's session is the active one; true at the start.
    bool isSessionActive() const;
    /// The session stops being the active one: on a change, the workspace's notification
    /// centre gets `NSWorkspaceSessionDidResignActiveNotification` on the main queue.
    void resignSession();
    /// The session becomes the active one again: on a change, the workspace's notification
    /// centre gets `NSWorkspaceSessionDidBecomeActiveNotification` on the main queue.
    void activateSession();

    // Process information.

    /// Sets the executable path reported for `pid` (any bytes, not necessarily UTF-8); none
    /// removes it. Without one, a running application's executable URL gives the path.
    void setProcessPath(pid_t pid, std::optional<std::string> path);
    /// The executable path of `pid`, or none for a process the session does not know.
    std::optional<std::string> processPath(pid_t pid) const override;

  private:
    RunningApplicationRef applicationLocked(pid_t pid) const;
    static RunningApplicationRef makeOwnApplication();
    void removeLocked(pid_t pid);

    mutable std::mutex mutex_;
    std::vector<RunningApplicationRef> running_;  // the own process last
    RunningApplicationRef own_;
    std::optional<pid_t> frontmost_;
    std::vector<pid_t> terminateRequests_;
    std::vector<Bundle> bundles_;  // installation order
    std::map<std::string, Image> icons_;
    std::set<std::string> openableSchemes_;
    std::set<std::string> refusedURLs_;
    std::vector<OpenURLRequest> openRequests_;
    std::map<pid_t, std::string> processPaths_;
    bool sessionActive_ = true;
};

}  // namespace corvane::platform::sim
