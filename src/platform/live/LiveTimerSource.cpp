#include "platform/live/LiveTimerSource.h"

#include <cmath>

namespace corvane::platform::live {

void LiveTimerSource::schedule(double deadline, double interval, double /*leeway*/) {
    std::lock_guard lock(mutex_);
    deadline_ = deadline;
    interval_ = interval;
    scheduled_ = true;
    if (resumed_ && !cancelled_) {
        arm(deadline_);
    }
}

void LiveTimerSource::setEventHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

void LiveTimerSource::resume() {
    std::lock_guard lock(mutex_);
    if (resumed_ || cancelled_) {
        return;
    }
    resumed_ = true;
    if (scheduled_) {
        arm(deadline_);
    }
}

void LiveTimerSource::cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    ++generation_;
    handler_ = nullptr;
}

bool LiveTimerSource::isCancelled() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
}

void LiveTimerSource::arm(double due) {
    const std::uint64_t generation = ++generation_;
    std::weak_ptr<LiveTimerSource> weak = weak_from_this();
    loop_->postAt(due, [weak, generation, due] {
        if (auto self = weak.lock()) {
            self->fire(generation, due);
        }
    });
}

void LiveTimerSource::fire(std::uint64_t generation, double due) {
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        if (cancelled_ || generation != generation_) {
            return;
        }
        if (interval_ > 0) {
            const double missed = std::floor((steadySeconds() - due) / interval_);
            arm(due + (std::max(missed, 0.0) + 1) * interval_);
        }
        handler = handler_;  // the handler may cancel or replace itself
    }
    if (handler) {
        handler();
    }
}

}  // namespace corvane::platform::live
