#pragma once

#include "platform/sparkle/SPUStandardUserDriverDelegate.h"

namespace corvane {

/// Turns an update found by a scheduled check into a gentle reminder: a Dock icon with the
/// badge "1" and the notification "A new update is available"; the user's attention clears
/// both, and the end of the update session takes the Dock icon away again. Logs nothing;
/// prints its two lines to standard output. Main thread only.
class UserDriverDelegate : public platform::SPUStandardUserDriverDelegate {
  public:
    /// Seconds after the reminder starts until the Dock badge shows.
    static constexpr double kBadgeDelay = 0.1;

    /// The instance, created on first use, never destroyed.
    static UserDriverDelegate& shared();

    bool supportsGentleScheduledUpdateReminders() const override { return true; }
    /// Prints "User updater check"; for a scheduled check also "System updater check", then
    /// the regular policy, the badge "1" 0.1 s later and the notification.
    void standardUserDriverWillHandleShowingUpdate(
        bool handleShowingUpdate, const platform::SUAppcastItem& update,
        const platform::SPUUserUpdateState& state) override;
    /// Clears the badge and takes the notification "UpdateCheck" away.
    void standardUserDriverDidReceiveUserAttentionForUpdate(
        const platform::SUAppcastItem& update) override;
    /// Back to the accessory policy: the Dock icon goes.
    void standardUserDriverWillFinishUpdateSession() override;

  private:
    UserDriverDelegate() = default;
};

}  // namespace corvane
