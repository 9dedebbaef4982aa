#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/servicemanagement/LoginItemBackend.h"
#include "platform/sim/FaultCount.h"

namespace corvane::platform::sim {

/// The simulated session's login items: the main application's registration (macOS 13 and
/// later), the older login items by identifier, and the user's other launch jobs. It keeps
/// every registration and records the calls made to the main application's service.
class SimLoginItems final : public LoginItemBackend {
  public:
    /// One call to the main application's service, in order.
    enum class Call { registerService, unregisterService };

    SMAppService::Status mainAppStatus() const override;
    /// Registers (awaiting approval while approval is required); fails as the knobs say.
    void registerMainApp() override;
    /// Removes the registration (none is fine); fails as the knobs say.
    void unregisterMainApp() override;
    /// Adds the job of a login item (label `identifier`, "OnDemand" true), or removes it;
    /// false, with nothing changed, while refused.
    bool setLoginItemEnabled(const std::string& identifier, bool enabled) override;
    /// The other jobs, then one per enabled login item; none while refused.
    std::optional<std::vector<PlistValue>> userJobDictionaries() const override;

    std::vector<Call> mainAppCalls() const;

    // State.

    /// While set, a registration awaits the user's approval: the status reads
    /// `requiresApproval` until it is cleared (the user approved).
    void setApprovalRequired(bool required);
    /// While set, the system cannot find the application: the status reads `notFound` and
    /// registering fails.
    void setMainAppMissing(bool missing);
    /// The jobs of other programs in the user's launch domain (any values, as the system
    /// might report them).
    void setOtherJobs(std::vector<PlistValue> jobs);

    // Fault knobs.

    void failNextRegister(int count);
    void failNextUnregister(int count);
    void setSetEnabledRefused(bool refused);
    void setJobDictionariesRefused(bool refused);

  private:
    mutable std::mutex mutex_;
    bool registered_ = false;
    bool approvalRequired_ = false;
    bool missing_ = false;
    std::vector<Call> calls_;
    std::map<std::string, bool> loginItems_;  ///< enabled login items by identifier
    std::vector<PlistValue> otherJobs_;
    FaultCount registerFailures_;
    FaultCount unregisterFailures_;
    bool setEnabledRefused_ = false;
    bool jobsRefused_ = false;
};

}  // namespace corvane::platform::sim
