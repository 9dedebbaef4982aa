#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// Helpers for tables of named cases: parameterized tests take their row names from the
// rows, and failures print a row by its name.

namespace corvane::testing {

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
