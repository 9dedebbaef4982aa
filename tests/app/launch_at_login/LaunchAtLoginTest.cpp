#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/launch_at_login/KVO.h"
#include "app/launch_at_login/LaunchAtLogin.h"
#include "app/launch_at_login/Observable.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/log/OSLog.h"
#include "platform/sim/Session.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using namespace platform;
using ::testing::ElementsAre;
using Call = sim::SimLoginItems::Call;
using testing::PrintTo;

const OperatingSystemVersion kVentura{13, 0, 0};
const OperatingSystemVersion kMonterey{12, 7, 0};
const char* const kHelper = "com.Quillon.Corvane-LaunchAtLoginHelper";

sim::SimLoginItems& loginItems() {
    return sim::session().loginItems();
}

/// The component's error lines, as its own logger wrote them.
std::vector<std::string> componentErrors() {
    std::vector<std::string> lines;
    for (const auto& entry : LogStore::shared().entries()) {
        if (entry.subsystem == LaunchAtLogin::logger().subsystem()) {
            EXPECT_EQ(entry.category, "main");
            EXPECT_EQ(entry.level, OSLogType::error);
            lines.push_back(entry.message);
        }
    }
    return lines;
}

struct VersionCase {
    std::string name;
    OperatingSystemVersion version;
};

class LaunchAtLoginVersionTest : public ::testing::TestWithParam<VersionCase> {
  protected:
    void SetUp() override {
        ProcessInfo::processInfo().setOperatingSystemVersion(GetParam().version);
    }
    bool usesLoginService() const { return GetParam().version >= kVentura; }
};

// Enabling registers and disabling removes the registration, through the login service from
// macOS 13 on and through the helper's login item before; reading follows each time, and
// the publisher receives every assigned value after the state at its first use.
TEST_P(LaunchAtLoginVersionTest, EnableAndDisableRoundTrip) {
    std::vector<bool> published;
    auto subscription =
        LaunchAtLogin::publisher().sink([&](const bool& v) { published.push_back(v); });
    EXPECT_FALSE(LaunchAtLogin::isEnabled());

    LaunchAtLogin::setIsEnabled(true);
    EXPECT_TRUE(LaunchAtLogin::isEnabled());
    LaunchAtLogin::setIsEnabled(false);
    EXPECT_FALSE(LaunchAtLogin::isEnabled());

    EXPECT_THAT(published, ElementsAre(false, true, false));
    if (usesLoginService()) {
        EXPECT_THAT(loginItems().mainAppCalls(),
                    ElementsAre(Call::registerService, Call::unregisterService));
    } else {
        EXPECT_TRUE(loginItems().mainAppCalls().empty());
    }
    EXPECT_TRUE(componentErrors().empty());
}

// The observable object and the key-value observers hear before the registration changes,
// the key-value observers again after it, then the publisher; the observable's and the
// KVO object's `isEnabled` read the component's.
TEST_P(LaunchAtLoginVersionTest, NotificationsSurroundTheChange) {
    std::vector<std::string> heard;
    auto willChange = LaunchAtLogin::Observable::shared().objectWillChange().sink([&] {
        heard.push_back(std::string("observable will, enabled ") +
                        (LaunchAtLogin::isEnabled() ? "yes" : "no"));
    });
    auto kvo = LaunchAtLogin::KVO::shared().addObserver(
        "isEnabled", NSKeyValueObservingOptionNew | NSKeyValueObservingOptionPrior,
        [&](const KeyValueChange& change) {
            heard.push_back(std::string(change.isPrior ? "kvo will" : "kvo did") + ", enabled " +
                            (LaunchAtLogin::KVO::shared().isEnabled() ? "yes" : "no"));
        });
    auto published = LaunchAtLogin::publisher().sink(
        [&](const bool& v) { heard.push_back(std::string("published ") + (v ? "yes" : "no")); });
    heard.clear();  // the subject's current value

    LaunchAtLogin::Observable::shared().setIsEnabled(true);

    EXPECT_THAT(heard, ElementsAre("observable will, enabled no", "kvo will, enabled no",
                                   "kvo did, enabled yes", "published yes"));
    EXPECT_TRUE(LaunchAtLogin::Observable::shared().isEnabled());
    EXPECT_TRUE(LaunchAtLogin::KVO::shared().respondsToSelector("setIsEnabled:"));
}

INSTANTIATE_TEST_SUITE_P(Versions, LaunchAtLoginVersionTest,
                         ::testing::Values(VersionCase{"macOS11_5", {11, 5, 0}},
                                           VersionCase{"macOS12_7", kMonterey},
                                           VersionCase{"macOS13_0", kVentura},
                                           VersionCase{"macOS15_1", {15, 1, 0}}),
                         testing::CaseName());

class LaunchAtLoginServiceTest : public ::testing::Test {
  protected:
    void SetUp() override { ProcessInfo::processInfo().setOperatingSystemVersion(kVentura); }
};

// The helper identifier is the main bundle's identifier with "-LaunchAtLoginHelper".
TEST(LaunchAtLoginIdentityTest, HelperIdentifier) {
    EXPECT_EQ(LaunchAtLogin::helperIdentifier(), kHelper);
}

// Enabling a registration the service already reports enabled unregisters it, then
// registers it again; a failure of that first step is ignored.
TEST_F(LaunchAtLoginServiceTest, EnablingWhenEnabledUnregistersThenRegisters) {
    LaunchAtLogin::setIsEnabled(true);
    sim::session().failNextLoginItemUnregister(1);

    LaunchAtLogin::setIsEnabled(true);

    EXPECT_THAT(loginItems().mainAppCalls(),
                ElementsAre(Call::registerService, Call::unregisterService, Call::registerService));
    EXPECT_EQ(SMAppService::mainApp().status(), SMAppService::Status::enabled);
    EXPECT_TRUE(LaunchAtLogin::isEnabled());
    EXPECT_TRUE(componentErrors().empty());
}

struct FailureCase {
    std::string name;
    bool enable;
    std::string line;
};

class LaunchAtLoginFailureTest : public LaunchAtLoginServiceTest,
                                 public ::testing::WithParamInterface<FailureCase> {};

// A register or unregister the service refuses is logged with the verb and the error's
// description; the assignment returns normally, the registration stays as it was, and the
// publisher still receives the requested value.
TEST_P(LaunchAtLoginFailureTest, LogsTheErrorAndStillPublishes) {
    const bool enable = GetParam().enable;
    if (!enable)
        LaunchAtLogin::setIsEnabled(true);
    std::vector<bool> published;
    auto subscription =
        LaunchAtLogin::publisher().sink([&](const bool& v) { published.push_back(v); });
    published.clear();
    sim::session().failNextLoginItemRegister(enable ? 1 : 0);
    sim::session().failNextLoginItemUnregister(enable ? 0 : 1);

    LaunchAtLogin::setIsEnabled(enable);

    EXPECT_THAT(componentErrors(), ElementsAre(GetParam().line));
    EXPECT_THAT(published, ElementsAre(enable));
    EXPECT_EQ(LaunchAtLogin::isEnabled(), !enable);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LaunchAtLoginFailureTest,
    ::testing::Values(
        FailureCase{"disable", false, "Failed to disable launch at login: Operation not permitted"},
        FailureCase{"enable", true, "Failed to enable launch at login: Operation not permitted"}),
    testing::CaseName());

// Only an enabled registration reads as enabled: one awaiting the user's approval, or an
// application the system cannot find, reads false (and registering the missing one fails).
TEST_F(LaunchAtLoginServiceTest, OnlyTheEnabledStatusReadsEnabled) {
    loginItems().setApprovalRequired(true);
    LaunchAtLogin::setIsEnabled(true);
    EXPECT_EQ(SMAppService::mainApp().status(), SMAppService::Status::requiresApproval);
    EXPECT_FALSE(LaunchAtLogin::isEnabled());

    loginItems().setApprovalRequired(false);  // the user approved
    EXPECT_TRUE(LaunchAtLogin::isEnabled());

    loginItems().setMainAppMissing(true);
    EXPECT_EQ(SMAppService::mainApp().status(), SMAppService::Status::notFound);
    EXPECT_FALSE(LaunchAtLogin::isEnabled());
    LaunchAtLogin::setIsEnabled(true);
    EXPECT_THAT(
        componentErrors(),
        ElementsAre("Failed to enable launch at login: The application could not be found."));
}

// The publisher is made on first use with the registration state of that moment.
TEST_F(LaunchAtLoginServiceTest, PublisherStartsFromTheStateAtFirstUse) {
    SMAppService::mainApp().registerAndReturnError();
    std::vector<bool> published;
    auto subscription =
        LaunchAtLogin::publisher().sink([&](const bool& v) { published.push_back(v); });
    EXPECT_THAT(published, ElementsAre(true));
}

struct JobsCase {
    std::string name;
    std::optional<std::vector<PlistValue>> jobs;  // none: the system gives no list
    bool enabled;
};

PlistValue job(PlistValue label, std::optional<PlistValue> onDemand) {
    PlistDictionary fields{{"Label", std::move(label)}};
    if (onDemand)
        fields.emplace("OnDemand", std::move(*onDemand));
    return fields;
}

const PlistValue kOtherJob = job("com.example.agent", true);

class LaunchAtLoginJobsTest : public ::testing::TestWithParam<JobsCase> {
  protected:
    void SetUp() override { ProcessInfo::processInfo().setOperatingSystemVersion(kMonterey); }
};

// Before macOS 13 the state is the "OnDemand" flag of the first job labelled with the helper
// identifier, and false for every list that does not say so plainly.
TEST_P(LaunchAtLoginJobsTest, ReadsTheHelpersJob) {
    sim::session().setJobDictionariesRefused(!GetParam().jobs);
    loginItems().setOtherJobs(GetParam().jobs.value_or(std::vector<PlistValue>{}));
    EXPECT_EQ(LaunchAtLogin::isEnabled(), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LaunchAtLoginJobsTest,
    ::testing::Values(
        JobsCase{"noList", std::nullopt, false},
        JobsCase{"emptyList", std::vector<PlistValue>{}, false},
        JobsCase{"withoutTheHelper", std::vector{kOtherJob}, false},
        JobsCase{"helperOnDemand", std::vector{kOtherJob, job(kHelper, true)}, true},
        JobsCase{"helperNotOnDemand", std::vector{job(kHelper, false)}, false},
        JobsCase{"helperOnDemandNotABool", std::vector{job(kHelper, "true")}, false},
        JobsCase{"helperWithoutOnDemand", std::vector{job(kHelper, std::nullopt)}, false},
        JobsCase{"labelNotAString", std::vector{job(1, true)}, false},
        JobsCase{"firstHelperJobWins", std::vector{job(kHelper, false), job(kHelper, true)}, false},
        JobsCase{"notAListOfDictionaries", std::vector{job(kHelper, true), PlistValue("x")},
                 false}),
    testing::CaseName());

// Before macOS 13 a refused login-item change goes unnoticed: nothing is logged, the
// notifications go out with the requested value, and the state stays as it was.
TEST(LaunchAtLoginLegacyTest, RefusedLoginItemGoesUnnoticed) {
    ProcessInfo::processInfo().setOperatingSystemVersion(kMonterey);
    sim::session().setLoginItemSetEnabledRefused(true);
    std::vector<bool> published;
    auto subscription =
        LaunchAtLogin::publisher().sink([&](const bool& v) { published.push_back(v); });

    LaunchAtLogin::setIsEnabled(true);

    EXPECT_THAT(published, ElementsAre(false, true));
    EXPECT_FALSE(LaunchAtLogin::isEnabled());
    EXPECT_TRUE(componentErrors().empty());
}

}  // namespace
}  // namespace corvane
