#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/UpdaterManager.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSWindow.h"
#include "platform/combine/Published.h"
#include "platform/sim/Session.h"
#include "preferences/PreferencesTabViewController.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;

/// Long enough for any frame animation of these windows to end, in seconds.
constexpr double kAfterAnimations = 2;

/// Where `frame` lies once a window of its size is centred.
CGRect centred(CGRect frame) {
    NSWindow probe(CGRect{}, NSWindowStyleMaskTitled, NSBackingStoreType::buffered, false);
    probe.setFrame(frame, false);
    probe.center();
    return probe.frame();
}

/// The settings window as the openers make it.
class SettingsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { UpdaterManager::shared(); }

    /// Asks the registry for the settings window with a fresh controller, as the menu and
    /// reopening do.
    std::shared_ptr<PreferencesTabViewController> open(
        std::shared_ptr<PreferencesTabViewController> controller =
            std::make_shared<PreferencesTabViewController>()) {
        WindowManager::shared().openWindow("preferences", "Corvane Settings", controller,
                                           NSNormalWindowLevel, 3);
        return controller;
    }
    std::shared_ptr<NSWindow> window() const {
        return WindowManager::shared().window("preferences");
    }
    PreferencesTabViewController& controller() const {
        return static_cast<PreferencesTabViewController&>(*window()->contentViewController());
    }
    /// Clicks the toolbar button of tab `index`.
    void select(std::size_t index) { ASSERT_TRUE(window()->toolbar()->performItemAction(index)); }
    CGSize paneSize(std::size_t index) const {
        return controller().tabViewItems()[index]->viewController()->view().fittingSize();
    }

    void TearDown() override {
        WindowManager::shared().closeAll();
        rt().runPending();
    }
};

// Opening shows "General", titles the window with it, fits the window to that tab at once
// (no animation) and centres it.
TEST_F(SettingsWindowTest, OpensOnGeneralFittedWithoutAnimationAndCentred) {
    open();
    EXPECT_EQ(controller().selectedTabViewItemIndex(), 0);
    EXPECT_EQ(window()->title(), "General");
    EXPECT_EQ(window()->contentSize(), paneSize(0));
    EXPECT_EQ(controller().lastTargetContentSize, paneSize(0));
    EXPECT_EQ(window()->presentedFrame(), window()->frame());
    EXPECT_TRUE(controller().didCenterOnce);
    EXPECT_EQ(window()->frame(), centred(window()->frame()));
}

// The four tabs are toolbar buttons in order, each with its label and its symbol at 16
// points, described by the label.
TEST_F(SettingsWindowTest, TabsAreToolbarButtonsWithLabelsAndSymbols) {
    open();
    const auto& items = controller().tabViewItems();
    ASSERT_EQ(items.size(), kSettingsTabs.size());
    ASSERT_EQ(window()->toolbar()->items().size(), kSettingsTabs.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(label(kSettingsTabs[i]));
        EXPECT_EQ(items[i]->label(), label(kSettingsTabs[i]));
        ASSERT_TRUE(items[i]->image().has_value());
        EXPECT_EQ(items[i]->image()->name(), symbolName(kSettingsTabs[i]));
        EXPECT_EQ(items[i]->image()->accessibilityDescription(), label(kSettingsTabs[i]));
        EXPECT_EQ(
            items[i]->image()->symbolConfiguration(),
            NSImageSymbolConfiguration::configurationWithPointSize(16, ui::Font::Weight::regular));
        EXPECT_EQ(window()->toolbar()->items()[i].label, label(kSettingsTabs[i]));
    }
}

// A symbol the system does not know leaves its tab without an image; the label stays.
TEST_F(SettingsWindowTest, UnknownSymbolLeavesTheLabelAlone) {
    sim::session().images().setSystemSymbol("minus.circle", std::nullopt);
    open();
    const auto& item = *controller().tabViewItems()[2];
    EXPECT_EQ(item.label(), "Exceptions");
    EXPECT_FALSE(item.image().has_value());
    sim::session().images().setSystemSymbol("minus.circle", CGSize{15, 15});
}

// Every tab's content is 460 points wide, so switching changes only the height: the title
// follows the tab, and the height change is animated with the top and left edges fixed.
TEST_F(SettingsWindowTest, SwitchingTabsRetitlesAndAnimatesTheHeightWithTheTopFixed) {
    open();
    const CGRect before = window()->frame();
    select(3);

    EXPECT_EQ(window()->title(), "Updates");
    const CGRect after = window()->frame();
    EXPECT_EQ(window()->contentSize(), paneSize(3));
    EXPECT_EQ(after.width, before.width);
    EXPECT_EQ(after.origin.x, before.origin.x);
    EXPECT_EQ(CGRectGetMaxY(after), CGRectGetMaxY(before));
    EXPECT_LT(after.height, before.height);

    // Drawn moving: halfway the height lies between, the top edge where it was.
    EXPECT_EQ(window()->presentedFrame(), before);
    rt().advance(window()->animationResizeTime(after) / 2);
    const CGRect midway = window()->presentedFrame();
    EXPECT_GT(midway.height, after.height);
    EXPECT_LT(midway.height, before.height);
    EXPECT_EQ(CGRectGetMaxY(midway), CGRectGetMaxY(before));
    EXPECT_EQ(midway.width, before.width);
    rt().advance(kAfterAnimations);
    EXPECT_EQ(window()->presentedFrame(), after);

    for (std::size_t i = 0; i < kSettingsTabs.size(); ++i) {
        select(i);
        EXPECT_EQ(window()->contentSize().width, PreferencesTabViewController::kTabWidth);
    }
}

// Closing with another tab selected, then opening again, gives a new window and controller
// on "General", centred again.
TEST_F(SettingsWindowTest, ReopeningAfterCloseStartsAfreshOnGeneral) {
    auto first = open();
    select(3);
    window()->setFrameOrigin({10, 10});
    window()->close();
    ASSERT_EQ(window(), nullptr);

    auto second = open();
    EXPECT_NE(second, first);
    EXPECT_EQ(controller().selectedTabViewItemIndex(), 0);
    EXPECT_EQ(window()->title(), "General");
    EXPECT_EQ(window()->frame(), centred(window()->frame()));
}

// A second appearance of the same window refreshes title and size without animation and
// leaves the window where the user put it.
TEST_F(SettingsWindowTest, SecondAppearanceDoesNotCentreAgain) {
    open();
    window()->orderOut();
    window()->setFrameOrigin({10, 10});
    window()->makeKeyAndOrderFront();
    EXPECT_EQ(window()->frame().origin, (CGPoint{10, 10}));
    EXPECT_EQ(window()->title(), "General");
    EXPECT_EQ(window()->presentedFrame(), window()->frame());
}

// Asking for the settings while the window is open brings it forward with its current
// tab; the fresh controller is never loaded.
TEST_F(SettingsWindowTest, AskingAgainBringsTheOpenWindowForward) {
    auto first = open();
    select(3);
    window()->orderOut();
    auto fresh = open();
    EXPECT_EQ(window()->contentViewController(), first);
    EXPECT_FALSE(fresh->isViewLoaded());
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(window()->title(), "Updates");
    EXPECT_EQ(controller().selectedTabViewItemIndex(), 3);
}

/// A number of text lines a test sets.
class Lines : public ObservableObject {
  public:
    Published<int> count{*this, 1};
};

struct LinesView {
    ObservedObject<Lines> lines;
    auto viewProperties() { return std::tie(lines); }
    View body() const {
        std::vector<View> rows;
        for (int i = 0; i < lines->count.get(); ++i)
            rows.push_back(Text(Verbatim{"line " + std::to_string(i)}));
        return VStack(rows);
    }
};

/// The controller with two tabs whose content grows as a test says, and a third whose pane
/// fits nothing.
class LineTabs final : public PreferencesTabViewController {
  public:
    Lines first;
    Lines second;
    void viewDidLoad() override {
        NSTabViewController::viewDidLoad();
        setTabStyle(TabStyle::toolbar);
        makeTab(SettingsTab::general, LinesView{first});
        makeTab(SettingsTab::scrolling, LinesView{second});
        addTabViewItem(
            NSTabViewItem::tabViewItemWithViewController(std::make_shared<NSViewController>()));
    }
};

class TabContentSizeTest : public SettingsWindowTest {
  protected:
    void SetUp() override {
        SettingsWindowTest::SetUp();
        tabs_ = std::make_shared<LineTabs>();
        open(tabs_);
    }
    std::shared_ptr<LineTabs> tabs_;
};

// The selected tab's content growing resizes the window, animated, at the bottom.
TEST_F(TabContentSizeTest, GrowingSelectedTabResizesTheWindow) {
    const CGRect before = window()->frame();
    tabs_->first.count.set(4);
    rt().runPending();
    const CGRect after = window()->frame();
    EXPECT_GT(after.height, before.height);
    EXPECT_EQ(CGRectGetMaxY(after), CGRectGetMaxY(before));
    EXPECT_EQ(window()->contentSize(), paneSize(0));
    EXPECT_NE(window()->presentedFrame(), after);
    rt().advance(kAfterAnimations);
    EXPECT_EQ(window()->presentedFrame(), after);
}

// The same change in a tab that is not selected does nothing until that tab is selected;
// a tab that fits the last size exactly changes no frame.
TEST_F(TabContentSizeTest, UnselectedTabWaitsUntilSelected) {
    select(1);  // same content as the first: nothing to change
    EXPECT_EQ(window()->presentedFrame(), window()->frame());
    select(0);
    const CGRect before = window()->frame();

    tabs_->second.count.set(3);
    rt().runPending();
    EXPECT_EQ(window()->frame(), before);

    select(1);
    EXPECT_EQ(window()->contentSize(), paneSize(1));
    EXPECT_GT(window()->frame().height, before.height);
}

// A pane that fits nothing (a fitting width or height of 0) leaves the window as it is and
// keeps the last applied size.
TEST_F(TabContentSizeTest, ZeroFittingSizeChangesNothing) {
    const CGRect before = window()->frame();
    const CGSize applied = tabs_->lastTargetContentSize;
    select(2);
    EXPECT_EQ(window()->frame(), before);
    EXPECT_EQ(tabs_->lastTargetContentSize, applied);
    EXPECT_EQ(window()->title(), "");
}

}  // namespace
}  // namespace corvane
