#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <stdexcept>

#include "platform/appkit/NSAnimationContext.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSWindow.h"
#include "platform/appkit/WindowPicture.h"
#include "platform/combine/Published.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/qt/TextWidget.h"
#include "platform/qt/ViewImpl.h"
#include "support/WindowTesting.h"

namespace corvane::platform {
namespace {

using namespace ui;
using testing::PrintTo;
using testing::rt;

ElementInfo infoOf(const NSHostingView& host, const std::string& kind, const std::string& label) {
    auto found = findElement(host.elementsForTesting(), kind, label);
    EXPECT_TRUE(found) << kind << " " << label;
    return found ? found->info() : ElementInfo{};
}

// A row spreads its children: fixed frames keep their widths, a spacer takes what is left,
// and children sit on the row's top edge.
TEST(StackLayoutTest, SpacerPushesTheLastChildToTheEdge) {
    NSHostingView host(HStack(VerticalAlignment::top, 10,
                              {Text("A").frame(50, 20), Spacer(), Text("B").frame(30, 10)})
                           .frame(200, std::nullopt));
    EXPECT_EQ(host.intrinsicContentSize(), (CGSize{200, 20}));
    EXPECT_EQ(infoOf(host, "text", "A").frame.origin.x,
              0 + (50 - infoOf(host, "text", "A").frame.width) / 2);
    const auto b = infoOf(host, "text", "B");
    EXPECT_NEAR(CGRectGetMidX(b.frame), 200 - 15, 0.5);
    EXPECT_NEAR(CGRectGetMidY(b.frame), 5, 0.5);
}

// A spacer gives way: a wrapping text beside it keeps its one-line width while it fits beside
// the spacer's minimum length, and wraps only beyond that.
TEST(StackLayoutTest, ASpacerShrinksBeforeATextWraps) {
    const std::string words = "several words that fit on one line";
    const double oneLine = NSHostingView(Text(words)).intrinsicContentSize().width;
    for (double width : {oneLine + 30, oneLine / 2}) {
        NSHostingView host(
            HStack(VerticalAlignment::top, std::nullopt,
                   {Text(words).fixedSize(false, true), Spacer(), Text("B").frame(20, 10)})
                .frame(width, std::nullopt));
        const ElementInfo text = infoOf(host, "text", words);
        if (width > oneLine)
            EXPECT_NEAR(text.frame.width, oneLine, 0.5);
        else
            EXPECT_LE(text.frame.width, width - 20 - kDefaultSpacing + 0.5);
        EXPECT_NEAR(CGRectGetMidX(infoOf(host, "text", "B").frame), width - 10, 0.5);
    }
}

// A column aligns its children on its leading or trailing edge.
TEST(StackLayoutTest, ColumnAlignment) {
    for (auto [alignment, expectedX] : {std::pair{HorizontalAlignment::leading, 0.0},
                                        std::pair{HorizontalAlignment::trailing, 60.0}}) {
        NSHostingView host(
            VStack(alignment, 4,
                   {Spacer().frame(100, 10).id("wide"), Spacer().frame(40, 10).id("narrow")}));
        std::vector<ElementInfo> spacers;
        for (auto& e : host.elementsForTesting()) {
            if (e.info().kind == "spacer")
                spacers.push_back(e.info());
        }
        ASSERT_EQ(spacers.size(), 2u);
        EXPECT_EQ(spacers[1].frame.origin.x, expectedX);
        EXPECT_EQ(spacers[1].frame.origin.y, 14);
    }
}

/// A model whose published values controls show.
class Model : public ObservableObject {
  public:
    Published<bool> on{*this, false};
    Published<double> amount{*this, 90};
    Published<std::vector<std::string>> rows{*this, {"a", "b"}};
    Published<std::optional<std::string>> selection{*this, std::nullopt};
    int amountWrites = 0;
};

Binding<double> amountBinding(Model& m) {
    return Binding<double>([&m] { return m.amount.get(); },
                           [&m](double v) {
                               ++m.amountWrites;
                               m.amount.set(v);
                           });
}

struct ControlsView {
    ObservedObject<Model> model;
    View body() const {
        Model& m = *model;
        return VStack({Toggle("Switch", Binding<bool>([&m] { return m.on.get(); },
                                                      [&m](bool v) { m.on.set(v); }))
                           .toggleStyle(ToggleStyle::switchStyle),
                       Slider(amountBinding(m), 10, 150, 10).frame(200, std::nullopt)});
    }
    auto viewProperties() { return std::tie(model); }
};

// Controls re-read their bindings when the observed object publishes, and write through
// them when the user acts.
TEST(BindingTest, ControlsFollowTheirObservedObject) {
    Model model;
    NSHostingView host(ControlsView{model});
    EXPECT_FALSE(infoOf(host, "toggle", "Switch").isOn);

    model.on.set(true);
    rt().runPending();
    EXPECT_TRUE(infoOf(host, "toggle", "Switch").isOn);

    findElement(host.elementsForTesting(), "toggle", "Switch")->click();
    EXPECT_FALSE(model.on.get());
}

// Showing a slider never writes; an off-grid value stays stored and the knob shows the
// nearest position; the first move stores a value on the grid.
TEST(BindingTest, SliderWritesOnlyWhenMoved) {
    Model model;
    model.amount.set(95.5);
    NSHostingView host(ControlsView{model});
    rt().runPending();
    EXPECT_EQ(model.amountWrites, 0);
    EXPECT_EQ(model.amount.get(), 95.5);
    auto slider = findElement(host.elementsForTesting(), "slider", "");
    ASSERT_TRUE(slider);
    EXPECT_EQ(slider->info().knobValue, 100);

    slider->dragSlider(40);
    EXPECT_EQ(model.amount.get(), 40);
    EXPECT_EQ(model.amountWrites, 1);
}

// While the user holds the knob, a value published from elsewhere does not move it; after
// the release the knob follows the stored value again.
TEST(BindingTest, DraggedSliderKeepsItsPosition) {
    Model model;
    NSHostingView host(ControlsView{model});
    auto slider = findElement(host.elementsForTesting(), "slider", "");
    slider->dragSlider(50);
    model.amount.set(120);
    rt().runPending();
    EXPECT_EQ(slider->info().knobValue, 50);
    EXPECT_EQ(slider->info().value, 120);

    slider->release();
    model.amount.set(130);
    rt().runPending();
    EXPECT_EQ(slider->info().knobValue, 130);
}

/// A row with state of its own: a counter.
struct CounterRow {
    std::string name;
    State<int> count{0};
    View body() const {
        auto c = count;
        return HStack({Text(Verbatim{name + ":" + std::to_string(count.get())}), Spacer(),
                       Button("+" + name, [c] { c.set(c.get() + 1); })});
    }
    auto viewProperties() { return std::tie(count); }
};

/// A list of counter rows, given as views or built from the model's rows as they are shown.
struct ListView {
    ObservedObject<Model> model;
    bool fromCollection = false;
    std::shared_ptr<int> rowsBuilt = std::make_shared<int>(0);
    View body() const {
        Model& m = *model;
        Binding<std::optional<std::string>> selection(
            [&m] { return m.selection.get(); },
            [&m](std::optional<std::string> s) { m.selection.set(s); });
        auto make = [built = rowsBuilt](const std::string& r) {
            ++*built;
            return View(CounterRow{r}).tag(r);
        };
        if (fromCollection) {
            auto id = [](const std::string& r) -> const std::string& { return r; };
            return List(selection, ForEach(m.rows.get(), id, make)).frame(200, 120);
        }
        return List(selection, ForEach(m.rows.get(), make)).frame(200, 120);
    }
    auto viewProperties() { return std::tie(model); }
};

/// Whether the list's rows are built from a collection (else given as views).
class ListFormTest : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Forms, ListFormTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& form) {
                             return form.param ? "collection" : "views";
                         });

// List rows are kept by identity: a row's own state follows it when the rows are reordered,
// and a removed row takes its state with it.
TEST_P(ListFormTest, RowsKeepTheirStateByIdentity) {
    Model model;
    NSHostingView host(ListView{model, GetParam()});
    findElement(host.elementsForTesting(), "button", "+b")->click();
    rt().runPending();
    ASSERT_TRUE(findElement(host.elementsForTesting(), "text", "b:1"));

    model.rows.set({"b", "a"});
    rt().runPending();
    const auto b = infoOf(host, "text", "b:1");
    const auto a = infoOf(host, "text", "a:0");
    EXPECT_LT(b.frame.origin.y, a.frame.origin.y);

    model.rows.set({"a"});
    rt().runPending();
    model.rows.set({"a", "b"});
    rt().runPending();
    EXPECT_TRUE(findElement(host.elementsForTesting(), "text", "b:0"));
}

// Clicking a row selects its tag; the row shows selected after the update.
TEST_P(ListFormTest, ClickSelectsTheRowTag) {
    Model model;
    NSHostingView host(ListView{model, GetParam()});
    auto row = findElement(host.elementsForTesting(), "text", "a:0");
    row->click();
    EXPECT_EQ(model.selection.get(), std::optional<std::string>("a"));
    rt().runPending();
    bool selected = false;
    for (auto& e : host.elementsForTesting()) {
        if (e.info().tag == std::optional<std::string>("a"))
            selected = e.info().selected;
    }
    EXPECT_TRUE(selected);
}

/// The texts the host's widgets draw, in the order the widgets were made.
std::vector<std::string> drawnTexts(const NSHostingView& host) {
    std::vector<std::string> texts;
    for (const QWidget* widget : host.impl().widget->findChildren<QWidget*>()) {
        if (const auto* text = dynamic_cast<const qt::TextWidget*>(widget))
            texts.push_back(text->shownText().toStdString());
    }
    return texts;
}

bool draws(const NSHostingView& host, const std::string& text) {
    const auto texts = drawnTexts(host);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A long list builds the rows in view (and a view's height around them), the rows a scroll
// or a shorter list brings into view, and every row for a reader, each read by its label.
// Rows from a collection are made only as they are built: after a change too.
TEST_P(ListFormTest, ALongListBuildsTheRowsInViewAndEveryRowForAReader) {
    Model model;
    std::vector<std::string> names;
    for (int i = 0; i < 400; ++i)
        names.push_back("r" + std::to_string(i));
    model.rows.set(names);
    const ListView list{model, GetParam()};
    const auto shown = testing::windows::showInWindow(list);
    const NSHostingView& host = *shown.host;
    EXPECT_TRUE(draws(host, "r0:0"));
    EXPECT_LT(drawnTexts(host).size(), names.size() / 10);
    model.selection.set("r1");
    rt().runPending();
    if (GetParam()) {
        EXPECT_LT(*list.rowsBuilt, static_cast<int>(names.size() / 5));
    }

    QScrollBar* bar = host.impl().widget->findChild<QScrollArea*>()->verticalScrollBar();
    bar->setValue(bar->maximum());
    EXPECT_TRUE(draws(host, "r399:0"));
    EXPECT_LT(drawnTexts(host).size(), names.size() / 5);
    // Shortened while scrolled to its end, it shows its new last rows.
    model.rows.set(std::vector<std::string>(names.begin(), names.begin() + 100));
    rt().runPending();
    EXPECT_TRUE(draws(host, "r99:0"));
    model.rows.set(names);
    rt().runPending();

    std::size_t rows = 0;
    for (const auto& element : host.elementsForTesting())
        rows += element.info().tag.has_value();
    EXPECT_EQ(rows, names.size());
    EXPECT_GT(infoOf(host, "text", "r200:0").frame.width, 0);
}

/// A row of a name and a switch, tagged with the name.
View namedRow(const std::string& name) {
    return View(HStack({Text(Verbatim{name}), Spacer(),
                        Toggle("", Binding<bool>([] { return true; }, [](bool) {}))}))
        .tag(name);
}

/// The first name above a list of them, the list as tall as its rows.
struct NamedRowsView {
    ObservedObject<Model> model;
    View body() const {
        const auto& rows = model->rows.get();
        return VStack({Text(Verbatim{"First: " + rows.front()}), List(ForEach(rows, namedRow))});
    }
    auto viewProperties() { return std::tie(model); }
};

// Sizes follow a change of content: a text measured before measures again when its text
// changes, and a list without a height of its own grows with its rows.
TEST(ListTest, SizesFollowAChangeOfContent) {
    Model model;
    const auto shown = testing::windows::showInWindow(NamedRowsView{model});
    const NSHostingView& host = *shown.host;
    const double shortText = infoOf(host, "text", "First: a").frame.width;
    const double fewRows = host.intrinsicContentSize().height;
    model.rows.set({"a much longer name", "b", "c"});
    rt().runPending();
    EXPECT_GT(infoOf(host, "text", "First: a much longer name").frame.width, shortText);
    EXPECT_GT(host.intrinsicContentSize().height, fewRows);
}

struct TruncationCase {
    const char* name;
    std::string text;
    bool truncated;
};

class RowTruncationTest : public ::testing::TestWithParam<TruncationCase> {};

// A row's text that lacks room ends in "…" on one line, leaving the row's switch in the list;
// a reader still reads the whole text. A text that fits is drawn whole.
TEST_P(RowTruncationTest, ATextEndsInAnEllipsisWhereItLacksRoom) {
    NSHostingView host(List({namedRow(GetParam().text)}).frame(300, 120));
    const ElementInfo list = infoOf(host, "list", "");
    const ElementInfo row = infoOf(host, "text", GetParam().text);
    const ElementInfo toggle = infoOf(host, "toggle", "");
    EXPECT_LE(CGRectGetMaxX(row.frame), toggle.frame.origin.x);
    EXPECT_LE(CGRectGetMaxX(toggle.frame), CGRectGetMaxX(list.frame));
    const auto texts = drawnTexts(host);
    ASSERT_EQ(texts.size(), 1u);
    const std::string drawn = texts[0];
    if (GetParam().truncated) {
        EXPECT_LT(drawn.size(), GetParam().text.size());
        EXPECT_EQ(drawn.substr(0, 4), GetParam().text.substr(0, 4));
        EXPECT_EQ(drawn.substr(drawn.size() - std::string("…").size()), "…");
    } else {
        EXPECT_EQ(drawn, GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RowTruncationTest,
    ::testing::Values(TruncationCase{"fits", "com.example.editor", false},
                      TruncationCase{"oneLongWord", "com.example." + std::string(400, 'x'), true},
                      TruncationCase{"manyWords",
                                     "an application name of many words that "
                                     "would wrap onto several lines elsewhere",
                                     true}),
    testing::CaseName());

struct PresentingView {
    State<bool> showPopover{false};
    State<bool> showSheet{false};
    int* dismissals;
    View body() const {
        auto pop = showPopover;
        auto sheet = showSheet;
        int* d = dismissals;
        return VStack(
            {Button("Pick", [pop] { pop.set(!pop.get()); })
                 .popover(pop.binding(), Edge::top, [] { return Text("Inside").padding(); }),
             Button("Advanced", [sheet] { sheet.set(true); })
                 .sheet(
                     sheet.binding(), [d] { ++*d; },
                     [sheet] {
                         return VStack({Text("Sheet"),
                                        Button("Done", [sheet] { sheet.set(false); })
                                            .keyboardShortcut(KeyboardShortcut::defaultAction())})
                             .padding(16);
                     })});
    }
    auto viewProperties() { return std::tie(showPopover, showSheet); }
};

// A popover shows its content while its binding is true, with the requested arrow edge.
TEST(PresentationTest, PopoverFollowsItsBinding) {
    int dismissals = 0;
    NSHostingView host(PresentingView{false, false, &dismissals});
    EXPECT_FALSE(findElement(host.elementsForTesting(), "text", "Inside"));

    findElement(host.elementsForTesting(), "button", "Pick")->click();
    rt().runPending();
    auto inside = findElement(host.elementsForTesting(), "text", "Inside");
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->info().presentation, "popover");
    EXPECT_EQ(inside->info().arrowEdge, std::optional(Edge::top));

    findElement(host.elementsForTesting(), "button", "Pick")->click();
    rt().runPending();
    EXPECT_FALSE(findElement(host.elementsForTesting(), "text", "Inside"));
}

// A sheet takes the window's key equivalents: Return presses its default button, which
// dismisses it, and the dismissal action runs once.
TEST(PresentationTest, SheetDefaultActionDismissesIt) {
    int dismissals = 0;
    const auto [window, host] =
        testing::windows::showInWindow(PresentingView{false, false, &dismissals}, {300, 200});
    findElement(host->elementsForTesting(), "button", "Advanced")->click();
    rt().runPending();
    auto done = findElement(host->elementsForTesting(), "button", "Done");
    ASSERT_TRUE(done);
    EXPECT_EQ(done->info().presentation, "sheet");
    EXPECT_TRUE(done->info().isDefaultAction);

    window->sendEvent(NSEvent::returnKeyDown());
    rt().runPending();
    EXPECT_FALSE(findElement(host->elementsForTesting(), "text", "Sheet"));
    EXPECT_EQ(dismissals, 1);
}

/// A window that records the key equivalents it is offered.
class RecordingWindow : public NSWindow {
  public:
    using NSWindow::NSWindow;
    bool performKeyEquivalent(const NSEvent& event) override {
        offered.push_back(event);
        return true;
    }
    std::vector<NSEvent> offered;
};

// A key press on the real window reaches performKeyEquivalent, Ctrl standing for Command
// and Shift upper-casing the characters that ignore modifiers.
TEST(WindowTest, QtKeyPressesBecomeKeyEquivalents) {
    auto window = std::make_shared<RecordingWindow>(CGRectMake(0, 0, 200, 100), 3,
                                                    NSBackingStoreType::buffered, false);
    window->setTitle("Keys");
    window->makeKeyAndOrderFront();
    QWidget* widget = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowTitle() == "Keys")
            widget = w;
    }
    ASSERT_NE(widget, nullptr);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::sendEvent(widget, &press);

    ASSERT_EQ(window->offered.size(), 1u);
    EXPECT_EQ(window->offered[0].modifierFlags,
              NSEventModifierFlagCommand | NSEventModifierFlagShift);
    EXPECT_EQ(window->offered[0].charactersIgnoringModifiers, std::optional<std::string>("V"));
}

// Closing a window posts the will-close notification naming it, and orders it out.
TEST(WindowTest, ClosePostsWillCloseWithTheWindowNumber) {
    auto window = std::make_shared<NSWindow>(CGRectMake(0, 0, 200, 100), 3,
                                             NSBackingStoreType::buffered, false);
    window->makeKeyAndOrderFront();
    std::vector<double> numbers;
    NotificationCenter::defaultCenter().addObserver(
        NSWindowWillCloseNotification,
        [&](const Notification& n) { numbers.push_back(*n.userInfo.at("windowNumber").number()); });
    window->close();
    EXPECT_EQ(numbers, std::vector<double>{static_cast<double>(window->windowNumber())});
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(NSApplication::shared().windows().empty());
}

// An animation group animates the alpha value over its duration on the virtual clock and
// runs its completion once, when it has ended.
TEST(WindowTest, AlphaAnimatesOverTheGroupsDuration) {
    auto window = std::make_shared<NSWindow>(CGRectMake(0, 0, 10, 10), 0,
                                             NSBackingStoreType::buffered, false);
    window->setAlphaValue(0);
    const double start = rt().mediaTime();
    int completions = 0;
    NSAnimationContext::runAnimationGroup(
        [&](NSAnimationContext& context) {
            context.setDuration(0.5);
            window->animator().setAlphaValue(1);
        },
        [&] { ++completions; });
    rt().runUntil(start + 0.25);
    EXPECT_NEAR(window->alphaValue(), 0.5, 0.05);
    EXPECT_EQ(completions, 0);
    rt().runUntil(start + 0.5);
    EXPECT_EQ(window->alphaValue(), 1);
    EXPECT_EQ(completions, 1);
}

// A window picture is a PNG of the whole window, title bar included.
TEST(WindowTest, PictureIsAPNGOfTheWindow) {
    auto window = testing::windows::showInWindow(Text("Hello").frame(200, 100), {200, 100}).window;
    const auto png = windowPicture(*window);
    ASSERT_TRUE(png);
    const QImage image = QImage::fromData(QByteArray::fromStdString(*png), "PNG");
    EXPECT_EQ(image.width(), 200);
    EXPECT_EQ(image.height(), 100 + 28);
}

// Modifiers of newer systems refuse to be used on older ones.
TEST(AvailabilityTest, NewerModifiersNeedTheirSystem) {
    ProcessInfo::processInfo().setOperatingSystemVersion({11, 5, 0});
    EXPECT_THROW(Text("x").foregroundStyle(Color::gray()), std::logic_error);
    EXPECT_THROW(Text("x").onChange<bool>(true, false, [](const bool&, const bool&) {}),
                 std::logic_error);
    EXPECT_THROW(Button("x", [] {}).buttonStyle(BuiltInButtonStyle::borderedProminent),
                 std::logic_error);
    EXPECT_NO_THROW(Text("x").foregroundColor(Color::gray()));
}

}  // namespace
}  // namespace corvane::platform
