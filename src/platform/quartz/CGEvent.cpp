#include "platform/quartz/CGEvent.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace corvane::platform {

std::int64_t CGEvent::saturatingTruncate(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double kMax = 9223372036854775807.0;  // rounds to 2^63
    if (value >= kMax)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -kMax)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

void CGEvent::throwUnknownField() {
    throw std::invalid_argument("CGEvent: unknown field");
}

bool CGEvent::operator==(const CGEvent& other) const {
    if (type_ != other.type_ || flags_ != other.flags_ || !(location_ == other.location_) ||
        timestamp_ != other.timestamp_) {
        return false;
    }
    for (std::size_t i = 0; i < kSlots; ++i) {
        const Slot& a = slots_[i];
        const Slot& b = other.slots_[i];
        if (a.kind != b.kind || a.integer != b.integer)
            return false;
        // Bitwise-equal doubles, so that NaN fields compare equal to themselves.
        if (a.real != b.real && !(std::isnan(a.real) && std::isnan(b.real)))
            return false;
    }
    return true;
}

}  // namespace corvane::platform
