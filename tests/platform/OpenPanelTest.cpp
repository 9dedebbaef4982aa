#include <gtest/gtest.h>

#include "platform/appkit/NSOpenPanel.h"
#include "platform/sim/Session.h"

namespace corvane {
namespace {

using namespace platform;

// Answers given beforehand are taken in order, a cancel included, and each panel is recorded
// with its title, its folder and the answer.
TEST(OpenPanel, TakesTheScriptedAnswersInOrder) {
    auto& panels = sim::session().openPanels();
    panels.queueChoice("/Applications/Editor.app");
    panels.queueCancel();

    NSOpenPanel panel;
    panel.setTitle("Select an Application");
    panel.setDirectoryURL(URL::fileURLWithPath("/Applications"));
    EXPECT_EQ(panel.runModal(), NSModalResponseOK);
    EXPECT_EQ(panel.URL(), URL::fileURLWithPath("/Applications/Editor.app"));

    // A cancelled run forgets the earlier choice.
    EXPECT_EQ(panel.runModal(), NSModalResponseCancel);
    EXPECT_EQ(panel.URL(), std::nullopt);
    EXPECT_TRUE(panel.URLs().empty());

    const auto shown = panels.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].title, "Select an Application");
    EXPECT_EQ(shown[0].directory, "/Applications");
    EXPECT_EQ(shown[0].chosen, "/Applications/Editor.app");
    EXPECT_EQ(shown[1].chosen, std::nullopt);
}

// A panel that appears with no answer given cannot guess the user's: it ends the run.
TEST(OpenPanel, UnansweredPanelIsUnscriptedInput) {
    NSOpenPanel panel;
    panel.setTitle("Select an Application");
    try {
        panel.runModal();
        FAIL() << "answered";
    } catch (const sim::UnscriptedInput& e) {
        EXPECT_STREQ(e.what(),
                     "the open panel \"Select an Application\" appeared with no choice or cancel "
                     "given");
    }
    EXPECT_TRUE(sim::session().openPanels().shown().empty());
}

// A backend that hands back more than a single-selection panel allows is held to one item.
TEST(OpenPanel, SingleSelectionKeepsTheFirstItem) {
    struct Several final : OpenPanelBackend {
        std::optional<std::vector<URL>> runModal(const NSOpenPanel&) override {
            return std::vector<URL>{URL::fileURLWithPath("/a"), URL::fileURLWithPath("/b")};
        }
    };
    installOpenPanelBackend(std::make_shared<Several>());
    NSOpenPanel panel;
    ASSERT_EQ(panel.runModal(), NSModalResponseOK);
    EXPECT_EQ(panel.URLs().size(), 1u);
    panel.setAllowsMultipleSelection(true);
    ASSERT_EQ(panel.runModal(), NSModalResponseOK);
    EXPECT_EQ(panel.URLs().size(), 2u);
}

}  // namespace
}  // namespace corvane
