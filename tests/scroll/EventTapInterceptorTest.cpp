#include "scroll/EventTapInterceptor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/quartz/CGEventTap.h"
#include "platform/sim/Session.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using namespace platform;
using testing::loggedMessages;
using testing::rt;

const std::string kReenabled = "EventTapInterceptor: event tap went inactive, enabling it again";
const std::string kBackingOff = "EventTapInterceptor: too many re-enables in a row, backing off";

CGEventRef passThrough(CGEventTapProxy, CGEventType, CGEventRef event, void*) {
    return event;
}

long countLogged(const std::string& message) {
    auto messages = loggedMessages();
    return std::count(messages.begin(), messages.end(), message);
}

class EventTapInterceptorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tap = CGEventTapCreate(kCGAnnotatedSessionEventTap, kCGHeadInsertEventTap,
                               kCGEventTapOptionDefault, CGEventMaskBit(CGEventType::scrollWheel),
                               passThrough, nullptr);
        ASSERT_TRUE(tap);
        interceptor = EventTapInterceptor::create(tap);
        startTime = rt().mediaTime();
    }

    /// Moves the clock to `seconds` after the fixture's start.
    void at(double seconds) { rt().runUntil(startTime + seconds); }
    void systemDisables() { sim::session().windowServer().disableTapBySystem(tap); }

    CFMachPortRef tap;
    std::shared_ptr<EventTapInterceptor> interceptor;
    double startTime = 0;
};

// Starting attaches the source to the main run loop in the common modes and enables the
// tap; the watchdog has its own utility queue.
TEST_F(EventTapInterceptorTest, StartAttachesAndEnables) {
    CGEventTapEnable(tap, false);
    EXPECT_EQ(interceptor->runLoopRef(), CFRunLoopGetMain());
    EXPECT_FALSE(CFRunLoopContainsSource(CFRunLoopGetMain(), interceptor->runLoopSourceRef(),
                                         kCFRunLoopCommonModes));
    interceptor->start();
    EXPECT_TRUE(CFRunLoopContainsSource(CFRunLoopGetMain(), interceptor->runLoopSourceRef(),
                                        kCFRunLoopCommonModes));
    EXPECT_TRUE(interceptor->isEnabled());
    ASSERT_TRUE(interceptor->watchdogTimer());
    EXPECT_EQ(interceptor->queue()->label(), "EventTapInterceptor.watchdog");
    EXPECT_EQ(interceptor->queue()->qos(), QualityOfService::utility);
}

// A tap the system disabled is enabled again at the next 5 s tick, with the message.
TEST_F(EventTapInterceptorTest, ReenablesAtTheNextTick) {
    interceptor->start();
    at(1.0);
    systemDisables();
    at(4.999);
    EXPECT_FALSE(interceptor->isEnabled());
    EXPECT_EQ(countLogged(kReenabled), 0);
    at(5.0);
    EXPECT_TRUE(interceptor->isEnabled());
    EXPECT_EQ(countLogged(kReenabled), 1);
    at(30.0);  // healthy ticks log nothing
    EXPECT_EQ(countLogged(kReenabled), 1);
}

// A tap disabled before every tick is re-enabled three times, then the watchdog backs off
// at each tick while the oldest re-enable is at most 60 s old (exactly 60 s still counts),
// and re-enables at the first tick after that.
TEST_F(EventTapInterceptorTest, BacksOffAfterThreeReenablesInAMinute) {
    interceptor->start();
    std::string outcomes;
    for (int tick = 1; tick <= 14; ++tick) {
        if (interceptor->isEnabled())
            systemDisables();
        const long reenabledBefore = countLogged(kReenabled);
        const long backedOffBefore = countLogged(kBackingOff);
        at(5.0 * tick);
        if (countLogged(kReenabled) > reenabledBefore && interceptor->isEnabled()) {
            outcomes += 'R';
        } else if (countLogged(kBackingOff) > backedOffBefore && !interceptor->isEnabled()) {
            outcomes += 'B';
        } else {
            outcomes += '?';
        }
    }
    // Re-enables at 5, 10, 15 s; 65 s is exactly 60 s after the first: still backing off.
    EXPECT_EQ(outcomes, "RRRBBBBBBBBBBR");
}

// After stop there is no watchdog: a disabled tap stays disabled, the source is detached.
TEST_F(EventTapInterceptorTest, NoReenableAfterStop) {
    interceptor->start();
    interceptor->stop();
    EXPECT_FALSE(interceptor->watchdogTimer());
    EXPECT_FALSE(CGEventTapIsEnabled(tap));
    EXPECT_FALSE(CFRunLoopContainsSource(CFRunLoopGetMain(), interceptor->runLoopSourceRef(),
                                         kCFRunLoopCommonModes));
    EXPECT_TRUE(interceptor->eventTapRef());  // references stay for a later start
    at(60.0);
    EXPECT_FALSE(CGEventTapIsEnabled(tap));
    EXPECT_EQ(countLogged(kReenabled), 0);
}

// Starting twice attaches the source once and replaces the watchdog (one check per tick).
TEST_F(EventTapInterceptorTest, StartTwiceAttachesOnce) {
    interceptor->start();
    auto first = interceptor->watchdogTimer();
    at(2.0);
    interceptor->start();
    EXPECT_TRUE(first->isCancelled());
    EXPECT_NE(interceptor->watchdogTimer(), first);
    EXPECT_EQ(CFRunLoopGetMain()->attachmentCount(), 1u);

    systemDisables();
    at(5.0);  // the first watchdog would have fired here
    EXPECT_FALSE(interceptor->isEnabled());
    at(7.0);
    EXPECT_TRUE(interceptor->isEnabled());
    EXPECT_EQ(countLogged(kReenabled), 1);
}

// Without a tap, start throws eventTapEnableFailed and attaches nothing.
TEST(EventTapInterceptorErrorTest, StartWithoutTapFails) {
    auto interceptor = EventTapInterceptor::create(nullptr);
    try {
        interceptor->start();
        FAIL() << "start did not throw";
    } catch (const EventTapInterceptor::InterceptorError& error) {
        EXPECT_EQ(error, EventTapInterceptor::InterceptorError::eventTapEnableFailed);
        EXPECT_EQ(error.description(), "eventTapEnableFailed");
    }
    EXPECT_EQ(CFRunLoopGetMain()->attachmentCount(), 0u);
    EXPECT_FALSE(interceptor->watchdogTimer());
    EXPECT_STREQ(EventTapInterceptor::InterceptorError(
                     EventTapInterceptor::InterceptorError::eventTapCreationFailed)
                     .what(),
                 "eventTapCreationFailed");
}

// Releasing the interceptor disables the tap, detaches the source and ends the watchdog.
TEST_F(EventTapInterceptorTest, TeardownDisablesAndDetaches) {
    interceptor->start();
    auto timer = interceptor->watchdogTimer();
    interceptor.reset();
    EXPECT_FALSE(CGEventTapIsEnabled(tap));
    EXPECT_EQ(CFRunLoopGetMain()->attachmentCount(), 0u);
    EXPECT_TRUE(timer->isCancelled());
    systemDisables();
    at(20.0);
    EXPECT_EQ(countLogged(kReenabled), 0);
}

}  // namespace
}  // namespace corvane
