#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CorvaneApp.h"
#include "app/StatusBarManager.h"
#include "app/UpdaterManager.h"
#include "platform/appkit/NSApplication.h"
#include "platform/sim/Session.h"
#include "platform/usernotifications/UNUserNotificationCenter.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using namespace platform;
using testing::PrintTo;
using testing::rt;

const UNNotificationRequest kReminder{
    "UpdateCheck", {"A new update is available", "Version 2.5 is now available"}};

/// The application launched on the simulated session with the feed offering 2.5; what it
/// prints to standard output is read with `printed`.
class UpdaterGlueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::session().updates().offerUpdate("2.5");
        CorvaneApp::main();
        ::testing::internal::CaptureStdout();
        capturing_ = true;
    }
    void TearDown() override { printed(); }

    /// What was printed since the last call.
    std::string printed() {
        if (!capturing_)
            return {};
        std::string text = ::testing::internal::GetCapturedStdout();
        ::testing::internal::CaptureStdout();
        return text;
    }
    /// The scheduled background check comes due now and answers.
    static void scheduledCheck() {
        ASSERT_TRUE(sim::session().updates().runScheduledCheckNow());
        rt().runPending();
    }
    static void userCheck() {
        UpdaterManager::shared().updaterController->checkForUpdates(nullptr);
        rt().runPending();
    }
    /// The application's activation policy, which the workspace's entry of the application
    /// reports too at every moment.
    static ActivationPolicy policy() {
        const ActivationPolicy policy = NSApplication::shared().activationPolicy();
        EXPECT_EQ(sim::session().workspace().ownApplication()->activationPolicy(), policy);
        return policy;
    }
    static std::string badge() { return NSApplication::shared().dockTile().badgeLabel(); }
    static std::vector<UNNotificationRequest> shownNotifications() {
        return sim::session().notifications().deliveredNotifications();
    }

  private:
    bool capturing_ = false;
};

// The updater starts with the application and arranges its first background check a day
// on, asking for permission to notify just before.
TEST_F(UpdaterGlueTest, StartsWithTheApplicationAndSchedulesADayOn) {
    EXPECT_TRUE(UpdaterManager::shared().updaterController->updater()->canCheckForUpdates());
    EXPECT_EQ(sim::session().notifications().authorizationRequests(), 1);
    const auto due = sim::session().updates().scheduledCheckTime();
    ASSERT_TRUE(due);
    EXPECT_EQ(*due, rt().mediaTime() + SPUUpdater::kUpdateCheckInterval);
    EXPECT_EQ(policy(), ActivationPolicy::accessory);
}

// A scheduled check that finds an update prints both lines, switches to the regular policy,
// badges "1" 0.1 s later and posts one notification; the schedule running out on its own
// does the same.
TEST_F(UpdaterGlueTest, ScheduledUpdateBecomesAGentleReminder) {
    rt().runUntil(*sim::session().updates().scheduledCheckTime());
    const double found = rt().mediaTime();

    EXPECT_EQ(printed(), "User updater check\nSystem updater check\n");
    EXPECT_EQ(policy(), ActivationPolicy::regular);
    EXPECT_EQ(shownNotifications(), std::vector{kReminder});
    rt().runUntil(found + 0.099);
    EXPECT_EQ(badge(), "");
    rt().runUntil(found + 0.1);
    EXPECT_EQ(badge(), "1");
    EXPECT_EQ(sim::session().notifications().history().size(), 1u);
}

// A check the user starts prints only the first line and changes neither the policy, nor
// the badge, nor the notifications.
TEST_F(UpdaterGlueTest, UserInitiatedCheckChangesNothing) {
    userCheck();
    rt().advance(1);
    EXPECT_EQ(printed(), "User updater check\n");
    EXPECT_EQ(policy(), ActivationPolicy::accessory);
    EXPECT_EQ(badge(), "");
    EXPECT_TRUE(sim::session().notifications().history().empty());
}

// The status menu's hidden "Check for Updates…" action checks as the user asked.
TEST_F(UpdaterGlueTest, MenuActionChecksAsTheUserAsked) {
    StatusBarManager::shared().menu.checkForUpdates();
    rt().runPending();
    EXPECT_EQ(printed(), "User updater check\n");
    EXPECT_EQ(sim::session().updates().checkCount(), 1);
}

// Attention clears the badge and takes the notification away; the end of the session takes
// the Dock icon away and arranges the next background check.
TEST_F(UpdaterGlueTest, AttentionClearsTheReminderAndTheSessionEndReturnsToAccessory) {
    scheduledCheck();
    rt().advance(1);
    ASSERT_TRUE(sim::session().updates().attendUpdate());
    EXPECT_EQ(badge(), "");
    EXPECT_TRUE(shownNotifications().empty());
    EXPECT_EQ(policy(), ActivationPolicy::regular);

    ASSERT_TRUE(sim::session().updates().finishUpdateSession());
    EXPECT_EQ(policy(), ActivationPolicy::accessory);
    EXPECT_TRUE(sim::session().updates().scheduledCheckTime());
    EXPECT_FALSE(sim::session().updates().finishUpdateSession());  // nothing is offered now
}

struct ResponseCase {
    std::string name;
    bool dismiss;  // else a click
    std::string printed;
    std::string badge;
};

class NotificationResponse : public UpdaterGlueTest,
                             public ::testing::WithParamInterface<ResponseCase> {};

// Clicking the reminder starts a user-initiated check, which brings the pending update into
// view (the user attends to it: the badge goes); dismissing it does nothing.
TEST_P(NotificationResponse, ClickChecksDismissDoesNothing) {
    scheduledCheck();
    rt().advance(1);
    printed();

    auto& notifications = sim::session().notifications();
    ASSERT_TRUE(GetParam().dismiss ? notifications.dismiss("UpdateCheck")
                                   : notifications.click("UpdateCheck"));
    rt().runPending();

    EXPECT_EQ(printed(), GetParam().printed);
    EXPECT_EQ(badge(), GetParam().badge);
    EXPECT_EQ(policy(), ActivationPolicy::regular);
    EXPECT_TRUE(shownNotifications().empty());
    EXPECT_EQ(sim::session().updates().checkCount(), 1);  // the pending update, not a new look
}

INSTANTIATE_TEST_SUITE_P(Table, NotificationResponse,
                         ::testing::Values(ResponseCase{"click", false, "User updater check\n", ""},
                                           ResponseCase{"dismiss", true, "", "1"}),
                         testing::CaseName());

struct HandlerCase {
    std::string name;
    UNNotificationResponse response;
    bool checks;
};

class ResponseHandler : public UpdaterGlueTest,
                        public ::testing::WithParamInterface<HandlerCase> {};

// Only the default action on "UpdateCheck" checks; every response ends with the completion
// handler, after the check.
TEST_P(ResponseHandler, CallsTheCompletionHandlerEveryTime) {
    int completions = 0;
    int checksAtCompletion = -1;
    UpdaterManager::shared().userNotificationCenterDidReceiveNotificationResponse(
        UNUserNotificationCenter::currentNotificationCenter(), GetParam().response, [&] {
            ++completions;
            checksAtCompletion = sim::session().updates().checkCount();
        });
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(checksAtCompletion, GetParam().checks ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResponseHandler,
    ::testing::Values(
        HandlerCase{"click", {"UpdateCheck", UNNotificationDefaultActionIdentifier}, true},
        HandlerCase{"dismiss", {"UpdateCheck", UNNotificationDismissActionIdentifier}, false},
        HandlerCase{"otherAction", {"UpdateCheck", "later"}, false},
        HandlerCase{"otherNotification", {"Other", UNNotificationDefaultActionIdentifier}, false}),
    testing::CaseName());

// Without permission to notify, the system drops the notification; the badge still shows.
TEST(UpdaterGlueRefused, NotificationDroppedBadgeStillShows) {
    sim::session().setNotificationAuthorizationRefused(true);
    sim::session().updates().offerUpdate("2.5");
    CorvaneApp::main();
    ::testing::internal::CaptureStdout();
    ASSERT_TRUE(sim::session().updates().runScheduledCheckNow());
    rt().advance(0.1);
    ::testing::internal::GetCapturedStdout();

    EXPECT_TRUE(sim::session().notifications().history().empty());
    EXPECT_EQ(NSApplication::shared().dockTile().badgeLabel(), "1");
    EXPECT_EQ(NSApplication::shared().activationPolicy(), ActivationPolicy::regular);
}

struct FailedCheckCase {
    std::string name;
    bool userInitiated;
};

class UpdaterGlueFailedCheck : public UpdaterGlueTest,
                               public ::testing::WithParamInterface<FailedCheckCase> {};

// A check that cannot read the feed offers nothing and prints nothing; the schedule goes on.
TEST_P(UpdaterGlueFailedCheck, OffersNothingAndSchedulesAgain) {
    sim::session().failNextUpdateCheck(1);
    if (GetParam().userInitiated)
        userCheck();
    else
        scheduledCheck();
    EXPECT_EQ(printed(), "");
    EXPECT_EQ(policy(), ActivationPolicy::accessory);
    EXPECT_TRUE(sim::session().notifications().history().empty());
    EXPECT_TRUE(sim::session().updates().scheduledCheckTime());
    EXPECT_TRUE(UpdaterManager::shared().updaterController->updater()->canCheckForUpdates());
}

INSTANTIATE_TEST_SUITE_P(Table, UpdaterGlueFailedCheck,
                         ::testing::Values(FailedCheckCase{"scheduled", false},
                                           FailedCheckCase{"userInitiated", true}),
                         testing::CaseName());

}  // namespace
}  // namespace corvane
