#pragma once

#include <string>
#include <tuple>

#include "platform/ui/View.h"
#include "settings/ExceptionalApplication.h"
#include "settings/ScrollAdvanced.h"

namespace corvane {

/// The gear at the end of an exceptions row and the sheet it opens: the application's own
/// step, duration, smoothness and acceleration values, or "Use global settings" instead.
/// Both bindings end in the exception's setters, which save at once; the sheet saves nothing
/// more when it closes. Main thread only.
struct ExceptionsAdvancedView {
    /// Lengths in points.
    static constexpr double kGearSize = 16;
    static constexpr double kSheetWidth = 420;
    static constexpr double kSheetSpacing = 12;
    static constexpr double kSheetPadding = 16;
    static constexpr double kIconSize = 24;

    platform::ui::State<bool> isShowingSheet;
    platform::ui::Binding<ScrollAdvanced> scrollAdvanced;
    platform::ui::Binding<bool> inherit;
    /// The exception's bundle identifier, for the sheet's header.
    std::string bundleId;
    /// The exception the bindings end in. Its setters tell no store, so the view observes the
    /// exception itself: the sliders' enabling, the value labels and the reset button follow
    /// every change made in place.
    platform::ui::ObservedObject<ExceptionalApplication> exception;

    platform::ui::View body() const;
    auto viewProperties() { return std::tie(isShowingSheet, exception); }

    /// "Reset to defaults": writes the default values through `scrollAdvanced`; `inherit`
    /// stays as it is.
    void resetScrollAdvanced() const;

  private:
    platform::ui::View sheet() const;
};

}  // namespace corvane
