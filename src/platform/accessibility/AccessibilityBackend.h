#pragma once

#include <memory>

namespace corvane::platform {

// How the platform layer reaches its backends, one way for every concern: the interface
// headers of a concern (here `Accessibility.h`) hold the API that the system calls; the
// interface .cpp forwards to a small abstract backend class of that concern, declared beside
// them in the same folder with one install function (this file); the simulated backend
// (src/platform/sim/) and the live backend (src/platform/live/) implement it and install it.
// Windows and views are drawn by the Qt backend (src/platform/qt/), which implements their
// interface directly. A program chooses its backends before it uses the platform: tests,
// the session driver, the pictures tool and the benchmarks install the simulated session
// (`sim::installSimulatedSession`), the live program the live backend
// (`live::installLiveSession`). A concern used before its backend is installed throws
// std::logic_error.

/// Where the Accessibility permission of this process is decided.
class AccessibilityBackend {
  public:
    virtual ~AccessibilityBackend() = default;
    /// Whether the process holds the permission; with `showPrompt` and the process not
    /// trusted, the system also shows its prompt (which does not wait for the user).
    virtual bool isProcessTrusted(bool showPrompt) = 0;
};

/// Installs the Accessibility backend of the process.
void installAccessibilityBackend(std::shared_ptr<AccessibilityBackend> backend);

}  // namespace corvane::platform
