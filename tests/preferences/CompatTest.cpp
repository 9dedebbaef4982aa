#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/appkit/NSHostingView.h"
#include "platform/combine/Published.h"
#include "platform/foundation/ProcessInfo.h"
#include "preferences/ForegroundStyleCompat.h"
#include "preferences/OnChangeCompat.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using namespace platform::ui;
using testing::PrintTo;
using testing::rt;

struct OSCase {
    std::string name;
    platform::OperatingSystemVersion version;
    bool newerModifiers;  // macOS 14 and later
};

const OSCase kOSCases[] = {
    {"macOS11_5", {11, 5, 0}, false},
    {"macOS13_6", {13, 6, 0}, false},
    {"macOS14_0", {14, 0, 0}, true},
    {"macOS15_1", {15, 1, 0}, true},
};

class CompatTest : public ::testing::TestWithParam<OSCase> {
  protected:
    void SetUp() override {
        platform::ProcessInfo::processInfo().setOperatingSystemVersion(GetParam().version);
    }
};

// The text colour goes through the foreground-style modifier from macOS 14 on, through the
// foreground-colour modifier before, with the same colour.
TEST_P(CompatTest, ForegroundStyleCompatChoosesTheModifierByVersion) {
    View view = foregroundStyleCompat(Text("hint"), Color::gray());
    if (GetParam().newerModifiers) {
        ASSERT_NE(view.modifier<ForegroundStyleModifier>(), nullptr);
        EXPECT_EQ(view.modifier<ForegroundStyleModifier>()->color, Color::gray());
        EXPECT_EQ(view.modifier<ForegroundColorModifier>(), nullptr);
    } else {
        ASSERT_NE(view.modifier<ForegroundColorModifier>(), nullptr);
        EXPECT_EQ(view.modifier<ForegroundColorModifier>()->color, Color::gray());
        EXPECT_EQ(view.modifier<ForegroundStyleModifier>(), nullptr);
    }
}

// Dimmed texts are secondary from macOS 12 on and gray before.
TEST_P(CompatTest, DimmedTextsAreSecondaryFromMacOS12) {
    const bool twelve = GetParam().version >= platform::OperatingSystemVersion{12, 0, 0};
    EXPECT_EQ(dimmedTextColor(), twelve ? Color::secondary() : Color::gray());
}

/// A store with one published switch value, like the settings a switch shows.
class SwitchModel : public platform::ObservableObject {
  public:
    platform::Published<bool> value{*this, true};
    platform::Published<std::optional<std::string>> selection{*this, std::nullopt};
};

/// A view that observes the model and counts the changes its change observers see.
struct ObservingView {
    platform::ui::ObservedObject<SwitchModel> model;
    std::vector<bool>* seenSwitch;
    std::vector<std::optional<std::string>>* seenSelection;

    View body() const {
        auto* switches = seenSwitch;
        auto* selections = seenSelection;
        View view = Text("row");
        view = onChangeCompat<bool>(view, model->value.get(),
                                    [switches](const bool& v) { switches->push_back(v); });
        return onChangeCompat<std::optional<std::string>>(
            view, model->selection.get(),
            [selections](const std::optional<std::string>& v) { selections->push_back(v); });
    }
    auto viewProperties() { return std::tie(model); }
};

// The observer is the newer form (old and new value, no initial run) from macOS 14 on and
// the single-value form before.
TEST_P(CompatTest, OnChangeCompatChoosesTheObserverByVersion) {
    View view = onChangeCompat<bool>(Text("x"), true, [](const bool&) {});
    const auto* change = view.modifier<OnChangeModifier>();
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->passesOldValue, GetParam().newerModifiers);
    EXPECT_FALSE(change->initial);
}

// The action does not run when the view is first shown with a value set, and runs once per
// change with the new value (not when the same value is published again).
TEST_P(CompatTest, OnChangeCompatRunsOncePerChangeAndNotOnFirstShow) {
    SwitchModel model;
    std::vector<bool> switches;
    std::vector<std::optional<std::string>> selections;
    platform::NSHostingView host(ObservingView{model, &switches, &selections});
    rt().runPending();
    EXPECT_TRUE(switches.empty());
    EXPECT_TRUE(selections.empty());

    model.value.set(false);
    rt().runPending();
    model.value.set(false);
    rt().runPending();
    model.selection.set("com.example.app");
    rt().runPending();
    model.value.set(true);
    rt().runPending();

    EXPECT_EQ(switches, (std::vector<bool>{false, true}));
    EXPECT_EQ(selections, (std::vector<std::optional<std::string>>{"com.example.app"}));
}

INSTANTIATE_TEST_SUITE_P(Versions, CompatTest, ::testing::ValuesIn(kOSCases), testing::CaseName());

}  // namespace
}  // namespace corvane
