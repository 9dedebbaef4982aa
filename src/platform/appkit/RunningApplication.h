#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Image.h"
#include "platform/foundation/URL.h"
#include "platform/quartz/CGEvent.h"

namespace corvane::platform {

/// Whether an application shows in the Dock and may be made active.
enum class ActivationPolicy {
    regular = 0,     ///< a Dock icon and a menu bar
    accessory = 1,   ///< no Dock icon; may show windows
    prohibited = 2,  ///< background only
};

class RunningApplication;
/// Running applications are shared by reference: the same process is the same object for as
/// long as the workspace lists it.
using RunningApplicationRef = std::shared_ptr<RunningApplication>;

/// One application process of the session.
class RunningApplication {
  public:
    /// What the session knows of the process.
    struct Description {
        pid_t processIdentifier = 0;
        std::optional<std::string> bundleIdentifier = std::nullopt;
        std::optional<std::string> localizedName = std::nullopt;
        std::optional<Image> icon = std::nullopt;
        std::optional<URL> bundleURL = std::nullopt;
        std::optional<URL> executableURL = std::nullopt;
        ActivationPolicy activationPolicy = ActivationPolicy::regular;
        /// The entry of this application's own process: its activation policy is the one
        /// the application object has at each moment, not `activationPolicy`.
        bool isCurrentApplication = false;
    };

    explicit RunningApplication(Description description) : d_(std::move(description)) {}
    RunningApplication(const RunningApplication&) = delete;
    RunningApplication& operator=(const RunningApplication&) = delete;

    pid_t processIdentifier() const { return d_.processIdentifier; }
    const std::optional<std::string>& bundleIdentifier() const { return d_.bundleIdentifier; }
    const std::optional<std::string>& localizedName() const { return d_.localizedName; }
    const std::optional<Image>& icon() const { return d_.icon; }
    const std::optional<URL>& bundleURL() const { return d_.bundleURL; }
    const std::optional<URL>& executableURL() const { return d_.executableURL; }
    /// The policy of the process; for this application's own entry the application
    /// object's policy now (start-up makes it an accessory). Usable from any thread.
    ActivationPolicy activationPolicy() const;

    /// Asks the application to quit (the ordinary request, not a forced kill). True when the
    /// request was sent, false when the process had already ended.
    bool terminate();
    /// Whether the process has ended.
    bool isTerminated() const { return terminated_.load(); }
    /// Marks the process as ended; the session calls it when the process leaves.
    void markTerminated() { terminated_.store(true); }

    /// The running applications with `bundleIdentifier`, in the workspace's list order.
    static std::vector<RunningApplicationRef> runningApplications(
        const std::string& bundleIdentifier);
    /// The running application of process `pid`, or null when there is none.
    static RunningApplicationRef withProcessIdentifier(pid_t pid);
    /// This application: its process, what its main bundle says of it (its location,
    /// identifier and name: "CFBundleDisplayName", else "CFBundleName", else none) and the
    /// application object's activation policy.
    static RunningApplicationRef currentApplication();

  private:
    friend class NSApplication;
    /// The policy of this application's own process, which its application object sets
    /// (`regular` until then). Any thread.
    static ActivationPolicy ownPolicy();
    static void setOwnPolicy(ActivationPolicy policy);

    Description d_;
    std::atomic<bool> terminated_{false};
};

}  // namespace corvane::platform
