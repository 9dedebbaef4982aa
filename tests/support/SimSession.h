#pragma once

#include "platform/log/Logger.h"
#include "platform/sim/VirtualRuntime.h"

namespace corvane::testing {

/// The simulated session's virtual runtime, installed by the first use of the platform.
inline platform::sim::VirtualRuntime& rt() { return platform::sim::virtualRuntime(); }

/// The messages logged so far.
inline std::vector<std::string> loggedMessages() { return platform::LogStore::shared().messages(); }

}  // namespace corvane::testing
