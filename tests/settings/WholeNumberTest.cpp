#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "settings/WholeNumber.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using testing::PrintTo;

struct NumberCase {
    std::string name;
    double value;
    std::string text;
};

class WholeNumberTest : public ::testing::TestWithParam<NumberCase> {};

// The fraction is dropped toward zero; the 64-bit bounds are exact; beyond them and for
// values that are not finite, the text is still readable (and UBSan sees no conversion
// out of range).
TEST_P(WholeNumberTest, DropsTheFraction) {
    EXPECT_EQ(wholeNumberText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, WholeNumberTest,
    ::testing::Values(
        NumberCase{"whole", 90, "90"}, NumberCase{"fraction", 90.7, "90"},
        NumberCase{"nearlyNext", 349.9, "349"}, NumberCase{"negativeFraction", -7.99, "-7"},
        NumberCase{"negativeBelowOne", -0.5, "0"}, NumberCase{"negativeZero", -0.0, "0"},
        NumberCase{"lowestInt64", -9223372036854775808.0, "-9223372036854775808"},
        NumberCase{"largestBelow2To63", 9223372036854774784.0, "9223372036854774784"},
        NumberCase{"twoTo63", 9223372036854775808.0, "9.22337e+18"},
        NumberCase{"belowLowest", -1e19, "-1e+19"}, NumberCase{"huge", 1e20, "1e+20"},
        NumberCase{"largestDouble", std::numeric_limits<double>::max(), "1.79769e+308"},
        NumberCase{"infinity", std::numeric_limits<double>::infinity(), "inf"},
        NumberCase{"negativeInfinity", -std::numeric_limits<double>::infinity(), "-inf"},
        NumberCase{"notANumber", std::numeric_limits<double>::quiet_NaN(), "nan"}),
    testing::CaseName());

}  // namespace
}  // namespace corvane
