#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Image.h"
#include "platform/appkit/RunningApplication.h"
#include "platform/foundation/URL.h"

namespace corvane::platform {

/// The session's processes and installed applications as the workspace sees them (URLs are
/// opened by the `URLOpenerBackend`).
class WorkspaceBackend {
  public:
    virtual ~WorkspaceBackend() = default;
    /// Every running application, this process included, in the session's list order.
    virtual std::vector<RunningApplicationRef> runningApplications() const = 0;
    /// The running application of `pid`, or null.
    virtual RunningApplicationRef application(pid_t pid) const = 0;
    /// The application that receives keyboard input, or null.
    virtual RunningApplicationRef frontmost() const = 0;
    /// Asks the running application of `pid` to quit; false when it was not running.
    virtual bool requestTerminate(pid_t pid) = 0;
    /// The path of the installed application with `bundleIdentifier`, or none.
    virtual std::optional<std::string> pathForBundleIdentifier(
        const std::string& bundleIdentifier) const = 0;
    /// The icon of the file at `path`.
    virtual Image iconForFile(const std::string& path) const = 0;
};

/// Installs the workspace backend of the process.
void installWorkspaceBackend(std::shared_ptr<WorkspaceBackend> backend);
/// The installed workspace backend (for the interface's own .cpp files).
WorkspaceBackend& workspaceBackend();

}  // namespace corvane::platform
