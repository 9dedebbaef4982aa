#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/usernotifications/UNUserNotificationCenter.h"
#include "platform/usernotifications/UserNotificationsBackend.h"

namespace corvane::platform::sim {

/// One notification the application delivered, as the session's notification centre saw it.
struct DeliveredNotification {
    double mediaTime = 0;  ///< when it was delivered
    UNNotificationRequest request;
    /// When it was taken away (clicked, dismissed, removed or replaced); none: still shown.
    std::optional<double> removedAt;

    bool operator==(const DeliveredNotification&) const = default;
};

/// The simulated session's notification centre: the user's answer to the permission request
/// (allowed unless refused with `setNotificationAuthorizationRefused`; a refusal stands for
/// every later request, as the system remembers it), the notifications delivered, and the
/// user clicking or dismissing one.
class SimNotifications final : public UserNotificationsBackend {
  public:
    bool requestAuthorization(unsigned options) override;
    std::optional<std::string> deliver(const UNNotificationRequest& request) override;
    void removeDelivered(const std::vector<std::string>& identifiers) override;
    void setResponseHandler(std::function<void(const UNNotificationResponse&)> handler) override;

    /// While set, the user refuses notifications when asked.
    void setNotificationAuthorizationRefused(bool refused) { refused_ = refused; }
    /// Permission requests made so far.
    int authorizationRequests() const { return authorizationRequests_; }

    /// Every notification delivered, in order, shown or taken away since.
    const std::vector<DeliveredNotification>& history() const { return history_; }
    /// The notifications shown now, in the order delivered.
    std::vector<UNNotificationRequest> deliveredNotifications() const;
    /// The user clicks the notification `identifier` (it goes away and the application gets
    /// the default action); false when none is shown.
    bool click(const std::string& identifier);
    /// The user dismisses it (it goes away and the application gets the dismiss action);
    /// false when none is shown.
    bool dismiss(const std::string& identifier);

  private:
    bool respond(const std::string& identifier, const std::string& action);
    /// Marks the shown notification `identifier` taken away; false when none is shown.
    bool takeAway(const std::string& identifier);

    std::optional<bool> allowed_;
    bool refused_ = false;
    int authorizationRequests_ = 0;
    std::vector<DeliveredNotification> history_;
    std::function<void(const UNNotificationResponse&)> respond_;
};

}  // namespace corvane::platform::sim
