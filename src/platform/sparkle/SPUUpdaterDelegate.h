#pragma once

namespace corvane::platform {

class SPUUpdater;

/// Told by the updater about its schedule. Every method is optional (the base does
/// nothing); all are called on the main thread.
class SPUUpdaterDelegate {
  public:
    virtual ~SPUUpdaterDelegate() = default;

    /// The updater is about to arrange its next background check, `delay` seconds from now.
    virtual void updaterWillScheduleUpdateCheckAfterDelay(SPUUpdater& updater, double delay) {
        (void)updater;
        (void)delay;
    }
};

}  // namespace corvane::platform
