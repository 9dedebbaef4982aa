#include "scroll/AxisData.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/sim/WheelEvent.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using namespace platform;
using testing::PrintTo;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Deltas {
    std::int64_t line = 0;
    double point = 0;
    double fixedPoint = 0;
};

struct AxisCase {
    const char* name;
    Deltas vertical;
    Deltas horizontal;
    bool shift;
    ScrollAxis axis;
    AxisData expected;
};

class AxisDataTest : public ::testing::TestWithParam<AxisCase> {};

// The point delta wins over the fixed-point delta, which wins over the line delta; NaN
// counts as motion; Shift moves the vertical wheel to the horizontal axis.
TEST_P(AxisDataTest, ChoosesTheUsableValue) {
    const AxisCase& c = GetParam();
    auto event =
        platform::sim::WheelEvent{
            .lineY = c.vertical.line,
            .lineX = c.horizontal.line,
            .pointY = c.vertical.point,
            .pointX = c.horizontal.point,
            .fixedY = c.vertical.fixedPoint,
            .fixedX = c.horizontal.fixedPoint,
            .flags = c.shift ? kCGEventFlagMaskShift | kCGEventFlagMaskCommand : 0}
            .create();
    EXPECT_EQ(axisData(event, c.axis), c.expected);
}

using enum ScrollAxis;

INSTANTIATE_TEST_SUITE_P(
    Cases, AxisDataTest,
    ::testing::Values(
        AxisCase{"point", {1, 10, 1.0}, {}, false, vertical, {1, 10, 1.0, false, true, 10}},
        AxisCase{"fixedPoint", {0, 0, 0.5}, {}, false, vertical, {0, 0, 0.5, true, true, 0.5}},
        AxisCase{"line", {-3, 0, 0}, {}, false, vertical, {-3, 0, 0, true, true, -3.0}},
        AxisCase{"allZero", {}, {4, 40, 4}, false, vertical, {0, 0, 0, false, false, 0}},
        AxisCase{
            "nanPoint", {1, kNaN, 1.0}, {}, false, vertical, {1, kNaN, 1.0, false, true, kNaN}},
        AxisCase{
            "nanFixedPoint", {1, 0, kNaN}, {}, false, vertical, {1, 0, kNaN, true, true, kNaN}},
        AxisCase{"horizontal",
                 {1, 10, 1},
                 {-2, -20, -2.0},
                 false,
                 horizontal,
                 {-2, -20, -2.0, false, true, -20}},
        AxisCase{"horizontalIdle", {1, 10, 1}, {}, false, horizontal, {0, 0, 0, false, false, 0}},
        AxisCase{"shiftVertical", {1, 10, 1}, {}, true, vertical, {0, 0, 0, false, false, 0}},
        AxisCase{"shiftHorizontal",
                 {1, 10, 1},
                 {-2, -20, -2},
                 true,
                 horizontal,
                 {1, 10, 1, false, true, 10}}),
    testing::CaseName());

}  // namespace
}  // namespace corvane
