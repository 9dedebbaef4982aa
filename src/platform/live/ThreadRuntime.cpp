#include "platform/live/ThreadRuntime.h"

#include <chrono>
#include <limits>
#include <stdexcept>

#include "platform/live/LiveTimerSource.h"
#include "platform/live/SteadyClock.h"

namespace corvane::platform::live {

namespace {

/// The calling thread's label; empty for a thread that never named itself.
thread_local std::string currentThreadLabelStorage;

/// A queue whose work runs on one work loop.
class LoopQueue : public DispatchQueue {
  public:
    LoopQueue(std::shared_ptr<WorkLoop> loop, std::string label, QualityOfService qos)
        : loop_(std::move(loop)), label_(std::move(label)), qos_(qos) {}

    const std::string& label() const override { return label_; }
    QualityOfService qos() const override { return qos_; }
    void async(std::function<void()> work) override { loop_->post(0, std::move(work)); }
    void asyncAfter(double delay, std::function<void()> work) override {
        loop_->post(delay, std::move(work));
    }

    const std::shared_ptr<WorkLoop>& loop() const { return loop_; }

  private:
    std::shared_ptr<WorkLoop> loop_;
    std::string label_;
    QualityOfService qos_;
};

/// The main queue: its work runs when the main thread pumps.
class MainQueue final : public LoopQueue {
  public:
    MainQueue(const ThreadRuntime& runtime, std::shared_ptr<WorkLoop> loop)
        : LoopQueue(std::move(loop), "com.apple.main-thread", QualityOfService::userInteractive),
          runtime_(runtime) {}

    bool isCurrent() const override { return runtime_.isMainThread(); }

  private:
    const ThreadRuntime& runtime_;
};

/// A serial queue with a thread of its own.
class SerialQueue final : public LoopQueue {
  public:
    SerialQueue(std::string label, QualityOfService qos)
        : LoopQueue(std::make_shared<WorkLoop>(), std::move(label), qos),
          thread_([loop = loop(), name = LoopQueue::label()] {
              ThreadRuntime::labelCurrentThread(name);
              loop->runUntilStopped();
          }),
          threadId_(thread_.get_id()) {}

    ~SerialQueue() override {
        loop()->stop();
        // The last reference may be dropped by the queue's own work.
        if (std::this_thread::get_id() == threadId_) {
            thread_.detach();
        } else {
            thread_.join();
        }
    }

    bool isCurrent() const override { return std::this_thread::get_id() == threadId_; }

  private:
    std::thread thread_;
    std::thread::id threadId_;
};

/// A main-run-loop timer, fired by a timer source on the main loop. As on the platform, the
/// one who scheduled it keeps it: dropping the last reference ends it.
class MainLoopTimer final : public Timer, public std::enable_shared_from_this<MainLoopTimer> {
  public:
    MainLoopTimer(double interval, bool repeats, std::function<void(Timer&)> block)
        : interval_(interval), repeats_(repeats), block_(std::move(block)) {}

    void schedule(const std::shared_ptr<WorkLoop>& loop) {
        source_ = std::make_shared<LiveTimerSource>(loop);
        std::weak_ptr<MainLoopTimer> weak = weak_from_this();
        source_->setEventHandler([weak] {
            if (auto self = weak.lock()) {
                self->fire();
            }
        });
        const double period = std::max(interval_, kMinimumRepeatInterval);
        source_->schedule(steadySeconds() + std::max(interval_, 0.0), repeats_ ? period : 0, 0);
        source_->resume();
    }

    void invalidate() override {
        std::lock_guard lock(mutex_);
        valid_ = false;
        block_ = nullptr;
        source_->cancel();
    }
    bool isValid() const override {
        std::lock_guard lock(mutex_);
        return valid_;
    }
    double interval() const override { return interval_; }
    bool repeats() const override { return repeats_; }

  private:
    void fire() {
        std::function<void(Timer&)> block;
        {
            std::lock_guard lock(mutex_);
            if (!valid_) {
                return;
            }
            block = block_;
            if (!repeats_) {
                valid_ = false;
                block_ = nullptr;
            }
        }
        if (block) {
            block(*this);
        }
    }

    const double interval_;
    const bool repeats_;
    mutable std::mutex mutex_;
    bool valid_ = true;
    std::function<void(Timer&)> block_;
    std::shared_ptr<LiveTimerSource> source_;
};

}  // namespace

ThreadRuntime::ThreadRuntime()
    : mainThread_(std::this_thread::get_id()),
      mainLoop_(std::make_shared<WorkLoop>()),
      mainQueue_(std::make_unique<MainQueue>(*this, mainLoop_)) {}

ThreadRuntime::~ThreadRuntime() = default;

double ThreadRuntime::mediaTime() const {
    return steadySeconds();
}

std::string ThreadRuntime::currentThreadLabel() const {
    if (isMainThread()) {
        return "main";
    }
    return currentThreadLabelStorage.empty() ? "an unnamed thread" : currentThreadLabelStorage;
}

void ThreadRuntime::labelCurrentThread(std::string label) {
    currentThreadLabelStorage = std::move(label);
}

double ThreadRuntime::wallTime() const {
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

DispatchQueue& ThreadRuntime::mainQueue() {
    return *mainQueue_;
}

std::shared_ptr<DispatchQueue> ThreadRuntime::makeSerialQueue(std::string label,
                                                              QualityOfService qos) {
    return std::make_shared<SerialQueue>(std::move(label), qos);
}

std::shared_ptr<DispatchSourceTimer> ThreadRuntime::makeTimerSource(
    std::shared_ptr<DispatchQueue> queue) {
    auto* loopQueue = dynamic_cast<LoopQueue*>(queue.get());
    if (loopQueue == nullptr) {
        throw std::logic_error("ThreadRuntime: a timer source needs a queue of this runtime");
    }
    return std::make_shared<LiveTimerSource>(loopQueue->loop());
}

std::shared_ptr<Timer> ThreadRuntime::scheduleTimer(double interval, bool repeats,
                                                    std::function<void(Timer&)> block) {
    auto timer = std::make_shared<MainLoopTimer>(interval, repeats, std::move(block));
    timer->schedule(mainLoop_);
    return timer;
}

void ThreadRuntime::run() {
    pump(nullptr, std::numeric_limits<double>::infinity());
}

void ThreadRuntime::runUntil(double deadline) {
    pump(nullptr, deadline);
}

bool ThreadRuntime::runUntil(const std::function<bool()>& done, double deadline) {
    return pump(&done, deadline);
}

double ThreadRuntime::runDueWork() {
    requireMainThread();
    return mainLoop_->runDue();
}

void ThreadRuntime::setMainWakeHandler(std::function<void()> handler) {
    mainLoop_->setPostHandler(std::move(handler));
}

void ThreadRuntime::stop() {
    stopRequested_.store(true);
    mainLoop_->interrupt();
}

bool ThreadRuntime::pump(const std::function<bool()>* done, double deadline) {
    requireMainThread();
    // How often a predicate that other threads may satisfy is looked at while idle.
    constexpr double kPredicatePoll = 0.002;
    auto finished = [done] { return done != nullptr && (*done)(); };
    for (;;) {
        if (finished()) {
            return true;
        }
        if (stopRequested_.exchange(false)) {
            return false;
        }
        const double next = mainLoop_->runDue([&] { return stopRequested_.load() || finished(); });
        if (finished()) {
            return true;
        }
        const double now = mediaTime();
        if (stopRequested_.load() || now >= deadline) {
            stopRequested_.store(false);
            return false;
        }
        double wakeAt = std::min(next, deadline);
        if (done != nullptr) {
            wakeAt = std::min(wakeAt, now + kPredicatePoll);
        }
        mainLoop_->waitUntil(wakeAt);
    }
}

void ThreadRuntime::requireMainThread() const {
    if (!isMainThread()) {
        throw std::logic_error("ThreadRuntime: the main work runs only on the main thread");
    }
}

}  // namespace corvane::platform::live
