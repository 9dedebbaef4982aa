#include "app/UserDriverDelegate.h"

#include "app/UpdaterManager.h"
#include "platform/appkit/NSApplication.h"
#include "platform/process/StandardOutput.h"
#include "platform/runtime/Runtime.h"
#include "platform/usernotifications/UNUserNotificationCenter.h"

namespace corvane {

using namespace platform;

UserDriverDelegate& UserDriverDelegate::shared() {
    static auto* delegate = new UserDriverDelegate();
    return *delegate;
}

void UserDriverDelegate::standardUserDriverWillHandleShowingUpdate(
    bool, const SUAppcastItem& update, const SPUUserUpdateState& state) {
    StandardOutput::shared().print("User updater check");
    if (state.userInitiated)
        return;
    StandardOutput::shared().print("System updater check");
    NSApplication::shared().setActivationPolicy(ActivationPolicy::regular);
    runtime().mainQueue().asyncAfter(kBadgeDelay,
                                     [] { NSApplication::shared().dockTile().setBadgeLabel("1"); });

    UNMutableNotificationContent content;
    content.title = "A new update is available";
    content.body = "Version " + update.displayVersionString + " is now available";
    UNUserNotificationCenter::currentNotificationCenter().addNotificationRequest(
        UNNotificationRequest::requestWithIdentifier(UpdaterManager::kNotificationIdentifier,
                                                     std::move(content)));
}

void UserDriverDelegate::standardUserDriverDidReceiveUserAttentionForUpdate(const SUAppcastItem&) {
    NSApplication::shared().dockTile().setBadgeLabel("");
    UNUserNotificationCenter::currentNotificationCenter()
        .removeDeliveredNotificationsWithIdentifiers({UpdaterManager::kNotificationIdentifier});
}

void UserDriverDelegate::standardUserDriverWillFinishUpdateSession() {
    NSApplication::shared().setActivationPolicy(ActivationPolicy::accessory);
}

}  // namespace corvane
