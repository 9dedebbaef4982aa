#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/quartz/CGEvent.h"

namespace corvane {

/// A plain-text report a user can paste into a support request: version, system,
/// permission and main settings, the state of the scroll pipeline, and other input software
/// that may interfere. Nothing is written to disk or sent anywhere. Main thread only.

/// Lower-case bundle-identifier prefixes of other scroll utilities, compared in order with
/// the lowercased identifier: seven name one product each (organisation, maker, product),
/// the last a maker's whole range.
inline constexpr std::array<std::string_view, 8> otherScrollUtilityPrefixes{
    "org.example.wheelsmoother", "com.example.glidewheel", "org.example.tickdamper",
    "com.example.pointerpolish", "org.example.notchless",  "com.example.rollease",
    "org.example.wheelshaper",   "net.example.",
};

/// Clears the general pasteboard, puts the report on it as a string, shows "Diagnostics
/// copied" in the HUD for 2 s and logs "Diagnostics copied to clipboard". A write the
/// pasteboard refuses is not checked: the HUD and the log line follow in any case.
void copyDiagnostics();

/// The report: nineteen lines in three sections, joined with "\n", no line feed at the end.
std::string diagnosticsReport();

/// A readable name for the source process of a wheel event: "hardware/system (pid 0)" for
/// a pid below 1; a running application's name (else its bundle identifier, else "unknown")
/// with " (pid N)"; else the executable's file name with " (pid N)", or "pid N (exited)".
std::string processDescription(platform::pid_t pid);

/// One entry per running application whose bundle identifier begins with "com.logi"
/// (exactly, case-sensitive): "Name (bundle id, pid N)", in the workspace's order.
std::vector<std::string> logitechApplications();

/// The same entries for the running applications `isOtherScrollUtility` finds.
std::vector<std::string> otherScrollUtilities();

/// Whether `bundleIdentifier`, lowercased, begins with one of `otherScrollUtilityPrefixes`.
bool isOtherScrollUtility(const std::string& bundleIdentifier);

}  // namespace corvane
