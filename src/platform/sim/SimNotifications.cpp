#include "platform/sim/SimNotifications.h"

#include "platform/runtime/Runtime.h"

namespace corvane::platform::sim {

bool SimNotifications::requestAuthorization(unsigned options) {
    (void)options;
    ++authorizationRequests_;
    // The user is asked once; the system keeps the answer.
    if (!allowed_)
        allowed_ = !refused_;
    return *allowed_;
}

std::optional<std::string> SimNotifications::deliver(const UNNotificationRequest& request) {
    if (!allowed_.value_or(false))
        return "Notifications are not allowed for this application";
    takeAway(request.identifier);
    history_.push_back({runtime().mediaTime(), request, std::nullopt});
    return std::nullopt;
}

void SimNotifications::removeDelivered(const std::vector<std::string>& identifiers) {
    for (const auto& identifier : identifiers)
        takeAway(identifier);
}

void SimNotifications::setResponseHandler(
    std::function<void(const UNNotificationResponse&)> handler) {
    respond_ = std::move(handler);
}

std::vector<UNNotificationRequest> SimNotifications::deliveredNotifications() const {
    std::vector<UNNotificationRequest> shown;
    for (const auto& notification : history_) {
        if (!notification.removedAt)
            shown.push_back(notification.request);
    }
    return shown;
}

bool SimNotifications::click(const std::string& identifier) {
    return respond(identifier, UNNotificationDefaultActionIdentifier);
}

bool SimNotifications::dismiss(const std::string& identifier) {
    return respond(identifier, UNNotificationDismissActionIdentifier);
}

bool SimNotifications::respond(const std::string& identifier, const std::string& action) {
    if (!takeAway(identifier))
        return false;
    if (respond_)
        respond_(UNNotificationResponse{identifier, action});
    return true;
}

bool SimNotifications::takeAway(const std::string& identifier) {
    for (auto& notification : history_) {
        if (!notification.removedAt && notification.request.identifier == identifier) {
            notification.removedAt = runtime().mediaTime();
            return true;
        }
    }
    return false;
}

}  // namespace corvane::platform::sim
