#pragma once

#include <memory>

#include "platform/sparkle/SPUUpdater.h"
#include "platform/ui/View.h"
#include "preferences/CheckForUpdatesViewModel.h"

namespace corvane {

/// The button "Check for Updates…", enabled while the updater can start a check; pressing it
/// asks the updater to check.
class CheckForUpdatesView {
  public:
    /// Keeps the updater and makes a view model of its own that observes it.
    explicit CheckForUpdatesView(std::shared_ptr<platform::SPUUpdater> updater);

    platform::ui::View body() const;
    auto viewProperties() { return std::tie(checkForUpdatesViewModel); }

  private:
    /// Owns the view model for as long as a copy of this view value is shown.
    std::shared_ptr<CheckForUpdatesViewModel> ownedViewModel_;

  public:
    platform::ui::ObservedObject<CheckForUpdatesViewModel> checkForUpdatesViewModel;
    std::shared_ptr<platform::SPUUpdater> updater;
};

}  // namespace corvane
