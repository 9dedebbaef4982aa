#pragma once

#include <string>
#include <vector>

#include "platform/log/OSLog.h"
#include "platform/sim/Session.h"
#include "support/CaseTable.h"  // the table helpers, for every test of the session

namespace corvane::testing {

/// The simulated session's virtual runtime, installed by the first use of the platform.
inline platform::sim::VirtualRuntime& rt() {
    return platform::sim::virtualRuntime();
}

/// The messages logged so far.
inline std::vector<std::string> loggedMessages() {
    return platform::LogStore::shared().messages();
}

}  // namespace corvane::testing
