#pragma once

#include <optional>
#include <string>

namespace corvane::platform {

class NSAlert;
class NSWindow;

/// Renders the window as it looks (title bar included; a translucent window over a plain
/// desktop backdrop): the bytes of a PNG picture, none when the window has nothing drawn or
/// the picture cannot be encoded.
std::optional<std::string> windowPicture(NSWindow& window);

/// Renders the alert as the user sees it when it runs: the bytes of a PNG picture, none when
/// it cannot be encoded.
std::optional<std::string> alertPicture(const NSAlert& alert);

}  // namespace corvane::platform
