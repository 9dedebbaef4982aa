#include "platform/appkit/Workspace.h"

#include "platform/appkit/URLOpenerBackend.h"
#include "platform/appkit/WorkspaceBackend.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<WorkspaceBackend>& slot() {
    return backendSlot<WorkspaceBackend>("workspace");
}

BackendSlot<URLOpenerBackend>& urlOpenerSlot() {
    return backendSlot<URLOpenerBackend>("URL opener");
}

}  // namespace

void installWorkspaceBackend(std::shared_ptr<WorkspaceBackend> backend) {
    slot().install(std::move(backend));
}

void installURLOpenerBackend(std::shared_ptr<URLOpenerBackend> backend) {
    urlOpenerSlot().install(std::move(backend));
}

WorkspaceBackend& workspaceBackend() {
    return slot().get();
}

Workspace& Workspace::shared() {
    static auto* workspace = new Workspace();
    return *workspace;
}

std::vector<RunningApplicationRef> Workspace::runningApplications() const {
    return workspaceBackend().runningApplications();
}

RunningApplicationRef Workspace::frontmostApplication() const {
    return workspaceBackend().frontmost();
}

std::optional<URL> Workspace::urlForApplication(const std::string& bundleIdentifier) const {
    auto path = workspaceBackend().pathForBundleIdentifier(bundleIdentifier);
    if (!path)
        return std::nullopt;
    return URL::fileURLWithPath(*path);
}

Image Workspace::iconForFile(const std::string& path) const {
    return workspaceBackend().iconForFile(path);
}

bool Workspace::open(const URL& url) {
    return urlOpenerSlot().get().open(url);
}

}  // namespace corvane::platform
