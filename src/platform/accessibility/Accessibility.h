#pragma once

#include <string>

#include "platform/foundation/PlistValue.h"

namespace corvane::platform {

/// The options key that asks the system to show its permission prompt when the process is
/// not trusted yet.
inline const std::string kAXTrustedCheckOptionPrompt = "AXTrustedCheckOptionPrompt";

/// Whether the process holds the Accessibility permission.
bool AXIsProcessTrusted();

/// Whether the process holds the Accessibility permission; with `kAXTrustedCheckOptionPrompt`
/// set to true in `options` and the process not trusted, the system also shows its prompt
/// (which does not wait for the user).
bool AXIsProcessTrustedWithOptions(const PlistDictionary& options);

}  // namespace corvane::platform
