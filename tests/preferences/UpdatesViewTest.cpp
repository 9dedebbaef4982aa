#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/UpdaterManager.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/WindowElements.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/sim/Session.h"
#include "preferences/UpdatesView.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;
using testing::PrintTo;

const char* const kCheckButton = "Check for Updates\u2026";
const char* const kAutoCheck = "Auto-check for updates";
const char* const kAutoDownload = "Auto download updates";

/// The Updates tab in a window of its own, over user defaults that hold the two switches as
/// each test sets them.
class UpdatesViewTest : public ::testing::Test {
  protected:
    /// Stores the switches, then opens the tab (which starts the updater).
    void open(bool automaticChecks, bool automaticDownloads) {
        store_ = std::make_shared<InMemoryDefaultsStore>(
            PlistDictionary{{SPUUpdater::kAutomaticChecksKey, automaticChecks},
                            {SPUUpdater::kAutomaticDownloadsKey, automaticDownloads}});
        UserDefaults::installStandardStore(store_);
        UpdaterManager::shared();
        writesBefore_ = store_->persistCount();
        WindowManager::shared().openWindow("preferences", "Updates", UpdatesView{},
                                           NSNormalWindowLevel, 3);
        window_ = WindowManager::shared().window("preferences");
        rt().runPending();
    }
    /// Acts on the element labelled `label` as a user would, and lets the views update.
    void act(const std::string& label, ElementAction action) {
        ASSERT_EQ(performElementAction(*window_, label, action).outcome,
                  ElementActionResult::Outcome::done);
        rt().runPending();
    }
    /// The element of `kind` labelled `label`, as the window shows it now.
    WindowElement shown(const std::string& kind, const std::string& label) {
        for (const auto& element : inspectWindow(*window_).elements) {
            if (element.kind == kind && element.label == label)
                return element;
        }
        ADD_FAILURE() << "no " << kind << " " << label;
        return {};
    }
    ElementInfo info(const std::string& kind, const std::string& label) {
        return element(*window_, kind, label).info();
    }
    /// Writes to the user defaults since the tab was opened (each setter writes once).
    int writes() const { return store_->persistCount() - writesBefore_; }
    static PlistValue stored(const char* key) {
        return UserDefaults::standard().object(key).value_or(PlistValue("none"));
    }

    std::shared_ptr<NSWindow> window_;

  private:
    std::shared_ptr<InMemoryDefaultsStore> store_;
    int writesBefore_ = 0;
};

// The tab reads as its label, the two switch rows (title, dimmed footnote help, switch) and
// the two buttons; the label sits right-aligned in its 120 points, the column 12 after it.
TEST_F(UpdatesViewTest, ReadsAsTheTab) {
    open(true, false);
    const std::vector<WindowElement> expected = {
        {"text", "Updates:", {}, true, ""},
        {"text", kAutoCheck, {}, true, ""},
        {"text", "Enable to be notified when a new version is available", {}, true, ""},
        {"toggle", kAutoCheck, true, true, ""},
        {"text", kAutoDownload, {}, true, ""},
        {"text", "Download updates in background", {}, true, ""},
        {"toggle", kAutoDownload, false, true, ""},
        {"button", kCheckButton, {}, true, ""},
        {"button", "Changelog", {}, true, ""},
    };
    EXPECT_EQ(inspectWindow(*window_).elements, expected);

    const ElementInfo label = info("text", "Updates:");
    EXPECT_NEAR(CGRectGetMaxX(label.frame), UpdatesView::kLabelWidth, 0.5);
    EXPECT_EQ(info("text", kAutoCheck).frame.origin.x, UpdatesView::kLabelWidth + 12);
    const ElementInfo help = info("text", "Download updates in background");
    EXPECT_EQ(help.font, Font::footnote());
    EXPECT_EQ(help.foreground, Color::secondary());
    const ElementInfo toggle = info("toggle", kAutoDownload);
    EXPECT_EQ(toggle.toggleStyle, ToggleStyle::switchStyle);
    EXPECT_EQ(toggle.scale, 0.7);
    EXPECT_EQ(writes(), 0);  // opening the tab sets nothing
}

class UpdatesViewChecksOff : public UpdatesViewTest, public ::testing::WithParamInterface<bool> {};

// With automatic checks off the second switch is disabled and shows whatever the updater
// holds for automatic downloads.
TEST_P(UpdatesViewChecksOff, SecondSwitchDisabledWithItsValue) {
    open(false, GetParam());
    EXPECT_EQ(shown("toggle", kAutoCheck).value, ElementValue(false));
    const WindowElement downloads = shown("toggle", kAutoDownload);
    EXPECT_FALSE(downloads.enabled);
    EXPECT_EQ(downloads.value, ElementValue(GetParam()));

    act(kAutoDownload, {.kind = ElementAction::Kind::toggle, .on = !GetParam()});
    EXPECT_EQ(shown("toggle", kAutoDownload).value, ElementValue(GetParam()));
    EXPECT_EQ(writes(), 0);
}

INSTANTIATE_TEST_SUITE_P(Downloads, UpdatesViewChecksOff, ::testing::Bool(),
                         [](const auto& row) { return row.param ? "on" : "off"; });

// Flipping the first switch on and off sets the updater twice (true, then false); the second
// switch follows it in being enabled and keeps its value, and automatic downloads stay.
TEST_F(UpdatesViewTest, FlippingAutomaticChecksSetsTheUpdaterEachTime) {
    open(false, true);
    act(kAutoCheck, {.kind = ElementAction::Kind::toggle, .on = true});
    EXPECT_EQ(writes(), 1);
    EXPECT_EQ(stored(SPUUpdater::kAutomaticChecksKey), PlistValue(true));
    EXPECT_TRUE(shown("toggle", kAutoDownload).enabled);

    act(kAutoCheck, {.kind = ElementAction::Kind::toggle, .on = false});
    EXPECT_EQ(writes(), 2);
    EXPECT_EQ(stored(SPUUpdater::kAutomaticChecksKey), PlistValue(false));
    EXPECT_FALSE(shown("toggle", kAutoDownload).enabled);
    EXPECT_EQ(shown("toggle", kAutoDownload).value, ElementValue(true));
    EXPECT_EQ(stored(SPUUpdater::kAutomaticDownloadsKey), PlistValue(true));
}

// The check button follows the updater: it is disabled while the check it started runs and
// enabled again when it ends, with the tab left open.
TEST_F(UpdatesViewTest, CheckButtonFollowsCanCheckForUpdates) {
    sim::session().updates().setCheckDuration(3);
    open(true, false);
    EXPECT_TRUE(shown("button", kCheckButton).enabled);

    act(kCheckButton, {.kind = ElementAction::Kind::press});
    EXPECT_EQ(sim::session().updates().checkCount(), 1);
    EXPECT_FALSE(shown("button", kCheckButton).enabled);
    act(kCheckButton, {.kind = ElementAction::Kind::press});  // a disabled button ignores it
    EXPECT_EQ(sim::session().updates().checkCount(), 1);

    rt().advance(3);
    EXPECT_TRUE(shown("button", kCheckButton).enabled);
}

// "Changelog" opens the release notes' page in the browser.
TEST_F(UpdatesViewTest, ChangelogOpensTheReleaseNotes) {
    open(true, false);
    act("Changelog", {.kind = ElementAction::Kind::press});
    const auto requests = sim::session().workspace().openURLRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].url, "https://corvane.example.invalid/changelog");
}

}  // namespace
}  // namespace corvane
