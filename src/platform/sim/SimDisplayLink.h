#pragma once

#include <cstdint>
#include <limits>
#include <memory>

#include "platform/corevideo/CVDisplayLink.h"
#include "platform/corevideo/FrameGrid.h"
#include "platform/sim/VirtualRuntime.h"

namespace corvane::platform::sim {

class DisplayLinks;

/// A display link of the simulated session. While running it calls its callback on a lane of
/// its own of the virtual runtime once per refresh period of its display: the frames sit on
/// whole multiples of the period on the media clock, the first one after the start (a clock
/// that jumps skips the frames it passed). The callback's `inNow` host time is when it runs
/// and `inOutputTime` one period later, both times the host clock frequency (an output host
/// time of 0 when the session says so).
class SimDisplayLink final : public CVDisplayLink,
                             public std::enable_shared_from_this<SimDisplayLink> {
  public:
    /// A stopped link on `runtime` whose starts and frames follow the fault knobs of `links`.
    SimDisplayLink(VirtualRuntime& runtime, DisplayLinks& links, CGDirectDisplayID display,
                   double refreshRate);

    CGDirectDisplayID display() const override { return display_; }
    void setOutputCallback(CVDisplayLinkOutputCallback callback, void* context) override;
    CVReturn start() override;
    CVReturn stop() override;
    bool isRunning() const override { return running_; }

    /// From now on the link delivers nothing while it stays running (until media time
    /// `until`, seconds, when given).
    void stall(double until = std::numeric_limits<double>::infinity()) { stalledUntil_ = until; }

    /// Frames that every simulated link of the process has delivered to its callback.
    static std::uint64_t framesDelivered() { return framesDelivered_; }

  private:
    static inline std::uint64_t framesDelivered_ = 0;

    void beginFrames();
    void scheduleNextFrame();
    void deliverFrame();

    VirtualRuntime& runtime_;
    DisplayLinks& links_;
    VirtualRuntime::LaneId lane_;
    CGDirectDisplayID display_;
    FrameGrid grid_;
    CVDisplayLinkOutputCallback callback_ = nullptr;
    void* context_ = nullptr;
    bool running_ = false;
    double stalledUntil_ = -std::numeric_limits<double>::infinity();
    VirtualRuntime::TaskHandle pendingFrame_;
};

}  // namespace corvane::platform::sim
