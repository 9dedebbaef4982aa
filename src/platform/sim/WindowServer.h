#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/corefoundation/MachPortBackend.h"
#include "platform/foundation/PlistValue.h"
#include "platform/quartz/CGEvent.h"
#include "platform/quartz/CGEventPost.h"
#include "platform/quartz/CGEventTap.h"
#include "platform/quartz/EventBackend.h"
#include "platform/sim/EventFaults.h"
#include "platform/sim/FaultCount.h"
#include "platform/sim/RingBuffer.h"

namespace corvane::platform::sim {

class AccessibilityTrust;
class SimWorkspace;
class VirtualRuntime;

/// One event posted by a process of the session.
struct PostedEvent {
    double mediaTime = 0;      ///< when it was posted
    std::optional<pid_t> pid;  ///< the process it was posted to; none: the session
    CGEventTapLocation location = kCGSessionEventTap;  ///< where a session post entered
    CGEvent event;                                     ///< the event as posted
};

/// Where an event that an application received came from.
enum class EventOrigin {
    hardware,   ///< an input device, through the taps
    synthetic,  ///< posted by a process, to the session (through the taps) or to the pid
};

/// One event as an application received it.
struct ReceivedEvent {
    double mediaTime = 0;  ///< when it arrived
    pid_t pid = 0;         ///< the application that received it
    EventOrigin origin = EventOrigin::hardware;
    CGEvent event;  ///< the event as it arrived, after every tap
};

/// What one application received in all, whatever the record of events kept: events and the
/// sums of their point deltas (extended precision, so that no long run overflows or rounds).
struct ReceivedTotals {
    std::uint64_t events = 0;
    long double pointY = 0;
    long double pointX = 0;
};

/// The simulated window server. It delivers every event of the session on the main lane
/// through the taps that take it, in their order: the locations from the HID tap point to
/// the annotated session (where an event without a target process is given the frontmost
/// application's), and at each location the taps in placement order. A tap takes part while
/// it is enabled, its mask takes the event type and its run-loop source is in the main run
/// loop. An active filter's answer goes on (null drops the event); a listener sees a copy
/// and its answer is ignored. The surviving event reaches the process in its
/// `kCGEventTargetUnixProcessID` field when that is set and running, else the frontmost
/// application. Events posted to the session go through the taps again from where they were
/// posted; events posted to a process go straight to it. Every event that an application
/// receives is recorded, and counted per application apart from that record.
class WindowServer final : public EventBackend, public MachPortBackend {
  public:
    /// How many of the most recent posted events, and of the most recent received events,
    /// are kept: about 8 MB each, reached in a few minutes of steady scrolling, so that memory
    /// stays flat over long sessions.
    static constexpr std::size_t kKeptEvents = 20'000;

    /// A window server on `runtime` whose processes are those of `workspace` and whose taps
    /// need `trust`.
    WindowServer(VirtualRuntime& runtime, SimWorkspace& workspace, AccessibilityTrust& trust);

    // Posting.

    /// Records the post, then queues its delivery through the taps from `location` on, on
    /// the main lane at the current time.
    void post(CGEventTapLocation location, const CGEventRef& event) override;
    /// Records the post and hands the event to process `pid` at once (lost when it is not
    /// running).
    void postToPid(pid_t pid, const CGEventRef& event) override;
    /// The events posted so far, in order (the latest `kKeptEvents`).
    std::vector<PostedEvent> postedEvents() const;
    void clearPostedEvents();

    // Hardware input.

    /// Delivers a hardware event now, through the taps; call on the main lane. Returns the
    /// event as the application received it, or null when a tap dropped it or no
    /// application could receive it.
    CGEventRef deliverHardwareEvent(const CGEventRef& event);
    /// Queues the delivery of a hardware event on the main lane at `mediaTime`.
    void scheduleHardwareEvent(double mediaTime, const CGEventRef& event);

    /// What the applications received, in order (the latest `kKeptEvents`).
    std::vector<ReceivedEvent> receivedEvents() const;
    /// What each application received in all since the start or the last clear, by pid.
    std::map<pid_t, ReceivedTotals> receivedTotals() const;
    /// Clears the received events and their totals.
    void clearReceivedEvents();

    // Event taps.

    /// `CGEventTapCreate`: a new enabled tap placed among the taps at its location, or null
    /// when creation is refused: always while the process lacks the Accessibility
    /// permission (`AccessibilityTrust`), and as the refusal knobs below say.
    CFMachPortRef createTap(CGEventTapLocation location, CGEventTapPlacement placement,
                            CGEventTapOptions options, CGEventMask mask,
                            CGEventTapCallBack callback, void* userInfo) override;
    /// Refuses the next `count` tap creations that come after `after` more creations
    /// (`failNextTapCreation(1, 1)`: the second creation from now fails), in place of the
    /// refusals still due.
    void failNextTapCreation(int count, int after = 0);
    /// Refuses every tap creation while set, whatever the Accessibility permission.
    void setTapCreationRefused(bool refused);
    /// Disables a tap the way the system does when a callback is too slow; no
    /// tap-disabled event reaches the callback.
    void disableTapBySystem(const CFMachPortRef& tap);
    /// The taps alive now, at every location, in delivery order.
    std::vector<std::shared_ptr<CGEventTapPort>> taps() const;

    // Windows.

    /// Sets the descriptions of the windows on screen, front to back; none makes the window
    /// list unavailable.
    void setOnScreenWindows(std::optional<std::vector<PlistDictionary>> windows);
    /// `CGWindowListCopyWindowInfo`: the on-screen windows; counted.
    std::optional<std::vector<PlistDictionary>> copyWindowInfo() override;
    /// How many window lists were asked for.
    int windowListRequests() const;

    // Event copies and run-loop sources, with their fault knobs.

    /// `CGEventCreateCopy`: a copy, or null while copies are made to fail.
    CGEventRef copyEvent(const CGEvent& event) override;
    /// `CFMachPortCreateRunLoopSource`: a source, or null while sources are made to fail.
    CFRunLoopSourceRef createRunLoopSource(const CFMachPortRef& port, CFIndex order) override;
    /// Makes the next `count` event copies fail.
    void failNextEventCopy(int count) { faults_.failNextCopy(count); }
    /// Makes the next `count` run-loop sources made for a port fail (none is made).
    void failNextRunLoopSource(int count) { faults_.failNextRunLoopSource(count); }

  private:
    static constexpr std::size_t kLocations = 3;
    /// The taps at one location in placement order, replaced whole when one is added, so
    /// that a delivery reads them without copying.
    using TapList = std::vector<std::weak_ptr<CGEventTapPort>>;
    /// An event posted to the session and not yet delivered.
    struct PendingPost {
        CGEventTapLocation location = kCGSessionEventTap;
        CGEvent event;
    };

    CGEventRef deliver(CGEventRef event, CGEventTapLocation entry, EventOrigin origin);
    /// Delivers the oldest pending post; each post queues one call on the main lane.
    void deliverNextPost();
    void record(pid_t pid, EventOrigin origin, const CGEvent& event);

    VirtualRuntime& runtime_;
    SimWorkspace& workspace_;
    AccessibilityTrust& trust_;
    EventFaults faults_;
    mutable std::mutex mutex_;
    RingBuffer<PostedEvent> posted_;
    RingBuffer<ReceivedEvent> received_;
    RingBuffer<PendingPost> pendingPosts_;
    /// The event delivered last, kept for the next delivery when nothing else holds it
    /// (main lane only).
    CGEventRef spareEvent_;
    std::map<pid_t, ReceivedTotals> receivedTotals_;
    std::shared_ptr<const TapList> taps_[kLocations];
    /// The refusals of `failNextTapCreation`: so many creations pass, then so many are
    /// refused.
    FaultCount tapCreationsBeforeRefusals_;
    FaultCount tapRefusals_;
    bool refusesTapCreation_ = false;
    std::optional<std::vector<PlistDictionary>> windows_{std::in_place};
    int windowListRequests_ = 0;
};

}  // namespace corvane::platform::sim
