#include "platform/servicemanagement/ServiceManagement.h"

#include "platform/runtime/BackendSlot.h"
#include "platform/servicemanagement/LoginItemBackend.h"

namespace corvane::platform {

namespace {

BackendSlot<LoginItemBackend>& slot() {
    return backendSlot<LoginItemBackend>("login-item");
}

}  // namespace

void installLoginItemBackend(std::shared_ptr<LoginItemBackend> backend) {
    slot().install(std::move(backend));
}

SMAppService& SMAppService::mainApp() {
    static auto* service = new SMAppService();
    return *service;
}

SMAppService::Status SMAppService::status() const {
    return slot().get().mainAppStatus();
}

void SMAppService::registerAndReturnError() {
    slot().get().registerMainApp();
}

void SMAppService::unregisterAndReturnError() {
    slot().get().unregisterMainApp();
}

bool SMLoginItemSetEnabled(const std::string& identifier, bool enabled) {
    return slot().get().setLoginItemEnabled(identifier, enabled);
}

std::optional<std::vector<PlistValue>> SMCopyAllJobDictionaries(const std::string& domain) {
    if (domain != kSMDomainUserLaunchd)
        return std::vector<PlistValue>{};
    return slot().get().userJobDictionaries();
}

}  // namespace corvane::platform
