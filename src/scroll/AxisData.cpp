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

namespace {

/// The values of the axis in `fields`; the usable one is the first of the point, fixed-point
/// and line deltas that is not zero (`!= 0` holds for NaN, so a NaN field counts as motion).
inline AxisData readAxis(const platform::CGEvent& event, const AxisFields& fields) {
    AxisData d;
    d.scrollFix = event.integerValue(fields.line);
    d.scrollPt = event.doubleValue(fields.point);
    d.scrollFixPt = event.doubleValue(fields.fixedPoint);
    if (d.scrollPt != 0) {
        d.usableValue = d.scrollPt;
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

}  // namespace

AxisData axisData(const platform::CGEventRef& event, ScrollAxis axis) {
    const bool shift = (event->flags() & platform::kCGEventFlagMaskShift) != 0;
    // Under Shift the vertical wheel counts as horizontal: the horizontal axis carries the
    // vertical fields and the vertical axis is empty.
    if (axis == ScrollAxis::vertical)
        return shift ? AxisData{} : readAxis(*event, kVerticalAxisFields);
    return shift ? readAxis(*event, kVerticalAxisFields) : readAxis(*event, kHorizontalAxisFields);
}

}  // namespace corvane
