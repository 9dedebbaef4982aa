#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/appkit/NSHostingView.h"
#include "platform/combine/Published.h"
#include "preferences/ScrollAdvancedSliderView.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;
using testing::PrintTo;

/// The caller's value, with a record of every write the view makes through its binding.
class Owner : public ObservableObject {
  public:
    Published<ScrollAdvanced> value{*this, ScrollAdvanced{}};
    std::vector<ScrollAdvanced> writes;

    Binding<ScrollAdvanced> binding() {
        return Binding<ScrollAdvanced>([this] { return value.get(); },
                                       [this](ScrollAdvanced v) {
                                           writes.push_back(v);
                                           value.set(std::move(v));
                                       });
    }
};

/// The slider view over an owner, redrawn when the owner publishes.
struct Harness {
    ObservedObject<Owner> owner;
    bool showBasic = true;
    bool showAcceleration = true;
    bool hints = false;
    bool disabled = false;
    View body() const {
        return ScrollAdvancedSliderView{owner->binding(), 150, 230, hints, showBasic,
                                        showAcceleration, 12}
            .body()
            .disabled(disabled);
    }
    auto viewProperties() { return std::tie(owner); }
};

std::vector<ElementInfo> elementsOf(const NSHostingView& host, const std::string& kind) {
    std::vector<ElementInfo> found;
    for (const auto& e : host.elementsForTesting()) {
        if (e.info().kind == kind)
            found.push_back(e.info());
    }
    return found;
}

std::vector<std::string> sliderLabels(const NSHostingView& host) {
    std::vector<std::string> labels;
    for (const auto& info : elementsOf(host, "slider"))
        labels.push_back(info.accessibilityLabel);
    return labels;
}

bool showsText(const NSHostingView& host, const std::string& text) {
    return findElement(host.elementsForTesting(), "text", text).has_value();
}

struct RowsCase {
    std::string name;
    bool showBasic;
    bool showAcceleration;
    std::vector<std::string> sliders;
};

class SliderRowsTest : public ::testing::TestWithParam<RowsCase> {};

// The flags choose the rows and their order; each slider is found by its row's title.
TEST_P(SliderRowsTest, FlagsChooseTheRows) {
    Owner owner;
    NSHostingView host(Harness{owner, GetParam().showBasic, GetParam().showAcceleration});
    EXPECT_EQ(sliderLabels(host), GetParam().sliders);
    if (GetParam().sliders.empty()) {
        EXPECT_EQ(host.intrinsicContentSize(), (CGSize{0, 0}));
        EXPECT_TRUE(elementsOf(host, "text").empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Flags, SliderRowsTest,
    ::testing::Values(
        RowsCase{"none", false, false, {}},
        RowsCase{"basic", true, false, {"Step size:", "Scrolling speed:", "Smoothness:"}},
        RowsCase{"acceleration", false, true, {"Acceleration threshold:", "Acceleration limit:"}},
        RowsCase{"both",
                 true,
                 true,
                 {"Step size:", "Scrolling speed:", "Smoothness:", "Acceleration threshold:",
                  "Acceleration limit:"}}),
    testing::CaseName());

struct LabelCase {
    std::string name;
    double ScrollAdvanced::*field;
    double value;
    std::string label;
};

class ValueLabelTest : public ::testing::TestWithParam<LabelCase> {};

// A stored value is shown with its fraction dropped (toward zero), off its grid or range as
// well, and showing it never writes. Values no 64-bit integer holds still read as text.
TEST_P(ValueLabelTest, ShowsTheTruncatedValueWithoutWriting) {
    Owner owner;
    ScrollAdvanced v;
    v.*GetParam().field = GetParam().value;
    owner.value.set(v);
    NSHostingView host(Harness{owner});
    rt().runPending();
    EXPECT_TRUE(showsText(host, GetParam().label)) << GetParam().label;
    EXPECT_TRUE(owner.writes.empty());
    const double stored = owner.value.get().*GetParam().field;
    EXPECT_TRUE(stored == GetParam().value || (std::isnan(stored) && std::isnan(GetParam().value)));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ValueLabelTest,
    ::testing::Values(LabelCase{"defaultStep", &ScrollAdvanced::step, 90, "90px"},
                      LabelCase{"offGridStep", &ScrollAdvanced::step, 95.5, "95px"},
                      LabelCase{"belowRangeStep", &ScrollAdvanced::step, 5, "5px"},
                      LabelCase{"durationTruncates", &ScrollAdvanced::duration, 349.9, "349ms"},
                      LabelCase{"defaultDuration", &ScrollAdvanced::duration, 350, "350ms"},
                      LabelCase{"defaultThreshold", &ScrollAdvanced::accelerationThreshold, 50,
                                "50ms"},
                      LabelCase{"limitTruncates", &ScrollAdvanced::accelerationLimit, 7.99, "7x"},
                      LabelCase{"negativeTowardZero", &ScrollAdvanced::step, -10.5, "-10px"},
                      LabelCase{"beyondInt64", &ScrollAdvanced::step, 1e20, "1e+20px"},
                      LabelCase{"infinite", &ScrollAdvanced::duration,
                                std::numeric_limits<double>::infinity(), "infms"},
                      LabelCase{"notANumber", &ScrollAdvanced::accelerationLimit,
                                std::numeric_limits<double>::quiet_NaN(), "nanx"}),
    testing::CaseName());

class SliderWritesTest : public ::testing::Test {
  protected:
    Owner owner;
    std::optional<ElementHandle> slider(NSHostingView& host, const std::string& title) {
        return findElement(host.elementsForTesting(), "slider", title);
    }
};

// The smoothness row has no value label: four value labels for five rows at the defaults.
TEST_F(SliderWritesTest, SmoothnessHasNoValueLabel) {
    NSHostingView host(Harness{owner});
    for (const char* label : {"90px", "350ms", "50ms", "7x"})
        EXPECT_TRUE(showsText(host, label)) << label;
    EXPECT_FALSE(showsText(host, "30ms"));
    EXPECT_FALSE(showsText(host, "30"));
    EXPECT_TRUE(showsText(host, "Crisp"));
    EXPECT_TRUE(showsText(host, "Buttery"));
}

// A drag across several steps stores each value it passes as it goes, each write carrying
// the other fields and the block list unchanged; the label follows the knob.
TEST_F(SliderWritesTest, DragWritesEveryValueItPasses) {
    ScrollAdvanced start;
    start.block = {54, 59};
    start.step = 95.5;
    owner.value.set(start);
    NSHostingView host(Harness{owner});
    auto step = slider(host, "Step size:");
    ASSERT_TRUE(step);
    for (double v : {110.0, 120.0, 130.0, 140.0}) {
        step->dragSlider(v);
        rt().runPending();
        EXPECT_TRUE(showsText(host, std::to_string(static_cast<int>(v)) + "px"));
    }
    step->release();
    ASSERT_EQ(owner.writes.size(), 4u);
    for (std::size_t i = 0; i < owner.writes.size(); ++i) {
        ScrollAdvanced expected = start;
        expected.step = 110 + 10.0 * static_cast<double>(i);
        EXPECT_EQ(owner.writes[i], expected) << i;
    }
}

// The first move of an off-grid value stores a value on the row's grid, within its range.
TEST_F(SliderWritesTest, FirstMoveLandsOnTheGrid) {
    ScrollAdvanced start;
    start.duration = 5000;
    owner.value.set(start);
    NSHostingView host(Harness{owner});
    auto duration = slider(host, "Scrolling speed:");
    duration->dragSlider(260);
    duration->release();
    ASSERT_EQ(owner.writes.size(), 1u);
    EXPECT_EQ(owner.writes[0].duration, 250);
}

// A disabled view takes no input and writes nothing.
TEST_F(SliderWritesTest, DisabledViewWritesNothing) {
    Harness harness{owner};
    harness.disabled = true;
    NSHostingView host(harness);
    auto step = slider(host, "Step size:");
    EXPECT_FALSE(step->info().enabled);
    step->dragSlider(120);
    EXPECT_TRUE(owner.writes.empty());
}

// Titles end flush at the title column's right edge and sliders span the control column;
// help texts show only with hints on.
TEST_F(SliderWritesTest, ColumnsAndHints) {
    Harness harness{owner};
    NSHostingView plain(harness);
    const auto title = findElement(plain.elementsForTesting(), "text", "Step size:")->info();
    EXPECT_NEAR(CGRectGetMaxX(title.frame), 150, 0.5);
    const auto step = slider(plain, "Step size:")->info();
    EXPECT_EQ(step.frame.width, 230);
    EXPECT_GT(step.frame.origin.x, 150);
    EXPECT_FALSE(showsText(plain, "How much to scroll for one wheel tick"));

    harness.hints = true;
    NSHostingView hinted(harness);
    EXPECT_TRUE(showsText(hinted, "How much to scroll for one wheel tick"));
    EXPECT_TRUE(showsText(hinted, "Maximum scroll acceleration (step * x)"));
}

}  // namespace
}  // namespace corvane
