#include "platform/appkit/RunningApplication.h"

#include "platform/sim/SimWorkspace.h"

namespace corvane::platform {

bool RunningApplication::terminate() {
    if (isTerminated())
        return false;
    return sim::SimWorkspace::shared().requestTerminate(processIdentifier());
}

std::vector<RunningApplicationRef> RunningApplication::runningApplications(
    const std::string& bundleIdentifier) {
    std::vector<RunningApplicationRef> matching;
    for (auto& app : sim::SimWorkspace::shared().runningApplications()) {
        if (app->bundleIdentifier() == bundleIdentifier)
            matching.push_back(std::move(app));
    }
    return matching;
}

RunningApplicationRef RunningApplication::withProcessIdentifier(pid_t pid) {
    return sim::SimWorkspace::shared().application(pid);
}

}  // namespace corvane::platform
