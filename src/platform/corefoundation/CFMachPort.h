#pragma once

#include <memory>

namespace corvane::platform {

/// A port that delivers messages through a run-loop source. Event taps are the only ports
/// of this layer (`CGEventTapPort`).
class CFMachPort {
  public:
    virtual ~CFMachPort() = default;
};

/// Ports are shared by reference; the port lives while anyone holds it.
using CFMachPortRef = std::shared_ptr<CFMachPort>;

}  // namespace corvane::platform
