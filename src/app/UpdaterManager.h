#pragma once

#include "platform/usernotifications/UNUserNotificationCenter.h"

namespace corvane {

/// The process-wide owner of the update service's glue, and the delegate of the
/// application's user-notification centre. Main thread only.
class UpdaterManager : public platform::UNUserNotificationCenterDelegate {
  public:
    /// The instance, created on first use (logging "Module initialized: UpdaterManager"),
    /// never destroyed.
    static UpdaterManager& shared();

  private:
    UpdaterManager();
};

}  // namespace corvane
