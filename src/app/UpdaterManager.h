#pragma once

#include <functional>
#include <memory>

#include "platform/sparkle/SPUStandardUpdaterController.h"
#include "platform/usernotifications/UNUserNotificationCenter.h"

namespace corvane {

/// The process-wide owner of the update framework's controller, and the delegate of the
/// application's user-notification centre: a click on the update reminder "UpdateCheck"
/// brings the pending update into view. Main thread only.
class UpdaterManager : public platform::UNUserNotificationCenterDelegate {
  public:
    /// The identifier that ties the update reminder, its removal and the response together.
    static constexpr const char* kNotificationIdentifier = "UpdateCheck";

    /// The instance, created on first use (logging "Module initialized: UpdaterManager" and
    /// starting the updater), never destroyed.
    static UpdaterManager& shared();

    /// The controller, made and started once in the initialiser, with the shared
    /// `UpdaterDelegate` and `UserDriverDelegate`.
    const std::unique_ptr<platform::SPUStandardUpdaterController> updaterController;

    /// A click on the reminder itself starts a user-initiated check; every response ends
    /// with `completionHandler`.
    void userNotificationCenterDidReceiveNotificationResponse(
        platform::UNUserNotificationCenter& center,
        const platform::UNNotificationResponse& response,
        const std::function<void()>& completionHandler) override;

  private:
    UpdaterManager();
};

}  // namespace corvane
