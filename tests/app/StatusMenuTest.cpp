#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/ActiveApp.h"
#include "app/CorvaneApp.h"
#include "app/StatusBarManager.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSApplication.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/sim/AccessibilityTrust.h"
#include "platform/sim/SimStatusBar.h"
#include "platform/sim/SimWorkspace.h"
#include "platform/sim/SystemImages.h"
#include "scroll/ScrollCoordinator.h"
#include "settings/SettingsDocument.h"
#include "settings/SettingsManager.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using namespace platform;
using sim::MenuRow;
using sim::SimStatusBar;
using testing::PrintTo;
using testing::rt;

constexpr NSEventModifierFlags kCommand = NSEventModifierFlagCommand;

/// A running application of the session: process, bundle identifier and name, each of the
/// latter two possibly missing.
struct App {
    pid_t pid;
    std::optional<std::string> bundleId;
    std::optional<std::string> name;
};

const App kSafari{10, "com.apple.Safari", "Safari"};
const App kEditor{11, "com.example.editor", "Editor"};
/// This application's own process (the session runs it), frontmost while one of its windows
/// has focus.
const App kCorvane{sim::SimWorkspace::kOwnProcessIdentifier, "com.Quillon.Corvane", "Corvane"};

/// The application launched with permission on the simulated session; the menu is opened
/// and chosen from as the user would through the session's menu bar.
class StatusMenuTest : public ::testing::Test {
  protected:
    static void start(const App& app) {
        if (app.pid == kCorvane.pid)
            return;  // runs already
        sim::session().workspace().launch({.processIdentifier = app.pid,
                                           .bundleIdentifier = app.bundleId,
                                           .localizedName = app.name});
    }
    /// Brings `pid` to the front; its activation is delivered on the main queue.
    static void activate(pid_t pid) {
        sim::session().workspace().setFrontmost(pid);
        rt().runPending();
    }
    static void launch() {
        sim::session().accessibility().setTrusted(true);
        CorvaneApp::main();
        rt().runPending();
    }
    static void setExceptions(std::vector<ExceptionalApplicationRef> list) {
        auto app = SettingsManager::shared().appSettings();
        app.exceptionalApplication = std::move(list);
        SettingsManager::shared().setAppSettings(app);
    }
    static void setShowMenuIcon(bool shown) {
        auto app = SettingsManager::shared().appSettings();
        app.showMenuIcon = shown;
        SettingsManager::shared().setAppSettings(app);
    }
    static ExceptionalApplicationRef exception(const std::string& bundleId, bool smooth) {
        return std::make_shared<ExceptionalApplication>(
            bundleId, ScrollBase{.smooth = smooth, .horizontalSmooth = true, .reverse = false},
            ScrollAdvanced{}, true);
    }
    static std::vector<ExceptionalApplicationRef> exceptions() {
        return SettingsManager::shared().settings().appSettings.exceptionalApplication;
    }
    /// The settings as the user defaults hold them.
    static CorvaneSettings stored() {
        auto data = UserDefaults::standard().data("corvaneSettings");
        EXPECT_TRUE(data);
        auto settings = decodeSettings(data ? std::string(data->begin(), data->end()) : "");
        EXPECT_TRUE(settings);
        return settings.value_or(CorvaneSettings{});
    }

    static NSStatusItem& statusItem() { return *StatusBarManager::shared().statusItem; }
    static std::vector<MenuRow> openMenu() {
        auto rows = sim::session().statusBar().openMenu();
        EXPECT_TRUE(rows) << "the menu did not open";
        return rows.value_or(std::vector<MenuRow>{});
    }
    static MenuRow row(const std::string& identifier) {
        const auto rows = openMenu();
        auto it = std::find_if(rows.begin(), rows.end(),
                               [&](const MenuRow& r) { return r.identifier == identifier; });
        EXPECT_NE(it, rows.end()) << identifier;
        return it == rows.end() ? MenuRow{} : *it;
    }
    static void choose(const std::string& identifier) {
        EXPECT_EQ(sim::session().statusBar().chooseMenuItem(identifier),
                  SimStatusBar::Choice::chosen)
            << identifier;
        rt().runPending();
    }
};

MenuRow separator() {
    MenuRow row;
    row.separator = true;
    return row;
}

MenuRow command(std::string identifier, std::string title, std::string key,
                std::optional<std::string> symbol, NSControlStateValue state = 0) {
    std::optional<NSImage> image;
    if (symbol) {
        image = NSImage::imageWithSystemSymbolName(*symbol, std::nullopt);
        image->setSize({16, 16});
        image->setTemplate(true);
    }
    return MenuRow{.separator = false,
                   .identifier = std::move(identifier),
                   .title = std::move(title),
                   .state = state,
                   .keyEquivalent = std::move(key),
                   .keyEquivalentModifierMask = kCommand,
                   .enabled = true,
                   .image = std::move(image)};
}

// Start-up shows one item of variable length with the mouse symbol (described "Corvane") and
// the menu of eight shown rows in order: "Check for Updates…" is built, hidden, and cannot
// be chosen; every shown command is enabled by its target, images are 16 x 16 templates.
TEST_F(StatusMenuTest, StartUpShowsTheItemWithItsMenu) {
    start(kSafari);
    activate(kSafari.pid);
    launch();

    ASSERT_EQ(sim::session().statusBar().items().size(), 1u);
    EXPECT_EQ(sim::session().statusBar().items().front().get(), &statusItem());
    EXPECT_EQ(statusItem().length(), NSVariableStatusItemLength);
    EXPECT_TRUE(statusItem().isVisible());
    ASSERT_NE(statusItem().button(), nullptr);
    ASSERT_TRUE(statusItem().button()->image());
    EXPECT_EQ(statusItem().button()->image()->name(), "computermouse.fill");
    EXPECT_EQ(statusItem().button()->image()->accessibilityDescription(), "Corvane");
    EXPECT_EQ(statusItem().menu(), StatusBarManager::shared().menu.menu);
    EXPECT_EQ(statusItem().menu()->delegate(), &StatusBarManager::shared().menu);

    EXPECT_THAT(openMenu(),
                ::testing::ElementsAre(
                    command("about", "About Corvane", "", "info.circle"), separator(),
                    command("preferences", "Settings...", ",", "gear"), separator(),
                    command("disableForAllApps", "Enable Smooth", "", std::nullopt, 1),
                    command("disableForCurrentApp", "Disable for Safari", "", std::nullopt),
                    separator(), command("quit", "Quit Corvane", "q", "xmark.rectangle")));

    const auto& updates = StatusBarManager::shared().menu.checkForUpdatesItem;
    ASSERT_NE(updates, nullptr);
    EXPECT_EQ(updates->title(), "Check for Updates\u2026");
    EXPECT_TRUE(updates->isHidden());
    EXPECT_EQ(statusItem().menu()->numberOfItems(), 9u);
    EXPECT_FALSE(StatusBarManager::shared().menu.aboutItem->representedObject().has_value());
    EXPECT_EQ(sim::session().statusBar().chooseMenuItem("checkForUpdates"),
              SimStatusBar::Choice::noSuchItem);

    const auto messages = testing::loggedMessages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Module initialized: StatusBarManager"),
              1);
}

// Without a button the item has no image but keeps its menu; without the symbols an item
// takes the image asset of that name, and without either it has no image.
TEST_F(StatusMenuTest, MissingButtonAndSymbolsLeaveTheImagesOut) {
    sim::session().setStatusItemButtonRefused(true);
    for (const char* name : {"computermouse.fill", "info.circle", "gear", "xmark.rectangle"})
        sim::session().images().setSystemSymbol(name, std::nullopt);
    sim::session().images().setImageAsset("gear", CGSize{128, 128});
    launch();

    EXPECT_EQ(statusItem().button(), nullptr);
    ASSERT_NE(statusItem().menu(), nullptr);
    EXPECT_EQ(row("about").image, std::nullopt);
    EXPECT_EQ(row("quit").image, std::nullopt);
    const auto gear = row("preferences").image;
    ASSERT_TRUE(gear);
    EXPECT_EQ(gear->source(), NSImage::Source::named);
    EXPECT_EQ(gear->size(), (CGSize{16, 16}));
    EXPECT_TRUE(gear->isTemplate());
}

// With "showMenuIcon" off at launch the item is hidden; every window that opens or closes
// re-applies the stored setting, so the item reappears once the setting is on.
TEST_F(StatusMenuTest, VisibilityFollowsTheSettingWheneverAWindowOpensOrCloses) {
    setShowMenuIcon(false);
    launch();
    EXPECT_FALSE(statusItem().isVisible());
    EXPECT_FALSE(sim::session().statusBar().openMenu()) << "a hidden item cannot be clicked";

    WindowManager::shared().openWindow("about", "", ui::EmptyView(), NSNormalWindowLevel, 3);
    EXPECT_FALSE(statusItem().isVisible());
    setShowMenuIcon(true);
    EXPECT_FALSE(statusItem().isVisible()) << "the setting alone changes nothing here";
    WindowManager::shared().window("about")->close();
    rt().runPending();
    EXPECT_TRUE(statusItem().isVisible());

    setShowMenuIcon(false);
    WindowManager::shared().openWindow("about", "", ui::EmptyView(), NSNormalWindowLevel, 3);
    EXPECT_FALSE(statusItem().isVisible());
}

struct Naming {
    const char* name;
    std::vector<App> apps;
    /// Activated in order, the first before launch; none: nothing frontmost at launch.
    std::vector<pid_t> activations;
    std::string title;
    /// Whether choosing the item adds an exception for that application.
    bool choosingActs;
};

class MenuNaming : public StatusMenuTest, public ::testing::WithParamInterface<Naming> {};

// The per-application item names the application the user was working in: the frontmost
// one, or the one before while this application is frontmost; the bundle identifier when it
// has no name; "Unknown App" when there is none. Choosing it acts only on an application
// with a bundle identifier.
TEST_P(MenuNaming, NamesTheRelevantApplication) {
    for (const App& app : GetParam().apps)
        start(app);
    const auto& activations = GetParam().activations;
    if (!activations.empty())
        activate(activations.front());
    launch();
    for (std::size_t i = 1; i < activations.size(); ++i)
        activate(activations[i]);

    EXPECT_EQ(row("disableForCurrentApp").title, GetParam().title);
    choose("disableForCurrentApp");
    EXPECT_EQ(exceptions().size(), GetParam().choosingActs ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MenuNaming,
    ::testing::Values(
        Naming{"frontmostApplication", {kSafari}, {kSafari.pid}, "Disable for Safari", true},
        Naming{"lastActivated",
               {kSafari, kEditor},
               {kSafari.pid, kEditor.pid},
               "Disable for Editor",
               true},
        Naming{"previousWhileOwnIsFrontmost",
               {kSafari, kCorvane},
               {kSafari.pid, kCorvane.pid},
               "Disable for Safari",
               true},
        Naming{"previousAfterActivatingAnotherAndOwn",
               {kSafari, kEditor, kCorvane},
               {kSafari.pid, kEditor.pid, kCorvane.pid},
               "Disable for Editor",
               true},
        // A second process of the same bundle is the same application: nothing moves.
        Naming{"sameBundleIsNoChange",
               {kSafari, {13, "com.apple.Safari", "Safari Helper"}},
               {kSafari.pid, 13},
               "Disable for Safari",
               true},
        Naming{"bundleIdentifierWithoutName",
               {{20, "org.example.noname", std::nullopt}},
               {20},
               "Disable for org.example.noname",
               true},
        Naming{"nameWithoutBundleIdentifier",
               {{21, std::nullopt, "Loose Tool"}},
               {21},
               "Disable for Loose Tool",
               false},
        Naming{"nothingFrontmost", {kSafari}, {}, "Disable for Unknown App", false},
        Naming{"ownFrontmostWithNoPrevious",
               {kCorvane},
               {kCorvane.pid},
               "Disable for Unknown App",
               false}),
    testing::CaseName());

// An application whose exception keeps smoothing on shows the item unchecked; choosing it
// turns smoothing off in that same exception (no second entry), saved, and the item is
// checked at the next opening; choosing again turns it back on. The coordinator is left as
// it is.
TEST_F(StatusMenuTest, ChoosingForAnExceptedApplicationInvertsItsOwnSmoothing) {
    start(kSafari);
    activate(kSafari.pid);
    auto safari = exception("com.apple.Safari", true);
    setExceptions({exception("com.example.other", false), safari});
    launch();
    ASSERT_TRUE(ScrollCoordinator::shared().isActive);

    EXPECT_EQ(row("disableForCurrentApp").state, NSControlStateValueOff);
    choose("disableForCurrentApp");
    ASSERT_EQ(exceptions().size(), 2u);
    EXPECT_EQ(exceptions()[1], safari);
    EXPECT_FALSE(safari->scrollBase().smooth);
    EXPECT_FALSE(stored().appSettings.exceptionalApplication[1]->scrollBase().smooth);
    EXPECT_EQ(row("disableForCurrentApp").state, NSControlStateValueOn);
    EXPECT_TRUE(ScrollCoordinator::shared().isActive);

    choose("disableForCurrentApp");
    EXPECT_TRUE(safari->scrollBase().smooth);
    EXPECT_EQ(row("disableForCurrentApp").state, NSControlStateValueOff);
}

// An application without an exception gets a new one at the head of the list: smoothing
// off, horizontal smoothing on, reverse off, the default values and "inherit" on; the
// former first entry becomes second, and the store holds the new list.
TEST_F(StatusMenuTest, ChoosingForAnotherApplicationAddsAnExceptionAtTheHead) {
    start(kSafari);
    activate(kSafari.pid);
    auto first = exception("com.example.first", true);
    setExceptions({first, exception("com.example.second", false)});
    launch();

    choose("disableForCurrentApp");
    const auto list = exceptions();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]->bundleId(), "com.apple.Safari");
    EXPECT_EQ(list[0]->scrollBase(),
              (ScrollBase{.smooth = false, .horizontalSmooth = true, .reverse = false}));
    EXPECT_EQ(list[0]->scrollAdvanced(), ScrollAdvanced{});
    EXPECT_TRUE(list[0]->inherit());
    EXPECT_EQ(list[1], first);

    const auto saved = stored().appSettings.exceptionalApplication;
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[0]->bundleId(), "com.apple.Safari");
    EXPECT_FALSE(saved[0]->scrollBase().smooth);
    EXPECT_EQ(saved[1]->bundleId(), "com.example.first");
    EXPECT_EQ(row("disableForCurrentApp").state, NSControlStateValueOn);
}

// "Enable Smooth" turns global smoothing off (saved, the coordinator stopped, the item
// unchecked at once) and on again (saved, started, checked).
TEST_F(StatusMenuTest, EnableSmoothStopsAndStartsTheCoordinator) {
    launch();
    const auto& item = StatusBarManager::shared().menu.enableSmoothItem;
    ASSERT_TRUE(ScrollCoordinator::shared().isActive);
    EXPECT_EQ(row("disableForAllApps").state, NSControlStateValueOn);

    for (const bool smooth : {false, true}) {
        choose("disableForAllApps");
        EXPECT_EQ(SettingsManager::shared().settings().scrollBase.smooth, smooth);
        EXPECT_EQ(stored().scrollBase.smooth, smooth);
        EXPECT_EQ(ScrollCoordinator::shared().isActive, smooth);
        EXPECT_EQ(item->state(), smooth ? NSControlStateValueOn : NSControlStateValueOff);
    }
}

struct WindowItem {
    const char* name;
    std::string identifier;
    std::string title;
};

class MenuWindows : public StatusMenuTest, public ::testing::WithParamInterface<WindowItem> {};

// "Settings..." and "About Corvane" open their windows through the registry, titled (the
// settings window by its first tab) and closable at the normal level; choosing again brings
// the same window forward.
TEST_P(MenuWindows, OpenTheirWindowOnce) {
    launch();
    choose(GetParam().identifier);
    auto window = WindowManager::shared().window(GetParam().identifier);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title(), GetParam().title);
    EXPECT_EQ(window->styleMask(), NSWindowStyleMaskTitled | NSWindowStyleMaskClosable);
    EXPECT_EQ(window->level(), NSNormalWindowLevel);

    choose(GetParam().identifier);
    EXPECT_EQ(WindowManager::shared().window(GetParam().identifier), window);
    EXPECT_EQ(WindowManager::shared().windows().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Table, MenuWindows,
                         ::testing::Values(WindowItem{"settings", "preferences", "General"},
                                           WindowItem{"about", "about", ""}),
                         testing::CaseName());

// "Quit Corvane" closes every registered window while the application still runs, then
// terminates it.
TEST_F(StatusMenuTest, QuitClosesEveryWindowBeforeTerminating) {
    launch();
    choose("preferences");
    choose("about");
    std::vector<bool> runningAtEachChange;
    NotificationCenter::defaultCenter().addObserver(
        kWindowStateChangedNotification, [&](const Notification&) {
            runningAtEachChange.push_back(NSApplication::shared().isRunning());
        });

    choose("quit");
    EXPECT_THAT(runningAtEachChange, ::testing::ElementsAre(true, true));
    EXPECT_TRUE(WindowManager::shared().windows().empty());
    EXPECT_FALSE(NSApplication::shared().isRunning());
    const auto messages = testing::loggedMessages();
    EXPECT_NE(std::find(messages.begin(), messages.end(), "App terminated"), messages.end());
}

}  // namespace
}  // namespace corvane
