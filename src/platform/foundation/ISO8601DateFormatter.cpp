#include "platform/foundation/ISO8601DateFormatter.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace corvane::platform {

std::string ISO8601DateFormatter::stringFromDate(Date date) const {
    using namespace std::chrono;
    // 0001-01-01T00:00:00Z and 10000-01-01T00:00:00Z, seconds since 1970.
    constexpr double kEarliest = -62135596800.0;
    constexpr double kEnd = 253402300800.0;
    const double seconds = std::floor(date.timeIntervalSince1970);
    if (!(seconds >= kEarliest && seconds < kEnd))
        return "?";
    const auto whole = static_cast<long long>(seconds);
    const sys_days day = floor<days>(sys_seconds(std::chrono::seconds(whole)));
    const year_month_day ymd(day);
    const hh_mm_ss time(std::chrono::seconds(whole) - day.time_since_epoch());
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:%02lldZ",
                  static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()), static_cast<long long>(time.hours().count()),
                  static_cast<long long>(time.minutes().count()),
                  static_cast<long long>(time.seconds().count()));
    return text;
}

}  // namespace corvane::platform
