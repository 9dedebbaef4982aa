#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AboutView.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/WindowElements.h"
#include "platform/foundation/Bundle.h"
#include "platform/sim/Session.h"
#include "support/WindowTesting.h"

namespace corvane {
namespace {

using namespace testing::windows;
using testing::PrintTo;

/// The About window over a main bundle whose info dictionary each test sets.
class AboutWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { saved_ = Bundle::main().infoDictionary(); }
    void TearDown() override {
        WindowManager::shared().closeAll();
        rt().runPending();
        Bundle::main().setInfoDictionary(saved_);
    }
    void open(PlistDictionary info) {
        Bundle::main().setInfoDictionary(std::move(info));
        WindowManager::shared().openWindow("about", "", AboutView{}, NSNormalWindowLevel, 3);
        rt().runPending();
    }
    std::shared_ptr<NSWindow> window() const { return WindowManager::shared().window("about"); }
    std::vector<std::string> texts() const {
        std::vector<std::string> shown;
        for (const auto& element : inspectWindow(*window()).elements) {
            if (element.kind == "text")
                shown.push_back(element.label);
        }
        return shown;
    }

    PlistDictionary saved_;
};

struct VersionCase {
    const char* name;
    PlistDictionary info;
    const char* line;
};

class AboutVersionTest : public AboutWindowTest,
                         public ::testing::WithParamInterface<VersionCase> {};

// The version line reads the bundle's version and build; "?" stands for a value that is
// missing or not a string.
TEST_P(AboutVersionTest, ShowsVersionAndBuild) {
    open(GetParam().info);
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"Corvane", GetParam().line, AboutView::kRightsNotice,
                                        AboutView::kSupportAddress}));
}

INSTANTIATE_TEST_SUITE_P(Table, AboutVersionTest,
                         ::testing::Values(VersionCase{"both",
                                                       {{"CFBundleShortVersionString", "2.4"},
                                                        {"CFBundleVersion", "57"}},
                                                       "Version 2.4 (57)"},
                                           VersionCase{"neither", {}, "Version ? (?)"},
                                           VersionCase{"notStrings",
                                                       {{"CFBundleShortVersionString", 2.4},
                                                        {"CFBundleVersion", 57.0}},
                                                       "Version ? (?)"}),
                         testing::CaseName());

// The window's content is 440 points wide and as high as its texts and icon.
TEST_F(AboutWindowTest, ContentIs440WideAndAsHighAsItsTexts) {
    open({});
    const CGSize content = window()->contentSize();
    EXPECT_EQ(content.width, AboutView::kWidth);
    EXPECT_GE(content.height, 96 + 2 * 24);
    EXPECT_LT(content.height, 200);
}

// Each click of the round help button opens the troubleshooting page once; the window
// stays open.
TEST_F(AboutWindowTest, HelpButtonOpensTheTroubleshootingPageOncePerClick) {
    open({});
    const auto button = findElement(hostingView(*window()).elementsForTesting(), "button", "Help");
    ASSERT_TRUE(button.has_value());
    EXPECT_EQ(button->info().frame.width, 25);

    button->click();
    button->click();
    rt().runPending();

    const auto requests = sim::session().workspace().openURLRequests();
    ASSERT_EQ(requests.size(), 2u);
    for (const auto& request : requests)
        EXPECT_EQ(request.url, AboutView::kTroubleshootingAddress);
    EXPECT_TRUE(window()->isVisible());
}

}  // namespace
}  // namespace corvane
