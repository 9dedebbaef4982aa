#pragma once

#include <functional>
#include <string>

namespace corvane::platform {

/// The action of a response in which the user clicked the notification itself.
inline const std::string UNNotificationDefaultActionIdentifier =
    "com.apple.UNNotificationDefaultActionIdentifier";

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

/// The application's user-notification centre.
class UNUserNotificationCenter {
  public:
    /// The application's centre, created on first use, never destroyed.
    static UNUserNotificationCenter& currentNotificationCenter();

    /// The delegate, not owned; null: none.
    UNUserNotificationCenterDelegate* delegate() const { return delegate_; }
    void setDelegate(UNUserNotificationCenterDelegate* delegate) { delegate_ = delegate; }

  private:
    UNUserNotificationCenter() = default;
    UNUserNotificationCenterDelegate* delegate_ = nullptr;
};

}  // namespace corvane::platform
