#pragma once

#include "platform/ui/ViewValue.h"

namespace corvane::platform::ui {

/// How a custom button style is asked to draw: the button's label and whether it is pressed.
struct ButtonStyleConfiguration {
    View label;
    bool isPressed = false;
};

/// A custom button style: makes a button's body from its label.
class ButtonStyle {
  public:
    virtual ~ButtonStyle() = default;
    virtual View makeBody(const ButtonStyleConfiguration& configuration) const = 0;
};

}  // namespace corvane::platform::ui
