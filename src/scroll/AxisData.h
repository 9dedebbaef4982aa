#pragma once

#include <cstdint>
#include <ostream>

#include "platform/quartz/CGEvent.h"

namespace corvane {

/// The two scroll axes of a wheel event.
enum class ScrollAxis { vertical, horizontal };

/// The three fields an axis is read from and written to.
struct AxisFields {
    platform::CGEventField line;        ///< integer line delta
    platform::CGEventField point;       ///< point delta
    platform::CGEventField fixedPoint;  ///< fixed-point line delta
};
inline constexpr AxisFields kVerticalAxisFields{platform::kCGScrollWheelEventDeltaAxis1,
                                                platform::kCGScrollWheelEventPointDeltaAxis1,
                                                platform::kCGScrollWheelEventFixedPtDeltaAxis1};
inline constexpr AxisFields kHorizontalAxisFields{platform::kCGScrollWheelEventDeltaAxis2,
                                                  platform::kCGScrollWheelEventPointDeltaAxis2,
                                                  platform::kCGScrollWheelEventFixedPtDeltaAxis2};

/// The values of one axis of one wheel event, and the one the coordinator works with.
struct AxisData {
    std::int64_t scrollFix = 0;  ///< the axis's integer line delta
    double scrollPt = 0;         ///< the axis's point delta, points
    double scrollFixPt = 0;      ///< the axis's fixed-point delta, lines
    bool fixed = false;          ///< `usableValue` came from the fixed-point or line delta
    bool valid = false;          ///< the axis carries motion
    double usableValue = 0;      ///< the point delta if not zero, else the fixed-point delta,
                                 ///< else the line delta; 0 when none moves

    /// Field by field; NaN equals NaN, so that rows with NaN compare.
    bool operator==(const AxisData& other) const;
};

std::ostream& operator<<(std::ostream& os, const AxisData& data);

/// The values of `axis` of the wheel `event`. While Shift is held the vertical wheel counts
/// as horizontal: the vertical axis is all zero and invalid, and the horizontal axis reads
/// the vertical fields. NaN counts as not zero.
AxisData axisData(const platform::CGEventRef& event, ScrollAxis axis);

}  // namespace corvane
