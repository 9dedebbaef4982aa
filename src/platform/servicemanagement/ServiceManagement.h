#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/foundation/PlistValue.h"

namespace corvane::platform {

/// The error a login-service registration throws: why the registration could not change,
/// in words for a person (`localizedDescription`).
class SMAppServiceError : public std::runtime_error {
  public:
    explicit SMAppServiceError(const std::string& description) : std::runtime_error(description) {}
    std::string localizedDescription() const { return what(); }
};

/// The login service of macOS 13 and later: registers an application to launch when the
/// user logs in. Main thread only.
class SMAppService {
  public:
    enum class Status {
        notRegistered,     ///< not registered, or unregistered
        enabled,           ///< registered and allowed to launch at login
        requiresApproval,  ///< registered, awaiting the user's approval
        notFound,          ///< the system cannot find the application to register
    };

    /// The service of the main application itself.
    static SMAppService& mainApp();

    Status status() const;
    /// Registers the application to launch at login; throws `SMAppServiceError` when the
    /// registration is refused.
    void registerAndReturnError();
    /// Removes the registration; throws `SMAppServiceError` when that is refused.
    void unregisterAndReturnError();

  private:
    SMAppService() = default;
};

/// The launch domain of the user's own jobs.
inline const std::string kSMDomainUserLaunchd = "kSMDomainUserLaunchd";

/// The login-item interface before macOS 13: enables or disables the login item named
/// `identifier` (a helper that launches the application). False when the system refused.
bool SMLoginItemSetEnabled(const std::string& identifier, bool enabled);

/// The job dictionaries of a launch domain (only `kSMDomainUserLaunchd` holds any), each
/// with its "Label" and "OnDemand"; none when the system gives no list. The entries are
/// whatever the system reports: code that expects dictionaries checks them.
std::optional<std::vector<PlistValue>> SMCopyAllJobDictionaries(const std::string& domain);

}  // namespace corvane::platform
