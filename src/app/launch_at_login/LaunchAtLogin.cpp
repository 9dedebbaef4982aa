#include "app/launch_at_login/LaunchAtLogin.h"

#include <vector>

#include "app/launch_at_login/KVO.h"
#include "app/launch_at_login/Observable.h"
#include "platform/combine/CurrentValueSubject.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/servicemanagement/ServiceManagement.h"

namespace corvane::LaunchAtLogin {

using platform::SMAppService;

namespace {

platform::CurrentValueSubject<bool>& subject() {
    static auto* subject = new platform::CurrentValueSubject<bool>(isEnabled());
    return *subject;
}

/// Before macOS 13: the "OnDemand" of the first job labelled with the helper identifier;
/// false without a list of dictionaries.
bool helperJobIsOnDemand() {
    const auto jobs = platform::SMCopyAllJobDictionaries(platform::kSMDomainUserLaunchd);
    if (!jobs)
        return false;
    std::vector<const platform::PlistDictionary*> dictionaries;
    for (const auto& job : *jobs) {
        const platform::PlistDictionary* fields = job.dictionary();
        if (fields == nullptr)
            return false;
        dictionaries.push_back(fields);
    }
    for (const platform::PlistDictionary* fields : dictionaries) {
        auto label = fields->find("Label");
        if (label == fields->end())
            continue;
        const std::string* name = label->second.string();
        if (name == nullptr || *name != helperIdentifier())
            continue;
        auto onDemand = fields->find("OnDemand");
        if (onDemand == fields->end())
            return false;
        const bool* flag = onDemand->second.boolean();
        return flag != nullptr && *flag;
    }
    return false;
}

}  // namespace

const std::string& helperIdentifier() {
    static const auto* identifier = new std::string(
        platform::Bundle::main().bundleIdentifier().value_or("com.Quillon.Corvane") +
        "-LaunchAtLoginHelper");
    return *identifier;
}

const platform::OSLog& logger() {
    static const auto* log = new platform::OSLog("com.Quillon.LaunchAtLogin", "main");
    return *log;
}

bool isEnabled() {
    if (platform::isAvailable(13))
        return SMAppService::mainApp().status() == SMAppService::Status::enabled;
    return helperJobIsOnDemand();
}

void setIsEnabled(bool enabled) {
    Observable::shared().objectWillChange().send();
    KVO::shared().willChangeValueForKey(KVO::kIsEnabledKey);

    if (platform::isAvailable(13)) {
        SMAppService& service = SMAppService::mainApp();
        try {
            if (enabled) {
                if (service.status() == SMAppService::Status::enabled) {
                    // Registering again refreshes a registration the system may hold stale.
                    try {
                        service.unregisterAndReturnError();
                    } catch (const platform::SMAppServiceError&) {
                    }
                }
                service.registerAndReturnError();
            } else {
                service.unregisterAndReturnError();
            }
        } catch (const platform::SMAppServiceError& error) {
            logger().error("Failed to %{public}s launch at login: %{public}s",
                           std::string(enabled ? "enable" : "disable"),
                           error.localizedDescription());
        }
    } else {
        platform::SMLoginItemSetEnabled(helperIdentifier(), enabled);
    }

    KVO::shared().didChangeValueForKey(KVO::kIsEnabledKey);
    subject().send(enabled);
}

platform::AnyPublisher<bool> publisher() {
    return subject().eraseToAnyPublisher();
}

}  // namespace corvane::LaunchAtLogin
