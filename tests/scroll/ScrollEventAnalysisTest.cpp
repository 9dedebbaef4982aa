#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "platform/quartz/CGWindowList.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "scroll/IsTrackpadEvent.h"
#include "scroll/ModifierKey.h"
#include "scroll/ModifierKeyGroup.h"
#include "scroll/ScrollUtils.h"
#include "settings/SettingsManager.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using namespace platform;
using platform::sim::SimWorkspace;
using platform::sim::WindowServer;
using testing::PrintTo;

CGEventRef wheelTo(pid_t targetPid) {
    return sim::WheelEvent{.target = targetPid}.create();
}

// ---- Continuous devices ----

struct TrackpadCase {
    const char* name;
    std::optional<CGEventField> field;  // the continuous field set to `value`
    double value;
    bool expected;
};

class IsTrackpadEventTest : public ::testing::TestWithParam<TrackpadCase> {};

// Any of the momentum phase, scroll phase and scroll count not zero makes an event
// continuous (NaN is not zero).
TEST_P(IsTrackpadEventTest, ContinuousFields) {
    auto event = sim::WheelEvent{.lineY = 1}.create();
    if (GetParam().field)
        event->setDoubleValue(*GetParam().field, GetParam().value);
    EXPECT_EQ(isTrackpadEvent(event), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsTrackpadEventTest,
    ::testing::Values(TrackpadCase{"momentumPhase", kCGScrollWheelEventMomentumPhase, 1, true},
                      TrackpadCase{"scrollPhase", kCGScrollWheelEventScrollPhase, 2, true},
                      TrackpadCase{"scrollCount", kCGScrollWheelEventScrollCount, 1, true},
                      TrackpadCase{"nanCount", kCGScrollWheelEventScrollCount,
                                   std::numeric_limits<double>::quiet_NaN(), true},
                      TrackpadCase{"zeroPhase", kCGScrollWheelEventScrollPhase, 0, false},
                      TrackpadCase{"wheelTick", std::nullopt, 0, false}),
    testing::CaseName());

// A continuous event from the running vendor daemon's process is a wheel tick; from any
// other process it stays continuous.
TEST(IsTrackpadEventVendorTest, VendorDaemonEventsAreWheelTicks) {
    sim::session().workspace().launch(
        {.processIdentifier = 300, .bundleIdentifier = kVendorDaemonBundleIdentifier});
    auto event = sim::WheelEvent{.source = 300, .scrollPhase = 1}.create();
    EXPECT_FALSE(isTrackpadEvent(event));
    event->setIntegerValue(kCGEventSourceUnixProcessID, 301);
    EXPECT_TRUE(isTrackpadEvent(event));
}

// ---- The target application ----

// Two events to one process look the application up once; target pid 1 gives none and
// leaves the cache for the next event; a new target is looked up.
TEST(TargetApplicationTest, LooksUpOnlyWhenTheTargetChanges) {
    auto& utils = ScrollUtils::shared();
    auto first = sim::session().workspace().launch({.processIdentifier = 100});
    auto other = sim::session().workspace().launch({.processIdentifier = 200});
    EXPECT_EQ(utils.targetApplication(wheelTo(100)), first);

    // Were it asked again, the workspace would now answer with the replacement.
    sim::session().workspace().quit(100);
    sim::session().workspace().launch({.processIdentifier = 100});
    EXPECT_EQ(utils.targetApplication(wheelTo(100)), first);

    EXPECT_EQ(utils.targetApplication(wheelTo(1)), nullptr);
    EXPECT_EQ(utils.currEventTargetPID(), 100);
    EXPECT_EQ(utils.lastEventTargetPID(), 100);
    EXPECT_EQ(utils.cachedRunningApplication(), first);
    EXPECT_EQ(utils.targetApplication(wheelTo(100)), first);

    EXPECT_EQ(utils.targetApplication(wheelTo(200)), other);
    EXPECT_EQ(utils.lastEventTargetPID(), 100);
    EXPECT_EQ(utils.targetApplication(wheelTo(4242)), nullptr);
}

// The instance announces itself once.
TEST(ScrollUtilsTest, CreationIsLogged) {
    ScrollUtils::shared();
    ScrollUtils::shared();
    auto messages = testing::loggedMessages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Module initialized: ScrollUtils"), 1);
}

// ---- Launchpad ----

class LaunchpadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app = sim::session().workspace().launch(
            {.processIdentifier = 100,
             .executableURL = URL::fileURLWithPath("/Applications/Mail.app/Contents/MacOS/Mail")});
        dock = sim::session().workspace().launch(
            {.processIdentifier = 50,
             .executableURL = URL::fileURLWithPath(std::string(kDockExecutablePath))});
    }
    static void showLaunchpad(bool shown) {
        std::vector<PlistDictionary> windows{{{kCGWindowOwnerName, "Finder"}},
                                             {{kCGWindowName, 5}}};
        if (shown)
            windows.push_back({{kCGWindowName, kLaunchpadWindowName}});
        sim::session().windowServer().setOnScreenWindows(windows);
    }
    static int scans() { return sim::session().windowServer().windowListRequests(); }

    ScrollUtils& utils = ScrollUtils::shared();
    RunningApplicationRef app;
    RunningApplicationRef dock;
    const double t = 1767225600.0;  // wall clock, seconds since 1970
};

// An event aimed at the Dock is Launchpad without a scan; no application is never Launchpad.
TEST_F(LaunchpadTest, DockByExecutablePath) {
    EXPECT_FALSE(utils.isLaunchpadActive(nullptr, t));
    EXPECT_TRUE(utils.isLaunchpadActive(dock, t));
    EXPECT_TRUE(utils.launchpadActiveCache());
    EXPECT_EQ(scans(), 0);
}

// A window named "LPSpringboard" means Launchpad; the positive scan is not reused, so the
// next event scans again. Unnamed windows and names that are no string do not match.
TEST_F(LaunchpadTest, SpringboardWindowScannedEveryTime) {
    showLaunchpad(true);
    EXPECT_TRUE(utils.isLaunchpadActive(app, t));
    EXPECT_EQ(utils.launchpadLastDetectTime(), 0);
    showLaunchpad(false);
    EXPECT_FALSE(utils.isLaunchpadActive(app, t + 0.1));
    EXPECT_EQ(scans(), 2);
}

// A negative scan is reused until more than one second has passed.
TEST_F(LaunchpadTest, NegativeScanReusedForOneSecond) {
    showLaunchpad(false);
    EXPECT_FALSE(utils.isLaunchpadActive(app, t));
    showLaunchpad(true);
    EXPECT_FALSE(utils.isLaunchpadActive(app, t + 1.0));
    EXPECT_EQ(scans(), 1);
    EXPECT_TRUE(utils.isLaunchpadActive(app, t + 1.001));
    EXPECT_EQ(scans(), 2);
}

// After an event to the Dock, events to another application within a second of the last
// negative scan count as Launchpad too.
TEST_F(LaunchpadTest, DockAnswerIsReusedWithinTheSecond) {
    showLaunchpad(false);
    EXPECT_FALSE(utils.isLaunchpadActive(app, t));
    EXPECT_TRUE(utils.isLaunchpadActive(dock, t + 0.5));
    EXPECT_TRUE(utils.isLaunchpadActive(app, t + 0.9));
    EXPECT_FALSE(utils.isLaunchpadActive(app, t + 1.1));
    EXPECT_EQ(scans(), 2);
}

// A window server that gives no list shows no Launchpad.
TEST_F(LaunchpadTest, NoWindowList) {
    sim::session().windowServer().setOnScreenWindows(std::nullopt);
    EXPECT_FALSE(utils.isLaunchpadActive(app, t));
    EXPECT_EQ(utils.launchpadLastDetectTime(), t);
}

// ---- Modifier keys ----

struct BlockCase {
    const char* name;
    std::vector<std::int64_t> block;
    std::vector<std::uint16_t> expected;
};

class BlockedKeyCodesTest : public ::testing::TestWithParam<BlockCase> {};

// The global block list becomes 16-bit key codes in order; other numbers are skipped.
TEST_P(BlockedKeyCodesTest, FromTheSettings) {
    SettingsManager::shared().modifySettings(
        [&](CorvaneSettings& s) { s.scrollAdvanced.block = GetParam().block; });
    EXPECT_EQ(ScrollUtils::shared().blockedKeyCodes(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlockedKeyCodesTest,
    ::testing::Values(BlockCase{"defaults", {55, 58, 59}, {55, 58, 59}}, BlockCase{"empty", {}, {}},
                      BlockCase{"outOfRange", {-1, 65536, 61, 65535}, {61, 65535}}),
    testing::CaseName());

// Each modifier names itself and its left key; each key code of a group finds its group,
// and other keys (Caps Lock among them) find none.
TEST(ModifierKeyTest, CasesAndGroups) {
    std::vector<std::string> ids;
    std::vector<std::uint16_t> codes;
    for (ModifierKey key : kAllModifierKeys) {
        ids.emplace_back(identifier(key));
        codes.push_back(leftKeyCode(key));
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"command", "control", "option"}));
    EXPECT_EQ(codes, (std::vector<std::uint16_t>{55, 59, 58}));

    for (const ModifierKeyGroup* group : {&ModifierKeyGroup::command, &ModifierKeyGroup::control,
                                          &ModifierKeyGroup::option, &ModifierKeyGroup::shift}) {
        for (std::uint16_t code : group->keyCodes)
            EXPECT_EQ(ModifierKeyGroup::containing(code), group);
    }
    EXPECT_EQ(ModifierKeyGroup::shift.flagMask, kCGEventFlagMaskShift);
    for (std::int64_t code : {53, 57, 63, 55 + 65536}) {
        EXPECT_EQ(ModifierKeyGroup::containing(code), nullptr) << code;
    }
}

}  // namespace
}  // namespace corvane
