#include <gtest/gtest.h>

#include "scroll/AnimationFunctions.h"

namespace corvane {
namespace {

class ViscousFluidTest : public ::testing::TestWithParam<std::pair<double, double>> {};

// The curve gives exactly the documented values, clamping outside 0...1.
TEST_P(ViscousFluidTest, GivesTheDocumentedValue) {
    const auto [x, expected] = GetParam();
    EXPECT_EQ(AnimationFunctions::viscousFluid(x), expected) << "x = " << x;
}

INSTANTIATE_TEST_SUITE_P(Points, ViscousFluidTest,
                         ::testing::Values(std::pair{0.0, 0.0},
                                           std::pair{0.1, 0.044636821039022063},
                                           std::pair{0.5, 0.6742832268048948},
                                           std::pair{1.0, 0.9999999999999999}, std::pair{1.2, 1.0},
                                           std::pair{-0.3, 0.0}));

}  // namespace
}  // namespace corvane
