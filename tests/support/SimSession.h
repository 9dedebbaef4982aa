#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/log/OSLog.h"
#include "platform/sim/Session.h"

namespace corvane::testing {

/// The simulated session's virtual runtime, installed by the first use of the platform.
inline platform::sim::VirtualRuntime& rt() {
    return platform::sim::virtualRuntime();
}

/// The messages logged so far.
inline std::vector<std::string> loggedMessages() {
    return platform::LogStore::shared().messages();
}

/// Names the cases of a parameterized test by the `name` member of their parameter.
struct CaseName {
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        return info.param.name;
    }
};

/// Prints a table row by its `name` member, so that failures name the row. Bring it into the
/// test's namespace with `using testing::PrintTo;`.
template <class Case>
requires requires(const Case& c) {
    std::string(c.name);
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

}  // namespace corvane::testing
