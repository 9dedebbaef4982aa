#include "preferences/ScrollAdvancedSliderView.h"

#include <vector>

#include "platform/foundation/LocalizedStrings.h"
#include "preferences/ForegroundStyleCompat.h"
#include "settings/WholeNumber.h"

namespace corvane {

using namespace platform::ui;

namespace {

using Row = ScrollAdvancedSliderView::Row;

// Each slider has its lower bound at the left: the shortest duration is "Fast", a threshold
// of 0 ms "Never".
const Row kBasicRows[] = {
    {"Step size:", &ScrollAdvanced::step, 10, 150, 10, "Small", "px", "Large",
     "How much to scroll for one wheel tick", std::nullopt},
    {"Scrolling speed:", &ScrollAdvanced::duration, 200, 500, 25, "Fast", "ms", "Slow",
     "How long animation lasts after one wheel tick", std::nullopt},
    {"Smoothness:", &ScrollAdvanced::smoothness, 0, 60, 5, "Crisp", std::nullopt, "Buttery",
     "Extra output smoothing; higher feels softer but adds a touch of lag", std::nullopt},
};
const Row kAccelerationRows[] = {
    {"Acceleration threshold:", &ScrollAdvanced::accelerationThreshold, 0, 150, 10, "Never", "ms",
     "Sensitive", "Increase acceleration only if inputs arrive within this threshold", 6.0},
    {"Acceleration limit:", &ScrollAdvanced::accelerationLimit, 1, 15, 1, "Min", "x", "Max",
     "Maximum scroll acceleration (step * x)", std::nullopt},
};

constexpr double kControlColumnSpacing = 6;  ///< points between slider, labels and help

}  // namespace

std::string ScrollAdvancedSliderView::valueLabel(double value, const std::string& unit) {
    // The key is the format; only its "%lld" is filled, so a translation can place the
    // number but never pass other conversions to a formatter.
    std::string text = platform::LocalizedStrings::main().localizedString("%lld" + unit);
    if (const auto at = text.find("%lld"); at != std::string::npos)
        text.replace(at, 4, wholeNumberText(value));
    return text;
}

View ScrollAdvancedSliderView::row(const Row& r) const {
    const double value = scrollAdvanced.get().*r.field;
    std::vector<View> labels{Text(r.leftLabel), Spacer()};
    if (r.unit) {
        labels.push_back(
            foregroundStyleCompat(Text(Verbatim{valueLabel(value, *r.unit)}), dimmedTextColor()));
        labels.push_back(Spacer());
    }
    labels.push_back(Text(r.rightLabel));

    std::vector<View> control{
        Slider(scrollAdvanced.member(r.field), r.lowerBound, r.upperBound, r.step)
            .accessibilityLabel(r.title),
        HStack(std::move(labels)).font(Font::footnote())};
    if (hints) {
        control.push_back(
            foregroundStyleCompat(Text(r.help).font(Font::footnote()), dimmedTextColor()));
    }
    return HStack(VerticalAlignment::top, r.columnSpacing,
                  {Text(r.title).frame(leftColumnSize, std::nullopt, Alignment::trailing()),
                   VStack(HorizontalAlignment::leading, kControlColumnSpacing, std::move(control))
                       .frame(rightColumnSize, std::nullopt, Alignment::leading())});
}

View ScrollAdvancedSliderView::body() const {
    std::vector<View> rows;
    if (showBasic) {
        for (const Row& r : kBasicRows)
            rows.push_back(row(r));
    }
    if (showAcceleration) {
        for (const Row& r : kAccelerationRows)
            rows.push_back(row(r));
    }
    return VStack(HorizontalAlignment::leading, rowSpacing, std::move(rows));
}

}  // namespace corvane
