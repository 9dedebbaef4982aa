#include "platform/corevideo/CVDisplayLink.h"

#include "platform/live/LiveDisplayLink.h"
#include "platform/live/ThreadRuntime.h"
#include "platform/runtime/Runtime.h"
#include "platform/sim/SimDisplayLink.h"

namespace corvane::platform {

CVReturn CVDisplayLinkCreateWithCGDisplay(CGDirectDisplayID display,
                                          CVDisplayLinkRef* displayLinkOut) {
    if (displayLinkOut == nullptr) {
        return kCVReturnInvalidArgument;
    }
    *displayLinkOut = nullptr;
    // The installed runtime decides where frames come from: a real thread under the live
    // runtime, the virtual clock otherwise.
    if (dynamic_cast<live::ThreadRuntime*>(&runtime()) != nullptr) {
        return live::LiveDisplayLink::create(display, displayLinkOut);
    }
    return sim::SimDisplayLink::create(display, displayLinkOut);
}

CVReturn CVDisplayLinkSetOutputCallback(const CVDisplayLinkRef& displayLink,
                                        CVDisplayLinkOutputCallback callback, void* context) {
    if (!displayLink) {
        return kCVReturnInvalidArgument;
    }
    displayLink->setOutputCallback(callback, context);
    return kCVReturnSuccess;
}

CVReturn CVDisplayLinkStart(const CVDisplayLinkRef& displayLink) {
    return displayLink ? displayLink->start() : kCVReturnInvalidArgument;
}

CVReturn CVDisplayLinkStop(const CVDisplayLinkRef& displayLink) {
    return displayLink ? displayLink->stop() : kCVReturnInvalidArgument;
}

bool CVDisplayLinkIsRunning(const CVDisplayLinkRef& displayLink) {
    return displayLink && displayLink->isRunning();
}

double CVGetHostClockFrequency() {
    return runtime().hostClockFrequency();
}

}  // namespace corvane::platform
