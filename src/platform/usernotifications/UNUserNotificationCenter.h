#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/usernotifications/UNNotificationRequest.h"

namespace corvane::platform {

/// What a notification may do, asked for together (`requestAuthorizationWithOptions`).
enum UNAuthorizationOptions : unsigned {
    UNAuthorizationOptionBadge = 1 << 0,
    UNAuthorizationOptionSound = 1 << 1,
    UNAuthorizationOptionAlert = 1 << 2,
};

/// The action of a response in which the user clicked the notification itself.
inline const std::string UNNotificationDefaultActionIdentifier =
    "com.apple.UNNotificationDefaultActionIdentifier";
/// The action of a response in which the user dismissed the notification.
inline const std::string UNNotificationDismissActionIdentifier =
    "com.apple.UNNotificationDismissActionIdentifier";

/// The user's answer to a delivered notification.
struct UNNotificationResponse {
    std::string requestIdentifier;  ///< the identifier of the notification's request
    std::string actionIdentifier;   ///< what the user did with it

    bool operator==(const UNNotificationResponse&) const = default;
};

class UNUserNotificationCenter;

/// Receives the user's responses to the application's notifications, on the main thread.
class UNUserNotificationCenterDelegate {
  public:
    virtual ~UNUserNotificationCenterDelegate() = default;

    /// The user responded to a notification; `completionHandler` must be called once the
    /// response is handled. The base answer only calls it.
    virtual void userNotificationCenterDidReceiveNotificationResponse(
        UNUserNotificationCenter& center, const UNNotificationResponse& response,
        const std::function<void()>& completionHandler) {
        (void)center;
        (void)response;
        completionHandler();
    }
};

/// The application's user-notification centre: permission to notify, delivering and taking
/// away notifications, and the user's responses, handed to the delegate. Main thread only.
class UNUserNotificationCenter {
  public:
    using AuthorizationHandler =
        std::function<void(bool granted, std::optional<std::string> error)>;
    using ErrorHandler = std::function<void(std::optional<std::string> error)>;

    /// The application's centre, created on first use, never destroyed.
    static UNUserNotificationCenter& currentNotificationCenter();

    /// The delegate, not owned; null: none.
    UNUserNotificationCenterDelegate* delegate() const { return delegate_; }
    void setDelegate(UNUserNotificationCenterDelegate* delegate) { delegate_ = delegate; }

    /// Asks to notify with `options` (`UNAuthorizationOptions`); `completionHandler` (may be
    /// empty) gets the answer later, on the main queue.
    void requestAuthorizationWithOptions(unsigned options, AuthorizationHandler completionHandler);
    /// Delivers `request` at once; a notification that is not allowed is dropped.
    /// `completionHandler` (may be empty) gets the error, if any, later on the main queue.
    void addNotificationRequest(const UNNotificationRequest& request,
                                ErrorHandler completionHandler = nullptr);
    /// Takes the delivered notifications with these identifiers away.
    void removeDeliveredNotificationsWithIdentifiers(const std::vector<std::string>& identifiers);

  private:
    UNUserNotificationCenter();
    void didReceiveResponse(const UNNotificationResponse& response);

    UNUserNotificationCenterDelegate* delegate_ = nullptr;
};

}  // namespace corvane::platform
