#pragma once

#include "platform/ui/View.h"

namespace corvane {

/// Colours a text or an image: with the foreground-style modifier on macOS 14 and later,
/// with the older foreground-colour modifier before; both look the same.
platform::ui::View foregroundStyleCompat(const platform::ui::View& view, platform::ui::Color color);

/// The colour of dimmed texts (hints, value labels, secondary lines): the secondary colour on
/// macOS 12 and later, gray before.
platform::ui::Color dimmedTextColor();

}  // namespace corvane
