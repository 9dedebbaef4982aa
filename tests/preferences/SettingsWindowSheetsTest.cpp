#include <gtest/gtest.h>

#include <memory>
#include <string>

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

struct SheetCase {
    const char* name;
    const char* tab;  ///< the tab whose "Advanced…" (a button, or an exception's gear) opens it
    bool byReturn;    ///< closed by the Return key, else by "Done"
};

/// The settings window as the status menu's "Settings..." opens it, with one exception so
/// that the Exceptions tab has a row and its gear.
class SettingsWindowSheetTest : public testing::SettingsFixture,
                                public ::testing::WithParamInterface<SheetCase> {
  protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        auto app = store().appSettings();
        app.exceptionalApplication = {
            std::make_shared<ExceptionalApplication>("com.example.editor")};
        store().setAppSettings(app);
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
    void act(const std::string& label, ElementAction::Kind kind) {
        ASSERT_EQ(performElementAction(*window_, label, {.kind = kind}).outcome,
                  ElementActionResult::Outcome::done)
            << label;
        rt().runPending();
    }
    bool sheetShown() const {
        for (const auto& element : inspectWindow(*window_).elements) {
            if (element.presentation == "sheet")
                return true;
        }
        return false;
    }

    std::shared_ptr<NSWindow> window_;
};

// "Done" is the sheet's default button: Return closes the Scrolling tab's Advanced sheet and
// an exception's sheet as "Done" does, and the window stays on its tab.
TEST_P(SettingsWindowSheetTest, DoneAndReturnCloseTheSheet) {
    act(GetParam().tab, ElementAction::Kind::select);
    act("Advanced\u2026", ElementAction::Kind::press);
    ASSERT_TRUE(sheetShown());

    if (GetParam().byReturn) {
        pressKey(*window_, *parseKeyPress("return"));
        rt().runPending();
    } else {
        act("Done", ElementAction::Kind::press);
    }
    EXPECT_FALSE(sheetShown());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->title(), GetParam().tab);
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsWindowSheetTest,
                         ::testing::Values(SheetCase{"scrollingReturn", "Scrolling", true},
                                           SheetCase{"scrollingDone", "Scrolling", false},
                                           SheetCase{"exceptionReturn", "Exceptions", true},
                                           SheetCase{"exceptionDone", "Exceptions", false}),
                         testing::CaseName());

}  // namespace
}  // namespace corvane
