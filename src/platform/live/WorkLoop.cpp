#include "platform/live/WorkLoop.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace corvane::platform::live {

void WorkLoop::post(double delay, std::function<void()> work) {
    push(std::max(0.0, delay), true, std::move(work));
}

void WorkLoop::postAt(double due, std::function<void()> work) {
    push(due, false, std::move(work));
}

void WorkLoop::push(double due, bool relative, std::function<void()> work) {
    std::shared_ptr<const std::function<void()>> handler;
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        // Read under the lock, so that items posted for "now" keep the order of posting.
        if (relative) {
            due += steadySeconds();
        }
        heap_.push_back(Item{due, nextSequence_++, std::move(work)});
        std::push_heap(heap_.begin(), heap_.end(), later);
        // A waiter that wakes by itself before the item falls due finds it then.
        if (due < sleepingUntil_) {
            ++wakeups_;
            sleepingUntil_ = -std::numeric_limits<double>::infinity();
            wake = true;
        }
        handler = postHandler_;
    }
    if (wake) {
        changed_.notify_one();
    }
    if (handler) {
        (*handler)();
    }
}

bool WorkLoop::popDue(double now, std::function<void()>& work) {
    if (heap_.empty() || heap_.front().due > now) {
        return false;
    }
    std::pop_heap(heap_.begin(), heap_.end(), later);
    work = std::move(heap_.back().work);
    heap_.pop_back();
    return true;
}

void WorkLoop::sleepLocked(std::unique_lock<std::mutex>& lock, double until) {
    const std::uint64_t seen = wakeups_;
    sleepingUntil_ = until;
    const auto woken = [&] { return wakeups_ != seen || stopped_; };
    if (std::isinf(until)) {
        changed_.wait(lock, woken);
    } else {
        changed_.wait_until(lock, steadyTimePoint(until), woken);
    }
    sleepingUntil_ = -std::numeric_limits<double>::infinity();
}

void WorkLoop::waitUntil(double deadline) {
    std::unique_lock lock(mutex_);
    if (std::exchange(interruptPending_, false)) {
        return;
    }
    const double until = std::min(deadline, nextDueLocked());
    if (until <= steadySeconds()) {
        return;
    }
    sleepLocked(lock, until);
    interruptPending_ = false;  // answered by this wake-up, whatever woke it
}

void WorkLoop::interrupt() {
    {
        std::lock_guard lock(mutex_);
        interruptPending_ = true;
        ++wakeups_;
    }
    changed_.notify_one();
}

void WorkLoop::runUntilStopped() {
    std::unique_lock lock(mutex_);
    std::function<void()> work;
    while (!stopped_) {
        if (popDue(steadySeconds(), work)) {
            lock.unlock();
            work();
            work = nullptr;
            lock.lock();
        } else {
            sleepLocked(lock, nextDueLocked());
        }
    }
}

void WorkLoop::stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_one();
}

void WorkLoop::setPostHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    postHandler_ =
        handler ? std::make_shared<const std::function<void()>>(std::move(handler)) : nullptr;
}

}  // namespace corvane::platform::live
