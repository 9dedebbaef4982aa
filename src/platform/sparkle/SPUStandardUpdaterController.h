#pragma once

#include <memory>

#include "platform/sparkle/SPUUpdater.h"

namespace corvane::platform {

/// The updater with its standard user interface, as an application owns it: it makes the
/// updater and, when asked to, starts it at once. Main thread only.
class SPUStandardUpdaterController {
  public:
    /// Makes the updater with the two delegates (not owned; either may be null) and, with
    /// `startingUpdater`, starts it.
    SPUStandardUpdaterController(bool startingUpdater, SPUUpdaterDelegate* updaterDelegate,
                                 SPUStandardUserDriverDelegate* userDriverDelegate);

    const std::shared_ptr<SPUUpdater>& updater() const { return updater_; }
    /// Starts the updater, when that was not done at creation.
    void startUpdater() { updater_->startUpdater(); }
    /// The action of a "check for updates" control; `sender` is not used (may be null).
    void checkForUpdates(const void* sender);

  private:
    std::shared_ptr<SPUUpdater> updater_;
};

}  // namespace corvane::platform
