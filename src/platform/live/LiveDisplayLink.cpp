#include "platform/live/LiveDisplayLink.h"

#include <algorithm>
#include <condition_variable>

#include "platform/live/SteadyClock.h"
#include "platform/live/ThreadRuntime.h"

namespace corvane::platform::live {

/// What one running period of the link's thread needs; the thread owns a reference, so it
/// never touches the link object itself.
struct LiveDisplayLink::Run {
    CVDisplayLink* link;
    FrameGrid grid;
    CVDisplayLinkOutputCallback callback;
    void* context;
    std::mutex mutex;
    std::condition_variable stopped;
    bool stopRequested = false;
};

LiveDisplayLink::LiveDisplayLink(CGDirectDisplayID display, double refreshRate)
    : display_(display), grid_{FrameGrid::periodFor(refreshRate)} {}

LiveDisplayLink::~LiveDisplayLink() {
    stop();
}

void LiveDisplayLink::setOutputCallback(CVDisplayLinkOutputCallback callback, void* context) {
    std::lock_guard lock(mutex_);
    callback_ = callback;
    context_ = context;
}

CVReturn LiveDisplayLink::start() {
    std::lock_guard lock(mutex_);
    if (run_) {
        return kCVReturnSuccess;
    }
    if (callback_ == nullptr) {
        return kCVReturnDisplayLinkCallbacksNotSet;
    }
    run_ = std::make_shared<Run>();
    run_->link = this;
    run_->grid = grid_;
    run_->callback = callback_;
    run_->context = context_;
    thread_ = std::thread([run = run_, name = "CVDisplayLink " + std::to_string(display_)] {
        ThreadRuntime::labelCurrentThread(name);
        tick(run);
    });
    return kCVReturnSuccess;
}

CVReturn LiveDisplayLink::stop() {
    std::shared_ptr<Run> run;
    std::thread thread;
    {
        std::lock_guard lock(mutex_);
        run = std::move(run_);
        thread = std::move(thread_);
    }
    if (!run) {
        return kCVReturnSuccess;
    }
    {
        std::lock_guard lock(run->mutex);
        run->stopRequested = true;
    }
    run->stopped.notify_all();
    if (thread.get_id() == std::this_thread::get_id()) {
        thread.detach();  // stopped from its own callback: it ends after the callback returns
    } else {
        thread.join();
    }
    return kCVReturnSuccess;
}

bool LiveDisplayLink::isRunning() const {
    std::lock_guard lock(mutex_);
    return run_ != nullptr;
}

void LiveDisplayLink::tick(const std::shared_ptr<Run>& run) {
    const FrameGrid& grid = run->grid;
    std::uint64_t frame = grid.firstIndexAfter(steadySeconds());
    for (;;) {
        {
            std::unique_lock lock(run->mutex);
            if (run->stopped.wait_until(lock, steadyTimePoint(grid.timeOf(frame)),
                                        [&] { return run->stopRequested; })) {
                return;
            }
        }
        const double frameTime = grid.timeOf(frame);
        const CVTimeStamp inNow{FrameGrid::hostTicks(frameTime, kHostClockFrequency)};
        const CVTimeStamp inOutputTime{
            FrameGrid::hostTicks(frameTime + grid.period, kHostClockFrequency)};
        CVOptionFlags flagsOut = 0;
        run->callback(run->link, &inNow, &inOutputTime, 0, &flagsOut, run->context);
        // Frames less than a period late are still delivered; older ones are skipped.
        frame = std::max(frame + 1, grid.firstIndexAfter(steadySeconds() - grid.period));
    }
}

}  // namespace corvane::platform::live
