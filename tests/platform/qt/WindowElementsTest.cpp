#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <ostream>
#include <variant>

#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSTabViewController.h"
#include "platform/appkit/NSWindow.h"
#include "platform/appkit/WindowElements.h"
#include "platform/combine/Published.h"
#include "support/WindowTesting.h"

namespace corvane::platform {

void PrintTo(const WindowElement& e, std::ostream* os) {
    *os << e.kind << " \"" << e.label << "\"";
    std::visit(
        [os](const auto& v) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(v)>, std::monostate>)
                *os << " = " << v;
        },
        e.value);
    *os << (e.enabled ? "" : " (disabled)");
    if (!e.presentation.empty())
        *os << " in " << e.presentation;
}

namespace {

using namespace ui;
using testing::PrintTo;
using testing::rt;

/// What the controls of the panel are bound to, with every write the slider made.
class PanelModel : public ObservableObject {
  public:
    Published<bool> smooth{*this, false};
    Published<bool> reverse{*this, false};
    Published<double> step{*this, 90};
    Published<std::optional<std::string>> selection{*this, std::string("Mail")};
    Published<bool> showPopover{*this, false};
    std::vector<double> stepWrites;
    int smoothWrites = 0;
    int applied = 0;
};

template <class T>
Binding<T> bind(Published<T>& value, std::function<void()> onWrite = {}) {
    return Binding<T>([&value] { return value.get(); },
                      [&value, onWrite](T v) {
                          if (onWrite)
                              onWrite();
                          value.set(std::move(v));
                      });
}

struct PanelView {
    ObservedObject<PanelModel> model;
    View body() const {
        PanelModel& m = *model;
        return VStack(
            {Text("Smoothing"),
             Toggle("Enable Smooth", bind(m.smooth, [&m] { ++m.smoothWrites; }))
                 .toggleStyle(ToggleStyle::switchStyle),
             Toggle("Reverse", bind(m.reverse)), Text("Step size:"),
             Slider(Binding<double>([&m] { return m.step.get(); },
                                    [&m](double v) {
                                        m.stepWrites.push_back(v);
                                        m.step.set(v);
                                    }),
                    10, 150, 10)
                 .frame(200, std::nullopt),
             Text("Applications"),
             List(bind(m.selection),
                  ForEach(std::vector<std::string>{"Safari", "Mail"},
                          [](const std::string& name) { return Text(Verbatim{name}).tag(name); }))
                 .frame(200, 80),
             Button("Apply", [&m] { ++m.applied; }).disabled(true),
             Button("Pick", [&m] {
                 m.showPopover.set(!m.showPopover.get());
             }).popover(bind(m.showPopover), Edge::top, [] { return Text("Inside").padding(); })});
    }
    auto viewProperties() { return std::tie(model); }
};

WindowElement element(std::string kind, std::string label, ElementValue value = {},
                      bool enabled = true) {
    return {std::move(kind), std::move(label), std::move(value), enabled, ""};
}

/// A titled window ("Panel") showing a view of `Model`, sized to fit it.
template <class Model, class Content>
class WindowShowing : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_shared<NSWindow>(CGRectMake(0, 0, 10, 10), 3,
                                            NSBackingStoreType::buffered, false);
        window->setTitle("Panel");
        auto hosting = std::make_shared<NSHostingView>(Content{model});
        window->setContentView(hosting);
        window->setContentSize(hosting->fittingSize());
        window->makeKeyAndOrderFront();
        rt().runPending();
    }
    ElementActionResult act(const std::string& label, ElementAction action) {
        auto result = performElementAction(*window, label, action);
        rt().runPending();
        return result;
    }

    Model model;
    std::shared_ptr<NSWindow> window;
};

class WindowElementsTest : public WindowShowing<PanelModel, PanelView> {};

// A window reads as a user sees it: its title and frame, then each control once, in reading
// order, with its state; a button's label is the button, a slider and a list are titled by
// the text before them, a list holds the label of its selected row.
TEST_F(WindowElementsTest, ReadsTheControlsInReadingOrder) {
    const WindowContents contents = inspectWindow(*window);
    EXPECT_EQ(contents.title, "Panel");
    EXPECT_EQ(contents.size, sizeOf(window->frame()));
    const std::vector<WindowElement> expected = {
        element("text", "Smoothing"),
        element("toggle", "Enable Smooth", false),
        element("toggle", "Reverse", false),
        element("text", "Step size:"),
        element("slider", "Step size:", 90.0),
        element("text", "Applications"),
        element("list", "Applications", std::string("Mail")),
        element("row", "Safari", false),
        element("text", "Safari"),
        element("row", "Mail", true),
        element("text", "Mail"),
        element("button", "Apply", {}, false),
        element("button", "Pick"),
    };
    EXPECT_EQ(contents.elements, expected);
}

// An open popover's elements follow the window's own, marked as in the popover; Escape
// closes it through its binding.
TEST_F(WindowElementsTest, PopoverElementsFollowAndEscapeClosesIt) {
    act("Pick", {.kind = ElementAction::Kind::press});
    ASSERT_TRUE(model.showPopover.get());
    WindowElement inside = element("text", "Inside");
    inside.presentation = "popover";
    EXPECT_EQ(inspectWindow(*window).elements.back(), inside);

    pressKey(*window, *parseKeyPress("escape"));
    rt().runPending();
    EXPECT_FALSE(model.showPopover.get());
    EXPECT_EQ(inspectWindow(*window).elements.back(), element("button", "Pick"));
}

struct ActionCase {
    const char* name;
    const char* label;
    ElementAction action;
    std::function<void(const PanelModel&)> expect;
};

class WindowActionTest : public WindowElementsTest,
                         public ::testing::WithParamInterface<ActionCase> {};

// Each action reaches the model through the control's own input handling, as a user's click
// or drag would.
TEST_P(WindowActionTest, ReachesTheBinding) {
    const ActionCase& c = GetParam();
    EXPECT_EQ(act(c.label, c.action).outcome, ElementActionResult::Outcome::done);
    c.expect(model);
}

using Kind = ElementAction::Kind;
INSTANTIATE_TEST_SUITE_P(
    Table, WindowActionTest,
    ::testing::Values(
        ActionCase{"switchOn",
                   "Enable Smooth",
                   {.kind = Kind::toggle, .on = true},
                   [](const PanelModel& m) { EXPECT_TRUE(m.smooth.get()); }},
        ActionCase{"checkboxOn",
                   "Reverse",
                   {.kind = Kind::toggle, .on = true},
                   [](const PanelModel& m) { EXPECT_TRUE(m.reverse.get()); }},
        ActionCase{"alreadyOffIsNotClicked",
                   "Enable Smooth",
                   {.kind = Kind::toggle, .on = false},
                   [](const PanelModel& m) { EXPECT_EQ(m.smoothWrites, 0); }},
        ActionCase{"slideUpPassesEveryStep",
                   "Step size:",
                   {.kind = Kind::slide, .value = 130},
                   [](const PanelModel& m) {
                       EXPECT_EQ(m.stepWrites, (std::vector<double>{100, 110, 120, 130}));
                   }},
        ActionCase{
            "slideBeyondTheRangeStopsAtItsEnd",
            "Step size:",
            {.kind = Kind::slide, .value = -500},
            [](const PanelModel& m) {
                EXPECT_EQ(m.stepWrites, (std::vector<double>{80, 70, 60, 50, 40, 30, 20, 10}));
            }},
        ActionCase{"slideToTheValueItHoldsWritesNothing",
                   "Step size:",
                   {.kind = Kind::slide, .value = 90},
                   [](const PanelModel& m) { EXPECT_TRUE(m.stepWrites.empty()); }},
        ActionCase{"selectRow",
                   "Safari",
                   {.kind = Kind::select},
                   [](const PanelModel& m) {
                       EXPECT_EQ(m.selection.get(), std::optional<std::string>("Safari"));
                   }},
        ActionCase{"disabledButtonIgnoresThePress",
                   "Apply",
                   {.kind = Kind::press},
                   [](const PanelModel& m) { EXPECT_EQ(m.applied, 0); }}),
    testing::CaseName());

// A label is looked for among the elements that take the action ("Step size:" is a text
// before it is the slider's title); one found nowhere, or only on an element that does not
// take the action, is told apart.
TEST_F(WindowElementsTest, LabelsFoundNowhereOrOnTheWrongKind) {
    const auto missing = act("Nope", {.kind = Kind::press});
    EXPECT_EQ(missing.outcome, ElementActionResult::Outcome::notFound);
    const auto text = act("Smoothing", {.kind = Kind::toggle, .on = true});
    EXPECT_EQ(text.outcome, ElementActionResult::Outcome::notActionable);
    EXPECT_EQ(text.kind, "text");
    EXPECT_EQ(act("Step size:", {.kind = Kind::slide, .value = 100}).outcome,
              ElementActionResult::Outcome::done);
}

struct SheetView {
    State<bool> showSheet{true};
    View body() const {
        auto sheet = showSheet;
        return Text("Behind").sheet(sheet.binding(), {}, [sheet] {
            return Button("Done", [sheet] { sheet.set(false); })
                .keyboardShortcut(KeyboardShortcut::defaultAction())
                .padding(16);
        });
    }
    auto viewProperties() { return std::tie(showSheet); }
};

// Return in an open sheet presses the sheet's default button, which dismisses it.
TEST(WindowKeyTest, ReturnInASheetPressesItsDefaultButton) {
    auto window = testing::windows::showInWindow(SheetView{}, {300, 200}).window;
    ASSERT_EQ(inspectWindow(*window).elements.back().label, "Done");

    pressKey(*window, *parseKeyPress("return"));
    rt().runPending();
    EXPECT_EQ(inspectWindow(*window).elements, std::vector{element("text", "Behind")});
}

/// A sheet and a popover that the window shows from its own content.
class SheetAndPopoverModel : public ObservableObject {
  public:
    Published<bool> sheet{*this, true};
    Published<bool> popover{*this, false};
};

struct SheetAndPopoverView {
    ObservedObject<SheetAndPopoverModel> model;
    View body() const {
        SheetAndPopoverModel& m = *model;
        return Text("Behind")
            .popover(bind(m.popover), Edge::top, [] { return Text("Popover").padding(); })
            .sheet(bind(m.sheet), {}, [&m] {
                return Button("Done", [&m] { m.sheet.set(false); })
                    .keyboardShortcut(KeyboardShortcut::defaultAction())
                    .padding(16);
            });
    }
    auto viewProperties() { return std::tie(model); }
};

using SheetAndPopoverTest = WindowShowing<SheetAndPopoverModel, SheetAndPopoverView>;

// A popover of the window that comes up while a sheet is shown lies behind the sheet: keys go
// to the sheet, whose default button Return presses, and the popover stays open.
TEST_F(SheetAndPopoverTest, KeysGoToTheSheetNotToAPopoverBehindIt) {
    model.popover.set(true);
    rt().runPending();
    ASSERT_EQ(inspectWindow(*window).elements.back().presentation, "popover");

    pressKey(*window, *parseKeyPress("return"));
    rt().runPending();
    EXPECT_FALSE(model.sheet.get());
    EXPECT_TRUE(model.popover.get());
}

/// A tab view controller in toolbar style with two tabs, counting the selections it is told.
/// Each pane shows its name, or a button with the default-action shortcut that counts its
/// presses.
class TwoTabs final : public NSTabViewController {
  public:
    explicit TwoTabs(bool defaultButtons = false) : defaultButtons_(defaultButtons) {}
    int selections = 0;
    int presses[2] = {0, 0};
    void viewDidLoad() override {
        setTabStyle(TabStyle::toolbar);
        for (int i = 0; i < 2; ++i) {
            const std::string name = i == 0 ? "First" : "Second";
            View pane = defaultButtons_
                            ? View(Button(name + " default", [this, i] { ++presses[i]; })
                                       .keyboardShortcut(KeyboardShortcut::defaultAction()))
                            : View(Text(name + " pane"));
            auto item = NSTabViewItem::tabViewItemWithViewController(
                std::make_shared<NSHostingController>(std::move(pane)));
            item->setLabel(name);
            addTabViewItem(item);
        }
    }
    void tabViewDidSelectTabViewItem(NSTabViewItem&) override { ++selections; }

  private:
    bool defaultButtons_;
};

/// A titled window whose content is `tabs`, on screen.
std::shared_ptr<NSWindow> windowShowing(const std::shared_ptr<TwoTabs>& tabs) {
    auto window = std::make_shared<NSWindow>(CGRect{}, NSWindowStyleMaskTitled,
                                             NSBackingStoreType::buffered, false);
    window->setContentViewController(tabs);
    window->makeKeyAndOrderFront();
    return window;
}

// The toolbar's tabs are read first, the selected one on; selecting a tab clicks its
// toolbar button, which shows its pane and tells the controller once.
TEST(WindowTabsTest, TabsAreReadFirstAndSelectedByAClick) {
    auto tabs = std::make_shared<TwoTabs>();
    auto window = windowShowing(tabs);
    EXPECT_EQ(inspectWindow(*window).elements,
              (std::vector<WindowElement>{{"tab", "First", true, true, ""},
                                          {"tab", "Second", false, true, ""},
                                          {"text", "First pane", {}, true, ""}}));

    ASSERT_EQ(
        performElementAction(*window, "Second", {.kind = ElementAction::Kind::select}).outcome,
        ElementActionResult::Outcome::done);
    EXPECT_EQ(tabs->selectedTabViewItemIndex(), 1);
    EXPECT_EQ(tabs->selections, 1);
    EXPECT_EQ(inspectWindow(*window).elements,
              (std::vector<WindowElement>{{"tab", "First", false, true, ""},
                                          {"tab", "Second", true, true, ""},
                                          {"text", "Second pane", {}, true, ""}}));
    EXPECT_EQ(performElementAction(*window, "Second", {.kind = ElementAction::Kind::press}).outcome,
              ElementActionResult::Outcome::notActionable);
    window->close();
}

// The window offers Return to its content, the tab view's container, which passes it on to
// the shown pane alone: only the selected tab's default button is pressed.
TEST(WindowTabsTest, KeyEquivalentsReachTheShownPaneAlone) {
    auto tabs = std::make_shared<TwoTabs>(true);
    auto window = windowShowing(tabs);

    pressKey(*window, *parseKeyPress("return"));
    EXPECT_EQ(tabs->presses[0], 1);
    EXPECT_EQ(tabs->presses[1], 0);
    tabs->setSelectedTabViewItemIndex(1);
    pressKey(*window, *parseKeyPress("return"));
    EXPECT_EQ(tabs->presses[0], 1);
    EXPECT_EQ(tabs->presses[1], 1);
    window->close();
}

/// Rows that each hold an untitled switch and an "Edit" button, as a list of exceptions does.
class RowsModel : public ObservableObject {
  public:
    Published<std::optional<std::string>> selection{*this, std::nullopt};
    std::map<std::string, bool> on = {{"Safari", false}, {"Mail", false}};
    std::vector<std::string> edited;
};

struct RowsView {
    ObservedObject<RowsModel> model;
    View body() const {
        RowsModel& m = *model;
        return List(
                   bind(m.selection),
                   ForEach(
                       std::vector<std::string>{"Safari", "Mail"},
                       [&m](const std::string& name) {
                           return HStack({Text(Verbatim{name}), Spacer(),
                                          Toggle("", Binding<bool>(
                                                         [&m, name] { return m.on[name]; },
                                                         [&m, name](bool v) { m.on[name] = v; })),
                                          Button("Edit", [&m, name] { m.edited.push_back(name); })})
                               .tag(name);
                       }))
            .frame(300, 80);
    }
    auto viewProperties() { return std::tie(model); }
};

class WindowRowsTest : public WindowShowing<RowsModel, RowsView> {};

// With a row, the control is looked for inside that row alone: the second row's untitled
// switch (no label needed) and its button, though the first row has the same.
TEST_F(WindowRowsTest, ControlsAreFoundInsideTheirRow) {
    EXPECT_EQ(act("", {.kind = Kind::toggle, .on = true, .row = "Mail"}).outcome,
              ElementActionResult::Outcome::done);
    EXPECT_EQ(model.on, (std::map<std::string, bool>{{"Safari", false}, {"Mail", true}}));
    EXPECT_EQ(act("Edit", {.kind = Kind::press, .row = "Mail"}).outcome,
              ElementActionResult::Outcome::done);
    EXPECT_EQ(act("Edit", {.kind = Kind::press}).outcome, ElementActionResult::Outcome::done);
    EXPECT_EQ(model.edited, (std::vector<std::string>{"Mail", "Safari"}));
}

// A row no list shows, a label the row does not show and a row with nothing that takes the
// action are told apart; nothing is changed.
TEST_F(WindowRowsTest, MissingRowsAndControlsAreToldApart) {
    EXPECT_EQ(act("Edit", {.kind = Kind::press, .row = "Notes"}).outcome,
              ElementActionResult::Outcome::noRow);
    EXPECT_EQ(act("Remove", {.kind = Kind::press, .row = "Mail"}).outcome,
              ElementActionResult::Outcome::notFound);
    EXPECT_EQ(act("", {.kind = Kind::slide, .value = 1, .row = "Mail"}).outcome,
              ElementActionResult::Outcome::notFound);
    const auto text = act("Mail", {.kind = Kind::press, .row = "Mail"});
    EXPECT_EQ(text.outcome, ElementActionResult::Outcome::notActionable);
    EXPECT_EQ(text.kind, "text");
    EXPECT_EQ(model.on, (std::map<std::string, bool>{{"Safari", false}, {"Mail", false}}));
    EXPECT_TRUE(model.edited.empty());
}

struct KeyCase {
    const char* name;
    const char* text;
    std::optional<KeyPress> expected;
};
class KeyPressSyntaxTest : public ::testing::TestWithParam<KeyCase> {};

// Key presses are modifiers and one key joined by '+'; anything else is refused.
TEST_P(KeyPressSyntaxTest, Reads) {
    EXPECT_EQ(parseKeyPress(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyPressSyntaxTest,
    ::testing::Values(KeyCase{"named", "return", KeyPress{"return", 0}},
                      KeyCase{"command", "cmd+q", KeyPress{"q", NSEventModifierFlagCommand}},
                      KeyCase{"twoModifiers", "cmd+shift+v",
                              KeyPress{"v", NSEventModifierFlagCommand | NSEventModifierFlagShift}},
                      KeyCase{"plusKey", "cmd++", KeyPress{"+", NSEventModifierFlagCommand}},
                      KeyCase{"empty", "", std::nullopt}, KeyCase{"noKey", "cmd+", std::nullopt},
                      KeyCase{"upperCase", "Q", std::nullopt},
                      KeyCase{"unknownModifier", "hyper+q", std::nullopt},
                      KeyCase{"modifierTwice", "cmd+cmd+q", std::nullopt},
                      KeyCase{"unknownName", "f13", std::nullopt}),
    testing::CaseName());

}  // namespace
}  // namespace corvane::platform
