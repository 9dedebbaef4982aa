#pragma once

#include "platform/sparkle/SPUUserUpdateState.h"
#include "platform/sparkle/SUAppcastItem.h"

namespace corvane::platform {

/// Told by the updater's standard user interface how an update is being offered. Every
/// method is optional (the base answers as a delegate that implements none); all are called
/// on the main thread.
class SPUStandardUserDriverDelegate {
  public:
    virtual ~SPUStandardUserDriverDelegate() = default;

    /// Whether the application presents updates found by scheduled checks itself, gently
    /// (for example with a badge and a notification), instead of the update window coming
    /// forward at once.
    virtual bool supportsGentleScheduledUpdateReminders() const { return false; }
    /// An update is about to be offered. `handleShowingUpdate`: whether the update window
    /// comes forward now (false for a gentle reminder of a scheduled check).
    virtual void standardUserDriverWillHandleShowingUpdate(bool handleShowingUpdate,
                                                           const SUAppcastItem& update,
                                                           const SPUUserUpdateState& state) {
        (void)handleShowingUpdate;
        (void)update;
        (void)state;
    }
    /// The user has turned to the update being offered.
    virtual void standardUserDriverDidReceiveUserAttentionForUpdate(const SUAppcastItem& update) {
        (void)update;
    }
    /// The update session ends (installed, skipped, dismissed, or nothing was found).
    virtual void standardUserDriverWillFinishUpdateSession() {}
};

}  // namespace corvane::platform
