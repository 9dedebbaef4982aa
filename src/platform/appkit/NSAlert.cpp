#include "platform/appkit/NSAlert.h"

#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<AlertBackend>& slot() {
    return backendSlot<AlertBackend>("alert");
}

}  // namespace

void installAlertBackend(std::shared_ptr<AlertBackend> backend) {
    slot().install(std::move(backend));
}

NSModalResponse NSAlert::runModal() {
    if (buttons_.empty())
        buttons_.push_back("OK");
    return NSAlertFirstButtonReturn + static_cast<NSModalResponse>(slot().get().runModal(*this));
}

}  // namespace corvane::platform
