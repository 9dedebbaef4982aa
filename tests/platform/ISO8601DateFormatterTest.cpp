#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/foundation/ISO8601DateFormatter.h"
#include "platform/foundation/ProcessInfo.h"
#include "support/SimSession.h"

namespace corvane::platform {
namespace {

using testing::PrintTo;

struct DateCase {
    std::string name;
    double secondsSince1970;
    std::string text;
};

class ISO8601DateFormatterTest : public ::testing::TestWithParam<DateCase> {};

// Internet date and time in UTC to the whole second, the fraction dropped (toward the past);
// dates the form cannot hold give "?".
TEST_P(ISO8601DateFormatterTest, WritesTheInternetForm) {
    EXPECT_EQ(ISO8601DateFormatter().stringFromDate(Date{GetParam().secondsSince1970}),
              GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, ISO8601DateFormatterTest,
    ::testing::Values(DateCase{"epoch", 0, "1970-01-01T00:00:00Z"},
                      DateCase{"fractionDropped", 1796805692.9, "2026-12-09T08:41:32Z"},
                      DateCase{"leapDay", 951782400, "2000-02-29T00:00:00Z"},
                      DateCase{"beforeEpoch", -0.5, "1969-12-31T23:59:59Z"},
                      DateCase{"firstYear", -62135596800.0, "0001-01-01T00:00:00Z"},
                      DateCase{"lastSecond", 253402300799.0, "9999-12-31T23:59:59Z"},
                      DateCase{"pastYear9999", 253402300800.0, "?"},
                      DateCase{"beforeYear1", -62135596801.0, "?"}, DateCase{"huge", 1e300, "?"},
                      DateCase{"infinite", std::numeric_limits<double>::infinity(), "?"},
                      DateCase{"notANumber", std::numeric_limits<double>::quiet_NaN(), "?"}),
    testing::CaseName());

// The system's version text follows the version, the patch only when not 0, until a text
// is set.
TEST(ProcessInfoTest, VersionStringFollowsTheVersion) {
    auto& info = ProcessInfo::processInfo();
    EXPECT_EQ(info.operatingSystemVersionString(), "Version 15.1 (Simulated)");
    info.setOperatingSystemVersion({11, 5, 2});
    EXPECT_EQ(info.operatingSystemVersionString(), "Version 11.5.2 (Simulated)");
    info.setOperatingSystemVersionString("Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(info.operatingSystemVersionString(), "Debian GNU/Linux 12 (bookworm)");
    info.setOperatingSystemVersionString(std::nullopt);
    EXPECT_EQ(info.operatingSystemVersionString(), "Version 11.5.2 (Simulated)");
}

}  // namespace
}  // namespace corvane::platform
