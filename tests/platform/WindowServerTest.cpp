#include "platform/sim/Session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/corefoundation/CFRunLoop.h"
#include "platform/quartz/CGWindowList.h"
#include "platform/sim/WheelEvent.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane::platform::sim {
namespace {

using testing::rt;

constexpr pid_t kFrontPid = 100;
constexpr pid_t kOtherPid = 200;
constexpr CGEventMask kScrollMask = CGEventMaskBit(CGEventType::scrollWheel);

/// What a test tap does with the events it is handed.
enum class Action { pass, drop, change };

struct Probe {
    explicit Probe(std::string n, Action a = Action::pass) : name(std::move(n)), action(a) {}

    std::string name;
    Action action;
    std::vector<std::string>* seen = nullptr;  // every probe appends its name, in call order
    std::vector<std::int64_t> targets;         // the target-pid field of each event it saw
};

CGEventRef probeCallback(CGEventTapProxy, CGEventType, CGEventRef event, void* userInfo) {
    auto* probe = static_cast<Probe*>(userInfo);
    probe->seen->push_back(probe->name);
    probe->targets.push_back(event->integerValue(kCGEventTargetUnixProcessID));
    switch (probe->action) {
        case Action::pass:
            return event;
        case Action::drop:
            return nullptr;
        case Action::change:
            event->setIntegerValue(kCGScrollWheelEventDeltaAxis1, 7);
            return event;
    }
    return event;
}

CGEventRef wheel(std::int64_t lines = 1) {
    return WheelEvent{.lineY = lines}.create();
}

class WindowServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::session().workspace().launch({.processIdentifier = kFrontPid});
        sim::session().workspace().launch({.processIdentifier = kOtherPid});
        sim::session().workspace().setFrontmost(kFrontPid);
    }

    /// A tap with its source in the main run loop (unless told otherwise).
    struct Installed {
        CFMachPortRef port;
        CFRunLoopSourceRef source;
    };
    Installed install(Probe& probe, CGEventTapLocation location, CGEventTapPlacement placement,
                      CGEventTapOptions options = kCGEventTapOptionDefault,
                      CGEventMask mask = kScrollMask, bool attach = true) {
        probe.seen = &seen;
        auto port = CGEventTapCreate(location, placement, options, mask, probeCallback, &probe);
        auto source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, port, 0);
        if (attach)
            CFRunLoopAddSource(CFRunLoopGetMain(), source, kCFRunLoopCommonModes);
        installed.push_back({port, source});
        return installed.back();
    }

    WindowServer& server = sim::session().windowServer();
    std::vector<std::string> seen;
    std::vector<Installed> installed;
};

// Locations run from the HID point to the annotated session; at each, head inserts come
// before every earlier tap and tail appends after.
TEST_F(WindowServerTest, TapsRunInLocationAndPlacementOrder) {
    Probe a{"A"}, b{"B"}, c{"C"}, d{"D"}, session{"session"}, hid{"hid"};
    install(a, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap);
    install(b, kCGAnnotatedSessionEventTap, kCGHeadInsertEventTap);
    install(session, kCGSessionEventTap, kCGTailAppendEventTap);
    install(c, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap);
    install(d, kCGAnnotatedSessionEventTap, kCGHeadInsertEventTap);
    install(hid, kCGHIDEventTap, kCGTailAppendEventTap);

    EXPECT_TRUE(server.deliverHardwareEvent(wheel()));
    EXPECT_EQ(seen, (std::vector<std::string>{"hid", "session", "D", "B", "A", "C"}));
}

// An active filter that drops ends the event's way; one that changes it hands the change
// to every later tap and to the application.
TEST_F(WindowServerTest, ActiveFilterDropsOrChanges) {
    Probe changer{"changer", Action::change}, after{"after"};
    install(changer, kCGAnnotatedSessionEventTap, kCGHeadInsertEventTap);
    install(after, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap);
    auto received = server.deliverHardwareEvent(wheel(1));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->integerValue(kCGScrollWheelEventDeltaAxis1), 7);
    ASSERT_EQ(server.receivedEvents().size(), 1u);
    EXPECT_EQ(server.receivedEvents()[0].event.integerValue(kCGScrollWheelEventDeltaAxis1), 7);
    EXPECT_EQ(server.receivedEvents()[0].origin, EventOrigin::hardware);

    changer.action = Action::drop;
    seen.clear();
    EXPECT_EQ(server.deliverHardwareEvent(wheel(1)), nullptr);
    EXPECT_EQ(seen, std::vector<std::string>{"changer"});
    EXPECT_EQ(server.receivedEvents().size(), 1u);
}

// A listener sees the event but neither its answer nor its changes affect the stream.
TEST_F(WindowServerTest, ListenOnlyTapsObserve) {
    Probe dropper{"dropper", Action::drop}, changer{"changer", Action::change};
    install(dropper, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap,
            kCGEventTapOptionListenOnly);
    install(changer, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap,
            kCGEventTapOptionListenOnly);
    auto received = server.deliverHardwareEvent(wheel(3));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->integerValue(kCGScrollWheelEventDeltaAxis1), 3);
    EXPECT_EQ(seen, (std::vector<std::string>{"dropper", "changer"}));
}

// A tap takes part only while enabled, with a matching mask and with its source in the main
// run loop; a source of another thread's run loop or in another mode does not count.
TEST_F(WindowServerTest, SkipsTapsThatCannotReceive) {
    Probe disabled{"disabled", Action::drop}, detached{"detached", Action::drop},
        otherLoop{"otherLoop", Action::drop}, otherMode{"otherMode", Action::drop},
        otherMask{"otherMask", Action::drop}, removed{"removed", Action::drop}, live{"live"};
    auto t1 = install(disabled, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap);
    server.disableTapBySystem(t1.port);
    install(detached, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap, kCGEventTapOptionDefault,
            kScrollMask, false);
    auto t3 = install(otherLoop, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap,
                      kCGEventTapOptionDefault, kScrollMask, false);
    CFRunLoopAddSource(std::make_shared<CFRunLoop>(false), t3.source, kCFRunLoopCommonModes);
    auto t4 = install(otherMode, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap,
                      kCGEventTapOptionDefault, kScrollMask, false);
    CFRunLoopAddSource(CFRunLoopGetMain(), t4.source, "NSEventTrackingRunLoopMode");
    install(otherMask, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap, kCGEventTapOptionDefault,
            CGEventMaskBit(CGEventType::flagsChanged));
    auto t6 = install(removed, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap);
    CFRunLoopRemoveSource(CFRunLoopGetMain(), t6.source, kCFRunLoopCommonModes);
    install(live, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap);

    EXPECT_TRUE(server.deliverHardwareEvent(wheel()));
    EXPECT_EQ(seen, std::vector<std::string>{"live"});
    EXPECT_FALSE(CGEventTapIsEnabled(t1.port));
}

// A tap whose port nobody holds any more is gone from the stream.
TEST_F(WindowServerTest, DroppedPortEndsTheTap) {
    Probe dropper{"dropper", Action::drop};
    install(dropper, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap);
    EXPECT_EQ(server.taps().size(), 1u);
    CFRunLoopRemoveSource(CFRunLoopGetMain(), installed[0].source, kCFRunLoopCommonModes);
    installed.clear();
    EXPECT_TRUE(server.taps().empty());
    EXPECT_TRUE(server.deliverHardwareEvent(wheel()));
}

// An event posted to the session goes through the taps again from its location on, on the
// main lane, and reaches its target as a synthetic event.
TEST_F(WindowServerTest, SessionPostsGoThroughTheTapsAgain) {
    Probe hid{"hid"}, session{"session"}, annotated{"annotated"};
    install(hid, kCGHIDEventTap, kCGTailAppendEventTap);
    install(session, kCGSessionEventTap, kCGTailAppendEventTap);
    install(annotated, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap);

    auto event = wheel(2);
    event->setIntegerValue(kCGEventTargetUnixProcessID, kOtherPid);
    CGEventPost(kCGSessionEventTap, event);
    event->setIntegerValue(kCGScrollWheelEventDeltaAxis1, 99);  // after posting: not carried
    EXPECT_TRUE(seen.empty());
    ASSERT_EQ(server.postedEvents().size(), 1u);

    rt().runPending();
    EXPECT_EQ(seen, (std::vector<std::string>{"session", "annotated"}));
    ASSERT_EQ(server.receivedEvents().size(), 1u);
    const ReceivedEvent r = server.receivedEvents()[0];
    EXPECT_EQ(r.pid, kOtherPid);
    EXPECT_EQ(r.origin, EventOrigin::synthetic);
    EXPECT_EQ(r.event.integerValue(kCGScrollWheelEventDeltaAxis1), 2);
    EXPECT_EQ(r.mediaTime, rt().mediaTime());
}

// An event posted to a process skips every tap and arrives at once; one posted to a process
// that is not running is lost.
TEST_F(WindowServerTest, PidPostsGoStraightToTheProcess) {
    Probe tap{"tap", Action::drop};
    install(tap, kCGAnnotatedSessionEventTap, kCGHeadInsertEventTap);
    CGEventPostToPid(kOtherPid, wheel());
    CGEventPostToPid(999, wheel());
    rt().runPending();
    EXPECT_TRUE(seen.empty());
    ASSERT_EQ(server.receivedEvents().size(), 1u);
    EXPECT_EQ(server.receivedEvents()[0].pid, kOtherPid);
    EXPECT_EQ(server.postedEvents().size(), 2u);
}

// The records keep only the latest posts and receipts, while the per-process totals count
// every event received, with exact sums.
TEST_F(WindowServerTest, RecordsAreCappedTotalsAreNot) {
    const std::size_t posts = WindowServer::kKeptEvents + 5;
    for (std::size_t i = 0; i < posts; ++i) {
        auto event = wheel();
        event->setDoubleValue(kCGScrollWheelEventPointDeltaAxis1, static_cast<double>(i));
        event->setDoubleValue(kCGScrollWheelEventPointDeltaAxis2, -0.5);
        CGEventPostToPid(kOtherPid, event);
    }
    const auto posted = server.postedEvents();
    ASSERT_EQ(posted.size(), WindowServer::kKeptEvents);
    EXPECT_EQ(posted.front().event.doubleValue(kCGScrollWheelEventPointDeltaAxis1), 5.0);
    EXPECT_EQ(server.receivedEvents().size(), WindowServer::kKeptEvents);
    const ReceivedTotals totals = server.receivedTotals().at(kOtherPid);
    EXPECT_EQ(totals.events, posts);
    EXPECT_EQ(totals.pointY, static_cast<long double>(posts * (posts - 1) / 2));
    EXPECT_EQ(totals.pointX, -0.5L * static_cast<long double>(posts));
    server.clearReceivedEvents();
    EXPECT_TRUE(server.receivedTotals().empty());
}

struct TargetCase {
    const char* name;
    std::optional<std::int64_t> targetField;
    pid_t expected;
};

class WindowServerTargetTest : public WindowServerTest,
                               public ::testing::WithParamInterface<TargetCase> {};

// The target field names the receiver when that process runs; otherwise the frontmost
// application receives the event. The annotated location fills in a missing target.
TEST_P(WindowServerTargetTest, Receiver) {
    Probe session{"session"}, annotated{"annotated"};
    install(session, kCGSessionEventTap, kCGTailAppendEventTap);
    install(annotated, kCGAnnotatedSessionEventTap, kCGTailAppendEventTap);
    auto event = wheel();
    if (GetParam().targetField)
        event->setIntegerValue(kCGEventTargetUnixProcessID, *GetParam().targetField);
    server.deliverHardwareEvent(event);
    ASSERT_EQ(server.receivedEvents().size(), 1u);
    EXPECT_EQ(server.receivedEvents()[0].pid, GetParam().expected);
    EXPECT_EQ(annotated.targets,
              std::vector<std::int64_t>{GetParam().targetField.value_or(kFrontPid)});
    EXPECT_EQ(session.targets, std::vector<std::int64_t>{GetParam().targetField.value_or(0)});
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowServerTargetTest,
                         ::testing::Values(TargetCase{"runningTarget", kOtherPid, kOtherPid},
                                           TargetCase{"targetNotRunning", 4242, kFrontPid},
                                           TargetCase{"noTarget", std::nullopt, kFrontPid}),
                         testing::CaseName());

// A scheduled hardware event arrives at its virtual time, not before.
TEST_F(WindowServerTest, ScheduledHardwareEvents) {
    const double at = rt().mediaTime() + 2.5;
    server.scheduleHardwareEvent(at, wheel());
    rt().advance(2.0);
    EXPECT_TRUE(server.receivedEvents().empty());
    rt().advance(1.0);
    ASSERT_EQ(server.receivedEvents().size(), 1u);
    EXPECT_EQ(server.receivedEvents()[0].mediaTime, at);
}

// Tap creation can be refused for one numbered creation or for all.
TEST_F(WindowServerTest, RefusedTapCreation) {
    server.failNextTapCreation(1, 1);
    auto create = [] {
        return CGEventTapCreate(kCGAnnotatedSessionEventTap, kCGTailAppendEventTap,
                                kCGEventTapOptionDefault, kScrollMask, probeCallback, nullptr);
    };
    auto first = create();
    auto second = create();
    auto third = create();
    EXPECT_TRUE(first);
    EXPECT_FALSE(second);
    EXPECT_TRUE(third);
    EXPECT_TRUE(CGEventTapIsEnabled(first));
    server.setTapCreationRefused(true);
    EXPECT_FALSE(create());
}

// Tap creation follows the Accessibility permission; the explicit refusal holds whatever
// the permission says.
TEST_F(WindowServerTest, TapCreationFollowsTheAccessibilityPermission) {
    auto create = [] {
        return CGEventTapCreate(kCGAnnotatedSessionEventTap, kCGTailAppendEventTap,
                                kCGEventTapOptionDefault, kScrollMask, probeCallback, nullptr);
    };
    auto& trust = sim::session().accessibility();
    EXPECT_TRUE(trust.isTrusted());  // the session starts trusted
    trust.setTrusted(false);
    EXPECT_FALSE(create());
    trust.setTrusted(true);
    EXPECT_TRUE(create());
    server.setTapCreationRefused(true);
    EXPECT_FALSE(create());
}

// A source is attached once per mode; the common modes include the default mode.
TEST(CFRunLoopTest, ModesAndRepeatedAdds) {
    auto port = std::make_shared<CFMachPort>();
    auto source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, port, 0);
    auto loop = std::make_shared<CFRunLoop>(false);
    CFRunLoopAddSource(loop, source, kCFRunLoopCommonModes);
    CFRunLoopAddSource(loop, source, kCFRunLoopCommonModes);
    EXPECT_EQ(loop->attachmentCount(), 1u);
    EXPECT_TRUE(CFRunLoopContainsSource(loop, source, kCFRunLoopDefaultMode));
    CFRunLoopRemoveSource(loop, source, kCFRunLoopCommonModes);
    CFRunLoopAddSource(loop, source, kCFRunLoopDefaultMode);
    EXPECT_FALSE(CFRunLoopContainsSource(loop, source, kCFRunLoopCommonModes));
    EXPECT_EQ(CFMachPortCreateRunLoopSource(kCFAllocatorDefault, nullptr, 0), nullptr);
    EXPECT_EQ(CFRunLoopGetCurrent(), CFRunLoopGetMain());
}

// The window list is what the session shows, or none when it gives no list.
TEST(WindowListTest, OnScreenWindows) {
    EXPECT_EQ(CGWindowListCopyWindowInfo(kCGWindowListOptionOnScreenOnly, kCGNullWindowID),
              std::vector<PlistDictionary>{});
    sim::session().windowServer().setOnScreenWindows(
        std::vector<PlistDictionary>{{{kCGWindowName, "LPSpringboard"}}});
    auto windows = CGWindowListCopyWindowInfo(kCGWindowListOptionOnScreenOnly, kCGNullWindowID);
    ASSERT_TRUE(windows);
    EXPECT_EQ((*windows)[0].at(kCGWindowName), PlistValue("LPSpringboard"));
    sim::session().windowServer().setOnScreenWindows(std::nullopt);
    EXPECT_FALSE(CGWindowListCopyWindowInfo(kCGWindowListOptionOnScreenOnly, kCGNullWindowID));
    EXPECT_EQ(sim::session().windowServer().windowListRequests(), 3);
}

}  // namespace
}  // namespace corvane::platform::sim
