#pragma once

#include <mutex>

#include "platform/accessibility/AccessibilityBackend.h"

namespace corvane::platform::sim {

/// The simulated session's Accessibility permission: whether this process is trusted (true
/// until a test or the session driver withdraws it), and a record of the trust checks that
/// asked for the system's prompt. The window server refuses event taps while it is off.
class AccessibilityTrust final : public AccessibilityBackend {
  public:
    /// Records the check, then answers whether the process is trusted.
    bool isProcessTrusted(bool showPrompt) override;

    bool isTrusted() const;
    /// The knob: grant or withdraw the permission.
    void setTrusted(bool trusted);

    /// Called by a trust check; a check that asks for the prompt while untrusted shows it.
    void recordCheck(bool wantsPrompt);
    /// Checks made with the prompt option set to true, whether or not a prompt showed.
    int promptRequests() const;
    /// Prompts the system actually showed (asked for while the process was not trusted).
    int promptsShown() const;

  private:
    mutable std::mutex mutex_;
    bool trusted_ = true;
    int promptRequests_ = 0;
    int promptsShown_ = 0;
};

}  // namespace corvane::platform::sim
