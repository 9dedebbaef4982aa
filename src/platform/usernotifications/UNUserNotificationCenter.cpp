#include "platform/usernotifications/UNUserNotificationCenter.h"

namespace corvane::platform {

UNUserNotificationCenter& UNUserNotificationCenter::currentNotificationCenter() {
    static auto* center = new UNUserNotificationCenter();
    return *center;
}

}  // namespace corvane::platform
