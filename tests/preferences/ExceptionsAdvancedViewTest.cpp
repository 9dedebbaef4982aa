#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PreferencesTestSupport.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSWindow.h"
#include "platform/appkit/WindowElements.h"
#include "preferences/ExceptionsView.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;

/// The Exceptions tab with two exceptions, "com.example.editor" first; the sheet is the first
/// row's.
class ExceptionsAdvancedViewTest : public testing::SettingsFixture {
  public:
    void SetUp() override {
        SettingsFixture::SetUp();
        CorvaneSettings settings = store().settings();
        editor_ = std::make_shared<ExceptionalApplication>("com.example.editor");
        mail_ = std::make_shared<ExceptionalApplication>("com.example.mail");
        settings.appSettings.exceptionalApplication = {editor_, mail_};
        store().setSettings(settings);
        const HostingWindow shown = showInWindow(ExceptionsView{store(), {}, false});
        window_ = shown.window;
        host_ = shown.host;
    }
    void openSheet() { click(element(*host_, "image", "gearshape.fill")); }
    bool sheetShown() {
        return findElement(host_->elementsForTesting(), "button", "Done").has_value();
    }
    bool resetEnabled() { return element(*host_, "button", "Reset to defaults").info().enabled; }
    bool slidersEnabled() { return element(*host_, "slider", "Step size:").info().enabled; }
    void slideStep(double value) {
        const auto slider = element(*host_, "slider", "Step size:");
        slider.dragSlider(value);
        slider.release();
        rt().runPending();
    }

    ExceptionalApplicationRef editor_, mail_;
    std::shared_ptr<NSWindow> window_;
    std::shared_ptr<NSHostingView> host_;
};

// A new exception inherits the default values: the sliders and the reset are disabled.
TEST_F(ExceptionsAdvancedViewTest, NewExceptionDisablesSlidersAndReset) {
    openSheet();
    ASSERT_TRUE(sheetShown());
    EXPECT_EQ(element(*host_, "text", "com.example.editor").info().presentation, "");
    EXPECT_TRUE(element(*host_, "toggle", "Use global settings").info().isOn);
    EXPECT_FALSE(slidersEnabled());
    EXPECT_FALSE(resetEnabled());
}

// Own values: the switch off enables the sliders, a move enables the reset, which restores
// the defaults and disables itself; only this exception changes.
TEST_F(ExceptionsAdvancedViewTest, OwnValuesAndTheirReset) {
    openSheet();
    click(element(*host_, "toggle", "Use global settings"));
    EXPECT_FALSE(editor_->inherit());
    EXPECT_TRUE(slidersEnabled());
    EXPECT_FALSE(resetEnabled());

    slideStep(40);
    EXPECT_EQ(editor_->scrollAdvanced().step, 40);
    EXPECT_TRUE(resetEnabled());
    EXPECT_EQ(store().scrollAdvanced(), ScrollAdvanced{});
    EXPECT_EQ(mail_->scrollAdvanced(), ScrollAdvanced{});

    const int saves = this->saves();
    click(element(*host_, "button", "Reset to defaults"));
    EXPECT_EQ(editor_->scrollAdvanced(), ScrollAdvanced{});
    EXPECT_EQ(this->saves(), saves + 1);
    EXPECT_FALSE(resetEnabled());
    EXPECT_FALSE(editor_->inherit());
}

// Inheriting with own values that differ: the sliders stay disabled but the reset works, and
// the exception keeps inheriting.
TEST_F(ExceptionsAdvancedViewTest, ResetWorksWhileInheriting) {
    ScrollAdvanced own;
    own.block = {55};
    editor_->setScrollAdvanced(own);
    openSheet();
    EXPECT_FALSE(slidersEnabled());
    EXPECT_TRUE(resetEnabled());
    click(element(*host_, "button", "Reset to defaults"));
    EXPECT_EQ(editor_->scrollAdvanced(), ScrollAdvanced{});
    EXPECT_TRUE(editor_->inherit());
    EXPECT_FALSE(resetEnabled());
}

// Changes made to the exception in place while the sheet is open show at once, though the
// store announces nothing: the enabling of the sliders and of the reset follow.
TEST_F(ExceptionsAdvancedViewTest, FollowsChangesMadeInPlace) {
    openSheet();
    editor_->setInherit(false);
    rt().runPending();
    EXPECT_TRUE(slidersEnabled());
    EXPECT_FALSE(element(*host_, "toggle", "Use global settings").info().isOn);
    ScrollAdvanced own;
    own.step = 40;
    editor_->setScrollAdvanced(own);
    rt().runPending();
    EXPECT_TRUE(resetEnabled());
    EXPECT_EQ(element(*host_, "slider", "Step size:").info().value, 40);
}

struct CloseCase {
    const char* name;
    bool byReturn;
};
class SheetCloseTest : public ExceptionsAdvancedViewTest,
                       public ::testing::WithParamInterface<CloseCase> {};

// "Done" and Return close the sheet; what was changed stays saved.
TEST_P(SheetCloseTest, ClosesKeepingTheChanges) {
    openSheet();
    click(element(*host_, "toggle", "Use global settings"));
    if (GetParam().byReturn)
        pressKey(*window_, *parseKeyPress("return"));
    else
        click(element(*host_, "button", "Done"));
    rt().runPending();
    EXPECT_FALSE(sheetShown());
    EXPECT_FALSE(editor_->inherit());
    EXPECT_NE(store().settings().appSettings.exceptionalApplication.front()->inherit(), true);
}

INSTANTIATE_TEST_SUITE_P(Table, SheetCloseTest,
                         ::testing::Values(CloseCase{"done", false}, CloseCase{"returnKey", true}),
                         testing::CaseName());

}  // namespace
}  // namespace corvane
