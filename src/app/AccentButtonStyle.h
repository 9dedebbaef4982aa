#pragma once

#include "platform/ui/View.h"

namespace corvane {

/// The button style of systems older than macOS 12: the label, padded, in white on the
/// accent colour (slightly lighter while pressed), in a rounded rectangle.
class AccentButtonStyle : public platform::ui::ButtonStyle {
  public:
    static constexpr double kVerticalPadding = 3;     ///< points, top and bottom
    static constexpr double kHorizontalPadding = 12;  ///< points, leading and trailing
    static constexpr double kPressedOpacity = 0.9;
    static constexpr double kCornerRadius = 6;  ///< points

    platform::ui::View makeBody(
        const platform::ui::ButtonStyleConfiguration& configuration) const override;
};

}  // namespace corvane
