#include <gtest/gtest.h>

#include <algorithm>

#include "app/HUDManager.h"
#include "app/HUDView.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSScreen.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/sim/Session.h"
#include "support/CaseTable.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;
using testing::PrintTo;

class HUDTest : public ::testing::Test {
  protected:
    HUDManager& hud() { return HUDManager::shared(); }
    /// Runs the virtual clock up to `seconds` after `start`.
    void at(double start, double seconds) { rt().runUntil(start + seconds); }
};

// A message is fully visible 0.25 s after the call, begins to fade at its duration and is
// ordered out about 0.4 s later, when the manager forgets it.
TEST_F(HUDTest, FadesInStaysAndFadesOutOnTheVirtualClock) {
    const double start = rt().mediaTime();
    hud().show("Corvane started", 2.0, 300);
    auto window = hud().window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->alphaValue(), 0.0);

    at(start, 0.1);
    EXPECT_GT(window->alphaValue(), 0.0);
    EXPECT_LT(window->alphaValue(), 1.0);
    at(start, 0.25);
    EXPECT_EQ(window->alphaValue(), 1.0);
    at(start, 2.0);
    EXPECT_EQ(window->alphaValue(), 1.0);
    at(start, 2.2);
    EXPECT_GT(window->alphaValue(), 0.0);
    EXPECT_LT(window->alphaValue(), 1.0);
    at(start, 2.39);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(hud().window(), window);
    at(start, 2.41);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->alphaValue(), 0.0);
    EXPECT_EQ(hud().window(), nullptr);
}

// Two messages at once each keep their own schedule; the first's completion leaves the
// manager's reference to the second, and the newer window is in front.
TEST_F(HUDTest, TwoMessagesKeepTheirOwnSchedules) {
    const double start = rt().mediaTime();
    hud().show("Permission granted", 2.0, 300);
    auto first = hud().window();
    at(start, 1.0);
    hud().show("Diagnostics copied", 2.0, 300);
    auto second = hud().window();
    ASSERT_NE(first, second);
    EXPECT_EQ(NSApplication::shared().windows().front(), second);
    EXPECT_TRUE(first->isVisible());

    at(start, 2.41);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->alphaValue(), 1.0);
    EXPECT_EQ(hud().window(), second);

    at(start, 3.41);
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(hud().window(), nullptr);
}

// The window is exactly size x size whatever the message, borderless, floating, clear and
// deaf to the mouse, centred on the main screen's visible frame, with the panel centred in it.
TEST_F(HUDTest, WindowIsExactlyTheSizeAndCentred) {
    for (const auto& [message, size] : {std::pair<std::string, double>{"OK", 300},
                                        {"A much longer message than the others", 300},
                                        {"Corvane started", 220}}) {
        hud().show(message, 2.0, size);
        auto window = hud().window();
        EXPECT_EQ(window->frame().width, size) << message;
        EXPECT_EQ(window->frame().height, size) << message;
        EXPECT_EQ(window->contentSize(), (CGSize{size, size})) << message;
        EXPECT_EQ(window->styleMask(), NSWindowStyleMaskBorderless);
        EXPECT_EQ(window->level(), NSFloatingWindowLevel);
        EXPECT_TRUE(window->ignoresMouseEvents());
        EXPECT_FALSE(window->isOpaque());
        EXPECT_EQ(window->backgroundColor(), Color::clear());
        EXPECT_FALSE(window->isKeyWindow());
        const CGRect visible = NSScreen::mainScreen()->visibleFrame;
        EXPECT_DOUBLE_EQ(CGRectGetMidX(window->frame()), CGRectGetMidX(visible));
        EXPECT_DOUBLE_EQ(CGRectGetMidY(window->frame()), CGRectGetMidY(visible));

        auto panel = findElement(hostingView(*window).elementsForTesting(), "stack", "");
        ASSERT_TRUE(panel);
        const CGRect frame = panel->info().frame;
        EXPECT_NEAR(CGRectGetMidX(frame), size / 2, 1) << message;
        EXPECT_NEAR(CGRectGetMidY(frame), size / 2, 1) << message;
        EXPECT_LT(frame.width, size);
    }
}

// Without a main screen the HUD stays at the origin.
TEST_F(HUDTest, WithoutAMainScreenTheHUDStaysAtTheOrigin) {
    sim::session().desktop().setMainScreen(std::nullopt);
    hud().show("Corvane started", 2.0, 300);
    EXPECT_EQ(hud().window()->frame().origin, (CGPoint{0, 0}));
}

// A window that is gone before its fade-out time makes the fade-out do nothing.
TEST_F(HUDTest, FadeOutOfAWindowThatIsGoneDoesNothing) {
    const double start = rt().mediaTime();
    hud().show("Corvane started", 2.0, 300);
    std::weak_ptr<NSWindow> weak = hud().window();
    hud().window()->orderOut();
    // The manager still holds it; a second message replaces the reference.
    hud().show("Permission granted", 0.5, 300);
    EXPECT_TRUE(weak.expired());
    at(start, 3);
    EXPECT_EQ(hud().window(), nullptr);
}

// The manager logs its creation once.
TEST_F(HUDTest, LogsItsCreation) {
    hud();
    const auto messages = testing::loggedMessages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Module initialized: HUDManager"), 1);
}

struct PanelCase {
    std::string name;
    OperatingSystemVersion version;
    bool material;  // ultra-thin material, else black at 0.2
    Color textColor;
};

class HUDViewTest : public ::testing::TestWithParam<PanelCase> {};

// The panel: the icon in 64 x 64 above the message in the 22-point medium system font, 12
// apart, padded by 30, on the material (black at 0.2 before macOS 12), with corners of 16.
TEST_P(HUDViewTest, PanelByVersion) {
    ProcessInfo::processInfo().setOperatingSystemVersion(GetParam().version);
    View body = HUDView{"Corvane started", std::nullopt}.body();

    const auto* clip = body.modifier<ClipShapeModifier>();
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->shape, RoundedRectangle(16, Shape::CornerStyle::continuous));
    const auto* background = body.modifier<BackgroundModifier>();
    ASSERT_NE(background, nullptr);
    if (GetParam().material) {
        EXPECT_EQ(background->style, ShapeStyle(Material::ultraThin));
        EXPECT_EQ(background->ignoresSafeAreaEdges, Edges::all());
    } else {
        EXPECT_EQ(background->style, ShapeStyle(Color::black().opacity(0.2)));
    }
    const auto* padding = body.modifier<PaddingModifier>();
    ASSERT_NE(padding, nullptr);
    EXPECT_EQ(padding->insets, EdgeInsets::of(Edges::all(), 30));

    NSHostingView host(HUDView{"Corvane started", std::nullopt});
    const auto elements = host.elementsForTesting();
    auto icon = findElement(elements, "image", "Orlinde");
    auto text = findElement(elements, "text", "Corvane started");
    ASSERT_TRUE(icon && text);
    EXPECT_EQ(icon->info().frame.width, 64);
    EXPECT_EQ(icon->info().frame.height, 64);
    EXPECT_EQ(text->info().font, Font::system(22, Font::Weight::medium));
    EXPECT_EQ(text->info().foreground, GetParam().textColor);
    EXPECT_DOUBLE_EQ(text->info().frame.origin.y, icon->info().frame.origin.y + 64 + 12);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, HUDViewTest,
    ::testing::Values(PanelCase{"macOS11_5", {11, 5, 0}, false, Color::gray()},
                      PanelCase{"macOS13_0", {13, 0, 0}, true, Color::secondary()},
                      PanelCase{"macOS15_1", {15, 1, 0}, true, Color::secondary()}),
    testing::CaseName());

// A system symbol replaces the icon when one is named.
TEST(HUDViewSymbolTest, SystemImageReplacesTheIcon) {
    NSHostingView host(HUDView{"Done", std::string("checkmark.circle.fill")});
    const auto elements = host.elementsForTesting();
    EXPECT_FALSE(findElement(elements, "image", "Orlinde"));
    auto symbol = findElement(elements, "image", "checkmark.circle.fill");
    ASSERT_TRUE(symbol);
    EXPECT_EQ(symbol->info().font, Font::system(30));
}

}  // namespace
}  // namespace corvane
