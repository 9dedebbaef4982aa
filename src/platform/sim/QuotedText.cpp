#include "platform/sim/QuotedText.h"

#include <cstdio>

namespace corvane::platform::sim {

namespace {

/// The length of the well-formed UTF-8 sequence of two to four bytes that `text` starts
/// with; 0 when it starts with none (a stray continuation byte, an overlong form, a
/// surrogate, a value beyond U+10FFFF or a sequence cut short).
std::size_t multibyteLength(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

/// Appends `text` to `out` with its control characters escaped as JSON escapes them and each
/// byte that is not part of well-formed UTF-8 written as `\xff`, so that the result is valid
/// UTF-8 on one line and every byte of `text` can be told from it. When `quoting`, quotes and
/// backslashes are escaped too.
void append(std::string& out, std::string_view text, bool quoting) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        char escaped[8];
        switch (c) {
            case '"':
            case '\\':
                if (quoting)
                    out += '\\';
                out += c;
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\t':
                out += "\\t";
                continue;
            default:
                break;
        }
        if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else if (byte < 0x80) {
            out += c;
        } else if (const std::size_t length = multibyteLength(text.substr(i))) {
            out.append(text.substr(i, length));
            i += length - 1;
        } else {
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        }
    }
}

}  // namespace

std::string quotedText(std::string_view text) {
    std::string out = "\"";
    append(out, text, true);
    return out + "\"";
}

std::string withControlsEscaped(std::string_view text) {
    std::string out;
    append(out, text, false);
    return out;
}

}  // namespace corvane::platform::sim
