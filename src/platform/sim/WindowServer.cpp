#include "platform/sim/WindowServer.h"

#include <algorithm>
#include <stdexcept>

#include "platform/corefoundation/CFRunLoop.h"
#include "platform/quartz/CGWindowList.h"
#include "platform/runtime/Runtime.h"
#include "platform/sim/AccessibilityTrust.h"
#include "platform/sim/SimWorkspace.h"
#include "platform/sim/VirtualRuntime.h"

namespace corvane::platform::sim {

namespace {

/// Posts pending delivery a busy session holds at once; reserved so that posting does not
/// allocate.
constexpr std::size_t kReservedPendingPosts = 256;

}  // namespace

// The records reserve their whole size at once: the memory is touched only as events come.
WindowServer::WindowServer(VirtualRuntime& runtime, SimWorkspace& workspace,
                           AccessibilityTrust& trust)
    : runtime_(runtime),
      workspace_(workspace),
      trust_(trust),
      posted_(kKeptEvents),
      received_(kKeptEvents),
      pendingPosts_(kReservedPendingPosts) {
    for (auto& list : taps_)
        list = std::make_shared<const TapList>();
}

void WindowServer::post(CGEventTapLocation location, const CGEventRef& event) {
    if (!event)
        return;
    {
        std::lock_guard lock(mutex_);
        posted_.pushKeepingLatest(PostedEvent{CACurrentMediaTime(), std::nullopt, location, *event},
                                  kKeptEvents);
        // The poster may go on changing its event: the stream carries the event as posted.
        pendingPosts_.push(PendingPost{location, *event});
    }
    runtime().mainQueue().async([this] { deliverNextPost(); });
}

void WindowServer::deliverNextPost() {
    CGEventRef event = std::move(spareEvent_);
    if (!event)
        event = std::make_shared<CGEvent>();
    CGEventTapLocation location = kCGSessionEventTap;
    {
        std::lock_guard lock(mutex_);
        PendingPost pending = pendingPosts_.take();
        location = pending.location;
        *event = pending.event;
    }
    (void)deliver(event, location, EventOrigin::synthetic);
    // A tap that kept the event keeps it to itself.
    if (event.use_count() == 1)
        spareEvent_ = std::move(event);
}

void WindowServer::postToPid(pid_t pid, const CGEventRef& event) {
    if (!event)
        return;
    {
        std::lock_guard lock(mutex_);
        posted_.pushKeepingLatest(
            PostedEvent{CACurrentMediaTime(), pid, kCGSessionEventTap, *event}, kKeptEvents);
    }
    if (workspace_.isRunning(pid))
        record(pid, EventOrigin::synthetic, *event);
}

std::vector<PostedEvent> WindowServer::postedEvents() const {
    std::lock_guard lock(mutex_);
    return posted_.items();
}

void WindowServer::clearPostedEvents() {
    std::lock_guard lock(mutex_);
    posted_.clear();
}

CGEventRef WindowServer::deliverHardwareEvent(const CGEventRef& event) {
    if (!runtime().isMainThread()) {
        throw std::logic_error("WindowServer: hardware events are delivered on the main lane");
    }
    if (!event)
        return nullptr;
    return deliver(event, kCGHIDEventTap, EventOrigin::hardware);
}

void WindowServer::scheduleHardwareEvent(double mediaTime, const CGEventRef& event) {
    if (!event)
        return;
    runtime_.postUncancellable(VirtualRuntime::kMainLane, mediaTime, [this, event] {
        deliver(event, kCGHIDEventTap, EventOrigin::hardware);
    });
}

CGEventRef WindowServer::deliver(CGEventRef event, CGEventTapLocation entry, EventOrigin origin) {
    const CFRunLoopRef mainLoop = CFRunLoopGetMain();
    for (std::size_t location = entry; location < kLocations && event; ++location) {
        if (location == kCGAnnotatedSessionEventTap &&
            !event->hasValue(kCGEventTargetUnixProcessID)) {
            if (auto front = workspace_.frontmost()) {
                event->setIntegerValue(kCGEventTargetUnixProcessID, front->processIdentifier());
            }
        }
        std::shared_ptr<const TapList> stage;
        {
            std::lock_guard lock(mutex_);
            stage = taps_[location];
        }
        // Callbacks run without the lock: they may create taps, post or disable taps. A tap
        // created meanwhile takes part from the next event on.
        for (const auto& weak : *stage) {
            const std::shared_ptr<CGEventTapPort> tap = weak.lock();
            if (!tap || !tap->isEnabled() || !tap->takes(event->type()) ||
                !mainLoop->runsSourceOf(tap.get())) {
                continue;
            }
            auto* proxy = reinterpret_cast<CGEventTapProxy>(tap.get());
            if (tap->isListenOnly()) {
                (void)tap->callback()(proxy, event->type(), std::make_shared<CGEvent>(*event),
                                      tap->userInfo());
                continue;
            }
            event = tap->callback()(proxy, event->type(), event, tap->userInfo());
            if (!event)
                break;
        }
    }
    if (!event)
        return nullptr;

    RunningApplicationRef target;
    if (event->hasValue(kCGEventTargetUnixProcessID)) {
        target = workspace_.application(
            static_cast<pid_t>(event->integerValue(kCGEventTargetUnixProcessID)));
    }
    if (!target)
        target = workspace_.frontmost();
    if (!target)
        return nullptr;
    record(target->processIdentifier(), origin, *event);
    return event;
}

void WindowServer::record(pid_t pid, EventOrigin origin, const CGEvent& event) {
    const double now = CACurrentMediaTime();
    std::lock_guard lock(mutex_);
    ReceivedTotals& totals = receivedTotals_[pid];
    ++totals.events;
    totals.pointY +=
        static_cast<long double>(event.doubleValue(kCGScrollWheelEventPointDeltaAxis1));
    totals.pointX +=
        static_cast<long double>(event.doubleValue(kCGScrollWheelEventPointDeltaAxis2));
    received_.pushKeepingLatest(ReceivedEvent{now, pid, origin, event}, kKeptEvents);
}

std::vector<ReceivedEvent> WindowServer::receivedEvents() const {
    std::lock_guard lock(mutex_);
    return received_.items();
}

std::map<pid_t, ReceivedTotals> WindowServer::receivedTotals() const {
    std::lock_guard lock(mutex_);
    return receivedTotals_;
}

void WindowServer::clearReceivedEvents() {
    std::lock_guard lock(mutex_);
    received_.clear();
    receivedTotals_.clear();
}

CFMachPortRef WindowServer::createTap(CGEventTapLocation location, CGEventTapPlacement placement,
                                      CGEventTapOptions options, CGEventMask mask,
                                      CGEventTapCallBack callback, void* userInfo) {
    std::lock_guard lock(mutex_);
    // Every creation counts toward the refusals due, whatever else refuses it.
    const bool refusalDue = !tapCreationsBeforeRefusals_.take() && tapRefusals_.take();
    // Without the Accessibility permission the system refuses every event tap.
    if (!trust_.isTrusted() || refusesTapCreation_ || refusalDue || callback == nullptr ||
        location >= kLocations) {
        return nullptr;
    }
    auto tap =
        std::make_shared<CGEventTapPort>(location, placement, options, mask, callback, userInfo);
    // Head inserts go before every tap placed earlier, tail appends after; taps whose port
    // is gone are dropped on the way.
    TapList ordered;
    if (placement == kCGHeadInsertEventTap)
        ordered.emplace_back(tap);
    for (const auto& weak : *taps_[location]) {
        if (!weak.expired())
            ordered.push_back(weak);
    }
    if (placement != kCGHeadInsertEventTap)
        ordered.emplace_back(tap);
    taps_[location] = std::make_shared<const TapList>(std::move(ordered));
    return tap;
}

void WindowServer::failNextTapCreation(int count, int after) {
    std::lock_guard lock(mutex_);
    tapCreationsBeforeRefusals_.set(after);
    tapRefusals_.set(count);
}

void WindowServer::setTapCreationRefused(bool refused) {
    std::lock_guard lock(mutex_);
    refusesTapCreation_ = refused;
}

void WindowServer::disableTapBySystem(const CFMachPortRef& tap) {
    CGEventTapEnable(tap, false);
}

std::vector<std::shared_ptr<CGEventTapPort>> WindowServer::taps() const {
    std::lock_guard lock(mutex_);
    std::vector<std::shared_ptr<CGEventTapPort>> alive;
    for (const auto& list : taps_) {
        for (const auto& weak : *list) {
            if (auto tap = weak.lock())
                alive.push_back(std::move(tap));
        }
    }
    return alive;
}

void WindowServer::setOnScreenWindows(std::optional<std::vector<PlistDictionary>> windows) {
    std::lock_guard lock(mutex_);
    windows_ = std::move(windows);
}

std::optional<std::vector<PlistDictionary>> WindowServer::copyWindowInfo() {
    std::lock_guard lock(mutex_);
    ++windowListRequests_;
    return windows_;
}

int WindowServer::windowListRequests() const {
    std::lock_guard lock(mutex_);
    return windowListRequests_;
}

CGEventRef WindowServer::copyEvent(const CGEvent& event) {
    if (faults_.consumeCopyFailure())
        return nullptr;
    return std::make_shared<CGEvent>(event);
}

CFRunLoopSourceRef WindowServer::createRunLoopSource(const CFMachPortRef& port, CFIndex order) {
    if (faults_.consumeRunLoopSourceFailure())
        return nullptr;
    return std::make_shared<CFRunLoopSource>(port, order);
}

}  // namespace corvane::platform::sim
