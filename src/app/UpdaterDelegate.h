#pragma once

#include "platform/sparkle/SPUUpdaterDelegate.h"

namespace corvane {

/// Told by the updater before each scheduled check; asks for permission to notify, so that
/// an update found in the background can be announced. Logs nothing. Main thread only.
class UpdaterDelegate : public platform::SPUUpdaterDelegate {
  public:
    /// The instance, created on first use, never destroyed.
    static UpdaterDelegate& shared();

    /// Requests notification authorisation (badge, sound, alert); the answer is not used.
    void updaterWillScheduleUpdateCheckAfterDelay(platform::SPUUpdater& updater,
                                                  double delay) override;

  private:
    UpdaterDelegate() = default;
};

}  // namespace corvane
