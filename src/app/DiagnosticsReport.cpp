#include "app/DiagnosticsReport.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/HUDManager.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/appkit/NSPasteboard.h"
#include "platform/appkit/RunningApplication.h"
#include "platform/appkit/Workspace.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/ISO8601DateFormatter.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/URL.h"
#include "scroll/EventTapInterceptor.h"
#include "scroll/ScrollCoordinator.h"
#include "scroll/ScrollEngineCV.h"
#include "settings/Logger.h"
#include "settings/SettingsManager.h"
#include "settings/Utils.h"
#include "settings/WholeNumber.h"

namespace corvane {

namespace {

const char* onOff(bool on) {
    return on ? "on" : "off";
}

std::string tapState(const std::shared_ptr<EventTapInterceptor>& interceptor) {
    if (!interceptor)
        return "not created";
    return interceptor->isEnabled() ? "enabled" : "DISABLED";
}

std::string joinedOrNotDetected(const std::vector<std::string>& entries) {
    if (entries.empty())
        return "not detected";
    std::string text;
    for (const auto& entry : entries) {
        if (!text.empty())
            text += ", ";
        text += entry;
    }
    return text;
}

/// "Name (bundle id, pid N)" for each running application with a bundle identifier that
/// `matches` accepts, in the workspace's order.
std::vector<std::string> applicationEntries(
    const std::function<bool(const std::string& bundleIdentifier)>& matches) {
    std::vector<std::string> entries;
    for (const auto& app : platform::Workspace::shared().runningApplications()) {
        const auto& bundleId = app->bundleIdentifier();
        if (!bundleId || !matches(*bundleId))
            continue;
        entries.push_back(app->localizedName().value_or(*bundleId) + " (" + *bundleId + ", pid " +
                          std::to_string(app->processIdentifier()) + ")");
    }
    return entries;
}

std::string lastScrollEventLine(const ScrollCoordinator& coordinator) {
    if (!coordinator.lastScrollEventAt)
        return "- Last scroll event: none since launch";
    const double age = platform::Date{*coordinator.lastScrollEventAt}.timeIntervalUntilNow();
    char ageText[64];
    std::snprintf(ageText, sizeof ageText, "%.1f", age);
    return std::string("- Last scroll event: ") + ageText + "s ago, classified as " +
           (coordinator.lastScrollEventWasTrackpad ? "trackpad" : "mouse") +
           ", source: " + processDescription(coordinator.lastScrollEventSourcePID);
}

}  // namespace

void copyDiagnostics() {
    auto& pasteboard = platform::NSPasteboard::generalPasteboard();
    pasteboard.clearContents();
    (void)pasteboard.setString(diagnosticsReport(), platform::NSPasteboardTypeString);
    HUDManager::shared().show("Diagnostics copied", 2.0, 300);
    Logger::general().log("Diagnostics copied to clipboard");
}

std::string diagnosticsReport() {
    const auto& bundle = platform::Bundle::main();
    const CorvaneSettings settings = SettingsManager::shared().settings();
    const ScrollBase& base = settings.scrollBase;
    const ScrollAdvanced& advanced = settings.scrollAdvanced;
    const auto& coordinator = ScrollCoordinator::shared();

    const std::vector<std::string> lines{
        "Corvane " + bundle.infoString("CFBundleShortVersionString").value_or("?") + " (" +
            bundle.infoString("CFBundleVersion").value_or("?") + ") \u2014 " +
            platform::ISO8601DateFormatter().stringFromDate(platform::Date::now()),
        "macOS " + platform::ProcessInfo::processInfo().operatingSystemVersionString(),
        "",
        "Permissions & settings:",
        std::string("- Accessibility: ") +
            (platform::AXIsProcessTrusted() ? "granted" : "NOT GRANTED"),
        std::string("- Smooth: ") + onOff(base.smooth) +
            ", horizontal: " + onOff(base.horizontalSmooth) + ", reverse: " + onOff(base.reverse),
        "- Step " + wholeNumberText(advanced.step) + "px, duration " +
            wholeNumberText(advanced.duration) + "ms, smoothness " +
            wholeNumberText(advanced.smoothness) + "ms",
        "",
        "Scroll pipeline:",
        std::string("- Coordinator active: ") + (coordinator.isActive ? "yes" : "no"),
        "- Scroll tap: " + tapState(coordinator.scrollEventInterceptor),
        "- Hotkey tap: " + tapState(coordinator.hotkeyEventInterceptor),
        "- Mouse tap: " + tapState(coordinator.mouseEventInterceptor),
        "- Engine: " + ScrollEngineCV::shared().statusDescription(),
        lastScrollEventLine(coordinator),
        "",
        "Environment:",
        "- Logitech software: " + joinedOrNotDetected(logitechApplications()),
        "- Other scroll utilities: " + joinedOrNotDetected(otherScrollUtilities()),
    };
    std::string report;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            report += '\n';
        report += lines[i];
    }
    return report;
}

std::string processDescription(platform::pid_t pid) {
    if (pid < 1)
        return "hardware/system (pid 0)";
    const std::string pidText = std::to_string(pid);
    if (auto app = platform::RunningApplication::withProcessIdentifier(pid)) {
        return app->localizedName().value_or(app->bundleIdentifier().value_or("unknown")) +
               " (pid " + pidText + ")";
    }
    const std::string path = Utils::processPath(pid);
    if (path.empty())
        return "pid " + pidText + " (exited)";
    return platform::URL::fileURLWithPath(path).lastPathComponent() + " (pid " + pidText + ")";
}

std::vector<std::string> logitechApplications() {
    return applicationEntries(
        [](const std::string& bundleId) { return bundleId.starts_with("com.logi"); });
}

std::vector<std::string> otherScrollUtilities() {
    return applicationEntries(&isOtherScrollUtility);
}

bool isOtherScrollUtility(const std::string& bundleIdentifier) {
    std::string lower = bundleIdentifier;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::any_of(otherScrollUtilityPrefixes.begin(), otherScrollUtilityPrefixes.end(),
                       [&](std::string_view prefix) { return lower.starts_with(prefix); });
}

}  // namespace corvane
