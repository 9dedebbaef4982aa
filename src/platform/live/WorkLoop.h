#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/live/SteadyClock.h"

namespace corvane::platform::live {

/// Work items ordered by due time (seconds of the live media clock) and then by the order in
/// which they were posted, run one at a time by whoever drives the loop: a serial queue's
/// thread, or the main thread's pump. Posting is safe from any thread and does not allocate
/// beyond what the work item itself needs once the loop has grown to its usual size. One
/// thread at a time waits for work; a post wakes it only when it sleeps past the new item's
/// due time, so that a busy loop is handed work without a system call.
class WorkLoop {
  public:
    WorkLoop() { heap_.reserve(kReservedItems); }

    /// Queues `work` to run `delay` seconds from now (0: as soon as possible, after what is
    /// already due).
    void post(double delay, std::function<void()> work);
    /// Queues `work` to run at media time `due`.
    void postAt(double due, std::function<void()> work);

    /// Runs on the calling thread every item that is due now, in order, including items that
    /// this work queues for now. Returns the due time of the next item (infinity when none)
    /// or returns early when `interrupted()` returns true (checked after each item).
    template <class Interrupted>
    double runDue(Interrupted&& interrupted);
    double runDue() {
        return runDue([] { return false; });
    }

    /// Blocks until `deadline`, until an item falls due (also one posted meanwhile) or until
    /// `interrupt` is called, whichever comes first.
    void waitUntil(double deadline);
    /// Wakes a `waitUntil` in progress, or else ends the next one at once: an interrupt that
    /// lands between the waiter's last look at its state and its wait is not lost.
    void interrupt();

    /// Runs items as they fall due until `stop` (the body of a serial queue's thread).
    void runUntilStopped();
    void stop();

    /// Called (outside the loop's lock) after every post, e.g. to wake an outer event loop.
    void setPostHandler(std::function<void()> handler);

  private:
    /// Items a busy loop holds at once; reserved so that posting does not allocate.
    static constexpr std::size_t kReservedItems = 256;

    struct Item {
        double due;
        std::uint64_t sequence;
        std::function<void()> work;
    };
    static bool later(const Item& a, const Item& b) {
        return a.due != b.due ? a.due > b.due : a.sequence > b.sequence;
    }
    void push(double due, bool relative, std::function<void()> work);
    /// Pops the first item when it is due at `now`; the caller holds the lock.
    bool popDue(double now, std::function<void()>& work);
    /// Due time of the first item, infinity when none; the caller holds the lock.
    double nextDueLocked() const {
        return heap_.empty() ? std::numeric_limits<double>::infinity() : heap_.front().due;
    }
    /// Sleeps on `lock` until `until` (infinity: until woken) or a wake-up, recording when the
    /// waiter means to wake, so that posts know whether to wake it.
    void sleepLocked(std::unique_lock<std::mutex>& lock, double until);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Item> heap_;
    std::uint64_t nextSequence_ = 0;
    std::uint64_t wakeups_ = 0;
    /// When the sleeping waiter wakes by itself, seconds of the media clock; minus infinity
    /// while no one sleeps.
    double sleepingUntil_ = -std::numeric_limits<double>::infinity();
    bool stopped_ = false;
    /// An interrupt that no `waitUntil` has answered yet.
    bool interruptPending_ = false;
    /// Shared, so that a post takes a reference to it instead of a copy.
    std::shared_ptr<const std::function<void()>> postHandler_;
};

template <class Interrupted>
double WorkLoop::runDue(Interrupted&& interrupted) {
    std::function<void()> work;
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (!popDue(steadySeconds(), work)) {
                return nextDueLocked();
            }
        }
        work();
        work = nullptr;  // destroyed before the lock is taken again
        if (interrupted()) {
            std::lock_guard lock(mutex_);
            return nextDueLocked();
        }
    }
}

}  // namespace corvane::platform::live
