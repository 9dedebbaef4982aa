#include "scroll/ScrollCoordinator.h"

#include <algorithm>
#include <limits>

#include "platform/dispatch/DispatchPrecondition.h"
#include "platform/process/StandardOutput.h"
#include "platform/runtime/Runtime.h"
#include "scroll/AxisData.h"
#include "scroll/EventProcess.h"
#include "scroll/IsTrackpadEvent.h"
#include "scroll/ModifierKeyGroup.h"
#include "scroll/ScrollEngineCV.h"
#include "scroll/ScrollUtils.h"
#include "settings/Logger.h"
#include "settings/SettingsManager.h"
#include "settings/Utils.h"

namespace corvane {

namespace {

using namespace platform;

// The three callbacks reach the coordinator through `shared()`; their user info is null.
CGEventRef scrollEventCallBackFunction(CGEventTapProxy, CGEventType, CGEventRef event, void*) {
    return ScrollCoordinator::shared().handleScrollEvent(event);
}

CGEventRef hotkeyEventCallBackFunction(CGEventTapProxy, CGEventType, CGEventRef event, void*) {
    ScrollCoordinator::shared().handleFlagsChanged(event);
    return nullptr;
}

CGEventRef mouseLeftEventCallBackFunction(CGEventTapProxy, CGEventType, CGEventRef, void*) {
    ScrollCoordinator::shared().handleMouseDown();
    return nullptr;
}

/// Minus a line delta; the most negative one has no negation and saturates to the largest.
std::int64_t negatedLineDelta(std::int64_t value) {
    return value == std::numeric_limits<std::int64_t>::min()
               ? std::numeric_limits<std::int64_t>::max()
               : -value;
}

/// Writes the axis reversed into the event (line, then point, then fixed-point delta) and
/// negates its usable value. Under Shift the horizontal axis holds the vertical wheel's values
/// but is still written to the horizontal fields.
void reverseAxis(const CGEventRef& event, AxisData& axis, const AxisFields& fields) {
    CGEventSetIntegerValueField(event, fields.line, negatedLineDelta(axis.scrollFix));
    CGEventSetDoubleValueField(event, fields.point, -axis.scrollPt);
    CGEventSetDoubleValueField(event, fields.fixedPoint, -axis.scrollFixPt);
    axis.usableValue = -axis.usableValue;
}

/// A point-delta axis moves by the whole step in its direction; a fixed-point or line axis
/// keeps its value.
void stepAxis(AxisData& axis, double step) {
    if (!axis.fixed)
        axis.usableValue = axis.usableValue > 0 ? step : -step;
}

}  // namespace

ScrollCoordinator& ScrollCoordinator::shared() {
    static auto* coordinator = new ScrollCoordinator();
    return *coordinator;
}

ScrollCoordinator::ScrollCoordinator()
    : scrollEventCallBack(&scrollEventCallBackFunction),
      hotkeyEventCallBack(&hotkeyEventCallBackFunction),
      mouseLeftEventCallBack(&mouseLeftEventCallBackFunction) {
    logModuleInitialized("ScrollCoordinator");
}

std::shared_ptr<EventTapInterceptor> ScrollCoordinator::installTap(CGEventTapPlacement placement,
                                                                   CGEventTapOptions options,
                                                                   CGEventMask mask,
                                                                   CGEventTapCallBack callback) {
    CFMachPortRef tap =
        CGEventTapCreate(kCGAnnotatedSessionEventTap, placement, options, mask, callback, nullptr);
    if (!tap)
        throw EventTapInterceptor::InterceptorError(
            EventTapInterceptor::InterceptorError::eventTapCreationFailed);
    auto interceptor = EventTapInterceptor::create(std::move(tap));
    interceptor->start();
    return interceptor;
}

void ScrollCoordinator::start() {
    CORVANE_ASSERT_MAIN_THREAD();
    if (!SettingsManager::shared().settings().scrollBase.smooth || isActive)
        return;
    isActive = true;
    try {
        scrollEventInterceptor = installTap(kCGHeadInsertEventTap, kCGEventTapOptionDefault,
                                            scrollEventMask, scrollEventCallBack);
        hotkeyEventInterceptor = installTap(kCGTailAppendEventTap, kCGEventTapOptionListenOnly,
                                            hotkeyEventMask, hotkeyEventCallBack);
        mouseEventInterceptor = installTap(kCGTailAppendEventTap, kCGEventTapOptionListenOnly,
                                           mouseLeftEventMask, mouseLeftEventCallBack);
    } catch (const EventTapInterceptor::InterceptorError& error) {
        StandardOutput::shared().print("ScrollCoordinator: EventTapInterceptor error: " +
                                       error.description());
    }
}

void ScrollCoordinator::stop() {
    CORVANE_ASSERT_MAIN_THREAD();
    if (!isActive)
        return;
    isActive = false;
    ScrollEngineCV::shared().stop();
    for (const auto& interceptor :
         {scrollEventInterceptor, hotkeyEventInterceptor, mouseEventInterceptor}) {
        if (interceptor)
            interceptor->stop();
    }
}

CGEventRef ScrollCoordinator::handleScrollEvent(const CGEventRef& event) {
    CORVANE_ASSERT_MAIN_THREAD();
    ScrollUtils& utils = ScrollUtils::shared();
    if (CGEventGetIntegerValueField(event, kCGEventSourceUserData) == utils.ownEventStamp) {
        return event;
    }
    const double now = runtime().wallTime();
    lastScrollEventAt = now;
    lastScrollEventSourcePID = eventProcess(event, kCGEventSourceUnixProcessID);

    if (isTrackpadEvent(event)) {
        lastScrollEventWasTrackpad = true;
        return event;
    }
    lastScrollEventWasTrackpad = false;

    const SettingsManager& store = SettingsManager::shared();
    const CorvaneSettings& settings = store.settings();
    const RunningApplicationRef& target = utils.targetApplication(event);
    // The list changes only by assignment, which moves the store's generation; an exception's
    // own values change in place and are read below.
    const bool listMayHaveChanged = store.generation() != exceptionsGeneration_;
    if (listMayHaveChanged) {
        exceptionIndex_.rebuild(settings.appSettings.exceptionalApplication);
        exceptionsGeneration_ = store.generation();
    }
    if (listMayHaveChanged || target != currentApplication) {
        currentApplication = target;
        exceptionalApplication = exceptionIndex_.find(currentApplication);
    }

    bool smooth = settings.scrollBase.smooth && !blockSmooth &&
                  (!exceptionalApplication || exceptionalApplication->scrollBase().smooth);
    const bool horizontalSmooth = settings.scrollBase.horizontalSmooth;
    const bool reverse = settings.scrollBase.reverse;
    const ScrollAdvanced& advanced = exceptionalApplication && !exceptionalApplication->inherit()
                                         ? exceptionalApplication->scrollAdvanced()
                                         : settings.scrollAdvanced;
    if (utils.isLaunchpadActive(currentApplication, now))
        smooth = false;

    AxisData y = axisData(event, ScrollAxis::vertical);
    AxisData x = axisData(event, ScrollAxis::horizontal);

    auto engineTakes = [&](double dy, double dx) {
        const double duration = advanced.duration / 1000;
        const double threshold = advanced.accelerationThreshold / 1000;
        const double tau = advanced.smoothness / 1000;
        if (engineInputForTesting_) {
            return engineInputForTesting_(event, duration, advanced.accelerationLimit, threshold,
                                          tau, dy, dx);
        }
        return ScrollEngineCV::shared().handleInput(event, duration, advanced.accelerationLimit,
                                                    threshold, tau, dy, dx);
    };

    if (!smooth) {
        if (y.valid) {
            if (reverse)
                reverseAxis(event, y, kVerticalAxisFields);
            if (x.valid && horizontalSmooth && reverse)
                reverseAxis(event, x, kHorizontalAxisFields);
        } else if (x.valid && horizontalSmooth && reverse) {
            reverseAxis(event, x, kHorizontalAxisFields);
        }
        return event;
    }
    if (!y.valid && !x.valid) {
        (void)engineTakes(0, 0);  // a zero tick: it passes whatever the engine answers
        return event;
    }
    if (!y.valid) {
        if (!horizontalSmooth)
            return event;
        if (reverse)
            reverseAxis(event, x, kHorizontalAxisFields);
        stepAxis(x, advanced.step);
        return engineTakes(0, x.usableValue) ? nullptr : event;
    }
    if (!x.valid) {
        if (reverse)
            reverseAxis(event, y, kVerticalAxisFields);
        stepAxis(y, advanced.step);
        return engineTakes(y.usableValue, 0) ? nullptr : event;
    }
    if (!horizontalSmooth) {
        // Both axes move but only one may be smoothed: the event is dropped unanimated.
        if (reverse)
            reverseAxis(event, y, kVerticalAxisFields);
        return nullptr;
    }
    if (reverse) {
        reverseAxis(event, y, kVerticalAxisFields);
        reverseAxis(event, x, kHorizontalAxisFields);
    }
    stepAxis(y, advanced.step);
    stepAxis(x, advanced.step);
    return engineTakes(y.usableValue, x.usableValue) ? nullptr : event;
}

void ScrollCoordinator::handleFlagsChanged(const CGEventRef& event) {
    CORVANE_ASSERT_MAIN_THREAD();
    const std::int64_t keyCode = CGEventGetIntegerValueField(event, kCGKeyboardEventKeycode);
    if (keyCode < 54 || keyCode > 62 || keyCode == 57)
        return;  // 57: Caps Lock
    const ModifierKeyGroup* group = ModifierKeyGroup::containing(keyCode);
    if (group == nullptr)
        return;

    const bool pressed = Utils::isModifierPressed(event, group->keyCodes, group->flagMask);
    const std::vector<std::uint16_t> blocked = ScrollUtils::shared().blockedKeyCodes();
    const bool groupBlocked =
        std::any_of(group->keyCodes.begin(), group->keyCodes.end(), [&](std::uint16_t code) {
            return std::find(blocked.begin(), blocked.end(), code) != blocked.end();
        });
    const bool isShift = group == &ModifierKeyGroup::shift;
    ScrollEngineCV& engine = ScrollEngineCV::shared();

    if (isShift && engine.isDisplayLinkRunning())
        engine.stop();
    if (!groupBlocked)
        return;
    blockSmooth = pressed;
    if (pressed && engine.isDisplayLinkRunning())
        engine.stop();
}

void ScrollCoordinator::handleMouseDown() {
    CORVANE_ASSERT_MAIN_THREAD();
    ScrollEngineCV::shared().stop();
}

}  // namespace corvane
