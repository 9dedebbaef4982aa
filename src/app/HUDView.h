#pragma once

#include <optional>
#include <string>

#include "platform/ui/View.h"

namespace corvane {

/// The panel of a HUD message: the application's icon (or a system symbol) above one line
/// of text, on a translucent rounded panel.
struct HUDView {
    std::string message;                     ///< the text shown
    std::optional<std::string> systemImage;  ///< a system symbol shown instead of the icon

    platform::ui::View body() const;
};

}  // namespace corvane
