// What the settings window costs with a long exception list: opening it on the Exceptions
// tab (until its frame animation ends) beside opening it on the General tab with the same
// settings, and one click on a row's switch with the tab shown.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ExceptionLists.h"
#include "app/UpdaterManager.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSWindow.h"
#include "platform/qt/ElementBox.h"
#include "platform/qt/Host.h"
#include "platform/qt/NodeBoxImpl.h"
#include "platform/sim/Session.h"
#include "preferences/PreferencesTabViewController.h"
#include "preferences/SettingsTab.h"
#include "settings/SettingsDocument.h"
#include "settings/SettingsManager.h"

namespace {

using namespace corvane;
using namespace corvane::platform;

/// Longer than any frame animation of the settings window, in seconds.
constexpr double kAfterAnimations = 2;

/// Gives the settings `count` exceptions of applications that are not installed.
void useExceptions(int count) {
    bench::useExceptions(count);
    sim::virtualRuntime().runPending();
}

/// Opens the settings window as the status menu does, on `tab`, and lets it settle.
std::shared_ptr<NSWindow> openSettings(SettingsTab tab) {
    UpdaterManager::shared();
    WindowManager::shared().openWindow("preferences", "Corvane Settings",
                                       std::make_shared<PreferencesTabViewController>(),
                                       NSNormalWindowLevel, 3);
    auto window = WindowManager::shared().window("preferences");
    if (tab != SettingsTab::general)
        window->toolbar()->performItemAction(static_cast<std::size_t>(tab));
    sim::virtualRuntime().advance(kAfterAnimations);
    return window;
}

/// The hosting view of the Exceptions tab in the settings window.
NSHostingView& exceptionsPane(NSWindow& window) {
    auto& controller = static_cast<PreferencesTabViewController&>(*window.contentViewController());
    return static_cast<NSHostingView&>(
        controller.tabViewItems()[static_cast<std::size_t>(SettingsTab::exceptions)]
            ->viewController()
            ->view());
}

/// The first switch among the widgets the pane has built, found as the user finds it: on
/// screen, without reading the rows out of view (a reader builds every row).
std::optional<ui::ElementHandle> firstBuiltSwitch(NSHostingView& hosting) {
    std::vector<std::shared_ptr<ui::NodeBox>> pending{hosting.host().rootNode()};
    while (!pending.empty()) {
        auto node = pending.front();
        pending.erase(pending.begin());
        if (!node)
            continue;
        if (node->view().as<ui::ToggleElement>() != nullptr) {
            auto target = std::make_shared<ui::ElementHandle::Target>();
            target->node = node;
            return ui::ElementHandle(target);
        }
        std::vector<std::shared_ptr<ui::NodeBox>> children;
        node->impl().element->collectChildren(children);
        pending.insert(pending.end(), children.begin(), children.end());
    }
    return std::nullopt;
}

void closeSettings() {
    WindowManager::shared().closeAll();
    sim::virtualRuntime().runPending();
}

void openAndClose(benchmark::State& state, SettingsTab tab) {
    useExceptions(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(openSettings(tab));
        closeSettings();
    }
}

// Opening the window on a tab, with no exceptions as the floor: opening on the Exceptions tab
// also switches tabs and animates the window to the tab's size.
void BM_OpenGeneralTab(benchmark::State& state) {
    openAndClose(state, SettingsTab::general);
}
BENCHMARK(BM_OpenGeneralTab)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_OpenExceptionsTab(benchmark::State& state) {
    openAndClose(state, SettingsTab::exceptions);
}
BENCHMARK(BM_OpenExceptionsTab)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A click on the first row's switch, until the tab has caught up; the click saves the
// settings each time, as the user's would.
void BM_ToggleExceptionRow(benchmark::State& state) {
    useExceptions(static_cast<int>(state.range(0)));
    const auto window = openSettings(SettingsTab::exceptions);
    auto& hosting = exceptionsPane(*window);
    const auto toggle = firstBuiltSwitch(hosting);
    if (!toggle) {
        state.SkipWithError("the tab shows no switch");
        return;
    }
    for (auto _ : state) {
        toggle->click();
        sim::virtualRuntime().runPending();
    }
    closeSettings();
}
BENCHMARK(BM_ToggleExceptionRow)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The tab evaluated and laid out again, as after any change it observes: the part of a
// toggle that is the tab's.
void BM_UpdateExceptionsTab(benchmark::State& state) {
    useExceptions(static_cast<int>(state.range(0)));
    const auto window = openSettings(SettingsTab::exceptions);
    auto& hosting = exceptionsPane(*window);
    for (auto _ : state)
        hosting.updateNow();
    closeSettings();
}
BENCHMARK(BM_UpdateExceptionsTab)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The save that every click on a switch makes, alone: the part of a toggle that is not the
// tab's.
void BM_SaveSettings(benchmark::State& state) {
    useExceptions(static_cast<int>(state.range(0)));
    for (auto _ : state)
        SettingsManager::shared().save();
    const auto document = encodeSettings(SettingsManager::shared().settings());
    state.counters["documentBytes"] = document ? static_cast<double>(document->size()) : 0;
}
BENCHMARK(BM_SaveSettings)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
