#pragma once

#include <cstdint>
#include <limits>

#include "platform/quartz/CGEvent.h"

namespace corvane {

/// A process-identifier field of the event (`kCGEventTargetUnixProcessID`,
/// `kCGEventSourceUnixProcessID`) as a pid; a value no pid can have (outside the 32-bit range)
/// names no process and reads 0.
inline platform::pid_t eventProcess(const platform::CGEventRef& event,
                                    platform::CGEventField field) {
    const std::int64_t value = platform::CGEventGetIntegerValueField(event, field);
    if (value < std::numeric_limits<platform::pid_t>::min() ||
        value > std::numeric_limits<platform::pid_t>::max()) {
        return 0;
    }
    return static_cast<platform::pid_t>(value);
}

}  // namespace corvane
