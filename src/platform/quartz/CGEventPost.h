#pragma once

#include "platform/quartz/CGEvent.h"

namespace corvane::platform {

/// Where in the event stream a tap sits or an event is posted.
enum CGEventTapLocation : std::uint32_t {
    kCGHIDEventTap = 0,
    kCGSessionEventTap = 1,
    kCGAnnotatedSessionEventTap = 2,
};

/// Posts the event into the login session's stream at `tap`.
void CGEventPost(CGEventTapLocation tap, const CGEventRef& event);
/// Posts the event to one process.
void CGEventPostToPid(pid_t pid, const CGEventRef& event);

}  // namespace corvane::platform
