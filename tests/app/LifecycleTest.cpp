#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/AppDelegate.h"
#include "app/CorvaneApp.h"
#include "app/HUDManager.h"
#include "app/UpdaterManager.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/Workspace.h"
#include "platform/quartz/CGEventTap.h"
#include "platform/sentry/SentrySDK.h"
#include "platform/sim/Session.h"
#include "platform/usernotifications/UNUserNotificationCenter.h"
#include "preferences/PreferencesTabViewController.h"
#include "scroll/ScrollCoordinator.h"
#include "settings/SettingsManager.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using namespace platform;
using ::testing::ElementsAre;
using testing::PrintTo;
using testing::rt;

using Shown = HUDManager::ShownMessage;

/// The application launched on the simulated session, with the clock read from launch on.
class LifecycleTest : public ::testing::Test {
  protected:
    /// Launches the application with the Accessibility permission `trusted`.
    void launch(bool trusted) {
        sim::session().accessibility().setTrusted(trusted);
        launchedAt_ = rt().mediaTime();
        CorvaneApp::main();
    }
    /// Runs the clock to `seconds` after launch.
    void at(double seconds) { rt().runUntil(launchedAt_ + seconds); }
    double launchedAt() const { return launchedAt_; }

    AppDelegate& delegate() {
        return dynamic_cast<AppDelegate&>(*NSApplication::shared().delegate());
    }
    static bool coordinatorActive() { return ScrollCoordinator::shared().isActive; }
    /// Taps that take part in delivery now.
    static long enabledTaps() {
        auto taps = sim::session().windowServer().taps();
        return std::count_if(taps.begin(), taps.end(),
                             [](const auto& tap) { return CGEventTapIsEnabled(tap); });
    }
    static const std::vector<Shown>& hud() { return HUDManager::shared().shownMessages(); }
    static std::shared_ptr<NSWindow> permissionWindow() {
        return WindowManager::shared().window("permission");
    }
    static long logged(const std::string& message) {
        const auto messages = testing::loggedMessages();
        return std::count(messages.begin(), messages.end(), message);
    }

  private:
    double launchedAt_ = 0;
};

struct TrustedLaunch {
    const char* name;
    bool showMenuIcon;
    bool smooth;
    std::vector<std::string> hudTexts;
    long taps;
};

class LaunchWithPermission : public LifecycleTest,
                             public ::testing::WithParamInterface<TrustedLaunch> {};

// With permission the coordinator starts at launch (its taps only while smoothing is on);
// "Corvane started" shows for 2.0 s only when the menu icon is hidden, before the start.
TEST_P(LaunchWithPermission, StartsTheCoordinatorAndGreetsOnlyWithoutTheIcon) {
    auto app = SettingsManager::shared().appSettings();
    app.showMenuIcon = GetParam().showMenuIcon;
    SettingsManager::shared().setAppSettings(app);
    auto base = SettingsManager::shared().scrollBase();
    base.smooth = GetParam().smooth;
    SettingsManager::shared().setScrollBase(base);

    launch(true);

    std::vector<std::string> texts;
    for (const auto& m : hud()) {
        texts.push_back(m.text);
        EXPECT_EQ(m.duration, 2.0);
        EXPECT_EQ(m.size, 300);
        EXPECT_EQ(m.shownAt, launchedAt());
    }
    EXPECT_EQ(texts, GetParam().hudTexts);
    EXPECT_EQ(coordinatorActive(), GetParam().smooth);
    EXPECT_EQ(enabledTaps(), GetParam().taps);
    EXPECT_EQ(logged("No permission"), 0);
    EXPECT_EQ(delegate().permissionCheckTimer, nullptr);
    EXPECT_TRUE(WindowManager::shared().windows().empty());
}

INSTANTIATE_TEST_SUITE_P(Table, LaunchWithPermission,
                         ::testing::Values(TrustedLaunch{"iconShown", true, true, {}, 3},
                                           TrustedLaunch{
                                               "iconHidden", false, true, {"Corvane started"}, 3},
                                           TrustedLaunch{"smoothingOff", true, false, {}, 0}),
                         testing::CaseName());

// Set-up runs in its order: the update glue first (from the delegate's creation), crash
// reporting started once with its four options, the status item, the accessory policy (which
// the workspace's entry of the application reports), the notification-centre delegate and one
// observer for each session notification.
TEST_F(LifecycleTest, SetUpRunsInOrderOnce) {
    launch(true);
    const auto messages = testing::loggedMessages();
    auto position = [&](const std::string& m) {
        return std::find(messages.begin(), messages.end(), m) - messages.begin();
    };
    EXPECT_LT(position("Module initialized: UpdaterManager"),
              position("Module initialized: StatusBarManager"));
    EXPECT_LT(position("Module initialized: StatusBarManager"),
              position("Module initialized: ScrollCoordinator"));
    EXPECT_LT(position("Module initialized: ScrollCoordinator"), std::ssize(messages));

    EXPECT_EQ(SentrySDK::startCount(), 1);
    SentryOptions expected{AppDelegate::kCrashReportingDSN, true, true, true};
    EXPECT_EQ(SentrySDK::options(), expected);
    EXPECT_NE(std::string(AppDelegate::kCrashReportingDSN).find(".example.invalid/"),
              std::string::npos);

    EXPECT_EQ(NSApplication::shared().activationPolicy(), ActivationPolicy::accessory);
    EXPECT_EQ(sim::session().workspace().ownApplication()->activationPolicy(),
              ActivationPolicy::accessory);
    EXPECT_EQ(UNUserNotificationCenter::currentNotificationCenter().delegate(),
              &UpdaterManager::shared());
    auto& center = Workspace::shared().notificationCenter();
    EXPECT_EQ(center.observerCount(NSWorkspaceSessionDidBecomeActiveNotification), 1u);
    EXPECT_EQ(center.observerCount(NSWorkspaceSessionDidResignActiveNotification), 1u);

    CorvaneApp::main();  // a second entry launches nothing again
    EXPECT_EQ(SentrySDK::startCount(), 1);
    EXPECT_EQ(center.observerCount(NSWorkspaceSessionDidBecomeActiveNotification), 1u);
}

// Without permission: "No permission", the window "permission" (title "Corvane", titled and
// closable, normal level) and a 2.0 s poll; a poll that still finds no trust changes
// nothing; the first poll after the grant (within 2 s) stops the poll, closes the window,
// shows "Permission granted" for 3.0 s and starts the coordinator.
TEST_F(LifecycleTest, WithoutPermissionPollsUntilGrantedThenStarts) {
    launch(false);
    EXPECT_EQ(logged("No permission"), 1);
    auto window = permissionWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title(), "Corvane");
    EXPECT_EQ(window->styleMask(), NSWindowStyleMaskTitled | NSWindowStyleMaskClosable);
    EXPECT_EQ(window->level(), NSNormalWindowLevel);
    EXPECT_TRUE(window->isVisible());
    auto timer = delegate().permissionCheckTimer;
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 2.0);
    EXPECT_TRUE(timer->repeats());
    EXPECT_FALSE(coordinatorActive());
    EXPECT_EQ(enabledTaps(), 0);

    at(2.0);  // a poll without trust
    EXPECT_EQ(permissionWindow(), window);
    EXPECT_TRUE(timer->isValid());

    at(3.0);
    sim::session().accessibility().setTrusted(true);
    at(3.99);
    EXPECT_EQ(permissionWindow(), window);
    EXPECT_TRUE(hud().empty());

    at(4.0);
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(delegate().permissionCheckTimer, nullptr);
    EXPECT_EQ(permissionWindow(), nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_THAT(hud(), ElementsAre(Shown{"Permission granted", 3.0, 300, launchedAt() + 4.0}));
    EXPECT_TRUE(coordinatorActive());
    EXPECT_EQ(enabledTaps(), 3);
    EXPECT_EQ(logged("No permission"), 1);

    at(20.0);  // the poll is over
    EXPECT_EQ(hud().size(), 1u);
}

// Closing the permission window by hand does not stop the poll; the grant still starts the
// coordinator.
TEST_F(LifecycleTest, ClosingThePermissionWindowKeepsThePoll) {
    launch(false);
    permissionWindow()->performClose();
    EXPECT_EQ(permissionWindow(), nullptr);
    sim::session().accessibility().setTrusted(true);
    at(2.0);
    EXPECT_EQ(delegate().permissionCheckTimer, nullptr);
    EXPECT_TRUE(coordinatorActive());
    EXPECT_EQ(hud().size(), 1u);
}

// Activation while waiting brings the same window forward and restarts the poll with one
// timer only.
TEST_F(LifecycleTest, ActivationWhileWaitingRefrontsTheWindowWithOneTimer) {
    launch(false);
    auto window = permissionWindow();
    auto first = delegate().permissionCheckTimer;
    window->orderOut();
    const int activations = NSApplication::shared().activationCount();
    at(1.0);

    delegate().sessionDidActiveWithNotification({});
    EXPECT_EQ(permissionWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_GT(NSApplication::shared().activationCount(), activations);
    EXPECT_FALSE(first->isValid());
    auto second = delegate().permissionCheckTimer;
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isValid());
    EXPECT_EQ(logged("No permission"), 2);
    EXPECT_EQ(logged("ScrollCoordinator Start: Session Active"), 0);

    // The new poll counts from the activation: a grant at 2.5 s is seen at 3.0 s.
    at(2.5);
    sim::session().accessibility().setTrusted(true);
    at(2.99);
    EXPECT_NE(permissionWindow(), nullptr);
    at(3.0);
    EXPECT_EQ(permissionWindow(), nullptr);
    EXPECT_EQ(hud().size(), 1u);
}

// Resignation while polling stops the poll and leaves the window open; nothing happens
// until the session is active again, when the flow starts over.
TEST_F(LifecycleTest, ResignationStopsThePollAndActivationRestartsTheFlow) {
    launch(false);
    auto timer = delegate().permissionCheckTimer;
    sim::session().workspace().resignSession();
    rt().runPending();  // the notification arrives on the main queue
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(delegate().permissionCheckTimer, nullptr);
    EXPECT_NE(permissionWindow(), nullptr);
    EXPECT_EQ(logged("ScrollCoordinator End: Session Resign"), 1);

    at(10.0);
    EXPECT_NE(permissionWindow(), nullptr);
    EXPECT_TRUE(hud().empty());

    sim::session().workspace().activateSession();
    rt().runPending();
    EXPECT_EQ(logged("No permission"), 2);
    ASSERT_NE(delegate().permissionCheckTimer, nullptr);
    sim::session().accessibility().setTrusted(true);
    at(12.0);
    EXPECT_EQ(permissionWindow(), nullptr);
    EXPECT_TRUE(coordinatorActive());
}

// With permission, resignation stops the coordinator (taps disabled) and activation starts
// it again, logging both.
TEST_F(LifecycleTest, SessionChangesStopAndStartTheCoordinator) {
    launch(true);
    sim::session().workspace().resignSession();
    rt().runPending();
    EXPECT_FALSE(coordinatorActive());
    EXPECT_EQ(enabledTaps(), 0);
    EXPECT_EQ(logged("ScrollCoordinator End: Session Resign"), 1);

    sim::session().workspace().activateSession();
    rt().runPending();
    EXPECT_TRUE(coordinatorActive());
    EXPECT_EQ(enabledTaps(), 3);
    EXPECT_EQ(logged("ScrollCoordinator Start: Session Active"), 1);

    // Logged also when the start changes nothing.
    delegate().sessionDidActiveWithNotification({});
    EXPECT_EQ(logged("ScrollCoordinator Start: Session Active"), 2);
}

struct ReopenCase {
    const char* name;
    bool trusted;
    bool visibleWindow;
    bool opensSettings;
};

class ReopenTest : public LifecycleTest, public ::testing::WithParamInterface<ReopenCase> {};

// Reopening opens the settings window only with permission and no visible window; the
// answer is the visible-windows flag.
TEST_P(ReopenTest, OpensTheSettingsOnlyWithPermissionAndNoVisibleWindow) {
    launch(GetParam().trusted);
    WindowManager::shared().closeAll();
    if (GetParam().visibleWindow) {
        WindowManager::shared().openWindow("about", "About", ui::View(ui::Text("About")),
                                           NSNormalWindowLevel, 3);
    }
    EXPECT_EQ(NSApplication::shared().reopen(), GetParam().visibleWindow);

    auto settings = WindowManager::shared().window("preferences");
    ASSERT_EQ(settings != nullptr, GetParam().opensSettings);
    if (!settings)
        return;
    // The controller titles the window with its first tab as it appears.
    EXPECT_EQ(settings->title(), "General");
    EXPECT_EQ(settings->styleMask(), NSWindowStyleMaskTitled | NSWindowStyleMaskClosable);
    EXPECT_NE(
        std::dynamic_pointer_cast<PreferencesTabViewController>(settings->contentViewController()),
        nullptr);

    // Reopened again with the window ordered out: the same window comes to the front.
    settings->orderOut();
    EXPECT_FALSE(NSApplication::shared().reopen());
    EXPECT_EQ(WindowManager::shared().window("preferences"), settings);
    EXPECT_TRUE(settings->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Table, ReopenTest,
                         ::testing::Values(ReopenCase{"trustedNoWindow", true, false, true},
                                           ReopenCase{"trustedVisibleWindow", true, true, false},
                                           ReopenCase{"untrustedNoWindow", false, false, false}),
                         testing::CaseName());

// Termination stops the coordinator and logs "App terminated", once.
TEST_F(LifecycleTest, TerminationStopsTheCoordinator) {
    launch(true);
    ASSERT_TRUE(coordinatorActive());
    NSApplication::shared().terminate();
    EXPECT_FALSE(NSApplication::shared().isRunning());
    EXPECT_FALSE(coordinatorActive());
    EXPECT_EQ(enabledTaps(), 0);
    EXPECT_EQ(logged("App terminated"), 1);
    NSApplication::shared().terminate();
    EXPECT_EQ(logged("App terminated"), 1);
}

struct InstancesCase {
    const char* name;
    std::vector<pid_t> copies;
    std::vector<pid_t> asked;
};

class SingleInstanceTest : public LifecycleTest,
                           public ::testing::WithParamInterface<InstancesCase> {};

// The own process counts as a copy: with one other copy running, launching asks that copy
// (listed first) to quit and logs its pid; with none, nobody is asked.
TEST_P(SingleInstanceTest, AsksTheFirstOtherCopyToQuit) {
    for (pid_t pid : GetParam().copies) {
        sim::session().workspace().launch(
            {.processIdentifier = pid, .bundleIdentifier = "com.Quillon.Corvane"});
    }
    launch(true);
    EXPECT_EQ(sim::session().workspace().terminateRequests(), GetParam().asked);
    for (pid_t pid : GetParam().asked)
        EXPECT_EQ(logged("Terminate instance: " + std::to_string(pid)), 1);
    // The application never asks itself to quit.
    EXPECT_EQ(
        logged("Terminate instance: " + std::to_string(sim::SimWorkspace::kOwnProcessIdentifier)),
        0);
    EXPECT_TRUE(coordinatorActive());
}

INSTANTIATE_TEST_SUITE_P(Table, SingleInstanceTest,
                         ::testing::Values(InstancesCase{"noOtherCopy", {}, {}},
                                           InstancesCase{"oneCopy", {700}, {700}},
                                           InstancesCase{"twoCopies", {700, 701}, {700}}),
                         testing::CaseName());

}  // namespace
}  // namespace corvane
