#pragma once

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/corefoundation/CFRunLoop.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/DispatchSourceTimer.h"

namespace corvane {

/// Wraps one event tap of the scroll coordinator: attaches its run-loop source to the run
/// loop current at creation (the main one), enables and disables the tap, and keeps it alive
/// with a watchdog that re-enables a tap the system disabled, at most 3 times in any 60 s.
/// `start`, `stop` and teardown run on the main thread; the watchdog runs on the
/// interceptor's own serial queue. Always held by a shared pointer (`create`), so that the
/// watchdog can hold it weakly.
class EventTapInterceptor : public std::enable_shared_from_this<EventTapInterceptor> {
  public:
    /// Why a tap could not be installed.
    class InterceptorError : public std::exception {
      public:
        enum Kind {
            eventTapCreationFailed,  ///< the system gave no tap
            eventTapEnableFailed,    ///< `start` without a tap, source or run loop
        };

        InterceptorError(Kind kind) : kind_(kind) {}  // NOLINT(implicit): thrown as a case
        Kind kind() const { return kind_; }
        /// The case's name ("eventTapCreationFailed", "eventTapEnableFailed").
        const char* what() const noexcept override;
        std::string description() const { return what(); }
        bool operator==(const InterceptorError& other) const { return kind_ == other.kind_; }

      private:
        Kind kind_;
    };

    /// Seconds between two watchdog checks, and until the first.
    static constexpr double kWatchdogInterval = 5.0;

    /// An interceptor for `eventTap` (a created tap, or null): makes the tap's run-loop
    /// source and takes the current run loop. Nothing is attached or enabled yet.
    static std::shared_ptr<EventTapInterceptor> create(platform::CFMachPortRef eventTap);
    /// Teardown: `stop`, then the tap is disabled once more and dropped, and the source is
    /// detached when still attached and dropped.
    ~EventTapInterceptor();
    EventTapInterceptor(const EventTapInterceptor&) = delete;
    EventTapInterceptor& operator=(const EventTapInterceptor&) = delete;

    /// Attaches the source in the common modes (once), enables the tap and (re)starts the
    /// watchdog. Throws `eventTapEnableFailed` when the tap, source or run loop is missing.
    void start();
    /// Cancels the watchdog, disables the tap and detaches the source; keeps the references
    /// so that `start` could attach them again.
    void stop();
    /// Replaces the watchdog: a timer on `watchdogQueue` that runs `checkTap` every 5 s,
    /// first 5 s from now, for as long as this interceptor exists.
    void startWatchdog();
    /// The watchdog's check: a disabled tap is enabled again unless 3 re-enables already
    /// lie within the last 60 s (one exactly 60 s old still counts), in which case the
    /// check backs off. Each outcome is logged.
    void checkTap();

    /// Whether the tap exists and is enabled (what the diagnostics report shows).
    bool isEnabled() const;

    const platform::CFMachPortRef& eventTapRef() const { return _eventTapRef; }
    const platform::CFRunLoopSourceRef& runLoopSourceRef() const { return _runLoopSourceRef; }
    const platform::CFRunLoopRef& runLoopRef() const { return _runLoopRef; }
    const std::shared_ptr<platform::DispatchSourceTimer>& watchdogTimer() const { return watchdog; }
    const std::shared_ptr<platform::DispatchQueue>& queue() const { return watchdogQueue; }

  private:
    explicit EventTapInterceptor(platform::CFMachPortRef eventTap);

    /// Drops the re-enables older than the window; true when fewer than the most allowed
    /// remain, in which case `now` is recorded as a new re-enable.
    bool admitReenable(double now);

    std::shared_ptr<platform::DispatchSourceTimer> watchdog;
    std::shared_ptr<platform::DispatchQueue> watchdogQueue;
    platform::CFMachPortRef _eventTapRef;
    platform::CFRunLoopSourceRef _runLoopSourceRef;
    platform::CFRunLoopRef _runLoopRef;
    /// Media-clock seconds of the re-enables still within the window; touched only on
    /// `watchdogQueue`.
    std::vector<double> reenableTimes;
    const double reenableWindow = 60.0;  ///< seconds
    const std::size_t maxReenablesPerWindow = 3;
};

}  // namespace corvane
