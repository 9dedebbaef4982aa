#pragma once

#include <string>

namespace corvane {

/// A settings number written as a whole number, the fraction dropped (truncated toward
/// zero: 349.9 gives "349", -0.5 gives "0"). The settings document sets no bound on its
/// numbers, so a value beyond the signed 64-bit range is written in short scientific form
/// ("1e+20", so a label stays narrow), and one that is not finite as "inf", "-inf" or "nan";
/// no value ever reaches an integer conversion it does not fit.
std::string wholeNumberText(double value);

}  // namespace corvane
