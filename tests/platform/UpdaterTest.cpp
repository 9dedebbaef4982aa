#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/UserDefaults.h"
#include "platform/sim/Session.h"
#include "platform/sparkle/SPUStandardUpdaterController.h"
#include "support/SimSession.h"

namespace corvane::platform {
namespace {

using ::testing::ElementsAre;
using testing::rt;

/// Writes down what the updater tells its delegates, in order.
class Recorder : public SPUUpdaterDelegate, public SPUStandardUserDriverDelegate {
  public:
    std::vector<std::string> calls;

    void updaterWillScheduleUpdateCheckAfterDelay(SPUUpdater&, double delay) override {
        calls.push_back("schedule " + std::to_string(static_cast<int>(delay)));
    }
    bool supportsGentleScheduledUpdateReminders() const override { return true; }
    void standardUserDriverWillHandleShowingUpdate(bool handle, const SUAppcastItem& update,
                                                   const SPUUserUpdateState& state) override {
        calls.push_back("show " + update.displayVersionString + (handle ? " now" : " gently") +
                        (state.userInitiated ? " user" : " scheduled"));
    }
    void standardUserDriverDidReceiveUserAttentionForUpdate(const SUAppcastItem&) override {
        calls.push_back("attention");
    }
    void standardUserDriverWillFinishUpdateSession() override { calls.push_back("finish"); }
};

class UpdaterTest : public ::testing::Test {
  protected:
    SPUStandardUpdaterController make(bool starting) { return {starting, &recorder, &recorder}; }
    sim::SimUpdates& feed() { return sim::session().updates(); }

    Recorder recorder;
};

// `canCheckForUpdates` is false before the start and while a check runs; an observer with the
// initial option hears the current value at once, then every change.
TEST_F(UpdaterTest, CanCheckFollowsTheStartAndTheRunningCheck) {
    auto controller = make(false);
    std::vector<bool> seen;
    auto observation = controller.updater()->observeCanCheckForUpdates(
        NSKeyValueObservingOptionInitial | NSKeyValueObservingOptionNew,
        [&](bool can) { seen.push_back(can); });
    controller.checkForUpdates(nullptr);  // ignored: not started
    EXPECT_EQ(feed().checkCount(), 0);

    controller.startUpdater();
    feed().setCheckDuration(5);
    controller.checkForUpdates(nullptr);
    controller.checkForUpdates(nullptr);  // ignored: a check runs
    rt().advance(5);

    EXPECT_THAT(seen, ElementsAre(false, true, false, true));
    EXPECT_EQ(feed().checkCount(), 1);
    EXPECT_THAT(recorder.calls, ElementsAre("schedule 86400", "finish", "schedule 86400"));
}

// The scheduled check offers gently, a check the user asks for while the update is offered
// brings it into view with the user's attention, and the session's end schedules again.
TEST_F(UpdaterTest, OfferFromTheScheduleThenFromTheUser) {
    auto controller = make(true);
    feed().offerUpdate("2.5");
    ASSERT_TRUE(feed().runScheduledCheckNow());
    rt().runPending();
    controller.checkForUpdates(nullptr);
    ASSERT_TRUE(feed().finishUpdateSession());

    EXPECT_THAT(recorder.calls,
                ElementsAre("schedule 86400", "show 2.5 gently scheduled", "show 2.5 now user",
                            "attention", "finish", "schedule 86400"));
    EXPECT_EQ(feed().checkCount(), 1);
}

// The two switches are kept in the user defaults; turning automatic checks off cancels the
// scheduled check, turning them on arranges it again.
TEST_F(UpdaterTest, SwitchesAreStoredAndDriveTheSchedule) {
    auto controller = make(true);
    auto& updater = *controller.updater();
    EXPECT_TRUE(updater.automaticallyChecksForUpdates());
    EXPECT_FALSE(updater.automaticallyDownloadsUpdates());

    updater.setAutomaticallyChecksForUpdates(false);
    updater.setAutomaticallyDownloadsUpdates(true);
    EXPECT_FALSE(feed().scheduledCheckTime());
    EXPECT_EQ(UserDefaults::standard().object(SPUUpdater::kAutomaticChecksKey), PlistValue(false));
    EXPECT_EQ(UserDefaults::standard().object(SPUUpdater::kAutomaticDownloadsKey),
              PlistValue(true));
    EXPECT_TRUE(make(false).updater()->automaticallyDownloadsUpdates());  // read back

    updater.setAutomaticallyChecksForUpdates(true);
    EXPECT_TRUE(feed().scheduledCheckTime());
    EXPECT_THAT(recorder.calls, ElementsAre("schedule 86400", "schedule 86400"));
}

}  // namespace
}  // namespace corvane::platform
