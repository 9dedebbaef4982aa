// The animation side of the engine: ticks become fibers, frames advance them and post.
#include "scroll/ScrollEngineCV.h"

#include <algorithm>
#include <cmath>

#include "platform/dispatch/DispatchPrecondition.h"
#include "platform/quartz/CGEventPost.h"
#include "platform/runtime/Runtime.h"
#include "scroll/AnimationFunctions.h"
#include "scroll/OwnEventStamp.h"
#include "settings/Logger.h"
#include "settings/SettingsManager.h"

namespace corvane {

namespace {

/// Fibers a tick burst usually reaches; reserved once so that frames and ticks do not
/// allocate.
constexpr std::size_t kReservedFibers = 64;
/// Ticks whose animation has not settled this long after the latest one arrived (a duration
/// or time constant far beyond any usable value) end as if they had settled, seconds.
constexpr double kLongestAnimation = 60.0;

bool isFinite(AxisPair pair) {
    return std::isfinite(pair.y) && std::isfinite(pair.x);
}

}  // namespace

ScrollEngineCV& ScrollEngineCV::shared() {
    static auto* engine = new ScrollEngineCV();
    return *engine;
}

ScrollEngineCV::ScrollEngineCV()
    : followerTau(SettingsManager::shared().settings().scrollAdvanced.smoothness / 1000),
      stateQ(platform::runtime().makeSerialQueue("ScrollEngine.stateQ",
                                                 platform::QualityOfService::unspecified)),
      animationFunction(AnimationFunctions::viscousFluid),
      duration(SettingsManager::shared().settings().scrollAdvanced.duration / 1000),
      accelerationTreshold(
          SettingsManager::shared().settings().scrollAdvanced.accelerationThreshold / 1000),
      accelerationLimit(SettingsManager::shared().settings().scrollAdvanced.accelerationLimit) {
    queue.reserve(kReservedFibers);
    logModuleInitialized("ScrollEngineCV");
}

void ScrollEngineCV::enqueue(double tickDuration, double tickStartTime,
                             double tickAccelerationLimit, double tickAccelerationThreshold,
                             double tickFollowerTau, platform::CGEventRef event,
                             platform::pid_t pid, double dy, double dx) {
    CORVANE_ASSERT_ON_QUEUE(*stateQ);
    duration = tickDuration;
    startTime = tickStartTime;
    accelerationLimit = tickAccelerationLimit;
    accelerationTreshold = tickAccelerationThreshold;
    followerTau = tickFollowerTau;
    acceleration = computeAcceleration();
    if (event) {
        ref = EventTemplate{std::move(event), pid};
    }
    checkDirection(dy, dx);
    const AxisPair step{acceleration * dy, acceleration * dx};
    // A step that is not a number of points would make every later frame unpostable.
    if (!isFinite(step)) {
        return;
    }
    queue.push_back(ScrollFiber{step, {}, {}, startTime});
}

double ScrollEngineCV::computeAcceleration() {
    CORVANE_ASSERT_ON_QUEUE(*stateQ);
    return accelerationFor(startTime, accelerationLimit, accelerationTreshold, lastEventTime,
                           smoothedTickGap);
}

double ScrollEngineCV::accelerationFor(double tickTime, double limit, double threshold,
                                       double& lastTime, double& smoothedGap) {
    if (limit < 1) {
        return 1;
    }
    const double gap = tickTime - lastTime;
    lastTime = tickTime;
    if (threshold > gap) {
        smoothedGap = smoothedGap == 0 ? gap : 0.4 * gap + 0.6 * smoothedGap;
        // The gap in milliseconds; a smoothed gap of 0 gives an infinite quotient, capped at
        // the limit below.
        const double a = (55 / (smoothedGap * 1000) + 1) / 1.8;
        return std::min(std::max(a, 1.0), limit);
    }
    smoothedGap = 0;
    return 1;
}

void ScrollEngineCV::checkDirection(double dy, double dx) {
    CORVANE_ASSERT_ON_QUEUE(*stateQ);
    const AxisPair d{dy > 0 ? 1.0 : -1.0, dx > 0 ? 1.0 : -1.0};
    if (d == delta) {
        return;
    }
    delta = d;
    if (queue.empty()) {
        return;
    }
    // The reset that stop queues runs after this enqueue, so the reversing tick goes too.
    if (platform::CVDisplayLinkIsRunning(poster.load())) {
        stop();
    }
}

void ScrollEngineCV::frameStep(double t) {
    CORVANE_ASSERT_ON_QUEUE(*stateQ);
    const AnimationFunction curve = animationFunction;
    // Fibers that end in this frame are dropped in the same pass: each running one moves up
    // over them, so the order stays and a frame costs one pass however many end together.
    auto kept = queue.begin();
    for (ScrollFiber& fiber : queue) {
        const double elapsed = t - fiber.startTime;
        const bool ended = elapsed >= duration;
        const double p = ended ? 1 : elapsed / duration;
        const AxisPair c = curve(p) * fiber.step;
        const AxisPair increment = c - fiber.last;
        target += increment;
        fiber.value = increment;
        fiber.last = c;
        if (!ended) {
            if (&*kept != &fiber)
                *kept = fiber;
            ++kept;
        }
    }
    queue.erase(kept, queue.end());
    const bool empty = queue.empty();

    const double dt = lastFrameStamp > 0 ? std::min(t - lastFrameStamp, 0.1) : 1.0 / 60;
    lastFrameStamp = t;
    const double alpha = followerTau > 0.001 ? 1 - std::exp(-dt / followerTau) : 1;
    const AxisPair before = output;
    output = output + alpha * (target - output);

    bool settled =
        empty && std::abs(target.y - output.y) < 0.5 && std::abs(target.x - output.x) < 0.5;
    if (!settled && cannotSettle(t, dt, before)) {
        // Ends as a settle would: every fiber's whole step joins the target and the rest is
        // posted below.
        for (const ScrollFiber& fiber : queue) {
            target += fiber.step - fiber.last;
        }
        queue.clear();
        settled = true;
    }
    if (settled) {
        output = target;
    }

    const AxisPair moved = output - posted;
    const AxisPair s{std::round(moved.y), std::round(moved.x)};  // halves away from zero
    // A movement that is not a number of points is never posted nor counted as posted.
    if ((s.y != 0 || s.x != 0) && isFinite(s)) {
        posted += s;
        if (platform::CGEventRef event = platform::CGEventCreateCopy(ref.event)) {
            using namespace platform;
            CGEventSetDoubleValueField(event, kCGScrollWheelEventPointDeltaAxis1, s.y);
            CGEventSetDoubleValueField(event, kCGScrollWheelEventPointDeltaAxis2, s.x);
            CGEventSetDoubleValueField(event, kCGScrollWheelEventFixedPtDeltaAxis1, 0);
            CGEventSetDoubleValueField(event, kCGScrollWheelEventFixedPtDeltaAxis2, 0);
            CGEventSetDoubleValueField(event, kCGScrollWheelEventIsContinuous, 1);
            CGEventSetIntegerValueField(event, kCGEventSourceUserData, kOwnEventStamp);
            if (ref.pid > 0) {
                CGEventPostToPid(ref.pid, event);
            } else {
                CGEventPost(kCGSessionEventTap, event);
            }
        }
    }

    if (settled) {
        endAnimation();
    }
}

bool ScrollEngineCV::cannotSettle(double t, double dt, AxisPair before) const {
    if (!isFinite(target) || !isFinite(output)) {
        return true;
    }
    // Far from the target, a step too small for the output's precision (or a time constant
    // so long that it rounds to no step) leaves the output where it was, frame after frame.
    const auto stuck = [](double to, double now, double was) {
        return std::abs(to - now) >= 0.5 && now == was;
    };
    if (dt > 0 && (stuck(target.y, output.y, before.y) || stuck(target.x, output.x, before.x))) {
        return true;
    }
    return t - startTime > kLongestAnimation;
}

void ScrollEngineCV::stop() {
    if (platform::CVDisplayLinkRef link = poster.load()) {
        platform::CVDisplayLinkStop(link);
    }
    queueReset();
}

void ScrollEngineCV::endAnimation() {
    CORVANE_ASSERT_ON_QUEUE(*stateQ);
    if (platform::CVDisplayLinkRef link = poster.load()) {
        platform::CVDisplayLinkStop(link);
    }
    stateQ->async([this] { resetAfterEnd(); });
}

void ScrollEngineCV::resetAfterEnd() {
    CORVANE_ASSERT_ON_QUEUE(*stateQ);
    // The frame that ended the animation found no fiber, so every fiber here came later.
    if (queue.empty()) {
        reset();
        return;
    }
    if (!isFinite(target) || !isFinite(output)) {
        // Nothing of the ended animation can be posted: the later ticks start from zero.
        posted = output = target = {};
        for (ScrollFiber& fiber : queue) {
            fiber.value = fiber.last = {};
        }
    }
    lastFrameStamp = 0;
    // The tick that queued them may have found the link still running and left it alone.
    platform::runtime().mainQueue().async([this] {
        if (mainPoster && !platform::CVDisplayLinkIsRunning(mainPoster) &&
            startPoster(mainPoster)) {
            writeLastFrameTime(platform::CACurrentMediaTime());
        }
    });
}

void ScrollEngineCV::reset() {
    CORVANE_ASSERT_ON_QUEUE(*stateQ);
    ref = EventTemplate{};
    queue.clear();
    posted = {};
    output = {};
    target = {};
    lastFrameStamp = 0;
}

void ScrollEngineCV::queueReset() {
    stateQ->async([this] { reset(); });
}

ScrollEngineCV::StateForTesting ScrollEngineCV::stateForTesting() const {
    return StateForTesting{currentDisplayID,
                           startTime,
                           lastEventTime,
                           delta,
                           queue,
                           target,
                           output,
                           posted,
                           lastFrameStamp,
                           followerTau,
                           smoothedTickGap,
                           duration,
                           acceleration,
                           accelerationTreshold,
                           accelerationLimit,
                           ref,
                           watchdog != nullptr,
                           readLastFrameTime(),
                           lastRebuildTime,
                           rebuildCooldown};
}

}  // namespace corvane
