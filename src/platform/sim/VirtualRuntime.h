#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <queue>
#include <string>
#include <vector>

#include "platform/runtime/Runtime.h"

namespace corvane::platform::sim {

/// The simulated session's runtime: a virtual media clock and one scheduler on which the
/// main run loop, every serial queue and every display-link thread are lanes of work,
/// ordered by due time and then by the order in which the work was queued. Nothing runs
/// until a test (or the session driver) moves the clock; nothing ever sleeps.
class VirtualRuntime final : public Runtime {
  public:
    /// A realistic uptime, so that "0 means never" sentinels hold from the first tick.
    static constexpr double kStartMediaTime = 1000.0;
    /// 2026-01-01T00:00:00Z, seconds since 1970; the wall clock advances with the media clock.
    static constexpr double kStartWallTime = 1767225600.0;

    using LaneId = std::uint32_t;
    static constexpr LaneId kMainLane = 0;

    /// Cancels one queued work item when called (a no-op once it ran).
    class TaskHandle {
      public:
        TaskHandle() = default;
        explicit TaskHandle(std::shared_ptr<bool> cancelled) : cancelled_(std::move(cancelled)) {}
        void cancel() const {
            if (cancelled_) {
                *cancelled_ = true;
            }
        }

      private:
        std::shared_ptr<bool> cancelled_;
    };

    VirtualRuntime();

    // Runtime
    double mediaTime() const override { return now_; }
    double wallTime() const override { return kStartWallTime + (now_ - kStartMediaTime); }
    double hostClockFrequency() const override { return 1e9; }
    DispatchQueue& mainQueue() override { return *mainQueue_; }
    std::shared_ptr<DispatchQueue> makeSerialQueue(std::string label,
                                                   QualityOfService qos) override;
    std::shared_ptr<DispatchSourceTimer> makeTimerSource(
        std::shared_ptr<DispatchQueue> queue) override;
    std::shared_ptr<Timer> scheduleTimer(double interval, bool repeats,
                                         std::function<void(Timer&)> block) override;
    bool isMainThread() const override { return currentLane_ == kMainLane; }
    std::string currentThreadLabel() const override { return laneName(currentLane_); }

    /// A new lane of work (a queue or a display-link thread), named for diagnostics.
    LaneId makeLane(std::string name);
    const std::string& laneName(LaneId lane) const { return laneNames_.at(lane); }
    /// The lane whose work is running; the main lane when the test body itself runs.
    LaneId currentLane() const { return currentLane_; }

    /// Queues `work` on `lane`, due at media time `due` (never earlier than now).
    TaskHandle post(LaneId lane, double due, std::function<void()> work);
    /// The same for work that is never cancelled: no handle is made, so queueing allocates
    /// nothing beyond what the work itself needs (a queue's `async`).
    void postUncancellable(LaneId lane, double due, std::function<void()> work);
    /// Reserves `count` consecutive places in the order of queued work and returns the first.
    /// Work queued later at a reserved place runs, among the work due at its time, where it
    /// would have run had it been queued at the reservation: a long script can be queued one
    /// item at a time and still interleave exactly as if it had been queued all at once.
    std::uint64_t reserveOrder(std::uint64_t count);
    /// `post` at a place that `reserveOrder` gave.
    TaskHandle postInReservedOrder(LaneId lane, double due, std::uint64_t place,
                                   std::function<void()> work);

    /// Fast-forwards: runs every work item due up to `mediaTime` in its natural order, each
    /// at its own due time, then leaves the clock at `mediaTime`.
    void runUntil(double mediaTime);
    /// `runUntil(now + seconds)`.
    void advance(double seconds) { runUntil(now_ + seconds); }
    /// Runs what is due now (and what that queues for now) without moving the clock.
    void runPending() { runUntil(now_); }
    /// Moves the clock forward without running anything.
    void jump(double seconds);

    /// Runs `work` at once as work of `queue` (a queue of this runtime), as a queued item
    /// would run, without running anything else or moving the clock: for a test that drives
    /// a queue's functions by hand.
    void runOnQueueForTesting(const DispatchQueue& queue, const std::function<void()>& work);

    /// How many work items one fast-forward may run before it fails as runaway work.
    void setRunawayLimitForTesting(std::size_t limit) { runawayLimit_ = limit; }
    /// Due time of the earliest queued work, or infinity when nothing is queued. Cancelled
    /// work at the front of the queue is dropped on the way.
    double nextDueTime();

  private:
    struct Task {
        double due;
        std::uint64_t sequence;
        LaneId lane;
        std::function<void()> work;
        std::shared_ptr<bool> cancelled;  ///< null for work that cannot be cancelled
    };
    struct Later {
        bool operator()(const Task& a, const Task& b) const {
            return a.due != b.due ? a.due > b.due : a.sequence > b.sequence;
        }
    };

    /// Takes the earliest queued work due by `mediaTime` into `task`, from the heap or from
    /// the work queued for its instant, whichever comes first in the order; false when none
    /// is due.
    bool takeDue(double mediaTime, Task& task);
    /// The lane of a queue of this runtime; throws std::logic_error for any other queue.
    static LaneId laneOf(const DispatchQueue& queue);
    /// Runs `work` as work of `lane`.
    void runOnLane(LaneId lane, const std::function<void()>& work);

    double now_ = kStartMediaTime;
    // A bound on the work one fast-forward may run, so that work that keeps re-queueing itself
    // for "now" fails loudly instead of hanging.
    std::size_t runawayLimit_ = 50'000'000;
    std::uint64_t nextSequence_ = 0;
    LaneId currentLane_ = kMainLane;
    std::vector<std::string> laneNames_;
    std::priority_queue<Task, std::vector<Task>, Later> tasks_;
    /// Uncancellable work queued for the instant at which it was queued (a queue's `async`),
    /// from `instantHead_` on, kept out of the heap: most work is queued for now. Queued at a
    /// clock that never goes back, each with a later place, it is in the heap's order already.
    std::vector<Task> instantTasks_;
    std::size_t instantHead_ = 0;
    std::unique_ptr<DispatchQueue> mainQueue_;
};

/// The installed runtime as the virtual one; throws std::logic_error when the live runtime
/// is installed. Tests and the session driver use it to move the clock.
VirtualRuntime& virtualRuntime();

}  // namespace corvane::platform::sim
