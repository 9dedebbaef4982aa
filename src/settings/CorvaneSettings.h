#pragma once

#include "settings/AppSettings.h"
#include "settings/ScrollAdvanced.h"
#include "settings/ScrollBase.h"

namespace corvane {

/// The whole persisted configuration. Default-constructed, it is the default settings value.
struct CorvaneSettings {
    AppSettings appSettings;
    ScrollBase scrollBase;
    ScrollAdvanced scrollAdvanced;

    bool operator==(const CorvaneSettings&) const = default;
};

}  // namespace corvane
