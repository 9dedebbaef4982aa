#pragma once

#include <vector>

#include "settings/ExceptionalApplication.h"

namespace corvane {

/// Application-level switches and the per-application exceptions.
struct AppSettings {
    bool launchAtLogin = false;
    bool showMenuIcon = true;
    /// In the order stored; new entries are inserted at the head.
    std::vector<ExceptionalApplicationRef> exceptionalApplication;
    bool showScrollHelperText = true;  ///< stored with the rest; nothing reads it
    bool showSystemHelperText = true;  ///< stored with the rest; nothing reads it

    /// The switches equal, and the same bundle identifiers in the same order.
    friend bool operator==(const AppSettings& a, const AppSettings& b);
};

}  // namespace corvane
