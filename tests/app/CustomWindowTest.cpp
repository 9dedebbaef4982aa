#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CustomWindow.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/sim/Session.h"
#include "support/CaseTable.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;
using testing::PrintTo;

/// A first responder that records the edit actions it is asked for.
class RecordingResponder : public NSResponder {
  public:
    bool tryToPerform(std::string_view action) override {
        actions.emplace_back(action);
        return true;
    }
    std::vector<std::string> actions;
};

struct KeyCase {
    std::string name;
    char key;
    NSEventModifierFlags flags;
    bool handled;
    int beeps;
    std::optional<std::string> action;  // asked of the first responder
};

const KeyCase kKeyCases[] = {
    {"commandQ", 'q', NSEventModifierFlagCommand, true, 1, std::nullopt},
    {"commandShiftQ", 'q', NSEventModifierFlagCommand | NSEventModifierFlagShift, true, 1,
     std::nullopt},
    {"commandV", 'v', NSEventModifierFlagCommand, true, 0, "paste:"},
    {"commandShiftV", 'v', NSEventModifierFlagCommand | NSEventModifierFlagShift, true, 0,
     "paste:"},
    {"commandC", 'c', NSEventModifierFlagCommand, true, 0, "copy:"},
    {"commandX", 'x', NSEventModifierFlagCommand, true, 0, "cut:"},
    {"commandA", 'a', NSEventModifierFlagCommand, true, 0, "selectAll:"},
    {"commandZ", 'z', NSEventModifierFlagCommand, false, 0, std::nullopt},
    {"controlV", 'v', NSEventModifierFlagControl, false, 0, std::nullopt},
    {"plainQ", 'q', 0, false, 0, std::nullopt},
};

class CustomWindowKeyTest : public ::testing::TestWithParam<KeyCase> {};

// Command-Q beeps, the edit shortcuts reach the first responder (Shift ignored), and other
// keys go to the base class, which handles nothing here.
TEST_P(CustomWindowKeyTest, KeyEquivalents) {
    const KeyCase& c = GetParam();
    auto window = std::make_shared<CustomWindow>(CGRectMake(0, 0, 200, 100), 3,
                                                 NSBackingStoreType::buffered, false);
    RecordingResponder responder;
    window->makeFirstResponder(&responder);
    const int beeps = sim::session().desktop().beepCount();

    EXPECT_EQ(window->performKeyEquivalent(NSEvent::keyDown(c.key, c.flags)), c.handled);

    EXPECT_EQ(sim::session().desktop().beepCount() - beeps, c.beeps);
    EXPECT_EQ(responder.actions,
              c.action ? std::vector<std::string>{*c.action} : std::vector<std::string>{});
    EXPECT_TRUE(NSApplication::shared().isRunning());
}

INSTANTIATE_TEST_SUITE_P(Keys, CustomWindowKeyTest, ::testing::ValuesIn(kKeyCases),
                         testing::CaseName());

// A key event without characters goes to the base class.
TEST(CustomWindowTest, EventWithoutCharactersGoesToTheBase) {
    auto window = std::make_shared<CustomWindow>(CGRect{}, 3, NSBackingStoreType::buffered, false);
    NSEvent event;
    event.type = NSEventType::keyDown;
    event.modifierFlags = NSEventModifierFlagCommand;
    EXPECT_FALSE(window->performKeyEquivalent(event));
}

// Command-V is handled even when no responder of the window can paste.
TEST(CustomWindowTest, PasteWithoutAResponderIsHandled) {
    auto window = std::make_shared<CustomWindow>(CGRect{}, 3, NSBackingStoreType::buffered, false);
    EXPECT_TRUE(window->performKeyEquivalent(NSEvent::keyDown('v', NSEventModifierFlagCommand)));
}

// In a registry window, Command-Z reaches the base class, which triggers the content's
// button with that shortcut; Command-V never reaches a button, and Command-Q leaves the
// application running.
TEST(CustomWindowTest, RegistryWindowSendsOtherKeysToTheBase) {
    int undos = 0;
    int pastes = 0;
    View view = VStack(
        {Button("Undo", [&] { ++undos; }).keyboardShortcut({'z', NSEventModifierFlagCommand}),
         Button("Paste", [&] { ++pastes; }).keyboardShortcut({'v', NSEventModifierFlagCommand})});
    WindowManager::shared().openWindow("about", "", view, NSNormalWindowLevel, 3);
    auto window = WindowManager::shared().window("about");

    window->sendEvent(NSEvent::keyDown('z', NSEventModifierFlagCommand));
    window->sendEvent(NSEvent::keyDown('v', NSEventModifierFlagCommand));
    window->sendEvent(NSEvent::keyDown('q', NSEventModifierFlagCommand));

    EXPECT_EQ(undos, 1);
    EXPECT_EQ(pastes, 0);
    EXPECT_TRUE(NSApplication::shared().isRunning());
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace corvane
