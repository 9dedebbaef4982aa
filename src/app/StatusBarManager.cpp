#include "app/StatusBarManager.h"

#include "settings/Logger.h"

namespace corvane {

StatusBarManager& StatusBarManager::shared() {
    static auto* manager = new StatusBarManager();
    return *manager;
}

StatusBarManager::StatusBarManager() {
    logModuleInitialized("StatusBarManager");
}

}  // namespace corvane
