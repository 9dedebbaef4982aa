#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/launch_at_login/LaunchAtLogin.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/live/XdgAutostart.h"
#include "platform/log/OSLog.h"
#include "support/SimSession.h"
#include "support/TempFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using namespace platform;

/// The live login items, installed over the simulated ones, in a configuration folder of
/// the test's own (`XDG_CONFIG_HOME`), removed afterwards.
class LaunchAtLoginLiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
        program_ = live::XdgAutostart::currentProgram().value_or("");
        installLoginItemBackend(std::make_shared<live::XdgAutostart>(
            live::XdgAutostart::defaultFolder(), program_, "com.Quillon.Corvane", "Corvane"));
    }

    fs::path entry(const std::string& name) const {
        return config_ / "autostart" / (name + ".desktop");
    }

    testing::TempFolder config_;
    std::string program_;
};

// From macOS 13 on, enabling writes the application's autostart entry, which starts this
// program, and disabling removes it; reading follows the entry.
TEST_F(LaunchAtLoginLiveTest, EnablingWritesTheEntryAndDisablingRemovesIt) {
    ASSERT_FALSE(program_.empty());
    EXPECT_EQ(live::XdgAutostart::defaultFolder(), config_ / "autostart");
    EXPECT_FALSE(LaunchAtLogin::isEnabled());

    LaunchAtLogin::setIsEnabled(true);
    ASSERT_TRUE(fs::exists(entry("com.Quillon.Corvane")));
    EXPECT_EQ(testing::readFile(entry("com.Quillon.Corvane")),
              "[Desktop Entry]\nType=Application\nName=Corvane\nExec=\"" + program_ + "\"\n");
    EXPECT_TRUE(LaunchAtLogin::isEnabled());

    LaunchAtLogin::setIsEnabled(false);
    EXPECT_FALSE(fs::exists(entry("com.Quillon.Corvane")));
    EXPECT_FALSE(LaunchAtLogin::isEnabled());
    EXPECT_TRUE(fs::is_empty(config_ / "autostart"));
}

// Before macOS 13 the helper's entry is written and removed, and read back as its job.
TEST_F(LaunchAtLoginLiveTest, BeforeMacOS13TheHelpersEntry) {
    ProcessInfo::processInfo().setOperatingSystemVersion({12, 7, 0});
    LaunchAtLogin::setIsEnabled(true);
    EXPECT_TRUE(fs::exists(entry(LaunchAtLogin::helperIdentifier())));
    EXPECT_TRUE(LaunchAtLogin::isEnabled());
    LaunchAtLogin::setIsEnabled(false);
    EXPECT_FALSE(fs::exists(entry(LaunchAtLogin::helperIdentifier())));
    EXPECT_FALSE(LaunchAtLogin::isEnabled());
}

// An entry the user switched off in the desktop's settings reads as not registered, and
// enabling again switches it back on.
TEST_F(LaunchAtLoginLiveTest, AnEntrySwitchedOffReadsDisabled) {
    LaunchAtLogin::setIsEnabled(true);
    std::ofstream(entry("com.Quillon.Corvane"), std::ios::app) << "Hidden=true\n";
    EXPECT_FALSE(LaunchAtLogin::isEnabled());
    LaunchAtLogin::setIsEnabled(true);
    EXPECT_TRUE(LaunchAtLogin::isEnabled());
}

// An autostart folder that cannot be made fails the registration: the error is logged with
// its reason and nothing is registered.
TEST_F(LaunchAtLoginLiveTest, AFolderThatCannotBeMadeIsLogged) {
    std::ofstream(config_ / "autostart") << "a file where the folder should be";
    LaunchAtLogin::setIsEnabled(true);
    EXPECT_FALSE(LaunchAtLogin::isEnabled());
    const auto messages = testing::loggedMessages();
    ASSERT_FALSE(messages.empty());
    EXPECT_THAT(messages.back(),
                ::testing::StartsWith("Failed to enable launch at login: Could not "
                                      "create the folder of the autostart entry "));
}

}  // namespace
}  // namespace corvane
