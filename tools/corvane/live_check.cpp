// corvane-live-check SECONDS: the live application as `corvane` runs it, quitting by itself
// after SECONDS (default 1) through the application object's terminate, for the test suite.
// Exits 0 when start-up ran (the workspace's entry of this process then reports the accessory
// policy that start-up set), the termination was handled and the event loop returned.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/CorvaneApp.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/RunningApplication.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/live/LiveSession.h"
#include "platform/live/TerminationSignals.h"
#include "platform/log/OSLog.h"
#include "platform/qt/QtMainLoop.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/TrayStatusBar.h"

namespace {

/// Whether the workspace lists this process with the accessory activation policy.
bool listedAsAccessory() {
    using namespace corvane::platform;
    const auto own =
        RunningApplication::withProcessIdentifier(ProcessInfo::processInfo().processIdentifier());
    return own && own->activationPolicy() == ActivationPolicy::accessory;
}

bool logged(const std::string& message) {
    const auto messages = corvane::platform::LogStore::shared().messages();
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
    auto runtime = corvane::platform::live::installLiveSession();
    corvane::platform::qt::installQtMainLoop(
        runtime, corvane::platform::live::TerminationSignals::install());
    corvane::platform::qt::installTrayStatusBar();
    corvane::platform::qt::installQtServices();
    runtime->mainQueue().asyncAfter(seconds,
                                    [] { corvane::platform::NSApplication::shared().terminate(); });
    const int status = corvane::CorvaneApp::main();
    const bool ok = status == 0 && !corvane::platform::NSApplication::shared().isRunning() &&
                    logged("Module initialized: StatusBarManager") && logged("App terminated") &&
                    listedAsAccessory();
    std::printf("corvane-live-check: %s\n", ok ? "started and quit cleanly" : "FAILED");
    return ok ? 0 : 1;
}
