#include "platform/appkit/NSOpenPanel.h"

#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<OpenPanelBackend>& slot() {
    return backendSlot<OpenPanelBackend>("open panel");
}

}  // namespace

void installOpenPanelBackend(std::shared_ptr<OpenPanelBackend> backend) {
    slot().install(std::move(backend));
}

NSModalResponse NSOpenPanel::runModal() {
    urls_.clear();
    auto chosen = slot().get().runModal(*this);
    if (!chosen || chosen->empty())
        return NSModalResponseCancel;
    // A backend never hands back more than the panel allows.
    if (!allowsMultipleSelection_)
        chosen->erase(chosen->begin() + 1, chosen->end());
    urls_ = std::move(*chosen);
    return NSModalResponseOK;
}

std::optional<URL> NSOpenPanel::URL() const {
    if (urls_.empty())
        return std::nullopt;
    return urls_.front();
}

}  // namespace corvane::platform
