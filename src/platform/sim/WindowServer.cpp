#include "platform/sim/WindowServer.h"

#include "platform/runtime/Runtime.h"

namespace corvane::platform {

void CGEventPost(CGEventTapLocation tap, const CGEventRef& event) {
    sim::WindowServer::shared().post(tap, event);
}

void CGEventPostToPid(pid_t pid, const CGEventRef& event) {
    sim::WindowServer::shared().postToPid(pid, event);
}

}  // namespace corvane::platform

namespace corvane::platform::sim {

WindowServer& WindowServer::shared() {
    static auto* server = new WindowServer();
    return *server;
}

void WindowServer::post(CGEventTapLocation location, const CGEventRef& event) {
    if (!event) return;
    std::lock_guard lock(mutex_);
    posted_.push_back(PostedEvent{CACurrentMediaTime(), std::nullopt, location, *event});
}

void WindowServer::postToPid(pid_t pid, const CGEventRef& event) {
    if (!event) return;
    std::lock_guard lock(mutex_);
    posted_.push_back(PostedEvent{CACurrentMediaTime(), pid, kCGSessionEventTap, *event});
}

std::vector<PostedEvent> WindowServer::postedEvents() const {
    std::lock_guard lock(mutex_);
    return posted_;
}

void WindowServer::clearPostedEvents() {
    std::lock_guard lock(mutex_);
    posted_.clear();
}

}  // namespace corvane::platform::sim
