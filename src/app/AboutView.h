#pragma once

#include "platform/ui/View.h"

namespace corvane {

/// The content of the About window, opened through the window registry under "about" with
/// an empty title. For now its view is empty.
struct AboutView {
    platform::ui::View body() const { return platform::ui::EmptyView(); }
};

}  // namespace corvane
