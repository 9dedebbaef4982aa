#pragma once

#include <optional>
#include <string>

#include "platform/ui/View.h"
#include "settings/ScrollAdvanced.h"

namespace corvane {

/// The one editor of the five numbers of a `ScrollAdvanced` value: one row per number, a
/// title in a label column and, in a control column, a slider with a line of labels under
/// it. Flags choose the rows, so that the Scrolling tab, its Advanced sheet and the
/// per-application sheet share it. It keeps no state and no copy: every reading goes to the
/// binding, and every change of a slider (during a drag as well) writes the whole value back
/// through it, with only that slider's field changed and `block` as it was.
struct ScrollAdvancedSliderView {
    platform::ui::Binding<ScrollAdvanced> scrollAdvanced;
    double leftColumnSize = 150;    ///< points, the title column
    double rightColumnSize = 260;   ///< points, the control column
    bool hints = false;             ///< a help text under each row's labels
    bool showBasic = true;          ///< step, speed, smoothness
    bool showAcceleration = false;  ///< acceleration threshold and limit
    double rowSpacing = 24;         ///< points between consecutive rows

    platform::ui::View body() const;

    /// One row: its title, field, closed range and step, end labels, value label unit (none:
    /// no value label), help text, and its own spacing between the columns (none: default).
    struct Row {
        const char* title;
        double ScrollAdvanced::*field;
        double lowerBound;
        double upperBound;
        double step;
        const char* leftLabel;
        std::optional<std::string> unit;
        const char* rightLabel;
        const char* help;
        std::optional<double> columnSpacing;
    };

    /// The text of a row's value label: the localizable format "%lld" followed by `unit`,
    /// filled with `value` truncated toward zero ("90px" for the default step).
    static std::string valueLabel(double value, const std::string& unit);

  private:
    platform::ui::View row(const Row& row) const;
};

}  // namespace corvane
