#pragma once

#include <string>

namespace corvane::platform {

class NSAlert;
class NSWindow;

/// Renders the window as it looks (title bar included; a translucent window over a plain
/// desktop backdrop) and writes it as a PNG picture at `path`; false when the file could not
/// be written.
bool writeWindowPicture(NSWindow& window, const std::string& path);

/// Renders the alert as the user sees it when it runs and writes it as a PNG picture at
/// `path`; false when the file could not be written.
bool writeAlertPicture(const NSAlert& alert, const std::string& path);

}  // namespace corvane::platform
