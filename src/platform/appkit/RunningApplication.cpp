#include "platform/appkit/RunningApplication.h"

#include "platform/appkit/WorkspaceBackend.h"

namespace corvane::platform {

bool RunningApplication::terminate() {
    if (isTerminated())
        return false;
    return workspaceBackend().requestTerminate(processIdentifier());
}

std::vector<RunningApplicationRef> RunningApplication::runningApplications(
    const std::string& bundleIdentifier) {
    std::vector<RunningApplicationRef> matching;
    for (auto& app : workspaceBackend().runningApplications()) {
        if (app->bundleIdentifier() == bundleIdentifier)
            matching.push_back(std::move(app));
    }
    return matching;
}

RunningApplicationRef RunningApplication::withProcessIdentifier(pid_t pid) {
    return workspaceBackend().application(pid);
}

}  // namespace corvane::platform
