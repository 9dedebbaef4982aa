#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "PreferencesTestSupport.h"
#include "app/HUDManager.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSPasteboard.h"
#include "platform/appkit/NSWindow.h"
#include "platform/appkit/WindowElements.h"
#include "preferences/AdvancedView.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;
using testing::PrintTo;

class AdvancedViewTest : public testing::SettingsFixture {
  public:
    /// Shows the tab in a window, as the settings window will.
    NSHostingView& show() {
        const HostingWindow shown = showInWindow(AdvancedView{});
        window_ = shown.window;
        host_ = shown.host;
        return *host_;
    }
    void openSheet() { click(element(*host_, "button", "Advanced\u2026")); }
    bool resetEnabled() { return element(*host_, "button", "Reset to defaults").info().enabled; }
    bool sheetShown() {
        return findElement(host_->elementsForTesting(), "button", "Done").has_value();
    }

    std::shared_ptr<NSWindow> window_;
    std::shared_ptr<NSHostingView> host_;
};

// A fresh installation: the reset is disabled, and the tab shows only the basic sliders.
TEST_F(AdvancedViewTest, DefaultsDisableTheReset) {
    show();
    EXPECT_FALSE(resetEnabled());
    EXPECT_TRUE(findElement(host_->elementsForTesting(), "slider", "Step size:"));
    EXPECT_FALSE(findElement(host_->elementsForTesting(), "slider", "Acceleration limit:"));
    EXPECT_FALSE(sheetShown());
}

struct ChangeCase {
    std::string name;
    std::function<void(AdvancedViewTest&, NSHostingView&)> change;
};

class ResetRuleTest : public AdvancedViewTest, public ::testing::WithParamInterface<ChangeCase> {};

// Any change of the six fields enables the reset, on the tab or in the sheet, the blocking
// keys (reordered or duplicated in an edited document) included; the reset then restores
// the default value with one save and disables itself again.
TEST_P(ResetRuleTest, AnyChangeEnablesTheReset) {
    NSHostingView& host = show();
    GetParam().change(*this, host);
    rt().runPending();
    EXPECT_TRUE(resetEnabled());

    // The tab takes no clicks while the sheet is up over it.
    if (sheetShown())
        click(element(host, "button", "Done"));
    const int saves = this->saves();
    click(element(host, "button", "Reset to defaults"));
    EXPECT_EQ(store().scrollAdvanced(), ScrollAdvanced{});
    EXPECT_EQ(this->saves(), saves + 1);
    EXPECT_FALSE(resetEnabled());
}

void slide(NSHostingView& host, const std::string& title, double value) {
    auto slider = element(host, "slider", title);
    slider.dragSlider(value);
    slider.release();
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ResetRuleTest,
    ::testing::Values(
        ChangeCase{"stepOnTheTab",
                   [](AdvancedViewTest&, NSHostingView& h) { slide(h, "Step size:", 120); }},
        ChangeCase{"smoothnessOnTheTab",
                   [](AdvancedViewTest&, NSHostingView& h) { slide(h, "Smoothness:", 0); }},
        ChangeCase{"limitInTheSheet",
                   [](AdvancedViewTest& test, NSHostingView& h) {
                       test.openSheet();
                       slide(h, "Acceleration limit:", 3);
                   }},
        ChangeCase{"blockKeyInTheSheet",
                   [](AdvancedViewTest& test, NSHostingView& h) {
                       test.openSheet();
                       for (const auto& e : h.elementsForTesting()) {
                           if (e.info().background && e.info().presentation == "sheet") {
                               click(e);
                               break;
                           }
                       }
                       click(element(h, "toggle", "Option"));
                   }},
        ChangeCase{"reorderedBlock",
                   [](AdvancedViewTest& test, NSHostingView&) {
                       test.setBlock({59, 55, 58});
                   }},
        ChangeCase{"duplicatedBlock",
                   [](AdvancedViewTest& test, NSHostingView&) {
                       test.setBlock({55, 55, 58, 59});
                   }},
        ChangeCase{"stepOffByAMillionth",
                   [](AdvancedViewTest& test, NSHostingView&) {
                       ScrollAdvanced a;
                       a.step = 90.000001;
                       test.store().setScrollAdvanced(a);
                   }}),
    testing::CaseName());

// A reset with only the blocking keys changed restores all three keys and writes the five
// numbers unchanged; the exceptions' own values and `scrollBase` stay as they are.
TEST_F(AdvancedViewTest, ResetLeavesExceptionsAndBaseAlone) {
    CorvaneSettings s = store().settings();
    s.scrollBase.reverse = true;
    ScrollAdvanced own;
    own.step = 40;
    own.block = {54};
    s.appSettings.exceptionalApplication = {
        std::make_shared<ExceptionalApplication>("com.example.app", ScrollBase{}, own, false)};
    s.scrollAdvanced.block = {58};
    store().setSettings(s);
    show();

    click(element(*host_, "button", "Reset to defaults"));
    const CorvaneSettings& after = store().settings();
    EXPECT_EQ(after.scrollAdvanced, ScrollAdvanced{});
    EXPECT_TRUE(after.scrollBase.reverse);
    ASSERT_EQ(after.appSettings.exceptionalApplication.size(), 1u);
    EXPECT_EQ(after.appSettings.exceptionalApplication[0]->scrollAdvanced(), own);
}

// "Copy Diagnostics" puts the report on the pasteboard and leaves the sheet open; "Done"
// closes it, and so does Return (the default action) once opened again.
TEST_F(AdvancedViewTest, SheetButtons) {
    show();
    openSheet();
    ASSERT_TRUE(sheetShown());
    EXPECT_EQ(element(*host_, "button", "Done").info().presentation, "sheet");
    EXPECT_TRUE(element(*host_, "button", "Done").info().isDefaultAction);

    click(element(*host_, "button", "Copy Diagnostics"));
    const auto copied = NSPasteboard::generalPasteboard().stringForType(NSPasteboardTypeString);
    ASSERT_TRUE(copied);
    EXPECT_TRUE(copied->starts_with("Corvane 1.0.0 (1) \u2014 "));
    EXPECT_EQ(HUDManager::shared().shownMessages().back().text, "Diagnostics copied");
    EXPECT_TRUE(sheetShown());

    click(element(*host_, "button", "Done"));
    EXPECT_FALSE(sheetShown());

    openSheet();
    window_->sendEvent(NSEvent::returnKeyDown());
    rt().runPending();
    EXPECT_FALSE(sheetShown());
}

// A value changed in the sheet shows on the tab behind it at once.
TEST_F(AdvancedViewTest, SheetAndTabShareTheValue) {
    show();
    openSheet();
    store().setScrollAdvanced([] {
        ScrollAdvanced a;
        a.step = 130;
        return a;
    }());
    rt().runPending();
    EXPECT_EQ(element(*host_, "slider", "Step size:").info().knobValue, 130);
    EXPECT_TRUE(element(*host_, "button", "Reset to defaults").info().enabled);
}

// The tab is played as a user plays it, by the texts the window shows: slide "Step size:",
// open the sheet, open the blocking keys beside "Block keys:" and switch Option off, copy
// the diagnostics, close the sheet and reset.
TEST_F(AdvancedViewTest, PlayableByItsTexts) {
    show();
    auto act = [this](const std::string& label, ElementAction action) {
        const auto result = performElementAction(*window_, label, action);
        EXPECT_EQ(result.outcome, ElementActionResult::Outcome::done) << label;
        rt().runPending();
    };
    using Kind = ElementAction::Kind;
    act("Step size:", {.kind = Kind::slide, .value = 120});
    EXPECT_EQ(store().scrollAdvanced().step, 120);
    act("Advanced\u2026", {.kind = Kind::press});
    act("Acceleration limit:", {.kind = Kind::slide, .value = 3});
    act("Block keys:", {.kind = Kind::press});
    act("Option", {.kind = Kind::toggle, .on = false});
    EXPECT_EQ(store().scrollAdvanced().block, (std::vector<std::int64_t>{55, 59}));
    act("Copy Diagnostics", {.kind = Kind::press});
    EXPECT_TRUE(NSPasteboard::generalPasteboard().stringForType(NSPasteboardTypeString));
    act("Done", {.kind = Kind::press});
    EXPECT_FALSE(sheetShown());

    const auto contents = inspectWindow(*window_);
    bool resetEnabled = false;
    for (const auto& e : contents.elements) {
        if (e.label == "Reset to defaults")
            resetEnabled = e.enabled;
    }
    EXPECT_TRUE(resetEnabled);
    act("Reset to defaults", {.kind = Kind::press});
    EXPECT_EQ(store().scrollAdvanced(), ScrollAdvanced{});
}

}  // namespace
}  // namespace corvane
