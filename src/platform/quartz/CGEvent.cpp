#include "platform/quartz/CGEvent.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace corvane::platform {

namespace {

std::int64_t saturatingTruncate(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double kMax = 9223372036854775807.0;  // rounds to 2^63
    if (value >= kMax)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -kMax)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

}  // namespace

std::size_t CGEvent::slotOf(CGEventField field) {
    switch (field) {
        case kCGKeyboardEventKeycode:
            return 0;
        case kCGScrollWheelEventDeltaAxis1:
            return 1;
        case kCGScrollWheelEventDeltaAxis2:
            return 2;
        case kCGEventTargetUnixProcessID:
            return 3;
        case kCGEventSourceUnixProcessID:
            return 4;
        case kCGEventSourceUserData:
            return 5;
        case kCGScrollWheelEventIsContinuous:
            return 6;
        case kCGScrollWheelEventFixedPtDeltaAxis1:
            return 7;
        case kCGScrollWheelEventFixedPtDeltaAxis2:
            return 8;
        case kCGScrollWheelEventPointDeltaAxis1:
            return 9;
        case kCGScrollWheelEventPointDeltaAxis2:
            return 10;
        case kCGScrollWheelEventScrollPhase:
            return 11;
        case kCGScrollWheelEventScrollCount:
            return 12;
        case kCGScrollWheelEventMomentumPhase:
            return 13;
    }
    throw std::invalid_argument("CGEvent: unknown field");
}

std::int64_t CGEvent::integerValue(CGEventField field) const {
    const Slot& s = slots_[slotOf(field)];
    switch (s.kind) {
        case Kind::unset:
            return 0;
        case Kind::integer:
            return s.integer;
        case Kind::real:
            return saturatingTruncate(s.real);
    }
    return 0;
}

double CGEvent::doubleValue(CGEventField field) const {
    const Slot& s = slots_[slotOf(field)];
    switch (s.kind) {
        case Kind::unset:
            return 0;
        case Kind::integer:
            return static_cast<double>(s.integer);
        case Kind::real:
            return s.real;
    }
    return 0;
}

void CGEvent::setIntegerValue(CGEventField field, std::int64_t value) {
    slots_[slotOf(field)] = Slot{Kind::integer, value, 0};
}

void CGEvent::setDoubleValue(CGEventField field, double value) {
    slots_[slotOf(field)] = Slot{Kind::real, 0, value};
}

bool CGEvent::hasValue(CGEventField field) const {
    return slots_[slotOf(field)].kind != Kind::unset;
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
