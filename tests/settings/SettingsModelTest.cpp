#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "settings/CorvaneSettings.h"

namespace corvane {
namespace {

// The default value is the one the store falls back to.
TEST(SettingsModel, DefaultsAreTheDocumentedOnes) {
    CorvaneSettings s;
    EXPECT_FALSE(s.appSettings.launchAtLogin);
    EXPECT_TRUE(s.appSettings.showMenuIcon);
    EXPECT_TRUE(s.appSettings.exceptionalApplication.empty());
    EXPECT_TRUE(s.appSettings.showScrollHelperText);
    EXPECT_TRUE(s.appSettings.showSystemHelperText);
    EXPECT_EQ(s.scrollBase, (ScrollBase{true, true, false}));
    EXPECT_EQ(s.scrollAdvanced.block, (std::vector<std::int64_t>{55, 58, 59}));
    EXPECT_EQ(s.scrollAdvanced.step, 90);
    EXPECT_EQ(s.scrollAdvanced.duration, 350);
    EXPECT_EQ(s.scrollAdvanced.accelerationThreshold, 50);
    EXPECT_EQ(s.scrollAdvanced.accelerationLimit, 7);
    EXPECT_EQ(s.scrollAdvanced.smoothness, 30);

    ExceptionalApplication e("com.example");
    EXPECT_EQ(e.scrollBase(), (ScrollBase{true, true, false}));
    EXPECT_EQ(e.scrollAdvanced(), ScrollAdvanced{});
    EXPECT_TRUE(e.inherit());
}

// Numbers compare numerically: 0 and -0 are equal and hash alike; NaN equals nothing.
TEST(SettingsModel, ScrollAdvancedComparesNumerically) {
    ScrollAdvanced a, b;
    a.step = 0.0;
    b.step = -0.0;
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::hash<ScrollAdvanced>{}(a), std::hash<ScrollAdvanced>{}(b));
    b.step = std::nan("");
    EXPECT_NE(b, b);
    b = a;
    b.block = {55, 59, 58};
    EXPECT_NE(a, b);
    EXPECT_NE(std::hash<ScrollAdvanced>{}(a), std::hash<ScrollAdvanced>{}(b));
}

// Exceptions compare by bundle identifier only, so a change inside an exception never makes
// two settings values unequal, while another identifier or order does.
TEST(SettingsModel, ExceptionsCompareByIdentityOfBundle) {
    auto x = std::make_shared<ExceptionalApplication>("com.x");
    auto xOther = std::make_shared<ExceptionalApplication>(
        "com.x", ScrollBase{false, false, true}, ScrollAdvanced{{}, 1, 2, 3, 4, 5}, false);
    auto y = std::make_shared<ExceptionalApplication>("com.y");
    CorvaneSettings a, b;
    a.appSettings.exceptionalApplication = {x, y};
    b.appSettings.exceptionalApplication = {xOther, y};
    EXPECT_EQ(a, b);
    b.appSettings.exceptionalApplication = {y, x};
    EXPECT_NE(a, b);
    b.appSettings.exceptionalApplication = {x};
    EXPECT_NE(a, b);
    b = a;
    b.appSettings.showSystemHelperText = false;
    EXPECT_NE(a, b);
}

// Copies of the settings share the exception objects.
TEST(SettingsModel, CopiesShareExceptions) {
    CorvaneSettings a;
    a.appSettings.exceptionalApplication = {std::make_shared<ExceptionalApplication>("com.x")};
    CorvaneSettings b = a;
    EXPECT_EQ(a.appSettings.exceptionalApplication[0].get(),
              b.appSettings.exceptionalApplication[0].get());
}

}  // namespace
}  // namespace corvane
