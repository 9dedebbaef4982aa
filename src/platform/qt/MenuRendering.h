#pragma once

#include <QMenu>
#include <string>

#include "platform/appkit/NSMenu.h"
#include "platform/appkit/NSStatusBar.h"

namespace corvane::platform::qt {

/// Fills `qmenu` anew with the rows of `menu` as they stand (hidden items left out): titles
/// with their key equivalents as the system writes them ("⌘Q"), check marks, images and
/// enabling. Triggering a row sends its item's action. Bring the menu up to date first
/// (`NSMenu::prepareToOpen`).
void fillQMenu(QMenu& qmenu, NSMenu& menu);

/// Draws the menu bar with `item` in it and its menu open beneath, as the user sees it on
/// clicking the item, and writes it as a PNG picture at `path`. The menu is brought up to
/// date first, as for every opening. False when the item has no menu or the file could not
/// be written.
bool writeStatusMenuPicture(NSStatusItem& item, const std::string& path);

}  // namespace corvane::platform::qt
