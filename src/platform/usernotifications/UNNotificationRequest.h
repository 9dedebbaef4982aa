#pragma once

#include <string>

namespace corvane::platform {

/// What a notification shows.
struct UNMutableNotificationContent {
    std::string title;
    std::string body;

    bool operator==(const UNMutableNotificationContent&) const = default;
};

/// A notification to deliver: with no trigger, it is delivered at once. A request whose
/// identifier is already delivered replaces that notification.
struct UNNotificationRequest {
    std::string identifier;
    UNMutableNotificationContent content;

    static UNNotificationRequest requestWithIdentifier(std::string identifier,
                                                       UNMutableNotificationContent content) {
        return {std::move(identifier), std::move(content)};
    }
    bool operator==(const UNNotificationRequest&) const = default;
};

}  // namespace corvane::platform
