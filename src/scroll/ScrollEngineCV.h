#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/corevideo/CVDisplayLink.h"
#include "platform/dispatch/UnfairLock.h"
#include "platform/quartz/CGEvent.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/Timer.h"
#include "scroll/AxisPair.h"
#include "scroll/PendingTick.h"
#include "scroll/ScrollFiber.h"

namespace corvane {

/// The smoothing engine: turns every accepted wheel tick into a fiber whose share of the
/// tick's displacement grows along an easing curve, follows the fibers' sum with an
/// exponential follower, and on every frame of a display link posts the whole points moved
/// since the last frame as one synthetic scroll event built from a copy of the latest tick.
///
/// Threads: `handleInput`, the display link's creation, rebuild and start, the watchdog and
/// `statusDescription` run on the main thread; the animation state lives on the serial queue
/// "ScrollEngine.stateQ" (`enqueue`, `computeAcceleration`, `checkDirection`, `frameStep`,
/// `reset`); the display link's thread only records the frame time (under `frameTimeLock`)
/// and queues the frame step. All times are seconds of the host media clock, all amounts
/// points.
class ScrollEngineCV {
  public:
    /// The easing curve's type: progress (0...1 of the duration) to share of the step.
    using AnimationFunction = double (*)(double);

    /// The template of posted events: a copy of the latest accepted tick and its target
    /// process (a pid of 0 or below means the session).
    struct EventTemplate {
        platform::CGEventRef event;
        platform::pid_t pid = 0;
    };

    /// The instance, created on first use (reading the global scroll values once) and never
    /// destroyed.
    static ScrollEngineCV& shared();

    ScrollEngineCV(const ScrollEngineCV&) = delete;
    ScrollEngineCV& operator=(const ScrollEngineCV&) = delete;

    // Input and display link (main thread unless said otherwise).

    /// Takes one wheel tick: the tick's duration (s), acceleration limit, acceleration
    /// threshold (s), follower time constant (s) and displacement (points). Returns true when
    /// the engine took it (the caller drops the event), false when the event must pass
    /// unsmoothed because no working display link can be had.
    bool handleInput(const platform::CGEventRef& event, double tickDuration,
                     double tickAccelerationLimit, double tickAccelerationThreshold,
                     double tickFollowerTau, double dy, double dx);
    /// The display under the event's location, if any.
    std::optional<std::uint32_t> displayID(const platform::CGEventRef& event) const;
    /// Replaces the display link by a new, stopped one for `display` (none when it cannot be
    /// made) and makes sure the watchdog runs.
    void rebuildDisplayLink(std::uint32_t display);
    /// The display link's output callback (display-link thread): records the frame time and
    /// queues a frame step for the time the frame will be shown. Returns 0.
    static platform::CVReturn displayLinkCallback(platform::CVDisplayLink* displayLink,
                                                  const platform::CVTimeStamp* inNow,
                                                  const platform::CVTimeStamp* inOutputTime,
                                                  platform::CVOptionFlags flagsIn,
                                                  platform::CVOptionFlags* flagsOut, void* context);
    /// Schedules the watchdog, a repeating 5 s timer on the main run loop, once.
    void startWatchdog();
    /// Rebuilds and restarts a running display link that gave no frame for more than 2 s, at
    /// most once per `rebuildCooldown`.
    void watchdogTick();
    /// "display link <running|idle|absent>, display <id|none>, last frame <age|never>".
    std::string statusDescription() const;
    /// Whether a display link exists and reports itself running.
    bool isDisplayLinkRunning() const;

    // The animation (on "ScrollEngine.stateQ" unless said otherwise).

    /// Adds one tick: stores its values, accelerates it, keeps its event as the template
    /// (when present), checks its direction and appends its fiber (not when the accelerated
    /// step is not a finite number).
    void enqueue(double tickDuration, double tickStartTime, double tickAccelerationLimit,
                 double tickAccelerationThreshold, double tickFollowerTau,
                 platform::CGEventRef event, platform::pid_t pid, double dy, double dx);
    /// The multiplier for the tick that arrived at `startTime`; updates the tick-gap memory.
    double computeAcceleration();
    /// Records the tick's direction; a change while fibers run on a running link stops.
    void checkDirection(double dy, double dx);
    /// Advances every fiber and the follower to frame time `t` and posts the whole points
    /// moved; stops once every fiber ended and the follower settled.
    void frameStep(double t);
    /// From any thread: stops the display link at once and queues `reset`.
    void stop();
    /// Drops the running animation: template, fibers and accumulators.
    void reset();
    /// The multiplier of a tick that arrives at `tickTime` (s) under `limit` and `threshold`
    /// (s), from the tick-gap memory `lastTime` and `smoothedGap` (s), which it updates.
    static double accelerationFor(double tickTime, double limit, double threshold, double& lastTime,
                                  double& smoothedGap);

    // For tests (read on the thread that drives the simulated session).

    /// A copy of the engine's state.
    struct StateForTesting {
        std::optional<std::uint32_t> currentDisplayID;
        double startTime;
        double lastEventTime;
        AxisPair delta;
        std::vector<ScrollFiber> queue;
        AxisPair target;
        AxisPair output;
        AxisPair posted;
        double lastFrameStamp;
        double followerTau;
        double smoothedTickGap;
        double duration;
        double acceleration;
        double accelerationTreshold;
        double accelerationLimit;
        EventTemplate ref;
        bool hasWatchdog;
        double lastFrameTime;
        double lastRebuildTime;
        double rebuildCooldown;
    };
    StateForTesting stateForTesting() const;
    /// The display link, if any.
    platform::CVDisplayLinkRef posterForTesting() const { return poster.load(); }
    /// The queue that owns the animation state, so that a test can run the state-queue
    /// functions as its work.
    platform::DispatchQueue& stateQueueForTesting() const { return *stateQ; }
    /// Replaces the easing curve (on the state queue's thread).
    void setAnimationFunctionForTesting(AnimationFunction function) {
        animationFunction = function;
    }

  private:
    ScrollEngineCV();

    /// Starts the link; a start counts as successful when it returns 0 or the link reports
    /// running afterwards.
    static bool startLink(const platform::CVDisplayLinkRef& link, platform::CVReturn& result);
    /// Starts `link` for a tick; when that fails, rebuilds the link and tries once more.
    /// False (the link dropped, a reset queued) when no link could be started.
    bool startPoster(platform::CVDisplayLinkRef link);
    /// Replaces the display link (main thread): `poster` and `mainPoster` alike.
    void setPoster(platform::CVDisplayLinkRef link);
    /// Queues `enqueue` for the tick without allocating while the ring has room.
    void queueTick(PendingTick tick);
    void queueReset();
    /// Whether the animation can no longer settle by itself at frame `t`: a target or output
    /// that is not a number of points, a follower that no longer gets closer although it is
    /// half a point or more away (`before`: the output before this frame's step), or ticks
    /// that have not settled `kLongestAnimation` after the latest one arrived.
    bool cannotSettle(double t, double dt, AxisPair before) const;
    /// Ends the animation the way a settle does (on the queue): stops the link and queues
    /// `resetAfterEnd`.
    void endAnimation();
    /// The reset that ending the animation queues. Ticks queued behind the frame that ended
    /// it were reported taken: they keep their fibers and the link is started again.
    void resetAfterEnd();
    void writeLastFrameTime(double time) CORVANE_EXCLUDES(frameTimeLock);
    double readLastFrameTime() const CORVANE_EXCLUDES(frameTimeLock);

    // The fields, in the order the design lists them.

    /// The display link that paces frames. Replaced on the main thread, read on the state
    /// queue by `stop` and `checkDirection`: held atomically, so whoever stops it holds a
    /// retained reference to the link it read.
    std::atomic<platform::CVDisplayLinkRef> poster;
    /// The same link, for the main thread: the only thread that replaces it (`setPoster`), so
    /// it reads its own reference without the atomic's lock. Main thread only.
    platform::CVDisplayLinkRef mainPoster;
    std::optional<std::uint32_t> currentDisplayID;  ///< the display `poster` was made for
    double startTime = 0;                           ///< arrival of the latest tick
    double lastEventTime = 0;                       ///< arrival of the tick before it
    AxisPair delta;                                 ///< direction of the latest tick, ±1
    std::vector<ScrollFiber> queue;                 ///< the running fibers, oldest first
    AxisPair target;             ///< displacement the fibers reached since the last reset
    AxisPair output;             ///< the follower's position
    AxisPair posted;             ///< whole points posted since the last reset
    double lastFrameStamp = 0;   ///< time of the previous frame step; 0: none since reset
    double followerTau;          ///< the follower's time constant, seconds
    double smoothedTickGap = 0;  ///< smoothed gap between fast ticks, seconds; 0: none
    std::shared_ptr<platform::DispatchQueue> stateQ;  ///< owns the animation state
    AnimationFunction animationFunction;              ///< the easing curve
    double duration;              ///< length of every fiber's animation, seconds
    double acceleration = 1.0;    ///< multiplier given to the latest tick
    double accelerationTreshold;  ///< longest gap between ticks that still accelerates, s
    double accelerationLimit;     ///< the largest multiplier
    EventTemplate ref;            ///< the template of posted events
    std::shared_ptr<platform::Timer> watchdog;  ///< the repeating rebuild check
    /// When the link last delivered a frame, seconds; read and written under the lock.
    double lastFrameTime CORVANE_GUARDED_BY(frameTimeLock) = 0;
    mutable platform::UnfairLock frameTimeLock;  ///< guards `lastFrameTime` alone
    double lastRebuildTime = 0;                  ///< when the watchdog last rebuilt the link
    double rebuildCooldown = 3.0;  ///< shortest time between two watchdog rebuilds, seconds

    PendingTickRing pendingTicks;  ///< ticks on their way to the state queue
    /// The main thread's copy of the tick-gap memory (`lastEventTime`, `smoothedTickGap`),
    /// advanced with every tick handed to the queue, so that `handleInput` knows a tick's
    /// accelerated step before it takes the tick.
    double inputLastEventTime = 0;
    double inputSmoothedTickGap = 0;
};

}  // namespace corvane
