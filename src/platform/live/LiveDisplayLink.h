#pragma once

#include <memory>
#include <mutex>
#include <thread>

#include "platform/corevideo/CVDisplayLink.h"
#include "platform/corevideo/FrameGrid.h"

namespace corvane::platform::live {

/// A display link of the live runtime: while running, a real thread wakes at every whole
/// multiple of the display's refresh period on the live media clock and calls the callback,
/// with `inNow` the frame's time and `inOutputTime` one period later (host ticks). A thread
/// that falls behind skips the frames it missed. Usable from any thread.
class LiveDisplayLink final : public CVDisplayLink {
  public:
    LiveDisplayLink(CGDirectDisplayID display, double refreshRate);
    ~LiveDisplayLink() override;

    CGDirectDisplayID display() const override { return display_; }
    void setOutputCallback(CVDisplayLinkOutputCallback callback, void* context) override;
    CVReturn start() override;
    CVReturn stop() override;
    bool isRunning() const override;

  private:
    struct Run;
    static void tick(const std::shared_ptr<Run>& run);

    const CGDirectDisplayID display_;
    const FrameGrid grid_;
    mutable std::mutex mutex_;
    CVDisplayLinkOutputCallback callback_ = nullptr;
    void* context_ = nullptr;
    std::shared_ptr<Run> run_;  ///< the thread's state while running
    std::thread thread_;
};

}  // namespace corvane::platform::live
