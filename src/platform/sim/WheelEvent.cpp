#include "platform/sim/WheelEvent.h"

#include <type_traits>

namespace corvane::platform::sim {

namespace {

template <class Value>
void setIfGiven(CGEvent& event, CGEventField field, const std::optional<Value>& value) {
    if (!value) {
        return;
    }
    if constexpr (std::is_floating_point_v<Value>) {
        event.setDoubleValue(field, *value);
    } else {
        event.setIntegerValue(field, *value);
    }
}

}  // namespace

CGEventRef WheelEvent::create() const {
    CGEventRef event = CGEventCreate(CGEventType::scrollWheel);
    event->setLocation(location);
    event->setFlags(flags);
    event->setTimestamp(timestamp);
    setIfGiven(*event, kCGEventTargetUnixProcessID, target);
    setIfGiven(*event, kCGEventSourceUnixProcessID, source);
    setIfGiven(*event, kCGScrollWheelEventDeltaAxis1, lineY);
    setIfGiven(*event, kCGScrollWheelEventDeltaAxis2, lineX);
    setIfGiven(*event, kCGScrollWheelEventPointDeltaAxis1, pointY);
    setIfGiven(*event, kCGScrollWheelEventPointDeltaAxis2, pointX);
    setIfGiven(*event, kCGScrollWheelEventFixedPtDeltaAxis1, fixedY);
    setIfGiven(*event, kCGScrollWheelEventFixedPtDeltaAxis2, fixedX);
    setIfGiven(*event, kCGScrollWheelEventScrollPhase, scrollPhase);
    setIfGiven(*event, kCGScrollWheelEventMomentumPhase, momentumPhase);
    setIfGiven(*event, kCGScrollWheelEventScrollCount, scrollCount);
    return event;
}

}  // namespace corvane::platform::sim
