#pragma once

#include "platform/combine/Published.h"
#include "platform/combine/Publisher.h"
#include "platform/sparkle/SPUUpdater.h"

namespace corvane {

/// Whether a check for updates may start now, following the updater's `canCheckForUpdates`
/// from the moment it is made for as long as it lives. Main thread only.
class CheckForUpdatesViewModel : public platform::ObservableObject {
  public:
    /// Starts at false, then observes the updater (initial and new values), whose initial
    /// value replaces the false at once.
    explicit CheckForUpdatesViewModel(platform::SPUUpdater& updater);
    CheckForUpdatesViewModel(const CheckForUpdatesViewModel&) = delete;
    CheckForUpdatesViewModel& operator=(const CheckForUpdatesViewModel&) = delete;

    platform::Published<bool> canCheckForUpdates{*this, false};

  private:
    platform::AnyCancellable observation_;
};

}  // namespace corvane
