#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PreferencesTestSupport.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSWindow.h"
#include "platform/sim/WheelEvent.h"
#include "preferences/ExceptionsView.h"
#include "scroll/ScrollCoordinator.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;
using testing::PrintTo;

/// The tab in a window, with a few running applications and installed bundles, and the
/// application running as an accessory, as it does once started.
class ExceptionsViewTest : public testing::SettingsFixture {
  public:
    void SetUp() override {
        SettingsFixture::SetUp();
        NSApplication::shared().setActivationPolicy(ActivationPolicy::accessory);
        auto& ws = sim::session().workspace();
        ws.installBundle(Bundle("/Applications/Editor.app", "com.example.editor",
                                {{"CFBundleDisplayName", std::string("Editor")}}),
                         platform::Image{"editor", 32, 32});
        ws.installBundle(Bundle("/Applications/Anonymous.app", std::nullopt, {}));
        launch(501, "com.example.editor", "Editor");
        launch(502, "com.example.mail", "Mail");
    }
    static void launch(pid_t pid, std::optional<std::string> id, std::optional<std::string> name,
                       ActivationPolicy policy = ActivationPolicy::regular) {
        sim::session().workspace().launch({.processIdentifier = pid,
                                           .bundleIdentifier = std::move(id),
                                           .localizedName = std::move(name),
                                           .activationPolicy = policy});
    }
    void setExceptions(const std::vector<std::string>& ids) {
        CorvaneSettings settings = store().settings();
        settings.appSettings.exceptionalApplication.clear();
        for (const auto& id : ids)
            settings.appSettings.exceptionalApplication.push_back(
                std::make_shared<ExceptionalApplication>(id));
        store().setSettings(settings);
    }
    std::vector<std::string> exceptionIds() {
        std::vector<std::string> ids;
        for (const auto& e : store().settings().appSettings.exceptionalApplication)
            ids.push_back(e->bundleId());
        return ids;
    }
    NSHostingView& show() {
        const HostingWindow shown = showInWindow(ExceptionsView{store(), {}, false});
        window_ = shown.window;
        host_ = shown.host;
        return *host_;
    }
    /// The tags of the rows shown in the tab's list ("" presentation) or the picker.
    std::vector<std::string> rowTags(const std::string& presentation) {
        std::vector<std::string> tags;
        for (const auto& h : host_->elementsForTesting()) {
            const ElementInfo info = h.info();
            if (info.tag && info.presentation == presentation)
                tags.push_back(*info.tag);
        }
        return tags;
    }
    std::optional<ElementHandle> row(const std::string& tag) {
        for (const auto& h : host_->elementsForTesting()) {
            if (h.info().tag == tag)
                return h;
        }
        return std::nullopt;
    }
    void openPicker() { click(element(*host_, "button", "plus")); }
    bool pickerShown() { return !rowTags("popover").empty(); }
    bool removeEnabled() { return element(*host_, "button", "minus").info().enabled; }

    std::shared_ptr<NSWindow> window_;
    std::shared_ptr<NSHostingView> host_;
};

// With no exceptions the list keeps its height and nothing can be removed.
TEST_F(ExceptionsViewTest, EmptyListKeepsItsHeightAndDisablesRemove) {
    show();
    EXPECT_EQ(element(*host_, "list", "").info().frame.height, ExceptionsView::kListHeight);
    EXPECT_TRUE(rowTags("").empty());
    EXPECT_FALSE(removeEnabled());
}

// Picking an application adds it first, smoothing on and inheriting, hides the popover, and
// the picker no longer offers it.
TEST_F(ExceptionsViewTest, PickingAddsFirstAndHidesThePopover) {
    setExceptions({"com.example.mail"});
    show();
    openPicker();
    EXPECT_EQ(rowTags("popover"), (std::vector<std::string>{"browse", "com.example.editor"}));
    const int saves = this->saves();
    click(*row("com.example.editor"));

    EXPECT_EQ(exceptionIds(), (std::vector<std::string>{"com.example.editor", "com.example.mail"}));
    const auto& added = store().settings().appSettings.exceptionalApplication.front();
    EXPECT_TRUE(added->scrollBase().smooth);
    EXPECT_TRUE(added->inherit());
    EXPECT_GT(this->saves(), saves);
    EXPECT_FALSE(pickerShown());
    EXPECT_EQ(rowTags(""), (std::vector<std::string>{"com.example.editor", "com.example.mail"}));
    EXPECT_TRUE(element(*host_, "text", "Editor").info().visible);
    EXPECT_TRUE(element(*host_, "image", "editor").info().visible);

    openPicker();
    EXPECT_EQ(rowTags("popover"), (std::vector<std::string>{"browse"}));
}

// Every other regular application already excepted, and none for this one (an accessory):
// the picker offers only "Browse...".
TEST_F(ExceptionsViewTest, PickerOffersOnlyBrowseWhenAllAreExcepted) {
    setExceptions({"com.example.mail", "com.example.editor"});
    show();
    openPicker();
    EXPECT_EQ(rowTags("popover"), (std::vector<std::string>{"browse"}));
}

// Only regular applications with an identifier are candidates, sorted stably by name (the
// identifier for one without) as plain strings.
TEST_F(ExceptionsViewTest, CandidatesAreRegularApplicationsSortedStably) {
    launch(503, "com.example.helper", "Helper", ActivationPolicy::accessory);
    launch(504, "com.example.daemon", "Daemon", ActivationPolicy::prohibited);
    launch(505, std::nullopt, "Nameless tool");
    launch(506, "com.example.b-twin", "Twin");
    launch(507, "com.example.a-twin", "Twin");
    launch(508, "app.unnamed", std::nullopt);
    launch(509, "com.example.zed", "zed");
    std::vector<std::string> order;
    for (const auto& app : ExceptionsView::runningApplicationCandidates())
        order.push_back(*app->bundleIdentifier());
    EXPECT_EQ(order, (std::vector<std::string>{"com.example.editor", "com.example.mail",
                                               "com.example.b-twin", "com.example.a-twin",
                                               "app.unnamed", "com.example.zed"}));
    show();
    openPicker();
    EXPECT_EQ(element(*host_, "text", "app.unnamed").info().presentation, "popover");
}

struct BrowseCase {
    const char* name;
    std::optional<std::string> choice;  ///< none: cancel
    std::vector<std::string> expected;
};

class BrowseTest : public ExceptionsViewTest, public ::testing::WithParamInterface<BrowseCase> {};

// "Browse..." runs the panel in the local application folder and adds only a bundle with an
// identifier that is not listed yet; the popover stays shown, and clicking "Browse..." again
// asks nothing (a second panel would find no answer and end the test).
TEST_P(BrowseTest, AddsOnlyANewBundleIdentifier) {
    setExceptions({"com.example.mail"});
    show();
    if (GetParam().choice)
        sim::session().openPanels().queueChoice(*GetParam().choice);
    else
        sim::session().openPanels().queueCancel();
    openPicker();
    click(*row("browse"));
    click(*row("browse"));

    EXPECT_EQ(exceptionIds(), GetParam().expected);
    EXPECT_TRUE(pickerShown());
    const auto panels = sim::session().openPanels().shown();
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0].title, "Select an Application");
    EXPECT_EQ(panels[0].directory, "/Applications");
}

INSTANTIATE_TEST_SUITE_P(
    Table, BrowseTest,
    ::testing::Values(
        BrowseCase{
            "bundle", "/Applications/Editor.app", {"com.example.editor", "com.example.mail"}},
        BrowseCase{"cancel", std::nullopt, {"com.example.mail"}},
        BrowseCase{"notABundle", "/Users/user/notes.txt", {"com.example.mail"}},
        BrowseCase{"noIdentifier", "/Applications/Anonymous.app", {"com.example.mail"}}),
    testing::CaseName());

// Browsing for an application already listed changes and saves nothing.
TEST_F(ExceptionsViewTest, BrowsingForAListedApplicationChangesNothing) {
    setExceptions({"com.example.editor"});
    show();
    const int saves = this->saves();
    sim::session().openPanels().queueChoice("/Applications/Editor.app");
    ExceptionsView{store(), {}, false}.browseForApplication();
    EXPECT_EQ(exceptionIds(), (std::vector<std::string>{"com.example.editor"}));
    EXPECT_EQ(this->saves(), saves);
}

// An application that is not installed shows its identifier and no icon.
TEST_F(ExceptionsViewTest, UninstalledApplicationShowsItsIdentifier) {
    setExceptions({"org.gone.app"});
    show();
    EXPECT_TRUE(findElement(host_->elementsForTesting(), "text", "org.gone.app"));
    // The gear is the row's only image; the others are the buttons' symbols.
    for (const auto& h : host_->elementsForTesting()) {
        const ElementInfo info = h.info();
        if (info.kind == "image") {
            EXPECT_TRUE(info.label == "gearshape.fill" || info.label == "plus" ||
                        info.label == "minus")
                << info.label;
        }
    }
}

// Removing the selected row clears the selection; a selection whose exception went away by
// other means removes nothing.
TEST_F(ExceptionsViewTest, RemovalClearsTheSelection) {
    setExceptions({"com.example.editor", "com.example.mail"});
    show();
    click(*row("com.example.mail"));
    EXPECT_TRUE(removeEnabled());
    click(element(*host_, "button", "minus"));
    EXPECT_EQ(exceptionIds(), (std::vector<std::string>{"com.example.editor"}));
    EXPECT_FALSE(removeEnabled());

    click(*row("com.example.editor"));
    setExceptions({"com.example.mail"});
    rt().runPending();
    const int saves = this->saves();
    click(element(*host_, "button", "minus"));
    EXPECT_EQ(exceptionIds(), (std::vector<std::string>{"com.example.mail"}));
    EXPECT_EQ(this->saves(), saves);
}

// A row's switch writes the exception's smoothing and saves; a change made to the exception
// in place elsewhere shows at once, though the store announces nothing.
TEST_F(ExceptionsViewTest, RowSwitchFollowsTheExceptionBothWays) {
    setExceptions({"com.example.editor"});
    show();
    const auto exception = store().settings().appSettings.exceptionalApplication.front();
    const int saves = this->saves();
    click(element(*host_, "toggle", ""));
    EXPECT_FALSE(exception->scrollBase().smooth);
    EXPECT_EQ(this->saves(), saves + 1);

    exception->setScrollBase(ScrollBase{});
    rt().runPending();
    EXPECT_TRUE(element(*host_, "toggle", "").info().isOn);
}

// The user gives the application in use its own step: picked in the picker, "Use global
// settings" off, "Step size:" slid to 40. The next tick to it posts 40 points in all, while a
// tick to another application posts the global 90.
TEST_F(ExceptionsViewTest, OwnStepReachesTheNextTick) {
    sim::session().workspace().setFrontmost(501);
    ScrollCoordinator::shared().start();
    show();
    openPicker();
    click(*row("com.example.editor"));
    click(element(*host_, "image", "gearshape.fill"));
    click(element(*host_, "toggle", "Use global settings"));
    const auto slider = element(*host_, "slider", "Step size:");
    slider.dragSlider(40);
    slider.release();
    rt().runPending();
    ASSERT_EQ(store().settings().appSettings.exceptionalApplication.front()->scrollAdvanced().step,
              40);

    auto& server = sim::session().windowServer();
    server.scheduleHardwareEvent(rt().mediaTime() + 0.1,
                                 sim::WheelEvent{.target = 501, .lineY = 1, .pointY = 10}.create());
    server.scheduleHardwareEvent(rt().mediaTime() + 2,
                                 sim::WheelEvent{.target = 502, .lineY = 1, .pointY = 10}.create());
    rt().advance(4);
    double editor = 0, mail = 0;
    for (const auto& r : server.receivedEvents()) {
        if (r.origin != sim::EventOrigin::synthetic)
            continue;
        (r.pid == 501 ? editor : mail) += r.event.doubleValue(kCGScrollWheelEventPointDeltaAxis1);
    }
    EXPECT_EQ(editor, 40);
    EXPECT_EQ(mail, 90);
}

}  // namespace
}  // namespace corvane
