#pragma once

#include <memory>
#include <random>
#include <string>

#include "settings/CorvaneSettings.h"
#include "settings/SettingsDocument.h"

namespace corvane::testing {

/// The default document exactly as the writer produces it.
inline const std::string kDefaultDocument =
    R"({"appSettings":{"launchAtLogin":false,"showMenuIcon":true,"exceptionalApplication":[],)"
    R"("showScrollHelperText":true,"showSystemHelperText":true},)"
    R"("scrollBase":{"smooth":true,"horizontalSmooth":true,"reverse":false},)"
    R"("scrollAdvanced":{"block":[55,58,59],"step":90.0,"duration":350.0,)"
    R"("accelerationThreshold":50.0,"accelerationLimit":7.0,"smoothness":30.0}})";

/// Settings with every field drawn at random, exceptions included.
inline CorvaneSettings randomSettings(std::mt19937_64& rng) {
    std::uniform_int_distribution<int> coin(0, 1);
    std::uniform_real_distribution<double> number(-1e6, 1e6);
    std::uniform_int_distribution<std::int64_t> code(INT64_MIN, INT64_MAX);
    auto base = [&] { return ScrollBase{coin(rng) == 1, coin(rng) == 1, coin(rng) == 1}; };
    auto advanced = [&] {
        ScrollAdvanced a;
        a.block.clear();
        for (int n = std::uniform_int_distribution<int>(0, 4)(rng); n > 0; --n) {
            a.block.push_back(code(rng));
        }
        a.step = number(rng);
        a.duration = number(rng);
        a.accelerationThreshold = number(rng);
        a.accelerationLimit = number(rng);
        a.smoothness = number(rng);
        return a;
    };
    CorvaneSettings s;
    s.appSettings.launchAtLogin = coin(rng) == 1;
    s.appSettings.showMenuIcon = coin(rng) == 1;
    s.appSettings.showScrollHelperText = coin(rng) == 1;
    s.appSettings.showSystemHelperText = coin(rng) == 1;
    for (int n = std::uniform_int_distribution<int>(0, 5)(rng); n > 0; --n) {
        std::string id = "com.example.app" + std::to_string(rng() % 4) + "\xC3\xA9";
        s.appSettings.exceptionalApplication.push_back(
            std::make_shared<ExceptionalApplication>(id, base(), advanced(), coin(rng) == 1));
    }
    s.scrollBase = base();
    s.scrollAdvanced = advanced();
    return s;
}

}  // namespace corvane::testing
