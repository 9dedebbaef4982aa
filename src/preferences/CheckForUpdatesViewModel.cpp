#include "preferences/CheckForUpdatesViewModel.h"

namespace corvane {

using namespace platform;

CheckForUpdatesViewModel::CheckForUpdatesViewModel(SPUUpdater& updater) {
    observation_ = updater.observeCanCheckForUpdates(
        NSKeyValueObservingOptionInitial | NSKeyValueObservingOptionNew,
        [this](bool can) { canCheckForUpdates.set(can); });
}

}  // namespace corvane
