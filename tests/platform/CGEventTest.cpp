#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "platform/quartz/CGEvent.h"
#include "support/CaseTable.h"

namespace corvane::platform {
namespace {

using testing::PrintTo;

struct FieldCase {
    const char* name;
    bool written;
    bool asInteger;  ///< written as an integer, else as a double
    std::int64_t integer;
    double real;
    std::int64_t readsInteger;
    double readsDouble;
};

class CGEventFieldTest : public ::testing::TestWithParam<FieldCase> {};

// A field reads as it was written; read as the other kind it converts (a double to an integer
// truncated toward zero and saturated, NaN 0); an unset field reads 0; the other fields stay
// unset.
TEST_P(CGEventFieldTest, ReadsBackAsWrittenOrConverted) {
    const FieldCase& c = GetParam();
    CGEvent event(CGEventType::scrollWheel);
    if (c.written) {
        if (c.asInteger)
            event.setIntegerValue(kCGScrollWheelEventPointDeltaAxis2, c.integer);
        else
            event.setDoubleValue(kCGScrollWheelEventPointDeltaAxis2, c.real);
    }
    EXPECT_EQ(event.hasValue(kCGScrollWheelEventPointDeltaAxis2), c.written);
    EXPECT_EQ(event.integerValue(kCGScrollWheelEventPointDeltaAxis2), c.readsInteger);
    EXPECT_EQ(event.doubleValue(kCGScrollWheelEventPointDeltaAxis2), c.readsDouble);
    EXPECT_FALSE(event.hasValue(kCGScrollWheelEventPointDeltaAxis1));
    EXPECT_EQ(event.doubleValue(kCGScrollWheelEventPointDeltaAxis1), 0);
}

constexpr double kHuge = 1e300;
constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
constexpr auto kMax = std::numeric_limits<std::int64_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Cases, CGEventFieldTest,
    ::testing::Values(FieldCase{"unset", false, false, 0, 0, 0, 0},
                      FieldCase{"integer", true, true, -7, 0, -7, -7.0},
                      FieldCase{"double", true, false, 0, -2.75, -2, -2.75},
                      FieldCase{"hugeDouble", true, false, 0, kHuge, kMax, kHuge},
                      FieldCase{"hugeNegativeDouble", true, false, 0, -kHuge, kMin, -kHuge},
                      FieldCase{"smallestInteger", true, true, kMin, 0, kMin,
                                static_cast<double>(kMin)}),
    testing::CaseName());

// NaN reads as 0 when read as an integer, and stays NaN as a double.
TEST(CGEventFieldNaN, ReadsZeroAsAnInteger) {
    CGEvent event(CGEventType::scrollWheel);
    event.setDoubleValue(kCGScrollWheelEventFixedPtDeltaAxis1, std::nan(""));
    EXPECT_EQ(event.integerValue(kCGScrollWheelEventFixedPtDeltaAxis1), 0);
    EXPECT_TRUE(std::isnan(event.doubleValue(kCGScrollWheelEventFixedPtDeltaAxis1)));
}

// A number that is no field of an event is refused, whether below 128 or above.
TEST(CGEventUnknownField, Throws) {
    CGEvent event(CGEventType::scrollWheel);
    EXPECT_THROW(event.integerValue(static_cast<CGEventField>(50)), std::invalid_argument);
    EXPECT_THROW(event.setDoubleValue(static_cast<CGEventField>(500), 1), std::invalid_argument);
}

}  // namespace
}  // namespace corvane::platform
