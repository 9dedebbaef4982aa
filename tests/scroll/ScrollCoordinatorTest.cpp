#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>

#include "platform/quartz/CGEvent.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "scroll/CoordinatorTestSupport.h"
#include "scroll/ScrollCoordinator.h"
#include "scroll/ScrollEngineCV.h"
#include "settings/SettingsManager.h"
#include "support/CaseTable.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using testing::PrintTo;

using namespace platform;
using sim::SimWorkspace;
using sim::WindowServer;
using testing::CaseName;
using testing::EngineCall;
using testing::rt;

constexpr pid_t kEditor = 501;
constexpr pid_t kVendorDaemon = 777;

/// A wheel event aimed at `target`; each axis with its line, point and fixed-point deltas.
CGEventRef wheel(double pointY, double pointX = 0, pid_t target = kEditor, std::int64_t lineY = 0,
                 double fixedY = 0, std::int64_t lineX = 0, double fixedX = 0) {
    return sim::WheelEvent{.location = {100, 100},
                           .target = target,
                           .lineY = lineY,
                           .lineX = lineX,
                           .pointY = pointY,
                           .pointX = pointX,
                           .fixedY = fixedY,
                           .fixedX = fixedX}
        .create();
}

CGEventRef flagsChanged(std::int64_t keyCode, CGEventFlags flags) {
    CGEventRef e = CGEventCreate(CGEventType::flagsChanged);
    e->setIntegerValue(kCGKeyboardEventKeycode, keyCode);
    e->setFlags(flags);
    return e;
}

class ScrollCoordinatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::session().workspace().launch({.processIdentifier = kEditor,
                                           .bundleIdentifier = std::string("com.example.editor"),
                                           .localizedName = std::string("Editor")});
        sim::session().workspace().setFrontmost(kEditor);
    }

    /// Replaces the engine by a recorder that answers `taken`.
    void recordEngine(bool taken = true) { testing::recordEngineCalls(calls, taken); }
    void configure(bool smooth, bool horizontalSmooth, bool reverse) {
        SettingsManager::shared().setScrollBase(ScrollBase{smooth, horizontalSmooth, reverse});
    }
    static ScrollCoordinator& coordinator() { return ScrollCoordinator::shared(); }

    std::vector<EngineCall> calls;
};

// --- the decision table --------------------------------------------------------------------

struct DecisionRow {
    const char* name;
    bool yMoves, xMoves, smooth, horizontalSmooth;
    bool engineCalled;
    bool dropsWhenTaken;  ///< false: the event passes whatever the engine answers
    bool dropsAlways;
    bool reversesY, reversesX;  ///< with reverse on
};

const DecisionRow kDecisionTable[] = {
    {"y/smooth_off", true, false, false, true, false, false, false, true, false},
    {"both/smooth_off/horizontal_on", true, true, false, true, false, false, false, true, true},
    {"both/smooth_off/horizontal_off", true, true, false, false, false, false, false, true, false},
    {"x/horizontal_off", false, true, true, false, false, false, false, false, false},
    {"x/smooth_off/horizontal_on", false, true, false, true, false, false, false, false, true},
    {"x/smooth_off/horizontal_off", false, true, false, false, false, false, false, false, false},
    {"none/smooth_off", false, false, false, true, false, false, false, false, false},
    {"none/smooth_on", false, false, true, true, true, false, false, false, false},
    {"y/smooth_on", true, false, true, false, true, true, false, true, false},
    {"both/smooth_on/horizontal_off", true, true, true, false, false, false, true, true, false},
    {"both/smooth_on/horizontal_on", true, true, true, true, true, true, false, true, true},
    {"x/smooth_on/horizontal_on", false, true, true, true, true, true, false, false, true},
};

struct DecisionCase {
    DecisionRow row;
    bool reverse;
    bool engineAnswer;
    std::string name;
};

std::vector<DecisionCase> decisionCases() {
    std::vector<DecisionCase> cases;
    for (const auto& row : kDecisionTable) {
        for (bool reverse : {false, true}) {
            for (bool answer : {true, false}) {
                if (!row.engineCalled && !answer)
                    continue;  // the answer cannot matter
                std::string name = row.name;
                for (char& c : name)
                    c = c == '/' ? '_' : c;
                name += reverse ? "_reverse" : "";
                name += row.engineCalled ? (answer ? "_taken" : "_refused") : "";
                cases.push_back({row, reverse, answer, name});
            }
        }
    }
    return cases;
}

class ScrollDecisionTable : public ScrollCoordinatorTest,
                            public ::testing::WithParamInterface<DecisionCase> {};

// Each row of the decision table, with reverse off and on: what passes or is dropped, which
// fields are negated and what the engine receives.
TEST_P(ScrollDecisionTable, ActsAsTheRowSays) {
    const DecisionCase& c = GetParam();
    configure(c.row.smooth, c.row.horizontalSmooth, c.reverse);
    recordEngine(c.engineAnswer);
    const double y = c.row.yMoves ? 10 : 0;
    const double x = c.row.xMoves ? -4 : 0;
    CGEventRef event = wheel(y, x, kEditor, c.row.yMoves ? 1 : 0, c.row.yMoves ? 1.0 : 0,
                             c.row.xMoves ? -1 : 0, c.row.xMoves ? -0.4 : 0);

    CGEventRef result = coordinator().handleScrollEvent(event);

    const bool dropped = c.row.dropsAlways || (c.row.dropsWhenTaken && c.engineAnswer);
    EXPECT_EQ(result == nullptr, dropped);
    if (!dropped) {
        EXPECT_EQ(result, event);  // passed on in place
    }
    const double ySign = c.reverse && c.row.reversesY ? -1 : 1;
    const double xSign = c.reverse && c.row.reversesX ? -1 : 1;
    EXPECT_EQ(event->doubleValue(kCGScrollWheelEventPointDeltaAxis1), ySign * y);
    EXPECT_EQ(event->integerValue(kCGScrollWheelEventDeltaAxis1),
              static_cast<std::int64_t>(ySign * (y != 0 ? 1 : 0)));
    EXPECT_EQ(event->doubleValue(kCGScrollWheelEventFixedPtDeltaAxis1), ySign * (y != 0 ? 1.0 : 0));
    EXPECT_EQ(event->doubleValue(kCGScrollWheelEventPointDeltaAxis2), xSign * x);
    EXPECT_EQ(event->integerValue(kCGScrollWheelEventDeltaAxis2),
              static_cast<std::int64_t>(xSign * (x != 0 ? -1 : 0)));
    EXPECT_EQ(event->doubleValue(kCGScrollWheelEventFixedPtDeltaAxis2),
              xSign * (x != 0 ? -0.4 : 0));
    if (c.row.engineCalled) {
        const double dy = c.row.yMoves ? ySign * 90 : 0;
        const double dx = c.row.xMoves ? xSign * -90 : 0;
        EXPECT_THAT(calls, ::testing::ElementsAre(EngineCall{0.35, 7, 0.05, 0.03, dy, dx}));
    } else {
        EXPECT_TRUE(calls.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ScrollDecisionTable, ::testing::ValuesIn(decisionCases()),
                         testing::CaseName());

// --- classification before the decision ----------------------------------------------------

// The engine's own events pass untouched and are not recorded.
TEST_F(ScrollCoordinatorTest, OwnEventsPassUntouched) {
    recordEngine();
    CGEventRef own = wheel(10);
    own->setIntegerValue(kCGEventSourceUserData, 0x436F7276);
    const CGEvent before = *own;
    EXPECT_EQ(coordinator().handleScrollEvent(own), own);
    EXPECT_EQ(*own, before);
    EXPECT_FALSE(coordinator().lastScrollEventAt.has_value());
    EXPECT_TRUE(calls.empty());
}

// A continuous event is recorded and passes; from the vendor daemon it is decided like a tick.
TEST_F(ScrollCoordinatorTest, TrackpadsPassButTheVendorDaemonIsDecided) {
    recordEngine();
    CGEventRef swipe = wheel(10);
    swipe->setDoubleValue(kCGScrollWheelEventScrollPhase, 1);
    swipe->setIntegerValue(kCGEventSourceUnixProcessID, kVendorDaemon);
    EXPECT_EQ(coordinator().handleScrollEvent(swipe), swipe);
    EXPECT_TRUE(coordinator().lastScrollEventWasTrackpad);
    EXPECT_EQ(coordinator().lastScrollEventSourcePID, kVendorDaemon);
    EXPECT_EQ(coordinator().lastScrollEventAt, rt().wallTime());
    EXPECT_TRUE(calls.empty());

    sim::session().workspace().launch(
        {.processIdentifier = kVendorDaemon,
         .bundleIdentifier = std::string("com.logitech.manager.daemon")});
    rt().advance(61);  // past the running-application cache
    EXPECT_EQ(coordinator().handleScrollEvent(swipe), nullptr);
    EXPECT_FALSE(coordinator().lastScrollEventWasTrackpad);
    EXPECT_EQ(calls.size(), 1u);
}

// A fixed-point delta is handed on as it is; a point delta becomes the step.
TEST_F(ScrollCoordinatorTest, OnlyPointDeltasBecomeTheStep) {
    recordEngine();
    coordinator().handleScrollEvent(wheel(0, 0, kEditor, 0, 2.5));
    coordinator().handleScrollEvent(wheel(-10));
    coordinator().handleScrollEvent(wheel(0, 0, kEditor, -3));
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].dy, 2.5);
    EXPECT_EQ(calls[1].dy, -90);
    EXPECT_EQ(calls[2].dy, -3);
}

// An exception with its own values hands its own step over; with `inherit` the global one.
TEST_F(ScrollCoordinatorTest, ExceptionsBringTheirOwnValuesUnlessInheriting) {
    recordEngine();
    ScrollAdvanced own;
    own.step = 40;
    own.duration = 200;
    auto exception =
        std::make_shared<ExceptionalApplication>("com.example.editor", ScrollBase{}, own, false);
    SettingsManager::shared().modifySettings(
        [&](CorvaneSettings& s) { s.appSettings.exceptionalApplication = {exception}; });
    coordinator().handleScrollEvent(wheel(10));
    exception->setInherit(true);
    coordinator().handleScrollEvent(wheel(10));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], (EngineCall{0.2, 7, 0.05, 0.03, 40, 0}));
    EXPECT_EQ(calls[1], (EngineCall{0.35, 7, 0.05, 0.03, 90, 0}));
    EXPECT_EQ(coordinator().exceptionalApplication, exception);
    EXPECT_EQ(coordinator().currentApplication->processIdentifier(), kEditor);
}

// The exception found for the target is kept while the target stays, yet its values are read
// at every tick: a change made in place (the menu, the row's switch, "Use global settings",
// its own values) assigns no settings and still holds from the next tick to that target on.
TEST_F(ScrollCoordinatorTest, ExceptionChangedInPlaceHoldsFromTheNextTick) {
    struct Case {
        const char* name;
        std::function<void(ExceptionalApplication&)> change;
        std::optional<EngineCall> next;  ///< none: the tick passes
    };
    const Case cases[] = {
        {"smoothing off",
         [](ExceptionalApplication& e) {
             e.setScrollBase({false, true, false});
         },
         std::nullopt},
        {"inherit on", [](ExceptionalApplication& e) { e.setInherit(true); },
         EngineCall{0.35, 7, 0.05, 0.03, 90, 0}},
        {"own step changed",
         [](ExceptionalApplication& e) {
             ScrollAdvanced own = e.scrollAdvanced();
             own.step = 25;
             e.setScrollAdvanced(own);
         },
         EngineCall{0.2, 7, 0.05, 0.03, 25, 0}},
    };
    configure(true, true, false);
    SettingsManager::shared().setScrollAdvanced(ScrollAdvanced{});
    recordEngine();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScrollAdvanced own;
        own.step = 40;
        own.duration = 200;
        auto exception = std::make_shared<ExceptionalApplication>("com.example.editor",
                                                                  ScrollBase{}, own, false);
        SettingsManager::shared().modifySettings(
            [&](CorvaneSettings& s) { s.appSettings.exceptionalApplication = {exception}; });
        calls.clear();
        ASSERT_EQ(coordinator().handleScrollEvent(wheel(10)), nullptr);
        ASSERT_THAT(calls, ::testing::ElementsAre(EngineCall{0.2, 7, 0.05, 0.03, 40, 0}));

        const auto generation = SettingsManager::shared().generation();
        c.change(*exception);
        ASSERT_EQ(SettingsManager::shared().generation(), generation);  // not an assignment
        calls.clear();
        CGEventRef next = wheel(10);
        CGEventRef result = coordinator().handleScrollEvent(next);
        if (c.next) {
            EXPECT_EQ(result, nullptr);
            EXPECT_THAT(calls, ::testing::ElementsAre(*c.next));
        } else {
            EXPECT_EQ(result, next);
            EXPECT_TRUE(calls.empty());
        }
    }
}

// An exception with smoothing off lets its application's ticks pass, reversed if asked.
TEST_F(ScrollCoordinatorTest, ExceptionWithSmoothingOffPasses) {
    recordEngine();
    configure(true, true, true);
    auto exception = std::make_shared<ExceptionalApplication>("com.example.editor");
    exception->setScrollBase(ScrollBase{false, true, false});
    SettingsManager::shared().modifySettings(
        [&](CorvaneSettings& s) { s.appSettings.exceptionalApplication = {exception}; });
    CGEventRef e = wheel(10);
    EXPECT_EQ(coordinator().handleScrollEvent(e), e);
    EXPECT_EQ(e->doubleValue(kCGScrollWheelEventPointDeltaAxis1), -10);
    EXPECT_TRUE(calls.empty());
}

// Reversing the most negative line delta saturates instead of overflowing.
TEST_F(ScrollCoordinatorTest, ReversalSaturatesTheMostNegativeLineDelta) {
    configure(false, true, true);
    CGEventRef e = wheel(0, 0, kEditor, std::numeric_limits<std::int64_t>::min());
    coordinator().handleScrollEvent(e);
    EXPECT_EQ(e->integerValue(kCGScrollWheelEventDeltaAxis1),
              std::numeric_limits<std::int64_t>::max());
}

// --- modifier keys and the mouse -----------------------------------------------------------

// A held blocking modifier suspends smoothing until it is released; keys outside the block
// list and Caps Lock change nothing.
TEST_F(ScrollCoordinatorTest, BlockingModifierSuspendsSmoothing) {
    recordEngine();
    coordinator().handleFlagsChanged(flagsChanged(54, kCGEventFlagMaskCommand));  // right Command
    EXPECT_TRUE(coordinator().blockSmooth);
    CGEventRef e = wheel(10);
    EXPECT_EQ(coordinator().handleScrollEvent(e), e);
    EXPECT_TRUE(calls.empty());
    coordinator().handleFlagsChanged(flagsChanged(57, 0));  // Caps Lock
    EXPECT_TRUE(coordinator().blockSmooth);
    coordinator().handleFlagsChanged(flagsChanged(54, 0));
    EXPECT_FALSE(coordinator().blockSmooth);

    SettingsManager::shared().modifySettings(
        [](CorvaneSettings& s) { s.scrollAdvanced.block = {55}; });
    coordinator().handleFlagsChanged(flagsChanged(58, kCGEventFlagMaskAlternate));  // not blocked
    EXPECT_FALSE(coordinator().blockSmooth);
}

class CoordinatorWithEngineTest : public ScrollCoordinatorTest {
  protected:
    /// Starts an animation through the real engine.
    void animate() {
        ASSERT_EQ(coordinator().handleScrollEvent(wheel(10)), nullptr);
        rt().advance(0.05);
        ASSERT_TRUE(ScrollEngineCV::shared().isDisplayLinkRunning());
    }
};

// Pressing a blocking modifier, pressing or releasing Shift, or a left mouse-down stops a
// running animation.
TEST_F(CoordinatorWithEngineTest, ModifiersAndClicksStopTheAnimation) {
    struct Step {
        const char* name;
        std::function<void()> act;
    };
    const Step steps[] = {
        {"command down",
         [] { coordinator().handleFlagsChanged(flagsChanged(55, kCGEventFlagMaskCommand)); }},
        {"shift down",
         [] { coordinator().handleFlagsChanged(flagsChanged(56, kCGEventFlagMaskShift)); }},
        {"shift up", [] { coordinator().handleFlagsChanged(flagsChanged(60, 0)); }},
        {"left mouse down", [] { coordinator().handleMouseDown(); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        coordinator().blockSmooth = false;
        animate();
        step.act();
        EXPECT_FALSE(ScrollEngineCV::shared().isDisplayLinkRunning());
        const auto postedBefore = sim::session().windowServer().postedEvents().size();
        rt().advance(1.0);
        EXPECT_EQ(sim::session().windowServer().postedEvents().size(), postedBefore);  // dropped
    }
}

// --- start and stop ------------------------------------------------------------------------

// Start installs the wheel tap at the head and two listeners at the tail; a second start, or
// a start with smoothing off, changes nothing; stop detaches them and stops the engine.
TEST_F(ScrollCoordinatorTest, StartInstallsThreeTapsOnce) {
    configure(false, true, false);
    coordinator().start();
    EXPECT_FALSE(coordinator().isActive);
    EXPECT_TRUE(sim::session().windowServer().taps().empty());

    configure(true, true, false);
    coordinator().start();
    auto first = coordinator().scrollEventInterceptor;
    coordinator().start();
    EXPECT_TRUE(coordinator().isActive);
    EXPECT_EQ(coordinator().scrollEventInterceptor, first);
    auto taps = sim::session().windowServer().taps();
    ASSERT_EQ(taps.size(), 3u);
    EXPECT_EQ(taps[0]->mask(), 0x400000u);
    EXPECT_FALSE(taps[0]->isListenOnly());
    EXPECT_EQ(taps[1]->mask(), 0x1000u);
    EXPECT_TRUE(taps[1]->isListenOnly());
    EXPECT_EQ(taps[2]->mask(), 0x2u);
    EXPECT_TRUE(taps[2]->isListenOnly());

    coordinator().stop();
    EXPECT_FALSE(coordinator().isActive);
    EXPECT_FALSE(coordinator().scrollEventInterceptor->isEnabled());
    EXPECT_FALSE(coordinator().mouseEventInterceptor->isEnabled());
    coordinator().stop();  // inactive: nothing

    coordinator().start();  // a new start replaces the interceptors
    EXPECT_NE(coordinator().scrollEventInterceptor, first);
    first.reset();  // the replaced interceptors' teardown releases their taps
    taps.clear();
    EXPECT_EQ(sim::session().windowServer().taps().size(), 3u);
}

// A tap that cannot be created prints the error; the earlier taps stay and so does isActive.
TEST_F(ScrollCoordinatorTest, RefusedTapEndsStartThere) {
    sim::session().windowServer().failNextTapCreation(1, 1);
    ::testing::internal::CaptureStdout();
    coordinator().start();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "ScrollCoordinator: EventTapInterceptor error: eventTapCreationFailed\n");
    EXPECT_TRUE(coordinator().isActive);
    ASSERT_TRUE(coordinator().scrollEventInterceptor);
    EXPECT_TRUE(coordinator().scrollEventInterceptor->isEnabled());
    EXPECT_FALSE(coordinator().hotkeyEventInterceptor);
    EXPECT_FALSE(coordinator().mouseEventInterceptor);
    coordinator().start();  // still active: nothing is retried
    EXPECT_FALSE(coordinator().hotkeyEventInterceptor);
}

// A tap whose run-loop source cannot be made fails to enable: the error is printed, the taps
// made before it stay, and the failed one is dropped with its tap.
TEST_F(ScrollCoordinatorTest, TapThatCannotBeEnabledEndsStartThere) {
    coordinator().start();
    coordinator().stop();
    ASSERT_EQ(sim::session().windowServer().taps().size(), 3u);

    sim::session().failNextRunLoopSource(1);
    ::testing::internal::CaptureStdout();
    coordinator().start();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "ScrollCoordinator: EventTapInterceptor error: eventTapEnableFailed\n");
    EXPECT_TRUE(coordinator().isActive);
    // The wheel tap of the earlier start stays in its field, stopped; nothing replaced it.
    EXPECT_FALSE(coordinator().scrollEventInterceptor->isEnabled());
    EXPECT_FALSE(coordinator().hotkeyEventInterceptor->isEnabled());
    EXPECT_EQ(sim::session().windowServer().taps().size(), 3u);
}

// --- end to end on the session -------------------------------------------------------------

struct Received {
    int hardware = 0;
    int synthetic = 0;
    double pointY = 0;
    double pointX = 0;
};

Received receivedBy(pid_t pid) {
    Received r;
    for (const auto& e : sim::session().windowServer().receivedEvents()) {
        if (e.pid != pid)
            continue;
        (e.origin == sim::EventOrigin::hardware ? r.hardware : r.synthetic)++;
        r.pointY += e.event.doubleValue(kCGScrollWheelEventPointDeltaAxis1);
        r.pointX += e.event.doubleValue(kCGScrollWheelEventPointDeltaAxis2);
    }
    return r;
}

// One wheel tick reaches the application as synthetic events adding up to exactly the step;
// the hardware tick itself never reaches it.
TEST_F(ScrollCoordinatorTest, OneTickArrivesAsTheWholeStep) {
    coordinator().start();
    sim::session().windowServer().scheduleHardwareEvent(rt().mediaTime() + 0.1,
                                                        wheel(10, 0, kEditor, 1, 1.0));
    rt().advance(2);
    Received r = receivedBy(kEditor);
    EXPECT_EQ(r.hardware, 0);
    EXPECT_GT(r.synthetic, 5);
    EXPECT_EQ(r.pointY, 90);
    EXPECT_EQ(r.pointX, 0);
    EXPECT_FALSE(ScrollEngineCV::shared().isDisplayLinkRunning());
}

// A tick against the running direction stops the animation; the next tick starts afresh.
TEST_F(ScrollCoordinatorTest, ReversalMidAnimationStopsIt) {
    coordinator().start();
    const double t0 = rt().mediaTime();
    sim::session().windowServer().scheduleHardwareEvent(t0 + 0.1, wheel(10));
    sim::session().windowServer().scheduleHardwareEvent(t0 + 0.2, wheel(-10));
    sim::session().windowServer().scheduleHardwareEvent(t0 + 0.3, wheel(-10));
    rt().advance(0.2);
    const double partial = receivedBy(kEditor).pointY;
    EXPECT_GT(partial, 0);
    EXPECT_LT(partial, 90);
    rt().advance(2);
    Received r = receivedBy(kEditor);
    EXPECT_EQ(r.hardware, 0);
    EXPECT_EQ(r.pointY, partial - 90);  // the reversing tick moved nothing, the next the step
}

// A trackpad swipe reaches the application untouched.
TEST_F(ScrollCoordinatorTest, TrackpadSwipeArrivesUntouched) {
    configure(true, true, true);
    coordinator().start();
    CGEventRef swipe = wheel(3.5, 0, kEditor);
    swipe->setDoubleValue(kCGScrollWheelEventScrollPhase, 1);
    const CGEvent sent = *swipe;
    sim::session().windowServer().scheduleHardwareEvent(rt().mediaTime() + 0.1, swipe);
    rt().advance(1);
    auto received = sim::session().windowServer().receivedEvents();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].origin, sim::EventOrigin::hardware);
    EXPECT_EQ(received[0].event, sent);
}

}  // namespace
}  // namespace corvane
