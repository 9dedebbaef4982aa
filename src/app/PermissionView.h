#pragma once

#include "platform/ui/View.h"

namespace corvane {

/// The content of the permission window: it explains that the Accessibility permission is
/// needed and offers one button that asks for it and opens the Accessibility settings.
struct PermissionView {
    static constexpr double kWidth = 500;  ///< points

    platform::ui::View body() const;
    /// The button's action: asks for trust with the system's prompt (its answer is not
    /// used), then opens the Accessibility settings.
    static void openSystemSettings();
};

}  // namespace corvane
