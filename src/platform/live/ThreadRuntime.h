#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "platform/live/SteadyClock.h"
#include "platform/live/WorkLoop.h"
#include "platform/runtime/Runtime.h"

namespace corvane::platform::live {

/// The runtime of the live application: a real monotonic clock, serial queues that each run
/// on a thread of their own, timer sources on those queues, and a main queue with main-run-
/// loop timers that run on the main thread when its owner pumps them (`run`, `runUntil`, or
/// an outer event loop calling `runDueWork`). The main thread is the thread that created the
/// runtime. Display links made while it is installed are real threads too.
class ThreadRuntime final : public Runtime, public MainThreadPump {
  public:
    ThreadRuntime();
    ~ThreadRuntime() override;

    // Runtime
    double mediaTime() const override;  // Runtime and MainThreadPump
    double wallTime() const override;
    double hostClockFrequency() const override { return kHostClockFrequency; }
    DispatchQueue& mainQueue() override;
    std::shared_ptr<DispatchQueue> makeSerialQueue(std::string label,
                                                   QualityOfService qos) override;
    std::shared_ptr<DispatchSourceTimer> makeTimerSource(
        std::shared_ptr<DispatchQueue> queue) override;
    std::shared_ptr<Timer> scheduleTimer(double interval, bool repeats,
                                         std::function<void(Timer&)> block) override;
    bool isMainThread() const override { return std::this_thread::get_id() == mainThread_; }
    std::string currentThreadLabel() const override;

    /// Names the calling thread for `currentThreadLabel` (a queue's or a display link's
    /// thread names itself when it starts).
    static void labelCurrentThread(std::string label);

    /// Runs main-queue work and main-run-loop timers on the main thread until `stop`.
    void run();
    /// Runs them until media time `deadline` (seconds) or `stop`.
    void runUntil(double deadline);
    /// Runs them until `done` returns true (tested after every item and at least every few
    /// milliseconds), media time `deadline` passes, or `stop`. Returns what `done` says last.
    bool runUntil(const std::function<bool()>& done, double deadline);
    /// Runs the main work that is due now and returns the media time at which more falls
    /// due (infinity when nothing is queued), for an outer event loop that drives the main
    /// thread; pair it with `setMainWakeHandler`.
    double runDueWork() override;
    /// Called from whatever thread queues main work, so an outer event loop can wake up.
    void setMainWakeHandler(std::function<void()> handler) override;
    /// Makes the pump that runs now, or else the next one, return. Any thread.
    void stop();

  private:
    bool pump(const std::function<bool()>* done, double deadline);
    void requireMainThread() const;

    std::thread::id mainThread_;
    std::shared_ptr<WorkLoop> mainLoop_;
    std::unique_ptr<DispatchQueue> mainQueue_;
    std::atomic<bool> stopRequested_{false};
};

}  // namespace corvane::platform::live
