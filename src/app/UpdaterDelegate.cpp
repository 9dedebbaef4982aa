#include "app/UpdaterDelegate.h"

#include "platform/usernotifications/UNUserNotificationCenter.h"

namespace corvane {

using namespace platform;

UpdaterDelegate& UpdaterDelegate::shared() {
    static auto* delegate = new UpdaterDelegate();
    return *delegate;
}

void UpdaterDelegate::updaterWillScheduleUpdateCheckAfterDelay(SPUUpdater&, double) {
    UNUserNotificationCenter::currentNotificationCenter().requestAuthorizationWithOptions(
        UNAuthorizationOptionBadge | UNAuthorizationOptionSound | UNAuthorizationOptionAlert,
        [](bool, std::optional<std::string>) {});
}

}  // namespace corvane
