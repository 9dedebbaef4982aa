#include "app/AppDelegate.h"

#include "app/AppMover.h"
#include "app/HUDManager.h"
#include "app/PermissionView.h"
#include "app/StatusBarManager.h"
#include "app/UpdaterManager.h"
#include "app/WindowManager.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/Workspace.h"
#include "platform/runtime/Runtime.h"
#include "platform/usernotifications/UNUserNotificationCenter.h"
#include "preferences/PreferencesTabViewController.h"
#include "scroll/ScrollCoordinator.h"
#include "settings/Logger.h"
#include "settings/SettingsManager.h"
#include "settings/Utils.h"

namespace corvane {

using namespace platform;

namespace {

constexpr double kHUDSize = 300;  // points
constexpr NSWindowStyleMask kTitledAndClosable =
    NSWindowStyleMaskTitled | NSWindowStyleMaskClosable;

}  // namespace

AppDelegate::AppDelegate() {
    UpdaterManager::shared();
}

AppDelegate::~AppDelegate() {
    stopPermissionCheckTimer();
    for (const auto& token : sessionObservers_)
        Workspace::shared().notificationCenter().removeObserver(token);
}

void AppDelegate::applicationWillFinishLaunching(const Notification&) {
    Utils::terminateOtherInstances();
}

void AppDelegate::applicationDidFinishLaunching(const Notification&) {
    AppMover::moveToApplicationsIfNeeded();
    // A move that could not be made with the administrator's rights terminates the
    // application: nothing more is set up for a process that is ending.
    if (!NSApplication::shared().isRunning())
        return;
    SentrySDK::start(&AppDelegate::configureCrashReporting);
    setupApplication();
}

void AppDelegate::configureCrashReporting(SentryOptions& options) {
    options.dsn = kCrashReportingDSN;
    options.debug = true;
    options.sendDefaultPii = true;
    options.enableUncaughtNSExceptionReporting = true;
}

void AppDelegate::setupApplication() {
    StatusBarManager::shared();
    NSApplication::shared().setActivationPolicy(ActivationPolicy::accessory);
    UNUserNotificationCenter::currentNotificationCenter().setDelegate(&UpdaterManager::shared());

    auto& center = Workspace::shared().notificationCenter();
    sessionObservers_.push_back(center.addObserver(
        NSWorkspaceSessionDidBecomeActiveNotification, [this](const Notification& notification) {
            sessionDidActiveWithNotification(notification);
        }));
    sessionObservers_.push_back(center.addObserver(
        NSWorkspaceSessionDidResignActiveNotification, [this](const Notification& notification) {
            sessionDidResignWithNotification(notification);
        }));

    startAccessibilityPermissionChecker(nullptr);
}

void AppDelegate::startAccessibilityPermissionChecker(Timer* timer) {
    if (timer == nullptr) {
        if (AXIsProcessTrusted()) {
            if (!SettingsManager::shared().settings().appSettings.showMenuIcon)
                HUDManager::shared().show("Corvane started", 2.0, kHUDSize);
            ScrollCoordinator::shared().start();
            return;
        }
        Logger::general().log("No permission");
        WindowManager::shared().openWindow("permission", "Corvane", PermissionView{},
                                           NSNormalWindowLevel, kTitledAndClosable);
        stopPermissionCheckTimer();
        // The delegate outlives every timer it schedules: the destructor invalidates it.
        permissionCheckTimer = runtime().scheduleTimer(
            kPermissionPollInterval, true,
            [this](Timer& tick) { startAccessibilityPermissionChecker(&tick); });
        return;
    }

    if (!AXIsProcessTrusted())
        return;
    timer->invalidate();
    permissionCheckTimer.reset();
    if (auto window = WindowManager::shared().window("permission"))
        window->close();
    WindowManager::shared().removeWindow("permission");
    HUDManager::shared().show("Permission granted", 3.0, kHUDSize);
    ScrollCoordinator::shared().start();
}

bool AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows) {
    if (!hasVisibleWindows && AXIsProcessTrusted()) {
        WindowManager::shared().openWindow("preferences", "Corvane Settings",
                                           std::make_shared<PreferencesTabViewController>(),
                                           NSNormalWindowLevel, kTitledAndClosable);
    }
    return hasVisibleWindows;
}

void AppDelegate::sessionDidActiveWithNotification(const Notification&) {
    if (!AXIsProcessTrusted()) {
        startAccessibilityPermissionChecker(nullptr);
        return;
    }
    ScrollCoordinator::shared().start();
    Logger::general().log("ScrollCoordinator Start: Session Active");
}

void AppDelegate::sessionDidResignWithNotification(const Notification&) {
    stopPermissionCheckTimer();
    ScrollCoordinator::shared().stop();
    Logger::general().log("ScrollCoordinator End: Session Resign");
}

void AppDelegate::applicationWillTerminate(const Notification&) {
    ScrollCoordinator::shared().stop();
    Logger::general().log("App terminated");
}

void AppDelegate::stopPermissionCheckTimer() {
    if (permissionCheckTimer)
        permissionCheckTimer->invalidate();
    permissionCheckTimer.reset();
}

}  // namespace corvane
