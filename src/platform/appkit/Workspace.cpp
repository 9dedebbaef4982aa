#include "platform/appkit/Workspace.h"

#include "platform/sim/SimWorkspace.h"

namespace corvane::platform {

Workspace& Workspace::shared() {
    static auto* workspace = new Workspace();
    return *workspace;
}

std::vector<RunningApplicationRef> Workspace::runningApplications() const {
    return sim::SimWorkspace::shared().runningApplications();
}

RunningApplicationRef Workspace::frontmostApplication() const {
    return sim::SimWorkspace::shared().frontmost();
}

std::optional<URL> Workspace::urlForApplication(const std::string& bundleIdentifier) const {
    auto path = sim::SimWorkspace::shared().pathForBundleIdentifier(bundleIdentifier);
    if (!path)
        return std::nullopt;
    return URL::fileURLWithPath(*path);
}

Image Workspace::iconForFile(const std::string& path) const {
    return sim::SimWorkspace::shared().iconForFile(path);
}

bool Workspace::open(const URL& url) {
    return sim::SimWorkspace::shared().open(url);
}

}  // namespace corvane::platform
