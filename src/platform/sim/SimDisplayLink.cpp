#include "platform/sim/SimDisplayLink.h"

#include <string>

#include "platform/sim/DisplayLinks.h"

namespace corvane::platform::sim {

SimDisplayLink::SimDisplayLink(VirtualRuntime& runtime, DisplayLinks& links,
                               CGDirectDisplayID display, double refreshRate)
    : runtime_(runtime),
      links_(links),
      lane_(runtime.makeLane("CVDisplayLink " + std::to_string(display))),
      display_(display),
      grid_{FrameGrid::periodFor(refreshRate)} {}

void SimDisplayLink::setOutputCallback(CVDisplayLinkOutputCallback callback, void* context) {
    callback_ = callback;
    context_ = context;
}

CVReturn SimDisplayLink::start() {
    if (auto failure = links_.consumeStartFailure()) {
        if (failure->runsAnyway) {
            beginFrames();
        }
        return failure->code;
    }
    if (callback_ == nullptr) {
        return kCVReturnDisplayLinkCallbacksNotSet;
    }
    beginFrames();
    return kCVReturnSuccess;
}

CVReturn SimDisplayLink::stop() {
    running_ = false;
    pendingFrame_.cancel();
    return kCVReturnSuccess;
}

void SimDisplayLink::beginFrames() {
    if (running_) {
        return;
    }
    running_ = true;
    scheduleNextFrame();
}

void SimDisplayLink::scheduleNextFrame() {
    std::weak_ptr<SimDisplayLink> weak = weak_from_this();
    const double due = grid_.timeOf(grid_.firstIndexAfter(runtime_.mediaTime()));
    pendingFrame_ = runtime_.post(lane_, due, [weak] {
        if (auto self = weak.lock()) {
            self->deliverFrame();
        }
    });
}

void SimDisplayLink::deliverFrame() {
    if (!running_) {
        return;
    }
    // A clock that jumped past several frames gets the next one on the grid, not a burst.
    scheduleNextFrame();
    if (runtime_.mediaTime() < stalledUntil_ || callback_ == nullptr) {
        return;
    }
    const double frequency = runtime_.hostClockFrequency();
    const double now = runtime_.mediaTime();
    const CVTimeStamp inNow{FrameGrid::hostTicks(now, frequency)};
    const CVTimeStamp inOutputTime{
        links_.zeroOutputHostTime() ? 0 : FrameGrid::hostTicks(now + grid_.period, frequency)};
    CVOptionFlags flagsOut = 0;
    ++framesDelivered_;
    callback_(this, &inNow, &inOutputTime, 0, &flagsOut, context_);
}

}  // namespace corvane::platform::sim
