#include "app/UpdaterManager.h"

#include "app/UpdaterDelegate.h"
#include "app/UserDriverDelegate.h"
#include "settings/Logger.h"

namespace corvane {

using namespace platform;

namespace {

/// Logs the creation first, as every module does, then makes the controller.
std::unique_ptr<SPUStandardUpdaterController> makeController() {
    logModuleInitialized("UpdaterManager");
    return std::make_unique<SPUStandardUpdaterController>(true, &UpdaterDelegate::shared(),
                                                          &UserDriverDelegate::shared());
}

}  // namespace

UpdaterManager& UpdaterManager::shared() {
    static auto* manager = new UpdaterManager();
    return *manager;
}

UpdaterManager::UpdaterManager() : updaterController(makeController()) {}

void UpdaterManager::userNotificationCenterDidReceiveNotificationResponse(
    UNUserNotificationCenter&, const UNNotificationResponse& response,
    const std::function<void()>& completionHandler) {
    if (response.requestIdentifier == kNotificationIdentifier &&
        response.actionIdentifier == UNNotificationDefaultActionIdentifier)
        updaterController->checkForUpdates(nullptr);
    completionHandler();
}

}  // namespace corvane
