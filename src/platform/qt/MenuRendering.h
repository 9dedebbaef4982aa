#pragma once

#include <QMenu>

#include "platform/appkit/NSMenu.h"

namespace corvane::platform::qt {

/// Fills `qmenu` anew with the rows of `menu` as they stand (hidden items left out): titles
/// with their key equivalents as the system writes them ("⌘Q"), check marks, images and
/// enabling. Triggering a row sends its item's action. Bring the menu up to date first
/// (`NSMenu::prepareToOpen`).
void fillQMenu(QMenu& qmenu, NSMenu& menu);

}  // namespace corvane::platform::qt
