#pragma once

#include <cstdint>
#include <memory>

#include "platform/quartz/CGDisplay.h"

namespace corvane::platform {

/// The result of a Core Video call; 0 is success.
using CVReturn = std::int32_t;
constexpr CVReturn kCVReturnSuccess = 0;
constexpr CVReturn kCVReturnError = -6660;
constexpr CVReturn kCVReturnInvalidArgument = -6661;
constexpr CVReturn kCVReturnInvalidDisplay = -6670;
constexpr CVReturn kCVReturnDisplayLinkCallbacksNotSet = -6673;

using CVOptionFlags = std::uint64_t;

/// A moment of a display link: `hostTime` in ticks of the host clock
/// (`CVGetHostClockFrequency` ticks per second).
struct CVTimeStamp {
    std::uint64_t hostTime = 0;
};

class CVDisplayLink;

/// Called once per frame on the display link's own thread. `inNow` is when the callback
/// runs, `inOutputTime` when the frame it prepares will be shown. Returns a CVReturn.
using CVDisplayLinkOutputCallback = CVReturn (*)(CVDisplayLink* displayLink,
                                                 const CVTimeStamp* inNow,
                                                 const CVTimeStamp* inOutputTime,
                                                 CVOptionFlags flagsIn, CVOptionFlags* flagsOut,
                                                 void* displayLinkContext);

/// A display link: a source of frames paced by one display's refresh, delivering them to its
/// output callback on a thread of its own while it runs. Implemented by the simulated session
/// (frames on the virtual clock) and by the live runtime (a real thread).
class CVDisplayLink {
  public:
    virtual ~CVDisplayLink() = default;

    /// The display whose refresh paces the link.
    virtual CGDirectDisplayID display() const = 0;
    virtual void setOutputCallback(CVDisplayLinkOutputCallback callback, void* context) = 0;
    /// Starts delivering frames; a running link stays running.
    virtual CVReturn start() = 0;
    /// Stops delivering frames: once it returns, no callback of this link runs any more
    /// (unless it is called from the callback itself).
    virtual CVReturn stop() = 0;
    virtual bool isRunning() const = 0;
};

/// A retained reference to a display link; releasing the last one stops it.
using CVDisplayLinkRef = std::shared_ptr<CVDisplayLink>;

/// Makes a stopped display link for `display` into `displayLinkOut` (null when none could be
/// made) and returns the result. The simulated session can be told to fail, with or without
/// handing back a link.
CVReturn CVDisplayLinkCreateWithCGDisplay(CGDirectDisplayID display,
                                          CVDisplayLinkRef* displayLinkOut);
CVReturn CVDisplayLinkSetOutputCallback(const CVDisplayLinkRef& displayLink,
                                        CVDisplayLinkOutputCallback callback, void* context);
CVReturn CVDisplayLinkStart(const CVDisplayLinkRef& displayLink);
CVReturn CVDisplayLinkStop(const CVDisplayLinkRef& displayLink);
bool CVDisplayLinkIsRunning(const CVDisplayLinkRef& displayLink);
/// Ticks of the host clock per second.
double CVGetHostClockFrequency();

}  // namespace corvane::platform
