#include "platform/appkit/WindowElements.h"

#include <cctype>
#include <utility>

namespace corvane::platform {

std::optional<KeyPress> parseKeyPress(const std::string& text) {
    static const std::pair<const char*, NSEventModifierFlags> kModifiers[] = {
        {"cmd", NSEventModifierFlagCommand},
        {"shift", NSEventModifierFlagShift},
        {"option", NSEventModifierFlagOption},
        {"ctrl", NSEventModifierFlagControl},
    };
    static const char* const kNamedKeys[] = {"return", "escape", "tab", "space", "delete"};

    KeyPress press;
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = text.find('+', start + 1);  // a lone "+" is the key itself
        if (plus == std::string::npos)
            break;
        const std::string name = text.substr(start, plus - start);
        bool known = false;
        for (const auto& [modifier, flag] : kModifiers) {
            if (name == modifier && (press.modifiers & flag) == 0) {
                press.modifiers |= flag;
                known = true;
            }
        }
        if (!known)
            return std::nullopt;
        start = plus + 1;
    }
    press.key = text.substr(start);
    if (press.key.size() == 1) {
        const auto c = static_cast<unsigned char>(press.key[0]);
        if (!std::isprint(c) || std::isupper(c) || c == ' ')
            return std::nullopt;
        return press;
    }
    for (const char* named : kNamedKeys) {
        if (press.key == named)
            return press;
    }
    return std::nullopt;
}

}  // namespace corvane::platform
