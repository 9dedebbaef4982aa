#pragma once

#include <memory>

#include "platform/corefoundation/CFRunLoop.h"

namespace corvane::platform {

/// Where the run-loop sources of ports (event taps) are made.
class MachPortBackend {
  public:
    virtual ~MachPortBackend() = default;
    /// A run-loop source for `port`, or null when the system makes none.
    virtual CFRunLoopSourceRef createRunLoopSource(const CFMachPortRef& port, CFIndex order) = 0;
};

/// Installs the port backend of the process.
void installMachPortBackend(std::shared_ptr<MachPortBackend> backend);

}  // namespace corvane::platform
