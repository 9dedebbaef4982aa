#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/appkit/RunningApplication.h"
#include "platform/quartz/CGEvent.h"
#include "platform/quartz/CGEventTap.h"
#include "scroll/EventTapInterceptor.h"
#include "scroll/ExceptionIndex.h"
#include "settings/ExceptionalApplication.h"

namespace corvane {

/// Owns the three event taps of the scroll pipeline and decides, for every wheel event, whether
/// it passes untouched, passes reversed, is handed to the smoothing engine or is dropped. It
/// also follows the modifier keys (a held blocking modifier suspends smoothing) and stops a
/// running animation on a left mouse-down. Main thread only.
class ScrollCoordinator {
  public:
    /// The instance, created on first use (logging "Module initialized: ScrollCoordinator"),
    /// never destroyed.
    static ScrollCoordinator& shared();

    /// Installs the wheel, flags-changed and left-mouse-down taps, in that order, when global
    /// smoothing is on and the coordinator is not active. A tap that cannot be created or
    /// enabled ends the start there: the error is printed to standard output, the earlier taps
    /// stay installed and the coordinator stays active.
    void start();
    /// Stops the engine, disables the taps and detaches their sources; keeps the objects until
    /// the next start replaces them. Nothing when inactive.
    void stop();

    /// The wheel tap's body: the event to let continue (possibly changed in place), or null to
    /// drop it.
    platform::CGEventRef handleScrollEvent(const platform::CGEventRef& event);
    /// The flags-changed tap's body.
    void handleFlagsChanged(const platform::CGEventRef& event);
    /// The left-mouse-down tap's body: stops the engine.
    void handleMouseDown();

    bool isActive = false;
    /// True while a modifier key of the global block list is held.
    bool blockSmooth = false;
    /// The target application of the latest wheel event that reached the decision.
    platform::RunningApplicationRef currentApplication;
    /// The first exception for `currentApplication`, looked up again only when the target
    /// application or the settings' generation changes.
    ExceptionalApplicationRef exceptionalApplication;
    std::shared_ptr<EventTapInterceptor> scrollEventInterceptor;
    std::shared_ptr<EventTapInterceptor> hotkeyEventInterceptor;
    std::shared_ptr<EventTapInterceptor> mouseEventInterceptor;
    const platform::CGEventMask scrollEventMask = 0x400000;  ///< 1 << 22, scroll wheel
    const platform::CGEventMask hotkeyEventMask = 0x1000;    ///< 1 << 12, flags changed
    const platform::CGEventMask mouseLeftEventMask = 0x2;    ///< 1 << 1, left mouse down
    /// Wall-clock time (seconds since 1970) of the latest wheel event that was not our own.
    std::optional<double> lastScrollEventAt;
    /// That event's source process.
    platform::pid_t lastScrollEventSourcePID = 0;
    /// Whether that event was classified as continuous (a trackpad and the like).
    bool lastScrollEventWasTrackpad = false;
    const platform::CGEventTapCallBack scrollEventCallBack;
    const platform::CGEventTapCallBack hotkeyEventCallBack;
    const platform::CGEventTapCallBack mouseLeftEventCallBack;

    /// What the coordinator hands a tick to: the event, duration (s), acceleration limit,
    /// acceleration threshold (s), smoothness (s), dy and dx (points); true when taken.
    using EngineInput = std::function<bool(const platform::CGEventRef&, double, double, double,
                                           double, double, double)>;
    /// Hands ticks to `input` instead of the smoothing engine (none: the engine again).
    void setEngineInputForTesting(EngineInput input) { engineInputForTesting_ = std::move(input); }

  private:
    ScrollCoordinator();

    /// Creates one tap and starts its interceptor; throws InterceptorError.
    std::shared_ptr<EventTapInterceptor> installTap(platform::CGEventTapPlacement placement,
                                                    platform::CGEventTapOptions options,
                                                    platform::CGEventMask mask,
                                                    platform::CGEventTapCallBack callback);

    EngineInput engineInputForTesting_;
    /// The settings' exceptions by bundle identifier, and the answers for the latest targets,
    /// as of `exceptionsGeneration_`.
    ExceptionIndex exceptionIndex_;
    /// The settings generation under which `exceptionIndex_` was built; 0: never.
    std::uint64_t exceptionsGeneration_ = 0;
};

}  // namespace corvane
