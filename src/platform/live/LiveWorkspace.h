#pragma once

#include "platform/appkit/WorkspaceBackend.h"
#include "platform/foundation/BundleBackend.h"
#include "platform/process/ProcessBackend.h"

namespace corvane::platform::live {

/// The live backend's workspace. This machine has no workspace of the platform: the only
/// running application is this process (with the main bundle's identity), no other bundle is
/// installed, nothing is frontmost and no URL opens. Process paths are the executables the
/// system reports for them. Usable from any thread.
class LiveWorkspace final : public WorkspaceBackend, public BundleBackend, public ProcessBackend {
  public:
    LiveWorkspace();

    std::vector<RunningApplicationRef> runningApplications() const override { return {own_}; }
    RunningApplicationRef application(pid_t pid) const override;
    RunningApplicationRef frontmost() const override { return nullptr; }
    /// False: no other application can be reached, and this one quits through its
    /// application object.
    bool requestTerminate(pid_t /*pid*/) override { return false; }
    std::optional<std::string> pathForBundleIdentifier(
        const std::string& /*bundleIdentifier*/) const override {
        return std::nullopt;
    }
    Image iconForFile(const std::string& path) const override;
    bool open(const URL& /*url*/) override { return false; }
    std::optional<Bundle> bundleAtPath(const std::string& /*path*/) const override {
        return std::nullopt;
    }
    std::optional<std::string> processPath(pid_t pid) const override;

  private:
    RunningApplicationRef own_;
};

}  // namespace corvane::platform::live
