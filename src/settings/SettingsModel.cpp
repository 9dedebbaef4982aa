#include <algorithm>
#include <bit>
#include <cstdint>

#include "settings/AppSettings.h"
#include "settings/ScrollAdvanced.h"
#include "settings/ScrollBase.h"

namespace {

std::size_t combine(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

std::size_t hashNumber(double value) {
    // 0 and -0 compare equal, so they must hash equal.
    return std::hash<double>{}(value == 0.0 ? 0.0 : value);
}

}  // namespace

std::size_t std::hash<corvane::ScrollBase>::operator()(
    const corvane::ScrollBase& base) const noexcept {
    std::size_t h = 0;
    h = combine(h, base.smooth);
    h = combine(h, base.horizontalSmooth);
    h = combine(h, base.reverse);
    return h;
}

std::size_t std::hash<corvane::ScrollAdvanced>::operator()(
    const corvane::ScrollAdvanced& advanced) const noexcept {
    std::size_t h = combine(0, advanced.block.size());
    for (std::int64_t code : advanced.block) {
        h = combine(h, std::hash<std::int64_t>{}(code));
    }
    for (double number : {advanced.step, advanced.duration, advanced.accelerationThreshold,
                          advanced.accelerationLimit, advanced.smoothness}) {
        h = combine(h, hashNumber(number));
    }
    return h;
}

namespace corvane {

bool operator==(const AppSettings& a, const AppSettings& b) {
    return a.launchAtLogin == b.launchAtLogin && a.showMenuIcon == b.showMenuIcon &&
           a.showScrollHelperText == b.showScrollHelperText &&
           a.showSystemHelperText == b.showSystemHelperText &&
           std::equal(a.exceptionalApplication.begin(), a.exceptionalApplication.end(),
                      b.exceptionalApplication.begin(), b.exceptionalApplication.end(),
                      [](const ExceptionalApplicationRef& x, const ExceptionalApplicationRef& y) {
                          return x == y || (x && y && *x == *y);
                      });
}

}  // namespace corvane
