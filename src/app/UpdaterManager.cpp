#include "app/UpdaterManager.h"

#include "settings/Logger.h"

namespace corvane {

UpdaterManager& UpdaterManager::shared() {
    static auto* manager = new UpdaterManager();
    return *manager;
}

UpdaterManager::UpdaterManager() {
    logModuleInitialized("UpdaterManager");
}

}  // namespace corvane
