#pragma once

#include "platform/appkit/NSAlert.h"

namespace corvane::platform::qt {

/// Alerts of the live application: a modal QMessageBox with the alert's message, its
/// informative text, the application's icon and its buttons, the first the default one and,
/// with two or more, the last the one Escape presses.
class QtAlerts final : public AlertBackend {
  public:
    std::size_t runModal(const NSAlert& alert) override;
};

}  // namespace corvane::platform::qt
