#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/usernotifications/UNNotificationRequest.h"

namespace corvane::platform {

struct UNNotificationResponse;

/// Where the application's notifications are shown: the simulated session's notification
/// centre, or the desktop's notification service. Main thread only.
class UserNotificationsBackend {
  public:
    virtual ~UserNotificationsBackend() = default;
    /// Asks the user (once; later asks repeat the first answer) to allow notifications with
    /// `options` (`UNAuthorizationOptions`); true when allowed.
    virtual bool requestAuthorization(unsigned options) = 0;
    /// Delivers `request` at once; the error when it was not delivered (notifications not
    /// allowed, the service unreachable).
    virtual std::optional<std::string> deliver(const UNNotificationRequest& request) = 0;
    /// Takes the delivered notifications with these identifiers away.
    virtual void removeDelivered(const std::vector<std::string>& identifiers) = 0;
    /// `handler` receives the user's answers to delivered notifications, on the main thread.
    virtual void setResponseHandler(std::function<void(const UNNotificationResponse&)> handler) = 0;
};

/// Installs the user-notifications backend of the process.
void installUserNotificationsBackend(std::shared_ptr<UserNotificationsBackend> backend);

}  // namespace corvane::platform
