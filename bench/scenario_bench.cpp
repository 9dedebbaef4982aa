// What reading a scenario costs for long lists of applications, folders and exceptions of its
// settings document, and what decoding a stored settings document with a long exception list
// costs: each should grow in proportion to the list.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <string>

#include "Scenario.h"
#include "settings/SettingsDocument.h"

namespace {

using nlohmann::json;

/// A settings document, as the application writes it, with `count` exceptions.
json settingsWithExceptions(int count) {
    corvane::CorvaneSettings settings;
    for (int i = 0; i < count; ++i) {
        settings.appSettings.exceptionalApplication.push_back(
            std::make_shared<corvane::ExceptionalApplication>("com.example.app" +
                                                              std::to_string(i)));
    }
    return json::parse(*corvane::encodeSettings(settings));
}

/// A scenario whose `member` lists `count` entries made by `entry`.
template <class Entry>
std::string scenarioWith(const char* member, int count, Entry entry) {
    json s = {{"displays", {{{"id", 1}, {"bounds", {0, 0, 800, 600}}}}},
              {"events", json::array()},
              {"until", 0}};
    for (int i = 0; i < count; ++i)
        s[member].push_back(entry(i));
    return s.dump();
}

void readScenario(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        auto scenario = corvane::session::parseScenario(text);
        benchmark::DoNotOptimize(scenario);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReadScenarioApps(benchmark::State& state) {
    readScenario(
        state, scenarioWith("apps", static_cast<int>(state.range(0)), [](int i) {
            return json{{"pid", 1000 + i}, {"bundleId", "com.example.app" + std::to_string(i)}};
        }));
}

void BM_ReadScenarioFolders(benchmark::State& state) {
    readScenario(state, scenarioWith("folders", static_cast<int>(state.range(0)), [](int i) {
                     return json{{"path", "/F" + std::to_string(i)}};
                 }));
}

void BM_ReadScenarioSettingsExceptions(benchmark::State& state) {
    json s = json::parse(scenarioWith("apps", 0, [](int) { return json(); }));
    s["settings"] = settingsWithExceptions(static_cast<int>(state.range(0)));
    readScenario(state, s.dump());
}

void BM_DecodeSettingsExceptions(benchmark::State& state) {
    const std::string text = settingsWithExceptions(static_cast<int>(state.range(0))).dump();
    for (auto _ : state) {
        auto settings = corvane::decodeSettings(text);
        benchmark::DoNotOptimize(settings);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

/// Lists of 25,000 to 200,000 entries: eight times the entries should take about eight times
/// as long.
void listSizes(benchmark::internal::Benchmark* b) {
    for (const int count : {25'000, 50'000, 100'000, 200'000})
        b->Arg(count);
    b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_ReadScenarioApps)->Apply(listSizes);
BENCHMARK(BM_ReadScenarioFolders)->Apply(listSizes);
BENCHMARK(BM_ReadScenarioSettingsExceptions)->Apply(listSizes);
BENCHMARK(BM_DecodeSettingsExceptions)->Apply(listSizes);

}  // namespace
