#include "preferences/CheckForUpdatesView.h"

namespace corvane {

using namespace platform::ui;

CheckForUpdatesView::CheckForUpdatesView(std::shared_ptr<platform::SPUUpdater> theUpdater)
    : ownedViewModel_(std::make_shared<CheckForUpdatesViewModel>(*theUpdater)),
      checkForUpdatesViewModel(*ownedViewModel_),
      updater(std::move(theUpdater)) {}

View CheckForUpdatesView::body() const {
    auto target = updater;
    return Button("Check for Updates\u2026", [target] { target->checkForUpdates(); })
        .disabled(!checkForUpdatesViewModel->canCheckForUpdates.get());
}

}  // namespace corvane
