#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PreferencesTestSupport.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/foundation/ProcessInfo.h"
#include "preferences/BlockKeysListView.h"
#include "preferences/BlockKeysView.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;

const std::vector<ModifierKey> kKeys{ModifierKey::command, ModifierKey::control,
                                     ModifierKey::option};

class BlockKeysViewTest : public testing::SettingsFixture {
  protected:
    BlockKeysView strip() { return BlockKeysView{store(), false, false, kKeys}; }
    /// The strip: the one element drawn on a background.
    static ElementHandle stripOf(const NSHostingView& host) {
        for (const auto& e : host.elementsForTesting()) {
            if (e.info().background)
                return e;
        }
        ADD_FAILURE() << "no strip";
        return ElementHandle(nullptr);
    }
    /// The symbols the strip shows, left to right.
    static std::vector<std::string> symbols(const NSHostingView& host) {
        std::vector<std::pair<double, std::string>> found;
        for (const auto& e : host.elementsForTesting()) {
            const ElementInfo info = e.info();
            if (info.kind == "image" && info.presentation.empty())
                found.emplace_back(info.frame.origin.x, info.label);
        }
        std::sort(found.begin(), found.end());
        std::vector<std::string> names;
        for (auto& [x, name] : found)
            names.push_back(name);
        return names;
    }
    static std::vector<bool> switches(const NSHostingView& host) {
        std::vector<bool> on;
        for (const char* title : {"Command", "Control", "Option"})
            on.push_back(element(host, "toggle", title).info().isOn);
        return on;
    }
};

// The strip shows the blocked keys in display order, whatever the order of the codes; the
// popover's switches follow the same list.
TEST_F(BlockKeysViewTest, StripFollowsTheListInDisplayOrder) {
    setBlock({59, 58, 55});
    NSHostingView host(strip());
    EXPECT_EQ(symbols(host), (std::vector<std::string>{"command", "control", "option"}));
    click(stripOf(host));
    EXPECT_EQ(switches(host), (std::vector<bool>{true, true, true}));

    // A switch flipped in the popover changes the strip behind it at once.
    click(element(host, "toggle", "Control"));
    EXPECT_EQ(block(), (std::vector<std::int64_t>{55, 58}));
    EXPECT_EQ(symbols(host), (std::vector<std::string>{"command", "option"}));
    click(element(host, "toggle", "Control"));
    EXPECT_EQ(block(), (std::vector<std::int64_t>{55, 58, 59}));
}

// With nothing blocked the strip is an empty 100 x 20 rounded rectangle that still opens the
// popover, with every switch off; a second click closes it.
TEST_F(BlockKeysViewTest, EmptyStripStillOpensThePopover) {
    setBlock({});
    NSHostingView host(strip());
    EXPECT_TRUE(symbols(host).empty());
    const ElementHandle s = stripOf(host);
    EXPECT_EQ(s.info().frame.width, 100);
    EXPECT_EQ(s.info().frame.height, 20);
    click(s);
    EXPECT_EQ(switches(host), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(element(host, "toggle", "Command").info().presentation, "popover");
    click(s);
    EXPECT_FALSE(findElement(host.elementsForTesting(), "toggle", "Command"));
}

// The popover's arrow sits on the top edge before macOS 15.1; from 15.1 the system places it.
TEST_F(BlockKeysViewTest, PopoverArrowByVersion) {
    for (auto [version, edge] :
         {std::pair{OperatingSystemVersion{15, 0, 0}, std::optional(Edge::top)},
          std::pair{OperatingSystemVersion{15, 1, 0}, std::optional<Edge>()}}) {
        ProcessInfo::processInfo().setOperatingSystemVersion(version);
        NSHostingView host(strip());
        click(stripOf(host));
        EXPECT_EQ(element(host, "toggle", "Option").info().arrowEdge, edge) << version.toString();
    }
}

// Hovering raises the strip's gray from 0.2 to 0.3 opacity; leaving lowers it again.
TEST_F(BlockKeysViewTest, HoverRaisesTheBackground) {
    NSHostingView host(strip());
    const ElementHandle s = stripOf(host);
    EXPECT_EQ(s.info().background, Color::gray().opacity(0.2));
    s.hover(true);
    rt().runPending();
    EXPECT_EQ(s.info().background, Color::gray().opacity(0.3));
    s.hover(false);
    rt().runPending();
    EXPECT_EQ(s.info().background, Color::gray().opacity(0.2));
}

struct ChangeCase {
    std::string name;
    std::vector<std::int64_t> before;
    ModifierKey key;
    bool on;
    std::vector<std::int64_t> after;
};

class SetBlockedTest : public testing::SettingsFixture,
                       public ::testing::WithParamInterface<ChangeCase> {};

// Turning a key off removes every copy of its code, turning it on appends it; the list is
// then sorted, and codes no switch stands for stay. Each change is one save.
TEST_P(SetBlockedTest, RewritesTheListSorted) {
    setBlock(GetParam().before);
    const int saves = this->saves();
    BlockKeysListView{store(), kKeys}.setBlocked(GetParam().key, GetParam().on);
    EXPECT_EQ(block(), GetParam().after);
    EXPECT_EQ(this->saves(), saves + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SetBlockedTest,
    ::testing::Values(
        ChangeCase{"controlOff", {55, 58, 59}, ModifierKey::control, false, {55, 58}},
        ChangeCase{"controlOn", {55, 58}, ModifierKey::control, true, {55, 58, 59}},
        ChangeCase{"commandOffRemovesDuplicates", {59, 55, 55}, ModifierKey::command, false, {59}},
        ChangeCase{"optionOnSorts", {59}, ModifierKey::option, true, {58, 59}},
        ChangeCase{"rightCommandStaysOff", {54, 55}, ModifierKey::command, false, {54}},
        ChangeCase{"rightCommandStaysOn", {59, 54}, ModifierKey::option, true, {54, 58, 59}}),
    testing::CaseName());

// An edited document's [59, 55, 55] shows Command and Control on; switching Command off and
// Option on through the popover gives [59], then [58, 59]. A right-hand code shows no symbol
// and no switch.
TEST_F(BlockKeysViewTest, EditedListThroughThePopover) {
    setBlock({59, 55, 55, 54});
    NSHostingView host(strip());
    EXPECT_EQ(symbols(host), (std::vector<std::string>{"command", "control"}));
    click(stripOf(host));
    EXPECT_EQ(switches(host), (std::vector<bool>{true, true, false}));
    click(element(host, "toggle", "Command"));
    EXPECT_EQ(block(), (std::vector<std::int64_t>{54, 59}));
    click(element(host, "toggle", "Option"));
    EXPECT_EQ(block(), (std::vector<std::int64_t>{54, 58, 59}));
    EXPECT_EQ(symbols(host), (std::vector<std::string>{"control", "option"}));
}

}  // namespace
}  // namespace corvane
