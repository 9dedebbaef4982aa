#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "platform/sentry/SentrySDK.h"
#include "support/SimSession.h"

namespace corvane::platform {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

void startWith(bool reportUncaught) {
    SentrySDK::start([reportUncaught](SentryOptions& options) {
        options.dsn = "https://key@reports.example.invalid/7";
        options.debug = true;
        options.sendDefaultPii = true;
        options.enableUncaughtNSExceptionReporting = reportUncaught;
    });
}

/// An exception that escapes a thread's function: nothing catches it.
void throwUncaught() {
    std::thread([] { throw std::runtime_error("boom"); }).join();
}

// The configuration closure sets the options on a default set; each start is counted and
// the latest options are kept.
TEST(SentrySDKTest, StartKeepsTheConfiguredOptions) {
    EXPECT_FALSE(SentrySDK::isEnabled());
    EXPECT_EQ(SentrySDK::options(), std::nullopt);
    startWith(true);
    EXPECT_TRUE(SentrySDK::isEnabled());
    EXPECT_EQ(SentrySDK::startCount(), 1);
    SentryOptions expected{"https://key@reports.example.invalid/7", true, true, true};
    EXPECT_EQ(SentrySDK::options(), expected);
    SentrySDK::start([](SentryOptions&) {});
    EXPECT_EQ(SentrySDK::startCount(), 2);
    EXPECT_EQ(SentrySDK::options(), SentryOptions{});
}

// With uncaught-exception reporting on, an exception nothing catches is reported (type,
// message, project) on standard error before the process ends.
TEST(SentrySDKDeathTest, ReportsAnUncaughtExceptionBeforeTheProcessEnds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            startWith(true);
            throwUncaught();
        },
        "Sentry: uncaught exception std::runtime_error: boom \\(report for "
        "https://key@reports.example.invalid/7 kept on this machine\\)");
}

// Without the option the process still ends, with no report of the SDK.
TEST(SentrySDKDeathTest, WithoutTheOptionNothingIsReported) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            startWith(false);
            throwUncaught();
        },
        Not(HasSubstr("Sentry: uncaught exception")));
}

}  // namespace
}  // namespace corvane::platform
