#include "platform/live/WorkLoop.h"

#include <algorithm>

namespace corvane::platform::live {

void WorkLoop::post(double delay, std::function<void()> work) {
    push(std::max(0.0, delay), true, std::move(work));
}

void WorkLoop::postAt(double due, std::function<void()> work) {
    push(due, false, std::move(work));
}

void WorkLoop::push(double due, bool relative, std::function<void()> work) {
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        // Read under the lock, so that items posted for "now" keep the order of posting.
        if (relative) {
            due += steadySeconds();
        }
        heap_.push_back(Item{due, nextSequence_++, std::move(work)});
        std::push_heap(heap_.begin(), heap_.end(), later);
        ++wakeups_;
        if (postHandler_) {
            handler = postHandler_;
        }
    }
    changed_.notify_all();
    if (handler) {
        handler();
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

void WorkLoop::waitUntil(double deadline) {
    std::unique_lock lock(mutex_);
    const std::uint64_t seen = wakeups_;
    const double until = std::min(deadline, nextDueLocked());
    if (until <= steadySeconds()) {
        return;
    }
    changed_.wait_until(lock, steadyTimePoint(until), [&] { return wakeups_ != seen; });
}

void WorkLoop::interrupt() {
    {
        std::lock_guard lock(mutex_);
        ++wakeups_;
    }
    changed_.notify_all();
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
        } else if (heap_.empty()) {
            changed_.wait(lock);
        } else {
            changed_.wait_until(lock, steadyTimePoint(heap_.front().due));
        }
    }
}

void WorkLoop::stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
}

void WorkLoop::setPostHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    postHandler_ = std::move(handler);
}

}  // namespace corvane::platform::live
