#pragma once

namespace corvane::platform::qt {

/// Installs what the live application takes from the desktop through Qt: the clipboard as
/// the general pasteboard, the opening of URLs (`QtURLOpener`), and the desktop's product name
/// as the system's version text.
/// Call on the main thread, after the live session is set up.
void installQtServices();

}  // namespace corvane::platform::qt
