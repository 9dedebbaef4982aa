#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/DispatchSourceTimer.h"
#include "platform/runtime/Timer.h"

namespace corvane::platform {

/// The clock and the places where work runs: the main run loop (with its main queue and
/// timers), serial dispatch queues and dispatch timer sources. Two implementations exist:
/// the simulated session's virtual runtime and a thread-backed one with a real clock for the
/// live application; the program installs one before it uses the platform. Everything above this
/// layer reaches time and threads only through it, so the same code runs on both.
class Runtime {
  public:
    virtual ~Runtime() = default;

    /// Seconds of the host media clock (what `CACurrentMediaTime` answers).
    virtual double mediaTime() const = 0;
    /// Seconds since 1 January 1970 (the wall clock).
    virtual double wallTime() const = 0;
    /// Ticks of the host clock per second.
    virtual double hostClockFrequency() const = 0;

    /// The main run loop's queue.
    virtual DispatchQueue& mainQueue() = 0;
    /// A new serial queue; work on it runs in the order queued, one item at a time.
    virtual std::shared_ptr<DispatchQueue> makeSerialQueue(std::string label,
                                                           QualityOfService qos) = 0;
    /// A new, suspended timer source whose handler runs on `queue`.
    virtual std::shared_ptr<DispatchSourceTimer> makeTimerSource(
        std::shared_ptr<DispatchQueue> queue) = 0;
    /// Schedules a timer on the main run loop, first firing `interval` seconds from now.
    virtual std::shared_ptr<Timer> scheduleTimer(double interval, bool repeats,
                                                 std::function<void(Timer&)> block) = 0;

    /// Whether the caller runs on the main thread (the main run loop's lane).
    virtual bool isMainThread() const = 0;
    /// Where the caller runs, for diagnostics: "main", a serial queue's label, a display
    /// link's thread ("CVDisplayLink 1"), or "an unnamed thread".
    virtual std::string currentThreadLabel() const = 0;
};

/// The installed runtime; throws std::logic_error before one is installed.
Runtime& runtime();

/// Installs `replacement` as the process's runtime. Call before anything uses the platform.
void installRuntime(std::shared_ptr<Runtime> replacement);

/// The main-thread work of a runtime that an outer event loop runs (the live application's
/// Qt event loop).
class MainThreadPump {
  public:
    virtual ~MainThreadPump() = default;
    /// Seconds of the media clock.
    virtual double mediaTime() const = 0;
    /// Runs the main work that is due now and returns the media time at which more falls
    /// due (infinity when nothing is queued). Main thread only.
    virtual double runDueWork() = 0;
    /// Called from whatever thread queues main work, so that the outer loop can wake up.
    virtual void setMainWakeHandler(std::function<void()> handler) = 0;
};

/// `CACurrentMediaTime`: seconds of the host media clock.
inline double CACurrentMediaTime() {
    return runtime().mediaTime();
}

}  // namespace corvane::platform
