#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/NSApplicationDelegate.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Timer.h"
#include "platform/sentry/SentrySDK.h"

namespace corvane {

/// The application's delegate: the order of start-up, the Accessibility permission flow
/// (check, permission window, a poll every 2.0 s, HUD messages), the user session becoming
/// active or inactive, reopening the application, and termination. Main thread only.
class AppDelegate : public platform::NSApplicationDelegate {
  public:
    /// Seconds between two permission polls.
    static constexpr double kPermissionPollInterval = 2.0;
    /// The project the crash reports are meant for; a reserved domain that names no real
    /// project, since nothing is sent from this machine.
    static constexpr const char* kCrashReportingDSN =
        "https://corvane-public@crash-reports.example.invalid/1";

    /// Creates the update glue (`UpdaterManager::shared()`); no poll runs yet.
    AppDelegate();
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    /// The single-instance rule: another running copy of the application is asked to quit.
    void applicationWillFinishLaunching(const platform::Notification& notification) override;
    /// The move offer, crash reporting, then the set-up: status item, accessory policy,
    /// notification-centre delegate, session observers and the permission check.
    void applicationDidFinishLaunching(const platform::Notification& notification) override;
    /// Opens the settings window when no window is visible and the permission is granted;
    /// returns `hasVisibleWindows` unchanged.
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override;
    /// The session became active: the permission check without permission, else the
    /// coordinator starts ("ScrollCoordinator Start: Session Active").
    void sessionDidActiveWithNotification(const platform::Notification& notification);
    /// The session resigned: the poll and the coordinator stop ("ScrollCoordinator End:
    /// Session Resign").
    void sessionDidResignWithNotification(const platform::Notification& notification);
    /// Stops the coordinator and logs "App terminated".
    void applicationWillTerminate(const platform::Notification& notification) override;

    /// The permission flow. With no timer (set-up, session activation): with permission,
    /// "Corvane started" in the HUD for 2.0 s when the menu icon is hidden, then the
    /// coordinator starts; without, "No permission" is logged, the window "permission" is
    /// opened (or brought to the front) and the poll (re)starts. With the poll's timer: once
    /// the permission is there the poll stops, the window closes, "Permission granted" shows
    /// in the HUD for 3.0 s and the coordinator starts.
    void startAccessibilityPermissionChecker(platform::Timer* timer);

    /// The repeating permission poll, present only while polling.
    std::shared_ptr<platform::Timer> permissionCheckTimer;

  private:
    /// The crash-reporting options, in their order: dsn, debug, personal data, uncaught
    /// exceptions.
    static void configureCrashReporting(platform::SentryOptions& options);
    void setupApplication();
    void stopPermissionCheckTimer();

    std::vector<platform::NotificationCenter::ObserverToken> sessionObservers_;
};

}  // namespace corvane
