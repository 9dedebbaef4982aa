#include "platform/usernotifications/UNUserNotificationCenter.h"

#include "platform/runtime/BackendSlot.h"
#include "platform/runtime/Runtime.h"
#include "platform/usernotifications/UserNotificationsBackend.h"

namespace corvane::platform {

namespace {

BackendSlot<UserNotificationsBackend>& slot() {
    return backendSlot<UserNotificationsBackend>("user-notifications");
}

}  // namespace

void installUserNotificationsBackend(std::shared_ptr<UserNotificationsBackend> backend) {
    slot().install(std::move(backend));
}

UNUserNotificationCenter& UNUserNotificationCenter::currentNotificationCenter() {
    static auto* center = new UNUserNotificationCenter();
    return *center;
}

UNUserNotificationCenter::UNUserNotificationCenter() {
    // The centre is never destroyed, so the backend may keep it.
    slot().get().setResponseHandler(
        [this](const UNNotificationResponse& response) { didReceiveResponse(response); });
}

void UNUserNotificationCenter::requestAuthorizationWithOptions(
    unsigned options, AuthorizationHandler completionHandler) {
    const bool granted = slot().get().requestAuthorization(options);
    if (completionHandler)
        runtime().mainQueue().async([granted, completionHandler = std::move(completionHandler)] {
            completionHandler(granted, std::nullopt);
        });
}

void UNUserNotificationCenter::addNotificationRequest(const UNNotificationRequest& request,
                                                      ErrorHandler completionHandler) {
    auto error = slot().get().deliver(request);
    if (completionHandler)
        runtime().mainQueue().async(
            [error = std::move(error), completionHandler = std::move(completionHandler)] {
                completionHandler(error);
            });
}

void UNUserNotificationCenter::removeDeliveredNotificationsWithIdentifiers(
    const std::vector<std::string>& identifiers) {
    slot().get().removeDelivered(identifiers);
}

void UNUserNotificationCenter::didReceiveResponse(const UNNotificationResponse& response) {
    if (delegate_ != nullptr)
        delegate_->userNotificationCenterDidReceiveNotificationResponse(*this, response, [] {});
}

}  // namespace corvane::platform
