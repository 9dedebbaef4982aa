#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/StatusBarManager.h"
#include "app/WindowManager.h"
#include "app/launch_at_login/LaunchAtLogin.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/WindowElements.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/quartz/CGEvent.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "preferences/ForegroundStyleCompat.h"
#include "preferences/GeneralView.h"
#include "scroll/ScrollCoordinator.h"
#include "settings/SettingsDocument.h"
#include "settings/SettingsManager.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;
using ::testing::ElementsAre;
using testing::PrintTo;

constexpr pid_t kEditor = 501;

const std::vector<std::string> kHints = {
    "Enable smoothing to reduce scroll jitters",
    "Disable if you need custom horizontal scrolling",
    "Invert system scroll direction for mouse",
    "Automatically launch the app at login",
    "Shows the app icon in status bar.\nRe-run Corvane to show Settings window",
};

/// The General tab in a window of its own, as the settings window hosts it, over user
/// defaults whose writes are counted. Each test runs in a process of its own.
class GeneralViewTest : public ::testing::Test {
  protected:
    void SetUp() override { UserDefaults::installStandardStore(defaults_); }

    /// Opens the tab and lets it render.
    NSWindow& open() {
        WindowManager::shared().openWindow("preferences", "General",
                                           GeneralView{SettingsManager::shared()},
                                           NSNormalWindowLevel, 3);
        rt().runPending();
        return *WindowManager::shared().window("preferences");
    }
    static void close() {
        WindowManager::shared().closeAll();
        rt().runPending();
    }
    /// Clicks the switch `label` unless it already shows `on`, as the user (or the driver's
    /// "toggle" event) would.
    static void toggle(const std::string& label, bool on) {
        auto result = performElementAction(*WindowManager::shared().window("preferences"), label,
                                           {ElementAction::Kind::toggle, on});
        ASSERT_EQ(result.outcome, ElementActionResult::Outcome::done) << label;
        rt().runPending();
    }
    /// What the switch `label` shows now.
    static bool shows(const std::string& label) {
        for (const auto& element :
             inspectWindow(*WindowManager::shared().window("preferences")).elements) {
            if (element.kind == "toggle" && element.label == label)
                return std::get<bool>(element.value);
        }
        ADD_FAILURE() << "no switch " << label;
        return false;
    }
    /// The settings as the user defaults hold them.
    CorvaneSettings stored() const {
        auto it = defaults_->persisted().find("corvaneSettings");
        EXPECT_NE(it, defaults_->persisted().end());
        const Data* data = it == defaults_->persisted().end() ? nullptr : it->second.data();
        auto decoded =
            data ? decodeSettings(std::string(data->begin(), data->end())) : std::nullopt;
        EXPECT_TRUE(decoded);
        return decoded.value_or(CorvaneSettings{});
    }
    int writes() const { return defaults_->persistCount(); }

    std::shared_ptr<InMemoryDefaultsStore> defaults_ = std::make_shared<InMemoryDefaultsStore>();
};

struct SmoothCase {
    std::string name;
    bool coordinatorRunning;  // and smoothing on; else smoothing off and the coordinator stopped
};

class GeneralSmoothTest : public GeneralViewTest,
                          public ::testing::WithParamInterface<SmoothCase> {};

// "Smooth scrolling" stores `smooth` at once and neither starts nor stops the coordinator:
// turned off while it runs, the next tick passes unsmoothed; turned on while it is stopped,
// ticks stay unsmoothed.
TEST_P(GeneralSmoothTest, StoresAtOnceAndLeavesTheCoordinatorAlone) {
    sim::session().workspace().launch(
        {.processIdentifier = kEditor, .bundleIdentifier = std::string("com.example.editor")});
    sim::session().workspace().setFrontmost(kEditor);
    const bool running = GetParam().coordinatorRunning;
    SettingsManager::shared().setScrollBase({running, true, false});
    if (running)
        ScrollCoordinator::shared().start();
    open();
    const int before = writes();

    toggle("Smooth scrolling", !running);

    EXPECT_EQ(writes(), before + 1);
    EXPECT_EQ(stored().scrollBase, (ScrollBase{!running, true, false}));
    EXPECT_EQ(ScrollCoordinator::shared().isActive, running);

    CGEventRef tick = sim::WheelEvent{.target = kEditor, .lineY = 1, .pointY = 10}.create();
    sim::session().windowServer().scheduleHardwareEvent(rt().mediaTime() + 0.1, tick);
    rt().advance(1);
    const auto received = sim::session().windowServer().receivedEvents();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].origin, sim::EventOrigin::hardware);
    EXPECT_EQ(received[0].event.doubleValue(kCGScrollWheelEventPointDeltaAxis1), 10);
}

INSTANTIATE_TEST_SUITE_P(Table, GeneralSmoothTest,
                         ::testing::Values(SmoothCase{"offWhileRunning", true},
                                           SmoothCase{"onWhileStopped", false}),
                         testing::CaseName());

// "Show menu bar icon" hides the status item at once and stores the value; on again shows it.
TEST_F(GeneralViewTest, MenuBarIconHidesAndShowsTheStatusItemAtOnce) {
    auto& item = *StatusBarManager::shared().statusItem;
    open();
    ASSERT_TRUE(item.isVisible());

    toggle("Show menu bar icon", false);
    EXPECT_FALSE(item.isVisible());
    EXPECT_FALSE(sim::session().statusBar().hasVisibleItem());
    EXPECT_FALSE(stored().appSettings.showMenuIcon);

    toggle("Show menu bar icon", true);
    EXPECT_TRUE(item.isVisible());
    EXPECT_TRUE(stored().appSettings.showMenuIcon);
}

// A value the user defaults cannot write is kept in memory and shown by its switch; the
// stored document stays as it was.
TEST_F(GeneralViewTest, AnUnwrittenValueStaysInMemoryAndOnTheSwitch) {
    open();
    defaults_->failWritesForTesting(true);
    toggle("Reverse wheel direction", true);
    EXPECT_TRUE(SettingsManager::shared().scrollBase().reverse);
    EXPECT_TRUE(shows("Reverse wheel direction"));
    EXPECT_EQ(defaults_->persisted().count("corvaneSettings"), 0u);
}

struct LaunchCase {
    std::string name;
    OperatingSystemVersion version;
    bool registerFails;
};

class GeneralLaunchTest : public GeneralViewTest, public ::testing::WithParamInterface<LaunchCase> {
  protected:
    void SetUp() override {
        GeneralViewTest::SetUp();
        ProcessInfo::processInfo().setOperatingSystemVersion(GetParam().version);
    }
};

// "Launch on login" registers once (on either side of macOS 14, where the change observer
// differs); showing the tab again calls nothing. A failed registration is logged by the
// component while the switch keeps the stored value.
TEST_P(GeneralLaunchTest, RegistersOnceOnAChangeOnly) {
    using Call = sim::SimLoginItems::Call;
    sim::session().failNextLoginItemRegister(GetParam().registerFails ? 1 : 0);
    open();
    EXPECT_TRUE(sim::session().loginItems().mainAppCalls().empty());

    toggle("Launch on login", true);
    EXPECT_THAT(sim::session().loginItems().mainAppCalls(), ElementsAre(Call::registerService));
    EXPECT_TRUE(stored().appSettings.launchAtLogin);
    EXPECT_TRUE(shows("Launch on login"));
    EXPECT_EQ(LaunchAtLogin::isEnabled(), !GetParam().registerFails);
    EXPECT_EQ(testing::loggedMessages().back() ==
                  "Failed to enable launch at login: Operation not permitted",
              GetParam().registerFails);

    close();
    open();
    EXPECT_TRUE(shows("Launch on login"));
    EXPECT_THAT(sim::session().loginItems().mainAppCalls(), ElementsAre(Call::registerService));
}

INSTANTIATE_TEST_SUITE_P(Table, GeneralLaunchTest,
                         ::testing::Values(LaunchCase{"macOS13_0", {13, 0, 0}, false},
                                           LaunchCase{"macOS15_1", {15, 1, 0}, false},
                                           LaunchCase{"registerFails", {15, 1, 0}, true}),
                         testing::CaseName());

// The status menu's "Enable Smooth" moves the "Smooth scrolling" switch while the tab is
// shown; the switch stores nothing of its own (the store is assigned once, by the menu).
TEST_F(GeneralViewTest, MenuChangeMovesTheSwitchWithoutASecondSave) {
    StatusBarManager::shared();
    open();
    ASSERT_TRUE(shows("Smooth scrolling"));
    int assignments = 0;
    auto counting = SettingsManager::shared().settingsPublisher().sink(
        [&](const CorvaneSettings&) { ++assignments; });

    ASSERT_EQ(sim::session().statusBar().chooseMenuItem("disableForAllApps"),
              sim::SimStatusBar::Choice::chosen);
    rt().runPending();

    EXPECT_FALSE(shows("Smooth scrolling"));
    EXPECT_EQ(assignments, 1);
    EXPECT_FALSE(stored().scrollBase.smooth);
}

struct LayoutCase {
    std::string name;
    OperatingSystemVersion version;
};

class GeneralLayoutTest : public GeneralViewTest, public ::testing::WithParamInterface<LayoutCase> {
  protected:
    void SetUp() override {
        GeneralViewTest::SetUp();
        ProcessInfo::processInfo().setOperatingSystemVersion(GetParam().version);
    }
    static ElementInfo element(const std::string& kind, const std::string& label) {
        return testing::windows::element(*WindowManager::shared().window("preferences"), kind,
                                         label)
            .info();
    }
};

// Section labels right-aligned in their 120-point column, rows in the 300-point column 12
// points to its right, 16 points apart; every hint shown in the footnote font and the dimmed
// colour, the last on two lines; each switch small (0.7) at the column's right edge.
TEST_P(GeneralLayoutTest, SectionsRowsHintsAndSwitches) {
    NSWindow& window = open();
    EXPECT_NEAR(window.contentSize().width, 120 + 12 + 300, 0.5);

    const ElementInfo mouse = element("text", "Mouse:");
    const ElementInfo system = element("text", "System:");
    EXPECT_NEAR(CGRectGetMaxX(mouse.frame), 120, 0.5);
    EXPECT_NEAR(CGRectGetMaxX(system.frame), 120, 0.5);
    EXPECT_LT(mouse.frame.origin.x, 120 - 30);
    EXPECT_GT(system.frame.origin.y, CGRectGetMaxY(element("text", kHints[2]).frame) + 12);

    const char* titles[] = {"Smooth scrolling", "Horizontal smooth scrolling",
                            "Reverse wheel direction", "Launch on login", "Show menu bar icon"};
    for (int i = 0; i < 5; ++i) {
        const ElementInfo title = element("text", titles[i]);
        const ElementInfo hint = element("text", kHints[i]);
        const ElementInfo toggle = element("toggle", titles[i]);
        EXPECT_EQ(title.frame.origin.x, 132) << titles[i];
        EXPECT_EQ(hint.frame.origin.x, 132) << titles[i];
        EXPECT_GT(hint.frame.origin.y, title.frame.origin.y);
        EXPECT_EQ(hint.font, Font::footnote());
        EXPECT_EQ(hint.foreground, dimmedTextColor());
        EXPECT_TRUE(hint.visible);
        EXPECT_EQ(toggle.toggleStyle, ToggleStyle::switchStyle);
        EXPECT_EQ(toggle.scale, 0.7);
        EXPECT_NEAR(CGRectGetMaxX(toggle.frame), 432, 0.5) << titles[i];
        EXPECT_EQ(toggle.frame.origin.y, title.frame.origin.y) << titles[i];
        if (i == 1 || i == 2 || i == 4) {
            EXPECT_NEAR(title.frame.origin.y,
                        CGRectGetMaxY(element("text", kHints[i - 1]).frame) + 16, 0.5)
                << titles[i];
        }
    }
    // Each hint fits on its lines; the last breaks once, at its line break.
    const double oneLine =
        NSHostingView(Text("x").font(Font::footnote())).intrinsicContentSize().height;
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(element("text", kHints[i]).frame.height, oneLine, 0.5) << kHints[i];
    EXPECT_NEAR(element("text", kHints[4]).frame.height, 2 * oneLine, 2);
}

INSTANTIATE_TEST_SUITE_P(Versions, GeneralLayoutTest,
                         ::testing::Values(LayoutCase{"macOS11_5", {11, 5, 0}},
                                           LayoutCase{"macOS15_1", {15, 1, 0}}),
                         testing::CaseName());

}  // namespace
}  // namespace corvane
