#include "platform/appkit/RunningApplication.h"

#include "platform/appkit/WorkspaceBackend.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/ProcessInfo.h"

namespace corvane::platform {

namespace {

/// The activation policy of this process, as its application object last set it.
std::atomic<ActivationPolicy> ownActivationPolicy{ActivationPolicy::regular};

}  // namespace

ActivationPolicy RunningApplication::activationPolicy() const {
    return d_.isCurrentApplication ? ownPolicy() : d_.activationPolicy;
}

ActivationPolicy RunningApplication::ownPolicy() {
    return ownActivationPolicy.load();
}

void RunningApplication::setOwnPolicy(ActivationPolicy policy) {
    ownActivationPolicy.store(policy);
}

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

RunningApplicationRef RunningApplication::currentApplication() {
    const Bundle& bundle = Bundle::main();
    auto name = bundle.infoString("CFBundleDisplayName");
    if (!name)
        name = bundle.infoString("CFBundleName");
    return std::make_shared<RunningApplication>(
        Description{.processIdentifier = ProcessInfo::processInfo().processIdentifier(),
                    .bundleIdentifier = bundle.bundleIdentifier(),
                    .localizedName = std::move(name),
                    .bundleURL = URL::fileURLWithPath(bundle.bundlePath()),
                    .isCurrentApplication = true});
}

}  // namespace corvane::platform
