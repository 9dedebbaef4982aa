#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/servicemanagement/ServiceManagement.h"

namespace corvane::platform {

/// Where the user's login items are kept: the registration of the main application (macOS
/// 13 and later) and the older login items named by identifier with the user's jobs.
class LoginItemBackend {
  public:
    virtual ~LoginItemBackend() = default;

    virtual SMAppService::Status mainAppStatus() const = 0;
    /// Throws `SMAppServiceError` when refused.
    virtual void registerMainApp() = 0;
    /// Throws `SMAppServiceError` when refused.
    virtual void unregisterMainApp() = 0;

    /// False when refused.
    virtual bool setLoginItemEnabled(const std::string& identifier, bool enabled) = 0;
    /// The jobs of the user's launch domain; none when no list can be given.
    virtual std::optional<std::vector<PlistValue>> userJobDictionaries() const = 0;
};

/// Installs the login-item backend of the process.
void installLoginItemBackend(std::shared_ptr<LoginItemBackend> backend);

}  // namespace corvane::platform
