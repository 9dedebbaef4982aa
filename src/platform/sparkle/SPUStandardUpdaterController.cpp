#include "platform/sparkle/SPUStandardUpdaterController.h"

namespace corvane::platform {

SPUStandardUpdaterController::SPUStandardUpdaterController(
    bool startingUpdater, SPUUpdaterDelegate* updaterDelegate,
    SPUStandardUserDriverDelegate* userDriverDelegate)
    : updater_(std::make_shared<SPUUpdater>(updaterDelegate, userDriverDelegate)) {
    if (startingUpdater)
        updater_->startUpdater();
}

void SPUStandardUpdaterController::checkForUpdates(const void* sender) {
    (void)sender;
    updater_->checkForUpdates();
}

}  // namespace corvane::platform
