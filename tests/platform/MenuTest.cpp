#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/appkit/NSMenu.h"
#include "platform/appkit/NSStatusBar.h"
#include "platform/appkit/Workspace.h"
#include "platform/sim/SimStatusBar.h"
#include "platform/sim/SimWorkspace.h"
#include "support/SimSession.h"

namespace corvane::platform {
namespace {

using sim::SimStatusBar;
using testing::PrintTo;
using testing::rt;

/// A target that handles the selectors it is given and records what it performed.
class Target : public NSObject {
  public:
    explicit Target(std::set<std::string> handles) : handles_(std::move(handles)) {}
    bool respondsToSelector(std::string_view selector) const override {
        return handles_.contains(std::string(selector));
    }
    bool performSelector(std::string_view selector) override {
        if (!respondsToSelector(selector))
            return false;
        performed.emplace_back(selector);
        return true;
    }
    std::vector<std::string> performed;

  private:
    std::set<std::string> handles_;
};

struct Enabling {
    const char* name;
    bool separator;
    std::string action;
    bool withTarget;
    bool autoenables;
    bool expected;
    bool performs;  ///< whether choosing the item sends its action
};

class MenuEnabling : public ::testing::TestWithParam<Enabling> {};

// A menu that enables automatically enables exactly the items whose target handles their
// action; one that does not leaves each item as it was set. Only an enabled item whose
// target handles its action sends it when chosen.
TEST_P(MenuEnabling, FollowsTheTarget) {
    Target target({"open"});
    NSMenu menu;
    menu.setAutoenablesItems(GetParam().autoenables);
    auto item = GetParam().separator ? NSMenuItem::separatorItem()
                                     : menu.addItem("Item", GetParam().action, "");
    if (GetParam().separator)
        menu.addItem(item);
    if (GetParam().withTarget)
        item->setTarget(&target);
    // Set by hand: the opposite of what an automatic update must make of it.
    item->setEnabled(GetParam().autoenables != GetParam().expected);

    menu.update();
    EXPECT_EQ(item->isEnabled(), GetParam().expected);
    EXPECT_EQ(menu.performActionForItemAtIndex(0), GetParam().performs);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MenuEnabling,
    ::testing::Values(Enabling{"handled", false, "open", true, true, true, true},
                      Enabling{"notHandled", false, "close", true, true, false, false},
                      Enabling{"noTarget", false, "open", false, true, false, false},
                      Enabling{"noAction", false, "", true, true, false, false},
                      Enabling{"separator", true, "", true, true, false, false},
                      Enabling{"manualOff", false, "open", true, false, false, false},
                      Enabling{"manualOnUnhandled", false, "close", true, false, true, false}),
    testing::CaseName());

/// A menu whose delegate counts its refreshes and hides one item.
class CountingDelegate : public NSMenuDelegate {
  public:
    void menuNeedsUpdate(NSMenu& menu) override {
        ++updates;
        menu.items()[1]->setHidden(true);
    }
    int updates = 0;
};

// The session's menu bar refreshes a menu before every opening and choice, shows only
// unhidden rows, and refuses hidden items, hidden status items and removed ones.
TEST(SimStatusBarTest, OpensRefreshedMenusOfShownItemsOnly) {
    Target target({"open", "close"});
    CountingDelegate delegate;
    auto menu = std::make_shared<NSMenu>();
    menu->setDelegate(&delegate);
    for (const char* name : {"open", "close"}) {
        auto item = menu->addItem(name, name, "");
        item->setIdentifier(name);
        item->setTarget(&target);
    }
    auto item = NSStatusBar::systemStatusBar().statusItemWithLength(NSVariableStatusItemLength);
    auto& bar = sim::session().statusBar();
    EXPECT_FALSE(bar.openMenu()) << "no menu yet";
    item->setMenu(menu);

    auto rows = bar.openMenu();
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ(rows->front().identifier, "open");
    EXPECT_EQ(bar.chooseMenuItem("close"), SimStatusBar::Choice::noSuchItem);
    EXPECT_EQ(bar.chooseMenuItem("open"), SimStatusBar::Choice::chosen);
    EXPECT_EQ(target.performed, std::vector<std::string>{"open"});
    EXPECT_EQ(delegate.updates, 3);

    item->setVisible(false);
    EXPECT_FALSE(bar.hasVisibleItem());
    EXPECT_EQ(bar.chooseMenuItem("open"), SimStatusBar::Choice::menuNotShown);
    item->setVisible(true);
    NSStatusBar::systemStatusBar().removeStatusItem(item);
    EXPECT_TRUE(bar.items().empty());
    EXPECT_FALSE(bar.openMenu());
}

// Another application coming to the front is announced on the workspace's centre, on the
// main queue, naming its process; the same one again, or none, is not.
TEST(WorkspaceActivation, PostsOnlyWhenAnotherApplicationComesToTheFront) {
    auto& workspace = sim::session().workspace();
    workspace.launch({.processIdentifier = 40, .bundleIdentifier = "a"});
    workspace.launch({.processIdentifier = 41, .bundleIdentifier = "b"});
    std::vector<double> announced;
    Workspace::shared().notificationCenter().addObserver(
        NSWorkspaceDidActivateApplicationNotification, [&](const Notification& n) {
            EXPECT_EQ(Workspace::shared().frontmostApplication()->processIdentifier(), 41);
            announced.push_back(*n.userInfo.at("processIdentifier").number());
        });

    workspace.setFrontmost(41);
    EXPECT_TRUE(announced.empty()) << "delivered on the main queue, not at once";
    rt().runPending();
    workspace.setFrontmost(41);
    workspace.setFrontmost(std::nullopt);
    workspace.setFrontmost(99);  // not running
    rt().runPending();
    EXPECT_EQ(announced, std::vector<double>{41});
}

}  // namespace
}  // namespace corvane::platform
