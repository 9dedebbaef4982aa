#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/quartz/CGDisplay.h"
#include "platform/sim/Session.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane::platform {
namespace {

using testing::PrintTo;

struct LookupCase {
    std::string name;
    CGPoint point;
    CGError lookupError;
    CGError expectedError;
    std::vector<CGDirectDisplayID> expected;
};

class DisplayLookupTest : public ::testing::TestWithParam<LookupCase> {
  protected:
    void SetUp() override {
        sim::session().displays().setDisplays({
            {1, CGRect{{0, 0}, 1920, 1080}, 60},
            {2, CGRect{{1920, 0}, 2560, 1440}, 120},
        });
    }
};

// The lookup answers the display under the point (bounds are half-open), none off-screen,
// and the session's error when told to fail.
TEST_P(DisplayLookupTest, FindsTheDisplayUnderThePoint) {
    const LookupCase& c = GetParam();
    sim::session().setDisplayLookupRefused(c.lookupError != kCGErrorSuccess, c.lookupError);
    CGDirectDisplayID found[2] = {0, 0};
    std::uint32_t count = 99;
    EXPECT_EQ(CGGetDisplaysWithPoint(c.point, 2, found, &count), c.expectedError);
    EXPECT_EQ(std::vector<CGDirectDisplayID>(found, found + count), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Points, DisplayLookupTest,
    ::testing::Values(LookupCase{"main", {10, 10}, 0, 0, {1}},
                      LookupCase{"rightEdgeBelongsToNext", {1920, 5}, 0, 0, {2}},
                      LookupCase{"second", {3000, 1400}, 0, 0, {2}},
                      LookupCase{"offScreen", {-1, 5}, 0, 0, {}},
                      LookupCase{"belowSecond", {3000, 1440}, 0, 0, {}},
                      LookupCase{"lookupFails", {10, 10}, kCGErrorFailure, kCGErrorFailure, {}}),
    testing::CaseName());

// With room for one display only the first match is written; with no buffer the matches
// are only counted.
TEST(DisplayLookup, WritesNoMoreThanThereIsRoomFor) {
    sim::session().displays().setDisplays(
        {{5, CGRect{{0, 0}, 100, 100}, 60}, {6, CGRect{{50, 50}, 100, 100}, 60}});
    CGDirectDisplayID one = 0;
    std::uint32_t count = 0;
    ASSERT_EQ(CGGetDisplaysWithPoint({60, 60}, 1, &one, &count), kCGErrorSuccess);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(one, 5u);
    ASSERT_EQ(CGGetDisplaysWithPoint({60, 60}, 0, nullptr, &count), kCGErrorSuccess);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(CGGetDisplaysWithPoint({60, 60}, 1, &one, nullptr), kCGErrorIllegalArgument);
}

}  // namespace
}  // namespace corvane::platform
