#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "platform/quartz/CGEvent.h"
#include "platform/quartz/CGEventPost.h"

namespace corvane::platform::sim {

/// One event posted by a process of the session.
struct PostedEvent {
    double mediaTime = 0;                  ///< when it was posted
    std::optional<pid_t> pid;              ///< the process it was posted to; none: the session
    CGEventTapLocation location = kCGSessionEventTap;  ///< where a session post entered
    CGEvent event;                         ///< the event as posted
};

/// The simulated window server: it takes the events that processes post and records them.
class WindowServer {
public:
    static WindowServer& shared();

    void post(CGEventTapLocation location, const CGEventRef& event);
    void postToPid(pid_t pid, const CGEventRef& event);

    /// Every event posted so far, in order.
    std::vector<PostedEvent> postedEvents() const;
    void clearPostedEvents();

private:
    mutable std::mutex mutex_;
    std::vector<PostedEvent> posted_;
};

}  // namespace corvane::platform::sim
