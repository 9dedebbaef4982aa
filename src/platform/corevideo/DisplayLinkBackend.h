#pragma once

#include <memory>

#include "platform/corevideo/CVDisplayLink.h"

namespace corvane::platform {

/// Where display links come from: the virtual clock of the simulated session, or real
/// threads of the live backend.
class DisplayLinkBackend {
  public:
    virtual ~DisplayLinkBackend() = default;
    /// Makes a stopped display link for `display` into `displayLinkOut` (not null; null is
    /// left there when none could be made) and returns the result.
    virtual CVReturn createDisplayLink(CGDirectDisplayID display,
                                       CVDisplayLinkRef* displayLinkOut) = 0;
};

/// Installs the display-link backend of the process.
void installDisplayLinkBackend(std::shared_ptr<DisplayLinkBackend> backend);

}  // namespace corvane::platform
