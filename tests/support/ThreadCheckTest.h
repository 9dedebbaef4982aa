#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/dispatch/DispatchPrecondition.h"
#include "support/SimSession.h"

namespace corvane::testing {

/// A fixture for death tests of the debug thread checks: skipped in builds that carry no
/// checks; the dying child is a fresh run of the test, so that threads and the installed
/// runtime do not confuse it.
class ThreadCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!platform::kThreadChecksEnabled) {
            GTEST_SKIP() << "builds with NDEBUG carry no thread checks";
        }
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }

    /// A serial queue of the simulated session other than the main one.
    static std::shared_ptr<platform::DispatchQueue> otherQueue() {
        return rt().makeSerialQueue("Test.other", platform::QualityOfService::utility);
    }
};

}  // namespace corvane::testing
