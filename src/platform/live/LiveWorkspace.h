#pragma once

#include <map>
#include <mutex>

#include "platform/appkit/WorkspaceBackend.h"
#include "platform/foundation/BundleBackend.h"
#include "platform/process/ProcessBackend.h"

namespace corvane::platform::live {

/// The live backend's workspace. This machine has no workspace of the platform: the running
/// applications are this program's copies of the calling user (`RunningCopies`, this process
/// among them, oldest first, with the main bundle's identity; this process's entry has the
/// application object's activation policy, the others, whose policy cannot be known, are
/// listed as regular), and asking one to quit sends it SIGTERM; no other bundle is installed
/// and nothing is frontmost (URLs are opened by the desktop, `qt::installQtServices`).
/// Process paths are the executables the system reports for them. Usable from any thread.
class LiveWorkspace final : public WorkspaceBackend, public BundleBackend, public ProcessBackend {
  public:
    LiveWorkspace();

    std::vector<RunningApplicationRef> runningApplications() const override;
    RunningApplicationRef application(pid_t pid) const override;
    RunningApplicationRef frontmost() const override { return nullptr; }
    /// Sends SIGTERM to a listed copy; false for any other process, or one that has ended.
    bool requestTerminate(pid_t pid) override;
    std::optional<std::string> pathForBundleIdentifier(
        const std::string& /*bundleIdentifier*/) const override {
        return std::nullopt;
    }
    Image iconForFile(const std::string& path) const override;
    std::optional<Bundle> bundleAtPath(const std::string& /*path*/) const override {
        return std::nullopt;
    }
    std::optional<std::string> processPath(pid_t pid) const override;

  private:
    RunningApplicationRef own_;
    /// The copies listed so far by process, so that a process stays one object.
    mutable std::mutex mutex_;
    mutable std::map<pid_t, RunningApplicationRef> copies_;
};

}  // namespace corvane::platform::live
