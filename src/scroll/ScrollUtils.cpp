#include "scroll/ScrollUtils.h"

#include <limits>

#include "platform/quartz/CGWindowList.h"
#include "scroll/EventProcess.h"
#include "settings/Logger.h"
#include "settings/SettingsManager.h"

namespace corvane {

namespace {

/// How long a scan that did not find Launchpad is reused, seconds.
constexpr double kLaunchpadScanPeriod = 1.0;

bool launchpadWindowOnScreen() {
    auto windows = platform::CGWindowListCopyWindowInfo(platform::kCGWindowListOptionOnScreenOnly,
                                                        platform::kCGNullWindowID);
    if (!windows)
        return false;
    for (const auto& window : *windows) {
        auto name = window.find(platform::kCGWindowName);
        if (name != window.end() && name->second.string() != nullptr &&
            *name->second.string() == kLaunchpadWindowName) {
            return true;
        }
    }
    return false;
}

/// Whether `application` runs the Dock's executable (its executable URL exists and its path is
/// exactly the Dock's). Reads the path in place: a change of target allocates nothing.
bool runsDockExecutable(const platform::RunningApplication& application) {
    const auto& url = application.executableURL();
    return url && url->hasPath(kDockExecutablePath);
}

}  // namespace

ScrollUtils& ScrollUtils::shared() {
    static auto* utils = new ScrollUtils();
    return *utils;
}

ScrollUtils::ScrollUtils() {
    logModuleInitialized("ScrollUtils");
}

const platform::RunningApplicationRef& ScrollUtils::targetApplication(
    const platform::CGEventRef& event) {
    static const platform::RunningApplicationRef kNone;
    const platform::pid_t pid = eventProcess(event, platform::kCGEventTargetUnixProcessID);
    if (pid == 1)
        return kNone;
    lastEventTargetPID_ = currEventTargetPID_;
    currEventTargetPID_ = pid;
    if (lastEventTargetPID_ != currEventTargetPID_) {
        cachedRunningApplication_ = platform::RunningApplication::withProcessIdentifier(pid);
        cachedApplicationIsDock_ =
            cachedRunningApplication_ && runsDockExecutable(*cachedRunningApplication_);
    }
    return cachedRunningApplication_;
}

bool ScrollUtils::isLaunchpadActive(const platform::RunningApplicationRef& application,
                                    double now) {
    if (!application)
        return false;
    const bool isDock = application == cachedRunningApplication_ ? cachedApplicationIsDock_
                                                                 : runsDockExecutable(*application);
    if (isDock) {
        launchpadActiveCache_ = true;
        return true;
    }
    if (!(now - launchpadLastDetectTime_ > kLaunchpadScanPeriod))
        return launchpadActiveCache_;
    if (launchpadWindowOnScreen()) {
        launchpadActiveCache_ = true;
        return true;
    }
    launchpadActiveCache_ = false;
    launchpadLastDetectTime_ = now;
    return false;
}

std::vector<std::uint16_t> ScrollUtils::blockedKeyCodes() const {
    std::vector<std::uint16_t> codes;
    for (std::int64_t code : SettingsManager::shared().settings().scrollAdvanced.block) {
        if (code >= 0 && code <= std::numeric_limits<std::uint16_t>::max()) {
            codes.push_back(static_cast<std::uint16_t>(code));
        }
    }
    return codes;
}

}  // namespace corvane
