#pragma once

#include <memory>
#include <string>

#include "platform/foundation/URL.h"
#include "platform/sim/Session.h"
#include "settings/CorvaneSettings.h"

// The targets that the wheel-event measurements (the allocation test, the coordinator
// benchmark) aim their ticks at.

namespace corvane::testing {

/// Launches process `pid` on the simulated session as the application "com.example.<name>"
/// with an executable URL, as every real application has (the Launchpad check reads it).
inline void launchApplicationWithExecutable(platform::pid_t pid, const std::string& name) {
    platform::sim::session().workspace().launch(
        {.processIdentifier = pid,
         .bundleIdentifier = "com.example." + name,
         .executableURL = platform::URL::fileURLWithPath("/Applications/" + name +
                                                         ".app/Contents/MacOS/" + name)});
}

/// Appends `count` exceptions that name no application, so that a lookup reads the whole list.
inline void addUnmatchedExceptions(CorvaneSettings& settings, int count) {
    for (int i = 0; i < count; ++i) {
        settings.appSettings.exceptionalApplication.push_back(
            std::make_shared<ExceptionalApplication>("com.example.other" + std::to_string(i)));
    }
}

}  // namespace corvane::testing
