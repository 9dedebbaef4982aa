#pragma once

#include <optional>
#include <string>

namespace corvane::platform {

class NSStatusItem;

/// Draws the menu bar with `item` in it and its menu open beneath, as the user sees it on
/// clicking the item: the bytes of a PNG picture (twice the pixels of the points). The menu is
/// brought up to date first, as for every opening. None when the item has no menu or the
/// picture cannot be encoded.
std::optional<std::string> statusMenuPicture(NSStatusItem& item);

}  // namespace corvane::platform
