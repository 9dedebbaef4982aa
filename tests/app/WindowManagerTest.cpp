#include <gtest/gtest.h>

#include <memory>

#include "app/WindowManager.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/NSScreen.h"
#include "platform/foundation/NotificationCenter.h"
#include "support/SimSession.h"
#include "support/ThreadCheckTest.h"

namespace corvane {
namespace {

using namespace platform;
using namespace platform::ui;
using testing::rt;

/// A small declarative content for registry windows.
View content(const std::string& text) {
    return Text(text).padding(20);
}

class WindowManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        token_ = NotificationCenter::defaultCenter().addObserver(
            kWindowStateChangedNotification, [this](const Notification&) { ++posts_; });
    }
    void TearDown() override { NotificationCenter::defaultCenter().removeObserver(token_); }

    WindowManager& manager() { return WindowManager::shared(); }
    int posts_ = 0;
    NotificationCenter::ObserverToken token_;
};

// The manager logs its creation once.
TEST_F(WindowManagerTest, LogsItsCreation) {
    manager();
    manager();
    const auto messages = testing::loggedMessages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Module initialized: WindowManager"), 1);
}

// Opening an identifier twice gives one window; the second call only brings it to the front
// (activating the application) and posts nothing.
TEST_F(WindowManagerTest, OpeningTwiceGivesOneWindowAndPostsOnce) {
    auto controller = std::make_shared<NSHostingController>(content("Settings"));
    manager().openWindow("preferences", "Corvane Settings", controller, NSNormalWindowLevel,
                         NSWindowStyleMaskTitled | NSWindowStyleMaskClosable);
    auto first = manager().window("preferences");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(posts_, 1);
    first->orderOut();
    const int activations = NSApplication::shared().activationCount();

    manager().openWindow("preferences", "Other",
                         std::make_shared<NSHostingController>(content("x")), NSNormalWindowLevel,
                         3);

    EXPECT_EQ(manager().windows().size(), 1u);
    EXPECT_EQ(manager().window("preferences"), first);
    EXPECT_EQ(first->title(), "Corvane Settings");
    EXPECT_EQ(first->contentViewController(), controller);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->isKeyWindow());
    EXPECT_EQ(NSApplication::shared().activationCount(), activations + 1);
    EXPECT_EQ(posts_, 1);
}

// A view-controller window takes its content size from the controller's view and is
// centred; it is not released when closed.
TEST_F(WindowManagerTest, ViewControllerWindowTakesItsSizeFromTheView) {
    auto controller = std::make_shared<NSHostingController>(Text("Settings").frame(460, 300));
    manager().openWindow("preferences", "Corvane Settings", controller, NSNormalWindowLevel, 3);
    auto window = manager().window("preferences");
    EXPECT_EQ(window->contentSize(), (CGSize{460, 300}));
    EXPECT_EQ(window->styleMask(), NSWindowStyleMaskTitled | NSWindowStyleMaskClosable);
    EXPECT_EQ(window->toolbarStyle(), NSWindowToolbarStyle::preference);
    EXPECT_FALSE(window->isReleasedWhenClosed());
    const CGRect visible = NSScreen::mainScreen()->visibleFrame;
    EXPECT_NEAR(CGRectGetMidX(window->frame()), CGRectGetMidX(visible), 0.5);
}

// A declarative window gets a transparent title bar without separator, the compact
// "MainToolbar", and exactly the view's own size as its content size.
TEST_F(WindowManagerTest, DeclarativeWindowHostsTheViewAtItsOwnSize) {
    manager().openWindow("about", "", Text("About").frame(440, 120), NSNormalWindowLevel, 3);
    auto window = manager().window("about");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->contentSize(), (CGSize{440, 120}));
    EXPECT_TRUE(window->titlebarAppearsTransparent());
    EXPECT_EQ(window->titlebarSeparatorStyle(), NSTitlebarSeparatorStyle::none);
    EXPECT_EQ(window->titleVisibility(), NSWindowTitleVisibility::visible);
    ASSERT_NE(window->toolbar(), nullptr);
    EXPECT_EQ(window->toolbar()->identifier(), "MainToolbar");
    EXPECT_FALSE(window->toolbar()->showsBaselineSeparator());
    EXPECT_EQ(window->toolbar()->displayMode(), NSToolbar::DisplayMode::iconOnly);
    EXPECT_EQ(window->toolbarStyle(), NSWindowToolbarStyle::unifiedCompact);
    EXPECT_EQ(window->level(), NSNormalWindowLevel);
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(posts_, 1);
}

// Closing a registered window removes its identifier and posts once; a later open builds a
// new window.
TEST_F(WindowManagerTest, ClosingRemovesTheIdentifierAndPostsOnce) {
    manager().openWindow("permission", "Corvane", content("Permission"), NSNormalWindowLevel, 3);
    auto window = manager().window("permission");
    posts_ = 0;

    window->performClose();

    EXPECT_EQ(manager().window("permission"), nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(posts_, 1);

    manager().openWindow("permission", "Corvane", content("Permission"), NSNormalWindowLevel, 3);
    EXPECT_NE(manager().window("permission"), window);
}

// A window closed after a newer window took its identifier leaves the newer one registered.
TEST_F(WindowManagerTest, ClosingAnOldWindowKeepsTheNewerOneRegistered) {
    manager().openWindow("about", "", content("About"), NSNormalWindowLevel, 3);
    auto old = manager().window("about");
    manager().removeWindow("about");
    manager().openWindow("about", "", content("About"), NSNormalWindowLevel, 3);
    auto newer = manager().window("about");

    old->close();

    EXPECT_EQ(manager().window("about"), newer);
}

// closeAll closes every window, posting once per window, and leaves the registry empty.
TEST_F(WindowManagerTest, CloseAllPostsOncePerWindowAndEmptiesTheRegistry) {
    manager().openWindow("permission", "Corvane", content("Permission"), NSNormalWindowLevel, 3);
    manager().openWindow("about", "", content("About"), NSNormalWindowLevel, 3);
    auto permission = manager().window("permission");
    auto about = manager().window("about");
    posts_ = 0;

    manager().closeAll();

    EXPECT_EQ(posts_, 2);
    EXPECT_TRUE(manager().windows().empty());
    EXPECT_FALSE(permission->isVisible());
    EXPECT_FALSE(about->isVisible());
}

using WindowManagerThreadTest = testing::ThreadCheckTest;

// The registry is used from the main thread only: opening a window from another queue ends
// the process.
TEST_F(WindowManagerThreadTest, OpeningOffTheMainThreadIsCaught) {
    auto queue = otherQueue();
    EXPECT_DEATH(
        {
            queue->async([] {
                WindowManager::shared().openWindow("about", "", content("About"),
                                                   NSNormalWindowLevel, 3);
            });
            rt().runPending();
        },
        "WindowManager::openWindow ran on \"Test.other\", but runs only on the main thread");
}

}  // namespace
}  // namespace corvane
