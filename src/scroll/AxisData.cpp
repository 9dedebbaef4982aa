#include "scroll/AxisData.h"

#include <cmath>

namespace corvane {

namespace {

bool sameDouble(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

}  // namespace

bool AxisData::operator==(const AxisData& other) const {
    return scrollFix == other.scrollFix && sameDouble(scrollPt, other.scrollPt) &&
           sameDouble(scrollFixPt, other.scrollFixPt) && fixed == other.fixed &&
           valid == other.valid && sameDouble(usableValue, other.usableValue);
}

std::ostream& operator<<(std::ostream& os, const AxisData& d) {
    return os << "AxisData{fix " << d.scrollFix << ", pt " << d.scrollPt << ", fixPt "
              << d.scrollFixPt << ", fixed " << d.fixed << ", valid " << d.valid << ", usable "
              << d.usableValue << "}";
}

AxisData axisData(const platform::CGEventRef& event, ScrollAxis axis) {
    using namespace platform;
    const bool shift = (CGEventGetFlags(event) & kCGEventFlagMaskShift) != 0;
    if (axis == ScrollAxis::vertical && shift)
        return AxisData{};

    // Under Shift the horizontal axis carries the vertical wheel's fields.
    const bool readVertical = axis == ScrollAxis::vertical || shift;
    AxisData d;
    d.scrollFix = CGEventGetIntegerValueField(
        event, readVertical ? kCGScrollWheelEventDeltaAxis1 : kCGScrollWheelEventDeltaAxis2);
    d.scrollPt =
        CGEventGetDoubleValueField(event, readVertical ? kCGScrollWheelEventPointDeltaAxis1
                                                       : kCGScrollWheelEventPointDeltaAxis2);
    d.scrollFixPt =
        CGEventGetDoubleValueField(event, readVertical ? kCGScrollWheelEventFixedPtDeltaAxis1
                                                       : kCGScrollWheelEventFixedPtDeltaAxis2);

    // `!= 0` holds for NaN, so a NaN field counts as motion.
    if (d.scrollPt != 0) {
        d.usableValue = d.scrollPt;
        d.fixed = false;
        d.valid = true;
    } else if (d.scrollFixPt != 0) {
        d.usableValue = d.scrollFixPt;
        d.fixed = true;
        d.valid = true;
    } else if (d.scrollFix != 0) {
        d.usableValue = static_cast<double>(d.scrollFix);
        d.fixed = true;
        d.valid = true;
    }
    return d;
}

}  // namespace corvane
