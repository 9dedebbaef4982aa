#include "platform/corevideo/CVDisplayLink.h"

#include "platform/corevideo/DisplayLinkBackend.h"
#include "platform/runtime/BackendSlot.h"
#include "platform/runtime/Runtime.h"

namespace corvane::platform {

namespace {

BackendSlot<DisplayLinkBackend>& slot() {
    return backendSlot<DisplayLinkBackend>("display-link");
}

}  // namespace

void installDisplayLinkBackend(std::shared_ptr<DisplayLinkBackend> backend) {
    slot().install(std::move(backend));
}

CVReturn CVDisplayLinkCreateWithCGDisplay(CGDirectDisplayID display,
                                          CVDisplayLinkRef* displayLinkOut) {
    if (displayLinkOut == nullptr) {
        return kCVReturnInvalidArgument;
    }
    *displayLinkOut = nullptr;
    return slot().get().createDisplayLink(display, displayLinkOut);
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
