#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "settings/SettingsManager.h"

namespace corvane::bench {

/// Gives the exception list `count` entries that name no application (a lookup of a target's
/// exception reads the whole list; a row shows the bare identifier), unless it has as many.
inline void useExceptions(int count) {
    if (SettingsManager::shared().settings().appSettings.exceptionalApplication.size() ==
        static_cast<std::size_t>(count))
        return;
    SettingsManager::shared().modifySettings([count](CorvaneSettings& s) {
        s.appSettings.exceptionalApplication.clear();
        for (int i = 0; i < count; ++i) {
            s.appSettings.exceptionalApplication.push_back(
                std::make_shared<ExceptionalApplication>("com.example.other" + std::to_string(i)));
        }
    });
}

}  // namespace corvane::bench
