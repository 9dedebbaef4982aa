#include "platform/sim/VirtualRuntime.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace corvane::platform::sim {

namespace {

class LaneQueue final : public DispatchQueue {
  public:
    LaneQueue(VirtualRuntime& rt, VirtualRuntime::LaneId lane, std::string label,
              QualityOfService qos)
        : rt_(rt), lane_(lane), label_(std::move(label)), qos_(qos) {}

    const std::string& label() const override { return label_; }
    QualityOfService qos() const override { return qos_; }
    void async(std::function<void()> work) override {
        rt_.postUncancellable(lane_, rt_.mediaTime(), std::move(work));
    }
    void asyncAfter(double delay, std::function<void()> work) override {
        rt_.postUncancellable(lane_, rt_.mediaTime() + std::max(0.0, delay), std::move(work));
    }
    bool isCurrent() const override { return rt_.currentLane() == lane_; }

    VirtualRuntime::LaneId lane() const { return lane_; }

  private:
    VirtualRuntime& rt_;
    VirtualRuntime::LaneId lane_;
    std::string label_;
    QualityOfService qos_;
};

class LaneTimerSource final : public DispatchSourceTimer,
                              public std::enable_shared_from_this<LaneTimerSource> {
  public:
    LaneTimerSource(VirtualRuntime& rt, VirtualRuntime::LaneId lane) : rt_(rt), lane_(lane) {}

    void schedule(double deadline, double interval, double /*leeway*/) override {
        deadline_ = deadline;
        interval_ = interval;
        scheduled_ = true;
        if (resumed_) {
            arm(deadline_);
        }
    }
    void setEventHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    void resume() override {
        if (resumed_ || cancelled_) {
            return;
        }
        resumed_ = true;
        if (scheduled_) {
            arm(deadline_);
        }
    }
    void cancel() override {
        cancelled_ = true;
        pending_.cancel();
    }
    bool isCancelled() const override { return cancelled_; }

  private:
    void arm(double due) {
        pending_.cancel();
        std::weak_ptr<LaneTimerSource> weak = weak_from_this();
        pending_ = rt_.post(lane_, due, [weak, due] {
            if (auto self = weak.lock()) {
                self->fire(due);
            }
        });
    }
    void fire(double due) {
        if (cancelled_) {
            return;
        }
        if (interval_ > 0) {
            arm(due + interval_);
        }
        if (handler_) {
            auto handler = handler_;  // the handler may cancel or replace itself
            handler();
        }
    }

    VirtualRuntime& rt_;
    VirtualRuntime::LaneId lane_;
    std::function<void()> handler_;
    double deadline_ = 0;
    double interval_ = 0;
    bool scheduled_ = false;
    bool resumed_ = false;
    bool cancelled_ = false;
    VirtualRuntime::TaskHandle pending_;
};

class MainLaneTimer final : public Timer, public std::enable_shared_from_this<MainLaneTimer> {
  public:
    MainLaneTimer(VirtualRuntime& rt, double interval, bool repeats,
                  std::function<void(Timer&)> block)
        : rt_(rt), interval_(interval), repeats_(repeats), block_(std::move(block)) {}

    void arm(double due) {
        std::weak_ptr<MainLaneTimer> weak = weak_from_this();
        pending_ = rt_.post(VirtualRuntime::kMainLane, due, [weak, due] {
            if (auto self = weak.lock()) {
                self->fire(due);
            }
        });
    }
    void invalidate() override {
        valid_ = false;
        pending_.cancel();
        block_ = nullptr;
    }
    bool isValid() const override { return valid_; }
    double interval() const override { return interval_; }
    bool repeats() const override { return repeats_; }

  private:
    void fire(double due) {
        if (!valid_) {
            return;
        }
        // The run loop keeps a scheduled timer alive while it fires.
        auto keepAlive = shared_from_this();
        if (repeats_) {
            arm(due + std::max(interval_, kMinimumRepeatInterval));
        } else {
            valid_ = false;
        }
        if (block_) {
            auto block = block_;
            block(*this);
        }
        if (!repeats_) {
            block_ = nullptr;
        }
    }

    VirtualRuntime& rt_;
    double interval_;
    bool repeats_;
    bool valid_ = true;
    std::function<void(Timer&)> block_;
    VirtualRuntime::TaskHandle pending_;
};

}  // namespace

VirtualRuntime::VirtualRuntime() {
    laneNames_.emplace_back("main");
    mainQueue_ = std::make_unique<LaneQueue>(*this, kMainLane, "com.apple.main-thread",
                                             QualityOfService::userInteractive);
}

VirtualRuntime::LaneId VirtualRuntime::makeLane(std::string name) {
    laneNames_.push_back(std::move(name));
    return static_cast<LaneId>(laneNames_.size() - 1);
}

std::shared_ptr<DispatchQueue> VirtualRuntime::makeSerialQueue(std::string label,
                                                               QualityOfService qos) {
    LaneId lane = makeLane(label);
    return std::make_shared<LaneQueue>(*this, lane, std::move(label), qos);
}

std::shared_ptr<DispatchSourceTimer> VirtualRuntime::makeTimerSource(
    std::shared_ptr<DispatchQueue> queue) {
    return std::make_shared<LaneTimerSource>(*this, laneOf(*queue));
}

VirtualRuntime::LaneId VirtualRuntime::laneOf(const DispatchQueue& queue) {
    const auto* laneQueue = dynamic_cast<const LaneQueue*>(&queue);
    if (laneQueue == nullptr) {
        throw std::logic_error("VirtualRuntime: the queue is not one of this runtime");
    }
    return laneQueue->lane();
}

std::shared_ptr<Timer> VirtualRuntime::scheduleTimer(double interval, bool repeats,
                                                     std::function<void(Timer&)> block) {
    auto timer = std::make_shared<MainLaneTimer>(*this, interval, repeats, std::move(block));
    timer->arm(now_ + std::max(interval, 0.0));
    return timer;
}

VirtualRuntime::TaskHandle VirtualRuntime::post(LaneId lane, double due,
                                                std::function<void()> work) {
    return postInReservedOrder(lane, due, nextSequence_++, std::move(work));
}

void VirtualRuntime::postUncancellable(LaneId lane, double due, std::function<void()> work) {
    if (due <= now_) {
        instantTasks_.push_back(Task{now_, nextSequence_++, lane, std::move(work), nullptr});
    } else {
        tasks_.push(Task{due, nextSequence_++, lane, std::move(work), nullptr});
    }
}

std::uint64_t VirtualRuntime::reserveOrder(std::uint64_t count) {
    const std::uint64_t first = nextSequence_;
    nextSequence_ += count;
    return first;
}

VirtualRuntime::TaskHandle VirtualRuntime::postInReservedOrder(LaneId lane, double due,
                                                               std::uint64_t place,
                                                               std::function<void()> work) {
    auto cancelled = std::make_shared<bool>(false);
    tasks_.push(Task{std::max(due, now_), place, lane, std::move(work), cancelled});
    return TaskHandle(std::move(cancelled));
}

bool VirtualRuntime::takeDue(double mediaTime, Task& task) {
    const bool haveInstant = instantHead_ < instantTasks_.size();
    if (!haveInstant && tasks_.empty())
        return false;
    if (haveInstant && (tasks_.empty() || !Later{}(instantTasks_[instantHead_], tasks_.top()))) {
        if (instantTasks_[instantHead_].due > mediaTime)
            return false;
        task = std::move(instantTasks_[instantHead_++]);
        if (instantHead_ == instantTasks_.size()) {
            instantTasks_.clear();  // the capacity stays: queueing allocates nothing
            instantHead_ = 0;
        } else if (instantHead_ >= 64 && 2 * instantHead_ >= instantTasks_.size()) {
            // Work that keeps queueing more for now never drains it: drop what already ran.
            instantTasks_.erase(instantTasks_.begin(),
                                instantTasks_.begin() + static_cast<std::ptrdiff_t>(instantHead_));
            instantHead_ = 0;
        }
        return true;
    }
    if (tasks_.top().due > mediaTime)
        return false;
    // priority_queue::top is const; the task is moved out before pop.
    task = std::move(const_cast<Task&>(tasks_.top()));  // NOLINT
    tasks_.pop();
    return true;
}

void VirtualRuntime::runUntil(double mediaTime) {
    std::size_t ran = 0;
    for (;;) {
        Task task;  // each item's work is released as soon as it has run
        if (!takeDue(mediaTime, task))
            break;
        if (task.cancelled && *task.cancelled) {
            continue;
        }
        if (++ran > runawayLimit_) {
            throw std::runtime_error("VirtualRuntime: work keeps re-queueing itself");
        }
        now_ = std::max(now_, task.due);
        if (task.cancelled)
            *task.cancelled = true;  // it ran; a later cancel is a no-op
        runOnLane(task.lane, task.work);
    }
    now_ = std::max(now_, mediaTime);
}

void VirtualRuntime::runOnLane(LaneId lane, const std::function<void()>& work) {
    struct LaneScope {
        LaneId& current;
        LaneId previous;
        ~LaneScope() { current = previous; }
    } scope{currentLane_, currentLane_};
    currentLane_ = lane;
    work();
}

void VirtualRuntime::runOnQueueForTesting(const DispatchQueue& queue,
                                          const std::function<void()>& work) {
    runOnLane(laneOf(queue), work);
}

void VirtualRuntime::jump(double seconds) {
    now_ += std::max(0.0, seconds);
}

double VirtualRuntime::nextDueTime() {
    while (!tasks_.empty() && tasks_.top().cancelled && *tasks_.top().cancelled) {
        tasks_.pop();
    }
    double due = tasks_.empty() ? std::numeric_limits<double>::infinity() : tasks_.top().due;
    if (instantHead_ < instantTasks_.size())
        due = std::min(due, instantTasks_[instantHead_].due);
    return due;
}

VirtualRuntime& virtualRuntime() {
    auto* rt = dynamic_cast<VirtualRuntime*>(&runtime());
    if (rt == nullptr) {
        throw std::logic_error("the simulated session's runtime is not installed");
    }
    return *rt;
}

}  // namespace corvane::platform::sim
