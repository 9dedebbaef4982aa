#pragma once

#include <atomic>

#include "platform/quartz/DisplayBackend.h"
#include "platform/quartz/DisplayConfiguration.h"

namespace corvane::platform::sim {

/// The simulated session's screens (one 1920 x 1080 display, identifier 1, at 60 Hz at the
/// start) and the knob that makes display lookups fail. Usable from any thread.
class Displays final : public DisplayConfiguration, public DisplayBackend {
  public:
    const DisplayConfiguration& configuration() const override { return *this; }
    CGError lookupError() const override { return lookupError_.load(); }

    /// While refused, display lookups (`CGGetDisplaysWithPoint`) fail with `error`.
    void setLookupRefused(bool refused, CGError error = kCGErrorFailure) {
        lookupError_.store(refused ? error : kCGErrorSuccess);
    }

  private:
    std::atomic<CGError> lookupError_{kCGErrorSuccess};
};

}  // namespace corvane::platform::sim
