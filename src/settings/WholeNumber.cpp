#include "settings/WholeNumber.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace corvane {

std::string wholeNumberText(double value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    // -2^63 and 2^63, exact as doubles: every truncated value in [lower, upper) fits.
    constexpr double kLower = -9223372036854775808.0;
    constexpr double kUpper = 9223372036854775808.0;
    if (value >= kLower && value < kUpper)
        return std::to_string(static_cast<std::int64_t>(value));
    // A double this large has no fraction; all its digits (up to 309) would not fit a label.
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace corvane
