#include "platform/sim/AccessibilityTrust.h"

namespace corvane::platform::sim {

bool AccessibilityTrust::isProcessTrusted(bool showPrompt) {
    recordCheck(showPrompt);
    return isTrusted();
}

bool AccessibilityTrust::isTrusted() const {
    std::lock_guard lock(mutex_);
    return trusted_;
}

void AccessibilityTrust::setTrusted(bool trusted) {
    std::lock_guard lock(mutex_);
    trusted_ = trusted;
}

void AccessibilityTrust::recordCheck(bool wantsPrompt) {
    std::lock_guard lock(mutex_);
    if (!wantsPrompt)
        return;
    ++promptRequests_;
    if (!trusted_)
        ++promptsShown_;
}

int AccessibilityTrust::promptRequests() const {
    std::lock_guard lock(mutex_);
    return promptRequests_;
}

int AccessibilityTrust::promptsShown() const {
    std::lock_guard lock(mutex_);
    return promptsShown_;
}

}  // namespace corvane::platform::sim
