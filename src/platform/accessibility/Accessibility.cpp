#include "platform/accessibility/Accessibility.h"

#include "platform/sim/AccessibilityTrust.h"

namespace corvane::platform {

bool AXIsProcessTrusted() {
    return sim::AccessibilityTrust::shared().isTrusted();
}

bool AXIsProcessTrustedWithOptions(const PlistDictionary& options) {
    auto& trust = sim::AccessibilityTrust::shared();
    auto prompt = options.find(kAXTrustedCheckOptionPrompt);
    bool wantsPrompt =
        prompt != options.end() && prompt->second.boolean() != nullptr && *prompt->second.boolean();
    trust.recordCheck(wantsPrompt);
    return trust.isTrusted();
}

}  // namespace corvane::platform
