// The coordinator keeps the exception it found for the target application until the target or
// the settings change. Random sequences of settings changes and ticks show that every tick is
// still decided as a plain scan of the current list on every event would decide it.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "platform/quartz/CGEvent.h"
#include "platform/sim/Session.h"
#include "platform/sim/WheelEvent.h"
#include "scroll/CoordinatorTestSupport.h"
#include "scroll/ScrollCoordinator.h"
#include "settings/SettingsManager.h"
#include "support/SimSession.h"

namespace corvane {
namespace {

using namespace platform;
using testing::EngineCall;

/// The applications ticks are aimed at: five with bundle identifiers (more than the
/// coordinator keeps answers for), one without, the target pid 1 (no target) and a pid no
/// application has.
struct Target {
    pid_t pid;
    std::optional<std::string> bundleId;
    bool running;
};
const Target kTargets[] = {
    {501, "com.example.editor", true},  {502, "com.example.mail", true},
    {503, "com.example.browser", true}, {505, "com.example.notes", true},
    {506, "com.example.music", true},   {504, std::nullopt, true},
    {1, std::nullopt, false},           {999, std::nullopt, false},
};
/// Exceptions name the five applications and one that never runs.
const char* const kExceptionIds[] = {"com.example.editor",  "com.example.mail",
                                     "com.example.browser", "com.example.notes",
                                     "com.example.music",   "com.example.absent"};

/// What the decision gives a one-line tick with point delta 10.
struct Decision {
    std::optional<EngineCall> call;  ///< none: the engine is not called and the tick passes
    double passedPointY = 0;         ///< the point delta the passed event carries
    ExceptionalApplicationRef exception;
    bool operator==(const Decision&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Decision& d) {
    if (d.call)
        os << *d.call;
    else
        os << "pass with point delta " << d.passedPointY;
    return os << ", exception " << (d.exception ? d.exception->bundleId() : "none") << " @"
              << d.exception.get();
}

/// The decision as the plain algorithm takes it, scanning the current list for the event.
Decision plainScanDecision(const CorvaneSettings& settings, const Target& target) {
    Decision d;
    if (target.bundleId) {
        for (const auto& candidate : settings.appSettings.exceptionalApplication) {
            if (candidate->bundleId() == *target.bundleId) {
                d.exception = candidate;
                break;
            }
        }
    }
    const bool smooth =
        settings.scrollBase.smooth && (!d.exception || d.exception->scrollBase().smooth);
    const ScrollAdvanced& a = d.exception && !d.exception->inherit() ? d.exception->scrollAdvanced()
                                                                     : settings.scrollAdvanced;
    const double sign = settings.scrollBase.reverse ? -1 : 1;
    if (smooth) {
        d.call =
            EngineCall{a.duration / 1000,   a.accelerationLimit, a.accelerationThreshold / 1000,
                       a.smoothness / 1000, sign * a.step,       0};
    } else {
        d.passedPointY = sign * 10;
    }
    return d;
}

class ExceptionLookup : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const Target& t : kTargets) {
            if (t.running)
                sim::session().workspace().launch(
                    {.processIdentifier = t.pid, .bundleIdentifier = t.bundleId});
        }
        testing::recordEngineCalls(calls);
    }

    /// The coordinator's decision of one tick to `target`.
    Decision tick(const Target& target) {
        calls.clear();
        const CGEventRef event =
            sim::WheelEvent{
                .location = {100, 100}, .target = target.pid, .lineY = 1, .pointY = 10, .fixedY = 1}
                .create();
        const CGEventRef passed = ScrollCoordinator::shared().handleScrollEvent(event);
        Decision d;
        d.exception = ScrollCoordinator::shared().exceptionalApplication;
        if (calls.size() == 1 && passed == nullptr) {
            d.call = calls.front();
        } else if (calls.empty() && passed == event) {
            d.passedPointY = event->doubleValue(kCGScrollWheelEventPointDeltaAxis1);
        } else {
            d.passedPointY = -1000;  // neither a hand-over nor a pass: never expected
        }
        return d;
    }

    std::vector<EngineCall> calls;
};

// Exceptions added at the head (by the menu with smoothing off, by the list with inherit on),
// removed, toggled in place, switched between own and inherited values, given new values, the
// whole list replaced by new objects with the same identifiers, stale exceptions changed after
// their removal, global changes, and ticks to changing targets: each tick is decided as the
// plain scan of the current list decides it. In-place changes mostly hit the exception the
// latest tick was decided with, or another one of the current list, and ticks often go to the
// latest target again, so that many ticks follow a change of their own exception with no
// assignment of the settings in between.
TEST_F(ExceptionLookup, EveryTickDecidesAsThePlainScan) {
    SettingsManager& store = SettingsManager::shared();
    std::mt19937 rng(2323);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    auto anyId = [&] { return std::string(kExceptionIds[pick(std::size(kExceptionIds))]); };
    std::vector<ExceptionalApplicationRef> everMade;  // removed ones stay here, still shared
    auto made = [&](const ExceptionalApplicationRef& e) {
        everMade.push_back(e);
        return e;
    };
    auto ownValues = [&] {
        ScrollAdvanced a;
        a.step = static_cast<double>(10 + pick(200));
        a.duration = static_cast<double>(100 + pick(400));
        a.smoothness = static_cast<double>(pick(60));
        return a;
    };
    auto insertAtHead = [&](const ExceptionalApplicationRef& e) {
        AppSettings app = store.appSettings();
        app.exceptionalApplication.insert(app.exceptionalApplication.begin(), e);
        store.setAppSettings(std::move(app));
    };

    const Target* latestTarget = &kTargets[0];
    ExceptionalApplicationRef latestException;  // what the latest tick was decided with
    // The in-place changes of `latestException` since the latest tick (a bit per kind:
    // smoothing, inherit, own values), and whether the settings were assigned since then.
    enum Kind { smoothingToggled, inheritFlipped, valuesChanged, kinds };
    unsigned latestChanges = 0;
    bool assigned = false;
    // Ticks to the latest target after a change of their exception of each kind, with no
    // assignment in between: those a lookup taking the exception's values would get wrong.
    int ticksAfterOwnChange[kinds] = {};
    // The exception an in-place change of `kind` goes to: none when the chosen source is empty.
    auto toChange = [&](Kind kind) -> ExceptionalApplication* {
        const auto& list = store.settings().appSettings.exceptionalApplication;
        const std::size_t source = pick(10);
        ExceptionalApplicationRef e;
        if (source < 6 && latestException)
            e = latestException;
        else if (source < 9 && !list.empty())
            e = list[pick(list.size())];
        else if (!everMade.empty())
            e = everMade[pick(everMade.size())];
        if (e && e == latestException)
            latestChanges |= 1u << kind;
        return e.get();
    };

    constexpr int kSteps = 20'000;
    int ticks = 0;
    for (int step = 0; step < kSteps; ++step) {
        const std::size_t action = pick(23);
        const auto& list = store.settings().appSettings.exceptionalApplication;
        if (action < 10) {
            const Target& target =
                pick(2) == 0 ? *latestTarget : kTargets[pick(std::size(kTargets))];
            const Decision expected = plainScanDecision(store.settings(), target);
            ASSERT_EQ(tick(target), expected) << "step " << step << ", target pid " << target.pid;
            for (int kind = 0; kind < kinds; ++kind) {
                if (&target == latestTarget && !assigned && (latestChanges & (1u << kind)))
                    ++ticksAfterOwnChange[kind];
            }
            latestTarget = &target;
            latestException = expected.exception;
            latestChanges = 0;
            assigned = false;
            ++ticks;
            continue;
        }
        if (action >= 13 && action <= 18) {  // in place: the store is not told
            const Kind kind = action <= 14   ? smoothingToggled
                              : action <= 16 ? inheritFlipped
                                             : valuesChanged;
            ExceptionalApplication* e = toChange(kind);
            if (e == nullptr)
                continue;
            if (kind == smoothingToggled) {
                ScrollBase base = e->scrollBase();
                base.smooth = !base.smooth;
                e->setScrollBase(base);
            } else if (kind == inheritFlipped) {
                e->setInherit(!e->inherit());
            } else {
                e->setScrollAdvanced(ownValues());
            }
            continue;
        }
        bool assignsNow = true;
        if (action == 10 && list.size() < 8) {  // the menu's "Disable for"
            insertAtHead(made(std::make_shared<ExceptionalApplication>(
                anyId(), ScrollBase{false, true, false}, ScrollAdvanced{}, true)));
        } else if (action == 11 && list.size() < 8) {  // the exceptions list's add
            insertAtHead(made(std::make_shared<ExceptionalApplication>(anyId())));
        } else if (action == 12 && !list.empty()) {
            AppSettings app = store.appSettings();
            app.exceptionalApplication.erase(app.exceptionalApplication.begin() +
                                             static_cast<std::ptrdiff_t>(pick(list.size())));
            store.setAppSettings(std::move(app));
        } else if (action == 19) {  // the list replaced by new objects
            CorvaneSettings s = store.settings();
            std::vector<ExceptionalApplicationRef> fresh;
            for (const auto& e : s.appSettings.exceptionalApplication) {
                fresh.push_back(made(std::make_shared<ExceptionalApplication>(
                    e->bundleId(), ScrollBase{pick(2) == 0, true, false}, ownValues(),
                    pick(2) == 0)));
            }
            s.appSettings.exceptionalApplication = std::move(fresh);
            store.setSettings(std::move(s));
        } else if (action == 20) {
            store.setScrollBase(ScrollBase{pick(4) != 0, true, pick(2) == 0});
        } else if (action == 21) {
            store.setScrollAdvanced(ownValues());
        } else if (action == 22) {  // an assignment that changes nothing
            store.setAppSettings(store.appSettings());
        } else {
            assignsNow = false;
        }
        assigned = assigned || assignsNow;
    }
    EXPECT_GT(ticks, 5'000);
    for (int kind = 0; kind < kinds; ++kind)
        EXPECT_GT(ticksAfterOwnChange[kind], 50) << "kind " << kind;
}

}  // namespace
}  // namespace corvane
