#pragma once

namespace corvane::platform {

/// A point in time: seconds since 1 January 1970 00:00:00 UTC (the wall clock).
struct Date {
    double timeIntervalSince1970 = 0;

    /// The current time, from the installed runtime's wall clock.
    static Date now();
    /// Seconds from this date to now; positive for a date in the past.
    double timeIntervalUntilNow() const {
        return now().timeIntervalSince1970 - timeIntervalSince1970;
    }

    bool operator==(const Date&) const = default;
};

}  // namespace corvane::platform
