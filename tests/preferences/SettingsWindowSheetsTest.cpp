#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "PreferencesTestSupport.h"
#include "app/StatusBarManager.h"
#include "app/UpdaterManager.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSWindow.h"
#include "platform/appkit/WindowElements.h"
#include "platform/sim/Session.h"
#include "platform/sim/SimStatusBar.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;
using testing::PrintTo;

/// One input a user gives the settings window, as the session driver gives it.
struct Input {
    ElementAction::Kind kind;
    const char* label;
    const char* row = "";
    double value = 0;
    bool on = false;
};

/// The settings window as the status menu's "Settings..." opens it, with two exceptions so
/// that the Exceptions tab has a row and its gear beside the one whose sheet is open, a
/// running application that the picker offers, and a global step that "Reset to defaults"
/// would change.
class SettingsWindow : public testing::SettingsFixture {
  protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        auto app = store().appSettings();
        app.exceptionalApplication = {
            std::make_shared<ExceptionalApplication>("com.example.editor"),
            std::make_shared<ExceptionalApplication>("com.example.mail")};
        store().setAppSettings(app);
        auto advanced = store().scrollAdvanced();
        advanced.step = 120;
        store().setScrollAdvanced(advanced);
        sim::session().workspace().launch({.processIdentifier = 501,
                                           .bundleIdentifier = "com.example.browser",
                                           .localizedName = "Browser",
                                           .activationPolicy = ActivationPolicy::regular});
        UpdaterManager::shared();
        StatusBarManager::shared();
        ASSERT_EQ(sim::session().statusBar().chooseMenuItem("preferences"),
                  sim::SimStatusBar::Choice::chosen);
        rt().runPending();
        window_ = WindowManager::shared().window("preferences");
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        WindowManager::shared().closeAll();
        rt().runPending();
    }
    void give(const Input& input) {
        ASSERT_EQ(performElementAction(
                      *window_, input.label,
                      {.kind = input.kind, .on = input.on, .value = input.value, .row = input.row})
                      .outcome,
                  ElementActionResult::Outcome::done)
            << input.label;
        rt().runPending();
    }
    void act(const std::string& label, ElementAction::Kind kind) { give({kind, label.c_str()}); }
    void press(const char* key) {
        pressKey(*window_, *parseKeyPress(key));
        rt().runPending();
    }
    /// How many sheets the window shows (each has its own "Done").
    int sheets() const {
        int count = 0;
        for (const auto& element : inspectWindow(*window_).elements)
            count += element.presentation == "sheet" && element.label == "Done";
        return count;
    }

    std::shared_ptr<NSWindow> window_;
};

struct SheetCase {
    const char* name;
    const char* tab;  ///< the tab whose "Advanced…" (a button, or an exception's gear) opens it
    bool byReturn;    ///< closed by the Return key, else by "Done"
};

class SettingsWindowSheetTest : public SettingsWindow,
                                public ::testing::WithParamInterface<SheetCase> {};

// "Done" is the sheet's default button: Return closes the Scrolling tab's Advanced sheet and
// an exception's sheet as "Done" does, and the window stays on its tab.
TEST_P(SettingsWindowSheetTest, DoneAndReturnCloseTheSheet) {
    act(GetParam().tab, ElementAction::Kind::select);
    act("Advanced\u2026", ElementAction::Kind::press);
    ASSERT_EQ(sheets(), 1);

    if (GetParam().byReturn)
        press("return");
    else
        act("Done", ElementAction::Kind::press);
    EXPECT_EQ(sheets(), 0);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->title(), GetParam().tab);
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsWindowSheetTest,
                         ::testing::Values(SheetCase{"scrollingReturn", "Scrolling", true},
                                           SheetCase{"scrollingDone", "Scrolling", false},
                                           SheetCase{"exceptionReturn", "Exceptions", true},
                                           SheetCase{"exceptionDone", "Exceptions", false}),
                         testing::CaseName());

// A sheet blocks its window's controls, not the window's own Command keys: Command-Q pressed
// with the sheet up beeps as it does in the window, and the sheet stays.
TEST_F(SettingsWindow, CommandQUnderASheetBeeps) {
    act("Scrolling", ElementAction::Kind::select);
    act("Advanced\u2026", ElementAction::Kind::press);
    const int beeps = sim::session().desktop().beepCount();
    press("cmd+q");
    EXPECT_EQ(sim::session().desktop().beepCount() - beeps, 1);
    EXPECT_EQ(sheets(), 1);
    EXPECT_TRUE(window_->isVisible());
}

/// What the window and the settings show: the parts that input behind a sheet could change.
struct Seen {
    std::string title;
    double step = 0;
    /// The exceptions' bundle identifiers in list order, " (off)" after one not smoothed.
    std::string exceptions;
    std::string selectedRow;  ///< the window's own list's selected row; "" for none
    int sheets = 0;

    bool operator==(const Seen&) const = default;
    friend std::ostream& operator<<(std::ostream& os, const Seen& s) {
        return os << "{" << s.title << ", step " << s.step << ", [" << s.exceptions
                  << "], selected \"" << s.selectedRow << "\", sheets " << s.sheets << "}";
    }
};

struct BehindSheetCase {
    const char* name;
    const char* tab;            ///< its first "Advanced…" opens the sheet
    std::vector<Input> before;  ///< given before the sheet opens
    std::vector<Input> behind;  ///< given to the window behind the open sheet
    Seen then;                  ///< what `behind` does once the sheet is closed
};

class InputBehindSheetTest : public SettingsWindow,
                             public ::testing::WithParamInterface<BehindSheetCase> {
  protected:
    Seen seen() {
        Seen s{window_->title(), store().scrollAdvanced().step, {}, {}, sheets()};
        for (const auto& exception : store().appSettings().exceptionalApplication) {
            s.exceptions += (s.exceptions.empty() ? "" : " ") + exception->bundleId() +
                            (exception->scrollBase().smooth ? "" : " (off)");
        }
        for (const auto& element : inspectWindow(*window_).elements) {
            const auto* row = std::get_if<std::string>(&element.value);
            if (element.kind == "list" && element.presentation.empty() && row != nullptr)
                s.selectedRow = *row;
        }
        return s;
    }
};

// While a sheet is up, the window behind it ignores its tabs, buttons, sliders, rows, switches
// and gears as a disabled control ignores a click: nothing changes, nothing is saved and no
// second sheet waits behind the first, so Return closes the one sheet. Once it is closed, the
// same input works.
TEST_P(InputBehindSheetTest, IsIgnoredUntilTheSheetCloses) {
    act(GetParam().tab, ElementAction::Kind::select);
    for (const Input& input : GetParam().before)
        give(input);
    act("Advanced\u2026", ElementAction::Kind::press);
    const Seen shown = seen();
    ASSERT_EQ(shown.sheets, 1);
    const int saved = saves();

    for (const Input& input : GetParam().behind)
        give(input);
    EXPECT_EQ(seen(), shown);
    EXPECT_EQ(saves(), saved);

    press("return");
    Seen closed = shown;
    closed.sheets = 0;
    EXPECT_EQ(seen(), closed);

    for (const Input& input : GetParam().behind)
        give(input);
    EXPECT_EQ(seen(), GetParam().then);
}

constexpr auto kPress = ElementAction::Kind::press;
constexpr auto kSelect = ElementAction::Kind::select;
const char* const kBoth = "com.example.editor com.example.mail";

INSTANTIATE_TEST_SUITE_P(
    Table, InputBehindSheetTest,
    ::testing::Values(
        BehindSheetCase{"resetButton",
                        "Scrolling",
                        {},
                        {{kPress, "Reset to defaults"}},
                        {"Scrolling", 90, kBoth, "", 0}},
        BehindSheetCase{
            "tab", "Scrolling", {}, {{kSelect, "General"}}, {"General", 120, kBoth, "", 0}},
        BehindSheetCase{"slider",
                        "Scrolling",
                        {},
                        {{ElementAction::Kind::slide, "Step size:", "", 50}},
                        {"Scrolling", 50, kBoth, "", 0}},
        // The other row is selected first, so "minus" is enabled behind the sheet.
        BehindSheetCase{"rowAndMinus",
                        "Exceptions",
                        {{kSelect, "com.example.mail"}},
                        {{kSelect, "com.example.editor"}, {kPress, "minus"}},
                        {"Exceptions", 120, "com.example.mail", "", 0}},
        BehindSheetCase{"otherRowsGear",
                        "Exceptions",
                        {},
                        {{kPress, "Advanced\u2026", "com.example.mail"}},
                        {"Exceptions", 120, kBoth, "", 1}},
        // A popover of the window, opened before the sheet, is behind it too.
        BehindSheetCase{
            "pickerPopover",
            "Exceptions",
            {{kPress, "plus"}},
            {{kSelect, "Browser"}},
            {"Exceptions", 120, "com.example.browser com.example.editor com.example.mail", "", 0}},
        BehindSheetCase{"otherRowsSwitch",
                        "Exceptions",
                        {},
                        {{ElementAction::Kind::toggle, "", "com.example.mail", 0, false}},
                        {"Exceptions", 120, "com.example.editor com.example.mail (off)", "", 0}}),
    testing::CaseName());

}  // namespace
}  // namespace corvane
