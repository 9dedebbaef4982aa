#include "platform/sim/SimLoginItems.h"

namespace corvane::platform::sim {

SMAppService::Status SimLoginItems::mainAppStatus() const {
    std::lock_guard lock(mutex_);
    if (missing_)
        return SMAppService::Status::notFound;
    if (!registered_)
        return SMAppService::Status::notRegistered;
    return approvalRequired_ ? SMAppService::Status::requiresApproval
                             : SMAppService::Status::enabled;
}

void SimLoginItems::registerMainApp() {
    std::lock_guard lock(mutex_);
    calls_.push_back(Call::registerService);
    if (missing_)
        throw SMAppServiceError("The application could not be found.");
    if (registerFailures_.take())
        throw SMAppServiceError("Operation not permitted");
    registered_ = true;
}

void SimLoginItems::unregisterMainApp() {
    std::lock_guard lock(mutex_);
    calls_.push_back(Call::unregisterService);
    if (unregisterFailures_.take())
        throw SMAppServiceError("Operation not permitted");
    registered_ = false;
}

bool SimLoginItems::setLoginItemEnabled(const std::string& identifier, bool enabled) {
    std::lock_guard lock(mutex_);
    if (setEnabledRefused_)
        return false;
    if (enabled)
        loginItems_[identifier] = true;
    else
        loginItems_.erase(identifier);
    return true;
}

std::optional<std::vector<PlistValue>> SimLoginItems::userJobDictionaries() const {
    std::lock_guard lock(mutex_);
    if (jobsRefused_)
        return std::nullopt;
    std::vector<PlistValue> jobs = otherJobs_;
    for (const auto& [identifier, onDemand] : loginItems_)
        jobs.emplace_back(PlistDictionary{{"Label", identifier}, {"OnDemand", onDemand}});
    return jobs;
}

std::vector<SimLoginItems::Call> SimLoginItems::mainAppCalls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

void SimLoginItems::setApprovalRequired(bool required) {
    std::lock_guard lock(mutex_);
    approvalRequired_ = required;
}

void SimLoginItems::setMainAppMissing(bool missing) {
    std::lock_guard lock(mutex_);
    missing_ = missing;
}

void SimLoginItems::setOtherJobs(std::vector<PlistValue> jobs) {
    std::lock_guard lock(mutex_);
    otherJobs_ = std::move(jobs);
}

void SimLoginItems::failNextRegister(int count) {
    registerFailures_.set(count);
}

void SimLoginItems::failNextUnregister(int count) {
    unregisterFailures_.set(count);
}

void SimLoginItems::setSetEnabledRefused(bool refused) {
    std::lock_guard lock(mutex_);
    setEnabledRefused_ = refused;
}

void SimLoginItems::setJobDictionariesRefused(bool refused) {
    std::lock_guard lock(mutex_);
    jobsRefused_ = refused;
}

}  // namespace corvane::platform::sim
