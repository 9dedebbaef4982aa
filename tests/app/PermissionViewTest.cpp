#include <gtest/gtest.h>

#include "app/AccentButtonStyle.h"
#include "app/PermissionView.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/sim/Session.h"
#include "support/CaseTable.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;
using testing::PrintTo;

const char* const kExplanation = "Corvane needs Accessibility permission to smooth your scrolling.";
const char* const kInstruction =
    "Enable Corvane in Privacy & Security \u2192 Accessibility. The app will start automatically "
    "once access is granted.";
const char* const kPrivacyPane =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";

class PermissionViewTest : public ::testing::Test {
  protected:
    /// Opens the permission window as the permission flow does.
    std::shared_ptr<NSWindow> open() {
        WindowManager::shared().openWindow("permission", "Corvane", PermissionView{},
                                           NSNormalWindowLevel, 3);
        return WindowManager::shared().window("permission");
    }
};

// At its 500-point width the window shows the icon at the top left, the texts as they stand
// to its right, and the button at the right edge, all inside a 24-point margin.
TEST_F(PermissionViewTest, LayoutAtItsWidth) {
    auto window = open();
    EXPECT_EQ(window->title(), "Corvane");
    EXPECT_EQ(window->contentSize().width, PermissionView::kWidth);

    const ElementInfo icon = element(*window, "image", "OrlindeNew").info();
    EXPECT_EQ(icon.frame, CGRectMake(24, 24, 96, 96));
    const ElementInfo title = element(*window, "text", "Accessibility Access").info();
    EXPECT_EQ(title.font, Font::title());
    EXPECT_EQ(title.frame.origin.x, 24 + 96 + 32);
    EXPECT_EQ(title.frame.origin.y, 24);
    const ElementInfo explanation = element(*window, "text", kExplanation).info();
    EXPECT_EQ(explanation.frame.origin.x, 152);
    EXPECT_EQ(explanation.frame.origin.y, CGRectGetMaxY(title.frame) + 8);
    const ElementInfo instruction = element(*window, "text", kInstruction).info();
    EXPECT_EQ(instruction.foreground, Color::secondary());
    EXPECT_EQ(instruction.frame.origin.y, CGRectGetMaxY(explanation.frame) + 24);
    EXPECT_LE(CGRectGetMaxX(instruction.frame), 500 - 24);
    const ElementInfo button = element(*window, "button", "Open System Settings").info();
    EXPECT_NEAR(CGRectGetMaxX(button.frame), 500 - 24, 0.5);
    EXPECT_EQ(button.frame.origin.y, CGRectGetMaxY(instruction.frame) + 24);
    // The height follows the content.
    EXPECT_NEAR(window->contentSize().height, CGRectGetMaxY(button.frame) + 24, 0.5);
}

// A long localized explanation wraps within the width, and the window grows in height.
TEST_F(PermissionViewTest, LongExplanationWrapsAndTheWindowGrows) {
    const double shortHeight = NSHostingView(PermissionView{}).intrinsicContentSize().height;
    std::string longText;
    for (int i = 0; i < 12; ++i)
        longText += "Corvane braucht die Berechtigung fuer Bedienungshilfen. ";
    LocalizedStrings::main().setTable({{kExplanation, longText}});

    auto window = open();

    EXPECT_EQ(window->contentSize().width, 500);
    EXPECT_GT(window->contentSize().height, shortHeight + 40);
    const ElementInfo explanation = element(*window, "text", longText).info();
    EXPECT_LE(CGRectGetMaxX(explanation.frame), 500 - 24);
    EXPECT_GT(explanation.frame.height, 60);
}

struct TrustCase {
    std::string name;
    bool trusted;
    int promptsShown;
};

class PermissionButtonTest : public PermissionViewTest,
                             public ::testing::WithParamInterface<TrustCase> {};

// The button asks for trust with the prompt option (a prompt shows only while untrusted) and
// then opens the Accessibility pane of the system settings.
TEST_P(PermissionButtonTest, AsksForTrustWithThePromptThenOpensTheSettings) {
    sim::session().accessibility().setTrusted(GetParam().trusted);
    auto window = open();
    auto button =
        findElement(hostingView(*window).elementsForTesting(), "button", "Open System Settings");
    ASSERT_TRUE(button);

    button->click();

    EXPECT_EQ(sim::session().accessibility().promptRequests(), 1);
    EXPECT_EQ(sim::session().accessibility().promptsShown(), GetParam().promptsShown);
    const auto requests = sim::session().workspace().openURLRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].url, kPrivacyPane);
    EXPECT_TRUE(requests[0].opened);
    EXPECT_TRUE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Trust, PermissionButtonTest,
                         ::testing::Values(TrustCase{"untrusted", false, 1},
                                           TrustCase{"trusted", true, 0}),
                         testing::CaseName());

struct StyleCase {
    std::string name;
    OperatingSystemVersion version;
    bool prominent;  // else the accent style
};

class PermissionStyleTest : public PermissionViewTest,
                            public ::testing::WithParamInterface<StyleCase> {};

// The button is bordered-prominent from macOS 12 on and drawn by AccentButtonStyle before,
// which sees the button pressed while the mouse is down.
TEST_P(PermissionStyleTest, ButtonStyleByVersion) {
    ProcessInfo::processInfo().setOperatingSystemVersion(GetParam().version);
    auto window = open();
    auto button =
        findElement(hostingView(*window).elementsForTesting(), "button", "Open System Settings");
    ASSERT_TRUE(button);
    EXPECT_EQ(button->info().buttonStyle == BuiltInButtonStyle::borderedProminent,
              GetParam().prominent);
    EXPECT_EQ(button->info().customButtonStyle, !GetParam().prominent);

    button->press(true);
    rt().runPending();
    EXPECT_TRUE(button->info().pressed);
    button->press(false);
    rt().runPending();
    EXPECT_FALSE(button->info().pressed);
}

INSTANTIATE_TEST_SUITE_P(Versions, PermissionStyleTest,
                         ::testing::Values(StyleCase{"macOS11_5", {11, 5, 0}, false},
                                           StyleCase{"macOS12_0", {12, 0, 0}, true},
                                           StyleCase{"macOS15_1", {15, 1, 0}, true}),
                         testing::CaseName());

// AccentButtonStyle pads the label by 3 and 12 points, puts the accent colour behind it (at
// 0.9 while pressed), draws it white and rounds it with continuous corners of 6.
TEST(AccentButtonStyleTest, BodyFromTheLabel) {
    AccentButtonStyle style;
    for (bool pressed : {false, true}) {
        View body = style.makeBody({Text("Go"), pressed});
        const auto& mods = body.modifiers();
        ASSERT_EQ(mods.size(), 5u);
        EXPECT_EQ(std::get<PaddingModifier>(mods[0]).insets, EdgeInsets::of(Edges::vertical(), 3));
        EXPECT_EQ(std::get<PaddingModifier>(mods[1]).insets,
                  EdgeInsets::of(Edges::horizontal(), 12));
        EXPECT_EQ(std::get<BackgroundModifier>(mods[2]).style,
                  ShapeStyle(Color::accentColor().opacity(pressed ? 0.9 : 1.0)));
        EXPECT_EQ(std::get<ForegroundColorModifier>(mods[3]).color, Color::white());
        EXPECT_EQ(std::get<ClipShapeModifier>(mods[4]).shape,
                  RoundedRectangle(6, Shape::CornerStyle::continuous));
    }
}

}  // namespace
}  // namespace corvane
