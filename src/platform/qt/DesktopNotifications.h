#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/usernotifications/UNUserNotificationCenter.h"
#include "platform/usernotifications/UserNotificationsBackend.h"

namespace corvane::platform::qt {

/// The live application's notifications, shown by the desktop's notification service
/// (org.freedesktop.Notifications on the session bus). The desktop asks no permission: the
/// application may notify whenever the service is there. A click on a notification answers
/// with the default action, a dismissal with the dismiss action. Main thread only.
class DesktopNotifications final : public QObject, public UserNotificationsBackend {
    Q_OBJECT

  public:
    DesktopNotifications();

    bool requestAuthorization(unsigned options) override;
    std::optional<std::string> deliver(const UNNotificationRequest& request) override;
    void removeDelivered(const std::vector<std::string>& identifiers) override;
    void setResponseHandler(std::function<void(const UNNotificationResponse&)> handler) override;

  private Q_SLOTS:
    void actionInvoked(uint id, const QString& actionKey);
    void notificationClosed(uint id, uint reason);

  private:
    bool serviceAvailable() const;
    /// Forgets the notification the service knows as `id`; its request identifier, if any.
    std::optional<std::string> forget(uint id);

    /// The service's id of each shown notification, by request identifier.
    std::map<std::string, uint> shown_;
    std::function<void(const UNNotificationResponse&)> respond_;
};

/// Installs the desktop's notifications as the user-notifications backend.
void installDesktopNotifications();

}  // namespace corvane::platform::qt
