#include "platform/accessibility/Accessibility.h"

#include "platform/accessibility/AccessibilityBackend.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<AccessibilityBackend>& slot() {
    return backendSlot<AccessibilityBackend>("Accessibility");
}

}  // namespace

void installAccessibilityBackend(std::shared_ptr<AccessibilityBackend> backend) {
    slot().install(std::move(backend));
}

bool AXIsProcessTrusted() {
    return slot().get().isProcessTrusted(false);
}

bool AXIsProcessTrustedWithOptions(const PlistDictionary& options) {
    auto prompt = options.find(kAXTrustedCheckOptionPrompt);
    const bool wantsPrompt =
        prompt != options.end() && prompt->second.boolean() != nullptr && *prompt->second.boolean();
    return slot().get().isProcessTrusted(wantsPrompt);
}

}  // namespace corvane::platform
