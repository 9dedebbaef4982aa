// The engine's side that faces the main thread and the screen: tick input, the display link
// under the pointer, its callback, its watchdog and the status line.
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/dispatch/DispatchPrecondition.h"
#include "platform/quartz/CGDisplay.h"
#include "platform/runtime/Runtime.h"
#include "scroll/EventProcess.h"
#include "scroll/ScrollEngineCV.h"
#include "settings/Logger.h"

namespace corvane {

namespace {

/// The watchdog's period, seconds.
constexpr double kWatchdogInterval = 5.0;
/// A running link whose last frame is older than this hands ticks back, seconds.
constexpr double kStallLimit = 1.0;
/// The watchdog rebuilds a running link whose last frame is older than this, seconds.
constexpr double kWatchdogStallLimit = 2.0;

}  // namespace

bool ScrollEngineCV::handleInput(const platform::CGEventRef& event, double tickDuration,
                                 double tickAccelerationLimit, double tickAccelerationThreshold,
                                 double tickFollowerTau, double dy, double dx) {
    CORVANE_ASSERT_MAIN_THREAD();
    platform::CGEventRef copy = platform::CGEventCreateCopy(event);
    const platform::pid_t pid = eventProcess(event, platform::kCGEventTargetUnixProcessID);

    if (const std::optional<std::uint32_t> display = displayID(event)) {
        if (!mainPoster) {
            queueReset();
            rebuildDisplayLink(*display);
        } else if (currentDisplayID != display) {
            // Running fibers go on under the new link.
            rebuildDisplayLink(*display);
        }
    }

    if (!mainPoster) {
        Logger::general().log("ScrollEngineCV: no display link — passing input through unsmoothed");
        return false;
    }

    // The tick's arrival time, also the time against which a stall is judged.
    const double now = platform::CACurrentMediaTime();
    if (platform::CVDisplayLinkIsRunning(mainPoster)) {
        const double lastFrame = readLastFrameTime();
        if (lastFrame > 0 && now - lastFrame > kStallLimit) {
            Logger::general().log(
                "ScrollEngineCV: display link running but stalled — passing input through "
                "unsmoothed");
            queueReset();
            return false;
        }
    }

    // The step the queue will accelerate this tick to, from this thread's copy of the
    // tick-gap memory: a step that is no number of points could never be posted.
    double lastTime = inputLastEventTime;
    double smoothedGap = inputSmoothedTickGap;
    const double a = accelerationFor(now, tickAccelerationLimit, tickAccelerationThreshold,
                                     lastTime, smoothedGap);
    if (!std::isfinite(a * dy) || !std::isfinite(a * dx)) {
        Logger::general().log(
            "ScrollEngineCV: step is not a finite number — passing input through unsmoothed");
        return false;
    }
    inputLastEventTime = lastTime;
    inputSmoothedTickGap = smoothedGap;
    queueTick(PendingTick{tickDuration, now, tickAccelerationLimit, tickAccelerationThreshold,
                          tickFollowerTau, std::move(copy), pid, dy, dx});
    // Asked again after the hand-over: a link that the queue stopped meanwhile is started, and
    // one it stops from now on finds this tick queued and is started again for it.
    if (platform::CVDisplayLinkIsRunning(mainPoster)) {
        return true;
    }
    if (!startPoster(mainPoster)) {
        return false;
    }
    writeLastFrameTime(platform::CACurrentMediaTime());
    return true;
}

bool ScrollEngineCV::startPoster(platform::CVDisplayLinkRef link) {
    platform::CVReturn result = platform::kCVReturnSuccess;
    if (startLink(link, result)) {
        return true;
    }
    Logger::general().log(
        "ScrollEngineCV: CVDisplayLinkStart failed, code %{public}d — rebuilding link", result);
    if (currentDisplayID) {
        rebuildDisplayLink(*currentDisplayID);
    }
    link = mainPoster;
    // Without a link nothing would animate the tick just queued: hand it back, as when the
    // retry fails.
    if (!link) {
        queueReset();
        return false;
    }
    if (!startLink(link, result)) {
        Logger::general().log("ScrollEngineCV: display link restart retry failed, code %{public}d",
                              result);
        setPoster(nullptr);
        queueReset();
        return false;
    }
    return true;
}

std::optional<std::uint32_t> ScrollEngineCV::displayID(const platform::CGEventRef& event) const {
    CORVANE_ASSERT_MAIN_THREAD();
    platform::CGDirectDisplayID display = 0;
    std::uint32_t count = 0;
    const platform::CGError error =
        platform::CGGetDisplaysWithPoint(platform::CGEventGetLocation(event), 1, &display, &count);
    if (error != platform::kCGErrorSuccess || count < 1) {
        return std::nullopt;
    }
    return display;
}

void ScrollEngineCV::rebuildDisplayLink(std::uint32_t display) {
    CORVANE_ASSERT_MAIN_THREAD();
    if (platform::CVDisplayLinkRef old = mainPoster) {
        setPoster(nullptr);
        platform::CVDisplayLinkStop(old);
    }
    currentDisplayID = display;
    platform::CVDisplayLinkRef link;
    const platform::CVReturn result = platform::CVDisplayLinkCreateWithCGDisplay(display, &link);
    if (!link) {
        Logger::general().log(
            "ScrollEngineCV: CVDisplayLinkCreateWithCGDisplay failed for display %{public}u, code "
            "%{public}d",
            display, result);
    } else {
        platform::CVDisplayLinkSetOutputCallback(link, &ScrollEngineCV::displayLinkCallback,
                                                 nullptr);
        setPoster(std::move(link));
    }
    platform::runtime().mainQueue().async([this] { startWatchdog(); });
}

platform::CVReturn ScrollEngineCV::displayLinkCallback(platform::CVDisplayLink* /*displayLink*/,
                                                       const platform::CVTimeStamp* /*inNow*/,
                                                       const platform::CVTimeStamp* inOutputTime,
                                                       platform::CVOptionFlags /*flagsIn*/,
                                                       platform::CVOptionFlags* /*flagsOut*/,
                                                       void* /*context*/) {
    ScrollEngineCV& engine = shared();
    engine.writeLastFrameTime(platform::CACurrentMediaTime());
    const std::uint64_t hostTime = inOutputTime != nullptr ? inOutputTime->hostTime : 0;
    // The time at which the frame will be shown.
    const double t = hostTime != 0
                         ? static_cast<double>(hostTime) / platform::CVGetHostClockFrequency()
                         : platform::CACurrentMediaTime();
    engine.stateQ->async([&engine, t] { engine.frameStep(t); });
    return platform::kCVReturnSuccess;
}

void ScrollEngineCV::startWatchdog() {
    CORVANE_ASSERT_MAIN_THREAD();
    if (watchdog) {
        return;
    }
    // The engine is never destroyed, so the timer may hold it; the timer is never
    // invalidated.
    watchdog = platform::runtime().scheduleTimer(kWatchdogInterval, true,
                                                 [this](platform::Timer&) { watchdogTick(); });
}

void ScrollEngineCV::watchdogTick() {
    CORVANE_ASSERT_MAIN_THREAD();
    if (!platform::CVDisplayLinkIsRunning(mainPoster)) {
        return;
    }
    const double now = platform::CACurrentMediaTime();
    const double lastFrame = readLastFrameTime();
    if (!(lastFrame > 0 && now - lastFrame > kWatchdogStallLimit &&
          now - lastRebuildTime >= rebuildCooldown)) {
        return;
    }
    lastRebuildTime = now;
    Logger::general().log("ScrollEngineCV: display link stopped delivering frames, rebuilding");
    if (!currentDisplayID) {
        return;
    }
    rebuildDisplayLink(*currentDisplayID);
    if (const platform::CVDisplayLinkRef& link = mainPoster) {
        const platform::CVReturn result = platform::CVDisplayLinkStart(link);
        Logger::general().log("ScrollEngineCV: watchdog restarted display link, code %{public}d",
                              result);
        writeLastFrameTime(platform::CACurrentMediaTime());
    } else {
        Logger::general().log(
            "ScrollEngineCV: watchdog rebuild left poster nil — next scroll input will retry or "
            "pass through unsmoothed");
    }
}

std::string ScrollEngineCV::statusDescription() const {
    CORVANE_ASSERT_MAIN_THREAD();
    const platform::CVDisplayLinkRef& link = mainPoster;
    const char* state = !link                                    ? "absent"
                        : platform::CVDisplayLinkIsRunning(link) ? "running"
                                                                 : "idle";
    const std::string display = currentDisplayID ? std::to_string(*currentDisplayID) : "none";
    std::string age = "never";
    if (const double lastFrame = readLastFrameTime(); lastFrame > 0) {
        char text[64];
        std::snprintf(text, sizeof text, "%.1fs ago", platform::CACurrentMediaTime() - lastFrame);
        age = text;
    }
    return std::string("display link ") + state + ", display " + display + ", last frame " + age;
}

bool ScrollEngineCV::isDisplayLinkRunning() const {
    return platform::CVDisplayLinkIsRunning(poster.load());
}

bool ScrollEngineCV::startLink(const platform::CVDisplayLinkRef& link, platform::CVReturn& result) {
    result = platform::CVDisplayLinkStart(link);
    return result == platform::kCVReturnSuccess || platform::CVDisplayLinkIsRunning(link);
}

void ScrollEngineCV::setPoster(platform::CVDisplayLinkRef link) {
    CORVANE_ASSERT_MAIN_THREAD();
    mainPoster = link;
    poster.store(std::move(link));
}

void ScrollEngineCV::queueTick(PendingTick tick) {
    auto enqueueTick = [this](PendingTick&& pending) {
        enqueue(pending.duration, pending.startTime, pending.accelerationLimit,
                pending.accelerationThreshold, pending.followerTau, std::move(pending.event),
                pending.pid, pending.dy, pending.dx);
    };
    if (pendingTicks.put(tick)) {
        stateQ->async([this, enqueueTick] { enqueueTick(pendingTicks.take()); });
    } else {
        stateQ->async(
            [enqueueTick, held = std::move(tick)]() mutable { enqueueTick(std::move(held)); });
    }
}

void ScrollEngineCV::writeLastFrameTime(double time) {
    platform::UnfairLockGuard lock(frameTimeLock);
    lastFrameTime = time;
}

double ScrollEngineCV::readLastFrameTime() const {
    platform::UnfairLockGuard lock(frameTimeLock);
    return lastFrameTime;
}

}  // namespace corvane
