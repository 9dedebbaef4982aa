#pragma once

#include <string>
#include <string_view>

namespace corvane::platform::sim {

/// `text` in double quotes, as JSON writes a string: quotes, backslashes and control
/// characters escaped (`"a\u0000b"`), so that a message shows any text whole and on one line.
std::string quotedText(std::string_view text);

/// `text` with its control characters escaped as JSON escapes them (`\n`, `\u0000`) and
/// nothing else changed: a message that keeps every byte and stays one line.
std::string withControlsEscaped(std::string_view text);

}  // namespace corvane::platform::sim
