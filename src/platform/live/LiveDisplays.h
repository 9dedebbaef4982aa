#pragma once

#include "platform/corevideo/DisplayLinkBackend.h"
#include "platform/quartz/DisplayBackend.h"
#include "platform/quartz/DisplayConfiguration.h"

namespace corvane::platform::live {

/// The live backend's screens and display links. This machine offers no display of the
/// platform, so the screens are a configuration (one 1920 x 1080 display at 60 Hz unless
/// set otherwise); display links are real threads paced by their display's refresh rate.
/// Usable from any thread.
class LiveDisplays final : public DisplayConfiguration,
                           public DisplayBackend,
                           public DisplayLinkBackend {
  public:
    const DisplayConfiguration& configuration() const override { return *this; }
    CGError lookupError() const override { return kCGErrorSuccess; }

    /// A stopped `LiveDisplayLink` for a display of the configuration; an unknown display
    /// gives kCVReturnInvalidDisplay and no link.
    CVReturn createDisplayLink(CGDirectDisplayID display,
                               CVDisplayLinkRef* displayLinkOut) override;
};

}  // namespace corvane::platform::live
