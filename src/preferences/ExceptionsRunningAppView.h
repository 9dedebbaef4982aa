#pragma once

#include <functional>
#include <optional>
#include <string>
#include <tuple>

#include "platform/ui/View.h"

namespace corvane {

/// The picker of the Exceptions tab, shown in the add button's popover: "Browse..." first,
/// then the running applications that may become exceptions. Choosing a row calls `onSelect`
/// with its bundle identifier, or with "browse" for the first row; only a change of the
/// selection calls it, never the picker's first showing. Main thread only.
struct ExceptionsRunningAppView {
    /// The tag of the first row.
    static constexpr const char* kBrowse = "browse";
    /// Icon size of a row, in points.
    static constexpr double kIconSize = 20;

    std::function<void(const std::string&)> onSelect;
    platform::ui::State<std::optional<std::string>> selectedApp;

    platform::ui::View body() const;
    auto viewProperties() { return std::tie(selectedApp); }
};

}  // namespace corvane
