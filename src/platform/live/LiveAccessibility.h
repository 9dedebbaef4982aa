#pragma once

#include "platform/accessibility/AccessibilityBackend.h"

namespace corvane::platform::live {

/// The live backend's Accessibility permission: this machine has no such permission, so the
/// process is always trusted and no prompt shows.
class LiveAccessibility final : public AccessibilityBackend {
  public:
    bool isProcessTrusted(bool /*showPrompt*/) override { return true; }
};

}  // namespace corvane::platform::live
