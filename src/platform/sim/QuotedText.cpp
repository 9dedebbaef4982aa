#include "platform/sim/QuotedText.h"

#include <cstdio>

namespace corvane::platform::sim {

namespace {

/// Appends `c` to `out`, escaped when it is a control character (and, when `quoting`, a
/// quote or a backslash).
void append(std::string& out, char c, bool quoting) {
    switch (c) {
        case '"':
        case '\\':
            if (quoting)
                out += '\\';
            out += c;
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
        out += escaped;
    } else {
        out += c;
    }
}

}  // namespace

std::string quotedText(std::string_view text) {
    std::string out = "\"";
    for (char c : text)
        append(out, c, true);
    return out + "\"";
}

std::string withControlsEscaped(std::string_view text) {
    std::string out;
    for (char c : text)
        append(out, c, false);
    return out;
}

}  // namespace corvane::platform::sim
