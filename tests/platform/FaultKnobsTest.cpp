// The counted fault knobs of the simulated session (`failNext<Op>(count)`), each through the
// operation it fails.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "platform/quartz/CGEventTap.h"
#include "platform/servicemanagement/ServiceManagement.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "support/SimSession.h"

namespace corvane::platform::sim {
namespace {

using testing::PrintTo;
using testing::rt;

CGEventRef passThrough(CGEventTapProxy, CGEventType, CGEventRef event, void*) {
    return event;
}

/// Whether a call of the login items throws the service's error.
bool throwsServiceError(void (SimLoginItems::*call)()) {
    try {
        (session().loginItems().*call)();
        return false;
    } catch (const SMAppServiceError&) {
        return true;
    }
}

/// The item the file knobs act on, made again before each try.
constexpr const char* kItem = "/Knobs/Item.app";

struct CountedKnob {
    const char* name;
    std::function<void(int count)> failNext;
    /// Makes one operation; whether it failed.
    std::function<bool()> fails;
};

const CountedKnob kCountedKnobs[] = {
    {"eventCopy", [](int n) { session().failNextEventCopy(n); },
     [] {
         return session().windowServer().copyEvent(*WheelEvent{.lineY = 1}.create()) == nullptr;
     }},
    {"runLoopSource", [](int n) { session().failNextRunLoopSource(n); },
     [] { return session().windowServer().createRunLoopSource(nullptr, 0) == nullptr; }},
    {"tapCreation", [](int n) { session().failNextTapCreation(n); },
     [] {
         return CGEventTapCreate(kCGSessionEventTap, kCGHeadInsertEventTap,
                                 kCGEventTapOptionDefault, CGEventMaskBit(CGEventType::scrollWheel),
                                 passThrough, nullptr) == nullptr;
     }},
    {"displayLinkStart", [](int n) { session().failNextDisplayLinkStart(n); },
     [] { return session().displayLinks().consumeStartFailure().has_value(); }},
    {"trash", [](int n) { session().failNextTrash(n); },
     [] {
         session().files().makeDirectory(kItem);
         return !session().files().trashItem(kItem, nullptr, nullptr);
     }},
    {"copy", [](int n) { session().failNextCopy(n); },
     [] {
         session().files().makeDirectory(kItem);
         return !session().files().copyItem(kItem, "/Knobs/Copy.app", nullptr);
     }},
    {"remove", [](int n) { session().failNextRemove(n); },
     [] {
         session().files().makeDirectory(kItem);
         return !session().files().removeItem(kItem, nullptr);
     }},
    {"scriptCreation", [](int n) { session().failNextScriptCreation(n); },
     [] { return !session().scripts().canCreate("return 1"); }},
    {"updateCheck", [](int n) { session().failNextUpdateCheck(n); },
     [] {
         std::optional<UpdateCheckResult> result;
         session().updates().findUpdate([&](const UpdateCheckResult& r) { result = r; });
         rt().runPending();
         return result && result->error.has_value();
     }},
    {"loginItemRegister", [](int n) { session().failNextLoginItemRegister(n); },
     [] { return throwsServiceError(&SimLoginItems::registerMainApp); }},
    {"loginItemUnregister", [](int n) { session().failNextLoginItemUnregister(n); },
     [] { return throwsServiceError(&SimLoginItems::unregisterMainApp); }},
};

class CountedFaultKnob : public ::testing::TestWithParam<CountedKnob> {};

// The largest count is kept as a number: it costs nothing to set, fails one operation after
// another, and a new count (0 here) replaces the failures still due.
TEST_P(CountedFaultKnob, KeepsAnyCountAndIsReplacedByTheNext) {
    GetParam().failNext(std::numeric_limits<int>::max());
    EXPECT_TRUE(GetParam().fails());
    EXPECT_TRUE(GetParam().fails());
    GetParam().failNext(0);
    EXPECT_FALSE(GetParam().fails());
}

INSTANTIATE_TEST_SUITE_P(Table, CountedFaultKnob, ::testing::ValuesIn(kCountedKnobs),
                         testing::CaseName());

}  // namespace
}  // namespace corvane::platform::sim
