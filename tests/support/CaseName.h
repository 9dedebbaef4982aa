#pragma once

#include <string>

#include <gtest/gtest.h>

namespace corvane::testing {

/// Names each row of a parameterised test after its `name` member.
struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& row) const {
        return row.param.name;
    }
};

}  // namespace corvane::testing
