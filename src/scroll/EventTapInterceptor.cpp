#include "scroll/EventTapInterceptor.h"

#include <algorithm>

#include "platform/quartz/CGEventTap.h"
#include "platform/runtime/Runtime.h"
#include "settings/Logger.h"

namespace corvane {

using namespace platform;

const char* EventTapInterceptor::InterceptorError::what() const noexcept {
    switch (kind_) {
        case eventTapCreationFailed:
            return "eventTapCreationFailed";
        case eventTapEnableFailed:
            return "eventTapEnableFailed";
    }
    return "eventTapEnableFailed";
}

std::shared_ptr<EventTapInterceptor> EventTapInterceptor::create(CFMachPortRef eventTap) {
    return std::shared_ptr<EventTapInterceptor>(new EventTapInterceptor(std::move(eventTap)));
}

EventTapInterceptor::EventTapInterceptor(CFMachPortRef eventTap)
    : watchdogQueue(
          runtime().makeSerialQueue("EventTapInterceptor.watchdog", QualityOfService::utility)),
      _eventTapRef(std::move(eventTap)),
      _runLoopSourceRef(CFMachPortCreateRunLoopSource(kCFAllocatorDefault, _eventTapRef, 0)),
      _runLoopRef(CFRunLoopGetCurrent()) {}

EventTapInterceptor::~EventTapInterceptor() {
    stop();
    if (_eventTapRef) {
        CGEventTapEnable(_eventTapRef, false);
        _eventTapRef.reset();
    }
    if (_runLoopSourceRef && _runLoopRef) {
        if (CFRunLoopContainsSource(_runLoopRef, _runLoopSourceRef, kCFRunLoopCommonModes)) {
            CFRunLoopRemoveSource(_runLoopRef, _runLoopSourceRef, kCFRunLoopCommonModes);
        }
        _runLoopSourceRef.reset();
    }
}

void EventTapInterceptor::start() {
    if (!_eventTapRef || !_runLoopSourceRef || !_runLoopRef) {
        throw InterceptorError(InterceptorError::eventTapEnableFailed);
    }
    if (!CFRunLoopContainsSource(_runLoopRef, _runLoopSourceRef, kCFRunLoopCommonModes)) {
        CFRunLoopAddSource(_runLoopRef, _runLoopSourceRef, kCFRunLoopCommonModes);
    }
    CGEventTapEnable(_eventTapRef, true);
    startWatchdog();
}

void EventTapInterceptor::stop() {
    // The timer goes first, so that no new check starts once the tap is disabled.
    if (watchdog) {
        watchdog->cancel();
        watchdog.reset();
    }
    if (_eventTapRef && _runLoopSourceRef && _runLoopRef) {
        CGEventTapEnable(_eventTapRef, false);
        if (CFRunLoopContainsSource(_runLoopRef, _runLoopSourceRef, kCFRunLoopCommonModes)) {
            CFRunLoopRemoveSource(_runLoopRef, _runLoopSourceRef, kCFRunLoopCommonModes);
        }
    }
}

void EventTapInterceptor::startWatchdog() {
    if (watchdog)
        watchdog->cancel();
    auto timer = runtime().makeTimerSource(watchdogQueue);
    timer->schedule(CACurrentMediaTime() + kWatchdogInterval, kWatchdogInterval, 0.0);
    std::weak_ptr<EventTapInterceptor> weak = weak_from_this();
    timer->setEventHandler([weak] {
        if (auto self = weak.lock())
            self->checkTap();
    });
    timer->resume();
    watchdog = std::move(timer);
}

bool EventTapInterceptor::admitReenable(double now) {
    std::erase_if(reenableTimes, [&](double t) { return now - t > reenableWindow; });
    if (reenableTimes.size() >= maxReenablesPerWindow)
        return false;
    reenableTimes.push_back(now);
    return true;
}

void EventTapInterceptor::checkTap() {
    // Without a tap there is nothing to watch (only after teardown).
    if (!_eventTapRef || CGEventTapIsEnabled(_eventTapRef))
        return;
    if (!admitReenable(CACurrentMediaTime())) {
        corvane::Logger::general().log(
            "EventTapInterceptor: too many re-enables in a row, backing off");
        return;
    }
    corvane::Logger::general().log(
        "EventTapInterceptor: event tap went inactive, enabling it again");
    CGEventTapEnable(_eventTapRef, true);
}

bool EventTapInterceptor::isEnabled() const {
    return _eventTapRef && CGEventTapIsEnabled(_eventTapRef);
}

}  // namespace corvane
