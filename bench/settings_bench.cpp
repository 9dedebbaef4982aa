// What reading the settings costs on every wheel event, and what a save or a load costs.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "settings/SettingsDocument.h"
#include "settings/SettingsManager.h"

namespace {

using namespace corvane;

void withExceptions(int count) {
    SettingsManager::shared().modifySettings([count](CorvaneSettings& s) {
        s.appSettings.exceptionalApplication.clear();
        for (int i = 0; i < count; ++i) {
            s.appSettings.exceptionalApplication.push_back(
                std::make_shared<ExceptionalApplication>("com.example.app" + std::to_string(i)));
        }
    });
}

// The wheel path reads the current value in place and scans the exceptions.
void BM_SettingsReadInPlace(benchmark::State& state) {
    withExceptions(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const CorvaneSettings& s = SettingsManager::shared().settings();
        bool found = false;
        for (const auto& e : s.appSettings.exceptionalApplication) {
            found |= e->bundleId() == "com.example.missing";
        }
        benchmark::DoNotOptimize(found);
        benchmark::DoNotOptimize(s.scrollAdvanced.step);
    }
}
BENCHMARK(BM_SettingsReadInPlace)->Arg(0)->Arg(4)->Arg(16);

// A reader that keeps a copy of the whole value.
void BM_SettingsCopy(benchmark::State& state) {
    withExceptions(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CorvaneSettings copy = SettingsManager::shared().settings();
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_SettingsCopy)->Arg(0)->Arg(4)->Arg(16);

// Every change encodes the whole document.
void BM_SettingsEncode(benchmark::State& state) {
    withExceptions(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto text = encodeSettings(SettingsManager::shared().settings());
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_SettingsEncode)->Arg(0)->Arg(4);

// The load at start-up decodes it once.
void BM_SettingsDecode(benchmark::State& state) {
    withExceptions(static_cast<int>(state.range(0)));
    const std::string text = *encodeSettings(SettingsManager::shared().settings());
    for (auto _ : state) {
        auto settings = decodeSettings(text);
        benchmark::DoNotOptimize(settings);
    }
}
BENCHMARK(BM_SettingsDecode)->Arg(0)->Arg(4);

}  // namespace
