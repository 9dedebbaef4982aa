// What the per-event analysis of a wheel tick costs inside the tap callback, and what one
// hardware event costs through the simulated window server's taps.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/corefoundation/CFRunLoop.h"
#include "platform/quartz/CGEventTap.h"
#include "platform/quartz/CGWindowList.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "scroll/AxisData.h"
#include "scroll/IsTrackpadEvent.h"
#include "scroll/ScrollUtils.h"
#include "settings/Utils.h"

namespace {

using namespace corvane;
using namespace corvane::platform;

CGEventRef wheelTick() {
    return sim::WheelEvent{.target = 100, .lineY = 1, .pointY = 10, .fixedY = 1.0}.create();
}

void launchApplications() {
    static bool launched = [] {
        sim::session().workspace().launch({.processIdentifier = 100});
        sim::session().workspace().setFrontmost(100);
        return true;
    }();
    (void)launched;
}

// Both axes of one tick.
void BM_AxisData(benchmark::State& state) {
    auto event = wheelTick();
    for (auto _ : state) {
        benchmark::DoNotOptimize(axisData(event, ScrollAxis::vertical));
        benchmark::DoNotOptimize(axisData(event, ScrollAxis::horizontal));
    }
}
BENCHMARK(BM_AxisData);

// A wheel tick (no continuous field: no lookup) and a trackpad event (the vendor lookup,
// answered from the 60 s cache).
void BM_IsTrackpadEvent(benchmark::State& state) {
    auto event = wheelTick();
    if (state.range(0) == 1)
        event->setDoubleValue(kCGScrollWheelEventScrollPhase, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(isTrackpadEvent(event));
}
BENCHMARK(BM_IsTrackpadEvent)->Arg(0)->Arg(1);

// The target application of ticks to one process (cached) or alternating between two
// (a workspace lookup every event).
void BM_TargetApplication(benchmark::State& state) {
    launchApplications();
    sim::session().workspace().launch({.processIdentifier = 101});
    auto a = wheelTick();
    auto b = wheelTick();
    b->setIntegerValue(kCGEventTargetUnixProcessID, state.range(0) == 1 ? 101 : 100);
    bool flip = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ScrollUtils::shared().targetApplication((flip = !flip) ? a : b));
    }
}
BENCHMARK(BM_TargetApplication)->Arg(0)->Arg(1);

// The Launchpad answer within a second of a negative scan (cached) and with a scan of
// `range(0)` windows every time (a second apart).
void BM_IsLaunchpadActive(benchmark::State& state) {
    launchApplications();
    auto app = RunningApplication::withProcessIdentifier(100);
    std::vector<PlistDictionary> windows(static_cast<std::size_t>(state.range(0)),
                                         PlistDictionary{{kCGWindowName, "Document"}});
    sim::session().windowServer().setOnScreenWindows(windows);
    double now = 1767225600.0;
    const double step = state.range(1) == 1 ? 1.5 : 0.0;
    for (auto _ : state) {
        now += step;
        benchmark::DoNotOptimize(ScrollUtils::shared().isLaunchpadActive(app, now));
    }
}
BENCHMARK(BM_IsLaunchpadActive)->Args({20, 0})->Args({20, 1});

CGEventRef passThrough(CGEventTapProxy, CGEventType, CGEventRef event, void*) {
    return event;
}

// One hardware tick through an active filter and two listeners to the application, as the
// coordinator's three taps stand (the listeners' masks do not take wheel events), and with
// `range(0)` listeners that do take it.
void BM_DeliverThroughTaps(benchmark::State& state) {
    launchApplications();
    struct Installed {
        CFMachPortRef port;
        CFRunLoopSourceRef source;
    };
    std::vector<Installed> taps;
    auto install = [&](CGEventTapPlacement placement, CGEventTapOptions options, CGEventMask mask) {
        auto port = CGEventTapCreate(kCGAnnotatedSessionEventTap, placement, options, mask,
                                     passThrough, nullptr);
        auto source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, port, 0);
        CFRunLoopAddSource(CFRunLoopGetMain(), source, kCFRunLoopCommonModes);
        taps.push_back({port, source});
    };
    install(kCGHeadInsertEventTap, kCGEventTapOptionDefault,
            CGEventMaskBit(CGEventType::scrollWheel));
    install(kCGTailAppendEventTap, kCGEventTapOptionListenOnly,
            CGEventMaskBit(CGEventType::flagsChanged));
    install(kCGTailAppendEventTap, kCGEventTapOptionListenOnly,
            CGEventMaskBit(CGEventType::leftMouseDown));
    for (int i = 0; i < state.range(0); ++i) {
        install(kCGTailAppendEventTap, kCGEventTapOptionListenOnly,
                CGEventMaskBit(CGEventType::scrollWheel));
    }
    auto event = wheelTick();
    std::int64_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sim::session().windowServer().deliverHardwareEvent(event));
        if (++n % 50'000 == 0)
            sim::session().windowServer().clearReceivedEvents();
    }
    for (auto& t : taps)
        CFRunLoopRemoveSource(CFRunLoopGetMain(), t.source, kCFRunLoopCommonModes);
}
BENCHMARK(BM_DeliverThroughTaps)->Arg(0)->Arg(2);

// The cached running-application lookup by bundle identifier.
void BM_RunningApplicationCached(benchmark::State& state) {
    sim::session().workspace().launch(
        {.processIdentifier = 300, .bundleIdentifier = kVendorDaemonBundleIdentifier});
    for (auto _ : state) {
        benchmark::DoNotOptimize(Utils::runningApplication(kVendorDaemonBundleIdentifier));
    }
}
BENCHMARK(BM_RunningApplicationCached);

}  // namespace
