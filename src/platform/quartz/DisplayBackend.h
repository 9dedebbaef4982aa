#pragma once

#include <memory>

#include "platform/quartz/CGDisplay.h"
#include "platform/quartz/DisplayConfiguration.h"

namespace corvane::platform {

/// Where the session's screens are known, for display lookups.
class DisplayBackend {
  public:
    virtual ~DisplayBackend() = default;
    /// The screens and their configuration.
    virtual const DisplayConfiguration& configuration() const = 0;
    /// The error display lookups fail with now; `kCGErrorSuccess` when they work.
    virtual CGError lookupError() const = 0;
};

/// Installs the display backend of the process.
void installDisplayBackend(std::shared_ptr<DisplayBackend> backend);

}  // namespace corvane::platform
