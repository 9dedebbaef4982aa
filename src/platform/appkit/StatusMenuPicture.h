#pragma once

#include <string>

namespace corvane::platform {

class NSStatusItem;

/// Draws the menu bar with `item` in it and its menu open beneath, as the user sees it on
/// clicking the item, and writes it as a PNG picture at `path` (twice the pixels of the
/// points). The menu is brought up to date first, as for every opening. False when the item
/// has no menu or the file could not be written.
bool writeStatusMenuPicture(NSStatusItem& item, const std::string& path);

}  // namespace corvane::platform
