#pragma once

#include <optional>

#include "platform/foundation/ProcessInfo.h"
#include "platform/ui/Layout.h"

namespace corvane {

/// Where the settings window's popovers (the application picker, the block-keys list) put
/// their arrow: from macOS 15.1 the system places it (and the popover is not detachable);
/// before, it sits on the top edge.
inline std::optional<platform::ui::Edge> settingsPopoverArrowEdge() {
    return platform::isAvailable(15, 1) ? std::nullopt : std::optional(platform::ui::Edge::top);
}

}  // namespace corvane
