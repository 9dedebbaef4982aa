#pragma once

#include <string>
#include <string_view>

namespace corvane::platform::sim {

// Both write a text so that a message shows it whole, on one line and as valid UTF-8: a
// control character as JSON escapes it (`\n`, `\u001b`), a byte that is not part of
// well-formed UTF-8 as `\xff`, anything else (non-ASCII letters included) as it stands.

/// `text` in double quotes, its quotes and backslashes escaped as well (`"a\u0000b"`), so
/// that the text can be told apart from the message around it.
std::string quotedText(std::string_view text);

/// `text` escaped, nothing else changed: for a whole message, whose quoted texts are already
/// escaped.
std::string withControlsEscaped(std::string_view text);

}  // namespace corvane::platform::sim
